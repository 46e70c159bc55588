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
    sim::recordstate state;
    float time;
    int frame;
  } rows[] = {{sim::kRecordPlaying, 7.5f, 200}, {sim::kRecordIdle, 12.0f, 340}};
  for (const auto& row : rows) {
    first.recording.present = 1;
    first.recording.state = row.state;
    first.recording.time = row.time;
    first.recording.frame = row.frame;
    first.record_store.write = first.record_store.positions + 9 * row.frame;
    second.recording.present = 0;
    second.recording.state = sim::kRecordIdle;
    second.recording.time = 3.0f;
    second.recording.frame = 5;
    second.record_store.write = second.record_store.positions + 45;
    Run("RecordFlightPlay(0)");
    SCOPED_TRACE(static_cast<int>(row.state));
    EXPECT_EQ(first.recording.state, sim::kRecordPlaying);
    EXPECT_EQ(first.recording.time, 0.0f);
    EXPECT_EQ(first.recording.frame, 1);
    EXPECT_EQ(first.record_store.write, first.record_store.positions);
    EXPECT_EQ(second.recording.state, sim::kRecordIdle);
    EXPECT_EQ(second.recording.time, 3.0f);
    EXPECT_EQ(second.recording.frame, 5);
    EXPECT_EQ(second.record_store.write, second.record_store.positions + 45);
  }
}

}  // namespace
