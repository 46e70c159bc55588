// The main rotor's blade elements: flow, direction, angle of attack,
// coefficients and loads of a blade's elements in four lanes, one element a
// lane (core/lanes.h). Every lane does what one element worked alone does,
// operation for operation, so the results are those of the scalar formulas.
#include <limits>

#include "core/lanes.h"
#include "dynamics/air_model.h"
#include "dynamics/components/main_rotor.h"

namespace kxdbladeelements {

namespace {

static_assert(kPerBlade == 4, "a blade's elements fill the four lanes");

using kxdynamics::kHalfAirDensity;
constexpr float kMaxSpeed = std::numeric_limits<float>::max();  // m/s; beyond it a flow is broken

using namespace kxlanes;

// (a.x x + a.y y) + a.z z with a's components in every lane.
[[gnu::always_inline]] inline f4 Along(f4 a, f4 x, f4 y, f4 z) {
  return Add(Add(Mul(Broadcast<0>(a), x), Mul(Broadcast<1>(a), y)), Mul(Broadcast<2>(a), z));
}

}  // namespace

void Loads(const rows& r, const blade* blades, int count, float* drag, float* moment, float* alpha) {
  const f4 zero = Zero(), one = Splat(1.0f);
  const f4 e = LoadU(r.e), rho = LoadU(r.rho);
  const f4 base = LoadU(&r.base.x);
  const f4 baseX = Broadcast<0>(base), baseY = Broadcast<1>(base), baseZ = Broadcast<2>(base);
  const f4 pressureArea = Splat(kHalfAirDensity * r.area), dragArea = Splat(-kHalfAirDensity * r.area);
  const f4 cd0 = Splat(r.cd0), cd2 = Splat(r.cd2);
  const f4 slope = Splat(kxdrotoraero::kBladeSlope);
  const f4 maxLift = Splat(kxdrotoraero::kMaxLift), minLift = Splat(-kxdrotoraero::kMaxLift);
  const f4 maxDrag = Splat(kxdrotoraero::kMaxBladeDrag);
  for (int i = 0; i < count; ++i) {
    const blade& b = blades[i];
    const f4 a = LoadU(&b.a.x), c = LoadU(&b.c.x);
    const f4 vx = Add(Add(baseX, Mul(Broadcast<0>(a), rho)), Mul(Broadcast<0>(c), e));
    const f4 vy = Add(Add(baseY, Mul(Broadcast<1>(a), rho)), Mul(Broadcast<1>(c), e));
    const f4 vz = Add(Add(baseZ, Mul(Broadcast<2>(a), rho)), Mul(Broadcast<2>(c), e));
    f4 speed = Sqrt(Add(Add(Mul(vx, vx), Mul(vy, vy)), Mul(vz, vz)));
    // Still air and a broken flow give no direction: those lanes divide by 1.
    const f4 moving = And(Greater(speed, zero), LessEq(speed, Splat(kMaxSpeed)));
    const f4 along = Select(moving, speed, one);
    const f4 ux = And(moving, Div(vx, along)), uy = And(moving, Div(vy, along)), uz = And(moving, Div(vz, along));
    speed = And(moving, speed);
    const f4 normal = LoadU(&b.normal.x);
    const f4 cu = Along(LoadU(&b.chord.x), ux, uy, uz);
    const f4 on = Greater(cu, zero);
    const f4 nu = Along(normal, ux, uy, uz);
    const f4 angle = Div(nu, Select(on, cu, one));
    // BladeLift and BladeDrag: a bound's comparison fails for a NaN, which
    // the order of Max's and Min's operands keeps.
    const f4 cl = Min(maxLift, Max(minLift, Mul(slope, angle)));
    const f4 cd = Min(maxDrag, Add(Mul(Mul(cd2, angle), angle), cd0));
    const f4 xu = Along(LoadU(&b.span.x), ux, uy, uz);
    const f4 lift = Mul(Mul(Mul(Mul(pressureArea, speed), speed), cl), Sub(one, Mul(xu, xu)));
    const f4 resist = Mul(Mul(dragArea, cd), speed);
    const f4 fx = Add(Mul(vx, resist), Mul(Sub(Broadcast<0>(normal), Mul(ux, nu)), lift));
    const f4 fy = Add(Mul(vy, resist), Mul(Sub(Broadcast<1>(normal), Mul(uy, nu)), lift));
    const f4 fz = Add(Mul(vz, resist), Mul(Sub(Broadcast<2>(normal), Mul(uz, nu)), lift));
    const f4 about = Mul(Along(LoadU(&b.y.x), fx, fy, fz), rho);
    const f4 flap = Mul(rho, Along(LoadU(&b.z.x), fx, fy, fz));
    StoreU(drag + kPerBlade * i, And(on, about));
    StoreU(moment + kPerBlade * i, And(on, flap));
    StoreU(alpha + kPerBlade * i, Select(on, Abs(angle), Splat(-1.0f)));
  }
}

}  // namespace kxdbladeelements
