// The input devices window over the fake USB transport and SDL's virtual
// joysticks: the device nodes it lists (names, slots, calibration stems),
// the selection, a new search, and opening the calibration window of the
// chosen device.
#include <gtest/gtest.h>

#include "gui/display.h"
#include "gui/gui.h"
#include "platform/codes.h"
#include "platform/files.h"
#include "tests/config_ui/config_support.h"

namespace {

class InputDevicesTest : public configtest::cabletest {
 protected:
  void SetUp() override {
    cabletest::SetUp();
    window = Get<kxwindowinputdevices>("InputDevices");
    ASSERT_NE(window, nullptr);
  }
  kxrow* Row(int i) const {
    kxnode* n = window->devices->firstChild;
    for (; n && i > 0; --i) n = n->nextSibling;
    return kxnode::As<kxrow>(n);
  }
  kxwindowinputdevices* window = nullptr;
};

TEST_F(InputDevicesTest, DevicesGetTheirNamesSlotsAndCalibrationStems) {
  AddCable("/dev/c", "");
  AddPadPilot("/dev/p", "");
  sticks.Attach();
  sticks.Attach();
  Search();
  struct node {
    const char* name;
    int slot;
    const char* stem;
  };
  // USB devices are found first; the transmitters count slots together and
  // stems per kind.
  const node expected[] = {{"USB Interface", 1000, "radio0"},
                           {"PadPilot", 1100, "usbpp0"},
                           {"Analog Joystick #1", 600, "joystick0"},
                           {"Analog Joystick #2", 650, "joystick1"}};
  kxnode* n = board->firstChild;
  for (const node& e : expected) {
    while (n && !kxnode::As<kxdevicegame>(n) && !kxnode::As<kxdevicetransmitter>(n)) n = n->nextSibling;
    ASSERT_NE(n, nullptr) << e.name;
    auto* device = static_cast<kxdevicegame*>(n);
    EXPECT_EQ(device->name.Str(), e.name);
    EXPECT_EQ(device->slot, e.slot) << e.name;
    EXPECT_EQ(device->stem.Str(), e.stem) << e.name;
    EXPECT_EQ(device->channels, 12) << e.name;
    n = n->nextSibling;
  }

  Run("/Display/Invisible/InputDevices/Open");
  EXPECT_TRUE(Shown("InputDevices"));
  EXPECT_EQ(kxgui::Capture, window);
  EXPECT_EQ(Names(window->devices), "USB Interface PadPilot Analog Joystick #1 Analog Joystick #2");
  EXPECT_EQ(Cell(Row(2), 0), "Analog Joystick #1");
  EXPECT_EQ(Cell(Row(2), 1), "ok");
  EXPECT_EQ(Cell(Row(2), 2), "12");
  EXPECT_EQ(window->selection, Row(0));
  EXPECT_EQ(Row(0)->fill.a, kxgui::Palette(kxgui::kColorSelection).a);
}

TEST_F(InputDevicesTest, CalibrationFilesAreLoadedForTransmittersAndForJoysticksWithContent) {
  // A joystick file of 27 bytes or less holds no calibration and is not read.
  Put("config/joystick0.kxc", "kxcalibration 1\n0 5 -50 60 1\n");
  Put("config/joystick1.kxc", "kxcalibration 0\n");
  Put("config/radio0.kxc", "kxcalibration 1\n0 9100 6100 12100 0\n");
  AddCable();
  sticks.Attach();
  sticks.Attach();
  Search();
  EXPECT_EQ(Record(0)->zero[0], 9100);
  EXPECT_EQ(Record(1)->zero[0], 5);
  EXPECT_EQ(Record(1)->invert[0], 1);
  EXPECT_EQ(Record(2)->zero[0], 0);
  EXPECT_TRUE(inputtest::Logged("loading input device calibration config/radio0.kxc="));
  EXPECT_FALSE(inputtest::Logged("config/joystick1.kxc"));
}

TEST_F(InputDevicesTest, WithoutDevicesTheListIsEmptyAndPropertiesDoesNothing) {
  Search();
  window->Open();
  EXPECT_EQ(window->devices->firstChild, nullptr);
  EXPECT_EQ(window->selection, nullptr);
  window->OpenProperties();
  EXPECT_TRUE(Shown("InputDevices"));
  EXPECT_FALSE(Shown("DeviceGame"));
  EXPECT_FALSE(Shown("DeviceRadio"));
}

TEST_F(InputDevicesTest, OnlyARowCanBeSelectedAndARefreshSelectsTheFirstAgain) {
  AddCable();
  sticks.Attach();
  Search();
  window->Open();
  kxrow* second = Row(1);
  Run("/Display/Visible/InputDevices/Select( /Pinboard/ )");
  EXPECT_EQ(window->selection, Row(0));
  window->Select(second);
  EXPECT_EQ(window->selection, second);
  EXPECT_EQ(Row(0)->fill.r, kxgui::Palette(kxgui::kColorListBackground).r);
  EXPECT_EQ(kxnode::As<kxtext>(second->firstChild)->textColor.r, kxgui::Palette(kxgui::kColorSelectionText).r);
  Run("/Display/Visible/InputDevices/RefreshDevices");
  EXPECT_TRUE(inputtest::Logged("kxinput:  searching for input devices...(3)"));
  EXPECT_EQ(Names(window->devices), "USB Interface Analog Joystick #1");
  EXPECT_EQ(window->selection, Row(0));
}

TEST_F(InputDevicesTest, DoubleClickOnARowSelectsItAndOpensItsCalibrationWindow) {
  AddCable();
  sticks.Attach();
  Search();
  window->Open();
  screen->Update();
  DoubleClickOn(kxnode::As<kxgraphic>(Row(1)->firstChild->nextSibling));
  EXPECT_FALSE(Shown("InputDevices"));
  ASSERT_TRUE(Shown("DeviceGame"));
  auto* game = Get<kxwindowdevicegame>("DeviceGame");
  EXPECT_EQ(game->Title.Str(), "Analog Joystick #1");
  EXPECT_EQ(game->device, kxnode::Find("/Pinboard/Analog Joystick #1"));
  EXPECT_EQ(kxgui::Capture, game);
  EXPECT_EQ(kxgui::Focus, game);
  std::string labels;
  for (kxnode* row = game->channels->firstChild; row; row = row->nextSibling) labels += Cell(row, 0) + " ";
  EXPECT_EQ(labels, "X Y Z Rx Ry Rz Slider[0] Slider[1] Button[0] Button[1] Button[2] Button[3] ");
}

TEST_F(InputDevicesTest, TransmittersOpenTheInterfaceWindowWithTheirChannelLabels) {
  AddCable();
  AddPadPilot();
  Search();
  window->Open();
  window->Select(Row(1));
  window->OpenProperties();
  ASSERT_TRUE(Shown("DeviceRadio"));
  auto* radio = Get<kxwindowdeviceradio>("DeviceRadio");
  EXPECT_EQ(radio->Title.Str(), "PadPilot");
  std::string labels;
  for (kxnode* row = radio->channels->firstChild; row; row = row->nextSibling) labels += Cell(row, 0) + ",";
  EXPECT_EQ(labels, "1,2,3,4,5,6,Button 1,Button 2,Button 3,Button 4,Button 5,Button 6,");
  // Each bar shows its channel's slot.
  auto* bar = kxnode::As<kxclickbox>(radio->channels->lastChild->lastChild);
  ASSERT_NE(bar, nullptr);
  EXPECT_EQ(bar->value, board->slots + 1111);

  radio->Cancel();
  Run("/Display/Invisible/InputDevices/Open");
  window->OpenProperties();  // the first row, the cable
  EXPECT_EQ(Cell(radio->channels->lastChild, 0), "12");
}

TEST_F(InputDevicesTest, ANewSearchHidesACalibrationWindowWhoseDeviceWentAway) {
  AddCable();
  Search();
  window->Open();
  window->OpenProperties();
  auto* radio = Get<kxwindowdeviceradio>("DeviceRadio");
  ASSERT_TRUE(Shown("DeviceRadio"));
  radio->CalibrationStart();
  sim::BuildDeviceNodes();
  EXPECT_FALSE(Shown("DeviceRadio"));
  EXPECT_EQ(radio->device, nullptr);
  EXPECT_EQ(radio->channels->firstChild, nullptr);
  EXPECT_EQ(radio->okButton->parent, radio);  // back in idle
  radio->Ok();                                // without a device: nothing saved
  EXPECT_EQ(kxsystem::GetFileSize("config/radio0.kxc"), -1);
}

TEST_F(InputDevicesTest, ThePinboardMemberTakesOnlyAPinboard) {
  Run("/Display/Invisible/InputDevices/Pinboard = /Panel/");
  EXPECT_EQ(window->pinboard, nullptr);
  Run("/Display/Invisible/InputDevices/Pinboard = /Pinboard/");
  EXPECT_EQ(window->pinboard, board);
}

}  // namespace
