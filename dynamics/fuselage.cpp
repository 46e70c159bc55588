#include "dynamics/fuselage.h"

#include <cmath>
#include <cstring>

#include "core/arguments.h"
#include "core/output.h"
#include "core/reference.h"
#include "dynamics/geometry_link.h"
#include "dynamics/instance.h"

kxtype kxdfuselage00::Type("kxdfuselage00", sizeof(kxdfuselage00), kxcreate<kxdfuselage00>);

namespace {
constexpr float kHalfAirDensity = 0.6125f;  // kg/m^3
constexpr float kStillSpeed = 0.01f;        // m/s; below it the fuselage feels no air

// The coefficient keys, in the order they are written.
struct realkey {
  const char* key;
  float kxdfuselage00::*field;
};
const realkey kRealKeys[] = {{"Cdx", &kxdfuselage00::Cdx},
                             {"Cly", &kxdfuselage00::Cly},
                             {"Cdy", &kxdfuselage00::Cdy},
                             {"Clz", &kxdfuselage00::Clz},
                             {"Cdz", &kxdfuselage00::Cdz}};
}  // namespace

kxdfuselage00* kxdfuselage00::As(kxnode* node) { return kxnode::As<kxdfuselage00>(node); }

kxdfuselage00::kxdfuselage00() {
  type = &Type;
  CG = {0.0f, 0.0f, 0.0f, 1.0f};
  Cdx = 0.3f;
  Cly = 0.3f;
  Cdy = 1.0f;
  Clz = 0.3f;
  Cdz = 1.0f;
  Ax = Ay = Az = 0.0f;
}

kxvalueptr kxdfuselage00::GetMember(const char* member, const kxargs& args) {
  if (!member) return nullptr;
  if (std::strcmp(member, "CG") == 0) return kxvalueptr(new kxvectorref(&CG.x));
  for (const realkey& k : kRealKeys) {
    if (std::strcmp(member, k.key) == 0) return kxvalueptr(new kxrealref(&(this->*k.field)));
  }
  return kxdbody::GetMember(member, args);
}

int kxdfuselage00::GetMemberName(const void* position, kxstring& out) {
  if (position == &CG) {
    out = "CG";
    return 1;
  }
  return kxdbody::GetMemberName(position, out);
}

void kxdfuselage00::CopyTo(kxnode* other) {
  kxdfuselage00* f = As(other);
  if (!f || f == this) return;
  f->CG = CG;
  for (const realkey& k : kRealKeys) f->*k.field = this->*k.field;
  f->Ax = Ax;
  f->Ay = Ay;
  f->Az = Az;
  kxdbody::CopyTo(other);
}

void kxdfuselage00::Analyse() {
  kxdgeometry::ProjectedAreas(Geometry, Ax, Ay, Az);
  kxdbody::Analyse();
}

void kxdfuselage00::ComputeChange(kxdintegrable* change, int flag) {
  kxvector4r air = kxdaircraftinstance::AirVelocityAt(Instance, B.R);
  kxvector4r u = {D.R.x - air.x, D.R.y - air.y, D.R.z - air.z, 0.0f};
  float speed = std::sqrt(kxvector4r::Dot3(u, u));
  if (speed >= kStillSpeed && std::isfinite(speed)) {
    float ux = kxvector4r::Dot3(u, B.X), uy = kxvector4r::Dot3(u, B.Y), uz = kxvector4r::Dot3(u, B.Z);
    float q = kHalfAirDensity * speed;
    float fx = -q * Cdx * Ax * ux;
    float fy = -q * (Cdy * Ay * uy + Cly * Ay * ux * uy / speed);
    float fz = -q * (Cdz * Az * uz + Clz * Az * ux * uz / speed);
    kxvector4r f = {fx * B.X.x + fy * B.Y.x + fz * B.Z.x, fx * B.X.y + fy * B.Y.y + fz * B.Z.y,
                    fx * B.X.z + fy * B.Y.z + fz * B.Z.z, 0.0f};
    AddForceAt(f, B.R);
  }
  kxdbody::ComputeChange(change, flag);
}

void kxdfuselage00::Write(kxout& out) {
  kxdbody::Write(out);
  out.Printf("CG = kxvector4r( %8.4f, %8.4f, %8.4f, 1 )\n", CG.x, CG.y, CG.z);
  for (const realkey& k : kRealKeys) out.Printf("%s = %g\n", k.key, this->*k.field);
}
