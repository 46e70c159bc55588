#include "platform/usb_decoders.h"

#include <cstdint>

#include "platform/input_devices.h"

namespace usbinterface {

namespace {

constexpr int kSignalBit = 0x01;
constexpr int kMaxIntervalsPerReport = 3;
constexpr long long kPauseUnitUs = 100;  // pause_len counts tenths of a millisecond
constexpr int kPadPilotAxes = 6;
constexpr int kPadPilotButtons = 6;
constexpr int kByteToWord = 257;         // 255 -> 65535

int ClampInt(long long v, long long lo, long long hi) {
  if (v < lo) v = lo;
  if (v > hi) v = hi;
  return static_cast<int>(v);
}

void StartFrame(cableframe* frame) {
  frame->count = 0;
  frame->invalid = false;
}

// A frame gap: a complete frame becomes the device's channels.
void EndFrame(kxinputdevice* device, cableframe* frame) {
  if (frame->synced && !frame->invalid && frame->count > 0) {
    for (int c = 0; c < frame->count; ++c) device->raw[c] = frame->pulses[c];
    device->channel_count = frame->count;
  }
  frame->synced = true;
  StartFrame(frame);
}

}  // namespace

void DecodeCableReport(kxinputdevice* device, cableframe* frame, const uint8_t* report,
                       const decodersettings& s) {
  if (!(report[0] & kSignalBit)) {
    // No transmitter: the values stay as they were, the count says there is
    // nothing, and the next signal must show a frame gap first.
    device->channel_count = 0;
    frame->synced = false;
    StartFrame(frame);
    return;
  }
  int n = report[1];
  if (n > kMaxIntervalsPerReport) n = kMaxIntervalsPerReport;
  long long pause = static_cast<long long>(s.pause_len) * kPauseUnitUs;
  for (int i = 0; i < n; ++i) {
    long long interval = report[2 + 2 * i] | (report[3 + 2 * i] << 8);  // µs
    if (interval >= pause) {
      EndFrame(device, frame);
      continue;
    }
    long long r = interval * s.pulse_mul;
    if (r < s.pulse_min || r > s.pulse_max) frame->invalid = true;
    if (frame->count >= cableframe::kMaxPulses) {
      frame->invalid = true;  // more channels than a record holds
      continue;
    }
    frame->pulses[frame->count++] = ClampInt(r, INT32_MIN, INT32_MAX);
  }
}

void DecodePadPilotReport(kxinputdevice* device, const uint8_t* report, const decodersettings& s) {
  int mul = s.padpilot_mul > 0 ? s.padpilot_mul : 1;
  int lo = s.padpilot_min, hi = s.padpilot_max;
  if (hi < lo) hi = lo;
  for (int a = 0; a < kPadPilotAxes; ++a) {
    device->raw[a] = ClampInt(static_cast<long long>(report[a]) * kByteToWord / mul, lo, hi);
  }
  for (int b = 0; b < kPadPilotButtons; ++b) {
    device->raw[kPadPilotAxes + b] = (report[6] >> b) & 1 ? hi : lo;
  }
  device->channel_count = kxinput::kPadPilotChannels;
}

}  // namespace usbinterface
