#include <SDL2/SDL.h>

#include "input_support.h"
#include "platform/codes.h"
#include "platform/device_nodes.h"

namespace {

class JoystickTest : public inputtest::InputTreeTest {
 protected:
  void SetUp() override {
    InputTreeTest::SetUp();
    ASSERT_EQ(sticks.Start(), 0) << SDL_GetError();
  }
  void TearDown() override {
    InputTreeTest::TearDown();  // closes the records' handles first
    sticks.Stop();
  }
  int Attach(int axes = 8, int buttons = 4) { return sticks.Attach(axes, buttons); }
  inputtest::virtualjoysticks sticks;
};

TEST_F(JoystickTest, AxesAndButtonsReachSlotsOfTheirJoystick) {
  Attach();
  Attach(2, 1);
  ASSERT_EQ(kxinput::SearchDevices(kxinput::kSearchEnumerate), 2);
  kxinput::OpenJoysticks();
  kxinputdevice* first = kxinput::FirstDevice();
  kxinputdevice* second = first->next;
  ASSERT_EQ(first->kind, kxcode::kDeviceJoystick);
  EXPECT_EQ(first->fixed_channels, 12);
  EXPECT_EQ(first->subkind, 0);
  ASSERT_NE(first->joystick, nullptr);
  auto* a = new kxdevicegame(first);
  auto* b = new kxdevicegame(second);
  board->AppendChild(a);
  board->AppendChild(b);
  ASSERT_EQ(a->PlugIn(600, 0), 1);
  ASSERT_EQ(b->PlugIn(650, 0), 1);

  SDL_Joystick* j = reinterpret_cast<SDL_Joystick*>(first->joystick);
  SDL_JoystickSetVirtualAxis(j, 0, SDL_JOYSTICK_AXIS_MAX);
  SDL_JoystickSetVirtualAxis(j, 1, SDL_JOYSTICK_AXIS_MIN);
  SDL_JoystickSetVirtualAxis(j, 7, 16384);
  SDL_JoystickSetVirtualButton(j, 3, SDL_PRESSED);
  SDL_Joystick* k = reinterpret_cast<SDL_Joystick*>(second->joystick);
  SDL_JoystickSetVirtualAxis(k, 1, -16384);
  input::Update();

  EXPECT_EQ(first->raw[0], 1000);
  EXPECT_EQ(first->raw[1], -1000);
  EXPECT_EQ(first->raw[7], 500);
  EXPECT_FLOAT_EQ(Slot(600), 1.0f);
  EXPECT_FLOAT_EQ(Slot(601), -1.0f);
  EXPECT_FLOAT_EQ(Slot(607), 0.5f);
  EXPECT_FLOAT_EQ(Slot(608), -1.0f);  // button 1 released
  EXPECT_FLOAT_EQ(Slot(611), 1.0f);   // button 4 pressed
  EXPECT_FLOAT_EQ(Slot(651), -0.5f);
  EXPECT_FLOAT_EQ(Slot(652), 0.0f);   // missing axis reads centred
  EXPECT_FLOAT_EQ(Slot(659), -1.0f);  // missing button reads released
}

TEST_F(JoystickTest, UsbDevicesComeBeforeJoysticks) {
  Attach();
  AddCable();
  ASSERT_EQ(kxinput::SearchDevices(kxinput::kSearchEnumerate), 2);
  EXPECT_EQ(kxinput::FirstDevice()->kind, kxcode::kDeviceUsb);
  EXPECT_EQ(kxinput::FirstDevice()->next->kind, kxcode::kDeviceJoystick);
  EXPECT_EQ(kxinput::FirstDevice()->next->index, 1);
}

TEST_F(JoystickTest, UnpluggedJoystickReadsCentredAndLeavesTheList) {
  int index = Attach();
  kxinput::SearchDevices(kxinput::kSearchEnumerate);
  kxinput::OpenJoysticks();
  kxinputdevice* stick = kxinput::FirstDevice();
  SDL_JoystickSetVirtualAxis(reinterpret_cast<SDL_Joystick*>(stick->joystick), 0, SDL_JOYSTICK_AXIS_MAX);
  kxinput::PollDevice(stick);
  EXPECT_EQ(stick->raw[0], 1000);
  SDL_JoystickDetachVirtual(index);
  sticks.attached.clear();
  kxinput::PollDevice(stick);
  EXPECT_EQ(stick->raw[0], 0);
  EXPECT_EQ(kxinput::SearchDevices(kxinput::kSearchEnumerate), 0);
  EXPECT_EQ(kxinput::FirstDevice(), nullptr);
}

}  // namespace
