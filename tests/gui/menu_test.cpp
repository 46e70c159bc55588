// Menus: sizes and stacking, opening from a title, sliding between titles,
// key navigation, release semantics and the enable and check rules.
#include "gui/menu.h"

#include "core/interpreter.h"
#include "gui/paint.h"
#include "gui/window.h"
#include "gui_support.h"

namespace {

class MenuTest : public kxtest::guitest {
 protected:
  void SetUp() override {
    guitest::SetUp();
    fileTitle = Title("File", "/Display/Invisible/MFile/Show");
    viewTitle = Title("View", "/Display/Invisible/MView/Show");
    file = Popup("MFile");
    open = Entry(file, "Open", "Text = \"opened\"");
    bar = new kxpopupbar;
    file->AppendChild(bar);
    save = Entry(file, "Save", "Text = \"saved\"");
    quit = Entry(file, "Quit", "Text = \"quit\"");
    view = Popup("MView");
    Entry(view, "Chase", "");
    screen->Update();
  }
  kxmenuitem* Title(const char* text, const char* action) {
    kxmenuitem* t = new kxmenuitem;
    t->Text = text;
    t->Action = action;
    screen->AppendChild(t);
    return t;
  }
  kxpopup* Popup(const char* name) {
    kxpopup* p = new kxpopup;
    p->name = name;
    kxgui::Invisible->AppendChild(p);
    return p;
  }
  kxpopupitem* Entry(kxpopup* popup, const char* text, const char* command) {
    kxpopupitem* e = new kxpopupitem(text, command, 0);
    popup->AppendChild(e);
    return e;
  }
  void At(int code, kxgraphic* widget) {
    int x = 0, y = 0;
    for (kxgraphic* g = widget; g && g != screen; g = g->ParentWidget()) x += g->X, y += g->Y;
    Mouse(code, x + 1, y + 1);
  }
  bool IsOpen(kxpopup* p) { return p->parent == screen; }

