// A powered sample on the ground: braked with the throttle closed it stands
// still on its wheels.
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
constexpr float kSettle = 3.0f;         // s to come to rest after the drop
constexpr float kStand = 10.0f;         // s
constexpr float kDriftLimit = 0.005f;   // m
// Receiver channels the samples use, in player 0's run of pinboard slots.
constexpr int kChannels = 2000;
constexpr int kThrottle = kChannels + 2;
constexpr int kBrake = kChannels + 5;

const char* const kSamples[] = {"trainer"};

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
    for (const char* name : {"trainer", "airfoil"}) {
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

  kxdflatground ground{0.0f};
  float slots[4096] = {};
};

TEST_F(sampleground, BrakedWithTheThrottleClosedTheTrainerStandsStill) {
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

}  // namespace
