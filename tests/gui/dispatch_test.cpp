// GUI dispatch: capture, focus fallback, key translation, hover counting and
// the background's commands and hooks.
#include "core/function.h"
#include "core/interpreter.h"
#include "platform/event_nodes.h"
#include "platform/input_types.h"
#include "platform/window.h"
#include "gui/graphic.h"
#include "gui/menu.h"
#include "gui_support.h"

namespace {

struct calls {
  int x = -1, y = -1, count = 0;
};
calls& Clicks() {
  static calls c;
  return c;
}
void OnTestClick(int x, int y) {
  Clicks().x = x;
  Clicks().y = y;
  ++Clicks().count;
}
int bareCalls = 0;
void OnTestBare() { ++bareCalls; }

int hookCode = -1, hookMods = -1, hookCalls = 0;
void TestMouseHook(int code, int mods) {
  hookCode = code, hookMods = mods;
  ++hookCalls;
}
int keyHookKey = -1, keyHookMods = -1;
void TestKeyHook(int key, int mods) { keyHookKey = key, keyHookMods = mods; }

// Records every handler call.
class probe : public kxgraphic {
 public:
  probe(int x, int y, int w, int h) : kxgraphic(x, y, w, h) {}
  int down = 0, up = 0, moves = 0, rightUp = 0, doubles = 0, character = -1, code = -1, hover = -1;
  void OnLeftDown() override { ++down; }
  void OnLeftUp() override { ++up; }
  void OnLeftDouble() override { ++doubles; }
  void OnRightUp() override { ++rightUp; }
  void OnMove() override { ++moves; }
  void OnKey(int c, int k) override { character = c, code = k; }
  void OnHover(int n) override { hover = n; }
};

class DispatchTest : public kxtest::guitest {
 protected:
  static void SetUpTestSuite() {
    guitest::SetUpTestSuite();
    kxfunction::Register("TestClick", OnTestClick);
    kxfunction::Register("TestBare", OnTestBare);
  }
  void SetUp() override {
    guitest::SetUp();
    Clicks() = calls();
    bareCalls = 0;
    hookCalls = 0;
    hookCode = hookMods = -1;
    button = new probe(100, 100, 50, 50);
    screen->AppendChild(button);
  }
  probe* button = nullptr;
};

TEST_F(DispatchTest, PressFocusesTheHotWidgetAndFocusGetsReleaseAndMovesAnywhere) {
  Mouse(kxcode::kMouseLeftDown, 120, 120);
  EXPECT_EQ(kxgui::Hot, button);
  EXPECT_EQ(kxgui::Focus, button);
  EXPECT_EQ(button->down, 1);
  Mouse(kxcode::kMouseLeftUp, 120, 120);
  EXPECT_EQ(button->up, 2);  // as focus and as hot widget
  Mouse(kxcode::kMouseMove, 400, 400);
  EXPECT_EQ(button->moves, 1);
  EXPECT_EQ(kxgui::Hot, screen);
  // A lost focus falls back to the capture, then to the screen.
  kxgui::Focus = nullptr;
  Mouse(kxcode::kMouseMove, 120, 120);
  EXPECT_EQ(kxgui::Focus, screen);
  kxgui::Capture = button;
  kxgui::Focus = nullptr;
  Mouse(kxcode::kMouseMove, 120, 120);
  EXPECT_EQ(kxgui::Focus, button);
}

// The background runs its press command with local coordinates, its release
// command once, its right-release command bare; the mouse hook replaces them.
TEST_F(DispatchTest, BackgroundRunsItsCommandsUnlessTheMouseHookTakesThem) {
  screen->OnLeftDownText = "TestClick";
  screen->OnLeftUpText = "TestClick";
  screen->OnRightUpText = "TestBare";
  Mouse(kxcode::kMouseLeftDown, 300, 40);
  EXPECT_EQ(kxgui::Hot, screen);
  EXPECT_EQ(Clicks().count, 1);
  EXPECT_EQ(Clicks().x, 300);
  EXPECT_EQ(Clicks().y, 40);
  Mouse(kxcode::kMouseLeftUp, 300, 40);
  EXPECT_EQ(Clicks().count, 2);
  Mouse(kxcode::kMouseRightDown, 300, 40);
  Mouse(kxcode::kMouseRightUp, 300, 40);
  EXPECT_EQ(bareCalls, 1);
  screen->OnRightUpText = "";
  Mouse(kxcode::kMouseRightUp, 300, 40);
  EXPECT_EQ(bareCalls, 1);
  EXPECT_FALSE(LogHas("kxscript"));
  kxgui::MouseHook = TestMouseHook;
  Mouse(kxcode::kMouseLeftDown, 300, 40, kxcode::kModShift);
  EXPECT_EQ(Clicks().count, 2);
  EXPECT_EQ(hookCode, kxcode::kMouseLeftDown);
  EXPECT_EQ(hookMods, kxcode::kModShift);
}

// Under a capture only it and its descendants become hot; an open pop-up
// lets the menu titles become hot as well, but not in the hover pass.
TEST_F(DispatchTest, CaptureDecidesWhatBecomesHot) {
  kxpopup* popup = new kxpopup;
  screen->AddChild(popup);
  popup->X = 300, popup->Y = 300, popup->W = 60, popup->H = 60;
  kxmenuitem* title = new kxmenuitem;
  screen->AppendChild(title);
  kxgui::Capture = popup;
  kxgui::Focus = popup;
  screen->Update();
  Mouse(kxcode::kMouseMove, 120, 120);
  EXPECT_EQ(kxgui::Hot, nullptr);
  Mouse(kxcode::kMouseMove, 310, 310);
  EXPECT_EQ(kxgui::Hot, popup);
  Mouse(kxcode::kMouseMove, title->X + 1, title->Y + 1);
  EXPECT_EQ(kxgui::Hot, title);
  kxgui::Hot = nullptr;
  kxgui::UpdateHover(kxgui::Display);
  EXPECT_EQ(kxgui::Hot, nullptr);
}

// Characters come without modifiers, key codes carry them (bits above the
// code); keys reach only a focus inside the visible screen, and the
// background hands them to the key hook.
TEST_F(DispatchTest, KeysReachTheFocusWithTheirModifiers) {
  kxgui::Focus = button;
  kxgui::OnKey(65, kxcode::kModShift);
  EXPECT_EQ(button->character, 65);
  EXPECT_EQ(button->code, 0);
  kxgui::OnKey(kxcode::kKeyReturn, kxcode::kModCtrl);
  EXPECT_EQ(button->character, 0);
  EXPECT_EQ(button->code, 0x50D);
  kxgui::OnKey(kxcode::kKeyTab, kxcode::kModShift | kxcode::kModCtrl | 0x100);
  EXPECT_EQ(button->code, kxcode::kKeyTab | 0x600);
  EXPECT_EQ(kxgui::LastKey, kxcode::kKeyTab);
  kxgui::Invisible->AppendChild(button);
  kxgui::OnKey(kxcode::kKeyUp, 0);
  EXPECT_EQ(button->code, kxcode::kKeyTab | 0x600);
  kxgui::KeyHook = TestKeyHook;
  kxgui::Focus = screen;
  kxgui::OnKey(kxcode::kKeyF1, kxcode::kModShift);
  EXPECT_EQ(keyHookKey, kxcode::kKeyF1);
  EXPECT_EQ(keyHookMods, kxcode::kModShift);
}

TEST_F(DispatchTest, HoverCounterRestartsOnANewWidgetAndOnPresses) {
  Point(120, 120);
  kxgui::UpdateHover(kxgui::Display);
  kxgui::OnTimer();  // the timer counts on the display root
  kxgui::UpdateHover(kxgui::Display);
  EXPECT_EQ(button->hover, 3);
  Point(300, 300);
  kxgui::UpdateHover(kxgui::Display);
  EXPECT_EQ(kxgui::Display->hoverCount, 1);
  Mouse(kxcode::kMouseLeftDown, 300, 300);
  EXPECT_EQ(kxgui::Display->hoverCount, 0);
  Mouse(kxcode::kMouseLeftDouble, 300, 300);
  kxgui::UpdateHover(kxgui::Display);
  EXPECT_EQ(kxgui::Display->hoverCount, 1);
}

TEST_F(DispatchTest, PanelDisplayBindingReachesTheDispatch) {
  input::RegisterTypes();
  kxscript::Execute("Append kxpanel Panel; cd Panel/; Append kxeventdisplay Screen", kxscript::Root());
  kxpanel* panel = input::Panel();
  ASSERT_NE(panel, nullptr);
  kxgui::Focus = button;
  input::OnKey(kxcode::kKeyUp, 0);
  EXPECT_EQ(button->code, kxcode::kKeyUp);
  Point(120, 120);
  panel->Dispatch(kxcode::kTimerEvent, 0, 0);
  EXPECT_EQ(button->hover, 1);
  panel->Dispatch(kxcode::kMouseLeftDown, 0, 0);
  EXPECT_EQ(button->down, 1);
  delete panel;
}

TEST_F(DispatchTest, HoverReachesWidgetsBeyondTheStartSizeAfterTheFramePass) {
  kxsystem::display.window_width = 1024;
  kxsystem::display.window_height = 768;
  kxgui::Frame();
  probe* far = new probe(900, 700, 50, 50);
  screen->AddChild(far);
  Point(910, 710);
  kxgui::UpdateHover(kxgui::Display);
  EXPECT_EQ(far->hover, 1);
  kxsystem::display = kxdisplaysettings();
}

TEST_F(DispatchTest, NothingHappensWithoutAVisibleScreen) {
  kxgui::Visible = nullptr;
  kxgui::OnMouse(kxcode::kMouseLeftDown, 0);
  kxgui::OnKey(kxcode::kKeyReturn, 0);
  kxgui::UpdateHover(kxgui::Display);
  kxgui::Draw();
  EXPECT_EQ(kxgui::LastEvent, kxcode::kMouseLeftDown);
  EXPECT_EQ(button->down, 0);
}

TEST_F(DispatchTest, HandlerThatDeletesTheHotWidgetIsSafe) {
  struct selfdelete : kxgraphic {
    selfdelete() : kxgraphic(0, 0, 20, 20) {}
    void OnLeftUp() override { delete this; }
  };
  selfdelete* w = new selfdelete;
  screen->AddChild(w);
  Mouse(kxcode::kMouseLeftDown, 5, 5);
  Mouse(kxcode::kMouseLeftUp, 5, 5);
  EXPECT_EQ(kxgui::Focus, screen);
  EXPECT_EQ(screen->ChildCount(), 1);  // only the probe is left
}

}  // namespace
