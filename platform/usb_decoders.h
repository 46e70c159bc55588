// Turns the 8-byte input reports of the interface cable and the PadPilot into
// channel values of the device record.
//
// Cable report: byte 0 flags (bit 0: transmitter signal present), byte 1 the
// number n (0-3) of intervals that follow, bytes 2-7 n little-endian 16-bit
// intervals in µs between rising edges of the PPM signal. An interval of at
// least pause_len x 100 µs separates frames.
// PadPilot report: bytes 0-5 axes (0-255), byte 6 buttons (bits 0-5).
#pragma once

#include <cstdint>

#include "platform/usb_interface.h"

struct kxinputdevice;

// The pulses of the frame being received. Pulses before the first frame gap
// are thrown away: the reader may have started in the middle of a frame.
struct cableframe {
  static constexpr int kMaxPulses = 32;
  int pulses[kMaxPulses] = {};  // raw units (µs x pulse_mul)
  int count = 0;
  bool synced = false;   // a frame gap has been seen
  bool invalid = false;  // a pulse out of range or too many pulses
};

namespace usbinterface {

void DecodeCableReport(kxinputdevice* device, cableframe* frame, const uint8_t* report,
                       const decodersettings& s);
void DecodePadPilotReport(kxinputdevice* device, const uint8_t* report, const decodersettings& s);

}  // namespace usbinterface
