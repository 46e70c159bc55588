// The loading console and the log band under a real context.
#include "sim/views/loading_screen.h"

#include "platform/log.h"
#include "views_gl_support.h"

namespace {

using viewstest::kHeight;
using viewstest::kWidth;

class LoadingScreenDraw : public viewstest::viewsgltest {
 protected:
  void SetUp() override {
    viewsgltest::SetUp();
    if (IsSkipped()) return;
    LoadSmallFont();
  }
  // Lit pixels (any channel above 128) in rows [y0, y1).
  static int LitIn(int y0, int y1) {
    std::vector<kxtest::pixel> rows(static_cast<size_t>(kWidth) * (y1 - y0));
    glReadPixels(0, y0, kWidth, y1 - y0, GL_RGBA, GL_UNSIGNED_BYTE, rows.data());
    int lit = 0;
    for (const kxtest::pixel& p : rows) lit += p.r > 128 || p.g > 128 || p.b > 128;
    return lit;
  }
};

TEST_F(LoadingScreenDraw, EachLineGoesIntoBothBuffersOneLineLower) {
  const int lh = sim::small_font.lineHeight, descent = lh - sim::small_font.ascent;
  sim::DrawLoadingScreen(1, nullptr);
  EXPECT_EQ(null_.swaps, 1);
  EXPECT_EQ(sim::LoadingCursor(), kHeight - lh);
  EXPECT_EQ(LitIn(0, kHeight), 0);

  sim::DrawLoadingScreen(0, "loading scenery %s", "winzeln");
  EXPECT_EQ(null_.swaps, 3);
  const int first = kHeight - lh - descent;  // the first line box's bottom
  EXPECT_GT(LitIn(first, kHeight), 0);
  EXPECT_EQ(LitIn(0, first - lh), 0);

  sim::DrawLoadingScreen(0, "loading aircraft %d %s", 1, "christeneagle");
  EXPECT_EQ(null_.swaps, 5);
  EXPECT_EQ(sim::LoadingCursor(), kHeight - 3 * lh);
  EXPECT_GT(LitIn(first - lh, first), 0);
  EXPECT_EQ(kxgl::currentFont, nullptr);  // the caller's font is kept
}

TEST_F(LoadingScreenDraw, LogLinesFillTheBandAtTheTop) {
  const int lh = sim::small_font.lineHeight;
  for (int i = 0; i < 10; ++i) kxsystem::Log("test:  line %d with some words\n", i);
  glViewport(0, 0, kWidth, kHeight);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glOrtho(0, kWidth, 0, kHeight, 0, 2000);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glClearColor(1, 1, 1, 1);
  glClear(GL_COLOR_BUFFER_BIT);
  sim::DrawLogLines(3);
  EXPECT_TRUE(Near(kxtest::ReadPixel(kWidth - 2, kHeight - 2), 0.5f, 0.5f, 0.5f));       // the half-dark band
  EXPECT_TRUE(Near(kxtest::ReadPixel(kWidth - 2, kHeight - 3 * lh - 4), 1.0f, 1.0f, 1.0f));  // below it
  glClearColor(0, 0, 0, 1);
  glClear(GL_COLOR_BUFFER_BIT);
  sim::DrawLogLines(3);
  EXPECT_GT(LitIn(kHeight - 3 * lh, kHeight), 0);  // the texts

  // Far more lines than the history holds: the walk ends at the history's end.
  kxsystem::ClearLogHistory();
  kxsystem::Log("test:  only line\n");
  sim::DrawLogLines(5000);
  EXPECT_EQ(kxgl::currentFont, nullptr);
}

}  // namespace
