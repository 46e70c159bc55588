// The USB interface cable (a real transmitter's PPM signal) and the PadPilot
// controller: one reader thread per open device moves its 8-byte reports into
// a ring guarded by one lock; the main thread drains the ring with Poll and
// decodes the reports into the device record.
#pragma once

#include <cstdint>

#include "platform/usb_transport.h"

struct kxinputdevice;

namespace usbinterface {

constexpr int kRingReports = 4096;   // a full ring drops its oldest report
constexpr int kPollReports = 2048;   // most reports one Poll hands to the decoder
constexpr uint8_t kCommandStop = 0x00;
constexpr uint8_t kCommandStart = 0x01;

// Decoder settings, bound to the "usb_*" keys of the settings file.
struct decodersettings {
  int pulse_min = 2750;     // shortest pulse, µs x pulse_mul
  int pulse_max = 13650;    // longest pulse, µs x pulse_mul
  int pulse_mul = 6;        // raw units per µs of pulse
  int pause_len = 55;       // frame gap, units of 100 µs
  int padpilot_min = 0;     // lowest axis raw value
  int padpilot_max = 21845; // highest axis raw value
  int padpilot_mul = 3;     // axis byte x 257 / padpilot_mul
};
extern decodersettings settings;

// The transport devices are found and opened through; the hidapi one unless
// a test installs another. Set it before the first search.
void SetTransport(usbtransport* transport);
usbtransport* Transport();

// Moves at most kPollReports reports out of the device's ring under its lock
// and decodes them, oldest first. 1, or 0 when the device is not open any
// more: the reader is joined, the device closed, "usbinterface:  %s lost\n"
// logged once and the record reads centred with no channels.
int Poll(kxinputdevice* device);

// Opens the device at the record's key, starts its reader and sends the start
// command; 1 or 0. An open device whose reader failed is closed first; one
// that works is left as it is (1).
int Open(kxinputdevice* device);
// Sends the stop command, ends the reader, closes; null state is ignored.
void Close(kxinputdevice* device);
// Sends the start command again; 0 when the write failed (logged).
int SendStart(kxinputdevice* device);
// 1 while the device is open and its reader has seen no error.
int IsOpen(const kxinputdevice* device);
// Reports the full ring has thrown away since the device was opened.
long DroppedReports(const kxinputdevice* device);
// Reports waiting in the ring.
int QueuedReports(const kxinputdevice* device);

}  // namespace usbinterface
