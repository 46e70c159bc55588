// Reading wave files into the one sample format the sound slots hold:
// 16-bit mono at the file's own rate (3-D sources must be mono).
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

struct kxwave {
  std::vector<int16_t> samples;  // mono
  int rate = 0;                  // Hz
};

namespace kxsystem {

constexpr int kWaveMinRate = 100;      // Hz
constexpr int kWaveMaxRate = 200000;   // Hz
constexpr size_t kWaveMaxBytes = 64u << 20;  // larger files are refused

// 1 with out filled, or 0 when the bytes are no usable wave (out cleared).
int DecodeWave(const void* bytes, size_t size, kxwave& out);
// Reads the file (with the case-blind fallback of the file functions).
int LoadWave(const char* path, kxwave& out);

}  // namespace kxsystem
