#include "dynamics/fuselage.h"

#include <cmath>

#include "core/lanes.h"
#include "dynamics/air_model.h"
#include "dynamics/geometry_link.h"
#include "dynamics/instance.h"

kxtype kxdfuselage00::Type("kxdfuselage00", sizeof(kxdfuselage00), kxcreate<kxdfuselage00>);

namespace {
using kxdynamics::kHalfAirDensity;
constexpr float kStillSpeed = 0.01f;        // m/s; below it the fuselage feels no air

using namespace kxdkeys;
using F = kxdfuselage00;

// The body's lines first.
constexpr kxdkey kRows[] = {
    Include(kxdbody::Keys),
    KXD_KEY(F, CG, kPoint, kCopy, kNamed),
    KXD_KEY(F, Cdx, kReal, kCopy),
    KXD_KEY(F, Cly, kReal, kCopy),
    KXD_KEY(F, Cdy, kReal, kCopy),
    KXD_KEY(F, Clz, kReal, kCopy),
    KXD_KEY(F, Cdz, kReal, kCopy),
    Field(kCopy, KXD_AT(F, Ax), sizeof(float)),
    Field(kCopy, KXD_AT(F, Ay), sizeof(float)),
    Field(kCopy, KXD_AT(F, Az), sizeof(float)),
    Field(kCopy, KXD_AT(F, Balance), sizeof(kxvector4r)),
};

}  // namespace

const kxdkeytable kxdfuselage00::Keys(kRows);

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
  Balance = {0.0f, 0.0f, 0.0f, 0.0f};
}

void kxdfuselage00::Analyse() {
  kxdgeometry::ProjectedAreas(Geometry, Ax, Ay, Az);
  kxdgeometry::AnalyseBody(this, Balance);
  FillMassRange();
  kxdintegrable::Analyse();
}

void kxdfuselage00::Write(kxout& out) {
  const kxvector4r placed = B.R;
  B.R = {placed.x - Balance.x, placed.y - Balance.y, placed.z - Balance.z, placed.w};
  kxdbody::Write(out);
  B.R = placed;
}

void kxdfuselage00::PlaceMass(const kxvector4r& balance) {
  if (!Geometry) {
    B.R = {B.R.x + balance.x - Balance.x, B.R.y + balance.y - Balance.y, B.R.z + balance.z - Balance.z, 1.0f};
    Balance = balance;
    return;
  }
  Balance = balance;
  Analyse();
}

kxvector4r kxdfuselage00::Drag(const kxvector4r& u) const {
  float speed = std::sqrt(kxvector4r::Dot3(u, u));
  if (!(speed >= kStillSpeed && std::isfinite(speed))) return {0.0f, 0.0f, 0.0f, 0.0f};
  // The flow along the body's axes, each summed as Dot3 sums it.
  using namespace kxlanes;
  kxvector4r a;
  StoreU(&a.x, Dots3(LoadU(&B.X.x), LoadU(&B.Y.x), LoadU(&B.Z.x), LoadU(&u.x)));
  float q = kHalfAirDensity * speed;
  float fx = -q * Cdx * Ax * a.x;
  float fy = -q * (Cdy * Ay * a.y + Cly * Ay * a.x * a.y / speed);
  float fz = -q * (Cdz * Az * a.z + Clz * Az * a.x * a.z / speed);
  // Back in the world, each lane summed as the row-by-row formula.
  kxvector4r f;
  StoreU(&f.x, Add(Add(Mul(LoadU(&B.X.x), Splat(fx)), Mul(LoadU(&B.Y.x), Splat(fy))), Mul(LoadU(&B.Z.x), Splat(fz))));
  return f;
}

void kxdfuselage00::ComputeChange(kxdintegrable* change, int flag) {
  // The air at the main body's own R is the instance's (AirVelocityAt
  // would add the gradient times an exact zero).
  const kxdaircraftinstance* in = Instance;
  const kxvector4r air =
      in && in->SimMainBody == this ? in->AirVelocity : kxdaircraftinstance::AirVelocityAt(Instance, B.R);
  const kxvector4r f = Drag({D.R.x - air.x, D.R.y - air.y, D.R.z - air.z, 0.0f});
  // At the body's own origin the drag has no moment: only the force adds
  // (a finite force's moment about its own point is zero).
  if (f.x != 0.0f || f.y != 0.0f || f.z != 0.0f) {
    Force.x += f.x;
    Force.y += f.y;
    Force.z += f.z;
  }
  kxdbody::ComputeChange(change, flag);
}

