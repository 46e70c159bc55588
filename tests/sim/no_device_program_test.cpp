// A fresh start with no input device at all, through the whole program: the
// menu tells the user that the assigned device is missing and how to fly
// from the keyboard, and a flight started all the same leaves the aircraft
// standing at its start with the engine at idle.
#include <cmath>
#include <cstdio>
#include <fstream>
#include <string>

#include "dynamics/flight_state.h"
#include "graphics/font.h"
#include "gui/list_item.h"
#include "gui/text.h"
#include "gui/window.h"
#include "platform/input_devices.h"
#include "sim/menu_bar.h"
#include "sim/resources.h"
#include "tests/sim/program_support.h"

namespace {

constexpr float kStandSeconds = 10.0f;

class NoDeviceProgramTest : public simtest::clockedprogramtest {
 protected:
  void SetUp() override {
    clockedprogramtest::SetUp();
    CopySampleAircraft();
  }
};

TEST_F(NoDeviceProgramTest, TheAircraftStandsAtItsStartWithTheEngineAtIdle) {
  // The biplane's engine idles at RotationSpeedIdle (rad/s) with its
  // propeller. The helicopter's throttle servo holds its engine up over the
  // whole stick, as a governed rotor head is flown, so with the collective
  // closed its rotor may turn while it stands.
  const struct {
    const char* aircraft;
    float idleRadPerS;
    bool idlesWithTheStick;
  } cases[] = {{"christeneagle", 150.0f, true}, {"heli", 100.0f, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.aircraft);
    TearDown();
    SetUp();
    simtest::fs::copy(simtest::fs::path(KX_TEST_DATA) / "../../../data/aircraft" / c.aircraft,
                      dir_ / "aircraft" / c.aircraft, simtest::fs::copy_options::recursive | simtest::fs::copy_options::skip_existing);
    std::ofstream(dir_ / "config/main.mcf") << "aircraft0  " << c.aircraft << "\n";
    float start[3] = {}, moved = 0.0f, speed = 0.0f, rpm = 0.0f, idle = 0.0f;
    bool started = false;
    window_.beforeEvent = [&] {
      if (!Flying()) return false;
      const simplayer& p = sim::players[0];
      const kxdflightstate& s = *p.flight_state;
      const float now = sim::FrameTiming().elapsed_sim_time;
      if (!started) {
        std::copy(s.position(), s.position() + 3, start);
        started = true;
      }
      moved = std::hypot(s.position()[0] - start[0], s.position()[1] - start[1], s.position()[2] - start[2]);
      speed = p.hud.speed;
      rpm = s.engine_rpm;
      if (now < 1.0f) idle = rpm;  // settled after the first second
      return now < kStandSeconds;
    };
    Key(kxcode::kKeyReturn);
    Key(kxcode::kKeyEscape);
    EXPECT_EQ(Run(), 0);
    ASSERT_EQ(kxinput::DeviceCount(), 0);
    ASSERT_TRUE(started);
    std::printf("%s: moved %.3f m, %.3f m/s, %.0f rpm (%.0f after a second)\n", c.aircraft, moved, speed, rpm, idle);
    const float idleRpm = c.idleRadPerS * 60.0f / (2.0f * 3.14159265f);
    EXPECT_LT(moved, 0.2f);
    EXPECT_LT(speed, 0.05f);
    if (!c.idlesWithTheStick) continue;
    EXPECT_LE(rpm, 1.05f * idleRpm);
    EXPECT_LE(idle, 1.05f * idleRpm);
    EXPECT_GE(rpm, 0.95f * idleRpm);
    EXPECT_GE(idle, 0.95f * idleRpm);
  }
}

// The notice tells what is missing and how to fly without it, blocks no key,
// and stays away once player 1 flies with the keypad assignment.
TEST_F(NoDeviceProgramTest, TheMenuSaysTheAssignedDeviceIsMissingAndHowToFlyFromTheKeyboard) {
  for (const char* assignment : {"acft00", "acft01"}) {
    SCOPED_TRACE(assignment);
    TearDown();
    SetUp();
    std::ofstream(dir_ / "config/config.kxc")
        << "GameFile = \"game\"\nAircraft0File = \"" << assignment << "\"\nAircraft1File = \"acft01\"\n";
    bool shown = false, flew = false;
    int height = 0, room = 0;
    std::string text;
    window_.beforeEvent = [&] {
      flew = flew || Flying();
      kxnode* notice = kxnode::Find("/Display/Visible/wndNoDevice/");
      if (notice && !shown) {
        shown = true;
        if (auto* t = kxnode::As<kxtext>(notice->FindChild("wndnodevice1"))) {
          text = t->Text.Str();
          kxgl::SetFont(&sim::small_font);  // the font the GUI draws with
          height = static_cast<int>(kxlistitem::Wrap(t->Text.Text(), t->W).size()) * sim::small_font.lineHeight;
          room = t->H;
        }
      }
      return false;
    };
    Key(kxcode::kKeyReturn);
    Key(kxcode::kKeyEscape);
    EXPECT_EQ(Run(), 0);
    EXPECT_TRUE(flew);  // the notice holds no key up
    const bool keypad = std::string(assignment) == "acft01";
    EXPECT_EQ(shown, !keypad);
    if (keypad) continue;
    EXPECT_NE(text.find("not found"), std::string::npos) << text;
    EXPECT_NE(text.find("Keypad assignment under Controls"), std::string::npos) << text;
    EXPECT_LE(height, room) << "the text runs past its box";
  }
}

}  // namespace
