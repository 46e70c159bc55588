// The main rotor's laws (clutch, inflow, ground effect, blade and paddle
// coefficients), its file lines, a blade strike, the broken state and the
// second model's angle wrap.
#include <cmath>
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

TEST(rotorlaws, ClutchEngagesFullyAtTheGearSpeedAndNotAHundredBelow) {
  EXPECT_FLOAT_EQ(aero::ClutchFactor(500.0f, 500.0f), 10.0f);
  EXPECT_FLOAT_EQ(aero::ClutchFactor(900.0f, 500.0f), 10.0f);
  EXPECT_NEAR(aero::ClutchFactor(450.0f, 500.0f), 5.0f, 1e-4f);
  EXPECT_FLOAT_EQ(aero::ClutchFactor(400.0f, 500.0f), 0.0f);
  EXPECT_FLOAT_EQ(aero::ClutchFactor(100.0f, 500.0f), 0.0f);
}

TEST(rotorlaws, OneWayClutchLetsTheRotorOverrun) {
  EXPECT_NEAR(aero::DriveTorque(10.0f, 1000.0f, 10.0f, 90.0f), 100.0f, 1e-3f);
  EXPECT_FLOAT_EQ(aero::DriveTorque(10.0f, 1000.0f, 10.0f, 110.0f), 0.0f);
  EXPECT_FLOAT_EQ(aero::DriveTorque(10.0f, 1000.0f, 0.0f, 0.0f), 0.0f);
}

TEST(rotorlaws, InducedFactorCoversWorkingVortexRingAndWindmillStates) {
  EXPECT_NEAR(aero::InducedFactor(0.0f), 1.0f, 1e-6f);
  EXPECT_NEAR(aero::InducedFactor(1.0f), 0.618034f, 1e-5f);
  EXPECT_NEAR(aero::InducedFactor(-1.0f), 1.618034f, 1e-5f);
  EXPECT_NEAR(aero::InducedFactor(-0.999f), 1.617f, 1e-3f);
  EXPECT_NEAR(aero::InducedFactor(-1.5f), 1.629f, 1e-3f);
  EXPECT_NEAR(aero::InducedFactor(-2.0f), 0.941644f, 1e-5f);
  EXPECT_NEAR(aero::InducedFactor(-2.0001f), 0.99, 0.02f);
  EXPECT_NEAR(aero::InducedFactor(-3.0f), -0.5f * (std::sqrt(5.0f) - 3.0f), 1e-5f);
}

TEST(rotorlaws, GroundEffectReducesInflowBelowTwoPointFourRadii) {
  EXPECT_NEAR(aero::GroundEffect(0.0f, 1.0f), 0.28f, 1e-6f);
  EXPECT_FLOAT_EQ(aero::GroundEffect(2.4f, 1.0f), 1.0f);
  EXPECT_FLOAT_EQ(aero::GroundEffect(5.0f, 1.0f), 1.0f);
  EXPECT_NEAR(aero::GroundEffect(1.2f, 1.0f), 1.0f - 0.5f * 0.36f, 1e-6f);
  EXPECT_FLOAT_EQ(aero::GroundEffect(0.0f, 0.0f), 1.0f);
}

TEST(rotorlaws, BladeAndPaddleCoefficientsSaturate) {
  EXPECT_NEAR(aero::BladeLift(-0.1f), 0.57f, 1e-6f);
  EXPECT_FLOAT_EQ(aero::BladeLift(-0.2f), 0.7f);
  EXPECT_FLOAT_EQ(aero::BladeLift(0.2f), -0.7f);
  EXPECT_NEAR(aero::BladeDrag(0.1f, 0.01f, 1.0f), 0.02f, 1e-6f);
  EXPECT_FLOAT_EQ(aero::BladeDrag(3.0f, 0.01f, 1.0f), 2.0f);
  EXPECT_NEAR(aero::PaddleLift(-0.2f), 0.54f, 1e-6f);
  EXPECT_FLOAT_EQ(aero::PaddleLift(-0.3f), 0.7f);
  EXPECT_FLOAT_EQ(aero::PaddleLift(0.3f), -0.7f);
  EXPECT_NEAR(aero::PaddleDrag(0.0f), 0.02f, 1e-6f);
  EXPECT_FLOAT_EQ(aero::PaddleDrag(2.0f), 1.0f);
}

