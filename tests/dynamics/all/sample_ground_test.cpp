// The powered samples on the ground: braked, each stands at a throttle
// that rolls it away unbraked; released, under a scripted throttle and
// elevator sequence each rolls, lifts off near its own speed, and lands
// back on its wheels.
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "samples_support.h"

namespace {

using namespace kxdtest;

constexpr float kDropHeight = 0.5f;     // m, the main body's start above the ground
constexpr float kSettle = 3.0f;         // s to come to rest after the drop
constexpr float kStand = 5.0f;          // s
constexpr float kStandThrottle = -0.7f; // 15 %: unbraked, each sample rolls off
// The rolling friction turns with the sign of the rolling speed in every
// substep, so a braked wheel chatters about rest and creeps by less than a
// millimetre per second; unbraked at kStandThrottle a sample rolls metres.
constexpr float kDriftLimit = 0.005f;   // m in kStand
constexpr float kTakeOffLimit = 30.0f;  // s of full throttle to leave the ground
constexpr float kAirborne = 0.5f;       // s without wheel contact that counts as flying
constexpr float kClimb = 2.0f;          // s of climbing before the throttle closes: a couple of metres up
constexpr float kLandingLimit = 60.0f;  // s of gliding to reach the ground
// A firm landing for a model of this size; harder touch-downs bend gear.
constexpr float kTouchDownLimit = 1.5f;  // m/s
constexpr float kRotateSpeed = 8.0f;     // m/s, the nose comes up from here
constexpr float kClimbPitch = 0.15f;     // rad
constexpr float kGlidePitch = -0.05f;    // rad, throttle closed
constexpr float kFlareHeight = 2.0f;     // m, main body above the ground
constexpr float kFlarePitch = 0.15f;     // rad, nose-up for the touch-down, as a pilot flares a draggy biplane
constexpr float kPitchGain = 1.5f;       // elevator per radian of pitch error
constexpr float kPitchDamping = 0.3f;    // elevator per rad/s of pitch rate

// Lift-off speeds of the samples under the script, m/s; a wrong model of
// the wings or the gear moves them out of the band. The biplane has none:
// held at the climb attitude it may hop along before it leaves (about
// 12.4 m/s), and whether a hop carries it away or grazes the ground once
// more turns on rounding alone.
struct sample {
  const char* name;
  float liftOff;  // NAN: no band
};
const sample kSamples[] = {{"christeneagle", NAN}, {"trainer", 10.7f}};
constexpr float kLiftOffBand = 0.15f;  // share of the lift-off speed

// On the ground at height 0.
class sampleground : public samples {
 protected:
  sampleground() : samples(0.0f) {}
  void SetUp() override {
    samples::SetUp();
    CopySamples({"christeneagle", "trainer", "airfoil"});
  }
  // Loads the sample, drops it level from kDropHeight onto the ground at
  // kStandThrottle with the brakes on, and lets it settle.
  kxdaircraftinstance* StandOnGround(const char* name) {
    if (!kxdaircraftinstance::AircraftLoad(name, 0)) return nullptr;
    kxdaircraftinstance* instance = kxdaircraftinstance::Loaded(0);
    Set(kEngine1, kStandThrottle);
    Set(kWheelBrake, 1.0f);
    Place(instance, kDropHeight, 0.0f);
    Fly(kSettle);
    return instance;
  }
  // The largest distance (m) the main body moves from where it stands in
  // kStand.
  float Drift(const kxdbody* body) {
    kxvector4r start = body->B.R;
    float drift = 0.0f;
    for (int k = 0; k < static_cast<int>(kStand / kFrame) && Finite(body); ++k) {
      Fly(kFrame);
      float dx = body->B.R.x - start.x, dy = body->B.R.y - start.y, dz = body->B.R.z - start.z;
      drift = std::max(drift, std::sqrt(dx * dx + dy * dy + dz * dz));
    }
    return drift;
  }
  // The scripted elevator: holds a pitch attitude (rad), damped by the pitch
  // rate.
  float Hold(const kxdbody* b, float target) {
    float pitch = PitchRad(b);
    float rate = (pitch - lastPitch) / kFrame;
    lastPitch = pitch;
    return std::clamp(kPitchGain * (target - pitch) - kPitchDamping * rate, -1.0f, 1.0f);
  }
  float lastPitch = 0.0f;
};

// Braked, the sample stands; brakes off and full throttle, the elevator
// script holds a climbing attitude once the aircraft rolls; a second after
// lift-off the throttle closes, the script holds a shallow glide and a
// gentle nose-up attitude over the last two metres until the wheels touch.
TEST_F(sampleground, StandsBrakedThenTakesOffAndLandsOnItsWheels) {
  for (const sample& s : kSamples) {
    const char* name = s.name;
    SCOPED_TRACE(name);
    kxdaircraftinstance* instance = StandOnGround(name);
    ASSERT_NE(instance, nullptr) << kxtest::logcapture::Text();
    kxdbody* body = instance->SimMainBody;
    EXPECT_EQ(instance->WheelContact, 1);
    float drift = Drift(body);
    ASSERT_TRUE(Finite(body));
    EXPECT_LT(drift, kDriftLimit);
    Set(kWheelBrake, -1.0f);
    Set(kEngine1, 1.0f);
    lastPitch = PitchRad(body);
    int frames = 0, off = 0;
    float liftOffSpeed = NAN;
    bool finite = true;
    while (frames * kFrame < kTakeOffLimit && off * kFrame < kAirborne) {
      float speed = Speed(body);
      Set(kElevator, speed > kRotateSpeed ? Hold(body, kClimbPitch) : 0.0f);
      Fly(kFrame);
      ++frames;
      finite = finite && Finite(body);
      if (!finite) break;
      if (instance->WheelContact) {
        off = 0;
      } else if (off++ == 0) {
        liftOffSpeed = speed;
      }
    }
    ASSERT_TRUE(finite);
    ASSERT_GE(off * kFrame, kAirborne) << "no lift-off in " << kTakeOffLimit << " s";
    EXPECT_EQ(instance->Crash, 0);
    for (int k = 0; k < static_cast<int>(kClimb / kFrame); ++k) {
      Set(kElevator, Hold(body, kClimbPitch));
      Fly(kFrame);
    }
    float top = body->B.R.z;
    Set(kEngine1, -1.0f);
    float sink = NAN;
    frames = 0;
    while (frames * kFrame < kLandingLimit) {
      float vz = body->D.R.z;
      Set(kElevator, Hold(body, body->B.R.z > kFlareHeight ? kGlidePitch : kFlarePitch));
      Fly(kFrame);
      ++frames;
      finite = finite && Finite(body);
      if (!finite) break;
      if (instance->WheelContact || instance->Crash) {
        sink = -vz;
        break;
      }
    }
    ASSERT_TRUE(finite);
    ASSERT_TRUE(std::isfinite(sink)) << "no touch-down in " << kLandingLimit << " s";
    std::printf("%s: braked drift %.2f mm, lift-off at %.1f m/s, throttle closed at %.1f m, touch-down sink %.2f m/s "
                "after %.1f s\n",
                name, drift * 1000.0f, liftOffSpeed, top, sink, frames * kFrame);
    if (!std::isnan(s.liftOff)) {
      EXPECT_NEAR(liftOffSpeed, s.liftOff, kLiftOffBand * s.liftOff);
    }
    EXPECT_EQ(instance->Crash, 0);
    EXPECT_LT(sink, kTouchDownLimit);
    Fly(2.0f);
    EXPECT_TRUE(Finite(body));
    EXPECT_EQ(instance->Crash, 0);
    kxdynamics::Stop();
  }
}

}  // namespace
