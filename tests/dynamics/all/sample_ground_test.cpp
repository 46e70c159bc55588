// The powered samples on the ground: braked, each stands still with
// the throttle closed; under a scripted throttle and elevator sequence each
// sample rolls, lifts off, and lands back on its wheels.
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "samples_support.h"

namespace {

using namespace kxdtest;

constexpr float kDropHeight = 0.5f;     // m, the main body's start above the ground
constexpr float kSettle = 5.0f;         // s to come to rest after the drop
constexpr float kStand = 10.0f;         // s
constexpr float kDriftLimit = 0.003f;   // m
constexpr float kTakeOffLimit = 30.0f;  // s of full throttle to leave the ground
constexpr float kAirborne = 0.5f;       // s without wheel contact that counts as flying
constexpr float kClimb = 1.0f;          // s of climbing before the throttle closes
constexpr float kLandingLimit = 60.0f;  // s of gliding to reach the ground
// A firm landing for a model of this size; harder touch-downs bend gear.
constexpr float kTouchDownLimit = 1.5f;  // m/s
constexpr float kRotateSpeed = 8.0f;     // m/s, the nose comes up from here
constexpr float kClimbPitch = 0.15f;     // rad
constexpr float kGlidePitch = -0.05f;    // rad, throttle closed
constexpr float kFlareHeight = 2.0f;     // m, main body above the ground
constexpr float kFlarePitch = 0.05f;     // rad, gently nose-up for the touch-down
constexpr float kPitchGain = 1.5f;       // elevator per radian of pitch error
constexpr float kPitchDamping = 0.3f;    // elevator per rad/s of pitch rate

const char* const kSamples[] = {"christeneagle", "trainer"};

// On the ground at height 0.
class sampleground : public samples {
 protected:
  sampleground() : samples(0.0f) {}
  void SetUp() override {
    samples::SetUp();
    CopySamples({"christeneagle", "trainer", "airfoil"});
  }
  // Loads the sample, drops it level from kDropHeight onto the ground with
  // the throttle closed and the brakes on, and lets it settle.
  kxdaircraftinstance* StandOnGround(const char* name) {
    if (!kxdaircraftinstance::AircraftLoad(name, 0)) return nullptr;
    kxdaircraftinstance* instance = kxdaircraftinstance::Loaded(0);
    slots[kThrottle] = -1.0f;
    slots[kBrake] = 1.0f;
    Place(instance, kDropHeight, 0.0f);
    Fly(kSettle);
    return instance;
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

TEST_F(sampleground, BrakedWithTheThrottleClosedEachStandsStill) {
  for (const char* name : kSamples) {
    SCOPED_TRACE(name);
    kxdaircraftinstance* instance = StandOnGround(name);
    ASSERT_NE(instance, nullptr) << kxtest::logcapture::Text();
    kxdbody* body = instance->SimMainBody;
    ASSERT_NE(body, nullptr);
    ASSERT_TRUE(Finite(body));
    EXPECT_EQ(instance->WheelContact, 1);
    kxvector4r start = body->B.R;
    float drift = 0.0f;
    bool finite = true;
    for (int second = 0; second < static_cast<int>(kStand); ++second) {
      Fly(1.0f);
      finite = finite && Finite(body);
      if (!finite) break;
      float dx = body->B.R.x - start.x, dy = body->B.R.y - start.y, dz = body->B.R.z - start.z;
      drift = std::max(drift, std::sqrt(dx * dx + dy * dy + dz * dz));
    }
    ASSERT_TRUE(finite);
    std::printf("%s: at rest %.3f m up, drift %.2f mm in %.0f s, rpm %.0f\n", name, body->B.R.z, drift * 1000.0f, kStand,
                instance->RPMValue);
    EXPECT_LT(drift, kDriftLimit);
    EXPECT_EQ(instance->Crash, 0);
    kxdynamics::Stop();
  }
}

// Brakes off and full throttle, the elevator script holds a climbing
// attitude once the aircraft rolls; a second after lift-off the throttle
// closes, the script holds a shallow glide and a gentle nose-up attitude
// over the last two metres until the wheels touch.
TEST_F(sampleground, ScriptedTakeOffAndLandingTouchDownOnTheWheels) {
  for (const char* name : kSamples) {
    SCOPED_TRACE(name);
    kxdaircraftinstance* instance = StandOnGround(name);
    ASSERT_NE(instance, nullptr) << kxtest::logcapture::Text();
    kxdbody* body = instance->SimMainBody;
    slots[kBrake] = -1.0f;
    slots[kThrottle] = 1.0f;
    lastPitch = PitchRad(body);
    int frames = 0, off = 0;
    float liftOffSpeed = NAN;
    bool finite = true;
    while (frames * kFrame < kTakeOffLimit && off * kFrame < kAirborne) {
      float speed = Speed(body);
      slots[kElevator] = speed > kRotateSpeed ? Hold(body, kClimbPitch) : 0.0f;
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
      slots[kElevator] = Hold(body, kClimbPitch);
      Fly(kFrame);
    }
    float top = body->B.R.z;
    slots[kThrottle] = -1.0f;
    float sink = NAN;
    frames = 0;
    while (frames * kFrame < kLandingLimit) {
      float vz = body->D.R.z;
      slots[kElevator] = Hold(body, body->B.R.z > kFlareHeight ? kGlidePitch : kFlarePitch);
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
    std::printf("%s: lift-off at %.1f m/s, throttle closed at %.1f m, touch-down sink %.2f m/s after %.1f s\n", name,
                liftOffSpeed, top, sink, frames * kFrame);
    EXPECT_EQ(instance->Crash, 0);
    EXPECT_LT(sink, kTouchDownLimit);
    Fly(2.0f);
    EXPECT_TRUE(Finite(body));
    EXPECT_EQ(instance->Crash, 0);
    kxdynamics::Stop();
  }
}

}  // namespace
