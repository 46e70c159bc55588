#include "sim/contest.h"

#include <array>
#include <cmath>
#include <filesystem>
#include <vector>

#include "dynamics/instance.h"
#include "graphics/convex_body.h"
#include "graphics/mesh.h"
#include "platform/sound.h"
#include "sim/scenery.h"
#include "sim/world/world.h"
#include "tests/graphics/geometry_support.h"
#include "tests/sim/sim_support.h"

namespace {

namespace fs = std::filesystem;
using sim::players;
using sim::session;

constexpr float kFrame = 0.01f;  // s: 10 ms a frame

class Contest : public simtest::simtest {
 protected:
  void SetUp() override {
    simtest::SetUp();
    const fs::path data = (fs::path(KX_TEST_DATA) / "../../../data").lexically_normal();
    for (const char* part : {"scenery", "objects", "sound", "texture"}) fs::create_symlink(data / part, part);
    directsound::SetBackend(&sound_);
    directsound::Start();
    session.media.beep_sound = directsound::RegisterSound("sound/beep.wav");
    session.media.balloon_sound = directsound::RegisterSound("sound/balloon.wav");
    directsound::LoadSounds();
    players[0].flight_state = &state_[0];
    players[0].next = nullptr;
    session.run.player_count = 1;
    session.run.sim_time_step = kFrame;
  }
  void TearDown() override {
    sim::FreeScenery(sim::TheWorld());
    for (kxcbody*& b : bodies_) kxcbody::Free(&b);
    kxgeometry::Free(&part_);
    session.run = {};
    session.media = {};
    players[0].next = nullptr;
    for (simplayer& p : players) p.crash_timer = 0;
    directsound::Reset();
    directsound::SetBackend(nullptr);
    simtest::TearDown();
  }

  void TwoPlayers() {
    players[0].next = &players[1];
    players[1].flight_state = &state_[1];
    players[1].next = nullptr;
    session.run.player_count = 2;
  }
  // The default scenery's contest of this kind.
  contestrec* Winzeln(contestkind kind) {
    world* w = sim::TheWorld();
    sim::LoadScenery("winzeln", w);
    for (contestrec* c = w->first_contest; c; c = c->next)
      if (c->kind == kind) return c;
    return nullptr;
  }
  // A contest of the kind as the only one of an empty scenery.
  contestrec* Synthetic(contestkind kind) {
    world* w = sim::TheWorld();
    contestrec* c = w->contests;
    *c = contestrec{};
    c->kind = kind;
    c->best_time = c->best_points = -1;
    w->first_contest = c;
    w->contest_count = 1;
    return c;
  }
  static void AddPylon(contestrec* c, float x, float y) {
    pylonrec* p = c->pylons + c->pylon_count;
    *p = pylonrec{};
    p->position[0] = x, p->position[1] = y;
    if (c->pylon_count > 0) c->pylons[c->pylon_count - 1].next = p;
    else c->first_pylon = p;
    ++c->pylon_count;
  }
  // Starts the contest with each aircraft standing where it was lined up
  // (the flight states here belong to no loaded aircraft).
  static void Start(contestrec* c) {
    sim::StartContest(c);
    for (int i = 0; i < session.run.player_count; ++i) {
      const float* at = players[i].contest.position;
      Put(i, at[0], at[1], at[2]);
    }
  }
  static void Put(int player, float x, float y, float z) {
    float* at = players[player].flight_state->position();
    at[0] = x, at[1] = y, at[2] = z;
  }
  // Frames until the start signal; the players stay where they stand.
  static void CountDown(contestrec* c) {
    while (c->start_time < 0) sim::UpdateContest(c);
  }
  // Flies player 0 along the waypoints at speed (m/s), judging every frame.
  static void Fly(contestrec* c, const std::vector<std::array<float, 2>>& route, float speed, float z = 10) {
    const float* at = players[0].flight_state->position();
    for (const auto& to : route) {
      for (;;) {
        const float dx = to[0] - at[0], dy = to[1] - at[1], d = std::hypot(dx, dy), step = speed * kFrame;
        if (d <= step) {
          Put(0, to[0], to[1], z);
          sim::UpdateContest(c);
          break;
        }
        Put(0, at[0] + dx / d * step, at[1] + dy / d * step, z);
        sim::UpdateContest(c);
      }
    }
  }
  int Plays(const kxsound* s) const {
    int n = 0;
    for (const std::string& call : sound_.calls) n += call == "play " + std::to_string(s->voice) + " once";
    return n;
  }
  int Beeps() const { return Plays(session.media.beep_sound); }
  float BeepHz() const { return sound_.voices.at(session.media.beep_sound->voice).pitch * 22050.0f; }
  // A rotating part of player 0's aircraft: a 1 m box at `frame`.
  kxcbody* Propeller(int index, const kxmatrix* frame) {
    if (!part_) part_ = meshgen::ToElement(meshgen::Box(1, 1, 1), "prop", "", GL_N3F_V3F);
    kxcbody::Init(&bodies_[index], part_, frame->Data(), 0);
    state_[0].rotating_bodies[index] = bodies_[index];
    state_[0].rotating_count = std::max(state_[0].rotating_count, index + 1);
    return bodies_[index];
  }

