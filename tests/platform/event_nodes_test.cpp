#include "platform/event_nodes.h"

#include <string>
#include <string_view>
#include <vector>

#include "core/interpreter.h"
#include "core/reference.h"
#include "input_support.h"
#include "platform/callbacks.h"
#include "platform/clock.h"
#include "platform/codes.h"
#include "platform/device_simple.h"
#include "platform/events.h"

namespace {

using inputtest::Logged;

// What the display binding handed on, as text.
std::vector<std::string> received;
void RecordMouse(int code, int mods) { received.push_back("mouse " + std::to_string(code) + " " + std::to_string(mods)); }
void RecordKey(int key, int mods) { received.push_back("key " + std::to_string(key) + " " + std::to_string(mods)); }
void RecordHover() { received.push_back("hover"); }

uint32_t fakeNow = 0;
uint32_t FakeClock() { return fakeNow; }

class EventNodesTest : public inputtest::InputTreeTest {
 protected:
  void SetUp() override {
    InputTreeTest::SetUp();
    received.clear();
    kxdisplayhandlers h;
    h.mouse = RecordMouse;
    h.key = RecordKey;
    h.hover = RecordHover;
    input::SetDisplayHandlers(h);
  }
  void TearDown() override {
    input::SetDisplayHandlers(kxdisplayhandlers());
    kxsystem::SetClockForTest(nullptr);
    InputTreeTest::TearDown();
  }
};

// The keypad steers the controller's slots from 200 on: 8 and 2 the
// elevator (201), 4 and 6 the ailerons (202) by 0.1, clamped to [-1, 1];
// 5 centres; 1 toggles slot 204, 3, 7 and 9 set 205-207. At rest the
// sticks are centred and the toggles low.
TEST_F(EventNodesTest, KeypadSteeringWritesTheMainControllersSlots) {
  kxscript::Execute("Append kxeventcontroller Controller\nController/Values( 200 )\n", panel);
  for (int i = 4; i < 8; ++i) board->slots[200 + i] = -1.0f;
  const struct {
    int key, presses, slot;
    float value;
  } steps[] = {{8, 3, 201, 0.3f}, {5, 1, 201, 0.0f},  {4, 1, 202, -0.1f}, {6, 2, 202, 0.1f}, {1, 1, 204, 1.0f},
               {1, 1, 204, -1.0f}, {3, 1, 205, 1.0f}, {7, 1, 206, 1.0f},  {9, 1, 207, 1.0f}, {2, 15, 201, -1.0f}};
  for (const auto& step : steps) {
    for (int i = 0; i < step.presses; ++i) input::OnKey(kxcode::kKeyPad0 + step.key, 0);
    EXPECT_NEAR(Slot(step.slot), step.value, 1e-6f) << "key " << step.key;
  }
  input::OnKey(kxcode::kKeyPad0 + 6, 0);
  input::RestKeypad();  // as a flight starts
  const struct {
    int slot;
    float value;
  } rest[] = {{201, 0.0f}, {202, 0.0f}, {204, -1.0f}, {205, -1.0f}, {206, -1.0f}, {207, -1.0f}};
  for (const auto& r : rest) EXPECT_EQ(Slot(r.slot), r.value) << "slot " << r.slot;
}

TEST_F(EventNodesTest, ControllerWithoutValuesIgnoresKeysAndRefusesBadSlots) {
  kxscript::Execute("Append kxeventcontroller C\nC/Values( 4090 )\n", panel);
  EXPECT_TRUE(Logged("kxinput:  C: Values( 4090 ) refused (slots 0-4095)\n"));
  input::OnKey(kxcode::kKeyPad0 + 8, 0);
  for (int i = 0; i < kxpinboard::kSlots; ++i) {
    if (i < 120 || i > 122) {
      ASSERT_EQ(Slot(i), 0.0f) << i;
    }
  }
}

TEST_F(EventNodesTest, ControllerStopsSteeringWhenItsPinboardIsReplaced) {
  kxscript::Execute("Append kxeventcontroller C\nC/Values( 200 )\n", panel);
  auto* c = static_cast<kxeventcontroller*>(panel->FindChild("C"));
  delete board;
  board = nullptr;
  input::OnKey(kxcode::kKeyPad0 + 8, 0);  // must not write into the freed board
  EXPECT_EQ(c->values, nullptr);
  kxscript::Execute("Append kxpinboard Pinboard\n", kxscript::Root());
  board = input::Pinboard();
  ASSERT_NE(board, nullptr);
  input::OnKey(kxcode::kKeyPad0 + 8, 0);
  EXPECT_EQ(Slot(201), 0.0f);
}

TEST_F(EventNodesTest, StepMemberSetsTheSteeringIncrement) {
  kxscript::Execute("Append kxeventcontroller C\nC/Values( 1900 )\nC/Step = 0.25\n", panel);
  input::OnKey(kxcode::kKeyPad0 + 6, 0);
  EXPECT_FLOAT_EQ(Slot(1902), 0.25f);
}

TEST_F(EventNodesTest, KeyboardDeviceRecordsKeyModifiersAndCount) {
  input::OnKey('r', kxcode::kModCtrl);
  input::OnKey(kxcode::kKeyF1, kxcode::kModShift);
  EXPECT_EQ(Slot(120), static_cast<float>(kxcode::kKeyF1));
  EXPECT_EQ(Slot(121), static_cast<float>(kxcode::kModShift));
  EXPECT_EQ(Slot(122), 2.0f);
  ASSERT_EQ(received.size(), 2u);
  EXPECT_EQ(received[0], "key 114 1024");
  EXPECT_EQ(received[1], "key 271 512");
  input::OnKeyUp(kxcode::kKeyPad0 + 8, 0);  // key up does nothing
  EXPECT_EQ(received.size(), 2u);
  EXPECT_EQ(Slot(122), 2.0f);
}

TEST_F(EventNodesTest, TimerPostsHoverEventsEveryInterval) {
  kxsystem::SetClockForTest(FakeClock);
  fakeNow = 1000000;
  input::Update();  // first update: the timer starts
  fakeNow += 50000;
  input::Update();
  EXPECT_TRUE(received.empty());
  EXPECT_FLOAT_EQ(Slot(150), 0.05f);
  EXPECT_FLOAT_EQ(Slot(151), 0.05f);
  fakeNow += 50000;
  input::Update();
  ASSERT_EQ(received.size(), 1u);
  EXPECT_EQ(received[0], "hover");
  fakeNow += 5000000;  // a long stall posts one event, not fifty
  input::Update();
  EXPECT_EQ(received.size(), 2u);
  EXPECT_FLOAT_EQ(Slot(150), 5.1f);
  fakeNow = 0xFFFFFFFFu - 10000;
  input::Update();
  fakeNow = 20000;  // the clock wrapped
  input::Update();
  EXPECT_NEAR(Slot(151), 0.030001f, 1e-5f);
}

TEST_F(EventNodesTest, DisplayBindingRoutesMouseCodesAndDropsEventsWithoutHandlers) {
  input::Dispatch(kxcode::kMouseLeftDown, kxcode::kModShift, 0);
  input::Dispatch(kxcode::kMouseLeave, 0, 0);
  ASSERT_EQ(received.size(), 2u);
  EXPECT_EQ(received[0], "mouse 24 512");
  EXPECT_EQ(received[1], "mouse 33 0");
  received.clear();
  input::SetDisplayHandlers(kxdisplayhandlers());
  input::Dispatch(kxcode::kMouseMove, 0, 0);
  input::Dispatch(kxcode::kTimerEvent, 0, 0);
  input::OnKey('a', 0);
  EXPECT_TRUE(received.empty());
}

}  // namespace

