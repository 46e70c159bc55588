// The loading console and the log band under a real context.
#include "sim/views/loading_screen.h"

#include "platform/log.h"
#include "sim/views/gl_state.h"
#include "views_gl_support.h"

namespace {

using viewstest::kHeight;
using viewstest::kWidth;

class LoadingScreenDraw : public viewstest::viewsgltest {
 protected:
  void SetUp() override {
    viewsgltest::SetUp();
    if (IsSkipped()) return;
    ASSERT_EQ(kxgl::LoadFont((ProgramData() / "texture/arial10.kxf").c_str(), &sim::small_font, 60), 1);
    lh_ = sim::small_font.lineHeight;
  }
  // Lit pixels (a channel above 128) in rows [y0, y1).
  static int LitIn(int y0, int y1) {
    std::vector<kxtest::pixel> rows(static_cast<size_t>(kWidth) * (y1 - y0));
    glReadPixels(0, y0, kWidth, y1 - y0, GL_RGBA, GL_UNSIGNED_BYTE, rows.data());
    int lit = 0;
    for (const kxtest::pixel& p : rows) lit += p.r > 128 || p.g > 128 || p.b > 128;
    return lit;
  }
  int lh_ = 0;
};

TEST_F(LoadingScreenDraw, EachLineGoesIntoBothBuffersOneLineLower) {
  sim::DrawLoadingScreen(1, nullptr);
  EXPECT_EQ(null_.swaps, 1);
  EXPECT_EQ(sim::LoadingCursor(), kHeight - lh_);
  EXPECT_EQ(LitIn(0, kHeight), 0);
  sim::DrawLoadingScreen(0, "loading scenery %s", "winzeln");
  EXPECT_EQ(null_.swaps, 3);
  const int first = kHeight - 2 * lh_ + sim::small_font.ascent;  // the first line box's bottom
  EXPECT_GT(LitIn(first, kHeight), 0);
  EXPECT_EQ(LitIn(0, first), 0);
  sim::DrawLoadingScreen(0, "loading aircraft %d %s", 1, "christeneagle");
  EXPECT_EQ(null_.swaps, 5);
  EXPECT_EQ(sim::LoadingCursor(), kHeight - 3 * lh_);
  EXPECT_GT(LitIn(first - lh_, first), 0);
  EXPECT_EQ(kxgl::currentFont, nullptr);  // the caller's font is kept
}

TEST_F(LoadingScreenDraw, LogLinesFillTheBandAtTheTop) {
  for (int i = 0; i < 10; ++i) kxsystem::Log("test:  line %d\n", i);
  sim::WindowOrtho(kWidth, kHeight);
  glClearColor(1, 1, 1, 1);
  glClear(GL_COLOR_BUFFER_BIT);
  sim::DrawLogLines(3);
  EXPECT_TRUE(Near(kxtest::ReadPixel(kWidth - 2, kHeight - 2), 0.5f, 0.5f, 0.5f));             // the band
  EXPECT_TRUE(Near(kxtest::ReadPixel(kWidth - 2, kHeight - 3 * lh_ - 4), 1.0f, 1.0f, 1.0f));  // below it
  glClearColor(0, 0, 0, 1);
  glClear(GL_COLOR_BUFFER_BIT);
  sim::DrawLogLines(3);
  EXPECT_GT(LitIn(kHeight - 3 * lh_, kHeight), 0);  // the texts
  // Far more lines than the history holds: the walk ends at the history's end.
  kxsystem::ClearLogHistory();
  kxsystem::Log("test:  only line\n");
  sim::DrawLogLines(5000);
  EXPECT_EQ(kxgl::currentFont, nullptr);
}

}  // namespace
