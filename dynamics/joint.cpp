#include "dynamics/frame_transform.h"
#include "dynamics/joint.h"

#include <cmath>
#include <cstring>
#include <limits>

#include "core/maths.h"

kxtype kxdjoint00::Type("kxdjoint00", sizeof(kxdjoint00), kxcreate<kxdjoint00>);

namespace {

using kxmaths::kRadiansPerDegree;

using namespace kxdkeys;
using J = kxdjoint00;

// The joint's lines before the body's.
constexpr kxdkey kRows[] = {
    Link("Body0 ", kSibling, &kxdbody::Type, kRemap, KXD_AT(J, Body0)),
    Link("Body1 ", kSibling, &kxdbody::Type, kRemap, KXD_AT(J, Body1)),
    KXD_KEY(J, Axis, kAxis, kCopy, kNamed),
    KXD_KEY(J, Angle, kReal, kCopy),
    KXD_KEY(J, AngleZ, kReal, kCopy),
    KXD_KEY(J, Link, kControl, kRemap),
    Field(kCopy, KXD_AT(J, AnchorLocal), sizeof(kxvector4r)),
    Field(kCopy, KXD_AT(J, AxisLocal), sizeof(kxvector4r)),
    Include(kxdbody::Keys),
};

}  // namespace

const kxdkeytable kxdjoint00::Keys(kRows);

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
  turnedShare = std::numeric_limits<float>::quiet_NaN();
}

void kxdjoint00::Prepare() {
  turnedShare = std::numeric_limits<float>::quiet_NaN();
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
  if (share == turnedShare && std::memcmp(&relative, &turnedFrom, sizeof relative) == 0) {
    out = turnedOut;
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
  turned = kxdframe::Transform(turn, a);
  turn.R = {a.x - turned.x, a.y - turned.y, a.z - turned.z, 1.0f};
  kxmatrix::Multiply4x4(&out, &turn, &relative);
  turnedShare = share;
  turnedFrom = relative;
  turnedOut = out;
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
