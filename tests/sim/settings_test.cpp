#include "sim/settings.h"

#include <unistd.h>

#include <cstring>
#include <filesystem>

#include "dynamics/air_model.h"
#include "graphics/texture_table.h"
#include "platform/files.h"
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
  void TearDown() override {
    kxsystem::SetDataFolder(nullptr);
    simtest::TearDown();
  }
  sessionsettings& s = sim::session.settings;
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
  // Every line written names its setting, an empty text's too.
  sim::LoadConfigFiles();
  EXPECT_FALSE(inputtest::Logged("is no setting"));
}

// The main table's rows that bind the session bind its settings record, and
// a fresh record holds the table's numbers: a session reset by value and a
// reset through the table agree (the text defaults are the table's alone).
TEST_F(SettingsTest, MainTableBindsTheSettingsRecordWithItsDefaults) {
  const char* first = reinterpret_cast<const char*>(&sim::session);
  const char* settings = reinterpret_cast<const char*>(&sim::session.settings);
  const sessionsettings fresh;
  int bound = 0;
  for (const settingsrow* row = sim::MainSettings(); row->type != settingsrow::kEnd; ++row) {
    const char* at = static_cast<const char*>(row->variable);
    if (at < first || at >= first + sizeof sim::session) continue;
    ASSERT_TRUE(at >= settings && at < settings + sizeof fresh) << row->key;
    ++bound;
    const char* same = reinterpret_cast<const char*>(&fresh) + (at - settings);
    if (row->type == settingsrow::kInt) {
      EXPECT_EQ(*reinterpret_cast<const int*>(same), static_cast<int>(row->default_number)) << row->key;
    }
    if (row->type == settingsrow::kFloat) {
      EXPECT_EQ(*reinterpret_cast<const float*>(same), row->default_number) << row->key;
    }
  }
  EXPECT_GT(bound, 0);
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
  sim::players[1].hud.show_fps = 0;
  sim::SaveConfigFiles();
  ResetSimulatorState();
  sim::LoadConfigFiles();
  EXPECT_FLOAT_EQ(s.sound_volume, 0.12346f);
  EXPECT_STREQ(s.aircraft1, "trainer");
  EXPECT_FLOAT_EQ(kxdynamics::Environment().wind_speed, 7.25f);
  EXPECT_FLOAT_EQ(s.fog_color[2], 0.25f);
  EXPECT_FLOAT_EQ(sim::players[0].fov_follow, 0.3f);
  EXPECT_FLOAT_EQ(sim::players[1].camera[2].position[1], -12.5f);
  EXPECT_EQ(sim::players[1].hud.show_fps, 0);
}

// Named codes cross to the file as their numbers and back, and a number
// that names no code of today is kept as it stands, as the int fields did.
TEST_F(SettingsTest, CodeRowsKeepTheFilesNumberWhateverItNames) {
  Write("config/main.mcf", "game_type 12\ncloud_type 7\nunits 2\n");
  Write("config/player1.mcf", "view_mode 99\ncamera0_type 52\ncamera2_type 62\n");
  sim::LoadConfigFiles();
  EXPECT_EQ(s.game_type, sim::kGameSplitSide);
  EXPECT_EQ(s.cloud_type, static_cast<sim::cloudtype>(7));
  EXPECT_EQ(s.units, sim::kUnitsImperial);
  const simplayer& p = sim::players[0];
  EXPECT_EQ(p.view_mode, static_cast<sim::viewmode>(99));
  EXPECT_EQ(p.camera[0].type, sim::kViewFollow);
  EXPECT_EQ(p.camera[1].type, sim::kCameraContest);  // the default
  EXPECT_EQ(p.camera[2].type, sim::kCameraWind);
  EXPECT_EQ(sim::players[1].camera[2].type, sim::kCameraAircraft);  // player 2 without a file
  sim::SaveConfigFiles();
  const std::string main = Read("config/main.mcf"), player = Read("config/player1.mcf");
  for (const char* line : {"game_type  12\n", "cloud_type  7\n", "units  2\n"})
    EXPECT_NE(main.find(line), std::string::npos) << line;
  for (const char* line : {"view_mode  99\n", "camera0_type  52\n", "camera1_type  63\n", "camera2_type  62\n"})
    EXPECT_NE(player.find(line), std::string::npos) << line;
}

