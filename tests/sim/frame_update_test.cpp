#include "sim/frame_update.h"

#include <cmath>
#include <functional>

#include "sim/multilanguage.h"
#include "sim/placement.h"
#include "sim/vec3.h"
#include "sim/view_modes.h"
#include "sim/views/shadow_prep.h"
#include "flight_support.h"

namespace {

constexpr float kPi = 3.14159265358979f;

using FrameUpdateTest = simtest::flighttest;

TEST_F(FrameUpdateTest, FrameTimeIsTheClampedUnsignedDifference) {
  struct probe {
    uint32_t from, to;
    float seconds;
  } probes[] = {
      {1000, 1500, 0.001f},           // 0.5 ms: at least 1 ms
      {1000, 251000, 0.1f},           // 250 ms: at most 100 ms
      {0, 16667, 0.016667f},
      {0xFFFFF000u, 0x00003000u, 0.016384f},  // across the timer's wrap
  };
  for (const probe& p : probes) EXPECT_NEAR(sim::ClampedFrameTime(p.from, p.to), p.seconds, 1e-6f) << p.from;
}

TEST_F(FrameUpdateTest, TimeStepIsScaledBySimulationSpeed) {
  sim::session.settings.simulation_speed = 2.0f;
  Step(0.0005f);
  EXPECT_FLOAT_EQ(sim::session.run.frame_time, 0.001f);
  EXPECT_FLOAT_EQ(sim::session.run.sim_time_step, 0.002f);
  Step(0.25f);
  EXPECT_FLOAT_EQ(sim::session.run.frame_time, 0.1f);
  EXPECT_FLOAT_EQ(sim::session.run.sim_time_step, 0.2f);
  EXPECT_NEAR(sim::FrameTiming().elapsed_sim_time, 0.202f, 1e-6f);
}

TEST_F(FrameUpdateTest, FrameRateIsSampledEveryFiftyFrames) {
  for (int i = 0; i < 49; ++i) Step(0.02f);
  EXPECT_EQ(sim::session.run.fps, 0.0f);
  Step(0.02f);
  EXPECT_NEAR(sim::session.run.fps, 50.0f, 0.01f);
  for (int i = 0; i < 49; ++i) Step(0.04f);
  EXPECT_NEAR(sim::session.run.fps, 50.0f, 0.01f);
  Step(0.04f);
  EXPECT_NEAR(sim::session.run.fps, 25.0f, 0.01f);
}

TEST_F(FrameUpdateTest, HeadingFollowsTheNoseRoundTheCompass) {
  const float r = std::sqrt(0.5f);
  struct probe {
    float X[3];
    float heading;
  } probes[] = {
      {{1, 0, 0}, 2 * kPi},  {{r, -r, 0}, kPi / 4},     {{0, -1, 0}, kPi / 2}, {{-1, 0, 0}, kPi},
      {{0, 1, 0}, 3 * kPi / 2}, {{r, r, 0}, 7 * kPi / 4}, {{0, 0, 1}, 0},       {{-r, -r, 0}, 3 * kPi / 4},
  };
  for (const probe& p : probes) EXPECT_NEAR(sim::HeadingOf(p.X), p.heading, 1e-5f) << p.X[0] << "," << p.X[1];
}

TEST_F(FrameUpdateTest, FlightValuesOfAPausedAircraftFiveMetresUp) {
  simplayer* p = LoadSample("christeneagle", 0);
  ASSERT_NE(p, nullptr);
  sim::session.run.player_count = 1;
  sim::PlaceAtStart(1, p, 1);  // 5 m above the ground, nose along -y
  sim::session.run.pause = 1;
  Step(0.02f);
  EXPECT_NEAR(p->hud.height_above_ground, 5.0f, 1e-4f);
  EXPECT_NEAR(p->hud.heading, kPi / 2, 1e-5f);
  EXPECT_EQ(p->hud.speed, 0.0f);
  EXPECT_EQ(p->flight_state->position()[2], ::simtest::kGround + 5.0f);  // paused: the dynamics did not step
}

TEST_F(FrameUpdateTest, CrashedAircraftIsResetAfterTheCrashTimeInSteppedTime) {
  simplayer* p = LoadSample("christeneagle", 0);
  ASSERT_NE(p, nullptr);
  sim::session.run.player_count = 1;
  sim::session.settings.crashtime = 3.0f;
  sim::EnterSimulationMode();
  const float startX = p->saved_frame.R.x;
  kxdaircraftinstance* instance = kxdaircraftinstance::Loaded(0);
  const float dt = 0.0625f;  // exact in binary: the timer's sums are exact
  instance->Crash = 1;
  Step(dt);
  EXPECT_EQ(p->crash_timer, 2 * dt);  // the first frame counts twice
  sim::session.run.pause = 1;
  for (int i = 0; i < 10; ++i) Step(dt);
  EXPECT_EQ(p->crash_timer, 2 * dt);  // paused time does not count
  sim::session.run.pause = 0;
  // Move it away, so the reset shows.
  kxmatrix away = p->flight_state->frame;
  away.R.x += 30.0f;
  kxdaircraftinstance::PlaceAt(instance, away, {});
  instance->Crash = 1;
  for (int i = 0; i < 46; ++i) Step(dt);
  EXPECT_FLOAT_EQ(p->crash_timer, 3.0f);  // not beyond crashtime yet
  EXPECT_GT(p->flight_state->position()[0], startX + 25.0f);  // it rolls a little
  Step(dt);
  EXPECT_EQ(p->crash_timer, 0.0f);
  EXPECT_EQ(p->flight_state->crash, 0);
  EXPECT_NEAR(p->flight_state->position()[0], startX, 1e-3f);
}

TEST_F(FrameUpdateTest, TracePointFollowsAMoveOfMoreThanSevenTenthsOfAMetre) {
  simplayer* p = LoadSample("christeneagle", 0);
  ASSERT_NE(p, nullptr);
  sim::session.run.player_count = 1;
  sim::EnterSimulationMode();
  sim::session.run.pause = 0;
  p->trace.view = 1;
  p->trace.index = 0;
  for (auto& row : p->trace.position) row[0] = row[1] = row[2] = 0.0f;
  sim::vec3::Copy(p->trace.position[0], p->flight_state->position());
  sim::vec3::Copy(p->trace.axis[0], p->flight_state->row_y());
  kxdaircraftinstance* instance = kxdaircraftinstance::Loaded(0);
  kxmatrix at = p->flight_state->frame;
  at.R.x += 0.6f;  // 0.36 m^2: no point
  kxdaircraftinstance::PlaceAt(instance, at, {});
  sim::session.run.pause = 1;  // the placed pose stays
  Step(0.02f);
  EXPECT_EQ(p->trace.index, 0);  // paused: no trace
  sim::session.run.pause = 0;
  at.R.x += 0.3f;
  kxdaircraftinstance::PlaceAt(instance, at, {});
  Step(0.001f);
  EXPECT_EQ(p->trace.index, 1);
  EXPECT_NEAR(p->trace.position[1][0], at.R.x, 0.01f);
}

TEST_F(FrameUpdateTest, PlaybackViewsFallBackWithoutARecording) {
  simplayer* p = LoadSample("christeneagle", 0);
  ASSERT_NE(p, nullptr);
  sim::EnterSimulationMode();
  p->view_mode = sim::kViewRecordFollow;
  p->camera[2].type = sim::kViewRecordFixed;
  p->camera[2].on = 1;
  Step(0.02f);
  EXPECT_EQ(p->view_mode, sim::kViewFollow);
  EXPECT_EQ(p->camera[2].type, sim::kCameraAircraft);
  for (int k = 0; k < 3; ++k) EXPECT_EQ(p->viewer_target[k], p->flight_state->position()[k]);
}

// A recording of the flight before (standing far off here) stays to be
// played, but the next flight opens on the aircraft flown; chosen again, a
// recorded view looks at the recording.
TEST_F(FrameUpdateTest, ARecordedViewLeftByTheFlightBeforeOpensTheNextOnTheAircraftFlown) {
  simplayer* p = LoadSample("christeneagle", 0);
  ASSERT_NE(p, nullptr);
  p->recording.present = 1;
  p->recording.header.length = 0.0f;
  if (p->record_store.frames) p->record_store.frames[0].records = nullptr;  // no frames: the pose stays as put
  p->recording.pose = kxmatrix::Identity();
  p->recording.pose.R = {500.0f, 500.0f, 50.0f, 1.0f};
  p->view_mode = sim::kViewRecordFollow;
  p->camera[2].type = sim::kViewRecordCockpit;
  p->camera[2].on = 1;
  sim::EnterSimulationMode();
  Step(0.02f);
  EXPECT_EQ(p->view_mode, sim::kViewFollow);
  EXPECT_EQ(p->camera[2].type, sim::kCameraAircraft);
  EXPECT_EQ(p->recording.present, 1);
  for (int k = 0; k < 3; ++k) EXPECT_EQ(p->viewer_target[k], p->flight_state->position()[k]);
  sim::SetViewMode(p, sim::kViewRecordFixed);
  Step(0.02f);
  EXPECT_EQ(p->view_mode, sim::kViewRecordFixed);
  EXPECT_EQ(p->viewer_target[0], 500.0f);
}

// The tip holds while player 1's aircraft stands at the indoor start: a
// step to another start ends it, and so does a placement elsewhere that
// leaves the indoor start the current one (a contest's line-up).
TEST_F(FrameUpdateTest, IndoorTipShowsAtAnIndoorStartAndEndsAwayFromIt) {
  simplayer* p = LoadSample("christeneagle", 0);
  ASSERT_NE(p, nullptr);
  auto elsewhere = [](simplayer* q) {
    kxmatrix frame = q->flight_state->frame;
    frame.R.x += 40.0f;
    const float still[4] = {};
    sim::ResetAircraft(q, &frame, still);
  };
  const struct {
    const char* way;
    std::function<void(simplayer*)> leave;
  } ways[] = {
      {"next start", [](simplayer*) { sim::TheWorld()->start_index = 0; }},
      {"placed elsewhere", elsewhere},
  };
  for (const auto& way : ways) {
    SCOPED_TRACE(way.way);
    sim::TheWorld()->start_index = 3;
    sim::EnterSimulationMode();
    EXPECT_EQ(sim::session.run.tip_pending[0], 1);
    sim::session.run.tip_time = sim::session.run.tip_elapsed = -1.0f;  // the views counted the last one down
    Step(0.02f);
    EXPECT_EQ(sim::session.run.tip_shown[0], 1);
    EXPECT_EQ(sim::session.run.tip_pending[0], 0);
    EXPECT_EQ(sim::session.run.tip_time, 6.0f);
    EXPECT_EQ(sim::session.run.tip_lines, 2);
    EXPECT_STREQ(sim::session.run.tip_text[0], sim::Language().tipp[0][0].Text());
    way.leave(p);
    Step(0.02f);
    EXPECT_EQ(sim::session.run.tip_shown[0], 0);
    EXPECT_EQ(sim::session.run.tip_time, 0.0f);
  }
  // Lined up elsewhere as the flight starts: no tip at all.
  sim::TheWorld()->start_index = 3;
  sim::EnterSimulationMode();
  elsewhere(p);
  sim::session.run.tip_time = sim::session.run.tip_elapsed = -1.0f;
  Step(0.02f);
  EXPECT_EQ(sim::session.run.tip_shown[0], 0);
  EXPECT_EQ(sim::session.run.tip_pending[0], 1);
}

}  // namespace
