#include "sim/settings.h"

#include <cstring>

#include "dynamics/air_model.h"
#include "graphics/texture_table.h"
#include "platform/usb_interface.h"
#include "platform/window.h"
#include "sim_support.h"

namespace {

using simtest::Fixture;
using simtest::ResetSimulatorState;

class SettingsTest : public simtest::simtest {
 protected:
  void SetUp() override {
    simtest::SetUp();
    Write("config/.keep", "");
  }
  simsession& s = sim::session;
};

TEST_F(SettingsTest, FirstStartWithoutFilesUsesEveryDefaultAndLogsFail) {
  s.game_type = sim::kGameSplitSide;
  kxsystem::display.window_width = 1;
  sim::LoadConfigFiles();
  EXPECT_EQ(kxsystem::display.window_width, 640);
  EXPECT_EQ(kxsystem::display.window_height, 480);
  EXPECT_EQ(kxsystem::display.window_fullscreen, 0);
  EXPECT_STREQ(s.scenery, "winzeln");
  EXPECT_STREQ(s.aircraft0, "christeneagle");
  EXPECT_STREQ(s.aircraft1, "");
  EXPECT_EQ(s.game_type, sim::kGameSingle);
  EXPECT_EQ(s.smoke_particles, 700);
  EXPECT_FLOAT_EQ(kxdynamics::Environment().wind_direction, 270.0f);
  EXPECT_EQ(usbinterface::settings.padpilot_max, 21845);
  EXPECT_EQ(kxgl::maxTextureSize, 2048);
  EXPECT_EQ(sim::players[1].camera[2].width, 192);
  EXPECT_FLOAT_EQ(sim::players[1].camera[2].position[2], 40.0f);
  EXPECT_TRUE(inputtest::Logged("loading configfile config/main.mcf=fail"));
  EXPECT_TRUE(inputtest::Logged("loading player configfile config/player2.mcf=fail"));
}

TEST_F(SettingsTest, DefaultsAreWrittenExactlyAsTheFileFormat) {
  sim::SaveConfigFiles();
  EXPECT_EQ(Read("config/main.mcf"), Fixture("main.mcf"));
  EXPECT_EQ(Read("config/player1.mcf"), Fixture("player1.mcf"));
  EXPECT_EQ(Read("config/player2.mcf"), "<missing>");
  EXPECT_TRUE(inputtest::Logged("saving player configfile config/player1.mcf=ok"));
}

TEST_F(SettingsTest, SecondPlayerFileIsWrittenOnlyWhileItHasAnAircraft) {
  Write("config/player2.mcf", "view_mode 53\n");
  sim::SaveConfigFiles();
  EXPECT_EQ(Read("config/player2.mcf"), "view_mode 53\n");
  kxdflightstate state;
  sim::players[1].flight_state = &state;
  sim::players[1].view_mode = sim::kViewFollow;
  sim::SaveConfigFiles();
  EXPECT_EQ(Read("config/player2.mcf").rfind("view_mode  52\n", 0), 0u);
}

TEST_F(SettingsTest, SavedValuesLoadBackThroughFiveDecimals) {
  kxdflightstate state;
  sim::players[1].flight_state = &state;
  s.sound_volume = 0.123456f;
  std::strcpy(s.aircraft1, "trainer");
  kxdynamics::Environment().wind_speed = 7.25f;
  s.fog_color[2] = 0.25f;
  sim::players[0].fov_follow = 0.3f;
  sim::players[1].camera[2].position[1] = -12.5f;
  sim::players[1].show_fps = 0;
  sim::SaveConfigFiles();
  ResetSimulatorState();
  sim::LoadConfigFiles();
  EXPECT_FLOAT_EQ(s.sound_volume, 0.12346f);
  EXPECT_STREQ(s.aircraft1, "trainer");
  EXPECT_FLOAT_EQ(kxdynamics::Environment().wind_speed, 7.25f);
  EXPECT_FLOAT_EQ(s.fog_color[2], 0.25f);
  EXPECT_FLOAT_EQ(sim::players[0].fov_follow, 0.3f);
  EXPECT_FLOAT_EQ(sim::players[1].camera[2].position[1], -12.5f);
  EXPECT_EQ(sim::players[1].show_fps, 0);
}

// Each line is read into fresh defaults; the checks name what it must leave.
TEST_F(SettingsTest, LinesParseAsTheFileRulesSay) {
  struct row {
    const char* line;
    const char* check;
    bool (*ok)(const simsession&);
  } rows[] = {
      {"WINDOW_WIDTH 800", "keys ignore case",
       [](const simsession&) { return kxsystem::display.window_width == 800; }},
      {"window_width800", "the blank belongs to the key",
       [](const simsession&) { return kxsystem::display.window_width == 640; }},
      {"fog_color 0.1", "one value sets red only",
       [](const simsession& x) { return x.fog_color[0] == 0.1f && x.fog_color[1] == 0.6f && x.fog_color[2] == 0.6f; }},
      {"fog_color    0.1   0.2 0.3 junk", "blanks and garbage",
       [](const simsession& x) { return x.fog_color[0] == 0.1f && x.fog_color[1] == 0.2f && x.fog_color[2] == 0.3f; }},
      {"scenery two words", "a string is one word", [](const simsession& x) { return !std::strcmp(x.scenery, "two"); }},
      {"scenery\tfield", "a tab is no separator", [](const simsession& x) { return !std::strcmp(x.scenery, "winzeln"); }},
      {"sound_volume abc", "a bad value leaves the default", [](const simsession& x) { return x.sound_volume == 0.6f; }},
      {"sound_volume nan", "no number that is not finite", [](const simsession& x) { return x.sound_volume == 0.6f; }},
      {"smoke_particles 99999999999", "no int out of range", [](const simsession& x) { return x.smoke_particles == 700; }},
      {"smoke_particles -12x", "a number's front", [](const simsession& x) { return x.smoke_particles == -12; }},
      {"units", "a missing value leaves the default", [](const simsession& x) { return x.units == sim::kUnitsMetric; }},
  };
  for (const row& r : rows) {
    ResetSimulatorState();
    sim::ReadSettingsLine(r.line, sim::MainSettings());
    EXPECT_TRUE(r.ok(s)) << r.check << ": " << r.line;
  }
}

TEST_F(SettingsTest, LaterLineWinsAndLongTextIsCut) {
  std::string longName(300, 'a');
  Write("config/main.mcf", "music 1\r\nmusic 2\nscenery " + longName + "\n");
  sim::LoadConfigFiles();
  EXPECT_EQ(s.music, 2);
  EXPECT_EQ(std::string(s.scenery), std::string(sim::kSettingStringChars - 1, 'a'));
}

// Hostile settings files: a byte-order mark, lone CRs, a NUL in an
// over-long line hiding a setting behind it, UTF-16.
TEST_F(SettingsTest, HostileFilesReadAsTheirLinesSayAndNoMore) {
  struct hostile {
    const char* what;
    std::string text;
    int music;          // what the file leaves
    const char* scenery;
  } files[] = {
      {"byte-order mark", "\xEF\xBB\xBFmusic 3\nscenery field\n", 3, "field"},
      {"lone CRs", "music 4\rscenery field\r", 4, "field"},
      {"NUL in a long line", "music 5" + std::string(1, '\0') + std::string(70000, 'x') + "\nscenery evil\nmusic 6\n", 6,
       "evil"},
      // The rest starts right after the buffer's 63999 characters.
      {"NUL hides the rest of its line", "music 7" + std::string(1, '\0') + std::string(63991, 'x') + "scenery evil\n",
       7, "winzeln"},
      {"UTF-16", std::string("\xFF\xFEm\0u\0s\0i\0c\0 \0" "9\0", 16), 0, "winzeln"},
  };
  for (const hostile& f : files) {
    ResetSimulatorState();
    Write("config/main.mcf", f.text);
    sim::LoadConfigFiles();
    EXPECT_EQ(s.music, f.music) << f.what;
    EXPECT_STREQ(s.scenery, f.scenery) << f.what;
  }
}

}  // namespace