// Each line is read into fresh defaults; the checks name what it must leave.
TEST_F(SettingsTest, LinesParseAsTheFileRulesSay) {
  struct row {
    const char* line;
    const char* check;
    bool (*ok)(const sessionsettings&);
  } rows[] = {
      {"WINDOW_WIDTH 800", "keys ignore case",
       [](const sessionsettings&) { return kxsystem::display.window_width == 800; }},
      {"window_width800", "the blank belongs to the key",
       [](const sessionsettings&) { return kxsystem::display.window_width == 640; }},
      {"fog_color 0.1", "one value sets red only",
       [](const sessionsettings& x) { return x.fog_color[0] == 0.1f && x.fog_color[1] == 0.6f && x.fog_color[2] == 0.6f; }},
      {"fog_color    0.1   0.2 0.3 junk", "blanks and garbage",
       [](const sessionsettings& x) { return x.fog_color[0] == 0.1f && x.fog_color[1] == 0.2f && x.fog_color[2] == 0.3f; }},
      {"scenery two words", "a string is one word", [](const sessionsettings& x) { return !std::strcmp(x.scenery, "two"); }},
      {"scenery\tfield", "a tab is a blank", [](const sessionsettings& x) { return !std::strcmp(x.scenery, "field"); }},
      {"sound_volume abc", "a bad value leaves the default", [](const sessionsettings& x) { return x.sound_volume == 0.6f; }},
      {"sound_volume nan", "no number that is not finite", [](const sessionsettings& x) { return x.sound_volume == 0.6f; }},
      {"smoke_particles 99999999999", "no int out of range", [](const sessionsettings& x) { return x.smoke_particles == 700; }},
      {"music_title -12x", "a number's front", [](const sessionsettings& x) { return x.music_title == -12; }},
      {"units", "a missing value leaves the default", [](const sessionsettings& x) { return x.units == sim::kUnitsMetric; }},
      {"   window_width 800", "blanks before the key",
       [](const sessionsettings&) { return kxsystem::display.window_width == 800; }},
      {"\t \tscenery field", "tabs before the key", [](const sessionsettings& x) { return !std::strcmp(x.scenery, "field"); }},
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
// over-long line hiding a setting behind it, UTF-16, lines that name no
// setting (said, as the next write drops them; blank lines are not).
TEST_F(SettingsTest, HostileFilesReadAsTheirLinesSayAndNoMore) {
  struct hostile {
    const char* what;
    std::string text;
    int music;          // what the file leaves
    const char* scenery;
    const char* said;   // the lines logged of those that name no setting; null: none
  } files[] = {
      {"byte-order mark", "\xEF\xBB\xBFmusic 3\nscenery field\n", 3, "field", nullptr},
      {"lone CRs", "music 4\rscenery field\r", 4, "field", nullptr},
      {"NUL in a long line", "music 5" + std::string(1, '\0') + std::string(70000, 'x') + "\nscenery evil\nmusic 6\n", 6,
       "evil", nullptr},
      // The rest starts right after the buffer's 63999 characters.
      {"NUL hides the rest of its line", "music 7" + std::string(1, '\0') + std::string(63991, 'x') + "scenery evil\n",
       7, "winzeln", nullptr},
      {"UTF-16", std::string("\xFF\xFEm\0u\0s\0i\0c\0 \0" "9\0", 16), 0, "winzeln", nullptr},
      {"a comment and an unknown key", "# flown at dusk\nmusic 8\n\n \t\nwind_gust 4\nscenery field\n", 8, "field",
       "sim:  config/main.mcf: line 1 \"# flown at dusk\" is no setting; it is not kept when the settings are written "
       "again\nsim:  config/main.mcf: line 5 \"wind_gust 4\" is no setting; it is not kept when the settings are "
       "written again\nloading configfile config/main.mcf=ok\n"},
  };
  for (const hostile& f : files) {
    ResetSimulatorState();
    Write("config/main.mcf", f.text);
    sim::LoadConfigFiles();
    EXPECT_EQ(s.music, f.music) << f.what;
    EXPECT_STREQ(s.scenery, f.scenery) << f.what;
    EXPECT_EQ(inputtest::Logged(f.said ? f.said : "is no setting"), f.said != nullptr) << f.what;
  }
}

// A file that is there but gives no setting is the user's: it is moved
// aside, the defaults are used and saved as a new file, and the user is told.
TEST_F(SettingsTest, UnreadableFileIsMovedAsideNotOverwritten) {
  struct unreadable {
    const char* what;
    std::string bytes;  // empty: made by make
    void (*make)(const std::string& path);
    const char* logged;
  } files[] = {
      {"UTF-16", std::string("\xFF\xFEw\0i\0n\0d\0o\0w\0_\0w\0i\0d\0t\0h\0 \0" "9\0", 30), nullptr,
       "(no setting in it) moved"},
      {"binary", std::string("\x7F" "ELF\x02\x01\x01\0\0\0\0\0\0\0\0\0\x03\0>\0", 20), nullptr,
       "(no setting in it) moved"},
      {"comments only", "# window 1024 x 768\n", nullptr, "(no setting in it) moved"},
      {"a folder", "", [](const std::string& p) { std::filesystem::create_directory(p); }, "(a folder) moved"},
      // A link to nothing is there and cannot be read, for every user.
      {"a link to nothing", "", [](const std::string& p) { std::filesystem::create_symlink("nowhere.mcf", p); },
       "not readable (No such file or directory)"},
  };
  for (const unreadable& f : files) {
    SCOPED_TRACE(f.what);
    ResetSimulatorState();
    std::filesystem::remove_all(temp_->Path("config"));
    Write("config/.keep", "");
    if (f.make) f.make(temp_->Path("config/main.mcf"));
    else Write("config/main.mcf", f.bytes);
    const auto kind = std::filesystem::symlink_status(temp_->Path("config/main.mcf")).type();
    sim::LoadConfigFiles();
    EXPECT_EQ(kxsystem::display.window_width, 640);
    EXPECT_TRUE(inputtest::Logged("loading configfile config/main.mcf=fail"));
    EXPECT_TRUE(inputtest::Logged(f.logged));
    EXPECT_TRUE(inputtest::Logged("sim:  config/main.mcf ("));
    EXPECT_TRUE(inputtest::Logged("moved to config/main.mcf.bad; default settings used"));
    EXPECT_NE(sim::TakeNotice().find("config/main.mcf.bad"), std::string::npos);
    sim::SaveConfigFiles();
    EXPECT_EQ(std::filesystem::symlink_status(temp_->Path("config/main.mcf.bad")).type(), kind);
    if (!f.make) {
      EXPECT_EQ(Read("config/main.mcf.bad"), f.bytes);
    }
    EXPECT_EQ(Read("config/main.mcf"), Fixture("main.mcf"));
  }
}

TEST_F(SettingsTest, UnreadableFileIsKeptAndNotSavedOverWhenItsBadNameIsTaken) {
  const std::string utf16("\xFF\xFEm\0u\0s\0i\0c\0", 12);
  Write("config/player1.mcf", utf16);
  Write("config/player1.mcf.bad", "view_mode 53\n");
  sim::LoadConfigFiles();
  EXPECT_TRUE(inputtest::Logged("kxsystem:  config/player1.mcf: UTF-16 text, not read"));
  EXPECT_TRUE(inputtest::Logged("sim:  config/player1.mcf (no setting in it) kept"));
  EXPECT_NE(sim::TakeNotice().find("left as it is"), std::string::npos);
  sim::SaveConfigFiles();
  EXPECT_TRUE(inputtest::Logged("saving player configfile config/player1.mcf=fail"));
  EXPECT_EQ(Read("config/player1.mcf"), utf16);
  EXPECT_EQ(Read("config/player1.mcf.bad"), "view_mode 53\n");
  EXPECT_EQ(Read("config/main.mcf"), Fixture("main.mcf"));
  // The next run that reads it well writes it again.
  Write("config/player1.mcf", "view_mode 53\n");
  sim::LoadConfigFiles();
  sim::SaveConfigFiles();
  EXPECT_EQ(Read("config/player1.mcf").rfind("view_mode  53\n", 0), 0u);
}

// A settings file linked to another in the data folder is read through
// the link and written through it, so the link stays; one linked out of
// the folder is neither read nor moved nor written over, and the user is
// told. A killed save's temporary goes at the start.
TEST_F(SettingsTest, LinkedFileIsWrittenThroughAndOneOutOfTheDataFolderIsLeftAlone) {
  namespace fs = std::filesystem;
  kxtest::tempdir outside;
  const std::string theirs = outside.Write("theirs.mcf", "view_mode 53\n");
  Write("config/mine.mcf", "  music 1\n");
  Write("config/mine.mcf.tmp", "half");
  fs::create_symlink("mine.mcf", temp_->Path("config/main.mcf"));
  fs::create_symlink(theirs, temp_->Path("config/player1.mcf"));
  kxsystem::SetDataFolder(dir_.c_str());
  sim::LoadConfigFiles();
  EXPECT_EQ(s.music, 1);
  EXPECT_EQ(sim::players[0].view_mode, sim::kViewFixed);
  EXPECT_EQ(Read("config/mine.mcf.tmp"), "<missing>");
  EXPECT_TRUE(inputtest::Logged(("kxsystem:  " + temp_->Path("config/mine.mcf.tmp") + ": left by a write").c_str()));
  EXPECT_TRUE(inputtest::Logged("sim:  config/player1.mcf (leads outside the data folder) kept"));
  EXPECT_NE(sim::TakeNotice().find("config/player1.mcf could not be read (leads outside the data folder)"),
            std::string::npos);
  sim::SaveConfigFiles();
  kxsystem::SetDataFolder(nullptr);
  EXPECT_TRUE(fs::is_symlink(temp_->Path("config/main.mcf")));
  EXPECT_NE(Read("config/mine.mcf").find("music  1\n"), std::string::npos);
  EXPECT_TRUE(fs::is_symlink(temp_->Path("config/player1.mcf")));
  EXPECT_FALSE(fs::exists(fs::symlink_status(temp_->Path("config/player1.mcf.bad"))));
  EXPECT_EQ(outside.Read("theirs.mcf"), "view_mode 53\n");
  EXPECT_TRUE(inputtest::Logged("saving player configfile config/player1.mcf=fail"));
}

TEST_F(SettingsTest, FileWithoutReadPermissionIsMovedAside) {
  if (::geteuid() == 0) GTEST_SKIP() << "every file is readable to the superuser";
  Write("config/main.mcf", "window_width 1024\n");
  std::filesystem::permissions(temp_->Path("config/main.mcf"), std::filesystem::perms::none);
  sim::LoadConfigFiles();
  EXPECT_TRUE(inputtest::Logged("not readable ("));
  sim::SaveConfigFiles();
  EXPECT_EQ(std::filesystem::status(temp_->Path("config/main.mcf.bad")).permissions(), std::filesystem::perms::none);
}

// Values that the code using them could not take are held in the row's
// range with a log line; the table names what each must leave.
TEST_F(SettingsTest, ValuesOutsideTheirRangesAreHeldAtTheNearerEnd) {
  Write("config/main.mcf",
        "tree_density 1e9\nsimulation_speed 0.01\nsmoke_particles 2147483647\ncontest_balloonpop_time 2147483647\n"
        "usb_pulse_mul 2147483647\ngl_shadow_texture_size -5\nfog_density 7\nwind_speed nan\n"
        "wind_direction 3.4e39\ncontest_pylon_rounds 99999999999\n");
  Write("config/player1.mcf",
        "camera0_x 2147483647\ncamera2_width -2147483648\nfov_fixed 0\nfov_follow 10\ncamera2_fov nan\n");
  sim::LoadConfigFiles();
  EXPECT_FLOAT_EQ(s.tree_density, 1.0f);
  EXPECT_FLOAT_EQ(s.simulation_speed, 0.3f);
  EXPECT_EQ(s.smoke_particles, simplayer::kSmokePool);
  EXPECT_EQ(s.contest_balloonpop_time, 600);
  EXPECT_EQ(usbinterface::settings.pulse_mul, 100);
  EXPECT_EQ(s.gl_shadow_texture_size, 16);
  EXPECT_FLOAT_EQ(s.fog_density, 0.1f);
  const simplayer& p = sim::players[0];
  EXPECT_EQ(p.camera[0].x, 16384);
  EXPECT_EQ(p.camera[2].width, 1);
  EXPECT_FLOAT_EQ(p.fov_fixed, 0.01f);
  EXPECT_FLOAT_EQ(p.fov_follow, 3.13f);
  EXPECT_FLOAT_EQ(p.camera[2].fov, 0.3f);
  EXPECT_TRUE(inputtest::Logged("sim:  setting tree_density 1e+09 outside 0..1; 1 taken"));
  EXPECT_TRUE(inputtest::Logged("sim:  setting camera2_width -2147483648 outside 1..16384; 1 taken"));
  // A value that gives no number is said as well, with what is kept.
  EXPECT_FLOAT_EQ(kxdynamics::Environment().wind_speed, 0.0f);
  EXPECT_EQ(s.contest_pylon_rounds, 3);
  EXPECT_TRUE(inputtest::Logged("sim:  setting wind_speed nan not a finite number; 0 kept"));
  EXPECT_TRUE(inputtest::Logged("sim:  setting wind_direction 3.4e39 not a finite number; 270 kept"));
  EXPECT_TRUE(inputtest::Logged("sim:  setting contest_pylon_rounds 99999999999 not a whole number in range; 3 kept"));
  EXPECT_TRUE(inputtest::Logged("sim:  setting camera2_fov nan not a finite number; 0.3 kept"));
  // In range, nothing is said.
  EXPECT_FALSE(inputtest::Logged("setting window_width"));
}

TEST_F(SettingsTest, WindowSizeIsReadIntoTheDisplaysModes) {
  kxsystem::display.modes = {{640, 480, 32, 60}, {1280, 1024, 32, 60}, {800, 600, 32, 60}};
  Write("config/main.mcf", "window_width 100000\nwindow_height -2\n");
  sim::LoadConfigFiles();
  kxsystem::display.modes.clear();
  EXPECT_EQ(kxsystem::display.window_width, 1280);
  EXPECT_EQ(kxsystem::display.window_height, 480);
  EXPECT_TRUE(inputtest::Logged("window size 100000x-2 does not fit the display's 1280x1024; 1280x480 taken"));
}

}  // namespace
