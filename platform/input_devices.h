// The input device records: every joystick and USB device the program has
// found, with its raw channel values and calibration. The list is rebuilt by
// SearchDevices; a record lives for the whole run, so device nodes that
// point at it never see freed memory, and a device that vanishes reads as
// centred from then on.
#pragma once

#include <string>

#include "core/string.h"

struct _SDL_Joystick;
struct usbdevicestate;

struct kxinputdevice {
  static constexpr int kChannels = 32;

  int index = 0;           // 0-7, position in the list
  int kind = 0;            // kxcode::kDeviceJoystick or kDeviceUsb
  int fixed_channels = 0;  // 0 for the interface cable, 12 for PadPilot and joysticks
  int subkind = 0;         // kxcode::kDevicePadPilot or kDeviceCable; 0 for joysticks
  int channel_count = 0;   // channels reported now; 0 while the cable sees no transmitter
  int raw[kChannels] = {};      // device units: joystick -1000..1000, USB µs x usb_pulse_mul
  int zero[kChannels] = {};     // raw value of the centre
  int minimum[kChannels] = {};  // raw value at the low end stop
  int maximum[kChannels] = {};  // raw value at the high end stop
  int invert[kChannels] = {};   // 1: output negated
  kxstring name;                // unique among the records
  kxinputdevice* next = nullptr;

  // Owned by the device code.
  std::string key;                    // HID path, or joystick identity
  std::string product;                // the device's own name; name adds " #2" to a second one
  usbdevicestate* usb = nullptr;      // open USB device, else null
  _SDL_Joystick* joystick = nullptr;  // SDL_Joystick while open, else null
  int joystick_instance = -1;         // SDL instance id while attached
  int listed = 0;                     // 1 while in the list
};

namespace kxinput {

constexpr int kMaxUsbDevices = 4;
constexpr int kMaxJoysticks = 4;
constexpr int kJoystickAxes = 8;
constexpr int kJoystickButtons = 4;
constexpr int kJoystickChannels = kJoystickAxes + kJoystickButtons;  // 12
constexpr int kPadPilotChannels = 12;
constexpr int kJoystickRange = 1000;  // raw value of a full deflection

// Search modes, bits.
constexpr int kSearchEnumerate = 1;  // enumerate USB devices and joysticks, rebuild the list
constexpr int kSearchRequery = 2;    // first record USB: reopen closed devices, resend start

kxinputdevice* FirstDevice();
int DeviceCount();

// Logs "kxinput:  searching for input devices...(%d)\n"; returns the number
// of records in the list.
int SearchDevices(int mode);

// Opens the SDL handles of the listed joysticks (and of those found later)
// until CloseJoysticks; the main loop brackets each window with them.
void OpenJoysticks();
void CloseJoysticks();

// Joysticks: reads 8 axes and 4 buttons into raw 0-11. USB devices: nothing
// (usbinterface::Poll fills them).
void PollDevice(kxinputdevice* device);
// Poll, then zero = minimum = maximum = raw for every channel.
void CalibrationStart(kxinputdevice* device);
// Poll, then widen minimum and maximum to raw.
void CalibrationUpdate(kxinputdevice* device);
// Calibrated value of channel c in [-1, 1]; 0 for a channel outside the table.
float MapChannel(const kxinputdevice* device, int c);
// Centred with no channels: a device that is gone, so nothing it drove jumps
// to an end stop.
void Neutralise(kxinputdevice* device);
// Centre and end stops of a new record of that kind and sub-kind.
void SetDefaultCalibration(kxinputdevice* device);

// Calibration files (line-based text). 1 or 0; logs the action.
int LoadCalibration(const char* path, kxinputdevice* device);
int SaveCalibration(const char* path, kxinputdevice* device);

// Parses calibration text into the record; what LoadCalibration does with the
// file's lines. 1 when the header was found (the record is then updated).
int ReadCalibrationText(const char* text, long size, kxinputdevice* device);

// Closes every device and frees the records: the end of the run.
void Shutdown();

}  // namespace kxinput
