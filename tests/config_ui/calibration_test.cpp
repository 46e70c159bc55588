// The calibration windows: the three steps with their buttons, commands and
// instructions, the centre and end stops a joystick and a transmitter give,
// the transmitter's centre rule, the files Ok writes and what Cancel and the
// close box restore, and the transmitter window's signal messages.
#include <gtest/gtest.h>

#include "gui/gui.h"
#include "platform/codes.h"
#include "platform/files.h"
#include "tests/config_ui/config_support.h"

namespace {

class CalibrationTest : public configtest::cabletest {
 protected:
  void SetUp() override {
    cabletest::SetUp();
    sim::ForgetSignalCounts();
    game = Get<kxwindowdevicegame>("DeviceGame");
    radio = Get<kxwindowdeviceradio>("DeviceRadio");
  }
  kxdevicegame* Node(const char* name) {
    return static_cast<kxdevicegame*>(kxnode::Find((std::string("/Pinboard/") + name).c_str()));
  }
  // The button line and the calibrate button's command and text.
  static std::string Buttons(const kxwindowdevice* w) {
    std::string s =
        (w->okButton->parent == w ? "ok " : "") + std::string(w->cancelButton->parent == w ? "cancel " : "");
    return s + w->calibrateButton->OnPress.Str() + " [" + w->calibrateButton->Text.Str() + "]";
  }
  static void Updates(int n) {
    for (int i = 0; i < n; ++i) input::Update();
  }
  kxwindowdevicegame* game = nullptr;
  kxwindowdeviceradio* radio = nullptr;
};

TEST_F(CalibrationTest, JoystickStepsCaptureTheCentreThenWidenToTheEndStops) {
  sticks.Attach();
  Search();
  kxinputdevice* stick = Record(0);
  kxdevicegame* node = Node("Analog Joystick #1");
  ASSERT_EQ(game->Open(node), 1);
  ASSERT_TRUE(Shown("DeviceGame"));
  EXPECT_EQ(Buttons(game), "ok cancel ../CalibrationStart [  Calibrate  ]");

  Run("/Display/Visible/DeviceGame/CalibrationStart");
  EXPECT_EQ(game->instruction->Text.Str(), "centre");
  EXPECT_EQ(Buttons(game), "../CalibrationZero [Ok]");

  board->slots[600] = 0.25f;
  inputtest::virtualjoysticks::SetAxis(stick, 0, 3277);  // raw 100
  Run("/Display/Visible/DeviceGame/CalibrationZero");
  EXPECT_EQ(game->instruction->Text.Str(), "ends");
  EXPECT_EQ(Buttons(game), "../CalibrationFinish [Ok]");
  EXPECT_EQ(node->capture, 20);
  EXPECT_EQ(node->calibrating, 1);
  Updates(20);
  EXPECT_FLOAT_EQ(board->slots[600], 0.25f);  // no outputs while capturing
  EXPECT_EQ(stick->zero[0], 100);

  inputtest::virtualjoysticks::SetAxis(stick, 0, 32767);
  input::Update();
  EXPECT_FLOAT_EQ(board->slots[600], 1.0f);
  inputtest::virtualjoysticks::SetAxis(stick, 0, -32768);
  input::Update();
  inputtest::virtualjoysticks::SetAxis(stick, 0, 3277);
  input::Update();
  EXPECT_FLOAT_EQ(board->slots[600], 0.0f);

  game->CalibrationFinish();
  EXPECT_EQ(node->calibrating, 0);
  EXPECT_EQ(game->instruction->Text.Str(), "");
  EXPECT_EQ(Buttons(game), "ok cancel ../CalibrationStart [  Calibrate  ]");
  EXPECT_EQ(stick->zero[0], 100);  // a joystick keeps its captured centre
  EXPECT_EQ(stick->minimum[0], -1000);
  EXPECT_EQ(stick->maximum[0], 1000);

  Run("/Display/Visible/DeviceGame/Ok;/Display/Invisible/InputDevices/Open");
  EXPECT_FALSE(Shown("DeviceGame"));
  EXPECT_TRUE(Shown("InputDevices"));
  kxinputdevice copy;
  ASSERT_EQ(kxinput::LoadCalibration("config/joystick0.kxc", &copy), 1);
  EXPECT_EQ(copy.zero[0], 100);
  EXPECT_EQ(copy.minimum[0], -1000);
  EXPECT_EQ(copy.maximum[0], 1000);
}

TEST_F(CalibrationTest, TransmitterCentreIsTheMeanUnlessTheStickRestsAtAnEnd) {
  int dev = AddCable();
  Search();
  kxinputdevice* cable = Record(0);
  kxdevicegame* node = Node("USB Interface");
  radio->Open(node);
  radio->CalibrationStart();
  radio->CalibrationZero();
  // Channel 1 sprung to its centre with a little noise, channel 2 the
  // throttle resting low.
  for (int i = 0; i < 20; ++i) {
    Send(dev, cable, {1500 + (i % 2), 1000});
    input::Update();
  }
  EXPECT_EQ(node->capture, 0);
  EXPECT_EQ(cable->zero[0], 9003);  // mean of 9000 and 9006
  EXPECT_EQ(cable->zero[1], 6000);
  for (const std::vector<int>& frame : {std::vector<int>{1000, 2000}, {2000, 1000}, {1500, 1000}}) {
    Send(dev, cable, frame);
    input::Update();
  }
  radio->CalibrationFinish();
  EXPECT_EQ(cable->zero[0], 9003);
  EXPECT_EQ(cable->zero[1], 9000);  // the middle of 6000..12000
  EXPECT_EQ(cable->minimum[1], 6000);
  EXPECT_EQ(cable->maximum[1], 12000);
  radio->Ok();
  std::string file = File("config/radio0.kxc");
  EXPECT_EQ(file.rfind("kxcalibration 12\n0 9003 6000 12000 0\n1 9000 6000 12000 0\n", 0), 0u) << file;
}

TEST_F(CalibrationTest, CancelAndTheCloseBoxEndTheCalibrationAndRestoreTheOpenedValues) {
  int dev = AddCable();
  Put("config/radio0.kxc", "kxcalibration 1\n0 9100 6100 12100 0\n");
  Search();
  kxinputdevice* cable = Record(0);
  kxdevicegame* node = Node("USB Interface");
  for (const char* close : {"Cancel", "close box"}) {
    SCOPED_TRACE(close);
    radio->Open(node);
    radio->CalibrationStart();
    radio->CalibrationZero();
    Send(dev, cable, {1200});
    input::Update();
    EXPECT_EQ(cable->zero[0], 7200);
    if (std::string(close) == "Cancel")
      Run("/Display/Visible/DeviceRadio/Cancel");
    else
      kxscript::Execute(radio->OnClose.Text(), radio);
    EXPECT_FALSE(Shown("DeviceRadio"));
    EXPECT_EQ(node->calibrating, 0);
    EXPECT_EQ(node->capture, 0);
    EXPECT_EQ(Buttons(radio), "ok cancel ../CalibrationStart [  Calibrate  ]");
    EXPECT_EQ(radio->Step(), kxwindowdevice::step::idle);
    EXPECT_EQ(cable->zero[0], 9100);
    EXPECT_EQ(cable->minimum[0], 6100);
    EXPECT_EQ(cable->maximum[0], 12100);
  }
  EXPECT_TRUE(Shown("InputDevices"));  // the close box goes back to the list
  // Without a file the values the window opened with come back all the same.
  cable->zero[3] = 8000;
  radio->Open(node);
  radio->CalibrationStart();
  radio->CalibrationZero();
  input::Update();
  radio->Cancel();
  EXPECT_EQ(cable->zero[3], 8000);
}

TEST_F(CalibrationTest, TheTransmitterWindowTellsWhetherASignalArrives) {
  int dev = AddCable();
  Search();
  kxinputdevice* cable = Record(0);
  cable->raw[0] = 9100;
  radio->Open(Node("USB Interface"));
  EXPECT_EQ(sim::CheckSignal(radio), 1);  // first look: no channels yet
  EXPECT_EQ(radio->instruction->Text.Str(), "Warning: No transmitter signal detected!");
  EXPECT_EQ(radio->calibrateButton->disabled, 1);
  EXPECT_EQ(cable->raw[0], 0);
  EXPECT_EQ(sim::CheckSignal(radio), 0);  // unchanged

  Send(dev, cable, {1500, 1500, 1500, 1500, 1500, 1500, 1500, 1500});
  EXPECT_EQ(sim::CheckSignal(radio), 1);
  EXPECT_EQ(radio->instruction->Text.Str(), "Transmitter with 8 channels detected.");
  EXPECT_EQ(radio->calibrateButton->disabled, 0);
  radio->CalibrationStart();
  EXPECT_EQ(sim::CheckSignal(radio), 0);
  EXPECT_EQ(radio->instruction->Text.Str(), "centre");  // an unchanged count leaves the step's text

  // A translation's format must convert the count the same way.
  Run("/Display/Visible/DeviceRadio/TextNumChannels = \"%s Kanaele\"");
  Send(dev, cable, {1500, 1500, 1500, 1500, 1500, 1500});
  EXPECT_EQ(sim::CheckSignal(radio), 1);
  EXPECT_EQ(radio->instruction->Text.Str(), "Transmitter with 6 channels detected.");
  EXPECT_EQ(svconfig::ChannelCountText("Sender mit %d Kanaelen (100%%)", 4), "Sender mit 4 Kanaelen (100%)");
  EXPECT_EQ(svconfig::ChannelCountText("%d of %d", 4), "Transmitter with 4 channels detected.");
}

TEST_F(CalibrationTest, OpenTakesOnlyADeviceNodeOfItsOwnKind) {
  AddCable();
  Search();
  EXPECT_EQ(game->Open(Node("USB Interface")), 0);
  Run("/Display/Invisible/DeviceRadio/Open( /Pinboard/Mouse/ )");
  Run("/Display/Invisible/DeviceRadio/Open( 7 )");
  EXPECT_FALSE(Shown("DeviceGame"));
  EXPECT_FALSE(Shown("DeviceRadio"));
  EXPECT_EQ(radio->device, nullptr);
  EXPECT_TRUE(inputtest::Logged("config:  DeviceRadio: Open needs a device node it calibrates\n"));
  // Steps without a device change nothing.
  radio->CalibrationStart();
  EXPECT_EQ(radio->Step(), kxwindowdevice::step::idle);
  EXPECT_EQ(radio->okButton->parent, radio);
}

}  // namespace
