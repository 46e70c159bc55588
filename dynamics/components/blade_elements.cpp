// The main rotor's blade elements: flow, direction, angle of attack,
// coefficients and loads of every element, four at a time. The unit is
// built without errno for roots and without floating-point traps, so the
// selects below stay selects and the loop takes its roots and divisions
// together; the arithmetic of an element is that of one element after
// another.
#include <cmath>
#include <limits>

#include "dynamics/components/main_rotor.h"

namespace kxdbladeelements {

namespace {
constexpr float kHalfDensity = 0.6125f;                          // kg/m^3, rho / 2
constexpr float kMaxSpeed = std::numeric_limits<float>::max();  // m/s; beyond it a flow is broken
}  // namespace

void Loads(const rows& r, const blade* blades, int count, float* __restrict drag, float* __restrict moment,
           float* __restrict alpha) {
  const float* __restrict elementE = r.e;
  const float* __restrict elementRho = r.rho;
  const kxvector4r base = r.base;
  const float pressureArea = kHalfDensity * r.area;
  const float dragArea = -kHalfDensity * r.area;
  for (int i = 0; i < count; ++i) {
    const blade b = blades[i];
    float* __restrict outDrag = drag + kPerBlade * i;
    float* __restrict outMoment = moment + kPerBlade * i;
    float* __restrict outAlpha = alpha + kPerBlade * i;
    for (int k = 0; k < kPerBlade; ++k) {
      const float e = elementE[k], rho = elementRho[k];
      float vx = base.x + b.a.x * rho + b.c.x * e;
      float vy = base.y + b.a.y * rho + b.c.y * e;
      float vz = base.z + b.a.z * rho + b.c.z * e;
      float speed = std::sqrt(vx * vx + vy * vy + vz * vz);
      bool moving = (speed > 0.0f) & (speed <= kMaxSpeed);
      float along = moving ? speed : 1.0f;
      float qx = vx / along, qy = vy / along, qz = vz / along;
      float ux = moving ? qx : 0.0f, uy = moving ? qy : 0.0f, uz = moving ? qz : 0.0f;
      speed = moving ? speed : 0.0f;
      float cu = b.chord.x * ux + b.chord.y * uy + b.chord.z * uz;
      bool on = cu > 0.0f;
      float nu = b.normal.x * ux + b.normal.y * uy + b.normal.z * uz;
      float a = nu / (on ? cu : 1.0f);
      float cl = kxdrotoraero::BladeLift(a), cd = kxdrotoraero::BladeDrag(a, r.cd0, r.cd2);
      float xu = b.span.x * ux + b.span.y * uy + b.span.z * uz;
      float lift = pressureArea * speed * speed * cl * (1.0f - xu * xu);
      float resist = dragArea * cd * speed;
      float fx = vx * resist + (b.normal.x - ux * nu) * lift;
      float fy = vy * resist + (b.normal.y - uy * nu) * lift;
      float fz = vz * resist + (b.normal.z - uz * nu) * lift;
      float about = (fx * b.y.x + fy * b.y.y + fz * b.y.z) * rho;
      float flap = rho * (fx * b.z.x + fy * b.z.y + fz * b.z.z);
      outDrag[k] = on ? about : 0.0f;
      outMoment[k] = on ? flap : 0.0f;
      outAlpha[k] = on ? std::fabs(a) : -1.0f;
    }
  }
}

}  // namespace kxdbladeelements
