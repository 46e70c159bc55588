// The flybar's paddles and the blades' flapping, worked side by side in
// lanes, against the scalar formula of one paddle or blade at a time, bit
// for bit: a reordered sum in a lane moves an acceleration by a bit and,
// over a flight, the trace.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "dynamics/components/component_support.h"
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
V Cross(const V& a, const V& b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x, 0.0f}; }
// M d for a direction: X, Y and Z only.
V Axis(const V& d, const kxmatrix& M) { return Add(Add(Mul(M.X, d.x), Mul(M.Y, d.y)), Mul(M.Z, d.z)); }
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

// A fixed sequence of states over mixed magnitudes, so that a sum taken in
// another order rounds differently somewhere.
class states {
 public:
  explicit states(unsigned seed) : random(seed) {}
  float Any(float low, float high) { return std::uniform_real_distribution<float>(low, high)(random); }
  float Wide() { return (Any(0.0f, 1.0f) < 0.5f ? -1.0f : 1.0f) * std::exp2(Any(-12.0f, 6.0f)); }
  V Row() {
    // Drawn one after the other, in this order.
    const float x = Wide(), y = Wide(), z = Wide();
    return {x, y, z, 0.0f};
  }

 private:
  std::mt19937 random;
};

constexpr float kGradient[9] = {0.1f, -3.0f, 1e-6f, 7.5f, 0.0f, -0.0f, 2e3f, 1.0f / 7.0f, -0.5f};

// The rotor's force pass into its twin, with the inflow and the unit disc
// axis the pass started from.
struct passed {
  float induced;
  V an;
};
passed Pass(kxdmainrotor* rotor, kxdmainrotor* twin) {
  const float alen = std::sqrt(kxvector4ops::Dot(rotor->DiscAxis, rotor->DiscAxis));
  EXPECT_GT(alen, 0.0f);
  const passed p{rotor->Induced, Mul(rotor->DiscAxis, 1.0f / alen)};
  rotor->ComputeChange(twin, 0);
  EXPECT_FALSE(rotor->Broken);
  return p;
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
  states draw(50);
  std::memcpy(rotor->Instance->AirGradient, kGradient, sizeof kGradient);
  struct frame {
    float spin, angle, rate;
    V velocity, omega, wind;
  };
  std::vector<frame> frames = {{0.0f, 0.0f, 0.0f, {0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}}};
  for (int i = 0; i < 300; ++i) {
    const float spin = draw.Any(0.0f, 220.0f), angle = draw.Any(-0.3f, 0.3f), rate = draw.Wide();
    const V velocity = draw.Row(), omega = draw.Row(), wind = draw.Row();
    frames.push_back({spin, angle, rate, velocity, omega, wind});
  }
  int compared = 0;
  for (const auto& f : frames) {
    rotor->Spin = f.spin;
    rotor->FlybarAngle = f.angle;
    rotor->FlybarRate = f.rate;
    body->D.R = f.velocity;
    body->Omega = f.omega;
    rotor->Instance->AirVelocity = f.wind;
    const passed p = Pass(rotor, twin);
    const float want = FlybarAcceleration(*rotor, p.induced, p.an);
    ASSERT_TRUE(std::isfinite(want));
    EXPECT_EQ(Bits(twin->FlybarRate), Bits(want)) << twin->FlybarRate << " " << want << " frame " << compared;
    EXPECT_EQ(Bits(twin->FlybarAngle), Bits(f.rate));
    ++compared;
  }
}