  // The default scenery's balloon pop past its start signal, player 0's
  // aircraft with one rotating part at frame.
  contestrec* BalloonPopUnderWay(const kxmatrix* frame) {
    contestrec* c = Winzeln(kContestBalloonPop);
    Propeller(0, frame);
    Start(c);
    CountDown(c);
    return c;
  }

  kxdflightstate state_[2];
  fakesoundbackend sound_;
  kxgeometry* part_ = nullptr;
  kxcbody* bodies_[2] = {};
};

// ---- set-up

TEST_F(Contest, PlayersLineUpAcrossTheStartHeading) {
  struct {
    int players;
    float heading;
    float at[2][2];  // metres from the start
  } cases[] = {{1, 0, {{0, 0}}}, {2, 0, {{2, 0}, {2, 4}}}, {2, 90, {{0, 2}, {-4, 2}}}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.heading);
    if (c.players == 2) TwoPlayers();
    contestrec* contest = Synthetic(kContestDragRace);
    contest->heading = c.heading;
    contest->start_position[0] = 10, contest->start_position[1] = 20, contest->start_position[2] = 0.3f;
    sim::SetupContest(contest, 0);
    for (int i = 0; i < c.players; ++i) {
      const simplayer& p = players[i];
      EXPECT_NEAR(p.contest.position[0], 10 + c.at[i][0], 1e-4f);
      EXPECT_NEAR(p.contest.position[1], 20 + c.at[i][1], 1e-4f);
      EXPECT_EQ(p.contest.phase, sim::kContestFlying);
      EXPECT_EQ(p.contest.time, -6999);
      EXPECT_EQ(p.contest.last_points, -100);
      EXPECT_EQ(p.camera[1].on, 1);
    }
    EXPECT_EQ(session.run.current_contest, contest);
    EXPECT_EQ(contest->running, 0);
  }
}

// The line-up places aircraft through the simulation's own placement; a
// flight state with no loaded aircraft behind it keeps its pose and parts.
TEST_F(Contest, TheLineUpLeavesAFlightStateWithoutAnAircraftAlone) {
  ASSERT_EQ(kxdaircraftinstance::Loaded(0), nullptr);
  const kxmatrix frame = kxmatrix::Identity();
  kxcbody* part = Propeller(0, &frame);
  state_[0].position()[0] = 7, state_[0].position()[1] = 8, state_[0].position()[2] = 9;
  players[0].crash_timer = 2;
  sim::SetupContest(Winzeln(kContestDragRace), 0);
  EXPECT_EQ(state_[0].position()[0], 7.0f);
  EXPECT_EQ(state_[0].position()[1], 8.0f);
  EXPECT_EQ(state_[0].position()[2], 9.0f);
  EXPECT_EQ(state_[0].rotating_count, 1);
  EXPECT_EQ(state_[0].rotating_bodies[0], part);
  // What is the player's own is set up: lined up, crash over.
  EXPECT_EQ(players[0].crash_timer, 0.0f);
  EXPECT_NE(players[0].contest.position[0], 7.0f);
}

TEST_F(Contest, ViewersGoToTheContestViewpointOnlyWhenAsked) {
  contestrec* contest = Winzeln(kContestPylonRace);
  ASSERT_NE(contest, nullptr);
  players[0].viewer_position()[0] = 1;
  sim::SetupContest(contest, 0);
  EXPECT_EQ(players[0].viewer_position()[0], 1.0f);
  sim::SetupContest(contest, 1);
  EXPECT_EQ(players[0].viewer_position()[0], -70.0f);
  EXPECT_EQ(players[0].viewer_position()[2], 1.7f);
  contest->view_position[2] = -1;  // below 0: above the aircraft
  sim::SetupContest(contest, 1);
  EXPECT_NEAR(players[0].viewer_position()[2], players[0].contest.position[2] + 1.8f, 1e-5f);
}

