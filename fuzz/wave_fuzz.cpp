// Decodes arbitrary bytes as a wave file: the result is either refused or a
// non-empty mono sample block at a rate the sound slots accept.
#include <cstdint>
#include <cstdlib>

#include "platform/wave_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  kxwave wave;
  int ok = kxsystem::DecodeWave(data, size, wave);
  if (ok) {
    if (wave.samples.empty()) std::abort();
    if (wave.rate < kxsystem::kWaveMinRate || wave.rate > kxsystem::kWaveMaxRate) std::abort();
  } else if (!wave.samples.empty() || wave.rate != 0) {
    std::abort();
  }
  return 0;
}
