// The tail rotor: its gyro laws in both modes, the drive source it follows,
// pitch with the inflow correction, thrust at standstill, its file lines and
// its links that accept only their own rotor model.
#include <cmath>
#include <string>

#include "core/value.h"
#include "dynamics/components/engine00.h"
#include "dynamics/components/main_rotor.h"
#include "dynamics/components/component_support.h"
#include "dynamics/components/ground_contact.h"
#include "dynamics/components/tail_rotor.h"
#include "dynamics/writers.h"
#include "rotor_support.h"

namespace {

using kxrtest::helitest;
namespace gyro = kxdtailgyro;

// Rate mode limits the gyro's share to its range; heading hold ignores the
// stick inside the dead band and its command saturates.
TEST(tailgyro, LawsAtTheirCorners) {
  const struct {
    const char* law;
    float got, want;
  } cases[] = {
      {"rate", gyro::RateCommand(0.0f, 0.1f, 1.0f, 0.25f), 0.1f},
      {"rate limited", gyro::RateCommand(0.0f, 5.0f, 1.0f, 0.25f), 0.25f},
      {"rate limited against the stick", gyro::RateCommand(0.5f, -5.0f, 1.0f, 0.25f), 0.25f},
      {"inside the dead band", gyro::DeadBand(0.04f), 0.0f},
      {"inside the dead band below", gyro::DeadBand(-0.05f), 0.0f},
      {"beyond the dead band", gyro::DeadBand(0.3f), 0.25f},
      {"beyond the dead band below", gyro::DeadBand(-1.0f), -0.95f},
      {"hold on the error", gyro::HoldCommand(0.01f, 0.0f, 1.0f), 0.1f},
      {"hold on the rate", gyro::HoldCommand(0.0f, 1.0f, 1.0f), 0.2f},
      {"hold saturated", gyro::HoldCommand(kxdtailrotor00::kMaxError, 0.0f, 1.0f), 1.0f},
      {"hold saturated below", gyro::HoldCommand(-kxdtailrotor00::kMaxError, 0.0f, 1.0f), -1.0f},
  };
  for (const auto& c : cases) EXPECT_NEAR(c.got, c.want, 1e-6f) << c.law;
}

// The component types registered, so the links know the engine classes.
class tailrotor : public kxctest::componenttest {};

TEST_F(tailrotor, LastLinkedDriveSourceWins) {
  kxdtailrotor00 t;
  t.GearRatio = 2.0f;
  kxdengine00 engine;
  engine.W = 1000.0f;
  kxdrotor00 main;
  main.Spin = 100.0f;
  main.GearRatio = 8.0f;
  kxdrotor01 other;
  other.Spin = 50.0f;
  other.GearRatio = 8.0f;
  EXPECT_FLOAT_EQ(t.DriveSpeed(7.0f), 7.0f);  // no link: keeps its speed
  t.Engine = &engine;
  EXPECT_FLOAT_EQ(t.DriveSpeed(0.0f), 500.0f);
  t.Rotor = &main;
  EXPECT_FLOAT_EQ(t.DriveSpeed(0.0f), 400.0f);
  t.Rotor1 = &other;
  EXPECT_FLOAT_EQ(t.DriveSpeed(0.0f), 200.0f);
  // A rotor of the other model in the first link drives nothing.
  t.Rotor1 = nullptr;
  t.Rotor = &other;
  EXPECT_FLOAT_EQ(t.DriveSpeed(0.0f), 500.0f);
  t.GearRatio = 0.0f;
  EXPECT_FLOAT_EQ(t.DriveSpeed(3.0f), 0.0f);
}

TEST_F(tailrotor, PitchSpansTheRangeLessTheInflowAngle) {
  kxdtailrotor00 t;
  t.PitchMin = -0.1f;
  t.PitchMax = 0.2f;
  EXPECT_NEAR(t.PitchFor(-1.0f, 50.0f, 0.0f), -0.1f, 1e-6f);
  EXPECT_NEAR(t.PitchFor(1.0f, 50.0f, 0.0f), 0.2f, 1e-6f);
  EXPECT_NEAR(t.PitchFor(1.0f, 50.0f, 10.0f), 0.2f - 0.1f, 1e-6f);
  // Standing still: no inflow correction.
  EXPECT_NEAR(t.PitchFor(0.0f, 0.0f, 10.0f), 0.05f, 1e-6f);
  t.GyroZero = 0.5f;
  EXPECT_NEAR(t.PitchFor(0.0f, 0.0f, 0.0f), 0.125f, 1e-6f);
}

TEST_F(tailrotor, RotorLinksAcceptOnlyTheirOwnModel) {
  kxdtailrotor00 t;
  kxdrotor00 main;
  kxdrotor01 other;
  kxnodevalue mainValue(&main), otherValue(&other);
  t.GetMember("Rotor", kxargs::None())->Assign(otherValue);
  EXPECT_EQ(t.Rotor, nullptr);
  t.GetMember("Rotor", kxargs::None())->Assign(mainValue);
  EXPECT_EQ(t.Rotor, &main);
  t.GetMember("Rotor1", kxargs::None())->Assign(mainValue);
  EXPECT_EQ(t.Rotor1, nullptr);
  t.GetMember("Rotor1", kxargs::None())->Assign(otherValue);
  EXPECT_EQ(t.Rotor1, &other);
}

class tailflight : public helitest {};

TEST_F(tailflight, StandingTailRotorGivesNoThrustThenFollowsTheMainRotorUntilStruck) {
  ASSERT_EQ(LoadHeli(), 1) << kxtest::logcapture::Text();
  StartOnGround();
  kxdtailrotor00* tail = Simulated<kxdtailrotor00>("Tail");
  kxdmainrotor* rotor = Simulated<kxdmainrotor>("Rotor");
  ASSERT_TRUE(tail && rotor);
  Stick(kxrtest::kRudder, 1.0f);
  Fly(0.1f);
  // Only the fuselage settling on the ground stirs the idle rotor.
  EXPECT_NEAR(tail->Speed, 0.0f, 0.01f);
  EXPECT_NEAR(tail->Thrust, 0.0f, 1e-6f);
  Stick(kxrtest::kThrottle, 1.0f);
  Stick(kxrtest::kCollective, -1.0f);
  Fly(6.0f);
  EXPECT_NEAR(tail->Speed, rotor->Spin * 10.0f / 2.2f, 1.0f);
  EXPECT_NEAR(tail->GetRPM(), tail->Speed * 60.0f / 6.2831853f, 0.1f);
  EXPECT_GT(std::fabs(tail->Thrust), 0.1f);
  // The carried rotor's frame after a frame shows its blades at their phase.
  ASSERT_NE(tail->ParentBody, nullptr);
  kxvector4r x = kxdcomponent::InFrame(tail->Placement.X, tail->Body->B);
  kxvector4r y = kxdcomponent::InFrame(tail->Placement.Y, tail->Body->B);
  EXPECT_NEAR(kxvector4r::Dot(tail->B.X, x), std::cos(tail->Phase), 1e-4f);
  EXPECT_NEAR(kxvector4r::Dot(tail->B.X, y), -std::sin(tail->Phase), 1e-4f);
  // Held full rudder in heading hold: the error stays within its bound.
  EXPECT_LE(std::fabs(tail->Error), kxdtailrotor00::kMaxError + 0.01f);
  EXPECT_EQ(kxdaircraftinstance::Loaded(0)->Crash, 0);
  // Its strike test is one of the aircraft's asks: the frame's reach cull
  // counts its box.
  ASSERT_NE(tail->Geometry, nullptr);
  EXPECT_GE(tail->AskExtent(), kxdground::BoxAskExtent(tail->Geometry->box, tail->B));
  // A strike stops new thrust without a crash; the rotor still follows its drive.
  kxdflatground hill(tail->B.R.z + 0.2f);
  for (int i = 0; i < 4 && !tail->Broken; ++i) kxdynamics::Step(0.009f, &hill);
  EXPECT_EQ(tail->Broken, 1);
  float thrust = tail->Thrust;
  Fly(0.1f);
  EXPECT_FLOAT_EQ(tail->Thrust, thrust);
  EXPECT_GT(tail->Speed, 0.0f);
}

}  // namespace
