#include "dynamics/components/gear.h"

#include <cmath>
#include <cstring>

#include "core/arguments.h"
#include "core/output.h"
#include "core/reference.h"
#include "dynamics/components/component_support.h"
#include "dynamics/components/mesh_mass.h"
#include "dynamics/geometry_link.h"
#include "dynamics/joint.h"
#include "dynamics/links.h"
#include "dynamics/write_links.h"
#include "graphics/geometric_object.h"

kxtype kxdgear00::Type("kxdgear00", sizeof(kxdgear00), kxcreate<kxdgear00>);

namespace {

constexpr float kHalfAirDensity = 0.6125f;  // kg/m^3, half of 1.225

void VectorLine(kxout& out, const char* key, const kxvector4r& v) {
  out.Printf("%s = kxvector4f( %8.4f, %8.4f, %8.4f, %8.4f )\n", key, v.x, v.y, v.z, v.w);
}

}  // namespace

kxdgear00* kxdgear00::As(kxnode* node) { return kxnode::As<kxdgear00>(node); }

kxdgear00::kxdgear00() {
  type = &Type;
  Mass = 1.0f;
  for (int i = 0; i < 16; ++i) Inertia[i] = InertiaInv[i] = (i % 5 == 0) ? 1.0f : 0.0f;
  MountingR = {0.0f, 0.0f, 0.0f, 1.0f};
  MountingZ = {1.0f, 0.0f, 0.0f, 0.0f};
  Retractable = 0;
  RetractZ = {1.0f, 0.0f, 0.0f, 0.0f};
  RetractAngle = RetractAngleZ = 0.0f;
  RetractLink = nullptr;
  Areas[0] = Areas[1] = Areas[2] = 0.0f;
  Cdx = 0.0f;
}

kxvalueptr kxdgear00::GetMember(const char* member, const kxargs& args) {
  if (!member) return nullptr;
  static const kxdcomponent::realkey<kxdgear00> keys[] = {{"RetractAngle", &kxdgear00::RetractAngle},
                                                          {"RetractAngleZ", &kxdgear00::RetractAngleZ},
                                                          {"Cdx", &kxdgear00::Cdx}};
  if (kxvalueptr v = kxdcomponent::FindReal(this, keys, member)) return v;
  if (std::strcmp(member, "MountingR") == 0) return kxvalueptr(new kxvectorref(&MountingR.x, &kxvaluetypes::Vector4f));
  if (std::strcmp(member, "MountingZ") == 0) return kxvalueptr(new kxvectorref(&MountingZ.x, &kxvaluetypes::Vector4f));
  if (std::strcmp(member, "RetractZ") == 0) return kxvalueptr(new kxvectorref(&RetractZ.x, &kxvaluetypes::Vector4f));
  if (std::strcmp(member, "Retractable") == 0) return kxvalueptr(new kxintref(&Retractable));
  if (std::strcmp(member, "RetractLink") == 0) return kxdlink::MechLinkRef(&RetractLink);
  return kxdbody::GetMember(member, args);
}

void kxdgear00::CopyTo(kxnode* other) {
  kxdgear00* g = As(other);
  if (!g || g == this) return;
  g->MountingR = MountingR;
  g->MountingZ = MountingZ;
  std::memcpy(g->Areas, Areas, sizeof Areas);
  g->Cdx = Cdx;
  g->RetractLink = kxnode::Remap(RetractLink);
  // A copy that is written again keeps its retraction settings.
  g->Retractable = Retractable;
  g->RetractZ = RetractZ;
  g->RetractAngle = RetractAngle;
  g->RetractAngleZ = RetractAngleZ;
  kxdbody::CopyTo(other);
}

void kxdgear00::ComputeChange(kxdintegrable* change, int flag) {
  float k = RetractLink ? 1.0f - kxdcomponent::Read(RetractLink) : 1.0f;
  const kxvector4r& v = D.R;
  float speed = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
  float c = -kHalfAirDensity * Cdx * Areas[0] * speed * k;
  if (std::isfinite(c)) {
    Force.x += c * v.x;
    Force.y += c * v.y;
    Force.z += c * v.z;
  }
  kxdbody::ComputeChange(change, flag);
}

void kxdgear00::Analyse() {
  kxgeometricobject* g = Geometry;
  kxvector4r centroid;
  if (kxdmeshmass::Centroid(g, &centroid)) {
    B.R = {centroid.x, centroid.y, centroid.z, 1.0f};
    B.X = {1.0f, 0.0f, 0.0f, 0.0f};
    B.Y = {0.0f, 1.0f, 0.0f, 0.0f};
    B.Z = {0.0f, 0.0f, 1.0f, 0.0f};
    if (g->ApplyFrame(B)) {
      g->SetOwner(this);
      g->UpdateBounds();
      kxdmeshmass::ScaledInertia(g, Mass, Inertia);
      kxdgeometry::ProjectedAreas(g, Areas[0], Areas[1], Areas[2]);
    }
  }
  ConfigureJoint();
  kxdintegrable::Analyse();
}

kxdjoint00* kxdgear00::ConfigureJoint() {
  kxdjoint00* joint = kxdjoint00::FindByBody1(parent, this, true);
  if (!joint) return nullptr;
  joint->Body1 = this;
  joint->B.R = {MountingR.x, MountingR.y, MountingR.z, 1.0f};
  if (Retractable) {
    joint->Axis = RetractZ;
    joint->Angle = RetractAngle;
    joint->AngleZ = RetractAngleZ;
    joint->Link = RetractLink;
  } else {
    joint->Link = nullptr;
  }
  return joint;
}

void kxdgear00::Write(kxout& out) {
  VectorLine(out, "MountingR", MountingR);
  VectorLine(out, "MountingZ", MountingZ);
  out.Printf("Retractable = %d\n", Retractable);
  VectorLine(out, "RetractZ", RetractZ);
  out.Printf("RetractAngle = %g\n", RetractAngle);
  out.Printf("RetractAngleZ = %g\n", RetractAngleZ);
  kxdwrite::AircraftLink(out, "RetractLink", RetractLink);
  out.Printf("Cdx = %g\n", Cdx);
  kxdbody::Write(out);
}
