// The device nodes of the input devices found: one joystick or transmitter
// node per device record under "/Pinboard/", plugged into its fixed slots
// with its calibration loaded; and the transmitter window's signal check.
#pragma once

#include "platform/pinboard.h"

struct kxinputdevice;

namespace sim {

// Exit code of a program whose UI description built no "/Pinboard/" or
// "/Panel/": nothing could reach the input devices.
constexpr int kExitNoInputRoots = 4;
constexpr int kJoystickSlot = input::kJoystickSlot, kJoystickSlotStep = input::kJoystickSlotStep;
constexpr int kUsbSlot = input::kUsbSlot, kUsbSlotStep = input::kUsbSlotStep;
constexpr long kMinJoystickCalibrationBytes = 28;  // a shorter file holds no calibration

// Replaces the joystick and transmitter nodes under "/Pinboard/" (the other
// children stay), then refreshes every top-level node. Without "/Pinboard/"
// the program ends with kExitNoInputRoots.
void BuildDeviceNodes();

// What the transmitter calibration window shows of a signal.
class signaldisplay {
 public:
  virtual ~signaldisplay() = default;
  // The device record the window shows; null without one.
  virtual kxinputdevice* SignalDevice() = 0;
  // channels 0: no transmitter signal; otherwise that many channels seen.
  virtual void ShowSignal(int channels) = 0;
};

// Remembered channel counts per device index; -2 forgets them.
void ForgetSignalCounts();
// The window's signal check for this frame: when the channel count of the
// device it shows has changed, a cable without signal reads 0 on every
// channel and the window is told. Returns 1 when it was told.
int CheckSignal(signaldisplay* window);

}  // namespace sim
