// The contest window's lines and the large messages, worked out without
// OpenGL from hand-made contest and player records.
#include "sim/views/contest_display.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "sim/hud_texts.h"
#include "sim/player.h"
#include "sim/session.h"
#include "sim/world/contest_record.h"

namespace {

class ContestDisplay : public ::testing::Test {
 protected:
  void SetUp() override {
    sim::ResetHudTexts();
    contest_.kind = kContestDragRace;
    contest_.running = 1;
    contest_.best_time = -1;
    contest_.best_points = -1;
    player_->contest.phase = sim::kContestFlying;
    session_.run.player_count = 1;
  }
  // The window lines' texts, then the message.
  std::vector<std::string> Lines() {
    sim::ContestTexts(contest_, *player_, session_, &texts_);
    std::vector<std::string> lines;
    for (int i = 0; i < texts_.count; ++i) lines.push_back(texts_.lines[i].text);
    return lines;
  }
  std::string Message() {
    Lines();
    return texts_.message;
  }

  contestrec contest_{};
  std::unique_ptr<simplayer> player_ = std::make_unique<simplayer>();
  simsession session_;
  sim::contesttexts texts_;
};

TEST_F(ContestDisplay, ClockSplitsMillisecondsIntoSecondsAndHundredthsTowardZero) {
  struct {
    int ms, seconds, hundredths;
  } rows[] = {{65430, 65, 43}, {12340, 12, 34}, {-2500, -2, -50}, {-500, 0, -50}, {999, 0, 99}, {0, 0, 0}};
  for (const auto& row : rows) {
    int s = 0, h = 0;
    sim::ContestClock(row.ms, &s, &h);
    EXPECT_EQ(s, row.seconds) << row.ms;
    EXPECT_EQ(h, row.hundredths) << row.ms;
  }
}

TEST_F(ContestDisplay, CountdownGetReadyAndGoFollowTheClock) {
  struct {
    int ms;
    const char* message;
  } rows[] = {{-6999, "7 seconds to go"}, {-2500, "3 seconds to go"}, {-1500, "2 seconds to go"},
              {-1000, "Get Ready"},       {-500, "Get Ready"},        {0, "GO"},
              {500, "GO"},                {1000, ""}};
  for (const auto& row : rows) {
    player_->contest.time = row.ms;
    EXPECT_EQ(Message(), row.message) << row.ms;
  }
  session_.run.pause = 1;  // paused: the window lines stay, the message goes
  player_->contest.time = -2500;
  EXPECT_EQ(Lines(), (std::vector<std::string>{"record: none yet"}));
  EXPECT_EQ(Message(), "");
  player_->contest.time = 500;
  EXPECT_EQ(Lines(), (std::vector<std::string>{"record: none yet", "Time: 0sec50"}));
}

TEST_F(ContestDisplay, BeforeTheStartTheWindowAsksForEnterInYellowAndShowsNoMessage) {
  contest_.running = 0;
  contest_.best_time = 65430;
  player_->contest.time = -2500;
  EXPECT_EQ(Lines(), (std::vector<std::string>{"Press 'Enter' to Start", "Best: 65sec43"}));
  EXPECT_EQ(texts_.lines[0].colour[2], 0.0f);  // yellow
  EXPECT_EQ(texts_.lines[1].colour[2], 1.0f);  // then white
  EXPECT_EQ(Message(), "");
}

TEST_F(ContestDisplay, BalloonPopCountsDownTheRemainingTime) {
  contest_.kind = kContestBalloonPop;
  contest_.balloons_left = 5;
  player_->contest.score = 3;
  player_->contest.time = 12340;
  session_.settings.contest_balloonpop_time = 180;
  EXPECT_EQ(Lines(), (std::vector<std::string>{"Balloons left: 5", "Balloons popped: 3", "record: none yet",
                                               "remaining time: 167sec65"}));
  contest_.balloons_left = 0;
  EXPECT_EQ(Lines().front(), "Balloons popped: 3");
}

TEST_F(ContestDisplay, PylonRaceNamesTheNextPylonOrNoneWithoutPylons) {
  contest_.kind = kContestPylonRace;
  player_->contest.rounds_left = 2;
  player_->contest.pylon = &contest_.pylons[2];
  player_->contest.time = 5000;
  EXPECT_EQ(Lines(), (std::vector<std::string>{"rounds to go: 2", "pylon to clear: 3", "record: none yet",
                                               "Time: 5sec00"}));
  player_->contest.pylon = nullptr;  // a race without pylons: nothing to name
  EXPECT_EQ(Lines()[1], "");
  player_->contest.pylons_missed = 1;
  EXPECT_EQ(Message(), "Pylon Missed");
  player_->contest.phase = sim::kContestFinished;  // no longer racing: two empty lines
  EXPECT_EQ(Lines()[0] + Lines()[1], "");
}

TEST_F(ContestDisplay, SpotLandingShowsScoresTheLastAttemptAndTheGreenHint) {
  contest_.kind = kContestSpotLanding;
  player_->contest.time = 4000;
  player_->contest.last_points = -100;
  EXPECT_EQ(Lines(), (std::vector<std::string>{"best score: none yet", "record: none yet", "Time: 4sec00"}));
  contest_.best_points = 80;
  player_->contest.last_points = -1;
  player_->contest.hint = 1;
  EXPECT_EQ(Lines(), (std::vector<std::string>{"best score: 80 points", "last attempt: invalid",
                                               "Attempt to land in green area...", "record: none yet",
                                               "Time: 4sec00"}));
  EXPECT_EQ(texts_.lines[2].colour[0], 0.0f);  // green
  EXPECT_EQ(Message(), "");                    // the hint is up: no result message
  player_->contest.hint = 0;
  player_->contest.last_points = 80;
  EXPECT_EQ(Message(), "last attempt: 80 points");
}

TEST_F(ContestDisplay, ResultsNameARecordTheBestTimeOrTheWinner) {
  player_->contest.phase = sim::kContestFinished;
  player_->contest.time = 65430;
  contest_.best_time = 65430;
  EXPECT_EQ(Message(), "New Record: 65sec43");
  contest_.best_time = 60000;
  EXPECT_EQ(Message(), "Time: 65sec43");
  session_.run.player_count = 2;
  contest_.winner = player_.get();
  EXPECT_EQ(Message(), "Winner!!! Time: 65sec43");
  contest_.best_time = 65430;  // the best time wins over the winner's message
  EXPECT_EQ(Message(), "Best: 65sec43");
}

TEST_F(ContestDisplay, TimeOverAndDisqualificationEndTheWindowWithTheirMessage) {
  player_->contest.time = 5000;
  for (sim::contestphase phase : {sim::kContestTimeOver, sim::kContestFalseStart}) {
    player_->contest.phase = phase;
    EXPECT_EQ(Lines(), (std::vector<std::string>{"record: none yet"}));
    EXPECT_EQ(Message(), phase == sim::kContestTimeOver ? "Time is up" : "DISQUALIFIED");
  }
}

}  // namespace
