#include "dynamics/joint.h"

#include <cmath>
#include <cstring>

#include "core/arguments.h"
#include "core/output.h"
#include "core/reference.h"
#include "dynamics/links.h"
#include "dynamics/write_links.h"

kxtype kxdjoint00::Type("kxdjoint00", sizeof(kxdjoint00), kxcreate<kxdjoint00>);

namespace {
constexpr float kRadiansPerDegree = 3.14159265358979f / 180.0f;
}

kxdjoint00* kxdjoint00::As(kxnode* node) { return kxnode::As<kxdjoint00>(node); }

kxdjoint00::kxdjoint00() {
  type = &Type;
  // A joint is a place, not a mass: nothing to weigh, nothing to touch.
  Mass = 0.0f;
  Inertia[15] = 0.0f;
  Contact = 0;
  Body0 = Body1 = nullptr;
  Axis = {0.0f, 1.0f, 0.0f, 0.0f};
  Angle = AngleZ = 0.0f;
  Link = nullptr;
  AnchorLocal = {0.0f, 0.0f, 0.0f, 1.0f};
  AxisLocal = Axis;
}

kxvalueptr kxdjoint00::GetMember(const char* member, const kxargs& args) {
  if (!member) return nullptr;
  if (std::strcmp(member, "Body0") == 0) return kxvalueptr(new kxnodeptrref(reinterpret_cast<kxnode**>(&Body0), &kxdbody::Type));
  if (std::strcmp(member, "Body1") == 0) return kxvalueptr(new kxnodeptrref(reinterpret_cast<kxnode**>(&Body1), &kxdbody::Type));
  if (std::strcmp(member, "Axis") == 0) return kxvalueptr(new kxvectorref(&Axis.x));
  if (std::strcmp(member, "Angle") == 0) return kxvalueptr(new kxrealref(&Angle));
  if (std::strcmp(member, "AngleZ") == 0) return kxvalueptr(new kxrealref(&AngleZ));
  if (std::strcmp(member, "Link") == 0) return kxdlink::MechLinkRef(&Link);
  return kxdbody::GetMember(member, args);
}

int kxdjoint00::GetMemberName(const void* position, kxstring& out) {
  if (position == &Axis) {
    out = "Axis";
    return 1;
  }
  return kxdbody::GetMemberName(position, out);
}

void kxdjoint00::CopyTo(kxnode* other) {
  kxdjoint00* j = As(other);
  if (!j || j == this) return;
  j->Body0 = kxnode::Remap(Body0);
  j->Body1 = kxnode::Remap(Body1);
  j->Axis = Axis;
  j->Angle = Angle;
  j->AngleZ = AngleZ;
  j->Link = kxnode::Remap(Link);
  j->AnchorLocal = AnchorLocal;
  j->AxisLocal = AxisLocal;
  kxdbody::CopyTo(other);
}

void kxdjoint00::Prepare() {
  kxdbody* carrier = Body1 ? Body1->ParentBody : nullptr;
  AnchorLocal = B.R;
  AxisLocal = Axis;
  if (carrier) {
    kxmatrix inverse;
    kxmatrix::Invert(carrier->B, inverse);
    kxmatrix::TransformVector4(&AnchorLocal, &inverse, &B.R);
    kxvector4r axis = {Axis.x, Axis.y, Axis.z, 0.0f};
    kxmatrix::TransformVector4(&AxisLocal, &inverse, &axis);
  }
  kxdbody::Prepare();
}

void kxdjoint00::TurnRelative(const kxmatrix& relative, kxmatrix& out) const {
  float share = Link ? (*Link + 1.0f) * 0.5f : 0.0f;
  if (!std::isfinite(share) || share == 0.0f) {
    out = relative;
    return;
  }
  kxmatrix turn, aboutZ;
  kxmatrix::SetRotation(&turn, AxisLocal, Angle * share * kRadiansPerDegree);
  kxmatrix::SetRotation(&aboutZ, {0.0f, 0.0f, 1.0f, 0.0f}, AngleZ * share * kRadiansPerDegree);
  kxmatrix::Multiply4x4(&turn, &aboutZ, &turn);
  // The anchor stays where it is: R = a - Turn a.
  kxvector4r a = AnchorLocal;
  a.w = 0.0f;
  kxvector4r turned;
  kxmatrix::TransformVector4(&turned, &turn, &a);
  turn.R = {a.x - turned.x, a.y - turned.y, a.z - turned.z, 1.0f};
  kxmatrix::Multiply4x4(&out, &turn, &relative);
}

void kxdjoint00::Write(kxout& out) {
  kxdwrite::SiblingLink(out, "Body0", Body0);
  kxdwrite::SiblingLink(out, "Body1", Body1);
  out.Printf("Axis = kxvector4r( %8.4f, %8.4f, %8.4f, 0 )\n", Axis.x, Axis.y, Axis.z);
  out.Printf("Angle = %g\n", Angle);
  out.Printf("AngleZ = %g\n", AngleZ);
  kxdwrite::AircraftLink(out, "Link", Link);
  kxdbody::Write(out);
}

kxdjoint00* kxdjoint00::FindByBody1(kxnode* node, const kxdbody* body, bool last) {
  if (!node) return nullptr;
  kxdjoint00* found = nullptr;
  for (kxnode* c = node->firstChild; c; c = c->nextSibling) {
    kxdjoint00* j = As(c);
    if (!j || j->Body1 != body) continue;
    if (!last) return j;
    found = j;
  }
  return found;
}
