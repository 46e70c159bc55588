#include "sim/simulation_mode.h"

#include <cstring>

#include "gui/gui.h"
#include "platform/callbacks.h"
#include "sim/exit.h"
#include "sim/view_modes.h"
#include "flight_support.h"

namespace {

using SimulationModeTest = simtest::flighttest;

TEST_F(SimulationModeTest, EntryInstallsTheCallbacksAndCountsTheFlyingPlayers) {
  ASSERT_NE(LoadSample("christeneagle", 0), nullptr);
  sim::players[1].flight_state = nullptr;
  sim::session.game_type = sim::kGameSplitSide;
  sim::EnterSimulationMode();
  const kxcallbacks& cb = kxsystem::callbacks;
  EXPECT_EQ(cb.update, &sim::Update);
  // The menu bar takes the events first; what no widget takes reaches the
  // simulation's handlers.
  EXPECT_EQ(kxgui::KeyHook, &sim::OnKey);
  EXPECT_EQ(kxgui::MouseHook, &sim::OnMouse);
  EXPECT_EQ(cb.after_create, &sim::Resume);
  EXPECT_EQ(cb.graphics_init, &sim::InitGL);
  EXPECT_EQ(cb.exit, &sim::Exit);
  EXPECT_EQ(cb.pending, nullptr);
  EXPECT_EQ(sim::session.player_count, 1);
  EXPECT_EQ(sim::session.game_type, sim::kGameSingle);  // one player: one view, whatever was stored
  EXPECT_EQ(sim::players[0].next, nullptr);
  EXPECT_TRUE(inputtest::Logged("sim:  switching to simulation mode...\n"));
  EXPECT_TRUE(inputtest::Logged(" memory blocks using "));
  EXPECT_EQ(sim::players[0].recording.state, sim::kRecordIdle);
  EXPECT_EQ(sim::players[0].recording.frame, 1);
}

TEST_F(SimulationModeTest, TwoPlayersSplitTheScreenUnlessSideBySideWasStored) {
  ASSERT_NE(LoadSample("christeneagle", 0), nullptr);
  ASSERT_NE(LoadSample("christeneagle", 1), nullptr);
  for (sim::gametype stored : {sim::kGameSingle, sim::kGameSplitAbove, sim::kGameSplitSide}) {
    sim::session.game_type = stored;
    sim::EnterSimulationMode();
    EXPECT_EQ(sim::session.player_count, 2);
    EXPECT_EQ(sim::session.game_type, stored == sim::kGameSplitSide ? sim::kGameSplitSide : sim::kGameSplitAbove);
    EXPECT_EQ(sim::players[0].next, &sim::players[1]);
  }
}

TEST_F(SimulationModeTest, TipsOfOneAircraftStayShownAcrossEntries) {
  ASSERT_NE(LoadSample("christeneagle", 0), nullptr);
  std::strcpy(sim::session.aircraft0, "christeneagle");
  sim::EnterSimulationMode();
  for (int& pending : sim::session.tip_pending) pending = 0;
  sim::EnterSimulationMode();
  EXPECT_EQ(sim::session.tip_pending[0], 1);
  EXPECT_EQ(sim::session.tip_pending[1], 0);  // once per aircraft
  EXPECT_EQ(sim::session.tip_pending[2], 1);
  std::strcpy(sim::session.aircraft0, "trainer");
  sim::EnterSimulationMode();
  EXPECT_EQ(sim::session.tip_pending[1], 1);
}

TEST_F(SimulationModeTest, SmokePoolChainsNoMoreThanItHolds) {
  ASSERT_NE(LoadSample("christeneagle", 0), nullptr);
  simplayer& p = sim::players[0];
  sim::session.smoke_particles = 100000;
  sim::EnterSimulationMode();
  int n = 0;
  for (particle* q = p.particles.smoke_list; q && n <= simplayer::kSmokePool; q = q->next) ++n;
  EXPECT_EQ(n, simplayer::kSmokePool);
  EXPECT_EQ(p.particles.smoke_list->position[2], -10000.0f);
  sim::session.smoke_particles = 0;
  sim::EnterSimulationMode();
  EXPECT_EQ(p.particles.smoke_list, nullptr);
}

TEST_F(SimulationModeTest, ViewportsFollowTheGameTypeAndKeepCamerasOnlyWhenUnchanged) {
  kxsystem::display.window_width = 800;
  kxsystem::display.window_height = 601;
  struct probe {
    sim::gametype game_type;
    int width, height;
  } probes[] = {{sim::kGameSingle, 800, 601}, {sim::kGameSplitAbove, 800, 300}, {sim::kGameSplitSide, 400, 601}};
  for (const probe& c : probes) {
    sim::session.game_type = c.game_type;
    sim::Viewports();
    EXPECT_EQ(sim::session.viewport_width, c.width);
    EXPECT_EQ(sim::session.viewport_height, c.height);
  }
  // The same triple again keeps a camera the user placed; a change resets it.
  simcamera& c = sim::players[0].camera[0];
  c.width = 200;
  c.height = 150;
  c.x = c.y = 50;
  sim::Viewports();
  EXPECT_EQ(c.x, 50);
  sim::session.game_type = sim::kGameSingle;
  sim::Viewports();
  EXPECT_EQ(c.x, 600);
  EXPECT_EQ(c.y, 0);
}

TEST_F(SimulationModeTest, CheckViewportsMovesOnlyCamerasOutsideTheView) {
  sim::session.viewport_width = 640;
  sim::session.viewport_height = 480;
  sim::session.game_type = sim::kGameSplitAbove;
  simplayer& a = sim::players[0];
  simplayer& b = sim::players[1];
  a.camera[0] = {.on = 1, .type = sim::kCameraFlightInfo, .x = 500, .y = 10, .width = 200, .height = 150};
  a.camera[1] = {.on = 1, .type = sim::kCameraFlightInfo, .x = 5, .y = 5, .width = 100, .height = 100};
  a.camera[2] = {.on = 1, .type = sim::kCameraAircraft, .x = 600, .y = 400, .width = 120, .height = 90};
  b.camera[2] = a.camera[2];
  sim::CheckViewports(1);
  EXPECT_EQ(a.camera[0].x, 440);
  EXPECT_EQ(a.camera[0].y, 0);
  EXPECT_EQ(a.camera[1].x, 5);  // inside: kept
  EXPECT_EQ(a.camera[2].x, 520);
  EXPECT_EQ(a.camera[2].y, 390);  // player 1 above the split: no menu bar margin
  EXPECT_EQ(b.camera[2].y, 480 - 22 - 90);
  sim::CheckViewports(0);
  EXPECT_EQ(a.camera[1].x, 0);
  // A place at the end of the int range is outside, not an overflowed sum.
  a.camera[1].x = 2147483647;
  sim::CheckViewports(1);
  EXPECT_EQ(a.camera[1].x, 0);
}

TEST_F(SimulationModeTest, ExitFreesThePartsAndWritesTheSettings) {
  Write("config/.keep", "");
  ASSERT_NE(LoadSample("heli", 0), nullptr);
  sim::EnterSimulationMode();
  EXPECT_GT(sim::players[0].flight_state->rotating_count, 0);
  sim::Exit();
  EXPECT_EQ(sim::players[0].flight_state->collision_body_count, 0);
  EXPECT_NE(Read("config/main.mcf"), "<missing>");
  EXPECT_NE(Read("config/player1.mcf"), "<missing>");
}

}  // namespace
