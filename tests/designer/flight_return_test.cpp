// The designer entered from a flight (F2) and left with Escape, through the
// whole program without any input device: the flight comes back, as the
// menu's Fly would have started it, and it runs, whatever pause the flight
// that was left had, with the keypad at rest.
#include "designer/designer.h"
#include "designer/state.h"
#include "dynamics/flight_state.h"
#include "platform/callbacks.h"
#include "platform/input_devices.h"
#include "platform/pinboard.h"
#include "sim/app_hooks.h"
#include "sim/config_files.h"
#include "sim/frame_update.h"
#include "sim/session.h"
#include "tests/sim/program_support.h"

namespace {

class FlightReturnTest : public simtest::clockedprogramtest {
 protected:
  void SetUp() override {
    clockedprogramtest::SetUp();
    sim::applicationhooks hooks;
    svdesign::InstallHooks(&hooks);
    sim::SetHooks(hooks);
    CopySampleAircraft();
  }
  void TearDown() override {
    sim::SetHooks(sim::applicationhooks());
    svdesign::Reset();
    clockedprogramtest::TearDown();
  }

  // Fly, the keys given in the flight, F2, then Escape in the designer;
  // watches what follows for a second before the last Escape.
  void Run(std::initializer_list<int> inFlight) {
    window_.beforeEvent = [this] {
      const bool flying = Flying();
      designed_ = designed_ || kxsystem::callbacks.draw == &svdesign::Draw;
      if (flying && !wasFlying_) ++entries_;
      wasFlying_ = flying;
      if (!flying || entries_ < 2) return false;
      if (framesBack_ == 0) {
        const float* pad = input::Pinboard()->slots + sim::kControllerSlot;
        engineBack_ = pad[6];
        elevatorBack_ = pad[1];
      }
      paused_ = paused_ || sim::session.run.pause;
      rpm_ = sim::players[0].flight_state->engine_rpm;
      return ++framesBack_ < 60;
    };
    Key(kxcode::kKeyReturn);
    for (int k : inFlight) Key(k);
    Key(kxcode::kKeyF1 + 1);
    Key(kxcode::kKeyEscape);
    Key(kxcode::kKeyEscape);  // from the flight back: to the menu
    EXPECT_EQ(programtest::Run(), 0);
  }

  int entries_ = 0, framesBack_ = 0;
  bool wasFlying_ = false, designed_ = false, paused_ = false;
  float rpm_ = 0.0f;
  float engineBack_ = 0.0f, elevatorBack_ = 0.0f;  // the keypad's values as the flight came back
};

TEST_F(FlightReturnTest, EscapeFromTheDesignerReturnsToTheFlightWithoutAnInputDevice) {
  Run({});
  EXPECT_EQ(kxinput::DeviceCount(), 0);
  EXPECT_TRUE(designed_);
  EXPECT_EQ(entries_, 2);
  EXPECT_GE(framesBack_, 60);
}

TEST_F(FlightReturnTest, AFlightLeftPausedForTheDesignerComesBackRunning) {
  Run({'p'});
  EXPECT_TRUE(designed_);
  ASSERT_EQ(entries_, 2);
  EXPECT_FALSE(paused_);
  EXPECT_GT(rpm_, 0.0f);
}

TEST_F(FlightReturnTest, AFlightLeftForTheDesignerComesBackWithTheKeypadAtRest) {
  Run({kxcode::kKeyPad0 + 7, kxcode::kKeyPad0 + 8});
  ASSERT_EQ(entries_, 2);
  EXPECT_EQ(engineBack_, -1.0f);
  EXPECT_EQ(elevatorBack_, 0.0f);
}

}  // namespace