class rotorkeys : public kxctest::componenttest {};

TEST_F(rotorkeys, DefaultsAndBladeCapacity) {
  kxdrotor00 r;
  EXPECT_FLOAT_EQ(r.Mass, 1.0f);
  EXPECT_FLOAT_EQ(r.Radius, 1.0f);
  EXPECT_FLOAT_EQ(r.GearRatio, 10.0f);
  EXPECT_FLOAT_EQ(r.Cnr, 0.005f);
  EXPECT_FLOAT_EQ(r.SolidLift, 1.0f);
  EXPECT_FLOAT_EQ(r.BellHillerR.z, -0.02f);
  EXPECT_EQ(r.MaxBlades, 4);
  EXPECT_EQ(kxdrotor01().MaxBlades, 8);
}

class rotorflight : public helitest {
 protected:
  kxdmainrotor* SpunUp(const kxrtest::heli& h = kxrtest::heli{}) {
    EXPECT_EQ(LoadHeli(h), 1) << kxtest::logcapture::Text();
    SpinUp(6.0f);
    return Simulated<kxdmainrotor>("Rotor");
  }
};

TEST_F(rotorflight, StartLeavesTheRotorStillWithItsDiscOnTheAxis) {
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
}

TEST_F(rotorflight, DiscAxisIsPulledTowardTheCommandOnlyBelowSixteenMetresPerSecond) {
  kxdmainrotor* rotor = SpunUp();
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
}

TEST_F(rotorflight, BrokenRotorKeepsItsSpeedAndShowsNoRpm) {
  kxdmainrotor* rotor = SpunUp();
  ASSERT_NE(rotor, nullptr);
  ASSERT_GT(rotor->Spin, 50.0f);
  EXPECT_GT(rotor->ConeValue(), -0.1f);
  EXPECT_NE(rotor->ConeValue(), 0.0f);
  rotor->Broken = 1;
  float speed = rotor->Spin;
  Fly(0.5f);
  EXPECT_FLOAT_EQ(rotor->Spin, speed);
  EXPECT_FLOAT_EQ(rotor->GetRPM(), 0.0f);
  EXPECT_FLOAT_EQ(kxdaircraftinstance::Loaded(0)->RPMValue, 0.0f);
  EXPECT_FLOAT_EQ(rotor->ConeValue(), 0.0f);
  EXPECT_FLOAT_EQ(kxdaircraftinstance::Loaded(0)->Slipstream.z, 0.0f);
  // Its blades shrink out of sight.
  EXPECT_FLOAT_EQ(rotor->BladeObject[0]->Matrix.X.x, 0.001f);
}

TEST_F(rotorflight, BladeStrikeBreaksTheRotorAndCrashesTheAircraft) {
  kxdmainrotor* rotor = SpunUp();
  ASSERT_NE(rotor, nullptr);
  kxdengine00* engine = Simulated<kxdengine00>("Engine");
  ASSERT_NE(engine, nullptr);
  EXPECT_EQ(rotor->Broken, 0);
  // A hill rises under the disc.
  kxdflatground hill(rotor->B.R.z + 0.05f);
  for (int i = 0; i < 10 && !rotor->Broken; ++i) kxdynamics::Step(0.009f, &hill);
  EXPECT_EQ(rotor->Broken, 1);
  EXPECT_EQ(kxdaircraftinstance::Loaded(0)->Crash, 1);
  EXPECT_EQ(engine->Strike, 1);
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

TEST_F(rotorflight, FirstModelDoesNotWrapItsAngle) {
  kxdmainrotor* rotor = SpunUp();
  ASSERT_NE(rotor, nullptr);
  rotor->Angle = 700.0f;
  Fly(0.009f);
  EXPECT_GT(rotor->Angle, 700.0f);
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
