// The powered samples on the ground: braked, each stands still with
// the throttle closed; under a scripted throttle and elevator sequence each
// sample rolls, lifts off, and lands back on its wheels.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>

#include "dynamics/aircraft.h"
#include "dynamics/all/register_all.h"
#include "dynamics/driver.h"
#include "dynamics/instance.h"
#include "tests/dynamics/dynamics_support.h"

namespace {

namespace fs = std::filesystem;

constexpr float kFrame = 1.0f / 60.0f;  // s
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
// Receiver channels the samples use, in player 0's run of pinboard slots.
constexpr int kChannels = 2000;
constexpr int kElevator = kChannels + 1;
constexpr int kThrottle = kChannels + 2;
constexpr int kBrake = kChannels + 5;

const char* const kSamples[] = {"christeneagle", "trainer"};

class sampleground : public kxdtest::loading {
 protected:
  static void SetUpTestSuite() {
    kxdtest::loading::SetUpTestSuite();
    kxdynamics::RegisterAll();
  }
  void SetUp() override {
    kxdtest::loading::SetUp();
    for (float& s : slots) s = 0.0f;
    kxdaircraft::SetPinboardSlots(slots);
    fs::path data = fs::path(KX_TEST_DATA).lexically_normal().parent_path().parent_path().parent_path().parent_path() /
                    "data" / "aircraft";
    for (const char* name : {"christeneagle", "trainer", "airfoil"}) {
      fs::copy(data / name, fs::path("aircraft") / name, fs::copy_options::recursive);
    }
  }
  void TearDown() override {
    kxdynamics::Stop();
    kxdtest::loading::TearDown();
    kxdaircraft::SetPinboardSlots(nullptr);
  }
  // Loads the sample, drops it level from kDropHeight onto the ground with
  // the throttle closed and the brakes on, and lets it settle.
  kxdaircraftinstance* StandOnGround(const char* name) {
    if (!kxdaircraftinstance::AircraftLoad(name, 0)) return nullptr;
    kxdaircraftinstance* instance = kxdaircraftinstance::Loaded(0);
    slots[kThrottle] = -1.0f;
    slots[kBrake] = 1.0f;
    kxdynamics::Start(&ground);
    kxmatrix pose;
    kxmatrix::SetIdentity(&pose);
    pose.R = {0.0f, 0.0f, kDropHeight, 1.0f};
    kxdaircraftinstance::PlaceAt(instance, pose, {0.0f, 0.0f, 0.0f, 0.0f});
    Fly(kSettle);
    return instance;
  }
  void Fly(float seconds) {
    for (int k = 0; k < static_cast<int>(std::lround(seconds / kFrame)); ++k) kxdynamics::Step(kFrame, &ground);
  }
  static bool Finite(const kxdbody* b) {
    for (int i = 0; i < 16; ++i) {
      if (!std::isfinite(b->B[i]) || !std::isfinite(b->D[i])) return false;
    }
    return true;
  }
  static float Speed(const kxdbody* b) {
    return std::sqrt(b->D.R.x * b->D.R.x + b->D.R.y * b->D.R.y + b->D.R.z * b->D.R.z);
  }

  // The scripted elevator: holds a pitch attitude (rad), damped by the pitch
  // rate.
  float Hold(const kxdbody* b, float target) {
    float pitch = std::asin(std::clamp(b->B.X.z, -1.0f, 1.0f));
    float rate = (pitch - lastPitch) / kFrame;
    lastPitch = pitch;
    return std::clamp(kPitchGain * (target - pitch) - kPitchDamping * rate, -1.0f, 1.0f);
  }
  float lastPitch = 0.0f;
  kxdflatground ground{0.0f};
  float slots[4096] = {};
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
    lastPitch = std::asin(std::clamp(body->B.X.z, -1.0f, 1.0f));
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
