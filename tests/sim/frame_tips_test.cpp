// The help tips the frame update shows: the old-format model's tip while its
// runtime says so, the glider's tip on the ground and its end once the glider
// has flown for twenty frames.
#include "sim/app_hooks.h"
#include "sim/multilanguage.h"
#include "standin_support.h"

namespace {

using sim::session;

int legacy_state = 0;
int LegacyState() { return legacy_state; }

class FrameTips : public simtest::standintest {
 protected:
  void SetUp() override {
    standintest::SetUp();
    session.settings.show_tips = 1;
    sim::applicationhooks hooks;
    hooks.legacy_state_flag = LegacyState;
    sim::SetHooks(hooks);
    state_.frame.R = {20, 0, ::simtest::kGround, 1};
  }
  void TearDown() override {
    sim::SetHooks(sim::applicationhooks());
    legacy_state = 0;
    standintest::TearDown();
  }
  // No tip on screen, every tip waiting to be shown.
  static void Idle() {
    session.run.tip_time = session.run.tip_elapsed = -1.0f;
    for (int i = 0; i < 3; ++i) session.run.tip_shown[i] = 0, session.run.tip_pending[i] = 1;
  }
  // Which tip shows, -1 for none.
  static int Shown() {
    for (int i = 0; i < 3; ++i)
      if (session.run.tip_shown[i]) return i;
    return -1;
  }
};

TEST_F(FrameTips, TheOldModelsTipAndTheGlidersTipShowWhenTheirConditionsHold) {
  struct {
    int legacy, runtime_state, flags, ground;
    int tip;
    float time;
  } rows[] = {
      {1, 0, 0, 1, 1, 6.0f},                           // an old-format model whose runtime asks for it
      {1, 1, 0, 1, -1, -1.0f},                         // the runtime says no
      {0, 0, kxdflightstate::kTowed, 1, 2, 10.0f},     // a glider on the ground
      {0, 0, kxdflightstate::kTowed, 0, -1, -1.0f},    // a glider already flying
      {0, 0, kxdflightstate::kRotorcraft, 1, -1, -1.0f},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(testing::Message() << "legacy " << row.legacy << ", flags " << row.flags << ", ground " << row.ground);
    Idle();
    sim::players[0].legacy = row.legacy;
    legacy_state = row.runtime_state;
    state_.flags = row.flags;
    state_.ground_contact = row.ground;
    Step(0.02f);
    ASSERT_EQ(Shown(), row.tip);
    EXPECT_EQ(session.run.tip_time, row.time);
    if (row.tip < 0) continue;
    EXPECT_EQ(session.run.tip_lines, 3);
    EXPECT_EQ(session.run.tip_elapsed, 0.0f);
    EXPECT_EQ(session.run.tip_pending[row.tip], 0);
    for (int k = 0; k < 3; ++k) EXPECT_STREQ(session.run.tip_text[k], sim::Language().tipp[row.tip][k].Text()) << k;
  }
}

// Frames on the ground between the flights neither count nor start the
// count again.
TEST_F(FrameTips, TheGlidersTipEndsAfterTwentyFramesInTheAir) {
  Idle();
  state_.flags = kxdflightstate::kTowed;
  state_.ground_contact = 1;
  Step(0.02f);
  ASSERT_EQ(Shown(), 2);
  auto frames = [&](int n, int ground) {
    state_.ground_contact = ground;
    for (int i = 0; i < n; ++i) Step(0.02f);
  };
  frames(12, 0);
  frames(5, 1);
  frames(8, 0);
  EXPECT_EQ(Shown(), 2);
  EXPECT_EQ(session.run.tip_time, 10.0f);
  frames(1, 0);
  EXPECT_EQ(Shown(), -1);
  EXPECT_EQ(session.run.tip_time, 0.0f);
}

}  // namespace
