#include "platform/input_devices.h"

#include "input_support.h"
#include "platform/codes.h"

namespace {

using inputtest::Logged;

class InputSearchTest : public inputtest::UsbTest {};

TEST_F(InputSearchTest, SearchLogsModeAndListsUsbDevicesFirst) {
  AddPadPilot("/dev/p1", "");
  AddCable("/dev/c1", "");
  EXPECT_EQ(kxinput::SearchDevices(3), 2);
  EXPECT_TRUE(Logged("kxinput:  searching for input devices...(3)\n"));
  kxinputdevice* first = kxinput::FirstDevice();
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first->kind, kxcode::kDeviceUsb);
  EXPECT_EQ(first->subkind, kxcode::kDeviceCable);  // cables are enumerated first
  EXPECT_EQ(first->fixed_channels, 0);
  EXPECT_EQ(first->index, 0);
  EXPECT_STREQ(first->name.Text(), "USB Interface");
  ASSERT_NE(first->next, nullptr);
  EXPECT_EQ(first->next->index, 1);
  EXPECT_STREQ(first->next->name.Text(), "PadPilot");
  EXPECT_TRUE(Logged("kxinput:  found USB Interface\n"));
}

TEST_F(InputSearchTest, SecondDeviceOfOneNameGetsANumber) {
  AddCable("/dev/c1", "Link");
  AddCable("/dev/c2", "Link");
  kxinput::SearchDevices(kxinput::kSearchEnumerate);
  EXPECT_STREQ(kxinput::FirstDevice()->name.Text(), "Link");
  EXPECT_STREQ(kxinput::FirstDevice()->next->name.Text(), "Link #2");
}

TEST_F(InputSearchTest, ModeTwoAloneDoesNotEnumerate) {
  AddCable();
  EXPECT_EQ(kxinput::SearchDevices(kxinput::kSearchRequery), 0);
  EXPECT_EQ(kxinput::FirstDevice(), nullptr);
}

TEST_F(InputSearchTest, AtMostFourUsbDevicesAreListed) {
  for (int i = 0; i < 6; ++i) AddCable(("/dev/c" + std::to_string(i)).c_str(), "");
  EXPECT_EQ(kxinput::SearchDevices(kxinput::kSearchEnumerate), 4);
}

TEST_F(InputSearchTest, PresentDeviceKeepsItsRecordAndCalibration) {
  AddCable("/dev/c1", "");
  kxinput::SearchDevices(kxinput::kSearchEnumerate);
  kxinputdevice* cable = kxinput::FirstDevice();
  cable->zero[3] = 9100;
  kxinput::SearchDevices(kxinput::kSearchEnumerate);
  EXPECT_EQ(kxinput::FirstDevice(), cable);
  EXPECT_EQ(cable->zero[3], 9100);
}

TEST_F(InputSearchTest, VanishedDeviceLeavesTheListButItsRecordStaysCentred) {
  int a = AddCable("/dev/c1", "");
  AddPadPilot("/dev/p1", "");
  kxinput::SearchDevices(kxinput::kSearchEnumerate);
  kxinputdevice* cable = kxinput::FirstDevice();
  cable->raw[0] = 12000;
  fake.Disconnect(a);
  EXPECT_EQ(kxinput::SearchDevices(kxinput::kSearchEnumerate), 1);
  EXPECT_STREQ(kxinput::FirstDevice()->name.Text(), "PadPilot");
  EXPECT_EQ(kxinput::FirstDevice()->index, 0);
  // A node still holding the old record reads it as centred.
  EXPECT_EQ(cable->listed, 0);
  EXPECT_EQ(cable->raw[0], cable->zero[0]);
  EXPECT_EQ(cable->channel_count, 0);
  // Plugged in again it gets its old record back.
  fake.Replug(a);
  kxinput::SearchDevices(kxinput::kSearchEnumerate);
  EXPECT_EQ(kxinput::FirstDevice(), cable);
  EXPECT_EQ(fake.Opens(a), 2);
}

