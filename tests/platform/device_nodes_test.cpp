#include "platform/device_nodes.h"

#include "input_support.h"
#include "platform/codes.h"

namespace {

using inputtest::CableFrame;
using inputtest::CableReport;

class DeviceNodesTest : public inputtest::InputTreeTest {
 protected:
  template <class T>
  T* AddNode(kxinputdevice* record, int slot) {
    T* node = new T(record);
    board->AppendChild(node);
    EXPECT_EQ(node->PlugIn(slot, 0), 1);
    return node;
  }
  // A cable's record at its default calibration, and its node at slot 1000.
  kxdevicetransmitter* CableNode(kxinputdevice* record) {
    record->kind = kxcode::kDeviceUsb;
    record->subkind = kxcode::kDeviceCable;
    kxinput::SetDefaultCalibration(record);
    return AddNode<kxdevicetransmitter>(record, 1000);
  }
};

TEST_F(DeviceNodesTest, CableChannelsReachTheirSlotsCalibrated) {
  int dev = AddCable();
  kxinput::SearchDevices(kxinput::kSearchEnumerate);
  kxinputdevice* cable = kxinput::FirstDevice();
  auto* node = AddNode<kxdevicetransmitter>(cable, 1000);
  EXPECT_EQ(node->channels, 12);
  auto reports = CableFrame({1500, 2000, 1000, 1750, 1250, 2200});
  reports.push_back(CableReport({10000}));
  Play(dev, cable, reports);
  ASSERT_EQ(usbinterface::Poll(cable), 1);
  input::Update();
  EXPECT_FLOAT_EQ(Slot(1000), 0.0f);
  EXPECT_FLOAT_EQ(Slot(1001), 1.0f);
  EXPECT_FLOAT_EQ(Slot(1002), -1.0f);
  EXPECT_FLOAT_EQ(Slot(1003), 0.5f);
  EXPECT_FLOAT_EQ(Slot(1004), -0.5f);
  EXPECT_FLOAT_EQ(Slot(1005), 1.0f);  // beyond the end stop, clamped
}

TEST_F(DeviceNodesTest, SecondUsbDeviceUsesTheNextHundredSlots) {
  AddCable("/dev/c1", "");
  int pad = AddPadPilot("/dev/p1", "");
  kxinput::SearchDevices(kxinput::kSearchEnumerate);
  kxinputdevice* second = kxinput::FirstDevice()->next;
  AddNode<kxdevicetransmitter>(kxinput::FirstDevice(), 1000);
  AddNode<kxdevicetransmitter>(second, 1100);
  const uint8_t axes[6] = {255, 0, 128, 128, 128, 128};
  Play(pad, second, {inputtest::PadPilotReport(axes, 0x01)});
  usbinterface::Poll(second);
  input::Update();
  EXPECT_FLOAT_EQ(Slot(1100), 1.0f);
  EXPECT_FLOAT_EQ(Slot(1101), -1.0f);
  EXPECT_FLOAT_EQ(Slot(1106), 1.0f);   // button 1 pressed
  EXPECT_FLOAT_EQ(Slot(1107), -1.0f);  // button 2 released
  EXPECT_FLOAT_EQ(Slot(1000), 0.0f);   // the cable without signal reads centred
}

TEST_F(DeviceNodesTest, TransmitterCaptureTakesTheRoundedMeanAndWritesNoOutputs) {
  kxinputdevice record;
  auto* node = CableNode(&record);
  node->capture = 20;
  node->calibrating = 1;
  board->slots[1000] = 0.25f;
  for (int i = 0; i < 20; ++i) {
    record.raw[0] = 9000 + i;
    input::Update();
    EXPECT_EQ(board->slots[1000], 0.25f) << "update " << i;
  }
  EXPECT_EQ(node->capture, 0);
  EXPECT_EQ(record.zero[0], 9010);   // mean 9009.5 rounded up
  EXPECT_EQ(record.minimum[0], 9000);  // the first sample
  EXPECT_EQ(record.maximum[0], 9000);
  record.raw[0] = 12500;
  input::Update();
  EXPECT_EQ(record.maximum[0], 12500);
  EXPECT_FLOAT_EQ(Slot(1000), 1.0f);
}

// A calibration window cancelled during the capture sets the counter to 0;
// the next capture must not go on with the old sums and end stops.
TEST_F(DeviceNodesTest, ACaptureCutShortAndSetAgainStartsFromItsFirstSample) {
  kxinputdevice record;
  auto* node = CableNode(&record);
  node->capture = 20;
  record.raw[0] = 6000;
  for (int i = 0; i < 3; ++i) input::Update();
  node->capture = 0;
  node->capture = 20;
  record.raw[0] = 9000;
  for (int i = 0; i < 20; ++i) input::Update();
  EXPECT_EQ(record.zero[0], 9000);
  EXPECT_EQ(record.minimum[0], 9000);
}

TEST_F(DeviceNodesTest, JoystickCaptureKeepsTheLastSample) {
  kxinputdevice record;
  record.kind = kxcode::kDeviceJoystick;
  kxinput::SetDefaultCalibration(&record);
  auto* node = AddNode<kxdevicegame>(&record, 600);
  node->capture = 20;
  for (int i = 0; i < 20; ++i) {
    record.raw[2] = 10 * i;
    input::Update();
  }
  EXPECT_EQ(record.zero[2], 190);
  EXPECT_EQ(record.minimum[2], 190);
  EXPECT_EQ(record.maximum[2], 190);
  node->calibrating = 1;
  record.raw[2] = -800;
  input::Update();
  EXPECT_EQ(record.minimum[2], -800);
  EXPECT_FLOAT_EQ(Slot(602), -1.0f);
}

TEST_F(DeviceNodesTest, NodesMadeByScriptHaveNoRecordAndDoNothing) {
  kxscript::Execute("Append kxdevicegame G\nG/PlugIn( 600 )\nAppend kxdevicetransmitter T\nT/PlugIn( 1000 )\n",
                    board);
  board->slots[600] = 0.5f;
  input::Update();
  EXPECT_EQ(Slot(600), 0.5f);
  EXPECT_FALSE(kxtype::IsDerivedFrom(board->FindChild("T")->type, &kxdevicegame::Type));
}

TEST_F(DeviceNodesTest, NodeOfAVanishedDeviceReadsCentred) {
  int dev = AddCable();
  kxinput::SearchDevices(kxinput::kSearchEnumerate);
  kxinputdevice* cable = kxinput::FirstDevice();
  AddNode<kxdevicetransmitter>(cable, 1000);
  auto reports = CableFrame(std::vector<int>(4, 2000));
  reports.push_back(CableReport({10000}));
  Play(dev, cable, reports);
  usbinterface::Poll(cable);
  input::Update();
  EXPECT_FLOAT_EQ(Slot(1000), 1.0f);
  fake.Disconnect(dev);
  kxinput::SearchDevices(kxinput::kSearchEnumerate);
  input::Update();
  EXPECT_FLOAT_EQ(Slot(1000), 0.0f);
}

}  // namespace
