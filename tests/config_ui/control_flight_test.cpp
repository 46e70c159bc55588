// End to end: with a transmitter scripted through the fake USB cable, a
// configuration made in the easy window (New in the control settings, then
// Ok) drives player 1's throttle and elevator functions, and the default
// aircraft flying on them answers the elevator in pitch.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "dynamics/all/register_all.h"
#include "graphics/graphics_init.h"
#include "tests/config_ui/config_support.h"
#include "tests/dynamics/all/samples_support.h"

namespace {

constexpr float kFrame = 1.0f / 60.0f;  // s
constexpr float kDegrees = 57.29578f;

class ControlFlightTest : public configtest::cabletest {
 protected:
  static void SetUpTestSuite() {
    cabletest::SetUpTestSuite();
    kxgraphics::RegisterTypes();
    kxdynamics::RegisterAll();
  }
  void SetUp() override {
    cabletest::SetUp();
    kxdtest::ResetSimulation();
    for (const char* folder : {"aircraft/christeneagle", "aircraft/airfoil"}) kxdtest::CopyFromData(folder);
  }
  void TearDown() override {
    kxdynamics::Stop();
    kxdtest::ClearSimulation();
    cabletest::TearDown();
  }
  // Pulses in µs of channels 1-8: throttle on 1, elevator on 2, the rest centred.
  void Sticks(int throttleUs, int elevatorUs) {
    Send(cable, Record(0), {throttleUs, elevatorUs, 1500, 1500, 1500, 1500, 1500, 1500});
  }
  void Fly(float seconds) {
    for (int k = 0; k < static_cast<int>(std::lround(seconds / kFrame)); ++k) kxdynamics::Step(kFrame, &ground);
  }
  static float Pitch(const kxdbody* b) { return std::asin(std::clamp(b->B.X.z, -1.0f, 1.0f)) * kDegrees; }

  int cable = -1;
  kxdflatground ground{-10000.0f};
};

TEST_F(ControlFlightTest, AnEasyConfigurationFromATransmitterFliesTheDefaultAircraft) {
  cable = AddCable();
  Search();
  Put("config/config.kxc", "GameFile = \"game\"\nAircraft0File = \"\"\nAircraft1File = \"\"\n");
  Run("/Display/Invisible/AircraftControlSettings/Open");
  Run("/Display/Visible/AircraftControlSettings/ConfigurationNew");
  ASSERT_TRUE(Shown("ConfigurationEasy"));
  Run("/Display/Visible/ConfigurationEasy/Ok");
  ASSERT_EQ(input::playermapper[0]->name.Str(), "acft00");

  const float* functions = board->slots + 2000;  // player 1's
  Sticks(2000, 1500);
  input::Update();
  for (int f = 0; f < 4; ++f) EXPECT_FLOAT_EQ(functions[f], 1.0f) << f;
  EXPECT_FLOAT_EQ(functions[4], 0.0f);
  Sticks(1500, 1250);
  input::Update();
  for (int f = 0; f < 4; ++f) EXPECT_FLOAT_EQ(functions[f], 0.0f) << f;
  EXPECT_FLOAT_EQ(functions[4], -0.5f);
  EXPECT_FLOAT_EQ(functions[17], -0.5f);

  // Half throttle and the elevator centred, then half up elevator.
  Sticks(1500, 1500);
  ASSERT_EQ(kxdaircraftinstance::AircraftLoad("christeneagle", 0), 1) << kxtest::logcapture::Text();
  kxdaircraftinstance* instance = kxdaircraftinstance::Loaded(0);
  kxdynamics::Start(&ground);
  kxdtest::PlaceLevel(instance, {0.0f, 0.0f, 50.0f, 1.0f}, {30.0f, 0.0f, 0.0f, 0.0f});
  kxdbody* body = instance->SimMainBody;
  Fly(1.0f);
  float level = Pitch(body);
  Sticks(1500, 1750);
  Fly(1.0f);
  float raised = Pitch(body);
  EXPECT_FLOAT_EQ(functions[4], 0.5f);
  EXPECT_GT(raised, level + 5.0f) << "pitch " << level << " -> " << raised;
}

}  // namespace
