// Shared set-up of the sample aircraft tests: every type registered once; per
// test a temporary data folder with copies of the committed samples, player
// 1's control mapper under "/Pinboard/" with a fixed source slot per control
// function that the test sets, a flat ground at a chosen height, and helpers
// to fly frame by frame and read the main body's state.
#pragma once

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <initializer_list>
#include <string>

#include "dynamics/aircraft.h"
#include "dynamics/all/register_all.h"
#include "dynamics/driver.h"
#include "dynamics/instance.h"
#include "platform/device_mapper.h"
#include "tests/dynamics/dynamics_support.h"

namespace kxdtest {

constexpr float kFrame = 1.0f / 60.0f;  // s
// Control functions the samples' receivers read.
constexpr int kEngine1 = 0;
constexpr int kElevator = 4;
constexpr int kRudder = 8;
constexpr int kLeftAileron = 10;
constexpr int kRightAileron = 11;
constexpr int kCollective = 16;
constexpr int kCyclicPitch = 17;
constexpr int kRoll = 18;
constexpr int kTailRotor = 19;
constexpr int kEngine = 20;
constexpr int kWheelBrake = 23;

// The committed data folder of the source tree the tests were built from.
inline std::filesystem::path SourceData() {
  std::string fixtures = std::filesystem::path(KX_TEST_DATA).lexically_normal().string();
  return std::filesystem::path(fixtures.substr(0, fixtures.rfind("/tests/"))) / "data";
}

// Copies a file or a whole folder of the committed data to the same path
// below the current folder, making its folders first.
inline void CopyFromData(const std::string& relative) {
  namespace fs = std::filesystem;
  fs::path to(relative);
  if (to.has_parent_path()) fs::create_directories(to.parent_path());
  fs::copy(SourceData() / relative, to, fs::copy_options::recursive);
}

class samples : public loading {
 protected:
  static constexpr int kPlayer1Functions = 2000;  // where player 1's mapper writes
  static constexpr int kSources = 3000;           // slot of function f's source: kSources + f
  static constexpr int kPlusOne = 1937;           // the mapper's own constant +1

  explicit samples(float groundHeightM) : ground(groundHeightM) {}
  static void SetUpTestSuite() {
    loading::SetUpTestSuite();
    kxdynamics::RegisterAll();
  }
  // Functions 0-31 read their own source slots, all 0; the engine of a
  // helicopter runs on the constant +1, as a fresh easy configuration has it.
  void SetUp() override {
    loading::SetUp();
    input::vtail[0] = kxvtail{};
    board = Append<kxpinboard>(kxscript::Root(), "Pinboard");
    mapper = Append<kxdevicemapper>(board, "Player1");
    ASSERT_EQ(mapper->PlugIn(kPlayer1Functions, 0), 1);
    for (int f = 0; f < kxdevicemapper::kConfiguredFunctions; ++f) mapper->Assign(f, kSources + f);
    mapper->Assign(kEngine, kPlusOne);
  }
  void TearDown() override {
    kxdynamics::Stop();
    loading::TearDown();
    delete board;
  }
  // The value the mapper reads for a function.
  void Set(int function, float value) { board->slots[kSources + function] = value; }
  // Copies the named folders of the committed data/aircraft into the test's
  // "aircraft/".
  static void CopySamples(std::initializer_list<const char*> folders) {
    for (const char* name : folders) CopyFromData(std::string("aircraft/") + name);
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
  kxpinboard* board = nullptr;
  kxdevicemapper* mapper = nullptr;
};

}  // namespace kxdtest
