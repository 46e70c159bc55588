// Scroll bars, knobs and offsets of the scroll area.
#include "gui/scroll.h"
#include "gui/tree.h"
#include "widget_support.h"

namespace {

class ScrollTest : public kxtest::widgettest {
 protected:
  kxscroll* MakeScroll(int cw, int ch) {
    scroll = new kxscroll(0, 0, 200, 100);
    content = new kxgraphic(0, 0, cw, ch);
    scroll->AppendChild(content);
    return Add(scroll, 50, 50);
  }
  kxscroll* scroll = nullptr;
  kxgraphic* content = nullptr;
};

// In the 200 x 100 area: content that fits shows no bars and sticks to the
// top; one pixel wider adds the horizontal bar, and that the vertical one
// where the rest no longer fits.
TEST_F(ScrollTest, BarsAppearOnlyWhereTheContentDoesNotFit) {
  const struct {
    int w, h, barH, barV;
  } cases[] = {{150, 60, 0, 0}, {201, 90, 16, 16}, {201, 80, 16, 0}, {150, 400, 0, 16}};
  for (const auto& c : cases) {
    MakeScroll(c.w, c.h);
    EXPECT_EQ(scroll->barH, c.barH) << c.w << " x " << c.h;
    EXPECT_EQ(scroll->barV, c.barV) << c.w << " x " << c.h;
  }
  MakeScroll(150, 60);
  EXPECT_EQ(scroll->sx, 0);
  EXPECT_EQ(scroll->sy, 100 - 60);
}

TEST_F(ScrollTest, TallContentGetsAVerticalKnobOfIntegerLength) {
  MakeScroll(150, 400);
  EXPECT_EQ(scroll->barV, 16);
  EXPECT_EQ(scroll->barH, 0);
  EXPECT_EQ(scroll->knobH, 100 * (100 - 32) / 400);  // 17
  // Offset 0 lies in [H - ch, h]: the bottom of the content shows, knob at the bottom.
  EXPECT_EQ(scroll->sy, 0);
  EXPECT_EQ(scroll->knobY, 16);
  kxtree::ResetSelection(scroll);
  screen->Update();
  EXPECT_EQ(scroll->sy, 100 - 400);
  EXPECT_EQ(scroll->knobY, 100 - scroll->knobH - 17);
}

TEST_F(ScrollTest, ArrowsAndTrackScrollByStepAndPage) {
  MakeScroll(150, 400);
  scroll->ScrollToTop();
  screen->Update();
  // Down arrow: bottom 16 px of the bar.
  Click(50 + 195, 50 + 5);
  EXPECT_EQ(scroll->sy, -300 + 16);
  // Up arrow at the top.
  Click(50 + 195, 50 + 95);
  EXPECT_EQ(scroll->sy, -300);
  // Track below the knob: a page towards the bottom.
  Click(50 + 195, 50 + 20);
  EXPECT_EQ(scroll->sy, -200);
}

TEST_F(ScrollTest, DraggingTheVerticalKnobFollowsThePointer) {
  MakeScroll(150, 400);
  int top = scroll->knobY;
  Mouse(kxcode::kMouseLeftDown, 50 + 195, 50 + top + 2);
  EXPECT_EQ(scroll->dragMode, kxscroll::kDragVertical);
  int travel = (100 - scroll->knobH - 33);
  Mouse(kxcode::kMouseMove, 50 + 195, 50 + top + 2 + travel);
  EXPECT_EQ(scroll->sy, -300);
  Mouse(kxcode::kMouseLeftUp, 50 + 195, 50 + top + 2 + travel);
  EXPECT_EQ(scroll->dragMode, 0);
}

TEST_F(ScrollTest, HorizontalBarScrollsAndClampsAtBothEnds) {
  MakeScroll(500, 50);
  EXPECT_EQ(scroll->knobX, 16);
  Click(50 + 190, 50 + 5);  // right arrow
  EXPECT_EQ(scroll->sx, -16);
  Click(50 + 5, 50 + 5);  // left arrow
  Click(50 + 5, 50 + 5);
  EXPECT_EQ(scroll->sx, 0);
  for (int i = 0; i < 5; ++i) Click(50 + 170, 50 + 5);  // track right of the knob
  EXPECT_EQ(scroll->sx, 200 - 500);
  EXPECT_EQ(scroll->knobX, 200 - scroll->knobW - 17);
}

TEST_F(ScrollTest, ContentIsHitThroughTheOffset) {
  MakeScroll(150, 400);
  kxgraphic* item = new kxgraphic(0, 380, 50, 20);  // top of the content
  content->AppendChild(item);
  scroll->ScrollToTop();
  screen->Update();
  Mouse(kxcode::kMouseMove, 50 + 10, 50 + 90);
  EXPECT_EQ(kxgui::Hot, item);
  int x = 0, y = 0;
  item->ToLocal(&x, &y);
  EXPECT_EQ(x, 10);
  EXPECT_EQ(y, 10);
  Mouse(kxcode::kMouseMove, 50 + 195, 50 + 90);  // the bar belongs to the scroll
  EXPECT_EQ(kxgui::Hot, scroll);
}

TEST_F(ScrollTest, HeldButtonRepeatsOnHoverTicks) {
  MakeScroll(150, 400);
  scroll->ScrollToTop();
  screen->Update();
  Mouse(kxcode::kMouseLeftDown, 50 + 195, 50 + 5);
  device[2] = 1;
  for (int i = 0; i < 4; ++i) kxgui::UpdateHover(kxgui::Display);
  // One step from the press, then one per tick after the second.
  EXPECT_EQ(scroll->sy, -300 + 16 * 3);
  device[2] = 0;
}

TEST_F(ScrollTest, EmptyOrTinyViewportsLayOutWithoutDividingByZero) {
  MakeScroll(0, 0);
  EXPECT_EQ(scroll->barH, 0);
  scroll->W = 33;
  scroll->H = 33;
  content->W = 34;
  content->H = 34;
  screen->Update();
  Mouse(kxcode::kMouseLeftDown, 50 + 20, 50 + 2);
  Mouse(kxcode::kMouseMove, 50 + 25, 50 + 2);
  scroll->dragMode = kxscroll::kDragVertical;
  Mouse(kxcode::kMouseMove, 50 + 30, 50 + 30);
  EXPECT_GE(scroll->sy, scroll->H - content->H);
}

}  // namespace
