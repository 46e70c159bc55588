// The main rotor's laws (clutch, inflow, ground effect, blade and paddle
// coefficients, the blade elements' loads), its file lines, a blade strike, the broken state and the
// second model's angle wrap.
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>

#include "core/arguments.h"
#include "dynamics/components/engine00.h"
#include "dynamics/components/engine10.h"
#include "dynamics/components/main_rotor.h"
#include "dynamics/writers.h"
#include "rotor_support.h"

namespace {

using kxrtest::helitest;
namespace aero = kxdrotoraero;

// The clutch engages fully at the gear speed and not a hundred below; the
// one-way clutch lets the rotor overrun; the induced factor covers working,
// vortex-ring and windmill states; ground effect works below 2.4 radii; the
// blade and paddle coefficients saturate.
TEST(rotorlaws, LawsAtTheirCorners) {
  const struct {
    const char* law;
    float got, want, tolerance;
  } cases[] = {
      {"clutch at gear speed", aero::ClutchFactor(500.0f, 500.0f), 10.0f, 0.0f},
      {"clutch above", aero::ClutchFactor(900.0f, 500.0f), 10.0f, 0.0f},
      {"clutch half way", aero::ClutchFactor(450.0f, 500.0f), 5.0f, 1e-4f},
      {"clutch a hundred below", aero::ClutchFactor(400.0f, 500.0f), 0.0f, 0.0f},
      {"clutch far below", aero::ClutchFactor(100.0f, 500.0f), 0.0f, 0.0f},
      {"drive", aero::DriveTorque(10.0f, 1000.0f, 10.0f, 90.0f), 100.0f, 1e-3f},
      {"overrun", aero::DriveTorque(10.0f, 1000.0f, 10.0f, 110.0f), 0.0f, 0.0f},
      {"no gear", aero::DriveTorque(10.0f, 1000.0f, 0.0f, 0.0f), 0.0f, 0.0f},
      {"induced hover", aero::InducedFactor(0.0f), 1.0f, 1e-6f},
      {"induced climb", aero::InducedFactor(1.0f), 0.618034f, 1e-5f},
      {"induced descent", aero::InducedFactor(-1.0f), 1.618034f, 1e-5f},
      {"vortex ring entry", aero::InducedFactor(-0.999f), 1.617f, 1e-3f},
      {"vortex ring", aero::InducedFactor(-1.5f), 1.629f, 1e-3f},
      {"vortex ring end", aero::InducedFactor(-2.0f), 0.941644f, 1e-5f},
      {"windmill entry", aero::InducedFactor(-2.0001f), 0.99f, 0.02f},
      {"windmill", aero::InducedFactor(-3.0f), -0.5f * (std::sqrt(5.0f) - 3.0f), 1e-5f},
      {"ground effect on the ground", aero::GroundEffect(0.0f, 1.0f), 0.28f, 1e-6f},
      {"ground effect at 2.4 radii", aero::GroundEffect(2.4f, 1.0f), 1.0f, 0.0f},
      {"ground effect above", aero::GroundEffect(5.0f, 1.0f), 1.0f, 0.0f},
      {"ground effect half way", aero::GroundEffect(1.2f, 1.0f), 1.0f - 0.5f * 0.36f, 1e-6f},
      {"ground effect without radius", aero::GroundEffect(0.0f, 0.0f), 1.0f, 0.0f},
      {"blade lift", aero::BladeLift(-0.1f), 0.57f, 1e-6f},
      {"blade lift saturated", aero::BladeLift(-0.2f), 0.7f, 0.0f},
      {"blade lift saturated below", aero::BladeLift(0.2f), -0.7f, 0.0f},
      {"blade drag", aero::BladeDrag(0.1f, 0.01f, 1.0f), 0.02f, 1e-6f},
      {"blade drag saturated", aero::BladeDrag(3.0f, 0.01f, 1.0f), 2.0f, 0.0f},
      {"paddle lift", aero::PaddleLift(-0.2f), 0.54f, 1e-6f},
      {"paddle lift saturated", aero::PaddleLift(-0.3f), 0.7f, 0.0f},
      {"paddle lift saturated below", aero::PaddleLift(0.3f), -0.7f, 0.0f},
      {"paddle drag", aero::PaddleDrag(0.0f), 0.02f, 1e-6f},
      {"paddle drag saturated", aero::PaddleDrag(2.0f), 1.0f, 0.0f},
  };
  for (const auto& c : cases) EXPECT_NEAR(c.got, c.want, c.tolerance) << c.law;
}

// The blade elements worked four at a time give each element of each blade
// the loads of its own flow, as one element worked alone would; an element
// in still air or with the air from behind its chord gives nothing.
TEST(rotorlaws, BladeElementsTakeTheLoadsOfTheirOwnFlow) {
  using V = kxvector4r;
  namespace el = kxdbladeelements;
  const float e[el::kPerBlade] = {0.05f, 0.15f, 0.25f, 0.35f};
  const float rho[el::kPerBlade] = {0.15f, 0.25f, 0.35f, 0.45f};
  el::rows r{e, rho, {0.3f, -0.2f, -1.5f, 0.0f}, 0.004f, 0.01f, 1.0f};
  // A blade along x, pitched nose up: normal near z, chord = span x normal.
  auto bladeAlong = [](const V& a, const V& c) {
    el::blade b{};
    b.a = a;
    b.c = c;
    b.span = {1.0f, 0.0f, 0.0f, 0.0f};
    b.normal = {0.0f, 0.08f, 1.0f, 0.0f};
    b.chord = {0.0f, -1.0f, 0.08f, 0.0f};
    b.y = {0.0f, 1.0f, 0.0f, 0.0f};
    b.z = {0.0f, 0.0f, 1.0f, 0.0f};
    return b;
  };
  const el::blade blades[] = {
      bladeAlong({0.0f, -60.0f, 0.0f, 0.0f}, {0.0f, 0.0f, 2.0f, 0.0f}),    // turning, flapping up
      bladeAlong({1.0f, -40.0f, 3.0f, 0.0f}, {0.0f, 0.0f, -4.0f, 0.0f}),   // turning, flapping down
      bladeAlong({0.0f, 60.0f, 0.0f, 0.0f}, {0.0f, 0.0f, 0.0f, 0.0f}),     // the air from behind
  };
  constexpr int kCount = 3 * el::kPerBlade;
  float drag[kCount], moment[kCount], alpha[kCount];
  el::Loads(r, blades, 3, drag, moment, alpha);
  for (int i = 0; i < 3; ++i) {
    const el::blade& b = blades[i];
    for (int k = 0; k < el::kPerBlade; ++k) {
      const int j = el::kPerBlade * i + k;
      V v = {r.base.x + b.a.x * rho[k] + b.c.x * e[k], r.base.y + b.a.y * rho[k] + b.c.y * e[k],
             r.base.z + b.a.z * rho[k] + b.c.z * e[k], 0.0f};
      float speed = std::sqrt(V::Dot3(v, v));
      V u = {v.x / speed, v.y / speed, v.z / speed, 0.0f};
      float cu = V::Dot3(b.chord, u), nu = V::Dot3(b.normal, u), xu = V::Dot3(b.span, u);
      if (!(cu > 0.0f)) {
        EXPECT_LT(alpha[j], 0.0f) << "blade " << i << " element " << k;
        EXPECT_EQ(drag[j], 0.0f) << "blade " << i << " element " << k;
        EXPECT_EQ(moment[j], 0.0f) << "blade " << i << " element " << k;
        continue;
      }
      float a = nu / cu;
      float q = 0.6125f * r.area * speed;
      float lift = q * speed * aero::BladeLift(a) * (1.0f - xu * xu), resist = -q * aero::BladeDrag(a, r.cd0, r.cd2);
      V f = {v.x * resist + (b.normal.x - u.x * nu) * lift, v.y * resist + (b.normal.y - u.y * nu) * lift,
             v.z * resist + (b.normal.z - u.z * nu) * lift, 0.0f};
      EXPECT_NEAR(alpha[j], std::fabs(a), 1e-6f) << "blade " << i << " element " << k;
      EXPECT_NEAR(drag[j], V::Dot3(f, b.y) * rho[k], 1e-5f * std::fabs(V::Dot3(f, b.y) * rho[k]) + 1e-9f)
          << "blade " << i << " element " << k;
      EXPECT_NEAR(moment[j], V::Dot3(f, b.z) * rho[k], 1e-5f * std::fabs(V::Dot3(f, b.z) * rho[k]) + 1e-9f)
          << "blade " << i << " element " << k;
    }
  }
  // The third blade meets the air from behind at every element.
  for (int k = 0; k < el::kPerBlade; ++k) EXPECT_LT(alpha[2 * el::kPerBlade + k], 0.0f);
  // In still air nothing flows past an element.
  el::rows still = r;
  still.base = {0.0f, 0.0f, 0.0f, 0.0f};
  const el::blade resting = bladeAlong({0.0f, 0.0f, 0.0f, 0.0f}, {0.0f, 0.0f, 0.0f, 0.0f});
  el::Loads(still, &resting, 1, drag, moment, alpha);
  for (int k = 0; k < el::kPerBlade; ++k) {
    EXPECT_LT(alpha[k], 0.0f);
    EXPECT_EQ(drag[k], 0.0f);
    EXPECT_EQ(moment[k], 0.0f);
  }
}

// Each lane of the elements' kernel does what one element worked alone
// does, operation for operation: the formula written out element by
// element gives the same bits, for flows of mixed magnitudes, a lift and
// a drag past their bounds, an element in still air and one without a
// finite flow.
TEST(rotorlaws, BladeElementsGiveTheElementFormulaBitForBit) {
  using V = kxvector4r;
  namespace el = kxdbladeelements;
  const float e[el::kPerBlade] = {0.0125f, 0.1f / 3.0f, 0.3f, 1.75f};
  const float rho[el::kPerBlade] = {0.1125f, 0.2f / 3.0f, 0.45f, 2.0f};
  el::rows r{e, rho, {0.3f, -1e-3f, -1.5f, 0.0f}, 0.004f, 0.011f, 1.3f};
  el::blade b{};
  b.span = {0.6f, 0.8f, 1e-3f, 0.0f};
  b.normal = {-0.8f, 0.6f, 1.0f / 3.0f, 0.0f};
  b.chord = {1e-7f, -2.5f, 0.7f, 0.0f};
  b.y = {0.1f, -0.99f, 0.05f, 0.0f};
  b.z = {0.25f, 0.5f, -1.0f / 7.0f, 0.0f};
  const V flows[][2] = {{{0.2f, -60.0f, 3.0f, 0.0f}, {0.0f, 0.0f, 2.0f, 0.0f}},
                        {{-7.0f, 40.0f, -0.3f, 0.0f}, {1e-4f, 3.0f, -4.0f, 0.0f}},
                        {{0.0f, -1.0f, 90.0f, 0.0f}, {0.0f, 0.0f, 0.0f, 0.0f}},
                        {{-2.0f, 1e-3f, 3.75f, 0.0f}, {5.0f, 0.0f, 0.0f, 0.0f}},
                        {{1e30f, 1e30f, 0.0f, 0.0f}, {0.0f, 0.0f, 0.0f, 0.0f}}};
  constexpr int kBlades = sizeof flows / sizeof flows[0];
  el::blade blades[kBlades];
  for (int i = 0; i < kBlades; ++i) blades[i] = b, blades[i].a = flows[i][0], blades[i].c = flows[i][1];
  // Still air at the first element of the third blade.
  blades[2].a.x = -(r.base.x / rho[0]);
  float drag[kBlades * el::kPerBlade], moment[kBlades * el::kPerBlade], alpha[kBlades * el::kPerBlade];
  el::Loads(r, blades, kBlades, drag, moment, alpha);
  auto bits = [](float v) {
    uint32_t u;
    std::memcpy(&u, &v, sizeof u);
    return u;
  };
  for (int i = 0; i < kBlades; ++i) {
    const el::blade& x = blades[i];
    for (int k = 0; k < el::kPerBlade; ++k) {
      const float vx = r.base.x + x.a.x * rho[k] + x.c.x * e[k], vy = r.base.y + x.a.y * rho[k] + x.c.y * e[k],
                  vz = r.base.z + x.a.z * rho[k] + x.c.z * e[k];
      float speed = std::sqrt(vx * vx + vy * vy + vz * vz);
      const bool moving = speed > 0.0f && std::isfinite(speed);
      const float ux = moving ? vx / speed : 0.0f, uy = moving ? vy / speed : 0.0f, uz = moving ? vz / speed : 0.0f;
      if (!moving) speed = 0.0f;
      const float cu = x.chord.x * ux + x.chord.y * uy + x.chord.z * uz;
      const float nu = x.normal.x * ux + x.normal.y * uy + x.normal.z * uz;
      const float a = nu / (cu > 0.0f ? cu : 1.0f);
      const float xu = x.span.x * ux + x.span.y * uy + x.span.z * uz;
      const float lift = 0.6125f * r.area * speed * speed * aero::BladeLift(a) * (1.0f - xu * xu);
      const float resist = -0.6125f * r.area * aero::BladeDrag(a, r.cd0, r.cd2) * speed;
      const float fx = vx * resist + (x.normal.x - ux * nu) * lift, fy = vy * resist + (x.normal.y - uy * nu) * lift,
                  fz = vz * resist + (x.normal.z - uz * nu) * lift;
      const int j = el::kPerBlade * i + k;
      const float wantDrag = cu > 0.0f ? (fx * x.y.x + fy * x.y.y + fz * x.y.z) * rho[k] : 0.0f;
      const float wantMoment = cu > 0.0f ? rho[k] * (fx * x.z.x + fy * x.z.y + fz * x.z.z) : 0.0f;
      EXPECT_EQ(bits(drag[j]), bits(wantDrag)) << "blade " << i << " element " << k;
      EXPECT_EQ(bits(moment[j]), bits(wantMoment)) << "blade " << i << " element " << k;
      EXPECT_EQ(bits(alpha[j]), bits(cu > 0.0f ? std::fabs(a) : -1.0f)) << "blade " << i << " element " << k;
    }
  }
}

class rotorflight : public helitest {
 protected:
  kxdmainrotor* SpunUp(const kxrtest::heli& h = kxrtest::heli{}) {
    EXPECT_EQ(LoadHeli(h), 1) << kxtest::logcapture::Text();
    SpinUp(6.0f);
    return Simulated<kxdmainrotor>("Rotor");
  }
};

// Started, the rotor stands still with its disc on the axis; spun up, the
// disc is pulled toward the command only below 16 m/s.
TEST_F(rotorflight, DiscAxisIsPulledTowardTheCommandOnlyBelowSixteenMetresPerSecond) {
  ASSERT_EQ(LoadHeli(), 1);
  StartOnGround();
  kxdmainrotor* rotor = Simulated<kxdmainrotor>("Rotor");
  ASSERT_NE(rotor, nullptr);
  EXPECT_FLOAT_EQ(rotor->Spin, 0.0f);
  EXPECT_FLOAT_EQ(rotor->Angle, 0.0f);
  EXPECT_EQ(rotor->Broken, 0);
  EXPECT_NEAR(rotor->DiscAxis.z, 1.0f, 1e-5f);
  EXPECT_GE(rotor->FlybarAngle, -0.2f);
  EXPECT_LT(rotor->FlybarAngle, 0.2f);
  // Flap inertia of a rod hinged at the hub: m R^2 / 3.
  EXPECT_NEAR(rotor->FlapInertia[0], 0.08f * 0.49f / 3.0f, 1e-5f);
  EXPECT_EQ(rotor->Body, Main());
  SpinUp(6.0f);
  rotor = Simulated<kxdmainrotor>("Rotor");
  ASSERT_NE(rotor, nullptr);
  kxnode* twinNode = kxdaircraftinstance::Loaded(0)->Twin->FindChild("Rotor");
  ASSERT_NE(twinNode, nullptr);
  kxdmainrotor* twin = kxdmainrotor::As(twinNode);
  kxdbody* body = rotor->Body;
  ASSERT_TRUE(twin && body);
  // Sticks centred: the commanded axis is the fuselage's Z.
  const kxvector4r tilted = {0.1f, 0.0f, 0.995f, 0.0f};
  rotor->DiscAxis = tilted;
  body->D.R = {0.0f, 0.0f, 0.0f, 0.0f};
  rotor->ComputeChange(twin, 0);
  EXPECT_NEAR(twin->DiscAxis.x, 16.0f * (body->B.Z.x - tilted.x), 1e-3f);
  body->D.R = {12.0f, 0.0f, 0.0f, 0.0f};
  rotor->ComputeChange(twin, 0);
  EXPECT_NEAR(twin->DiscAxis.x, 1.0f * (body->B.Z.x - tilted.x), 1e-3f);
  body->D.R = {16.0f, 0.0f, 0.0f, 0.0f};
  rotor->ComputeChange(twin, 0);
  EXPECT_FLOAT_EQ(twin->DiscAxis.x, 0.0f);
  EXPECT_FLOAT_EQ(twin->DiscAxis.z, 0.0f);
  // The first model does not wrap its angle.
  rotor->Angle = 700.0f;
  Fly(0.009f);
  EXPECT_GT(rotor->Angle, 700.0f);
}

// A broken rotor keeps its speed but shows no rpm, no coning and no
// downwash, and its blades shrink out of sight.
TEST_F(rotorflight, BladeStrikeBreaksTheRotorAndCrashesTheAircraft) {
  kxdmainrotor* rotor = SpunUp();
  ASSERT_NE(rotor, nullptr);
  kxdengine00* engine = Simulated<kxdengine00>("Engine");
  ASSERT_NE(engine, nullptr);
  EXPECT_EQ(rotor->Broken, 0);
  EXPECT_GT(rotor->Spin, 50.0f);
  EXPECT_GT(rotor->ConeValue(), -0.1f);
  EXPECT_NE(rotor->ConeValue(), 0.0f);
  // A hill rises under the disc.
  kxdflatground hill(rotor->B.R.z + 0.05f);
  for (int i = 0; i < 10 && !rotor->Broken; ++i) kxdynamics::Step(0.009f, &hill);
  EXPECT_EQ(rotor->Broken, 1);
  EXPECT_EQ(kxdaircraftinstance::Loaded(0)->Crash, 1);
  EXPECT_EQ(engine->Strike, 1);
  float speed = rotor->Spin;
  Fly(0.5f);
  EXPECT_FLOAT_EQ(rotor->Spin, speed);
  EXPECT_FLOAT_EQ(rotor->GetRPM(), 0.0f);
  EXPECT_FLOAT_EQ(kxdaircraftinstance::Loaded(0)->RPMValue, 0.0f);
  EXPECT_FLOAT_EQ(rotor->ConeValue(), 0.0f);
  EXPECT_FLOAT_EQ(kxdaircraftinstance::Loaded(0)->Slipstream.z, 0.0f);
  EXPECT_FLOAT_EQ(rotor->BladeObject[0]->Matrix.X.x, 0.001f);
}

// The aircraft shows its driving engine's rpm: a rotor no engine drives
// (one just added to an airplane) leaves the value the propeller wrote.
TEST_F(rotorflight, OnlyADrivenRotorPublishesItsRpm) {
  kxdmainrotor* rotor = SpunUp();
  ASSERT_NE(rotor, nullptr);
  kxdaircraftinstance* aircraft = kxdaircraftinstance::Loaded(0);
  EXPECT_GT(aircraft->RPMValue, 100.0f);
  rotor->Engine = nullptr;
  aircraft->RPMValue = 1234.0f;
  Fly(0.1f);
  EXPECT_FLOAT_EQ(aircraft->RPMValue, 1234.0f);
}

TEST_F(rotorflight, SecondModelWrapsItsAngleAndTheEngineShaftAfterAHundredTurns) {
  kxrtest::heli h;
  h.rotorType = "kxdrotor01";
  kxdmainrotor* rotor = SpunUp(h);
  ASSERT_NE(rotor, nullptr);
  kxdengine00* engine = Simulated<kxdengine00>("Engine");
  ASSERT_NE(engine, nullptr);
  rotor->Angle = 628.4f;
  engine->Angle = 6284.0f;
  kxnode* state = kxdaircraftinstance::Loaded(0)->Clone;
  kxnode* twin = kxdaircraftinstance::Loaded(0)->Twin;
  kxdynamics::RunSubsteps(state->parent, twin->parent, 1);
  EXPECT_NEAR(rotor->Angle, 628.4f - 628.31854f + rotor->Spin * 0.0003f, 2e-3f);
  EXPECT_NEAR(engine->Angle, 6284.0f - 6283.1854f + engine->W * 0.0003f, 2e-2f);

  // An electric motor has no shaft angle: the rotor wraps alone.
  kxdengine10 motor;
  motor.W = 3000.0f;
  kxnode* saved = rotor->Engine;
  rotor->Engine = &motor;
  rotor->Angle = 628.4f;
  kxdynamics::RunSubsteps(state->parent, twin->parent, 1);
  EXPECT_LT(rotor->Angle, 1.0f);
  EXPECT_FLOAT_EQ(motor.W, 3000.0f);
  EXPECT_LT(motor.Load, 0.0f);  // it still drives the rotor
  rotor->Engine = saved;
}

TEST_F(rotorflight, MissingFuselageSkipsTheRotorWithOneLogLine) {
  std::string text = kxrtest::Components(kxrtest::heli{});
  // The same helicopter whose main body has another name.
  for (size_t at; (at = text.find("Fuselage")) != std::string::npos;) text.replace(at, 8, "Pod");
  PutAircraft("heli", text.c_str());
  kxrtest::heli h;
  ASSERT_EQ(kxrtest::WriteHeli("heli", h), 1);
  PutAircraft("heli", text.c_str());
  ASSERT_EQ(kxdaircraftinstance::AircraftLoad("heli", 0), 1) << kxtest::logcapture::Text();
  StartOnGround();
  Stick(kxrtest::kThrottle, 1.0f);
  Fly(0.5f);
  kxdmainrotor* rotor = Simulated<kxdmainrotor>("Rotor");
  ASSERT_NE(rotor, nullptr);
  EXPECT_EQ(rotor->Body, nullptr);
  EXPECT_FLOAT_EQ(rotor->Spin, 0.0f);
  std::string log = kxtest::logcapture::Text();
  size_t first = log.find("kxdrotor00:  Rotor has no fuselage");
  ASSERT_NE(first, std::string::npos) << log;
  EXPECT_EQ(log.find("kxdrotor00:  Rotor has no fuselage", first + 1), std::string::npos);
}

}  // namespace