namespace {

// Stands in for the GUI's display root: a pointing device the script sets.
class pointerholder : public kxnode {
 public:
  static inline kxtype Type{"kxtestpointerholder", 0, kxcreate<pointerholder>};
  pointerholder() { type = &Type; }
  float* PointingDevice = nullptr;
  kxvalueptr GetMember(const char* member, const kxargs& args) override {
    if (std::string_view(member) == "PointingDevice") return kxvalueptr(new kxrealptrref(&PointingDevice));
    return kxnode::GetMember(member, args);
  }
};

class MouseEventsTest : public EventNodesTest {
 protected:
  void SetUp() override {
    EventNodesTest::SetUp();
    kxsystem::ResetEventState();
    input::pointer = kxpointer();
    kxsystem::callbacks = kxcallbacks();
    kxsystem::callbacks.mouse = input::OnMouse;
    kxsystem::callbacks.key_down = input::OnKey;
    kxsystem::callbacks.key_up = input::OnKeyUp;
  }
  void TearDown() override {
    kxsystem::callbacks = kxcallbacks();
    EventNodesTest::TearDown();
  }
  // Through the real translator of a 640 x 480 window.
  void Deliver(const SDL_Event& e) {
    kxplatformevent out[4];
    int n = kxsystem::TranslateEvent(e, 640, 480, 640, 480, out, 4);
    for (int i = 0; i < n; ++i) kxsystem::DispatchEvent(out[i]);
  }
  SDL_Event Button(Uint32 kind, int x, int y) {
    SDL_Event e = {};
    e.type = kind;
    e.button.button = SDL_BUTTON_LEFT;
    e.button.state = kind == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
    e.button.clicks = 1;
    e.button.x = x;
    e.button.y = y;
    return e;
  }
};

TEST_F(MouseEventsTest, ClickReachesTheMouseSlotsAndTheDisplay) {
  Deliver(Button(SDL_MOUSEBUTTONDOWN, 0, 479));
  EXPECT_FLOAT_EQ(Slot(100), 0.5f / 640);
  EXPECT_FLOAT_EQ(Slot(101), 0.5f / 480);
  EXPECT_EQ(Slot(102), 1.0f);
  EXPECT_EQ(Slot(103), 0.0f);
  Deliver(Button(SDL_MOUSEBUTTONUP, 320, 0));
  EXPECT_EQ(Slot(102), 0.0f);
  EXPECT_FLOAT_EQ(Slot(101), 479.5f / 480);
  ASSERT_EQ(received.size(), 2u);
  EXPECT_EQ(received[0], "mouse 24 0");
  EXPECT_EQ(received[1], "mouse 23 0");
}

TEST_F(MouseEventsTest, PointingDeviceScriptBindsToTheMouseSlots) {
  kxtype::Register(&pointerholder::Type);
  kxscript::Execute("Append kxtestpointerholder DPY\nDPY/PointingDevice = /Pinboard/Mouse/Out\n", kxscript::Root());
  auto* holder = static_cast<pointerholder*>(kxnode::Find("/DPY/"));
  ASSERT_NE(holder, nullptr);
  EXPECT_EQ(holder->PointingDevice, board->slots + 100);
  delete holder;
}

TEST_F(MouseEventsTest, KeyEventsOfTheTranslatorReachTheKeyboardDevice) {
  SDL_Event e = {};
  e.type = SDL_KEYDOWN;
  e.key.keysym.sym = SDLK_ESCAPE;
  e.key.keysym.scancode = SDL_SCANCODE_ESCAPE;
  Deliver(e);
  EXPECT_EQ(Slot(120), static_cast<float>(kxcode::kKeyEscape));
  ASSERT_EQ(received.size(), 1u);
  EXPECT_EQ(received[0], "key 260 0");
}

}  // namespace