TEST_F(Contest, SetUpStartAndStopLogTheirLines) {
  sim::SetupContest(nullptr, 1);
  EXPECT_TRUE(inputtest::Logged("contest=none"));
  EXPECT_EQ(players[0].camera[1].on, 0);
  sim::StopContest();
  EXPECT_FALSE(inputtest::Logged("contest=stopped"));
  contestrec* race = Winzeln(kContestPylonRace);
  sim::SetupContest(race, 0);
  EXPECT_TRUE(inputtest::Logged("contest=pylon racing for 3 rounds with 4 pylons"));
  sim::StopContest();  // set up but never run: still stopped
  EXPECT_TRUE(inputtest::Logged("contest=stopped"));
  sim::StartContest(race);
  EXPECT_EQ(race->running, 1);
  sim::StopContest();
  EXPECT_EQ(race->running, 0);
  EXPECT_EQ(session.run.current_contest, race);
  sim::StartContest(nullptr);
  EXPECT_EQ(session.run.current_contest, nullptr);
  sim::SetupContest(Winzeln(kContestBalloonPop), 0);
  EXPECT_TRUE(inputtest::Logged("contest=balloon pop with 20 balloons"));
}

TEST_F(Contest, ARaceWithoutTwoPylonsApartIsNotStarted) {
  struct {
    std::vector<std::pair<float, float>> pylons;
  } cases[] = {{{}}, {{{5, 5}}}, {{{0, 0}, {50, 0}, {0, 0}}}, {{{0, 0}, {50, 0}, {50, 0}}}};
  for (const auto& c : cases) {
    contestrec* race = Synthetic(kContestPylonRace);
    for (auto [x, y] : c.pylons) AddPylon(race, x, y);
    kxsystem::ClearLogHistory();
    sim::StartContest(race);
    EXPECT_EQ(race->running, 0) << c.pylons.size();
    EXPECT_TRUE(inputtest::Logged("contest=pylon racing needs at least two pylons apart; not started"));
    EXPECT_EQ(players[0].contest.pylon, nullptr);
  }
}

TEST_F(Contest, BalloonsAreScatteredApartInTheirBoxOrOverlapAfterTheLastDraw) {
  contestrec* c = Winzeln(kContestBalloonPop);
  ASSERT_NE(c, nullptr);
  c->balloons[2].popped = 1;
  sim::SetupContest(c, 0);
  EXPECT_EQ(c->balloons_left, 20);
  for (const balloonrec* b = c->first_balloon; b; b = b->next) {
    EXPECT_EQ(b->popped, 0);
    for (int k = 0; k < 3; ++k) {
      EXPECT_GE((&b->frame.R.x)[k], c->balloon_min[k]);
      EXPECT_LE((&b->frame.R.x)[k], c->balloon_max[k]);
    }
    for (const balloonrec* e = c->first_balloon; e != b; e = e->next) {
      const float d = std::hypot(b->frame.R.x - e->frame.R.x, b->frame.R.y - e->frame.R.y, b->frame.R.z - e->frame.R.z);
      EXPECT_GE(d, 2 * (b->radius + e->radius));
    }
  }
  // A box too small for two keeps the last place drawn.
  for (int k = 0; k < 3; ++k) c->balloon_max[k] = c->balloon_min[k] + 0.5f;
  sim::SetupContest(c, 0);
  EXPECT_LT(std::hypot(c->balloons[0].frame.R.x - c->balloons[1].frame.R.x,
                       c->balloons[0].frame.R.y - c->balloons[1].frame.R.y),
            1.0f);
}

// ---- countdown

TEST_F(Contest, TheCountdownBeepsThreeTimesLowAndOnceHighAtTheStart) {
  for (float step : {0.01f, 0.1f}) {  // a long frame jumps over marks
    SCOPED_TRACE(step);
    session.run.sim_time_step = step;
    sound_.calls.clear();
    contestrec* c = Winzeln(kContestDragRace);
    Start(c);
    std::vector<float> heard;
    int before = 0;
    while (c->start_time < 500) {
      sim::UpdateContest(c);
      if (Beeps() > before) heard.push_back(BeepHz()), before = Beeps();
    }
    ASSERT_EQ(heard.size(), 4u);
    for (int i = 0; i < 3; ++i) EXPECT_NEAR(heard[i], 13000, 1);
    EXPECT_NEAR(heard[3], 16000, 1);
  }
}

