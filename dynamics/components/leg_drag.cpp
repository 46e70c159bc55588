#include "dynamics/components/leg_drag.h"

#include "core/lanes.h"

namespace {

// total plus the legs' rows x, y and z, leg after leg: lane k of each
// leg's row holds its component k (the fourth lane 0).
kxlanes::f4 AddLegs(kxlanes::f4 total, kxlanes::f4 x, kxlanes::f4 y, kxlanes::f4 z) {
  using namespace kxlanes;
  f4 w = Zero();
  Transpose(x, y, z, w);
  return Add(Add(Add(Add(total, x), y), z), w);
}

}  // namespace

void AddLegDrags(const kxdlegdrags& legs, const kxvector4r& velocity, const kxvector4r& omega, kxvector4r* force,
                 kxvector4r* torque) {
  using namespace kxlanes;
  const f4 px = Load(legs.px), py = Load(legs.py), pz = Load(legs.pz);
  const f4 wx = Splat(omega.x), wy = Splat(omega.y), wz = Splat(omega.z);
  // Each leg's velocity: the carrier's plus omega x p.
  const f4 vx = Add(Splat(velocity.x), Sub(Mul(wy, pz), Mul(wz, py)));
  const f4 vy = Add(Splat(velocity.y), Sub(Mul(wz, px), Mul(wx, pz)));
  const f4 vz = Add(Splat(velocity.z), Sub(Mul(wx, py), Mul(wy, px)));
  const f4 c = Mul(Mul(Load(legs.factor), Sqrt(Add(Add(Mul(vx, vx), Mul(vy, vy)), Mul(vz, vz)))), Load(legs.share));
  // c - c is 0 only for a finite c: a leg without one adds zeros.
  const f4 finite = Equal(Sub(c, c), Zero());
  const f4 fx = And(finite, Mul(c, vx)), fy = And(finite, Mul(c, vy)), fz = And(finite, Mul(c, vz));
  const f4 tx = Sub(Mul(py, fz), Mul(pz, fy));
  const f4 ty = Sub(Mul(pz, fx), Mul(px, fz));
  const f4 tz = Sub(Mul(px, fy), Mul(py, fx));
  StoreXYZ(&force->x, AddLegs(LoadU(&force->x), fx, fy, fz));
  StoreXYZ(&torque->x, AddLegs(LoadU(&torque->x), tx, ty, tz));
}
