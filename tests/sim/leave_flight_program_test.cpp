// Leaving a flight through the whole program and coming back: whatever the
// flight left behind (a tow rope, tied, broken or cut by a reload; a pause)
// must not reach the next flight or the menu. Every frame runs through the
// program's own loop on the test's clock, without any input device.
#include <fstream>
#include <initializer_list>
#include <string>
#include <vector>

#include "dynamics/tow.h"
#include "sim/session.h"
#include "tests/sim/program_support.h"

namespace {

constexpr int kShiftF12 = -1;  // stands for Shift+F12 in a key list

class LeaveFlightProgramTest : public simtest::clockedprogramtest {
 protected:
  // The trainer tows, the glider is towed: both have a hook.
  void UseTowPair() {
    CopySampleAircraft();
    simtest::fs::path data = simtest::fs::path(KX_TEST_DATA) / "../../../data/aircraft";
    for (const char* folder : {"trainer", "glider"})
      simtest::fs::copy(data / folder, dir_ / "aircraft" / folder, simtest::fs::copy_options::recursive);
    std::ofstream(dir_ / "config/main.mcf") << "aircraft0  trainer\naircraft1  glider\n";
  }
  void Keys(std::initializer_list<int> keys) {
    for (int k : keys) k == kShiftF12 ? Key(kxcode::kKeyF12, kxcode::kModShift) : Key(k);
  }
  static int Count(const std::string& text, const char* line) {
    int n = 0;
    for (size_t at = text.find(line); at != std::string::npos; at = text.find(line, at + 1)) ++n;
    return n;
  }
};

struct towcase {
  const char* name;
  bool breakRope;              // the rope breaks by itself before the next key
  std::vector<int> afterTow;   // keys after the tow key
  int flights;                 // entries into the simulation
  bool secondRemoved;
};

// Towing, then leaving, entering again, removing the glider, reloading: each
// later pose reset, detach and exit meets a rope that is gone, not one the
// stopped dynamics freed.
TEST_F(LeaveFlightProgramTest, ARopeLeftBehindNeverReachesTheNextFlightOrTheMenu) {
  const int esc = kxcode::kKeyEscape, fly = kxcode::kKeyReturn, removeSecond = kxcode::kKeyF1 + 2;
  const towcase cases[] = {
      {"leave and fly again", false, {esc, fly, esc, removeSecond, fly, esc}, 3, true},
      {"broken, leave and remove", true, {esc, removeSecond, fly, esc}, 2, true},
      {"broken, leave and fly again", true, {esc, fly, 'g', esc}, 2, false},
      {"reload while towing", false, {kShiftF12, 'g', esc, fly, esc}, 2, false},
  };
  for (const towcase& c : cases) {
    SCOPED_TRACE(c.name);
    TearDown();
    SetUp();
    UseTowPair();
    bool tied = false, broken = false;
    window_.beforeEvent = [&] {
      kxdrope00* rope = sim::session.rope;
      tied = tied || rope;
      if (rope && c.breakRope && !broken) {
        rope->Active[0] = rope->Active[1] = 0;  // as an overload leaves it
        broken = true;
      }
      return false;
    };
    Keys({fly, 'f'});
    for (int k : c.afterTow) Keys({k});
    EXPECT_EQ(Run(), 0);
    EXPECT_TRUE(tied);
    EXPECT_EQ(sim::session.rope, nullptr);
    std::string log = Text("kx.log");
    EXPECT_EQ(Count(log, "sim:  switching to simulation mode..."), c.flights);
    EXPECT_EQ(sim::session.aircraft1[0] == 0, c.secondRemoved);
    EXPECT_EQ(log.find("still held"), std::string::npos);
  }
}

}  // namespace
