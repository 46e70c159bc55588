// Shared helpers of the input tests: the log history as text, a fake USB
// transport installed for the test's duration, and report builders in the
// documented layouts.
#pragma once

#include <chrono>
#include <cstdint>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include <SDL2/SDL.h>
#include <gtest/gtest.h>

#include "platform/input_devices.h"
#include "platform/log.h"
#include "platform/usb_interface.h"
#include "platform/usb_transport.h"

namespace inputtest {

// Every line of the in-memory log history, oldest first, each ended by "\n".
inline std::string LogText() {
  std::string out;
  const char* p = kxsystem::GetLogLine(1 << 20);
  const char* newest = kxsystem::GetLogLine(1);
  while (true) {
    out += p;
    out += '\n';
    if (p >= newest) break;
    p += std::strlen(p) + 1;
  }
  return out;
}

inline bool Logged(const char* text) { return LogText().find(text) != std::string::npos; }

// Cable report with up to three intervals in µs.
inline std::vector<uint8_t> CableReport(std::vector<int> intervalsUs, bool signal = true) {
  std::vector<uint8_t> r(8, 0);
  r[0] = signal ? 1 : 0;
  r[1] = static_cast<uint8_t>(intervalsUs.size());
  for (size_t i = 0; i < intervalsUs.size() && i < 3; ++i) {
    r[2 + 2 * i] = static_cast<uint8_t>(intervalsUs[i] & 0xFF);
    r[3 + 2 * i] = static_cast<uint8_t>(intervalsUs[i] >> 8);
  }
  return r;
}

// The reports of one PPM frame: a gap, then the pulses.
inline std::vector<std::vector<uint8_t>> CableFrame(const std::vector<int>& pulsesUs, int gapUs = 10000) {
  std::vector<int> all{gapUs};
  all.insert(all.end(), pulsesUs.begin(), pulsesUs.end());
  std::vector<std::vector<uint8_t>> reports;
  for (size_t i = 0; i < all.size(); i += 3) {
    std::vector<int> part(all.begin() + static_cast<long>(i), all.begin() + static_cast<long>(std::min(i + 3, all.size())));
    reports.push_back(CableReport(part));
  }
  return reports;
}

inline std::vector<uint8_t> PadPilotReport(const uint8_t axes[6], uint8_t buttons) {
  std::vector<uint8_t> r(8, 0);
  for (int i = 0; i < 6; ++i) r[static_cast<size_t>(i)] = axes[i];
  r[6] = buttons;
  return r;
}

// Installs a fake transport and ends the run's devices afterwards. Base is
// the fixture it extends (another test's set-up runs first and ends last).
template <class Base = ::testing::Test>
class UsbTestOf : public Base {
 protected:
  using UsbTest = UsbTestOf;  // derived fixtures call UsbTest::SetUp()
  void SetUp() override {
    Base::SetUp();
    kxsystem::ClearLogHistory();
    usbinterface::settings = usbinterface::decodersettings();
    usbinterface::SetTransport(&fake);
  }
  void TearDown() override {
    kxinput::Shutdown();
    usbinterface::SetTransport(nullptr);
    Base::TearDown();
  }
  int AddCable(const char* path = "/dev/hidraw-cable", const char* product = "") {
    return fake.AddDevice(path, product, usbinterface::kCableProductIdPlaceholder);
  }
  int AddPadPilot(const char* path = "/dev/hidraw-pad", const char* product = "") {
    return fake.AddDevice(path, product, usbinterface::kPadPilotProductIdPlaceholder);
  }
  // Waits until the reader has moved every scripted report into the ring.
  void WaitQueued(int device, kxinputdevice* record, int expected) {
    auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (std::chrono::steady_clock::now() < until) {
      if (fake.Pending(device) == 0 && usbinterface::QueuedReports(record) >= expected) return;
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    FAIL() << "reader did not deliver " << expected << " reports";
  }
  void Play(int device, kxinputdevice* record, const std::vector<std::vector<uint8_t>>& reports) {
    int before = usbinterface::QueuedReports(record);
    for (const auto& r : reports) fake.Queue(device, r);
    WaitQueued(device, record, before + static_cast<int>(reports.size()));
  }
  usbfaketransport fake;
};
using UsbTest = UsbTestOf<>;

// SDL's virtual joysticks standing in for real ones: 8 axes and 4 buttons
// unless asked otherwise. Start before attaching; Stop after the records'
// handles are closed.
class virtualjoysticks {
 public:
  int Start() { return SDL_InitSubSystem(SDL_INIT_JOYSTICK); }
  void Stop() {
    DetachAll();
    SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
  }
  // Last first: a detach moves the device indexes after it down by one.
  void DetachAll() {
    for (auto i = attached.rbegin(); i != attached.rend(); ++i) SDL_JoystickDetachVirtual(*i);
    attached.clear();
  }
  int Attach(int axes = 8, int buttons = 4) {
    int index = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, axes, buttons, 0);
    EXPECT_GE(index, 0) << SDL_GetError();
    attached.push_back(index);
    return index;
  }
  // A listed joystick's axis or button set as the device would report it.
  static void SetAxis(const kxinputdevice* record, int axis, int16_t value) {
    SDL_JoystickSetVirtualAxis(reinterpret_cast<SDL_Joystick*>(record->joystick), axis, value);
  }
  static void SetButton(const kxinputdevice* record, int button, bool pressed) {
    SDL_JoystickSetVirtualButton(reinterpret_cast<SDL_Joystick*>(record->joystick), button,
                                 pressed ? SDL_PRESSED : SDL_RELEASED);
  }
  std::vector<int> attached;
};

}  // namespace inputtest

#include "core/interpreter.h"
#include "platform/input_types.h"
#include "platform/pinboard.h"

namespace inputtest {

// The script that builds the input roots, as the UI description does.
constexpr const char* kInputRootsScript =
    "Append kxpinboard Pinboard\n"
    "cd Pinboard/\n"
    "Append kxdevicemouse Mouse\n"
    "Mouse/PlugIn( 100 )\n"
    "Append kxdevicekeyboard Keyboard\n"
    "Keyboard/PlugIn( 120 )\n"
    "Append kxdevicetimer Timer\n"
    "Timer/PlugIn( 150 )\n"
    "cd /\n"
    "Append kxpanel Panel\n"
    "cd Panel/\n"
    "Append kxeventdisplay Display\n"
    "cd /\n";

// "/Pinboard/" and "/Panel/" built by script for each test, removed after it.
template <class Base = ::testing::Test>
class InputTreeTestOf : public UsbTestOf<Base> {
 protected:
  using InputTreeTest = InputTreeTestOf;  // derived fixtures call InputTreeTest::SetUp()
  void SetUp() override {
    UsbTestOf<Base>::SetUp();
    kxscript::Init();
    input::RegisterTypes();
    kxscript::Execute(kInputRootsScript, kxscript::Root());
    board = input::Pinboard();
    panel = input::Panel();
    ASSERT_NE(board, nullptr);
    ASSERT_NE(panel, nullptr);
  }
  void TearDown() override {
    delete board;
    delete panel;
    kxscript::Reset();
    UsbTestOf<Base>::TearDown();
  }
  float Slot(int i) const { return board->slots[i]; }
  kxpinboard* board = nullptr;
  kxpanel* panel = nullptr;
};
using InputTreeTest = InputTreeTestOf<>;

}  // namespace inputtest
