// The combo box opens its drop-down list, a pick selects, and the list goes
// when the focus leaves it or at Escape.
#include "gui/button.h"
#include "gui/combo.h"
#include "gui/scroll.h"
#include "widget_support.h"

namespace {

using kxtest::Ran;

class ComboTest : public kxtest::widgettest {
 protected:
  kxtextcombo* MakeCombo(const char* const* list) {
    combo = new kxtextcombo;
    combo->W = 120;
    combo->H = 20;
    combo->items = list;
    combo->OnSelection = "Note( Text )";
    return Add(combo, 100, 300);
  }
  kxcombolist* OpenList() { return dynamic_cast<kxcombolist*>(kxgui::OpenList); }
  kxtextcombo* combo = nullptr;
};

const char* const kThree[] = {"red", "green", "blue", nullptr};

TEST_F(ComboTest, ButtonOpensTheListBelowTheCombo) {
  MakeCombo(kThree);
  EXPECT_EQ(combo->button->X, 120 - 16);
  Click(100 + 110, 305);
  kxcombolist* list = OpenList();
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(kxgui::Focus, list);
  EXPECT_EQ(screen->firstChild, list);
  EXPECT_EQ(list->W, 120);
  EXPECT_EQ(list->X, 100);
  EXPECT_EQ(list->H, 2 + 3 * 16);
  EXPECT_EQ(list->Y, 300 - list->H);
}

TEST_F(ComboTest, PickingAnItemSelectsItAndClosesTheList) {
  MakeCombo(kThree);
  Click(100 + 110, 305);
  kxcombolist* list = OpenList();
  ASSERT_NE(list, nullptr);
  // Items from the top: red, green, blue.
  Click(100 + 10, list->Y + list->H - 1 - 16 - 8);
  EXPECT_STREQ(combo->Text.Text(), "green");
  ASSERT_EQ(Ran().size(), 1u);
  EXPECT_EQ(Ran()[0], "green");
  EXPECT_EQ(kxgui::OpenList, nullptr);
  EXPECT_EQ(combo->list, nullptr);
  EXPECT_EQ(kxgui::Focus, combo);
}

TEST_F(ComboTest, ClickElsewhereOrEscapeClosesTheList) {
  MakeCombo(kThree);
  Click(100 + 110, 305);
  ASSERT_NE(OpenList(), nullptr);
  Click(500, 50);
  EXPECT_EQ(kxgui::OpenList, nullptr);
  EXPECT_STREQ(combo->Text.Text(), kxtextcombo().Text.Text());  // unchanged
  // Escape closes the list alone; the next one goes on to the screen.
  static int keys;
  keys = 0;
  kxgui::KeyHook = [](int, int) { ++keys; };
  Click(100 + 110, 305);
  Key(kxcode::kKeyEscape);
  EXPECT_EQ(kxgui::OpenList, nullptr);
  EXPECT_EQ(keys, 0);
  Key(kxcode::kKeyEscape);
  kxgui::KeyHook = nullptr;
  EXPECT_EQ(keys, 1);
}

TEST_F(ComboTest, ListHeightsAreBounded) {
  // One row high when empty, growing with the items up to a bound.
  EXPECT_EQ(kxtextcombo::ListHeight(0), 16);
  EXPECT_EQ(kxtextcombo::ListHeight(3), 50);
  EXPECT_EQ(kxtextcombo::ListHeight(20), 160);
  EXPECT_EQ(kxtextcombo::ListHeight(200), 160);
  MakeCombo(nullptr);
  combo->ShowList();
  ASSERT_NE(OpenList(), nullptr);
  EXPECT_EQ(OpenList()->H, 16);
}

TEST_F(ComboTest, LongListScrolls) {
  static const char* many[21];
  for (int i = 0; i < 20; ++i) many[i] = "item";
  many[20] = nullptr;
  MakeCombo(many);
  combo->ShowList();
  kxscroll* scroll = dynamic_cast<kxscroll*>(OpenList()->firstChild);
  ASSERT_NE(scroll, nullptr);
  EXPECT_EQ(scroll->barV, 16);
  EXPECT_EQ(scroll->sy, scroll->H - scroll->ch);  // first items show
}

TEST_F(ComboTest, ComboDestroyedWhileItsListIsOpen) {
  MakeCombo(kThree);
  combo->ShowList();
  kxcombolist* list = OpenList();
  delete combo;
  EXPECT_EQ(list->combo, nullptr);
  list->GetMember("Selection", kxargs::None());  // goes nowhere
  Click(500, 50);
  EXPECT_EQ(kxgui::OpenList, nullptr);
}

}  // namespace
