#include "platform/usb_interface.h"

#include "input_support.h"
#include "platform/codes.h"
#include "platform/usb_ring.h"

namespace {

using inputtest::CableFrame;
using inputtest::CableReport;
using inputtest::Logged;
using inputtest::PadPilotReport;

class UsbInterfaceTest : public inputtest::UsbTest {};

TEST(UsbReportRing, FullRingDropsOldestAndCounts) {
  usbreportring ring(4);
  uint8_t report[8] = {};
  for (int i = 0; i < 6; ++i) {
    report[0] = static_cast<uint8_t>(i);
    ring.Push(report);
  }
  EXPECT_EQ(ring.Count(), 4);
  EXPECT_EQ(ring.Dropped(), 2);
  uint8_t out[8 * 4];
  ASSERT_EQ(ring.Take(out, 3), 3);
  EXPECT_EQ(out[0], 2);
  EXPECT_EQ(out[8], 3);
  EXPECT_EQ(out[16], 4);
  EXPECT_EQ(ring.Take(out, 3), 1);
  EXPECT_EQ(out[0], 5);
}

TEST_F(UsbInterfaceTest, CableFrameGivesChannelCountAndRawPulses) {
  int dev = AddCable();
  ASSERT_EQ(kxinput::SearchDevices(kxinput::kSearchEnumerate), 1);
  kxinputdevice* cable = kxinput::FirstDevice();
  EXPECT_EQ(cable->channel_count, 0);  // no transmitter seen yet
  std::vector<int> pulses(8, 1500);
  auto reports = CableFrame(pulses);
  reports.push_back(CableReport({10000}));
  Play(dev, cable, reports);
  EXPECT_EQ(usbinterface::Poll(cable), 1);
  EXPECT_EQ(cable->channel_count, 8);
  for (int c = 0; c < 8; ++c) EXPECT_EQ(cable->raw[c], 9000) << c;
  EXPECT_FLOAT_EQ(kxinput::MapChannel(cable, 0), 0.0f);
}

TEST_F(UsbInterfaceTest, PulsesBeforeTheFirstGapAreIgnored) {
  int dev = AddCable();
  kxinput::SearchDevices(kxinput::kSearchEnumerate);
  kxinputdevice* cable = kxinput::FirstDevice();
  // A partial frame of 3 pulses, then a full frame of 6 at 2000 µs.
  Play(dev, cable, {CableReport({1200, 1200, 1200})});
  auto reports = CableFrame(std::vector<int>(6, 2000));
  reports.push_back(CableReport({9000}));
  Play(dev, cable, reports);
  usbinterface::Poll(cable);
  EXPECT_EQ(cable->channel_count, 6);
  EXPECT_EQ(cable->raw[0], 12000);
  EXPECT_EQ(cable->raw[5], 12000);
}

TEST_F(UsbInterfaceTest, SignalLossReportsNoChannelsAndKeepsValues) {
  int dev = AddCable();
  kxinput::SearchDevices(kxinput::kSearchEnumerate);
  kxinputdevice* cable = kxinput::FirstDevice();
  auto reports = CableFrame(std::vector<int>(4, 1800));
  reports.push_back(CableReport({10000}));
  reports.push_back(CableReport({}, false));
  Play(dev, cable, reports);
  usbinterface::Poll(cable);
  EXPECT_EQ(cable->channel_count, 0);
  EXPECT_EQ(cable->raw[0], 10800);
}

TEST_F(UsbInterfaceTest, FramesWithBadPulsesOrTooManyPulsesAreDropped) {
  int dev = AddCable();
  kxinput::SearchDevices(kxinput::kSearchEnumerate);
  kxinputdevice* cable = kxinput::FirstDevice();
  auto good = CableFrame(std::vector<int>(5, 1500));
  auto shortPulse = CableFrame({1500, 300, 1500});  // 300 µs x 6 < usb_pulse_min
  auto tooMany = CableFrame(std::vector<int>(33, 1500));
  std::vector<std::vector<uint8_t>> all = good;
  all.insert(all.end(), shortPulse.begin(), shortPulse.end());
  all.insert(all.end(), tooMany.begin(), tooMany.end());
  all.push_back(CableReport({10000}));
  Play(dev, cable, all);
  usbinterface::Poll(cable);
  EXPECT_EQ(cable->channel_count, 5);
  EXPECT_EQ(cable->raw[1], 9000);
  EXPECT_EQ(cable->raw[5], 9000);  // untouched default centre
}

TEST_F(UsbInterfaceTest, PollMovesAtMost2048ReportsOldestFirst) {
  int dev = AddPadPilot();
  kxinput::SearchDevices(kxinput::kSearchEnumerate);
  kxinputdevice* pad = kxinput::FirstDevice();
  std::vector<std::vector<uint8_t>> reports;
  for (int i = 0; i < 3000; ++i) {
    uint8_t axes[6] = {static_cast<uint8_t>(i & 0xFF), static_cast<uint8_t>(i >> 8), 0, 0, 0, 0};
    reports.push_back(PadPilotReport(axes, 0));
  }
  Play(dev, pad, reports);
  EXPECT_EQ(usbinterface::Poll(pad), 1);
  EXPECT_EQ(usbinterface::QueuedReports(pad), 952);
  // The last report decoded was number 2047 = 7 x 256 + 255.
  EXPECT_EQ(pad->raw[0], 255 * 257 / 3);
  EXPECT_EQ(pad->raw[1], 7 * 257 / 3);
  EXPECT_EQ(usbinterface::Poll(pad), 1);
  EXPECT_EQ(usbinterface::QueuedReports(pad), 0);
  EXPECT_EQ(pad->raw[0], (2999 & 0xFF) * 257 / 3);
  EXPECT_EQ(pad->raw[1], (2999 >> 8) * 257 / 3);
  EXPECT_EQ(usbinterface::DroppedReports(pad), 0);
}

TEST_F(UsbInterfaceTest, PadPilotGivesSixAxesThenSixButtonsInTwelveChannels) {
  int dev = AddPadPilot();
  kxinput::SearchDevices(kxinput::kSearchEnumerate);
  kxinputdevice* pad = kxinput::FirstDevice();
  EXPECT_EQ(pad->channel_count, 12);
  EXPECT_EQ(pad->fixed_channels, 12);
  EXPECT_EQ(pad->subkind, kxcode::kDevicePadPilot);
  EXPECT_EQ(pad->zero[0], 10922);
  const uint8_t axes[6] = {255, 0, 128, 1, 2, 3};
  Play(dev, pad, {PadPilotReport(axes, 0x05)});
  usbinterface::Poll(pad);
  EXPECT_EQ(pad->raw[0], 21845);
  EXPECT_EQ(pad->raw[1], 0);
  EXPECT_EQ(pad->raw[2], 128 * 257 / 3);
  EXPECT_EQ(pad->raw[6], 21845);
  EXPECT_EQ(pad->raw[7], 0);
  EXPECT_EQ(pad->raw[8], 21845);
  EXPECT_EQ(pad->channel_count, 12);
  EXPECT_FLOAT_EQ(kxinput::MapChannel(pad, 0), 1.0f);
  EXPECT_FLOAT_EQ(kxinput::MapChannel(pad, 1), -1.0f);
}

TEST_F(UsbInterfaceTest, PadPilotAxesAreClampedToTheSettings) {
  int dev = AddPadPilot();
  usbinterface::settings.padpilot_max = 20000;
  usbinterface::settings.padpilot_min = 100;
  kxinput::SearchDevices(kxinput::kSearchEnumerate);
  kxinputdevice* pad = kxinput::FirstDevice();
  const uint8_t axes[6] = {255, 0, 0, 0, 0, 0};
  Play(dev, pad, {PadPilotReport(axes, 0)});
  usbinterface::Poll(pad);
  EXPECT_EQ(pad->raw[0], 20000);
  EXPECT_EQ(pad->raw[1], 100);
}

TEST_F(UsbInterfaceTest, DisconnectMakesPollReturnZeroAndTheDeviceReadCentred) {
  int dev = AddPadPilot();
  kxinput::SearchDevices(kxinput::kSearchEnumerate);
  kxinputdevice* pad = kxinput::FirstDevice();
  const uint8_t axes[6] = {255, 255, 255, 255, 255, 255};
  Play(dev, pad, {PadPilotReport(axes, 0x3F)});
  fake.Disconnect(dev);
  // The reports that came before the loss are still decoded; when the reader
  // has already seen the loss, the same poll then centres the device.
  auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  int result = 1;
  int polls = 0;
  while (result == 1 && std::chrono::steady_clock::now() < until) {
    result = usbinterface::Poll(pad);
    if (polls++ == 0 && result == 1) {
      EXPECT_EQ(pad->raw[0], 21845);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  EXPECT_EQ(result, 0);
  EXPECT_EQ(pad->raw[0], pad->zero[0]);
  EXPECT_EQ(pad->channel_count, 0);
  EXPECT_TRUE(Logged("usbinterface:  PadPilot lost\n"));
  EXPECT_EQ(usbinterface::Poll(pad), 0);
}

TEST_F(UsbInterfaceTest, OpenSendsStartAndCloseSendsStop) {
  int dev = AddCable();
  kxinput::SearchDevices(kxinput::kSearchEnumerate);
  auto commands = fake.Commands(dev);
  ASSERT_EQ(commands.size(), 1u);
  EXPECT_EQ(commands[0], std::vector<uint8_t>({1, 0, 0, 0, 0, 0, 0, 0}));
  kxinput::SearchDevices(kxinput::kSearchRequery);
  EXPECT_EQ(fake.Commands(dev).size(), 2u);
  kxinput::Shutdown();
  commands = fake.Commands(dev);
  ASSERT_EQ(commands.size(), 3u);
  EXPECT_EQ(commands[2], std::vector<uint8_t>(8, 0));
}

TEST_F(UsbInterfaceTest, FailedCommandIsLogged) {
  int dev = AddCable("/dev/a", "Radio Cable");
  fake.FailWrites(dev, true);
  kxinput::SearchDevices(kxinput::kSearchEnumerate);
  EXPECT_TRUE(Logged("usbinterface:  command 1 to Radio Cable=fail\n"));
}

TEST_F(UsbInterfaceTest, FullRingDropsOldestReportsWithoutBlockingTheReader) {
  int dev = AddPadPilot();
  kxinput::SearchDevices(kxinput::kSearchEnumerate);
  kxinputdevice* pad = kxinput::FirstDevice();
  std::vector<std::vector<uint8_t>> reports;
  for (int i = 0; i < usbinterface::kRingReports + 10; ++i) {
    uint8_t axes[6] = {static_cast<uint8_t>(i & 0xFF), 0, 0, 0, 0, 0};
    reports.push_back(PadPilotReport(axes, 0));
  }
  for (const auto& r : reports) fake.Queue(dev, r);
  auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (usbinterface::DroppedReports(pad) < 10 && std::chrono::steady_clock::now() < until) {
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  EXPECT_EQ(usbinterface::DroppedReports(pad), 10);
  EXPECT_EQ(usbinterface::QueuedReports(pad), usbinterface::kRingReports);
}

TEST(UsbHidTransport, FindsNoDeviceUnderThePlaceholderIdsAndRefusesABadPath) {
  std::vector<usbdeviceinfo> found;
  usbhidtransport()->Enumerate(usbinterface::kVendorIdPlaceholder, usbinterface::kCableProductIdPlaceholder, found);
  EXPECT_TRUE(found.empty());
  EXPECT_EQ(usbhidtransport()->Open("/dev/no-such-hidraw"), nullptr);
}

TEST(UsbPoll, RecordsThatAreNoOpenUsbDeviceGiveZero) {
  kxinputdevice joystick;
  joystick.kind = kxcode::kDeviceJoystick;
  EXPECT_EQ(usbinterface::Poll(&joystick), 0);
  kxinputdevice closed;
  closed.kind = kxcode::kDeviceUsb;
  EXPECT_EQ(usbinterface::Poll(&closed), 0);
  EXPECT_EQ(usbinterface::Poll(nullptr), 0);
}

}  // namespace
