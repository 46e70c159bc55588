// A contest through the whole program: in the simulation the menu's command
// selects the default scenery's balloon pop and the Return key starts it;
// the frame update counts it down with its beeps, judges the aircraft's
// propeller popping balloons, holds a crash and sets the contest up again
// after the crash time, and a move before the next signal is a false start;
// the menu's commands then stop it, start it again and turn it off.
// Exhaust and smoke come from the flying aircraft meanwhile. Every frame runs
// through the frame update on the test's clock.
#include <algorithm>
#include <cmath>
#include <fstream>
#include <string>
#include <vector>

#include "core/interpreter.h"
#include "dynamics/instance.h"
#include "platform/random.h"
#include "sim/placement.h"
#include "sim/world/world.h"
#include "tests/sim/program_support.h"

namespace {

using sim::players;
using sim::session;

constexpr int kSmokeChannel = 28;  // the function channel of the smoke switch
constexpr int kMostSteps = 600;    // script steps of two frames: 20 s

class ContestProgramTest : public simtest::transmittertest {
 protected:
  enum phase { kMenu, kCountdown, kPop, kPopAgain, kCrashed, kSecondCountdown, kStopped, kMenuStarted, kDone };

  void SetUp() override {
    transmittertest::SetUp();
    CopySampleAircraft();
    // The smoke switch on the transmitter's sixth channel.
    std::ofstream(dir_ / "config/acft00.kxa", std::ios::app)
        << "Assign( " << kSmokeChannel << ", 1005 )\nInvert( " << kSmokeChannel << " ) = 0\nDual( " << kSmokeChannel
        << " ) = 1\nExpo( " << kSmokeChannel << " ) = 0\n";
  }

  static simplayer& P() { return players[0]; }
  static void Command(const char* command) { kxscript::Execute(command); }
  static const float* At() { return P().flight_state->position(); }
  // Puts the aircraft level at (x, y, z), facing +x, at rest.
  static void Put(float x, float y, float z) {
    const float at[3] = {x, y, z}, still[4] = {};
    sim::SetAircraftPose(&P(), sim::HeadingFrame(0.0f, at), still);
  }
  int Plays(const kxsound* s) const {
    int n = 0;
    for (const std::string& call : sound_.calls) n += call == "play " + std::to_string(s->voice) + " once";
    return n;
  }
  int Popped() const {
    int n = 0;
    for (const balloonrec* b = contest_->first_balloon; b; b = b->next) n += b->popped;
    return n;
  }
  balloonrec* Unpopped() const {
    for (balloonrec* b = contest_ ? contest_->first_balloon : nullptr; b; b = b->next)
      if (!b->popped && b->body) return b;
    return nullptr;
  }
  // The propeller, a little ahead of the aircraft's centre, into a balloon
  // not yet popped; false when none is left.
  bool IntoNextBalloon() {
    target_ = Unpopped();
    if (!target_) return false;
    Put(target_->frame.R.x, target_->frame.R.y, target_->frame.R.z);
    return true;
  }
  // What the frame update made of the last balloon flown into.
  void Judged() {
    popped_.push_back(target_->popped);
    scores_.push_back(P().contest.score);
  }
  // The beeps since the last look, by pitch.
  void Listen() {
    if (!session.media.beep_sound) return;
    for (int n = Plays(session.media.beep_sound); n > beeps_; ++beeps_)
      heard_.push_back(static_cast<int>(std::lround(sound_.voices.at(session.media.beep_sound->voice).pitch * 22050.0f)));
  }