TEST_F(InputSearchTest, RequeryReopensADeviceWhoseReaderFailed) {
  int a = AddCable("/dev/c1", "");
  kxinput::SearchDevices(kxinput::kSearchEnumerate);
  kxinputdevice* cable = kxinput::FirstDevice();
  fake.Disconnect(a);
  auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (usbinterface::Poll(cable) && std::chrono::steady_clock::now() < until) {
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  fake.Replug(a);
  kxinput::SearchDevices(kxinput::kSearchRequery);
  EXPECT_EQ(fake.Opens(a), 2);
  EXPECT_EQ(usbinterface::Poll(cable), 1);
}

TEST_F(InputSearchTest, FullRecordPoolNeverGivesTwoDevicesOneRecord) {
  for (int i = 0; i < 70; ++i) {
    int d = AddCable(("/dev/old" + std::to_string(i)).c_str(), "");
    kxinput::SearchDevices(kxinput::kSearchEnumerate);
    fake.Disconnect(d);
  }
  AddCable("/dev/new-a", "A");
  AddCable("/dev/new-b", "B");
  ASSERT_EQ(kxinput::SearchDevices(kxinput::kSearchEnumerate), 2);
  kxinputdevice* a = kxinput::FirstDevice();
  ASSERT_NE(a->next, nullptr);
  EXPECT_NE(a, a->next);
  EXPECT_STREQ(a->name.Text(), "A");
  EXPECT_STREQ(a->next->name.Text(), "B");
  EXPECT_EQ(a->next->next, nullptr);
}

class MapChannelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    d.zero[0] = 9000;
    d.minimum[0] = 6000;
    d.maximum[0] = 12000;
  }
  float Map(int raw, int invert = 0) {
    d.raw[0] = raw;
    d.invert[0] = invert;
    return kxinput::MapChannel(&d, 0);
  }
  kxinputdevice d;
};

// Each side of the centre scales to its end stop, clamped beyond it and
// inverted on request; a zero span reads -1, a channel outside the table 0.
TEST_F(MapChannelTest, ScalesEachSideOfTheCentreToItsEndStop) {
  const struct {
    int raw, invert;
    float value;
  } cases[] = {{10500, 0, 0.5f}, {7500, 0, -0.5f}, {9000, 0, 0.0f}, {13000, 0, 1.0f}, {1000, 0, -1.0f}, {10500, 1, -0.5f}};
  for (const auto& c : cases) EXPECT_FLOAT_EQ(Map(c.raw, c.invert), c.value) << c.raw;
  d.minimum[0] = 9000;
  EXPECT_FLOAT_EQ(Map(9000), -1.0f);
  d.maximum[0] = 9000;
  EXPECT_FLOAT_EQ(Map(9500), -1.0f);
  EXPECT_EQ(kxinput::MapChannel(&d, 32), 0.0f);
  EXPECT_EQ(kxinput::MapChannel(&d, -1), 0.0f);
  EXPECT_EQ(kxinput::MapChannel(nullptr, 0), 0.0f);
}

TEST(CalibrationCapture, StartSetsEveryChannelToRawAndUpdateWidens) {
  kxinputdevice d;
  d.kind = kxcode::kDeviceUsb;
  for (int c = 0; c < 32; ++c) d.raw[c] = 9000 + c;
  kxinput::CalibrationStart(&d);
  EXPECT_EQ(d.zero[5], 9005);
  EXPECT_EQ(d.minimum[5], 9005);
  EXPECT_EQ(d.maximum[5], 9005);
  d.raw[5] = 12500;
  kxinput::CalibrationUpdate(&d);
  d.raw[5] = 6100;
  kxinput::CalibrationUpdate(&d);
  EXPECT_EQ(d.maximum[5], 12500);
  EXPECT_EQ(d.minimum[5], 6100);
  EXPECT_EQ(d.zero[5], 9005);
}

}  // namespace
