// A glider tow through the whole program: the trainer as player 1 and the
// glider as player 2, both with their tow hooks. In the simulation the
// "Glider tow" title is enabled, the tow key lines the two up and ties the
// rope, the trainer at full throttle pulls the glider along on its wheels,
// and the rope's detach leaves the glider free.
#include <cmath>
#include <cstdio>
#include <fstream>

#include "dynamics/tow.h"
#include "gui/menu.h"
#include "program_support.h"

namespace {

constexpr float kTowSeconds = 6.0f;     // at full throttle on the rope
constexpr float kFreeSeconds = 2.0f;    // after the release
constexpr float kCreepThrottle = -0.5f;  // until the rope is taut
constexpr float kTowThrottle = 1.0f;     // then, full throttle
constexpr int kMostSteps = 3000;
constexpr int kMostWaits = 30;           // steps for the tow key to tie the rope

float Speed(const simplayer& p) {
  const float* v = p.flight_state->velocity;
  return std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
}

class TowProgramTest : public simtest::transmittertest {
 protected:
  enum phase { kMenu, kLinedUp, kTowing, kReleased, kDone };

  void SetUp() override {
    transmittertest::SetUp();
    CopySampleAircraft();
    simtest::fs::path data = simtest::fs::path(KX_TEST_DATA) / "../../../data/aircraft";
    for (const char* folder : {"trainer", "glider"})
      simtest::fs::copy(data / folder, dir_ / "aircraft" / folder, simtest::fs::copy_options::recursive);
    std::ofstream(dir_ / "config/main.mcf") << "aircraft0  trainer\naircraft1  glider\n";
  }

  static simplayer& Tug() { return sim::players[0]; }
  static simplayer& Glider() { return sim::players[1]; }
  static float Now() { return sim::FrameTiming().elapsed_sim_time; }

  // In the simulation, every second frame: true keeps the queued keys waiting.
  bool Tow() {
    if (!Flying()) return WaitForSignal();
    if (phase_ != kDone && GiveUp(kMostSteps)) {
      stalled_ = phase_;
      phase_ = kDone;
      return false;
    }
    float throttle = -1.0f;
    switch (phase_) {
      case kMenu:
        bothLoaded_ = Tug().flight_state && Glider().flight_state;
        if (!bothLoaded_) {
          Key(kxcode::kKeyEscape);
          phase_ = kDone;
          return false;
        }
        titleEnabled_ = sim::MenuBar().tow_title && sim::MenuBar().tow_title->Disabled == 0;
        Key('f');
        phase_ = kLinedUp;
        Send(0.0f, 0.0f, throttle, 0.0f, -1.0f);
        return false;
      case kLinedUp:
        if (!sim::session.run.rope) {
          if (++waited_ < kMostWaits) break;
          Key(kxcode::kKeyEscape);  // the key tied no rope
          stalled_ = phase_;
          phase_ = kDone;
          return false;
        }
        rope_ = sim::session.run.rope;
        gap_ = Tug().flight_state->position()[0] - Glider().flight_state->position()[0];
        startX_ = Glider().flight_state->position()[0];
        towedAt_ = Now();
        phase_ = kTowing;
        break;
      case kTowing:
        // Slack taken up at a crawl, as a tug pilot would: a jerk breaks the rope.
        tensioned_ = tensioned_ || rope_->Tension > 0.0f;
        throttle = tensioned_ ? kTowThrottle : kCreepThrottle;
        held_ = held_ && rope_->Active[0] && rope_->Active[1];
        if (Now() - towedAt_ < kTowSeconds) break;
        towedSpeed_ = Speed(Glider());
        towedX_ = Glider().flight_state->position()[0];
        kxscript::Execute("FSchleppDetach");  // the menu's "Detach rope"
        released_ = !sim::session.run.rope && !kxdynamics::FirstHook(Glider().flight_state->component_root)->Rope;
        releasedAt_ = Now();
        phase_ = kReleased;
        break;
      case kReleased:
        throttle = 1.0f;
        if (Now() - releasedAt_ < kFreeSeconds) break;
        freeSpeed_ = Speed(Glider());
        tugSpeed_ = Speed(Tug());
        Key(kxcode::kKeyEscape);
        phase_ = kDone;
        Send(0.0f, 0.0f, -1.0f, 0.0f, -1.0f);
        return false;
      default:
        return false;
    }
    Send(0.0f, 0.0f, throttle, 0.0f, -1.0f);
    return true;
  }

  phase phase_ = kMenu, stalled_ = kDone;
  int waited_ = 0;
  kxdrope00* rope_ = nullptr;
  bool bothLoaded_ = false, titleEnabled_ = false, tensioned_ = false, held_ = true, released_ = false;
  float gap_ = 0, startX_ = 0, towedAt_ = 0, towedSpeed_ = 0, towedX_ = 0, releasedAt_ = 0;
  float freeSpeed_ = 0, tugSpeed_ = 0;
};

TEST_F(TowProgramTest, TrainerTowsTheGliderUntilTheRopeIsDetached) {
  window_.beforeEvent = [this] { return Tow(); };
  Key(kxcode::kKeyReturn);  // fly
  EXPECT_EQ(Run(), 0);
  ASSERT_TRUE(bothLoaded_);
  ASSERT_EQ(stalled_, kDone) << "stalled";
  std::printf("gap %.2f m, glider %.2f m/s after %.2f m on the rope, %.2f m/s free; tug %.2f m/s\n", gap_,
              towedSpeed_, towedX_ - startX_, freeSpeed_, tugSpeed_);

  EXPECT_TRUE(titleEnabled_);
  // The glider lined up one rope length behind the trainer.
  EXPECT_NEAR(gap_, sim::session.settings.fschlepp_rope_length, 0.5f);
  // Pulled along on a rope that held: it gained speed and ground.
  EXPECT_TRUE(tensioned_);
  EXPECT_TRUE(held_);
  // On its wheels it rolls along at the trainer's pace.
  EXPECT_GT(towedSpeed_, 5.0f);
  EXPECT_GT(towedX_ - startX_, 10.0f);
  // Released, nothing pulls it: it slows down while the trainer runs on.
  EXPECT_TRUE(released_);
  EXPECT_LT(freeSpeed_, towedSpeed_);
  EXPECT_GT(tugSpeed_, freeSpeed_ + 3.0f);
}

}  // namespace
