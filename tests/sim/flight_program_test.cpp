// The first flight through the whole program: from the menu the fly action
// enters the simulation with the default scenery and aircraft, a scripted
// transmitter on the fake USB cable takes the model off, climbs and dives it
// into the ground, the frame update resets it after the crash time, and
// Escape returns to the menu, which writes the settings.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

#include "sim/world/world.h"
#include "program_support.h"

namespace {

constexpr float kHoldPitch = 1.5f;     // elevator per radian of pitch error
constexpr float kHoldDamping = 0.3f;   // elevator per rad/s of pitch rate
constexpr float kRotateSpeed = 8.0f;   // m/s, the nose comes up from here
constexpr float kClimbPitch = 0.15f;   // rad
constexpr float kDiveAt = 15.0f;       // m above the ground, then full down elevator
constexpr float kAfterReset = 1.0f;     // s flown after the reset, then Escape
constexpr float kGiveUpSeconds = 60.0f; // a flight that never crashes or resets ends here

bool Finite(const kxdflightstate& s) {
  for (int i = 0; i < 16; ++i)
    if (!std::isfinite(s.frame[i])) return false;
  for (float v : s.velocity)
    if (!std::isfinite(v)) return false;
  return true;
}

class FlightProgramTest : public simtest::transmittertest {
 protected:
  enum phase { kMenu, kTakeOff, kDive, kCrashed, kCruise, kDone };

  void SetUp() override {
    transmittertest::SetUp();
    CopySampleAircraft();
  }
  float Pitch(const kxdflightstate& s) { return std::asin(std::clamp(s.row_x()[2], -1.0f, 1.0f)); }

  // The pilot, every second frame: true keeps the scripted keys waiting.
  bool Fly() {
    if (!Flying()) return WaitForSignal();
    simplayer& p = sim::players[0];
    const kxdflightstate& s = *p.flight_state;
    const float now = sim::FrameTiming().elapsed_sim_time;
    if (phase_ == kMenu) {
      std::copy(s.position(), s.position() + 3, start_);
      saved_ = p.saved_frame;
      phase_ = kTakeOff;
    }
    allFinite_ = allFinite_ && Finite(s) && std::isfinite(p.viewer_position()[0]) && std::isfinite(p.view_zoom);
    float pitch = Pitch(s), rate = (pitch - lastPitch_) * 30.0f;
    lastPitch_ = pitch;
    auto hold = [&](float target) { return kHoldPitch * (target - pitch) - kHoldDamping * rate; };
    float elevator = 0.0f, throttle = -1.0f;
    switch (phase_) {
      case kTakeOff:
        throttle = 1.0f;
        elevator = hold(p.hud.speed < kRotateSpeed ? 0.0f : kClimbPitch);
        highest_ = std::max(highest_, p.hud.height_above_ground);
        if (p.hud.height_above_ground > kDiveAt) phase_ = kDive;
        if (s.crash) phase_ = kCrashed, crashedAt_ = now;
        break;
      case kDive:
        throttle = 1.0f;
        elevator = -1.0f;
        if (s.crash) phase_ = kCrashed, crashedAt_ = now;
        break;
      case kCrashed:
        if (p.crash_timer > 0.0f) timed_ = true;
        if (timed_ && !s.crash && p.crash_timer == 0.0f) {
          phase_ = kCruise;
          resetAt_ = now;
          std::copy(s.position(), s.position() + 3, reset_);
        }
        break;
      default:
        break;
    }
    if (phase_ == kCruise && now >= resetAt_ + kAfterReset) phase_ = kDone;
    if (now >= kGiveUpSeconds) phase_ = kDone;
    Send(0.0f, elevator, throttle, 0.0f, -1.0f);
    return phase_ != kDone;
  }

  phase phase_ = kMenu;
  float lastPitch_ = 0.0f, highest_ = 0.0f, crashedAt_ = -1.0f, resetAt_ = -1.0f;
  float start_[3] = {}, reset_[3] = {};
  kxmatrix saved_;
  bool timed_ = false, allFinite_ = true;
};

TEST_F(FlightProgramTest, FliesFromTheMenuCrashesIsResetAndReturns) {
  window_.beforeEvent = [this] { return Fly(); };
  Key(kxcode::kKeyReturn);   // fly
  Key(kxcode::kKeyEscape);   // after the flight: back to the menu
  EXPECT_EQ(Run(), 0);

  const sim::frametiming& t = sim::FrameTiming();
  std::printf("highest %.1f m, crash at %.2f s, reset at %.2f s\n", highest_, crashedAt_, resetAt_);
  EXPECT_GE(t.elapsed_sim_time, resetAt_ + kAfterReset);
  EXPECT_TRUE(allFinite_);
  // It stood at the scenery's first start, on the ground.
  EXPECT_NEAR(start_[0], -90.0f, 0.5f);
  EXPECT_NEAR(start_[1], 0.0f, 0.5f);
  EXPECT_NEAR(saved_.R.x, -90.0f, 1e-4f);
  EXPECT_GT(highest_, kDiveAt);
  ASSERT_GT(crashedAt_, 0.0f) << "no crash";
  ASSERT_GT(resetAt_, 0.0f) << "no reset";
  // crashtime (3 s) after the crash, measured in frames of 1/60 s.
  EXPECT_NEAR(resetAt_ - crashedAt_, sim::session.settings.crashtime, 0.1f);
  EXPECT_NEAR(reset_[0], saved_.R.x, 0.5f);
  EXPECT_NEAR(reset_[1], saved_.R.y, 0.5f);

  // The propeller's blur disc is made on the way into the flight, not for
  // the menu.
  EXPECT_GT(Text("kx.log").find("sim:  creating blurr="), Text("kx.log").find("sim:  switching to simulation mode..."));
  EXPECT_TRUE(simtest::InOrder(Text("kx.log"), {
      "sim:  switching to simulation mode...",
      "sim:  creating blurr=",
      "sim:  aircraft=(-90.00,0.00,",
      "saving configfile config/main.mcf=ok",
      "saving player configfile config/player1.mcf=ok",
  }));
  EXPECT_NE(Text("config/main.mcf").find("\nscenery  winzeln\n"), std::string::npos);
}

}  // namespace