TEST_F(Contest, MovingMoreThanFourTenthsBeforeTheSignalIsAFalseStart) {
  TwoPlayers();
  contestrec* c = Winzeln(kContestDragRace);
  Start(c);
  const float* at0 = players[0].contest.position;
  const float* at1 = players[1].contest.position;
  Put(0, at0[0] + 0.5f, at0[1], at0[2]);
  Put(1, at1[0] + 0.3f, at1[1], at1[2]);
  sim::UpdateContest(c);
  EXPECT_EQ(players[0].contest.phase, sim::kContestFalseStart);
  EXPECT_EQ(players[1].contest.phase, sim::kContestFlying);
  EXPECT_EQ(players[1].contest.time, -6999 + 10);
}

// ---- pylon race

// Around the default scenery's four pylons counter-clockwise, outside them.
const std::vector<std::array<float, 2>> kLap = {{-70, -30}, {70, -30}, {60, 30}, {-60, 30}, {-70, -30}};

TEST_F(Contest, ThreeLapsOutsideThePylonsFinishThePylonRace) {
  contestrec* c = Winzeln(kContestPylonRace);
  Start(c);
  CountDown(c);
  Fly(c, {{-70, -30}}, 40);
  for (int lap = 0; lap < 3; ++lap) {
    EXPECT_EQ(players[0].contest.rounds_left, 3 - lap);
    Fly(c, kLap, 40);
  }
  EXPECT_EQ(players[0].contest.phase, sim::kContestFinished);
  EXPECT_EQ(players[0].contest.pylon, nullptr);
  EXPECT_EQ(players[0].contest.pylons_missed, 0);
  EXPECT_GT(c->best_time, 25000);
  EXPECT_EQ(c->best_time, players[0].contest.time);
  const int time = players[0].contest.time;
  Fly(c, kLap, 40);  // a finished player's clock stands
  EXPECT_EQ(players[0].contest.time, time);
}

TEST_F(Contest, CuttingInsideAPylonCostsTenSecondsAndStillAdvances) {
  contestrec* c = Winzeln(kContestPylonRace);
  Start(c);
  CountDown(c);
  Fly(c, {{-70, -30}, {40, -30}}, 40);
  ASSERT_EQ(players[0].contest.pylon, c->pylons + 1);  // (60, -20) next
  EXPECT_NEAR(players[0].contest.gate_distance, -20.0f, 1e-3f);
  const int time = players[0].contest.time;
  Fly(c, {{65, -10}}, 40);  // over its inner side
  EXPECT_EQ(players[0].contest.pylon, c->pylons + 2);
  EXPECT_EQ(players[0].contest.pylons_missed, 1);
  const int shown = players[0].contest.penalty_display;  // 4000 ms at the cut, counting down since
  EXPECT_GT(shown, 3500);
  EXPECT_LE(shown, 4000);
  EXPECT_GT(players[0].contest.time, time + 10000);
  sim::UpdateContest(c);
  EXPECT_EQ(players[0].contest.penalty_display, shown - 10);
}

// ---- balloon pop

TEST_F(Contest, TheAircraftsPartsPopOneBalloonAFrameUntilNoneIsLeft) {
  kxmatrix frame = kxmatrix::Identity();
  contestrec* c = BalloonPopUnderWay(&frame);
  int popped = 0;
  for (balloonrec* b = c->first_balloon; b; b = b->next) {
    frame.R = b->frame.R;  // straight into it
    sim::UpdateContest(c);
    EXPECT_EQ(b->popped, 1);
    EXPECT_EQ(players[0].contest.score, ++popped);
    EXPECT_EQ(c->balloons_left, 20 - popped);
  }
  EXPECT_EQ(players[0].contest.phase, sim::kContestFinished);
  EXPECT_EQ(c->winner, &players[0]);
  EXPECT_EQ(c->best_time, players[0].contest.time);
  EXPECT_EQ(Plays(session.media.balloon_sound), 20);
}

TEST_F(Contest, TwoBalloonsTouchedTogetherPopInTwoFrames) {
  kxmatrix frame = kxmatrix::Identity();
  contestrec* c = BalloonPopUnderWay(&frame);
  c->balloons[1].frame.R = c->balloons[0].frame.R;
  frame.R = c->balloons[0].frame.R;
  sim::UpdateContest(c);
  EXPECT_EQ(c->balloons[0].popped + c->balloons[1].popped, 1);
  sim::UpdateContest(c);
  EXPECT_EQ(c->balloons[0].popped + c->balloons[1].popped, 2);
  // A crashed aircraft pops nothing and its clock stands until it is reset.
  players[0].crash_timer = 0.5f;
  frame.R = c->balloons[2].frame.R;
  const int time = players[0].contest.time;
  sim::UpdateContest(c);
  EXPECT_EQ(c->balloons[2].popped, 0);
  EXPECT_EQ(players[0].contest.time, time);
}

