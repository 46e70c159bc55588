// A whole model helicopter: spin-up on the ground, lift-off with collective,
// hover in ground effect under a simple attitude loop, heading hold, and the
// second rotor model turning the other way. The shipped samples fly in the
// sample flights.
#include <cmath>

#include "dynamics/components/engine00.h"
#include "dynamics/components/main_rotor.h"
#include "dynamics/components/tail_rotor.h"
#include "rotor_support.h"

namespace {

using kxrtest::helitest;

constexpr float kHoverCollective = -0.3f;
constexpr float kSpinUp = 10.0f;       // s, the engine's start ramp
constexpr float kMaxTilt = 0.34202f;   // sin 20 degrees

float Heading(const kxdbody* b) { return std::atan2(b->B.X.y, b->B.X.x); }

class hovertest : public helitest {
 protected:
  struct result {
    float minHeight = 1e9f, maxHeight = -1e9f, maxTilt = 0.0f, drift = 0.0f, speed = 0.0f;
    bool finite = true;
  };
  // After the spin-up lifts off with a fixed collective and hovers for
  // seconds while a PD loop on the body's tilt works the cyclic.
  result Hover(float seconds) {
    Stick(kxrtest::kCollective, kHoverCollective);
    Level(2.0f, nullptr);  // lift-off and climb into the hover
    return HoverOn(seconds);
  }
  // Hovers on for seconds, from wherever it is.
  result HoverOn(float seconds) {
    result r;
    float heading = Heading(Main());
    Level(seconds, &r);
    r.drift = std::remainder(Heading(Main()) - heading, 2.0f * 3.1415927f);
    kxdmainrotor* rotor = Simulated<kxdmainrotor>("Rotor");
    r.speed = rotor ? rotor->Spin : 0.0f;
    return r;
  }
  void Level(float seconds, result* r) {
    constexpr float kP = 3.0f, kD = 0.3f;
    int frames = static_cast<int>(seconds / 0.009f + 0.5f);
    for (int k = 0; k < frames; ++k) {
      kxdbody* m = Main();
      Stick(kxrtest::kRoll, -kP * m->B.Y.z - kD * m->D.Y.z);
      Stick(kxrtest::kNick, kP * m->B.X.z + kD * m->D.X.z);
      Fly(0.009f);
      if (!r) continue;
      // The skids' underside lies below the body's reference point (the
      // centre of the fuselage box).
      float height = m->B.R.z - 0.1f - kxrtest::kSkidDrop;
      r->minHeight = std::fmin(r->minHeight, height);
      r->maxHeight = std::fmax(r->maxHeight, height);
      r->maxTilt = std::fmax(r->maxTilt, std::fmax(std::fabs(m->B.X.z), std::fabs(m->B.Y.z)));
      r->finite = r->finite && std::isfinite(m->B.R.x + m->B.R.y + m->B.R.z + m->B.X.z + m->B.Y.z);
    }
  }
};

// One flight: spin-up held down on the ground, a hover in ground effect with
// the heading held, the same hover on with the tail gyro in rate mode
// drifting more, the cyclic tilting each way, a climb out of ground effect.
TEST_F(hovertest, SpinsUpHoversTiltsAndClimbsAndHeadingHoldDriftsLeast) {
  kxrtest::heli h;
  ASSERT_EQ(LoadHeli(h), 1) << kxtest::logcapture::Text();
  SpinUp(kSpinUp);
  kxdmainrotor* rotor = Simulated<kxdmainrotor>("Rotor");
  ASSERT_NE(rotor, nullptr);
  // Up to speed, still on the ground: negative pitch holds it down.
  EXPECT_GT(rotor->Spin, 150.0f);
  EXPECT_LT(Main()->B.R.z, 0.15f);
  EXPECT_NEAR(kxdaircraftinstance::Loaded(0)->RPMValue, rotor->Spin * 9.58f, 1.0f);

  result hold = Hover(10.0f);
  EXPECT_TRUE(hold.finite);
  EXPECT_GT(hold.minHeight, 0.1f);
  EXPECT_LT(hold.maxHeight, 2.0f);
  EXPECT_LT(hold.maxTilt, kMaxTilt);
  EXPECT_EQ(kxdaircraftinstance::Loaded(0)->Crash, 0);
  // The downwash blows down through the disc.
  EXPECT_LT(kxdaircraftinstance::Loaded(0)->Slipstream.z, -0.5f);
  kxdtailrotor00* tail = Simulated<kxdtailrotor00>("Tail");
  ASSERT_NE(tail, nullptr);
  tail->GyroLock = 0;
  result rate = HoverOn(10.0f);
  ASSERT_TRUE(rate.finite);
  EXPECT_LT(std::fabs(hold.drift), std::fabs(rate.drift));
  EXPECT_LT(std::fabs(hold.drift), 0.1f);
  // Forward stick dips the nose, right stick the right side.
  Stick(kxrtest::kNick, 0.4f);
  Stick(kxrtest::kRoll, 0.0f);
  Fly(0.3f);
  EXPECT_LT(Main()->B.X.z, -0.02f);
  Level(2.0f, nullptr);
  Stick(kxrtest::kNick, 0.0f);
  Stick(kxrtest::kRoll, 0.4f);
  Fly(0.3f);
  EXPECT_GT(Main()->B.Y.z, 0.02f);
  Level(1.0f, nullptr);
  float height = Main()->B.R.z;
  Stick(kxrtest::kCollective, 0.2f);
  Level(2.0f, nullptr);
  EXPECT_GT(Main()->B.R.z, height + 2.0f);
  EXPECT_GT(Main()->D.R.z, 1.0f);
}

TEST_F(helitest, SecondRotorModelTurnsTheOtherWayAndTwistsTheFuselageBack) {
  // Without a tail rotor the reaction torque turns the fuselage on the ground.
  float yaw[2] = {0.0f, 0.0f};
  float turn[2] = {0.0f, 0.0f};
  const char* types[2] = {"kxdrotor00", "kxdrotor01"};
  for (int k = 0; k < 2; ++k) {
    if (k) {
      TearDown();
      SetUp();
    }
    kxrtest::heli h;
    h.rotorType = types[k];
    h.blades = 3;
    h.tail = false;
    ASSERT_EQ(LoadHeli(h), 1) << kxtest::logcapture::Text();
    StartOnGround();
    Stick(kxrtest::kThrottle, 1.0f);
    Stick(kxrtest::kCollective, -1.0f);
    kxdmainrotor* rotor = Simulated<kxdmainrotor>("Rotor");
    ASSERT_NE(rotor, nullptr);
    EXPECT_EQ(rotor->Blades, 3);
    const float heading = Heading(Main());
    Fly(5.0f);
    kxvector4r before = rotor->B.X;
    Fly(0.009f);
    kxvector4r after = rotor->B.X;
    kxvector4r c;
    kxvector4r::Cross(c, before, after);
    turn[k] = c.z;
    // The turn so far: its rate on the skids' friction goes by fits and starts.
    yaw[k] = Heading(Main()) - heading;
    EXPECT_GT(rotor->Spin, 50.0f);
  }
  // The first model turns its frame clockwise seen from above, the second
  // counter-clockwise, and the fuselage the opposite way of each.
  EXPECT_LT(turn[0], 0.0f);
  EXPECT_GT(turn[1], 0.0f);
  EXPECT_GT(yaw[0], 0.0f);
  EXPECT_LT(yaw[1], 0.0f);
}

}  // namespace