  kxmenuitem* fileTitle = nullptr;
  kxmenuitem* viewTitle = nullptr;
  kxpopup* file = nullptr;
  kxpopup* view = nullptr;
  kxpopupitem* open = nullptr;
  kxpopupitem* save = nullptr;
  kxpopupitem* quit = nullptr;
  kxpopupbar* bar = nullptr;
};

TEST_F(MenuTest, TitlesLineUpAlongTheTopAndEntriesStackWithTheFirstOnTop) {
  EXPECT_EQ(fileTitle->Y + fileTitle->H, screen->H);
  EXPECT_EQ(viewTitle->X, fileTitle->X + fileTitle->W);
  EXPECT_EQ(fileTitle->W, kxgui::TextWidth("File") + kxgui::LineHeight() / 2 + 2);
  EXPECT_EQ(screen->menuBarHeight, viewTitle->H);
  file->Update();
  // Top to bottom: open, the separator, save, quit, none overlapping, all inside.
  const kxgraphic* order[] = {open, bar, save, quit};
  for (int i = 0; i + 1 < 4; ++i) EXPECT_GE(order[i]->Y, order[i + 1]->Y + order[i + 1]->H) << i;
  EXPECT_GT(quit->Y, 0);
  EXPECT_LT(open->Y + open->H, file->H);
  EXPECT_EQ(bar->W, file->W - 8);
  EXPECT_EQ(quit->Y, 4);
  // A hidden entry takes no place.
  int openY = open->Y;
  save->Hidden = 1;
  file->Update();
  EXPECT_LT(open->Y, openY);
  EXPECT_EQ(bar->Y, 4 + quit->H + 2);
  kxpopup* empty = Popup("Empty");
  empty->Update();
  EXPECT_EQ(empty->H, 24);  // an empty pop-up still shows
  EXPECT_EQ(empty->W, kxgui::TextWidth("<empty>") + 48);
}

TEST_F(MenuTest, PressOnATitleOpensItsPopupBelowIt) {
  At(kxcode::kMouseLeftDown, fileTitle);
  ASSERT_TRUE(IsOpen(file));
  EXPECT_EQ(screen->firstChild, file);
  EXPECT_EQ(kxgui::Capture, file);
  EXPECT_EQ(kxgui::Focus, file);
  EXPECT_EQ(file->X, fileTitle->X);
  EXPECT_EQ(file->Y, fileTitle->Y - file->H);
  EXPECT_EQ(file->Context(), fileTitle);
}

TEST_F(MenuTest, ReleaseOverAnEntryWithoutTheFocusRunsNothing) {
  At(kxcode::kMouseLeftDown, fileTitle);
  At(kxcode::kMouseLeftUp, open);
  EXPECT_EQ(fileTitle->Text, "File");
  EXPECT_TRUE(IsOpen(file));
}

TEST_F(MenuTest, MovingOverAnEntryHighlightsItAndReleaseRunsItsCommand) {
  At(kxcode::kMouseLeftDown, fileTitle);
  At(kxcode::kMouseMove, save);
  EXPECT_EQ(kxgui::Focus, save);
  At(kxcode::kMouseLeftUp, save);
  EXPECT_EQ(fileTitle->Text, "saved");  // run with the title as context
  EXPECT_FALSE(IsOpen(file));
  EXPECT_EQ(file->parent, kxgui::Invisible);
  EXPECT_EQ(kxgui::Capture, nullptr);
  EXPECT_EQ(kxgui::Focus, screen);
}

TEST_F(MenuTest, MovingOffAnEntryGivesTheFocusBackToThePopup) {
  At(kxcode::kMouseLeftDown, fileTitle);
  At(kxcode::kMouseMove, save);
  At(kxcode::kMouseMove, quit);
  EXPECT_EQ(kxgui::Focus, quit);
  Mouse(kxcode::kMouseMove, 600, 10);
  EXPECT_EQ(kxgui::Focus, file);
  EXPECT_TRUE(IsOpen(file));
}

TEST_F(MenuTest, PointerSlidesToAnotherTitle) {
  At(kxcode::kMouseLeftDown, fileTitle);
  At(kxcode::kMouseLeftUp, fileTitle);
  At(kxcode::kMouseMove, viewTitle);
  EXPECT_TRUE(IsOpen(view));
  EXPECT_FALSE(IsOpen(file));
  EXPECT_EQ(kxgui::Capture, view);
  EXPECT_EQ(view->X, viewTitle->X);
}

TEST_F(MenuTest, ClickElsewhereClosesTheMenu) {
  At(kxcode::kMouseLeftDown, fileTitle);
  At(kxcode::kMouseLeftUp, fileTitle);
  Mouse(kxcode::kMouseLeftDown, 300, 100);
  EXPECT_FALSE(IsOpen(file));
  EXPECT_EQ(kxgui::Capture, nullptr);
  EXPECT_EQ(kxgui::Focus, screen);
}

TEST_F(MenuTest, DisabledTitleOpensNothing) {
  fileTitle->Disabled = 1;
  At(kxcode::kMouseLeftDown, fileTitle);
  EXPECT_FALSE(IsOpen(file));
}

TEST_F(MenuTest, ArrowKeysWalkTheEntriesSkippingSeparatorsAndWrap) {
  At(kxcode::kMouseLeftDown, fileTitle);
  const struct {
    int key;
    kxgraphic* focus;
  } steps[] = {{kxcode::kKeyDown, open}, {kxcode::kKeyDown, save}, {kxcode::kKeyDown, quit},
               {kxcode::kKeyDown, open}, {kxcode::kKeyUp, quit},   {kxcode::kKeyRight, quit}};
  int i = 0;
  for (const auto& step : steps) {
    kxgui::OnKey(step.key, 0);
    EXPECT_EQ(kxgui::Focus, step.focus) << "step " << i++;
  }
  EXPECT_TRUE(IsOpen(file));
}

TEST_F(MenuTest, ReturnRunsTheFocusedEntryAndClosesTheMenu) {
  At(kxcode::kMouseLeftDown, fileTitle);
  kxgui::OnKey(kxcode::kKeyDown, 0);
  kxgui::OnKey(kxcode::kKeyReturn, 0);
  EXPECT_EQ(fileTitle->Text, "opened");
  EXPECT_FALSE(IsOpen(file));
}

TEST_F(MenuTest, EscapeClosesTheMenuWithoutRunning) {
  At(kxcode::kMouseLeftDown, fileTitle);
  kxgui::OnKey(kxcode::kKeyDown, 0);
  kxgui::OnKey(kxcode::kKeyEscape, 0);
  EXPECT_EQ(fileTitle->Text, "File");
  EXPECT_FALSE(IsOpen(file));
  At(kxcode::kMouseLeftDown, fileTitle);
  kxgui::OnKey(kxcode::kKeyEscape, 0);  // on the pop-up itself
  EXPECT_FALSE(IsOpen(file));
  EXPECT_EQ(kxgui::Capture, nullptr);
}

TEST_F(MenuTest, DisabledEntryRunsNoCommand) {
  save->Disabled = 1;
  At(kxcode::kMouseLeftDown, fileTitle);
  At(kxcode::kMouseMove, save);
  EXPECT_EQ(kxgui::Focus, file);  // a disabled entry is not highlighted
  kxgui::Focus = save;
  kxgui::OnKey(kxcode::kKeyReturn, 0);
  EXPECT_EQ(fileTitle->Text, "File");
}

// A not-equal rule disables at its value, an equal rule away from it, a
// non-zero rule at 0; a check value of 0 checks any non-zero variable.
TEST_F(MenuTest, EnableAndCheckRulesCompareTheirVariable) {
  const struct {
    enablerule rule;
    int value, variable, disabled;
  } enable[] = {{enablerule::notequal, 3, 3, 1}, {enablerule::notequal, 3, 2, 0}, {enablerule::equal, 2, 2, 0},
                {enablerule::equal, 2, 1, 1},    {enablerule::nonzero, 0, 1, 0},  {enablerule::nonzero, 0, 0, 1}};
  int variable = 0;
  save->enableVariable = &variable;
  for (const auto& e : enable) {
    save->enableRule = e.rule;
    save->enableValue = e.value;
    variable = e.variable;
    save->ApplyEnableRule();
    EXPECT_EQ(save->Disabled, e.disabled) << static_cast<int>(e.rule) << " " << e.value << " with " << e.variable;
  }
  EXPECT_EQ(save->IsChecked(), 0);  // no variable
  const struct {
    int value, variable, checked;
  } check[] = {{52, 52, 1}, {50, 52, 0}, {0, 52, 1}, {0, 0, 0}};
  save->checkVariable = &variable;
  for (const auto& c : check) {
    save->checkValue = c.value;
    variable = c.variable;
    EXPECT_EQ(save->IsChecked(), c.checked) << c.value << " with " << c.variable;
  }
}

TEST_F(MenuTest, ShowWithoutAScreenDoesNothing) {
  kxgui::Visible = nullptr;
  file->Show();
  EXPECT_EQ(file->parent, kxgui::Invisible);
  EXPECT_EQ(kxgui::Capture, nullptr);
  EXPECT_TRUE(LogHas("no visible screen"));
}

TEST_F(MenuTest, DestroyedTitleLeavesNoDanglingContext) {
  At(kxcode::kMouseLeftDown, fileTitle);
  delete fileTitle;
  fileTitle = nullptr;
  EXPECT_EQ(file->Context(), nullptr);
  kxgui::Focus = open;
  kxgui::OnKey(kxcode::kKeyReturn, 0);  // runs without a context, safely
  EXPECT_FALSE(IsOpen(file));
}

TEST_F(MenuTest, ContextThatIsNoWidgetIsKeptByPath) {
  kxnode* holder = new kxnode;
  holder->name = "Holder";
  kxscript::Root()->AppendChild(holder);
  kxscript::Execute("/Display/Invisible/MFile/Show", holder);
  EXPECT_EQ(file->Context(), holder);
  delete holder;
  EXPECT_EQ(file->Context(), nullptr);
}

TEST_F(MenuTest, PopupFromAWindowsMenuBarHangsBelowItsTitle) {
  kxwindow* window = new kxwindow;
  window->X = 100, window->Y = 50, window->W = 300, window->H = 200;
  kxgui::Invisible->AppendChild(window);
  kxmenuitem* edit = new kxmenuitem;
  edit->Text = "Edit";
  edit->Action = "/Display/Invisible/MView/Show";
  window->AppendChild(edit);
  window->Show();
  At(kxcode::kMouseLeftDown, edit);
  ASSERT_TRUE(IsOpen(view));
  EXPECT_EQ(view->X, 100 + edit->X);
  EXPECT_EQ(view->Y, 50 + edit->Y - view->H);
  EXPECT_EQ(screen->firstChild, view);
  Mouse(kxcode::kMouseLeftUp, 0, 0);
  EXPECT_EQ(screen->firstChild, view);  // the window stays behind its open menu
}

TEST_F(MenuTest, MembersAreReachableFromScripts) {
  kxscript::Execute("Append kxpopupitem Extra; cd Extra/; Text = \"Extra\"; OnPress = \"Quit\"; Icon = 2; Hidden = 1; "
                    "Disabled = 1",
                    file);
  kxpopupitem* extra = dynamic_cast<kxpopupitem*>(file->FindChild("Extra"));
  ASSERT_NE(extra, nullptr);
  EXPECT_EQ(extra->Text, "Extra");
  EXPECT_EQ(extra->OnPress, "Quit");
  EXPECT_EQ(extra->Icon, 2);
  EXPECT_EQ(extra->Hidden, 1);
  EXPECT_EQ(extra->Disabled, 1);
}

}  // namespace
