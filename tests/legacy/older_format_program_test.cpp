// An older-format model (piccolo) in flight through the whole program,
// without any input device: Shift+F12 loads it again through its own loader
// and it flies on; R says that it cannot be recorded instead of failing
// without a word.
#include <fstream>
#include <string>

#include "legacy/model_state.h"
#include "sim/frame_update.h"
#include "sim/session.h"
#include "tests/legacy/program_support.h"
#include "tests/sim/program_support.h"

namespace {

using namespace dnsmodel;

class OlderFormatProgramTest : public legacytest::legacyprogram<simtest::clockedprogramtest> {
 protected:
  void SetUp() override {
    legacyprogram::SetUp();
    std::ofstream(dir_ / "config/main.mcf") << "aircraft0 _alx_piccolo\n";
  }
};

TEST_F(OlderFormatProgramTest, ShiftF12ReloadsItThroughItsOwnLoaderAndRSaysItIsNotRecorded) {
  const void* before = nullptr;
  const void* after = nullptr;
  bool flyingAfter = false;
  sim::recordstate recordState = static_cast<sim::recordstate>(-1);
  std::string status;
  int step = 0;
  window_.beforeEvent = [&] {
    if (!Flying()) return false;
    const simplayer& p = sim::players[0];
    switch (step) {
      case 0:
        before = Runtime().state.model;
        Key(kxcode::kKeyF12, kxcode::kModShift);
        ++step;
        return false;
      case 1:
        after = Runtime().state.model;
        flyingAfter = p.legacy && p.flight_state == &p.legacy_state;
        Key('r');
        ++step;
        return false;
      case 2:
        if (sim::session.run.status_time <= 0.0f) return true;
        status = sim::session.run.status_text;
        recordState = p.recording.state;
        Key(kxcode::kKeyEscape);
        ++step;
        return false;
      default:
        return false;
    }
  };
  Key(kxcode::kKeyReturn);
  EXPECT_EQ(Run(), 0);
  ASSERT_EQ(step, 3);
  EXPECT_NE(before, nullptr);
  EXPECT_NE(after, nullptr);
  EXPECT_TRUE(flyingAfter);
  const std::string log = Text("kx.log");
  EXPECT_EQ(log.find("loading aircraft _alx_piccolo=fail"), std::string::npos);
  EXPECT_EQ(log.find("loading aircraft copy _alx_piccolo"), std::string::npos);
  EXPECT_NE(log.find("sim:  _alx_piccolo is an older-format model and is not recorded\n"), std::string::npos);
  EXPECT_EQ(status, "Older-format models cannot be recorded");
  EXPECT_EQ(recordState, sim::kRecordIdle);
}

}  // namespace
