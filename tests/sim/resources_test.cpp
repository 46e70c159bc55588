#include "sim/resources.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "dynamics/interrupted_save.h"
#include "sim/particles.h"
#include "tests/sim/sim_support.h"

namespace {

// What a player record must hold after the reset by value: every sub-record
// at its start value, the exhaust rows chained through its own records, and
// what the run gives each player.
struct resetcheck {
  const char* what;
  bool (*holds)(const simplayer& p, int index);
};

bool ChainedToItsOwnRows(const playerparticles& q) {
  for (const auto& row : q.exhaust_particles)
    for (int i = 0; i < simplayer::kExhaustRowLength; ++i) {
      const particle* next = i + 1 < simplayer::kExhaustRowLength ? &row[i + 1] : nullptr;
      if (row[i].next != next || row[i].alpha != 0.0f) return false;
    }
  return true;
}

const resetcheck kChecks[] = {
    {"no aircraft, no next player", [](const simplayer& p, int) { return !p.flight_state && !p.next; }},
    {"the viewer at the origin, unrotated",
     [](const simplayer& p, int) {
       const float* x = p.viewer_row_x();
       const float* r = p.viewer_position();
       return x[0] == 1 && x[1] == 0 && r[0] == 0 && r[1] == 0 && r[2] == 0 && p.crash_timer == 0;
     }},
    {"the head-up display shows every line and no flight",
     [](const simplayer& p, int) {
       const playerhud& h = p.hud;
       return h.show_velocity && h.show_height && h.show_heightmsl && h.show_heading && h.show_rpm && h.show_fps &&
              h.speed == 0 && h.height_above_ground == 0 && h.heading == 0;
     }},
    {"the trace off and empty",
     [](const simplayer& p, int) {
       const playertrace& t = p.trace;
       const auto empty = [](float time) { return time == -1.0f; };
       return !t.on && !t.view && t.index == 0 && t.max_speed == 0 &&
              std::all_of(std::begin(t.time), std::end(t.time), empty);
     }},
    {"the exhaust rows chained to the record's own puffs",
     [](const simplayer& p, int) { return ChainedToItsOwnRows(p.particles); }},
    {"no smoke chained, the pool zeroed",
     [](const simplayer& p, int) {
       const playerparticles& q = p.particles;
       const particle* pool = q.smoke_pool;
       const auto zero = [](const particle& r) { return r.life == 0 && r.next == nullptr && r.position[2] == 0; };
       return !q.smoke_list && !q.smoke_newest && q.smoke_clock == 0 &&
              std::all_of(pool, pool + simplayer::kSmokePool, zero);
     }},
    {"no contest",
     [](const simplayer& p, int) {
       const playercontest& c = p.contest;
       return c.phase == sim::kContestNoPhase && c.score == 0 && !c.pylon && c.last_points == -100 && c.rounds_left == 0;
     }},
    {"an idle recorder with an empty header",
     [](const simplayer& p, int) {
       const playerrecording& r = p.recording;
       return !r.present && r.state == sim::kRecordIdle && r.frame == 0 && r.header.aircraft[0] == 0 &&
              !r.instance;
     }},
    {"its share of the store, the cursor at its start",
     [](const simplayer& p, int index) {
       const playerrecordstore& s = p.record_store;
       const playerrecordstore& first = sim::players[0].record_store;
       return s.frames == first.frames + index * simplayer::kRecordFrameEntries &&
              s.positions == first.positions + index * simplayer::kRecordPositions * simplayer::kRecordFloats &&
              s.write == s.positions && s.frames;
     }},
    {"overlay cameras 0 and 1 at their sizes, camera 2 unsized",
     [](const simplayer& p, int) {
       const simcamera* c = p.camera;
       return c[0].width == 210 && c[0].height == 120 && c[1].width == 200 && c[1].height == 88 &&
              c[2].width == 0 && !c[0].on && c[2].type.Code() == 0;
     }},
};

class PlayerReset : public simtest::simtest {
 protected:
  // What a flight leaves in every sub-record of a player.
  static void Fly(simplayer& p, kxdflightstate& state) {
    p.flight_state = &state;
    p.next = &sim::players[1];
    p.viewer_position()[1] = 40;
    p.viewer_row_x()[0] = 0;
    p.crash_timer = 2;
    p.hud.show_fps = 0;
    p.hud.speed = 17;
    p.trace.on = p.trace.view = 1;
    p.trace.index = 9;
    p.trace.time[9] = 4;
    p.trace.max_speed = 30;
    state.exhaust_count = 1;
    state.exhaust[0].position[0] = 2;
    sim::UpdateExhaust(&p, 0.02f);
    sim::session.settings.smoke_particles = 30;
    sim::ResetSmoke(&p);
    p.contest.phase = sim::kContestFlying;
    p.contest.last_points = 12;
    p.recording.present = 1;
    p.recording.state = sim::kRecording;
    std::strcpy(p.recording.header.aircraft, "cub");
    p.record_store.write += 90;
    p.camera[0].on = 1;
    p.camera[1].width = 640;
    p.camera[2].type = sim::kCameraWind;
  }
};

TEST_F(PlayerReset, AFlownRecordComesBackWholeWithWhatTheRunGivesIt) {
  kxdflightstate state;
  sim::ResetPlayerRecords();  // without the settings, which the fixture's set-up read
  for (const resetcheck& c : kChecks)
    for (int i = 0; i < sim::kPlayers; ++i) ASSERT_TRUE(c.holds(sim::players[i], i)) << c.what;
  const playerrecordstore share = sim::players[1].record_store;

  for (simplayer& p : sim::players) Fly(p, state);
  for (const resetcheck& c : kChecks) EXPECT_FALSE(c.holds(sim::players[1], 1)) << "the flight left " << c.what;
  sim::ResetPlayerRecords();
  for (const resetcheck& c : kChecks)
    for (int i = 0; i < sim::kPlayers; ++i) EXPECT_TRUE(c.holds(sim::players[i], i)) << "player " << i << ": " << c.what;
  EXPECT_EQ(sim::players[1].record_store.frames, share.frames);  // the store is the run's: the same share again
  EXPECT_EQ(sim::players[1].record_store.positions, share.positions);
}

class UnfinishedWrites : public simtest::simtest {};

// A write killed on its way leaves "<file>.tmp" beside any file the program
// writes; start-up removes each in the folders the program writes, and
// nothing else a user keeps there.
TEST_F(UnfinishedWrites, StartUpRemovesTheTemporariesOfEveryWrittenFileAndNothingElse) {
  const struct {
    const char* file;
    bool stays;
  } rows[] = {{"config/config.kxc.tmp", false},
              {"config/acft01.kxa.tmp", false},
              {"config/joystick0.kxc.tmp", false},  // a calibration
              {"recordings/loop.rec.tmp", false},
              {"screenshots/svgol-cub-field-00.bmp.tmp", false},
              {"svgelanguage.kxd.tmp", false},
              {"aircraft/cub/thumb.bmp.tmp", false},
              {"aircraft/cub/skin.png.tmp", false},  // a texture the designer copied, in any format
              {"recordings/x.txt.tmp", false},
              {"config/acft01.kxa", true},
              {"config/notes.tmp", true},
              {"aircraft/cub/notes.tmp", true},
              {"recordings/x.txt", true},
              {"readme.txt.tmp", true}};  // the top level is the installation's
  for (const auto& row : rows) Write(row.file, "x");
  sim::RemoveUnfinishedWrites();
  kxdwriters::FinishInterruptedSaves();  // as start-up does, for the aircraft folders
  for (const auto& row : rows) {
    EXPECT_EQ(Read(row.file) == "x", row.stays) << row.file;
    const std::string line = std::string("kxsystem:  ") + row.file + ": left by a write that never finished; removed";
    EXPECT_TRUE(row.stays || inputtest::Logged(line.c_str())) << row.file;
  }
}

}  // namespace
