// The flight menu's recording commands as the menu runs them: playing a
// recording starts it from its first frame, whatever it was doing.
#include "sim/player.h"
#include "sim/recording.h"
#include "tests/sim/windows/menu_support.h"

namespace {

using sim::players;

class FlightActionsTest : public menutest::menutest {
 protected:
  void TearDown() override {
    players[0].next = nullptr;
    menutest::TearDown();
  }
};

TEST_F(FlightActionsTest, PlayRewindsEveryRecordingToItsFirstFrameAndLeavesPlayersWithoutOne) {
  simplayer& first = players[0];
  simplayer& second = players[1];
  first.next = &second;
  struct {
    int state;
    float time;
    int frame;
  } rows[] = {{sim::kRecordPlaying, 7.5f, 200}, {sim::kRecordIdle, 12.0f, 340}};
  for (const auto& row : rows) {
    first.rec_present = 1;
    first.rec_state = row.state;
    first.rec_time = row.time;
    first.rec_frame = row.frame;
    first.rec_write = first.rec_positions + 9 * row.frame;
    second.rec_present = 0;
    second.rec_state = sim::kRecordIdle;
    second.rec_time = 3.0f;
    second.rec_frame = 5;
    second.rec_write = second.rec_positions + 45;
    Run("RecordFlightPlay(0)");
    SCOPED_TRACE(row.state);
    EXPECT_EQ(first.rec_state, sim::kRecordPlaying);
    EXPECT_EQ(first.rec_time, 0.0f);
    EXPECT_EQ(first.rec_frame, 1);
    EXPECT_EQ(first.rec_write, first.rec_positions);
    EXPECT_EQ(second.rec_state, sim::kRecordIdle);
    EXPECT_EQ(second.rec_time, 3.0f);
    EXPECT_EQ(second.rec_frame, 5);
    EXPECT_EQ(second.rec_write, second.rec_positions + 45);
  }
}

}  // namespace