  // In the simulation, every second frame: true keeps the queued keys waiting.
  bool Script() {
    if (!Flying()) return WaitForSignal();
    // Throttle closed and the brake on, or the engine rolls the aircraft off
    // its line-up; smoke on.
    Send(0.0f, 0.0f, -1.0f, 0.0f, 1.0f, 1.0f);
    simplayer& p = P();
    Listen();
    if (phase_ != kDone && GiveUp(kMostSteps)) {
      stalled_ = phase_;
      phase_ = kDone;
      return false;
    }
    switch (phase_) {
      case kMenu:
        kxsystem::SeedRandom(1);  // the same balloons every run
        Command("ContestSelect(2)");
        contest_ = session.run.current_contest;
        if (!contest_ || contest_->kind != kContestBalloonPop) return false;
        selected_ = contest_->running == 0 && std::fabs(At()[0] - contest_->start_position[0]) < 1e-3f;
        Key(kxcode::kKeyReturn);  // start
        phase_ = kCountdown;
        return false;
      case kCountdown:
        started_ = started_ || contest_->running == 1;
        if (contest_->start_time < 0) break;
        phaseAtSignal_ = p.contest.phase;
        firstCountdown_ = heard_;
        Particles();
        if (!IntoNextBalloon()) return false;
        phase_ = kPop;
        break;
      case kPop:
        Judged();
        if (!IntoNextBalloon()) return false;
        phase_ = kPopAgain;
        break;
      case kPopAgain:
        Judged();
        balloonsLeft_ = contest_->balloons_left;
        balloonSounds_ = Plays(session.media.balloon_sound);
        Put(contest_->start_position[0] + 30.0f, 0.0f, 30.0f);
        kxdaircraftinstance::Loaded(0)->Crash = 1;  // as the dynamics report one
        phase_ = kCrashed;
        break;
      case kCrashed:
        if (p.crash_timer > 0.0f) {
          held_ = true;
          scoreWhileCrashed_ = p.contest.score;
          break;
        }
        // Set up again after the crash time: lined up, every balloon back.
        restartedAt_ = sim::FrameTiming().elapsed_sim_time;
        restartClock_ = contest_->start_time;
        restartRunning_ = contest_->running;
        restartScore_ = p.contest.score;
        restartBalloons_ = contest_->balloons_left;
        restartPopped_ = Popped();
        restartX_ = At()[0];
        Put(contest_->start_position[0] + 2.0f, contest_->start_position[1], At()[2]);  // too early
        phase_ = kSecondCountdown;
        break;
      case kSecondCountdown:
        falseStartClock_ = contest_->start_time;
        falseStartPhase_ = p.contest.phase;
        Command("ContestStop");
        stopped_ = contest_->running == 0;
        stopClock_ = contest_->start_time;
        phase_ = kStopped;
        break;
      case kStopped:
        // Stopped, the clock stands; the menu's start sets it up again.
        clockStood_ = contest_->start_time == stopClock_;
        Command("ContestStart");
        menuStarted_ = contest_->running == 1 && contest_->start_time == -6999 && session.run.current_contest == contest_;
        phase_ = kMenuStarted;
        break;
      case kMenuStarted:
        countingAgain_ = contest_->start_time > -6999 && contest_->start_time < 0;
        Command("ContestSelect(0)");  // turned off
        turnedOff_ = contest_->running == 0 && !session.run.current_contest && session.run.selected_contest == 0;
        Key(kxcode::kKeyEscape);
        phase_ = kDone;
        return false;
      default:
        return false;
    }
    if (phase_ == kCrashed && !crashedAt_) crashedAt_ = sim::FrameTiming().elapsed_sim_time;
    return true;
  }

  // The exhaust puffs and the smoke of the aircraft standing at its start.
  void Particles() {
    const kxdflightstate& s = *P().flight_state;
    exhausts_ = s.exhaust_count;
    smokeAmount_ = s.smoke_amount;
    if (s.exhaust_count < 1) return;
    const particle* row = P().particles.exhaust_particles[0];
    newestPuff_ = std::hypot(row[0].position[0] - s.exhaust[0].position[0], row[0].position[1] - s.exhaust[0].position[1],
                             row[0].position[2] - s.exhaust[0].position[2]);
    newestAlpha_ = row[0].alpha;
    olderAlpha_ = row[simplayer::kExhaustRowLength - 1].alpha;
    int n = 0;
    for (const particle* q = P().particles.smoke_list; q && n < simplayer::kSmokePool; q = q->next, ++n) {
      if (q->life <= 0.0f) continue;
      ++smoke_;
      farthestSmoke_ =
          std::max(farthestSmoke_, std::hypot(q->position[0] - s.position()[0], q->position[1] - s.position()[1]));
    }
  }

