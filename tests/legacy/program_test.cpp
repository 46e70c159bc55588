// A legacy model flown through the whole program: the settings name the
// trainer, the menu loads it into the legacy runtime, the fly action enters
// the simulation, a scripted transmitter on the fake USB cable takes it off
// at full throttle with its propeller spinning and blurred, dives it into
// the ground, the frame update places it back after the crash time and it
// flies on, and Escape returns to the menu, which unloads it.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "legacy/legacy.h"
#include "legacy/loader.h"
#include "legacy/model_state.h"
#include "legacy/parts.h"
#include "legacy/pool.h"
#include "sim/app_hooks.h"
#include "sim/frame_update.h"
#include "tests/legacy/program_support.h"
#include "tests/sim/program_support.h"

namespace {

namespace fs = std::filesystem;
using namespace dnsmodel;

constexpr float kDiveAt = 12.0f;       // m above the start, then full down elevator
constexpr float kFlightSeconds = 45.0f;

class LegacyProgramTest : public legacytest::legacyprogram<simtest::transmittertest> {
 protected:
  enum phase { kMenu, kTakeOff, kDive, kCrashed, kFlyingOn, kDone };

  void SetUp() override {
    legacyprogram::SetUp();
    fs::path data = fs::path(KX_TEST_DATA) / "../../../data";
    fs::create_symlink(fs::canonical(data / "airlark"), dir_ / "airlark");
    std::ofstream(dir_ / "config/main.mcf") << "aircraft0 _alx_trainer\n";
  }

  static propeller* Prop() {
    for (object* p = Runtime().state.parts; p; p = p->next) {
      if (propeller* prop = As<propeller>(p)) return prop;
    }
    return nullptr;
  }

  // The pilot, every second frame: true keeps the scripted keys waiting.
  bool Fly() {
    if (kxsystem::callbacks.update != &sim::Update) return phase_ == kMenu && WaitForSignal();
    simplayer& p = sim::players[0];
    const kxdflightstate& s = *p.flight_state;
    const float now = sim::FrameTiming().elapsed_sim_time;
    if (phase_ == kMenu) {
      std::copy(s.position(), s.position() + 3, start_);
      phase_ = kTakeOff;
    }
    // Measured from the start rather than read from the player's record,
    // whose height the first frame update has yet to write.
    const float height = s.position()[2] - start_[2];
    float elevator = 0.0f, throttle = 1.0f;
    switch (phase_) {
      case kTakeOff:
        highest_ = std::max(highest_, height);
        rpm_ = std::max(rpm_, s.engine_rpm);
        if (const propeller* prop = Prop()) {
          blur_ = std::max(blur_, prop->blur);
          spun_ = spun_ || prop->base.X[1] != lastPropX_;
          lastPropX_ = prop->base.X[1];
        }
        if (height > kDiveAt) phase_ = kDive;
        if (s.crash) phase_ = kCrashed, crashedAt_ = now;
        break;
      case kDive:
        elevator = -1.0f;
        if (s.crash) phase_ = kCrashed, crashedAt_ = now;
        break;
      case kCrashed:
        throttle = -1.0f;
        if (s.crash && crashPosition_[2] != kUnset)
          frozen_ = frozen_ && std::equal(s.position(), s.position() + 3, crashPosition_);
        if (!s.crash && p.crash_timer == 0.0f) {
          phase_ = kFlyingOn, resetAt_ = now;
          std::copy(s.position(), s.position() + 3, reset_);
        } else if (crashPosition_[2] == kUnset) {
          std::copy(s.position(), s.position() + 3, crashPosition_);
        }
        break;
      case kFlyingOn:
        moved_ = moved_ || s.position()[0] != reset_[0];
        break;
      default:
        break;
    }
    if (now >= kFlightSeconds) phase_ = kDone;
    Send(0.0f, elevator, throttle, 0.0f, -1.0f);
    return phase_ != kDone;
  }

  static constexpr float kUnset = -12345.0f;
  phase phase_ = kMenu;
  float highest_ = 0.0f, rpm_ = 0.0f, blur_ = 0.0f, lastPropX_ = 0.0f, crashedAt_ = -1.0f, resetAt_ = -1.0f;
  float start_[3] = {}, reset_[3] = {}, crashPosition_[3] = {0, 0, kUnset};
  bool spun_ = false, frozen_ = true, moved_ = false;
};

TEST_F(LegacyProgramTest, TrainerFliesCrashesIsPlacedBackAndIsUnloaded) {
  window_.beforeEvent = [this] { return Fly(); };
  Key(kxcode::kKeyReturn);   // fly
  Key(kxcode::kKeyEscape);   // after the flight: back to the menu
  EXPECT_EQ(Run(), 0);

  std::printf("highest %.1f m, %.0f rpm, crash at %.2f s, placed back at %.2f s\n", highest_, rpm_, crashedAt_,
              resetAt_);
  EXPECT_GT(highest_, kDiveAt);
  EXPECT_GT(rpm_, 1000.0f);
  EXPECT_GT(blur_, 0.5f);
  EXPECT_TRUE(spun_);
  ASSERT_GT(crashedAt_, 0.0f) << "no crash";
  EXPECT_TRUE(frozen_) << "a crashed model is not stepped";
  ASSERT_GT(resetAt_, 0.0f) << "not placed back";
  EXPECT_NEAR(resetAt_ - crashedAt_, sim::session.settings.crashtime, 0.1f);
  EXPECT_NEAR(reset_[0], start_[0], 0.5f);
  EXPECT_NEAR(reset_[1], start_[1], 0.5f);
  EXPECT_TRUE(moved_) << "the model flies on after it is placed back";
  EXPECT_EQ(Runtime().state.model, nullptr);
  EXPECT_EQ(CurrentPool()->used, 0);
  EXPECT_TRUE(simtest::InOrder(Text("kx.log"), {
      "\nLOAD AL\n",
      "directsound:  register sound airlark/sound/engine.wav=",
      "ENDLOAD AL\n\n",
      "sim:  switching to simulation mode...",
      "DELETE BEGIN AL\n",
      "DELETE END AL\n",
  }));
}

}  // namespace
