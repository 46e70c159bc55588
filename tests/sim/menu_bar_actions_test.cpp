#include <cmath>
#include <cstring>
#include <string>

#include "platform/null_window.h"
#include "sim/app_hooks.h"
#include "sim/menu_bar_actions.h"
#include "sim/player.h"
#include "sim/settings.h"
#include "sim/units.h"
#include "tests/sim/windows/menu_support.h"

namespace {

using sim::players;
using sim::session;

class MenuActionsTest : public menutest::menutest {
 protected:
  void TearDown() override {
    kxsystem::SetWindowBackend(nullptr);
    sim::SetHooks(sim::applicationhooks());
    players[0].next = nullptr;
    menutest::TearDown();
  }
};

TEST_F(MenuActionsTest, TogglesFlipTheirSettingBetweenZeroAndOne) {
  struct row {
    const char* command;
    int* variable;
  } rows[] = {
      {"ToogleTrees", &session.settings.show_trees},       {"ToogleTreeCollision", &session.settings.tree_collision},
      {"ToogleSmoke", &session.settings.show_smoke},       {"ToogleExhaust", &session.settings.show_exhaust},
      {"ToogleAircraftRefl", &session.settings.gl_aircraft_reflections},
      {"ToogleSunBlend", &session.settings.gl_sun_blend},  {"ToogleFog", &session.settings.gl_fog},
      {"ShowTips", &session.settings.show_tips},           {"InfoVelocity(0)", &players[0].hud.show_velocity},
      {"InfoHeight(0)", &players[0].hud.show_height}, {"InfoHeightMSL(0)", &players[0].hud.show_heightmsl},
      {"InfoHeading(0)", &players[0].hud.show_heading}, {"InfoRPM(0)", &players[0].hud.show_rpm},
      {"InfoFPS(0)", &players[0].hud.show_fps},       {"InfoOnOff(0)", &players[0].camera[0].on},
      {"CameraOnOff(0)", &players[0].camera[2].on}, {"TraceView(0)", &players[0].trace.view},
  };
  for (const row& r : rows) {
    *r.variable = 7;  // any value but 0 counts as on
    Run(r.command);
    EXPECT_EQ(*r.variable, 0) << r.command;
    Run(r.command);
    EXPECT_EQ(*r.variable, 1) << r.command;
  }
}

TEST_F(MenuActionsTest, VerticalSyncGoesToTheSwapInterval) {
  nullwindowbackend window;
  kxsystem::SetWindowBackend(&window);
  session.settings.use_vsync = 0;
  Run("ToogleVSYNC");
  EXPECT_EQ(session.settings.use_vsync, 1);
  EXPECT_EQ(window.swap_interval, 1);
  Run("ToogleVSYNC");
  EXPECT_EQ(window.swap_interval, 0);
}

TEST_F(MenuActionsTest, UnitsAndCloudsSetTheirCodes) {
  Run("UnitEnglish");
  EXPECT_EQ(session.settings.units, sim::kUnitsImperial);
  EXPECT_STREQ(units::Current().length.name.Text(), "in");
  Run("UnitMetric");
  EXPECT_EQ(session.settings.units, sim::kUnitsMetric);
  EXPECT_STREQ(units::Current().length.name.Text(), "cm");
  Run("SetCloudsNone");
  EXPECT_EQ(session.settings.cloud_type, sim::kCloudsNone);
  Run("SetCloudsRain");
  EXPECT_EQ(session.settings.cloud_type, sim::kCloudsRain);
  Run("SetCloudsNice");
  EXPECT_EQ(session.settings.cloud_type, sim::kCloudsFair);
}

TEST_F(MenuActionsTest, ViewCommandsSetTheModeAndTheSecondViewItsType) {
  const char* views[] = {"ViewFixed(0)",  "ViewFixedAZ(0)", "ViewFollow(0)", "ViewCockpit(0)",
                         "ViewCockpitInstruments(0)", "ViewRecordR(0)", "ViewRecordF(0)", "ViewRecordC(0)"};
  const sim::viewmode modes[] = {sim::kViewFixed,       sim::kViewFixedAutozoom,     sim::kViewFollow,
                                 sim::kViewCockpit,     sim::kViewCockpitInstruments, sim::kViewRecordFixed,
                                 sim::kViewRecordFollow, sim::kViewRecordCockpit};
  players[0].recording.present = 1;  // the recorded-flight views need a recording
  for (int i = 0; i < 8; ++i) {
    Run(views[i]);
    EXPECT_EQ(players[0].view_mode, modes[i]) << views[i];
  }
  simcamera& c = players[0].camera[2];
  Run("View2Wind(0)");
  EXPECT_EQ(c.type, sim::kCameraWind);
  Run("View2Fixed(0)");
  EXPECT_EQ(c.type, sim::kViewFixed);
  Run("View2Acft(0)");
  EXPECT_EQ(c.type, sim::kCameraAircraft);
  // The recorded-flight views need a recording.
  players[0].recording.present = 0;
  Run("View2RecordR(0)");
  Run("View2RecordF(0)");
  EXPECT_EQ(c.type, sim::kCameraAircraft);
  players[0].recording.present = 1;
  Run("View2RecordC(0)");
  EXPECT_EQ(c.type, sim::kViewRecordCockpit);
}

TEST_F(MenuActionsTest, FollowCamerasArePlacedBehindTheAircraftWithTheStoredFormula) {
  kxdflightstate state;
  state.frame.X = {0.6f, 0.8f, 0, 0};
  state.frame.R = {10, 20, 5, 1};
  state.velocity[0] = 3;
  state.velocity[1] = 4;
  players[0].flight_state = &state;
  simcamera& c = players[0].camera[2];
  c.accel[0] = 9;
  sim::View2Follow(0);
  EXPECT_EQ(c.type, sim::kViewFollow);
  EXPECT_FLOAT_EQ(c.position[0], 10 - 1.8f);
  EXPECT_FLOAT_EQ(c.position[1], 20 - 0.8f);
  EXPECT_FLOAT_EQ(c.position[2], 5.5f);
  EXPECT_FLOAT_EQ(c.velocity[1], 4);
  EXPECT_FLOAT_EQ(c.accel[0], 0);

  players[0].recording.present = 1;
  players[0].recording.pose.X = {1, 0, 0, 0};
  players[0].recording.pose.R = {-4, 2, 10, 1};
  sim::View2RecordF(0);
  EXPECT_EQ(c.type, sim::kViewRecordFollow);
  EXPECT_FLOAT_EQ(c.position[0], -7);
  EXPECT_FLOAT_EQ(c.position[1], 2);
  EXPECT_FLOAT_EQ(c.position[2], 11.5f);
  EXPECT_FLOAT_EQ(c.velocity[1], 0);
  players[0].flight_state = nullptr;
}

TEST_F(MenuActionsTest, TraceStartShowsTheTraceAndStopKeepsItShown) {
  simplayer& p = players[0];
  Run("TraceStart(0)");
  EXPECT_EQ(p.trace.on, 1);
  EXPECT_EQ(p.trace.view, 1);
  Run("TraceStop(0)");
  EXPECT_EQ(p.trace.on, 0);
  EXPECT_EQ(p.trace.view, 1);
  p.trace.index = 17;
  p.trace.time[599] = 3;
  p.trace.position[5][2] = 8;
  p.trace.speed[3] = 12;
  Run("TraceClear(0)");
  EXPECT_EQ(p.trace.index, 0);
  EXPECT_FLOAT_EQ(p.trace.time[599], -1.0f);
  EXPECT_FLOAT_EQ(p.trace.position[5][2], 0);
  EXPECT_FLOAT_EQ(p.trace.speed[3], 0);
}

TEST_F(MenuActionsTest, ARecordingOfTwoSecondsOrLessIsDroppedAtTheStop) {
  struct probe {
    float length;
    int present;
    float kept;
  } probes[] = {{2.0f, 0, 0}, {2.1f, 1, 2.1f}};
  simplayer& p = players[0];
  for (const probe& pr : probes) {
    p.recording.state = sim::kRecording;
    p.recording.header.length = pr.length;
    p.recording.frame = 40;
    p.record_store.write = p.record_store.positions + 90;
    Run("RecordFlightStop(0)");
    EXPECT_EQ(p.recording.state, sim::kRecordIdle);
    EXPECT_EQ(p.recording.present, pr.present);
    EXPECT_FLOAT_EQ(p.recording.header.length, pr.kept);
    EXPECT_EQ(p.recording.frame, 1);
    EXPECT_EQ(p.record_store.write, p.record_store.positions);
  }
  Run("RecordFlightPlay(0)");
  EXPECT_EQ(p.recording.state, sim::kRecordPlaying);
  Run("RecordFlightClear(0)");
  EXPECT_EQ(p.recording.state, sim::kRecordIdle);
  EXPECT_EQ(p.recording.present, 0);
  EXPECT_FLOAT_EQ(p.recording.header.length, 0);
  Run("RecordFlightPlay(0)");  // nothing to play
  EXPECT_EQ(p.recording.state, sim::kRecordIdle);
}

TEST_F(MenuActionsTest, RecordingTheSameAircraftLoadsNoCopyAndAFailedCopyLeavesTheRecordingIdle) {
  simplayer& p = players[0];
  std::strcpy(sim::TheWorld()->name, "testfield");
  std::strcpy(session.settings.aircraft0, "trainer");
  std::strcpy(p.recording.header.aircraft, "trainer");
  p.recording.header.bbmin[0] = -3;
  p.recording.present = 1;
  Run("RecordFlightOn(0)");
  EXPECT_EQ(p.recording.state, sim::kRecording);
  EXPECT_EQ(p.recording.present, 0);
  EXPECT_EQ(p.recording.frame, 0);
  EXPECT_STREQ(p.recording.header.scenery, "testfield");
  EXPECT_FLOAT_EQ(p.recording.header.bbmin[0], -3);
  EXPECT_FALSE(Logged("loading aircraft copy"));

  std::strcpy(session.settings.aircraft0, "nosuchplane");
  Run("RecordFlightOn(0)");
  EXPECT_TRUE(Logged("sim:  loading aircraft copy nosuchplane=fail"));
  EXPECT_EQ(p.recording.state, sim::kRecordIdle);
  EXPECT_EQ(p.recording.present, 0);
  EXPECT_STREQ(p.recording.header.aircraft, "trainer");  // the next start tries again
  EXPECT_EQ(p.recording.instance, nullptr);
}

TEST_F(MenuActionsTest, TheRecordingBoxIsSquareAboutTheAircraft) {
  float min[3] = {-1, -4, -0.5f}, max[3] = {3, 2, 1.5f};
  sim::SquareRecordingBounds(min, max);
  EXPECT_FLOAT_EQ(min[0], -4);
  EXPECT_FLOAT_EQ(min[1], -4);
  EXPECT_FLOAT_EQ(max[0], 4);
  EXPECT_FLOAT_EQ(max[1], 4);
  EXPECT_FLOAT_EQ(min[2], -0.5f);
  EXPECT_FLOAT_EQ(max[2], 1.5f);
}

TEST_F(MenuActionsTest, ContestSelectionFollowsTheSceneryCount) {
  world* w = sim::TheWorld();
  struct probe {
    int count, chosen, selected;
  } probes[] = {{1, 5, 1}, {3, 5, 0}, {3, 2, 2}, {3, 0, 0}, {0, 1, 0}};
  for (const probe& p : probes) {
    w->contest_count = p.count;
    session.run.selected_contest = 9;
    sim::ContestSelect(p.chosen);
    EXPECT_EQ(session.run.selected_contest, p.selected) << p.count << " " << p.chosen;
  }
  session.run.current_contest = &w->contests[0];
  Run("ContestSelect(0)");
  EXPECT_EQ(session.run.current_contest, nullptr);
  w->contest_count = 2;
  session.run.selected_contest = 3;
  Run("ContestStart");
  EXPECT_EQ(session.run.selected_contest, 0);
}

TEST_F(MenuActionsTest, TowStartWithoutBothHooksChangesNothing) {
  world* w = sim::TheWorld();
  session.run.current_contest = &w->contests[0];
  Run("FSchleppStart");
  EXPECT_EQ(session.run.current_contest, &w->contests[0]);
  EXPECT_EQ(session.run.rope, nullptr);
  Run("FSchleppDetach");  // no rope: nothing
  EXPECT_EQ(session.run.rope, nullptr);
}

TEST_F(MenuActionsTest, TheTowedAircraftLinesUpOneRopeLengthBehind) {
  world& w = *sim::TheWorld();  // far too large for the stack
  w.start_count = 1;
  w.start_heading[0] = 90;
  w.start_aircraft[0][0] = 10;
  w.start_aircraft[0][1] = 20;
  w.start_aircraft[0][2] = 1;
  kxmatrix frames[2];
  sim::TowLineUp(w, 20, 0, frames);
  // Heading 90: X points along -y; the towed second aircraft stands 20 m back along +y.
  EXPECT_NEAR(frames[0].X.y, -1, 1e-6);
  EXPECT_NEAR(frames[0].Y.x, 1, 1e-6);
  EXPECT_NEAR(frames[0].R.x, 10, 1e-5);
  EXPECT_NEAR(frames[1].R.x, 10, 1e-5);
  EXPECT_NEAR(frames[1].R.y, 40, 1e-5);
  EXPECT_FLOAT_EQ(frames[1].R.z, 1);
  sim::TowLineUp(w, 20, 1, frames);
  EXPECT_NEAR(frames[0].R.y, 40, 1e-5);
  EXPECT_NEAR(frames[1].R.y, 20, 1e-5);
}

TEST_F(MenuActionsTest, ChangedSettingsReachTheFilesWhenTheSimulationIsLeft) {
  Write("config/.keep", "");
  Run("SetCloudsRain");
  Run("ViewFollow(0)");
  Run("ToogleFog");
  players[0].camera[2].position[0] = 12.5f;
  sim::SaveConfigFiles();
  std::string main = Read("config/main.mcf"), player = Read("config/player1.mcf");
  EXPECT_NE(main.find("cloud_type  82\n"), std::string::npos) << main;
  EXPECT_NE(main.find("gl_fog  1\n"), std::string::npos);
  EXPECT_NE(player.find("view_mode  52\n"), std::string::npos) << player;
  EXPECT_NE(player.find("camera2_position  12.50000 "), std::string::npos);
}

}  // namespace