// Each blade's flap acceleration and the rotor's thrust from the rotor's
// state as ComputeChange found it, one blade after the other: the elements'
// loads from the kernel (checked alone in main_rotor_test.cpp), then the
// blade's sums and its flap and hinge formulas.
struct bladeresult {
  float flapRate[kxdmainrotor::kMaxBlades];
  float thrust;
};
bladeresult BladeFormula(const kxdmainrotor& r, float induced, const V& an) {
  namespace el = kxdbladeelements;
  const float s = static_cast<float>(r.Sense);
  const kxmatrix& F = r.Body->B;
  const V& w = r.Body->Omega;
  const float* G = kxdaircraftinstance::AirGradientOf(r.Instance);
  auto gradient = [&](const V& x) {
    return V{(G[0] * x.x + G[1] * x.y) + G[2] * x.z, (G[3] * x.x + G[4] * x.y) + G[5] * x.z,
             (G[6] * x.x + G[7] * x.y) + G[8] * x.z, 0.0f};
  };
  el::rows rows{r.ElementE, r.ElementRho, {}, (r.Radius - r.HingeRadius) * r.Chord / 4.0f, r.UH2, r.UH3};
  rows.base = Add(Sub(r.Body->D.R, kxdaircraftinstance::AirVelocityAt(r.Instance, r.B.R)), Mul(r.B.Z, induced));
  rows.base.w = 0.0f;
  const float collective = ((r.PitchMax - r.PitchMin) * kxdcomponent::Read(r.PitchPushrod) + r.PitchMin + r.PitchMax) * 0.5f;
  el::blade blades[kxdmainrotor::kMaxBlades];
  V xs[kxdmainrotor::kMaxBlades];
  for (int i = 0; i < r.Blades; ++i) {
    const V x = Axis(r.BladeRows[i].X, r.B), y = Axis(r.BladeRows[i].Y, r.B), z = Axis(r.BladeRows[i].Z, r.B);
    const float flybar = r.Sense > 0 ? (i == 0 ? -0.5f : 0.5f) * r.FlybarAngle : 0.0f;
    const float theta = flybar + s * 0.5f * kxvector4ops::Dot(y, an) + collective;
    el::blade& b = blades[i];
    b.normal = Add(z, Mul(y, s * theta));
    b.span = Mul(x, s);
    b.chord = Cross(b.span, b.normal);
    b.a = Sub(Sub(Cross(w, x), Mul(y, s * r.Spin)), gradient(x));
    b.c = Sub(Mul(z, r.FlapRate[i]), Mul(gradient(z), r.Flap[i]));
    b.y = y;
    b.z = z;
    xs[i] = x;
  }
  float drag[kxdmainrotor::kMaxBlades * el::kPerBlade], moment[kxdmainrotor::kMaxBlades * el::kPerBlade],
      alpha[kxdmainrotor::kMaxBlades * el::kPerBlade];
  el::Loads(rows, blades, r.Blades, drag, moment, alpha);
  bladeresult out{};
  const float r2 = r.Radius * r.Radius;
  for (int i = 0; i < r.Blades; ++i) {
    float m = 0.0f;
    for (int k = el::kPerBlade * i; k < el::kPerBlade * (i + 1); ++k) {
      if (alpha[k] >= 0.0f) m += moment[k];
    }
    m -= r.Flap[i] * 0.3333f * r.Spin * r.Spin * r.BladeMass * r2;
    m += s * (Dot3(F.X, xs[i]) * r.BladeMass * 0.6666f * r2 * r.Spin * Dot3(w, F.X) +
              Dot3(F.Y, xs[i]) * r.BladeMass * 0.6666f * r2 * r.Spin * Dot3(w, F.Y));
    m += -10.0f * r.Flap[i] - 0.5f * r.FlapRate[i];  // the hinge's spring and damper
    out.flapRate[i] = r.FlapInertia[i] > 0.0f && std::isfinite(m) ? m / r.FlapInertia[i] : 0.0f;
    const V force = Mul(Add(xs[i], Mul(blades[i].z, r.Flap[i])), 0.5f * r.BladeMass * r.Spin * r.Spin * r.Radius);
    out.thrust += Dot3(force, r.B.Z);
  }
  return out;
}

struct bladecase {
  const char* rotor;
  int blades;
};

class bladelanes : public helitest, public ::testing::WithParamInterface<bladecase> {};

// Both models, flapping every way in air from every side, with the air's
// gradient on and off (uniform air takes its own path): each blade's flap
// acceleration and the thrust are the scalar ones.
TEST_P(bladelanes, TheBladesInLanesGiveTheScalarFlappingToTheBit) {
  kxrtest::heli h;
  h.rotorType = GetParam().rotor;
  h.blades = GetParam().blades;
  ASSERT_EQ(LoadHeli(h), 1);
  SpinUp(1.0f);
  kxdmainrotor* rotor = Simulated<kxdmainrotor>("Rotor");
  kxdmainrotor* twin = kxdmainrotor::As(kxdaircraftinstance::Loaded(0)->Twin->FindChild("Rotor"));
  ASSERT_TRUE(rotor && twin && rotor->Instance);
  ASSERT_EQ(rotor->Blades, GetParam().blades);
  kxdbody* body = rotor->Body;
  states draw(49);
  for (int frame = 0; frame < 200; ++frame) {
    const bool sheared = frame % 2 == 0;
    for (int k = 0; k < 9; ++k) rotor->Instance->AirGradient[k] = sheared ? kGradient[k] : 0.0f;
    rotor->Spin = draw.Any(0.0f, 220.0f);
    for (int i = 0; i < rotor->Blades; ++i) {
      rotor->Flap[i] = draw.Any(-0.3f, 0.3f);
      rotor->FlapRate[i] = draw.Wide();
    }
    body->D.R = draw.Row();
    body->Omega = draw.Row();
    rotor->Instance->AirVelocity = draw.Row();
    const passed p = Pass(rotor, twin);
    const bladeresult want = BladeFormula(*rotor, p.induced, p.an);
    for (int i = 0; i < rotor->Blades; ++i) {
      EXPECT_EQ(Bits(twin->FlapRate[i]), Bits(want.flapRate[i])) << "frame " << frame << " blade " << i;
      EXPECT_EQ(Bits(twin->Flap[i]), Bits(rotor->FlapRate[i])) << "frame " << frame << " blade " << i;
    }
    EXPECT_EQ(Bits(rotor->Thrust), Bits(want.thrust)) << "frame " << frame;
  }
}

INSTANTIATE_TEST_SUITE_P(Models, bladelanes,
                         ::testing::Values(bladecase{"kxdrotor00", 2}, bladecase{"kxdrotor01", 3}),
                         [](const ::testing::TestParamInfo<bladecase>& info) {
                           return std::string(info.param.rotor) + "_" + std::to_string(info.param.blades);
                         });

}  // namespace
