// Sizes that follow the GUI font: pop-up entries, the window's title bar and
// texts shortened to a width, measured with a font of fixed advance built in
// memory.
#include "graphics/font.h"

#include "gui/menu.h"
#include "gui/paint.h"
#include "gui/window.h"
#include "widget_support.h"

namespace {

class TextLayoutTest : public kxtest::fixedfonttest {};

TEST_F(TextLayoutTest, PopupWidensToItsLongestEntry) {
  kxpopup* popup = new kxpopup;
  kxgui::Invisible->AppendChild(popup);
  kxpopupitem* shortEntry = new kxpopupitem("Go", "", 0);
  kxpopupitem* longEntry = new kxpopupitem("Load scenery...", "", 0);
  popup->AppendChild(shortEntry);
  popup->AppendChild(new kxpopupbar);
  popup->AppendChild(longEntry);
  popup->Update();
  EXPECT_EQ(popup->W, 15 * kAdvance + 48);
  EXPECT_EQ(shortEntry->W, popup->W - 8);
  EXPECT_EQ(longEntry->H, kLine + 4);
  // 4 + 18 + 2 + 8 + 2 + 18 + 2, then 2 more.
  EXPECT_EQ(popup->H, 4 + (kLine + 4) + 2 + 8 + 2 + (kLine + 4) + 2 + 2);
  EXPECT_EQ(shortEntry->Y, 4 + (kLine + 4) + 2 + 8 + 2);

  kxpopup* empty = new kxpopup;
  kxgui::Invisible->AppendChild(empty);
  empty->Update();
  EXPECT_EQ(empty->W, 7 * kAdvance + 48);  // "<empty>"
}

TEST_F(TextLayoutTest, AShortenedTextKeepsWhatFitsAndMarksWhatIsLeftOut) {
  struct probe {
    const char* text;
    int width;  // px, 7 a character
    const char* shown;
  } probes[] = {{"glider", 42, "glider"},       {"glider", 41, "gl..."}, {"Ultraleicht", 56, "Ultra..."},
                {"abc", 10, "..."},             {"", 0, ""},             {nullptr, 5, ""}};
  for (const probe& p : probes) EXPECT_EQ(kxgui::Shortened(p.text, p.width), p.shown) << p.width;
}

TEST_F(TextLayoutTest, TitleBarGrowsWithFontsTallerThanSixteen) {
  EXPECT_EQ(kxwindow::TitleBarHeight(), 20);
  font.lineHeight = 22;
  EXPECT_EQ(kxwindow::TitleBarHeight(), 26);
}

}  // namespace