  phase phase_ = kMenu, stalled_ = kDone;
  contestrec* contest_ = nullptr;
  balloonrec* target_ = nullptr;
  bool selected_ = false, started_ = false, held_ = false;
  bool stopped_ = false, clockStood_ = false, menuStarted_ = false, countingAgain_ = false, turnedOff_ = false;
  int stopClock_ = 0;
  int beeps_ = 0, balloonsLeft_ = 0, balloonSounds_ = 0, scoreWhileCrashed_ = -1;
  int restartClock_ = 0, restartRunning_ = 0, restartScore_ = -1, restartBalloons_ = 0, restartPopped_ = -1;
  sim::contestphase phaseAtSignal_ = sim::kContestNoPhase, falseStartPhase_ = sim::kContestNoPhase;
  int falseStartClock_ = 0, exhausts_ = 0, smoke_ = 0;
  float crashedAt_ = 0, restartedAt_ = 0, restartX_ = 0, smokeAmount_ = 0;
  float newestPuff_ = 1e9f, newestAlpha_ = 0, olderAlpha_ = 1, farthestSmoke_ = 0;
  std::vector<int> heard_, firstCountdown_, popped_, scores_;
};

TEST_F(ContestProgramTest, BalloonPopIsStartedJudgedRestartedAfterACrashAndSeesAFalseStart) {
  window_.beforeEvent = [this] { return Script(); };
  Key(kxcode::kKeyReturn);  // fly
  EXPECT_EQ(Run(), 0);
  ASSERT_EQ(stalled_, kDone) << "stalled";

  // Selected from the menu (lined up, not running), started with Return.
  EXPECT_TRUE(selected_);
  EXPECT_TRUE(started_);
  EXPECT_EQ(firstCountdown_, (std::vector<int>{13000, 13000, 13000, 16000}));
  EXPECT_EQ(phaseAtSignal_, sim::kContestFlying);
  EXPECT_TRUE(simtest::InOrder(Text("kx.log"), {"contest=balloon pop with 20 balloons",
                                                "contest=balloon pop with 20 balloons"}));

  // The propeller popped one balloon at each place it was put.
  EXPECT_EQ(popped_, (std::vector<int>{1, 1}));
  EXPECT_EQ(scores_, (std::vector<int>{1, 2}));
  EXPECT_EQ(balloonsLeft_, 18);
  EXPECT_EQ(balloonSounds_, 2);

  // Crashed, held for the crash time without judging, then set up again.
  EXPECT_TRUE(held_);
  EXPECT_EQ(scoreWhileCrashed_, 2);
  EXPECT_NEAR(restartedAt_ - crashedAt_, session.settings.crashtime, 0.1f);
  EXPECT_EQ(restartRunning_, 1);
  EXPECT_LE(restartClock_, -6999 + 17);
  EXPECT_EQ(restartScore_, 0);
  EXPECT_EQ(restartBalloons_, 20);
  EXPECT_EQ(restartPopped_, 0);
  EXPECT_NEAR(restartX_, contest_->start_position[0], 1e-3f);

  // Moved before the next signal: a false start.
  EXPECT_LT(falseStartClock_, 0);
  EXPECT_EQ(falseStartPhase_, sim::kContestFalseStart);

  // The menu's commands: stopped, the clock stands; started again, it counts
  // down from the set-up; turned off, no contest is left.
  EXPECT_TRUE(stopped_);
  EXPECT_TRUE(clockStood_);
  EXPECT_TRUE(menuStarted_);
  EXPECT_TRUE(countingAgain_);
  EXPECT_TRUE(turnedOff_);
  EXPECT_TRUE(simtest::InOrder(Text("kx.log"), {"contest=balloon pop with 20 balloons", "contest=stopped",
                                                "contest=balloon pop with 20 balloons", "contest=stopped"}));

  // Exhaust puffs leave the engine and fade down their row; the smoke switch
  // on, the smoke pool holds living particles about the aircraft.
  EXPECT_EQ(exhausts_, 1);
  EXPECT_LT(newestPuff_, 0.2f);
  EXPECT_GT(newestAlpha_, 0.19f);
  EXPECT_LT(olderAlpha_, newestAlpha_);
  EXPECT_GT(smokeAmount_, 0.9f);
  EXPECT_GT(smoke_, 100);
  EXPECT_LT(farthestSmoke_, 20.0f);
}

}  // namespace
