#include "platform/event_nodes.h"

#include <string>
#include <vector>

#include "core/interpreter.h"
#include "input_support.h"
#include "platform/clock.h"
#include "platform/codes.h"
#include "platform/device_simple.h"

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

TEST_F(EventNodesTest, KeypadSteeringWritesTheMainControllersSlots) {
  kxscript::Execute("Append kxeventcontroller Controller\nController/Values( 200 )\n", panel);
  for (int i = 4; i < 8; ++i) board->slots[200 + i] = -1.0f;
  for (int i = 0; i < 3; ++i) input::OnKey(kxcode::kKeyPad0 + 8, 0);
  EXPECT_FLOAT_EQ(Slot(201), 0.3f);
  input::OnKey(kxcode::kKeyPad0 + 5, 0);
  EXPECT_EQ(Slot(201), 0.0f);
  input::OnKey(kxcode::kKeyPad0 + 4, 0);
  EXPECT_FLOAT_EQ(Slot(202), -0.1f);
  input::OnKey(kxcode::kKeyPad0 + 6, 0);
  input::OnKey(kxcode::kKeyPad0 + 6, 0);
  EXPECT_FLOAT_EQ(Slot(202), 0.1f);
  input::OnKey(kxcode::kKeyPad0 + 1, 0);
  EXPECT_EQ(Slot(204), 1.0f);
  input::OnKey(kxcode::kKeyPad0 + 1, 0);
  EXPECT_EQ(Slot(204), -1.0f);
  input::OnKey(kxcode::kKeyPad0 + 3, 0);
  input::OnKey(kxcode::kKeyPad0 + 7, 0);
  input::OnKey(kxcode::kKeyPad0 + 9, 0);
  EXPECT_EQ(Slot(205), 1.0f);
  EXPECT_EQ(Slot(206), 1.0f);
  EXPECT_EQ(Slot(207), 1.0f);
  for (int i = 0; i < 15; ++i) input::OnKey(kxcode::kKeyPad0 + 2, 0);
  EXPECT_EQ(Slot(201), -1.0f);  // clamped
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
}

TEST_F(EventNodesTest, KeyUpDoesNothing) {
  input::OnKeyUp(kxcode::kKeyPad0 + 8, 0);
  EXPECT_TRUE(received.empty());
  EXPECT_EQ(Slot(122), 0.0f);
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
}

TEST_F(EventNodesTest, TimerSurvivesTheClockWrap) {
  kxsystem::SetClockForTest(FakeClock);
  fakeNow = 0xFFFFFFFFu - 10000;
  input::Update();
  fakeNow = 20000;  // wrapped
  input::Update();
  EXPECT_NEAR(Slot(151), 0.030001f, 1e-5f);
}

TEST_F(EventNodesTest, DisplayBindingRoutesMouseCodesToTheMouseHandler) {
  input::Dispatch(kxcode::kMouseLeftDown, kxcode::kModShift, 0);
  input::Dispatch(kxcode::kMouseLeave, 0, 0);
  ASSERT_EQ(received.size(), 2u);
  EXPECT_EQ(received[0], "mouse 24 512");
  EXPECT_EQ(received[1], "mouse 33 0");
}

TEST_F(EventNodesTest, EventsWithoutHandlersAreDropped) {
  input::SetDisplayHandlers(kxdisplayhandlers());
  input::Dispatch(kxcode::kMouseMove, 0, 0);
  input::Dispatch(kxcode::kTimerEvent, 0, 0);
  input::OnKey('a', 0);
  EXPECT_TRUE(received.empty());
}

}  // namespace
