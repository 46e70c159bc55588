// Windows: show and hide, the screen clamp, dragging and resizing, the close
// box, raising to the front and the object edit window.
#include "gui/window.h"

#include "gui/menu.h"
#include "platform/codes.h"
#include "platform/window.h"

#include "core/function.h"
#include "core/interpreter.h"
#include "gui_support.h"

namespace {

int closeCalls = 0;
void OnTestClose() { ++closeCalls; }

class WindowTest : public kxtest::guitest {
 protected:
  static void SetUpTestSuite() {
    guitest::SetUpTestSuite();
    kxfunction::Register("TestClose", OnTestClose);
    kxtype::RegisterDerived(&kxwindowobjectedit::Type, &kxwindow::Type);
  }
  void SetUp() override {
    guitest::SetUp();
    closeCalls = 0;
    window = Make("Win", 100, 100, 200, 150);
  }
  kxwindow* Make(const char* name, int x, int y, int w, int h) {
    kxwindow* win = new kxwindow;
    win->name = name;
    win->X = x, win->Y = y, win->W = w, win->H = h;
    kxgui::Invisible->AppendChild(win);
    return win;
  }
  // Press at a point in the window's own coordinates, then move to another.
  void Drag(int fromX, int fromY, int toX, int toY) {
    int ox = window->X, oy = window->Y;
    Mouse(kxcode::kMouseLeftDown, ox + fromX, oy + fromY);
    Mouse(kxcode::kMouseMove, ox + toX, oy + toY);
    Mouse(kxcode::kMouseLeftUp, ox + toX, oy + toY);
  }
  kxwindow* window = nullptr;
};

TEST_F(WindowTest, ShowPutsTheWindowInFrontWithTheFocus) {
  kxwindow* other = Make("Other", 0, 0, 100, 100);
  other->Show();
  window->Show();
  EXPECT_EQ(screen->firstChild, window);
  EXPECT_EQ(kxgui::Focus, window);
  screen->Update();  // the next layout pass marks it active
  EXPECT_EQ(window->active, 1);
  EXPECT_EQ(other->active, 0);
}

TEST_F(WindowTest, ShowClampsIntoTheScreen) {
  window->X = 600;
  window->Show();
  EXPECT_EQ(window->X, 440);
  window->X = -30;
  window->Y = -5;
  window->Show();
  EXPECT_EQ(window->X, 0);
  EXPECT_EQ(window->Y, 0);
  window->H = 600;  // taller than the screen: the top edge stays visible
  window->Show();
  EXPECT_EQ(window->Y, 480 - 600);
}

// A window shown centred stays centred when the screen takes another size
// (a new display mode); one the user moved only keeps inside it.
TEST_F(WindowTest, ACentredWindowIsCentredAgainOnAScreenOfAnotherSize) {
  screen->W = 1024, screen->H = 768;
  window->Show();
  window->ToCenter();
  EXPECT_EQ(window->X, (1024 - 200) / 2);
  kxwindow* moved = Make("Moved", 0, 0, 100, 100);
  moved->Show();
  moved->ToCenter();
  Mouse(kxcode::kMouseLeftDown, moved->X + 50, moved->Y + 95);  // the title bar
  Mouse(kxcode::kMouseMove, moved->X + 250, moved->Y + 95);
  Mouse(kxcode::kMouseLeftUp, moved->X + 250, moved->Y + 95);
  ASSERT_EQ(moved->X, (1024 - 100) / 2 + 200);
  screen->W = 640, screen->H = 480;
  screen->Update();
  EXPECT_EQ(window->X, (640 - 200) / 2);
  EXPECT_EQ(window->Y, (480 - 150) / 2);
  EXPECT_EQ(moved->X, 640 - 100);  // clamped, not centred
  window->X = 3;  // placed by code on the same screen: left where it is
  screen->Update();
  EXPECT_EQ(window->X, 3);
}

TEST_F(WindowTest, ShowWithoutAScreenDoesNothing) {
  kxgui::Visible = nullptr;
  window->Show();
  EXPECT_EQ(window->parent, kxgui::Invisible);
  EXPECT_TRUE(LogHas("no visible screen"));
}

TEST_F(WindowTest, HideParksTheWindowAndDropsFocusAndCaptureInside) {
  window->Show();
  kxgraphic* child = new kxgraphic(5, 5, 10, 10);
  window->AppendChild(child);
  kxgui::Focus = child;
  kxgui::Capture = window;
  window->Hide();
  EXPECT_EQ(window->parent, kxgui::Invisible);
  EXPECT_EQ(kxgui::Invisible->lastChild, window);
  EXPECT_EQ(kxgui::Focus, nullptr);
  EXPECT_EQ(kxgui::Capture, nullptr);
}

// A modal window opened from another (each shown, then capturing) gives the
// capture back when it closes; the one below keeps the keys from the screen.
TEST_F(WindowTest, ClosingAWindowOpenedFromAnotherGivesTheCaptureBack) {
  static int keys;
  keys = 0;
  kxgui::KeyHook = [](int, int) { ++keys; };
  kxwindow* above = Make("Above", 10, 10, 100, 100);
  auto open = [](kxwindow* w) {
    w->Show();
    kxgui::Capture = w;
  };
  open(window);
  open(above);
  above->Hide();
  EXPECT_EQ(kxgui::Capture, window);
  kxgui::OnKey(kxcode::kKeyReturn, 0);
  EXPECT_EQ(keys, 0);  // the window below takes it
  open(window);        // shown again while capturing: still nothing below it
  window->Hide();
  EXPECT_EQ(kxgui::Capture, nullptr);
  kxgui::OnKey(kxcode::kKeyReturn, 0);
  EXPECT_EQ(keys, 1);

  // The window below closed first, or gone: the capture is not given to it.
  open(window);
  open(above);
  window->Hide();
  above->Hide();
  EXPECT_EQ(kxgui::Capture, nullptr);
  open(window);
  open(above);
  delete window;
  window = nullptr;
  above->Hide();
  EXPECT_EQ(kxgui::Capture, nullptr);
  kxgui::KeyHook = nullptr;
}

TEST_F(WindowTest, KeyAfterTheFocusedWindowHidReachesTheScreen) {
  static int keys;
  keys = 0;
  kxgui::KeyHook = [](int, int) { ++keys; };
  window->Show();
  kxgui::Focus = window;
  window->Hide();
  kxgui::OnKey(kxcode::kKeyReturn, 0);
  EXPECT_EQ(kxgui::Focus, screen);
  EXPECT_EQ(keys, 1);  // the screen hands a key it does not take to the hook
  kxgui::KeyHook = nullptr;
}

TEST_F(WindowTest, CommandsReachTheWindowByPath) {
  kxscript::Execute("/Display/Invisible/Win/Show; /Display/Invisible/Win/Title = \"lost\"");
  EXPECT_EQ(window->parent, screen);
  EXPECT_EQ(window->Title, "ich bin ein string");  // the window had moved
  kxscript::Execute("Move( 7, 9 ); Title = \"Options\"; EnableResize = 0; Icon = 3; Xr = 12", window);
  EXPECT_EQ(window->X, 7);
  EXPECT_EQ(window->Y, 9);
  EXPECT_EQ(window->Title, "Options");
  EXPECT_EQ(window->EnableResize, 0);
  EXPECT_EQ(window->Icon, 3);
  EXPECT_EQ(window->Xr, 12);  // from the widget base
  kxscript::Execute("ToCenter; W = 100", window);
  EXPECT_EQ(window->X, 220);
  EXPECT_EQ(window->Y, 165);
  kxscript::Execute("/Display/Visible/Win/Hide");
  EXPECT_EQ(window->parent, kxgui::Invisible);
}

// A description may place or size a window anywhere an int reaches; the
// numbers are kept within what a screen can use, so the layout's sums stay
// within an int.
TEST_F(WindowTest, PlacesAndSizesFromScriptsAreKeptInASaneRange) {
  kxscript::Execute("Move( 2147483647, -2147483647 ); W = 2147483647; H = -2147483648; Xr = 2147483647", window);
  EXPECT_EQ(window->X, kxgraphic::kMaxPlace);
  EXPECT_EQ(window->Y, -kxgraphic::kMaxPlace);
  EXPECT_EQ(window->W, kxgraphic::kMaxPlace);
  EXPECT_EQ(window->H, -kxgraphic::kMaxPlace);
  EXPECT_EQ(window->Xr, kxgraphic::kMaxPlace);
  window->Xr = 0;
  window->Show();  // the screen clamp adds and subtracts them
  window->ToCenter();
  kxscript::Execute("Move( 5, 6 ); W = 300", window);
  EXPECT_EQ(window->X, 5);
  EXPECT_EQ(window->W, 300);
}

// Drags from a point of the 200 x 150 window at (100, 100), in its own
// coordinates; the title bar is the top 20 px, the edges 4 px wide.
TEST_F(WindowTest, DragsMoveAndResizeByWhereTheyStart) {
  struct drag {
    const char* what;
    int resize, fromX, fromY, toX, toY;
    int x, y, w, h;
  };
  const drag drags[] = {
      {"title bar moves", 1, 50, 140, 80, 120, 130, 80, 200, 150},
      {"right edge widens", 1, 198, 50, 250, 50, 100, 100, 252, 150},
      {"top edge heightens", 1, 100, 148, 100, 200, 100, 100, 200, 202},
      {"left edge stops at the least width", 1, 1, 50, 190, 50, 240, 100, 60, 150},
      {"bottom edge stops at the least height", 1, 30, 1, 30, 140, 100, 210, 200, 40},
      {"left end of the title bar resizes only", 1, 2, 140, 12, 120, 110, 100, 190, 150},
      {"edges ignored without resizing", 0, 198, 50, 250, 50, 100, 100, 200, 150},
      {"title bar moves without resizing", 0, 50, 140, 60, 140, 110, 100, 200, 150},
      {"off the screen is clamped", 1, 50, 140, 650, 140, 440, 100, 200, 150},
  };
  for (const drag& d : drags) {
    window->X = window->Y = 100, window->W = 200, window->H = 150;
    window->EnableResize = d.resize;
    window->Show();
    Drag(d.fromX, d.fromY, d.toX, d.toY);
    EXPECT_EQ(window->dragMode, 0) << d.what;
    EXPECT_EQ(window->X, d.x) << d.what;
    EXPECT_EQ(window->Y, d.y) << d.what;
    EXPECT_EQ(window->W, d.w) << d.what;
    EXPECT_EQ(window->H, d.h) << d.what;
  }
}

TEST_F(WindowTest, CloseBoxHidesTheWindowUnlessItHasAnOnCloseCommand) {
  window->Show();
  Click(window->X + 190, window->Y + 140);
  EXPECT_EQ(window->parent, kxgui::Invisible);
  window->OnClose = "TestClose";
  window->Show();
  Click(window->X + 190, window->Y + 140);
  EXPECT_EQ(closeCalls, 1);
  EXPECT_EQ(window->parent, screen);
}

TEST_F(WindowTest, ClickingAWindowBringsItToTheFront) {
  kxwindow* other = Make("Other", 300, 200, 200, 150);
  window->Show();
  other->Show();
  EXPECT_EQ(screen->firstChild, other);
  Click(window->X + 20, window->Y + 20);
  EXPECT_EQ(screen->firstChild, window);
  EXPECT_EQ(other->active, 0);
}

TEST_F(WindowTest, OpenDropDownListKeepsTheStackingOrder) {
  kxwindow* other = Make("Other", 300, 200, 200, 150);
  window->Show();
  other->Show();
  kxgraphic* list = new kxgraphic(400, 20, 50, 50);
  screen->AddChild(list);
  kxgui::OpenList = list;
  Click(window->X + 20, window->Y + 20);
  EXPECT_EQ(screen->firstChild->nextSibling, other);
  EXPECT_EQ(kxgui::Focus, window);
  kxgui::OpenList = nullptr;
}

TEST_F(WindowTest, ObjectEditRunsItsSectionAndHidesTheWindowItBuilt) {
  kxnode* before = kxscript::Current();
  kxscript::Execute("Append kxwindowobjectedit Edit", screen);
  kxwindowobjectedit* edit = dynamic_cast<kxwindowobjectedit*>(screen->FindChild("Edit"));
  ASSERT_NE(edit, nullptr);
  EXPECT_EQ(edit->Title, "Object");
  EXPECT_EQ(edit->W, 300);
  ASSERT_NE(edit->Window, nullptr);
  EXPECT_EQ(edit->Window->name, "Properties");
  EXPECT_EQ(edit->Window->parent, kxgui::Invisible);
  EXPECT_EQ(kxscript::Current(), before);
}

TEST_F(WindowTest, MenuTitlesSitBelowTheTitleBar) {
  kxmenuitem* first = new kxmenuitem;
  kxmenuitem* second = new kxmenuitem;
  first->Text = "Edit";
  second->Text = "Help";
  window->AppendChild(first);
  window->AppendChild(second);
  window->Show();
  EXPECT_EQ(first->X, 2);
  EXPECT_EQ(first->Y, window->H - first->H - 20);
  EXPECT_EQ(second->X, 2 + first->W);
  EXPECT_EQ(window->menuBarHeight, second->H);
}

TEST_F(WindowTest, ObjectEditWithoutItsSectionIsAPlainWindow) {
  kxcore::SetPathResolver([](const char*) { return std::string("no/such/file.kxd"); });
  kxwindowobjectedit* edit = new kxwindowobjectedit;
  kxcore::SetPathResolver(kxtest::ResolveTestPath);
  EXPECT_EQ(edit->Window, nullptr);
  EXPECT_EQ(edit->Title, "ich bin ein string");
  EXPECT_TRUE(LogHas("section kxwindowobjectedit of kxdisplay.kxd not run"));
  delete edit;
}

TEST_F(WindowTest, ObjectEditMadeByItsOwnSectionStaysPlain) {
  kxcore::SetPathResolver([](const char*) { return std::string(KX_TEST_DATA "/nested/kxdisplay.kxd"); });
  kxwindowobjectedit* edit = new kxwindowobjectedit;
  kxcore::SetPathResolver(kxtest::ResolveTestPath);
  EXPECT_EQ(edit->Title, "Outer");
  auto* inner = dynamic_cast<kxwindowobjectedit*>(edit->FindChild("Inner"));
  ASSERT_NE(inner, nullptr);
  EXPECT_EQ(inner->firstChild, nullptr);
  EXPECT_NE(inner->Title, "Outer");
  EXPECT_NE(edit->FindChild("Second"), nullptr);
  EXPECT_TRUE(LogHas("makes another object edit window; it stays plain"));
  delete edit;
}

TEST_F(WindowTest, FramePassSizesTheScreenAndLaysItOutWithoutAContext) {
  kxsystem::display.window_width = 640;
  kxsystem::display.window_height = 480;
  screen->X = 5;
  window->Show();
  window->X = 900;
  kxgui::Frame();
  EXPECT_EQ(screen->X, 0);
  EXPECT_EQ(window->X, 640 - 200);
}

}  // namespace
