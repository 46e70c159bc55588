#include "sim/keys.h"

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "core/function.h"
#include "platform/codes.h"
#include "platform/events.h"
#include "sim/app_hooks.h"
#include "sim/modes.h"
#include "sim/placement.h"
#include "sim/vec3.h"
#include "sim/views/shadow_prep.h"
#include "flight_support.h"

namespace {

using ::simtest::kGround;

// The commands the keys run by name, recorded as "Name(index)".
std::vector<std::string>& Ran() {
  static std::vector<std::string> ran;
  return ran;
}

#define KX_FAKE_COMMAND(name) kxfunction::Register(#name, +[](int i) { Ran().push_back(#name "(" + std::to_string(i) + ")"); })

class KeysTest : public simtest::flighttest {
 protected:
  void SetUp() override {
    flighttest::SetUp();
    Ran().clear();
    input::pointer = kxpointer();
    KX_FAKE_COMMAND(RecordFlightOn);
    KX_FAKE_COMMAND(RecordFlightStop);
    KX_FAKE_COMMAND(RecordFlightPlay);
    KX_FAKE_COMMAND(ViewFixed);
    KX_FAKE_COMMAND(ViewFixedAZ);
    KX_FAKE_COMMAND(ViewFollow);
    KX_FAKE_COMMAND(ViewCockpit);
    KX_FAKE_COMMAND(ViewCockpitInstruments);
    KX_FAKE_COMMAND(View2Follow);
    KX_FAKE_COMMAND(InfoOnOff);
    KX_FAKE_COMMAND(CameraOnOff);
    KX_FAKE_COMMAND(TraceStart);
    KX_FAKE_COMMAND(TraceStop);
    KX_FAKE_COMMAND(TraceView);
    KX_FAKE_COMMAND(TraceClear);
    KX_FAKE_COMMAND(FSchleppStart);
    for (simplayer& p : sim::players) {
      p.flight_state = &states[sim::PlayerIndex(&p)];
      p.fov_choice = simplayer::kFovFixed;
    }
    sim::players[0].next = &sim::players[1];
    sim::session.run.player_count = 2;
  }
  void TearDown() override {
    input::pointer = kxpointer();
    sim::SetHooks(sim::applicationhooks());
    flighttest::TearDown();
  }
  std::string Last() const { return Ran().empty() ? "" : Ran().back(); }
  kxdflightstate states[2];
};

TEST_F(KeysTest, CommandKeysRunTheirCommandForThePressingPlayer) {
  struct probe {
    int key;
    const char* command;
  } probes[] = {
      {'c', "TraceClear"},    {'F', "FSchleppStart"},  {'r', "RecordFlightOn"}, {'t', "TraceStart"},
      {kxcode::kKeyF1 + 4, "ViewFixed"}, {kxcode::kKeyF1 + 5, "ViewFixedAZ"}, {kxcode::kKeyF1 + 6, "ViewFollow"},
      {kxcode::kKeyF1 + 7, "ViewCockpit"}, {kxcode::kKeyF1 + 8, "InfoOnOff"}, {kxcode::kKeyF1 + 9, "CameraOnOff"},
  };
  for (int player : {0, 1}) {
    for (const probe& c : probes) {
      sim::OnKey(c.key, player ? kxcode::kModCtrl : 0);
      EXPECT_EQ(Last(), std::string(c.command) + "(" + std::to_string(player) + ")") << c.key;
    }
  }
}

TEST_F(KeysTest, StateDependentCommandsFollowTheirState) {
  simplayer& a = sim::players[0];
  simplayer& b = sim::players[1];
  b.recording.state = sim::kRecording;
  sim::OnKey('R', kxcode::kModCtrl);  // player 1's state decides
  EXPECT_EQ(Last(), "RecordFlightOn(1)");
  a.recording.state = sim::kRecording;
  sim::OnKey('R', 0);
  EXPECT_EQ(Last(), "RecordFlightStop(0)");
  Ran().clear();
  a.recording.state = sim::kRecordIdle;
  sim::OnKey('W', 0);  // nothing recorded
  EXPECT_TRUE(Ran().empty());
  a.recording.present = 1;
  sim::OnKey('W', 0);
  EXPECT_EQ(Last(), "RecordFlightPlay(0)");
  a.recording.state = sim::kRecordPlaying;
  sim::OnKey('W', kxcode::kModCtrl);
  EXPECT_EQ(Last(), "RecordFlightStop(1)");
  a.trace.on = 1;
  a.trace.view = 1;
  sim::OnKey('T', 0);
  EXPECT_EQ(Last(), "TraceStop(0)");
  a.trace.view = 0;
  sim::OnKey('T', 0);
  EXPECT_EQ(Last(), "TraceView(0)");
  a.view_mode = sim::kViewCockpit;
  sim::OnKey(kxcode::kKeyF1 + 7, 0);
  EXPECT_EQ(Last(), "ViewCockpitInstruments(0)");
}

TEST_F(KeysTest, FieldKeysChangeTheirFieldsWithinLimits) {
  simplayer& b = sim::players[1];
  b.fov_fixed = 0.995f;
  sim::OnKey('A', kxcode::kModCtrl);
  EXPECT_EQ(b.fov_fixed, 1.0f);
  b.fov_fixed = 0.005f;
  sim::OnKey('y', kxcode::kModCtrl);
  EXPECT_EQ(b.fov_fixed, 0.0f);
  b.fov_fixed = 0.5f;
  sim::OnKey('Z', kxcode::kModCtrl);
  EXPECT_FLOAT_EQ(b.fov_fixed, 0.49f);
  EXPECT_EQ(sim::players[0].fov_fixed, 0.55f);  // player 1 untouched
  sim::OnKey(kxcode::kKeyF1 + 10, 0);
  EXPECT_EQ(sim::session.run.screenshot_request, 1);
}

TEST_F(KeysTest, PlusAndMinusResizeCameraTwoWithOrWithoutShift) {
  simcamera& c = sim::players[0].camera[2];
  c = {.on = 1, .type = sim::kCameraAircraft, .x = 100, .y = 100, .width = 200, .height = 150};
  sim::OnKey('+', kxcode::kModShift);
  EXPECT_EQ(c.width, 210);
  EXPECT_EQ(c.x, 90);
  sim::OnKey('-', 0);
  sim::OnKey('-', 0);
  EXPECT_EQ(c.width, 190);
  EXPECT_EQ(c.y, 110);
  c.width = 120;
  sim::OnKey('-', 0);
  EXPECT_EQ(c.width, 120);  // 120 wide or narrower: no smaller
  c.width = 800 / 3;
  sim::OnKey('+', 0);
  EXPECT_EQ(c.width, 800 / 3);  // a third of the view: no larger
}

TEST_F(KeysTest, SplitScreenCyclesOnlyWithTwoPlayers) {
  sim::session.settings.game_type = sim::kGameSingle;
  const struct {
    sim::gametype type;
    int width, height;
  } expected[] = {{sim::kGameSplitAbove, 800, 300}, {sim::kGameSplitSide, 400, 600}, {sim::kGameSingle, 800, 600}};
  for (const auto& e : expected) {
    sim::OnKey('S', 0);
    EXPECT_EQ(sim::session.settings.game_type, e.type);
    EXPECT_EQ(sim::session.run.viewport_width, e.width);
    EXPECT_EQ(sim::session.run.viewport_height, e.height);
  }
  sim::session.run.player_count = 1;
  sim::OnKey('S', 0);
  EXPECT_EQ(sim::session.settings.game_type, sim::kGameSingle);
}

TEST_F(KeysTest, PauseSoundAndMusicToggleWithStatusTexts) {
  sim::OnKey('P', 0);
  EXPECT_EQ(sim::session.run.pause, 1);
  EXPECT_STREQ(sim::session.run.status_text, "Pause on");
  EXPECT_EQ(sim::session.run.status_time, 3.0f);
  sim::OnKey('p', 0);
  EXPECT_EQ(sim::session.run.pause, 0);
  EXPECT_STREQ(sim::session.run.status_text, "Pause off");
  sim::session.settings.sound = 1;
  sim::OnKey('Q', 0);
  EXPECT_EQ(sim::session.settings.sound, 0);
  EXPECT_EQ(kxdsound::Enabled(), 0);
  EXPECT_STREQ(sim::session.run.status_text, "no soundcard found");  // the tests run without a device
  EXPECT_EQ(sim::session.run.status_time, 2.0f);
  sim::OnKey('M', 0);
  EXPECT_STREQ(sim::session.run.status_text, "Music off");
  sim::OnKey('M', 0);
  EXPECT_STREQ(sim::session.run.status_text, "Music on");
}

TEST_F(KeysTest, ModeKeysLeaveOrOpenHelp) {
  static int designer;
  designer = 0;
  sim::applicationhooks hooks;
  hooks.designer_open = [](sim::designerreturn) { ++designer; };
  sim::SetHooks(hooks);
  Write("config/.keep", "");
  sim::OnKey(kxcode::kKeyF1, 0);
  EXPECT_TRUE(log_.Contains("wndKeys/Open"));  // no window in the test: the failure names it
  sim::OnKey(kxcode::kKeyF1, kxcode::kModShift);
  EXPECT_EQ(sim::session.settings.show_log, 1);
  sim::OnKey(kxcode::kKeyF1 + 1, 0);
  EXPECT_EQ(designer, 1);
  sim::OnKey(kxcode::kKeyEscape, 0);
  EXPECT_EQ(kxsystem::callbacks.pending, &sim::EnterMenuMode);
  EXPECT_NE(Read("config/main.mcf"), "<missing>");
}

TEST_F(KeysTest, ContestKeyStartsTheSelectedOrStopsTheCurrentOne) {
  contestrec& c = sim::TheWorld()->contests[0];
  c.running = 1;
  sim::session.run.current_contest = &c;
  sim::session.run.selected_contest = 0;
  sim::OnKey(kxcode::kKeyReturn, 0);
  EXPECT_EQ(c.running, 0);
}

TEST_F(KeysTest, KeysOfAPlayerWithoutAircraftAreIgnored) {
  sim::players[1].flight_state = nullptr;
  sim::OnKey('C', kxcode::kModCtrl);
  EXPECT_TRUE(Ran().empty());
}

TEST_F(KeysTest, ViewerKeysByViewMode) {
  simplayer& p = sim::players[0];
  sim::vec3::Set(p.viewer_target, 0.0f, 0.0f, kGround);
  sim::vec3::Set(p.viewer_position(), 150.0f, 0.0f, kGround + 3.0f);
  p.view_mode = sim::kViewFixed;
  sim::OnKey(kxcode::kKeyUp, 0);
  EXPECT_NEAR(p.viewer_position()[0], 140.0f, 1e-3f);
  sim::OnKey(kxcode::kKeyPageUp, 0);
  EXPECT_NEAR(p.viewer_position()[2], kGround + 3.0f + 2.0f / 5.0f * 3.0f / 2.0f, 1.0f);  // a fifth of 3 m
  p.view_mode = sim::kViewFollow;
  p.follow_time_distance = 0.98f;
  sim::OnKey(kxcode::kKeyUp, 0);
  EXPECT_EQ(p.follow_time_distance, 1.0f);
  p.follow_height = 2.9f;
  sim::OnKey(kxcode::kKeyPageUp, 0);
  sim::OnKey(kxcode::kKeyPageUp, 0);
  EXPECT_NEAR(p.follow_height, 3.1f, 1e-5f);  // stops adding at 3
  p.view_mode = sim::kViewCockpit;
  p.cockpit_height = 1.9f;
  sim::OnKey(kxcode::kKeyPageUp, 0);
  sim::OnKey(kxcode::kKeyPageUp, 0);
  EXPECT_NEAR(p.cockpit_height, 2.1f, 1e-5f);
  // Left turns in every mode: the viewer goes clockwise round the target.
  const float step = 1.5f * 3.14159265f / 180.0f;
  sim::OnKey(kxcode::kKeyLeft, 0);
  EXPECT_NEAR(std::atan2(p.viewer_position()[1], p.viewer_position()[0]), -step, 1e-4f);
  sim::TheWorld()->photo = 1;
  sim::OnKey(kxcode::kKeyLeft, 0);
  EXPECT_NEAR(std::atan2(p.viewer_position()[1], p.viewer_position()[0]), -step, 1e-4f);
  sim::TheWorld()->photo = 0;
}

TEST_F(KeysTest, ShiftTableSetsCameraTwo) {
  simcamera& c = sim::players[1].camera[2];
  c.type = sim::kCameraFlightInfo;
  const struct {
    int key;
    sim::cameraview type;
  } types[] = {{kxcode::kKeyF1 + 4, sim::kCameraAircraft}, {kxcode::kKeyF1 + 5, sim::kViewFixed},
               {kxcode::kKeyF1 + 7, sim::kCameraWind}};
  for (const auto& t : types) {
    sim::OnKey(t.key, kxcode::kModShift | kxcode::kModCtrl);
    EXPECT_EQ(c.type, t.type);
  }
  c.fov = 0.3f;
  sim::OnKey('a', kxcode::kModShift | kxcode::kModCtrl);
  EXPECT_FLOAT_EQ(c.fov, 0.31f);
  sim::OnKey('Y', kxcode::kModShift | kxcode::kModCtrl);
  EXPECT_FLOAT_EQ(c.fov, 0.3f);
  EXPECT_EQ(sim::players[0].camera[2].fov, 0.3f);
  // A fixed camera 2 moves about the player's aircraft.
  states[1].frame.R = {0.0f, 0.0f, kGround, 1.0f};
  c.type = sim::kViewFixed;
  sim::vec3::Set(c.position, 150.0f, 0.0f, kGround + 3.0f);
  sim::OnKey(kxcode::kKeyUp, kxcode::kModShift | kxcode::kModCtrl);
  EXPECT_NEAR(c.position[0], 140.0f, 1e-3f);
  sim::OnKey(kxcode::kKeyF1 + 6, kxcode::kModShift);
  EXPECT_EQ(Last(), "View2Follow(0)");
}

TEST_F(KeysTest, ShiftXPutsTheViewerBehindTheAircraft) {
  simplayer& p = sim::players[0];
  p.camera[2].type = sim::kViewFixed;
  states[0].frame.R = {10.0f, 0.0f, kGround + 0.2f, 1.0f};
  sim::OnKey('X', kxcode::kModShift);
  EXPECT_NEAR(p.viewer_position()[0], 10.0f - sim::session.settings.distance_viewer_aircraft, 1e-5f);
  EXPECT_NEAR(p.viewer_position()[2], kGround + 1.0f, 1e-5f);  // at least 1 m above the ground
  Ran().clear();
  p.camera[2].type = sim::kCameraAircraft;
  sim::vec3::Set(p.viewer_position(), 0.0f, 0.0f, 0.0f);
  sim::OnKey('X', kxcode::kModShift);
  EXPECT_EQ(p.viewer_position()[0], 0.0f);  // only with a fixed camera 2
}

TEST_F(KeysTest, SecondPlayersFollowCameraOnASharedScreenTakesTheSideOffsetOnce) {
  sim::session.settings.game_type = sim::kGameSingle;
  simplayer& a = sim::players[0];
  a.camera[2].type = sim::kViewFollow;
  const float r = std::sqrt(0.5f);
  states[1].frame.X = {r, r, 0.0f, 0.0f};
  states[1].frame.R = {10.0f, 20.0f, 5.0f, 1.0f};
  states[1].velocity[0] = 7.0f;
  sim::OnKey(kxcode::kKeyF1 + 6, kxcode::kModShift | kxcode::kModCtrl);
  EXPECT_EQ(Last(), "View2Follow(1)");
  EXPECT_NEAR(a.camera[2].position[0], 10.0f - 3.0f * r, 1e-5f);
  EXPECT_NEAR(a.camera[2].position[1], 20.0f - r, 1e-5f);
  EXPECT_NEAR(a.camera[2].position[2], 5.5f, 1e-5f);
  EXPECT_EQ(a.camera[2].velocity[0], 7.0f);
}

class KeysFlightTest : public simtest::flighttest {};

TEST_F(KeysFlightTest, LaunchKeysThrowTheAircraftBelowTheCeilingOnly) {
  simplayer* p = LoadSample("christeneagle", 0);
  ASSERT_NE(p, nullptr);
  sim::session.run.player_count = 1;
  sim::PlaceAtStart(0, p, 1);
  const kxdflightstate& s = *p->flight_state;
  const float z = s.position()[2];
  sim::OnKey('G', 0);
  EXPECT_NEAR(s.position()[2], z + 2.0f, 1e-4f);
  EXPECT_NEAR(s.velocity[0], 12.0f, 1e-4f);
  sim::OnKey('J', 0);
  EXPECT_NEAR(s.position()[2], z + 17.0f, 1e-4f);
  EXPECT_NEAR(s.row_x()[2], std::sin(15.0f * 3.14159265f / 180.0f), 1e-5f);  // nose up 15 degrees
  sim::TheWorld()->cloud_height = -190;  // launches end 10 m up
  sim::OnKey('H', 0);
  EXPECT_NEAR(s.position()[2], z + 17.0f, 1e-4f);  // 200 m above the clouds: no launch
}

TEST_F(KeysFlightTest, SpaceStepsToTheNextStartAndF3F4SaveAndRestore) {
  simplayer* p = LoadSample("christeneagle", 0);
  ASSERT_NE(p, nullptr);
  sim::session.run.player_count = 1;
  sim::TheWorld()->start_index = 0;
  sim::OnKey(' ', 0);
  EXPECT_EQ(sim::TheWorld()->start_index, 1);
  EXPECT_NEAR(p->flight_state->position()[0], 50.0f, 1e-4f);
  sim::OnKey(kxcode::kKeyF1 + 2, 0);
  EXPECT_STREQ(sim::session.run.status_text, "Position saved");
  sim::OnKey('B', 0);  // the same start again, aircraft only
  sim::OnKey('G', 0);
  sim::vec3::Set(p->viewer_position(), 1.0f, 2.0f, 3.0f);
  contestrec c{};
  sim::session.run.current_contest = &c;
  sim::OnKey(kxcode::kKeyF1 + 3, 0);
  EXPECT_NEAR(p->flight_state->position()[2], p->saved_frame.R.z, 1e-4f);
  EXPECT_EQ(p->flight_state->velocity[0], 0.0f);
  EXPECT_EQ(p->viewer_position()[0], 30.0f);  // start 1's viewer
  EXPECT_EQ(sim::session.run.current_contest, nullptr);
}

TEST_F(KeysFlightTest, ShiftDPutsTheAircraftBeforeTheViewer) {
  simplayer* p = LoadSample("christeneagle", 0);
  ASSERT_NE(p, nullptr);
  std::strcpy(sim::session.settings.aircraft0, "christeneagle");
  sim::PrepareAircraftGraphics(0);  // its lowest point
  sim::session.run.player_count = 1;
  sim::PlaceAtStart(0, p, 1);
  p->camera[2].type = sim::kViewFixed;
  sim::vec3::Set(p->viewer_position(), -20.0f, 0.0f, kGround + 30.0f);
  sim::OnKey('D', kxcode::kModShift);  // in the air: as pointed
  const kxdflightstate& s = *p->flight_state;
  EXPECT_NEAR(sim::vec3::Distance(s.position(), p->viewer_position()), 4.0f, 1e-3f);
  EXPECT_LT(s.row_x()[2], -0.5f);  // pointing down towards where it was
  sim::PlaceAtStart(0, p, 1);
  // Steeply down from just behind it: the point would lie in the ground, so
  // the aircraft is put level onto the ground there.
  sim::vec3::Set(p->viewer_position(), s.position()[0] - 0.5f, 0.0f, s.position()[2] + 2.0f);
  sim::OnKey('D', kxcode::kModShift);
  EXPECT_NEAR(s.row_x()[2], 0.0f, 1e-5f);
  EXPECT_NEAR(s.position()[2] + s.bounds_min[2], kGround, 1e-4f);
}

// ---- mouse

class MouseTest : public KeysTest {
 protected:
  void Pointer(int x, int y) {
    input::pointer.dx = x - input::pointer.x;
    input::pointer.dy = y - input::pointer.y;
    input::pointer.x = x;
    input::pointer.y = y;
  }
};

TEST_F(MouseTest, PanelsMoveResizeAndCloseWithinTheView) {
  simcamera& c = sim::players[0].camera[0];
  c = {.on = 1, .type = sim::kCameraFlightInfo, .x = 100, .y = 100, .width = 200, .height = 150};
  Pointer(150, 150);  // the panel's body: move
  sim::OnMouse(kxcode::kMouseLeftDown, 0);
  Pointer(1000, 180);
  sim::OnMouse(kxcode::kMouseMove, 0);
  EXPECT_EQ(c.x, 600);  // held inside the view
  EXPECT_EQ(c.y, 130);
  sim::OnMouse(kxcode::kMouseLeftUp, 0);
  Pointer(605, 135);  // lower left corner: resize
  sim::OnMouse(kxcode::kMouseLeftDown, 0);
  Pointer(570, 120);
  sim::OnMouse(kxcode::kMouseMove, 0);
  EXPECT_EQ(c.x, 565);
  EXPECT_EQ(c.width, 235);
  EXPECT_EQ(c.y, 115);
  EXPECT_EQ(c.height, 165);
  Pointer(720, 250);  // far right and up: never below 120 pixels
  sim::OnMouse(kxcode::kMouseMove, 0);
  EXPECT_EQ(c.width, 235);
  EXPECT_EQ(c.height, 165);
  sim::OnMouse(kxcode::kMouseLeftUp, 0);
  Pointer(c.x + c.width - 2, c.y + c.height - 2);  // the close box
  sim::OnMouse(kxcode::kMouseLeftDown, 0);
  sim::OnMouse(kxcode::kMouseLeftUp, 0);
  EXPECT_EQ(c.on, 0);
}

TEST_F(MouseTest, RightButtonTurnsPlayerOnesViewer) {
  simplayer& p = sim::players[0];
  sim::vec3::Set(p.viewer_row_x(), 1, 0, 0);
  sim::vec3::Set(p.viewer_row_y(), 0, 1, 0);
  sim::vec3::Set(p.viewer_row_z(), 0, 0, 1);
  sim::OnMouse(kxcode::kMouseRightDown, 0);
  Pointer(20, 0);  // 20 px to the right: 1 degree about the vertical
  sim::OnMouse(kxcode::kMouseMove, 0);
  EXPECT_EQ(sim::session.run.mouse_look, 1);
  EXPECT_NEAR(std::atan2(p.viewer_row_x()[1], p.viewer_row_x()[0]), 3.14159265f / 180.0f, 1e-5f);
  EXPECT_NEAR(p.viewer_row_z()[2], 1.0f, 1e-5f);
  sim::OnMouse(kxcode::kMouseRightUp, 0);
  EXPECT_EQ(sim::session.run.mouse_look, 0);
}

}  // namespace
