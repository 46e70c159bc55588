// Reads arbitrary bytes as a calibration file, through the file reader and
// from memory: whatever the bytes, every channel must keep its minimum <=
// zero <= maximum and an invert flag of 0 or 1.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

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
  static char path[] = "/tmp/skyvane-calibration-fuzz-XXXXXX";
  static int fd = [] {
    int made = mkstemp(path);
    if (made >= 0) std::atexit([] { unlink(path); });
    return made;
  }();
  if (fd < 0) return 0;
  FILE* out = std::fopen(path, "wb");
  if (!out) return 0;
  std::fwrite(data, 1, size, out);
  std::fclose(out);

  kxinputdevice fromFile = Fresh();
  kxinput::LoadCalibration(path, &fromFile);
  Check(fromFile);

  kxinputdevice fromText = Fresh();
  kxinput::ReadCalibrationText(reinterpret_cast<const char*>(data), static_cast<long>(size), &fromText);
  Check(fromText);
  return 0;
}
