// Reads arbitrary bytes as a calibration file, through the file reader and
// from memory: whatever the bytes, every channel must keep its minimum <=
// zero <= maximum and an invert flag of 0 or 1, and both reads must agree.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "fuzz/input_file.h"
#include "platform/codes.h"
#include "platform/input_devices.h"

namespace {

void Check(const kxinputdevice& d) {
  for (int c = 0; c < kxinputdevice::kChannels; ++c) {
    if (d.minimum[c] > d.zero[c] || d.zero[c] > d.maximum[c]) std::abort();
    if (d.invert[c] != 0 && d.invert[c] != 1) std::abort();
    float v = kxinput::MapChannel(&d, c);
    if (!(v >= -1.0f && v <= 1.0f)) std::abort();
  }
}

kxinputdevice Fresh() {
  kxinputdevice d;
  d.kind = kxcode::kDeviceUsb;
  d.subkind = kxcode::kDeviceCable;
  kxinput::SetDefaultCalibration(&d);
  return d;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzzinput::file input("calibration.kxc", data, size);
  if (!input.Path()) return 0;

  kxinputdevice fromFile = Fresh();
  int loaded = kxinput::LoadCalibration(input.Path(), &fromFile);
  Check(fromFile);

  kxinputdevice fromText = Fresh();
  int read = kxinput::ReadCalibrationText(reinterpret_cast<const char*>(data), static_cast<long>(size), &fromText);
  Check(fromText);

  if (loaded != read) std::abort();
  if (std::memcmp(fromFile.zero, fromText.zero, sizeof fromFile.zero) != 0 ||
      std::memcmp(fromFile.minimum, fromText.minimum, sizeof fromFile.minimum) != 0 ||
      std::memcmp(fromFile.maximum, fromText.maximum, sizeof fromFile.maximum) != 0 ||
      std::memcmp(fromFile.invert, fromText.invert, sizeof fromFile.invert) != 0)
    std::abort();
  return 0;
}
