// The flybar's paddles, worked side by side in lanes, against the scalar
// formula of one paddle at a time, bit for bit: a reordered sum in a lane
// moves the flybar's acceleration by a bit and, over a flight, the trace.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <random>
#include <vector>

#include "dynamics/components/main_rotor.h"
#include "rotor_support.h"

namespace {

using kxrtest::helitest;
using V = kxvector4r;

uint32_t Bits(float v) {
  uint32_t b;
  std::memcpy(&b, &v, sizeof b);
  return b;
}

V Add(const V& a, const V& b) { return {a.x + b.x, a.y + b.y, a.z + b.z, a.w + b.w}; }
V Sub(const V& a, const V& b) { return {a.x - b.x, a.y - b.y, a.z - b.z, a.w - b.w}; }
V Mul(const V& a, float s) { return {a.x * s, a.y * s, a.z * s, a.w * s}; }
float Dot3(const V& a, const V& b) { return (a.x * b.x + a.y * b.y) + a.z * b.z; }
// M r over all four rows, summed X, Y, Z, then R.
V InFrame(const V& r, const kxmatrix& M) {
  return Add(Add(Add(Mul(M.X, r.x), Mul(M.Y, r.y)), Mul(M.Z, r.z)), Mul(M.R, r.w));
}

// The flybar's acceleration from the rotor's state as ComputeChange found
// it (induced is the inflow before the pass updated it), one paddle after
// the other, +x side first.
float FlybarAcceleration(const kxdmainrotor& r, float induced, const V& an) {
  const V xb = InFrame(r.Flybar.X, r.B), yb = InFrame(r.Flybar.Y, r.B), zb = InFrame(r.Flybar.Z, r.B);
  V rb = r.Flybar.R;
  rb.w = 1.0f;
  rb = InFrame(rb, r.B);
  const float rf = r.BellHillerRadius;
  const float q = kxdynamics::kHalfAirDensity * r.BellHillerArea;
  float moment = 0.0f;
  for (float s : {1.0f, -1.0f}) {
    V p = Add(Add(rb, Mul(xb, s * rf)), Mul(zb, r.FlybarAngle * s * rf));
    p.w = 1.0f;
    const V air = kxdaircraftinstance::AirVelocityAt(r.Instance, p);
    V v = Sub(Add(Add(r.Body->D.R, Mul(r.B.Z, r.FlybarRate * s)), Mul(r.B.Z, induced)), Add(Mul(yb, s * rf * r.Spin), air));
    float speed = std::sqrt(Dot3(v, v));
    V u = {v.x / speed, v.y / speed, v.z / speed, 0.0f};
    if (!(speed > 0.0f) || !std::isfinite(speed)) speed = 0.0f, u = {0.0f, 0.0f, 0.0f, 0.0f};
    const float k = ((yb.x * an.x + yb.y * an.y) + yb.z * an.z) + yb.w * an.w;
    const V n = Add(zb, Mul(yb, k));
    const V span = Add(Mul(xb, s), Mul(zb, r.FlybarAngle * s));
    const V chord = kxvector4ops::Cross(span, n);
    const float cu = Dot3(chord, u);
    if (!(cu > 0.0f)) continue;
    const float nu = Dot3(n, u);
    const float alpha = nu / cu;
    const float cl = std::min(kxdrotoraero::kMaxLift, std::max(-kxdrotoraero::kMaxLift, kxdrotoraero::kPaddleSlope * alpha));
    const float cd = std::min(kxdrotoraero::kMaxPaddleDrag, kxdrotoraero::kPaddleDrag2 * alpha * alpha + kxdrotoraero::kPaddleDrag0);
    const float su = Dot3(span, u);
    const float lift = q * speed * speed * cl * (1.0f - su * su);
    const V force = Add(Mul(v, -q * cd * speed), Mul(Sub(n, Mul(u, nu)), lift));
    moment += s * rf * Dot3(force, zb);
  }
  const float j = r.BellHillerMass * rf * rf * r.Spin;
  const kxmatrix& F = r.Body->B;
  const V& w = r.Body->Omega;
  const float gyro = 2.0f * j * (Dot3(w, F.X) * Dot3(F.X, xb) + Dot3(w, F.Y) * Dot3(F.Y, xb)) * static_cast<float>(r.Sense);
  constexpr float kFlybarDamping = 0.2f;  // N m s, the rotor's
  return (moment - r.FlybarAngle * r.Spin * j + gyro - kFlybarDamping * r.FlybarRate) / r.FlybarInertia;
}

class flybarlanes : public helitest {};

// Both paddles in air from every side at every speed, with the air's
// gradient on: each frame's acceleration is the scalar one.
TEST_F(flybarlanes, TheTwoPaddlesInLanesGiveTheScalarAccelerationToTheBit) {
  ASSERT_EQ(LoadHeli(), 1);
  SpinUp(2.0f);
  kxdmainrotor* rotor = Simulated<kxdmainrotor>("Rotor");
  kxdmainrotor* twin = kxdmainrotor::As(kxdaircraftinstance::Loaded(0)->Twin->FindChild("Rotor"));
  ASSERT_TRUE(rotor && twin && rotor->Instance);
  kxdbody* body = rotor->Body;
  // A fixed sequence of states over mixed magnitudes, so that a sum taken
  // in another order rounds differently somewhere.
  std::mt19937 random(50);
  auto any = [&](float low, float high) { return std::uniform_real_distribution<float>(low, high)(random); };
  auto wide = [&] { return (any(0.0f, 1.0f) < 0.5f ? -1.0f : 1.0f) * std::exp2(any(-12.0f, 6.0f)); };
  auto row = [&] { return V{wide(), wide(), wide(), 0.0f}; };
  const float gradient[9] = {0.1f, -3.0f, 1e-6f, 7.5f, 0.0f, -0.0f, 2e3f, 1.0f / 7.0f, -0.5f};
  std::memcpy(rotor->Instance->AirGradient, gradient, sizeof gradient);
  struct frame {
    float spin, angle, rate;
    V velocity, omega, wind;
  };
  std::vector<frame> frames = {{0.0f, 0.0f, 0.0f, {0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}}};
  for (int i = 0; i < 300; ++i) frames.push_back({any(0.0f, 220.0f), any(-0.3f, 0.3f), wide(), row(), row(), row()});
  int compared = 0;
  for (const auto& f : frames) {
    rotor->Spin = f.spin;
    rotor->FlybarAngle = f.angle;
    rotor->FlybarRate = f.rate;
    body->D.R = f.velocity;
    body->Omega = f.omega;
    rotor->Instance->AirVelocity = f.wind;
    const float induced = rotor->Induced;
    const float alen = std::sqrt(kxvector4ops::Dot(rotor->DiscAxis, rotor->DiscAxis));
    ASSERT_GT(alen, 0.0f);
    const V an = Mul(rotor->DiscAxis, 1.0f / alen);
    rotor->ComputeChange(twin, 0);
    ASSERT_FALSE(rotor->Broken);
    const float want = FlybarAcceleration(*rotor, induced, an);
    ASSERT_TRUE(std::isfinite(want));
    EXPECT_EQ(Bits(twin->FlybarRate), Bits(want)) << twin->FlybarRate << " " << want << " frame " << compared;
    EXPECT_EQ(Bits(twin->FlybarAngle), Bits(f.rate));
    ++compared;
  }
}

}  // namespace