// The placement pairs every part with every balloon part by part; the
// judge evaluates the pair record kept for a part and a balloon.
TEST_F(Contest, ThePartsPairRecordsAreEvaluatedInTheirLayout) {
  contestrec* c = Winzeln(kContestBalloonPop);
  kxmatrix far = kxmatrix::Identity(), near = kxmatrix::Identity();
  far.R = {0, 0, -500, 1};
  kxcbody* first = Propeller(0, &far);
  kxcbody* second = Propeller(1, &near);
  std::vector<kxcpair> pairs(1024);
  int k = 0;
  for (kxcbody* part : {first, second})
    for (balloonrec* b = c->first_balloon; b; b = b->next) kxcpair::Init(&pairs[k++], part, b->body);
  state_[0].rotating_pairs = pairs.data();
  Start(c);
  CountDown(c);
  near.R = c->balloons[4].frame.R;
  sim::UpdateContest(c);
  EXPECT_EQ(c->balloons[4].popped, 1);
  EXPECT_LT(pairs[20 + 4].distance, 0.0);  // second part, fifth balloon
  EXPECT_GT(pairs[4].distance, 100.0);
  state_[0].rotating_pairs = nullptr;
}

// Who finished before the time ran out keeps his result, as does a false
// starter: time over is only for those still flying.
TEST_F(Contest, WhenTheBalloonTimeIsUpThoseStillFlyingAreOut) {
  TwoPlayers();
  session.settings.contest_balloonpop_time = 1;
  contestrec* c = Winzeln(kContestBalloonPop);
  for (sim::contestphase other : {sim::kContestFalseStart, sim::kContestFinished}) {
    Start(c);
    CountDown(c);
    players[1].contest.phase = other;
    while (c->start_time <= 1000) sim::UpdateContest(c);
    EXPECT_EQ(players[0].contest.phase, sim::kContestTimeOver) << static_cast<int>(other);
    EXPECT_EQ(players[1].contest.phase, other);
  }
}

// ---- drag race

TEST_F(Contest, TheFirstOverTheFinishLineWinsTheDragRace) {
  TwoPlayers();
  contestrec* c = Winzeln(kContestDragRace);
  Start(c);
  CountDown(c);
  float x[2] = {players[0].contest.position[0], players[1].contest.position[0]};
  while (players[0].contest.phase == sim::kContestFlying) {
    x[0] += 0.3f, x[1] += 0.4f;
    Put(0, x[0], players[0].contest.position[1], 1);
    Put(1, x[1], players[1].contest.position[1], 1);
    sim::UpdateContest(c);
  }
  EXPECT_EQ(c->winner, &players[1]);
  EXPECT_EQ(players[1].contest.phase, sim::kContestFinished);
  EXPECT_EQ(c->best_time, players[1].contest.time);
  EXPECT_GT(players[0].contest.time, players[1].contest.time);
  EXPECT_NEAR(players[1].contest.time, 148 / 0.4f * 10, 20);  // 148 m from the line-up
}

// ---- spot landing

TEST_F(Contest, ALandingScoresByHowFarIntoTheAreaItTouchesDown) {
  struct {
    float along, across;  // m from the start position
    int points;
  } cases[] = {{0.5f, 0, 100}, {1.0f, 4, 100}, {10, 0, 20}, {19, -4, 0}, {21, 0, -1}, {10, 6, -1}, {-0.5f, 0, -1}};
  contestrec* c = Winzeln(kContestSpotLanding);
  Start(c);
  CountDown(c);
  const float* start = c->start_position;
  int best = -1;
  for (const auto& k : cases) {
    SCOPED_TRACE(k.along);
    state_[0].ground_contact = 0;
    Put(0, start[0] + k.along, start[1] + k.across, 10);
    sim::UpdateContest(c);
    EXPECT_EQ(players[0].contest.hint, 1);
    Put(0, start[0] + k.along, start[1] + k.across, c->spot_centre[2]);
    sim::UpdateContest(c);
    EXPECT_EQ(players[0].contest.hint, 1);  // not down yet
    state_[0].ground_contact = 1;
    sim::UpdateContest(c);
    EXPECT_EQ(players[0].contest.hint, 0);
    EXPECT_EQ(players[0].contest.last_points, k.points);
    best = std::max(best, k.points);
    EXPECT_EQ(c->best_points, best);
    sim::UpdateContest(c);  // rolling on does not score again
    EXPECT_EQ(players[0].contest.last_points, k.points);
  }
  EXPECT_GT(c->best_time, 0);
  EXPECT_EQ(players[0].contest.phase, sim::kContestFlying);
}

}  // namespace
