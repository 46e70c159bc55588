// Shared set-up of the sample aircraft tests: every type registered once; per
// test a temporary data folder with copies of the committed samples, the
// receiver's pinboard slots zeroed, a flat ground at a chosen height, and
// helpers to fly frame by frame and read the main body's state.
#pragma once

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <initializer_list>

#include "dynamics/aircraft.h"
#include "dynamics/all/register_all.h"
#include "dynamics/driver.h"
#include "dynamics/instance.h"
#include "tests/dynamics/dynamics_support.h"

namespace kxdtest {

constexpr float kFrame = 1.0f / 60.0f;  // s
// Receiver channels the samples use, in player 0's run of pinboard slots.
constexpr int kChannels = 2000;
constexpr int kAileron = kChannels + 0;
constexpr int kElevator = kChannels + 1;
constexpr int kThrottle = kChannels + 2;
constexpr int kBrake = kChannels + 5;

class samples : public loading {
 protected:
  explicit samples(float groundHeightM) : ground(groundHeightM) {}
  static void SetUpTestSuite() {
    loading::SetUpTestSuite();
    kxdynamics::RegisterAll();
  }
  void SetUp() override {
    loading::SetUp();
    for (float& s : slots) s = 0.0f;
    kxdaircraft::SetPinboardSlots(slots);
  }
  void TearDown() override {
    kxdynamics::Stop();
    loading::TearDown();
    kxdaircraft::SetPinboardSlots(nullptr);
  }
  // Copies the named folders of the committed data/aircraft into the test's
  // "aircraft/".
  static void CopySamples(std::initializer_list<const char*> folders) {
    namespace fs = std::filesystem;
    fs::path data = fs::path(KX_TEST_DATA).lexically_normal().parent_path().parent_path().parent_path().parent_path() /
                    "data" / "aircraft";
    for (const char* name : folders) fs::copy(data / name, fs::path("aircraft") / name, fs::copy_options::recursive);
  }
  // Starts the driver over the ground and places the instance level at
  // heightM with forward speed speedMps.
  void Place(kxdaircraftinstance* instance, float heightM, float speedMps) {
    kxdynamics::Start(&ground);
    PlaceLevel(instance, {0.0f, 0.0f, heightM, 1.0f}, {speedMps, 0.0f, 0.0f, 0.0f});
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
  static float PitchRad(const kxdbody* b) { return std::asin(std::clamp(b->B.X.z, -1.0f, 1.0f)); }
  static float BankRad(const kxdbody* b) { return std::asin(std::clamp(b->B.Y.z, -1.0f, 1.0f)); }

  kxdflatground ground;
  float slots[4096] = {};
};

}  // namespace kxdtest
