// Without an aircraft, through the whole program: a player 1 whose aircraft
// does not load is never flown into empty views, and a flight whose aircraft
// is lost to a failed reload still takes the keys that need no aircraft,
// Escape first among them.
#include <cstring>
#include <fstream>
#include <string>

#include "sim/session.h"
#include "tests/sim/program_support.h"

namespace {

using NoAircraftProgramTest = simtest::clockedprogramtest;

TEST_F(NoAircraftProgramTest, FlyWithoutAnAircraftStaysInTheMenuAndSaysWhy) {
  CopySampleAircraft();
  std::ofstream(dir_ / "config/main.mcf") << "aircraft0  nosuchplane\n";
  bool flew = false;
  float notice = 0.0f;
  std::string text;
  int frames = 0;
  window_.beforeEvent = [&] {
    flew = flew || Flying();
    if (sim::session.run.status_time > notice) notice = sim::session.run.status_time, text = sim::session.run.status_text;
    return ++frames == 2;  // the key arrives once the menu has loaded
  };
  Key(kxcode::kKeyReturn);
  Key(kxcode::kKeyF1 + 9);  // an action that is no key: one more frame of the menu
  EXPECT_EQ(Run(), 0);
  EXPECT_FALSE(flew);
  EXPECT_NE(Text("kx.log").find("sim:  no aircraft to fly; staying in the menu\n"), std::string::npos);
  EXPECT_GT(notice, 0.0f);
  EXPECT_NE(text.find("Aircraft I"), std::string::npos) << text;
}

// Shift+F12 after the aircraft's files went away: the reload fails, player 1
// has no aircraft, the status line says so, and the session keys act.
TEST_F(NoAircraftProgramTest, AFailedReloadLeavesTheSessionKeysWorking) {
  CopySampleAircraft();
  bool lost = false, backInMenu = false;
  int pausedWithout = -1;
  std::string status;
  window_.beforeEvent = [&] {
    if (Flying() && !lost && sim::players[0].flight_state) {
      simtest::fs::remove_all(dir_ / "aircraft/christeneagle");
      return false;
    }
    if (Flying() && !sim::players[0].flight_state) {
      if (!lost) status = sim::session.run.status_text;
      lost = true;
      pausedWithout = sim::session.run.pause;
    }
    backInMenu = backInMenu || (lost && kxsystem::callbacks.update == &sim::MenuIdle);
    return false;
  };
  Key(kxcode::kKeyReturn);
  Key(kxcode::kKeyF12, kxcode::kModShift);
  Key('p');
  Key(kxcode::kKeyEscape);
  EXPECT_EQ(Run(), 0);
  EXPECT_TRUE(lost);
  EXPECT_NE(status.find("christeneagle could not be loaded"), std::string::npos) << status;
  EXPECT_EQ(pausedWithout, 1);
  EXPECT_TRUE(backInMenu);
  EXPECT_EQ(Text("kx.log").find("still held"), std::string::npos);
}

}  // namespace
