#include "sim/simulation_mode.h"

#include <array>
#include <cstring>

#include "gui/gui.h"
#include "platform/callbacks.h"
#include "sim/exit.h"
#include "sim/view_modes.h"
#include "sim/world/contest_record.h"
#include "flight_support.h"

namespace {

using SimulationModeTest = simtest::flighttest;

TEST_F(SimulationModeTest, EntryInstallsTheCallbacksAndCountsTheFlyingPlayers) {
  ASSERT_NE(LoadSample("christeneagle", 0), nullptr);
  sim::players[1].flight_state = nullptr;
  sim::session.settings.game_type = sim::kGameSplitSide;
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
  EXPECT_EQ(sim::session.run.player_count, 1);
  EXPECT_EQ(sim::session.settings.game_type, sim::kGameSingle);  // one player: one view, whatever was stored
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
    sim::session.settings.game_type = stored;
    sim::EnterSimulationMode();
    EXPECT_EQ(sim::session.run.player_count, 2);
    EXPECT_EQ(sim::session.settings.game_type, stored == sim::kGameSplitSide ? sim::kGameSplitSide : sim::kGameSplitAbove);
    EXPECT_EQ(sim::players[0].next, &sim::players[1]);
  }
}

TEST_F(SimulationModeTest, TipsOfOneAircraftStayShownAcrossEntries) {
  ASSERT_NE(LoadSample("christeneagle", 0), nullptr);
  std::strcpy(sim::session.settings.aircraft0, "christeneagle");
  sim::EnterSimulationMode();
  for (int& pending : sim::session.run.tip_pending) pending = 0;
  sim::EnterSimulationMode();
  EXPECT_EQ(sim::session.run.tip_pending[0], 1);
  EXPECT_EQ(sim::session.run.tip_pending[1], 0);  // once per aircraft
  EXPECT_EQ(sim::session.run.tip_pending[2], 1);
  std::strcpy(sim::session.settings.aircraft0, "trainer");
  sim::EnterSimulationMode();
  EXPECT_EQ(sim::session.run.tip_pending[1], 1);
}

