// The flight-trace ribbon built without OpenGL: where it breaks, how the
// live aircraft starts it, and its speed colours.
#include "sim/views/trace.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

class TraceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    player_ = std::make_unique<simplayer>();
    for (float& t : player_->trace.time) t = -1.0f;
  }
  // Samples along x at the given positions, the last one newest.
  void Samples(const std::vector<float>& xs) {
    simplayer& p = *player_;
    for (size_t i = 0; i < xs.size(); ++i) {
      p.trace.position[i][0] = xs[i];
      p.trace.axis[i][1] = 1.0f;
      p.trace.speed[i] = static_cast<float>(i);
      p.trace.time[i] = static_cast<float>(i);
    }
    p.trace.index = static_cast<int>(xs.size()) - 1;
    p.trace.max_speed = static_cast<float>(xs.size()) - 1;
  }
  // Strip lengths in pairs.
  std::vector<int> Strips() {
    ribbon_ = std::make_unique<sim::traceribbon>();
    sim::BuildTraceRibbon(*player_, ribbon_.get());
    std::vector<int> pairs;
    for (int s = 0; s < ribbon_->strips; ++s) pairs.push_back((ribbon_->first[s + 1] - ribbon_->first[s]) / 2);
    return pairs;
  }
  std::unique_ptr<simplayer> player_;
  std::unique_ptr<sim::traceribbon> ribbon_;
};

TEST_F(TraceTest, AGapOfFourMetresBreaksTheRibbon) {
  Samples({0, 1, 2, 6, 7, 8.5f, 12.49f});
  // Newest first: 12.49 and 8.5 are 3.99 apart and join 7; 6 is 4 m from
  // 2, so it adds nothing; 2, 1, 0 form the last strip (0 has no older sample).
  EXPECT_EQ(Strips(), (std::vector<int>{3, 3}));
  EXPECT_FLOAT_EQ(ribbon_->vertices[0].position[0], 12.49f);
  EXPECT_FLOAT_EQ(ribbon_->vertices[0].position[1], -0.5f);
  EXPECT_FLOAT_EQ(ribbon_->vertices[1].position[1], 0.5f);
}

TEST_F(TraceTest, WhileRecordingTheRibbonStartsAtTheAircraft) {
  Samples({0, 1});
  kxdflightstate state;
  state.position()[0] = 1.5f;
  player_->flight_state = &state;
  player_->hud.speed = 1.0f;
  EXPECT_EQ(Strips(), (std::vector<int>{2}));
  player_->trace.on = 1;
  EXPECT_EQ(Strips(), (std::vector<int>{3}));
  EXPECT_FLOAT_EQ(ribbon_->vertices[0].position[0], 1.5f);
  EXPECT_FLOAT_EQ(ribbon_->vertices[0].colour[0], 1.0f);  // its speed is the trace's highest
  EXPECT_FLOAT_EQ(ribbon_->vertices[0].colour[1], 0.25f);
  EXPECT_FLOAT_EQ(ribbon_->vertices[4].colour[1], 1.0f);  // the slowest sample
  EXPECT_FLOAT_EQ(ribbon_->vertices[4].colour[3], 0.45f);
  float slow[4];
  sim::TraceColour(5.0f, 0.05f, slow);  // a trace that never moved: dark red
  EXPECT_FLOAT_EQ(slow[0], 0.25f);
  EXPECT_FLOAT_EQ(slow[1], 0.0f);
}

}  // namespace
