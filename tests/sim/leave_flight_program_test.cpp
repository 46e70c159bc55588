// Leaving a flight through the whole program and coming back: whatever the
// flight left behind (a tow rope, tied, broken or cut by a reload; a pause;
// the keypad's sticks and switches) must not reach the next flight or the
// menu. Every frame runs through the
// program's own loop on the test's clock, without any input device.
#include <algorithm>
#include <cmath>
#include <fstream>
#include <initializer_list>
#include <string>
#include <vector>

#include "dynamics/flight_state.h"
#include "dynamics/tow.h"
#include "graphics/geometric_object.h"
#include "platform/pinboard.h"
#include "sim/config_files.h"
#include "sim/player.h"
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
      kxdrope00* rope = sim::session.run.rope;
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
    EXPECT_EQ(sim::session.run.rope, nullptr);
    std::string log = Text("kx.log");
    EXPECT_EQ(Count(log, "sim:  switching to simulation mode..."), c.flights);
    EXPECT_EQ(sim::session.settings.aircraft1[0] == 0, c.secondRemoved);
    EXPECT_EQ(log.find("still held"), std::string::npos);
  }
}

// A pause taken in one flight ends with it: the next flight entered from the
// menu runs from its first frame, its engine turning and its drawn tree
// following the simulation.
TEST_F(LeaveFlightProgramTest, AFlightLeftPausedLeavesTheNextOneRunning) {
  CopySampleAircraft();
  int entries = 0, framesOfSecond = 0;
  bool wasFlying = false, pausedInFirst = false, pausedInSecond = false;
  float rpm = 0.0f, drawnOff = -1.0f;
  window_.beforeEvent = [&] {
    const bool flying = Flying();
    if (flying && !wasFlying) ++entries;
    wasFlying = flying;
    if (!flying) return false;
    if (entries == 1) pausedInFirst = pausedInFirst || sim::session.run.pause;
    if (entries != 2) return false;
    pausedInSecond = pausedInSecond || sim::session.run.pause;
    const kxdflightstate& st = *sim::players[0].flight_state;
    const auto* drawn = kxnode::As<kxgeometricobject>(st.graphics_root);
    // The drawn parts stand in the world: the nearest one within the aircraft.
    drawnOff = 1e9f;
    for (kxnode* c = drawn ? drawn->firstChild : nullptr; c; c = c->nextSibling)
      if (const auto* part = kxnode::As<kxgeometricobject>(c))
        drawnOff = std::min(drawnOff, std::hypot(part->Matrix.R.x - st.position()[0],
                                                 part->Matrix.R.y - st.position()[1],
                                                 part->Matrix.R.z - st.position()[2]));
    rpm = st.engine_rpm;
    return ++framesOfSecond < 60;  // a second of flight before the Escape
  };
  Keys({kxcode::kKeyReturn, 'p', kxcode::kKeyEscape, kxcode::kKeyReturn, kxcode::kKeyEscape});
  EXPECT_EQ(Run(), 0);
  EXPECT_EQ(entries, 2);
  EXPECT_TRUE(pausedInFirst);
  EXPECT_FALSE(pausedInSecond);
  EXPECT_EQ(sim::session.run.pause, 0);
  EXPECT_GT(rpm, 0.0f);
  EXPECT_LT(drawnOff, 1.0f);
}

// The keypad belongs to the flight it was pressed in: a flight entered from
// the menu and one after Shift+F12 start with the engine at idle and the
// sticks centred, while a crash reset inside a flight keeps what the pilot
// holds.
TEST_F(LeaveFlightProgramTest, EachFlightStartsWithTheKeypadAtRest) {
  CopySampleAircraft();
  const int esc = kxcode::kKeyEscape, fly = kxcode::kKeyReturn, num7 = kxcode::kKeyPad0 + 7,
            num8 = kxcode::kKeyPad0 + 8;
  struct step {
    int key;
    bool check;  // what follows is checked: the engine's and the elevator's value
    float engine, elevator;
    bool crash = false;  // the aircraft crashed long enough for its reset in this step's frame
  };
  const step steps[] = {
      {fly, true, -1.0f, 0.0f},         {num7, true, 1.0f, 0.0f},         {num8, true, 1.0f, 0.1f},
      {num8, true, 1.0f, 0.2f, true},   {esc, false, 0.0f, 0.0f},         {fly, true, -1.0f, 0.0f},
      {num7, true, 1.0f, 0.0f},         {num8, true, 1.0f, 0.1f},         {kShiftF12, true, -1.0f, 0.0f},
      {esc, false, 0.0f, 0.0f},
  };
  struct seen {
    float engine, elevator, crashTimer;
  };
  std::vector<seen> after;  // after[i]: the state once step i and a frame have run
  int handed = 0;
  window_.beforeEvent = [&] {
    const float* pad = input::Pinboard()->slots + sim::kControllerSlot;
    if (handed > 0) after.push_back({pad[6], pad[1], sim::players[0].crash_timer});
    if (handed < static_cast<int>(std::size(steps)) && steps[handed].crash)
      sim::players[0].crash_timer = sim::session.settings.crashtime;
    ++handed;
    return false;
  };
  for (const step& k : steps) Keys({k.key});
  EXPECT_EQ(Run(), 0);
  ASSERT_GE(after.size(), std::size(steps));
  for (size_t i = 0; i < std::size(steps); ++i) {
    if (!steps[i].check) continue;
    EXPECT_NEAR(after[i].engine, steps[i].engine, 1e-6f) << "step " << i;
    EXPECT_NEAR(after[i].elevator, steps[i].elevator, 1e-6f) << "step " << i;
    if (steps[i].crash) {
      EXPECT_EQ(after[i].crashTimer, 0.0f) << "the crash reset ran";
    }
  }
  EXPECT_EQ(Count(Text("kx.log"), "sim:  switching to simulation mode..."), 2);
}

}  // namespace