// What a flight leaves in the run, and whether the next flight starts from
// the field's start value or carries it over; the settings and the shared
// media come through the entry as they were.
TEST_F(SimulationModeTest, EachFlightStartsFromAFreshRunAndKeepsSettingsAndMedia) {
  ASSERT_NE(LoadSample("christeneagle", 0), nullptr);
  sim::EnterSimulationMode();
  for (int i = 0; i < 3; ++i) Step(0.02f);
  sessionrun& r = sim::session.run;
  const sessionrun start;
  contestrec contest{};
  struct row {
    const char* field;
    void (*leave)(sessionrun&, contestrec&);
    bool (*fresh)(const sessionrun& now, const sessionrun& start);
  } rows[] = {
      {"pause", [](sessionrun& x, contestrec&) { x.pause = 1; },
       [](const sessionrun& x, const sessionrun& s) { return x.pause == s.pause; }},
      {"current_contest", [](sessionrun& x, contestrec& c) { x.current_contest = &c; },
       [](const sessionrun& x, const sessionrun&) { return x.current_contest == nullptr; }},
      {"mouse_look", [](sessionrun& x, contestrec&) { x.mouse_look = 1; },
       [](const sessionrun& x, const sessionrun& s) { return x.mouse_look == s.mouse_look; }},
      {"frame timing", [](sessionrun&, contestrec&) {},  // as the steps left it
       [](const sessionrun& x, const sessionrun& s) {
         return x.now == s.now && x.last_time == s.last_time && x.frame_time == s.frame_time &&
                x.sim_time_step == s.sim_time_step;
       }},
      {"menu_bar_height", [](sessionrun& x, contestrec&) { x.menu_bar_height = 0; },
       [](const sessionrun& x, const sessionrun& s) { return x.menu_bar_height == s.menu_bar_height; }},
      {"status line", [](sessionrun& x, contestrec&) { x.status_time = 2.0f, std::strcpy(x.status_text, "old"); },
       [](const sessionrun& x, const sessionrun& s) { return x.status_time == s.status_time && !x.status_text[0]; }},
      {"screenshot_request", [](sessionrun& x, contestrec&) { x.screenshot_request = 1; },
       [](const sessionrun& x, const sessionrun& s) { return x.screenshot_request == s.screenshot_request; }},
      {"tip on screen",
       [](sessionrun& x, contestrec&) { x.tip_shown[2] = 1, x.tip_time = x.tip_elapsed = 5.0f, x.tip_lines = 3; },
       [](const sessionrun& x, const sessionrun& s) {
         return x.tip_shown[2] == s.tip_shown[2] && x.tip_time == s.tip_time && x.tip_elapsed == s.tip_elapsed &&
                x.tip_lines == s.tip_lines;
       }},
      // Carried over: the contest chosen, and the rate the display shows
      // until the flight measures its own.
      {"selected_contest", [](sessionrun& x, contestrec&) { x.selected_contest = 7; },
       [](const sessionrun& x, const sessionrun&) { return x.selected_contest == 7; }},
      {"fps", [](sessionrun& x, contestrec&) { x.fps = 42.0f; },
       [](const sessionrun& x, const sessionrun&) { return x.fps == 42.0f; }},
  };
  for (const row& c : rows) c.leave(r, contest);
  sim::session.settings.units = sim::kUnitsImperial;
  std::strcpy(sim::session.settings.scenery, "flat");
  int logo = 0;
  sim::session.media.logo_texture = reinterpret_cast<kxtexture*>(&logo);  // never drawn here
  // Byte copies: the records' padding is compared too, and must not move.
  std::array<unsigned char, sizeof(sessionsettings)> settings;
  std::array<unsigned char, sizeof(sessionmedia)> media;
  std::memcpy(settings.data(), &sim::session.settings, settings.size());
  std::memcpy(media.data(), &sim::session.media, media.size());

  sim::EnterSimulationMode();
  for (const row& c : rows) EXPECT_TRUE(c.fresh(r, start)) << c.field;
  EXPECT_EQ(std::memcmp(&sim::session.settings, settings.data(), settings.size()), 0);
  EXPECT_EQ(std::memcmp(&sim::session.media, media.data(), media.size()), 0);
  sim::session.media.logo_texture = nullptr;
}

TEST_F(SimulationModeTest, SmokePoolChainsNoMoreThanItHolds) {
  ASSERT_NE(LoadSample("christeneagle", 0), nullptr);
  simplayer& p = sim::players[0];
  sim::session.settings.smoke_particles = 100000;
  sim::EnterSimulationMode();
  int n = 0;
  for (particle* q = p.particles.smoke_list; q && n <= simplayer::kSmokePool; q = q->next) ++n;
  EXPECT_EQ(n, simplayer::kSmokePool);
  EXPECT_EQ(p.particles.smoke_list->position[2], -10000.0f);
  sim::session.settings.smoke_particles = 0;
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
    sim::session.settings.game_type = c.game_type;
    sim::Viewports();
    EXPECT_EQ(sim::session.run.viewport_width, c.width);
    EXPECT_EQ(sim::session.run.viewport_height, c.height);
  }
  // The same triple again keeps a camera the user placed; a change resets it.
  simcamera& c = sim::players[0].camera[0];
  c.width = 200;
  c.height = 150;
  c.x = c.y = 50;
  sim::Viewports();
  EXPECT_EQ(c.x, 50);
  sim::session.settings.game_type = sim::kGameSingle;
  sim::Viewports();
  EXPECT_EQ(c.x, 600);
  EXPECT_EQ(c.y, 0);
}

TEST_F(SimulationModeTest, CheckViewportsMovesOnlyCamerasOutsideTheView) {
  sim::session.run.viewport_width = 640;
  sim::session.run.viewport_height = 480;
  sim::session.settings.game_type = sim::kGameSplitAbove;
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
