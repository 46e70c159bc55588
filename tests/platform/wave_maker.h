// Builds small PCM wave files in memory for the sound and music tests.
#pragma once

#include <cmath>
#include <cstdint>
#include <string>

inline void PutU32(std::string& s, uint32_t v) {
  for (int i = 0; i < 4; ++i) s.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}
inline void PutU16(std::string& s, uint16_t v) {
  s.push_back(static_cast<char>(v & 0xFF));
  s.push_back(static_cast<char>(v >> 8));
}

// A sine of the given pitch in 16-bit PCM; channels 1 or 2 (same signal).
inline std::string MakeWave(int rate, int channels, int frames, float hertz = 440.0f, float amplitude = 0.5f) {
  std::string data;
  for (int i = 0; i < frames; ++i) {
    auto v = static_cast<int16_t>(amplitude * 32767.0f * std::sin(6.2831853f * hertz * i / rate));
    for (int c = 0; c < channels; ++c) PutU16(data, static_cast<uint16_t>(v));
  }
  std::string wave = "RIFF";
  PutU32(wave, static_cast<uint32_t>(36 + data.size()));
  wave += "WAVEfmt ";
  PutU32(wave, 16);
  PutU16(wave, 1);  // PCM
  PutU16(wave, static_cast<uint16_t>(channels));
  PutU32(wave, static_cast<uint32_t>(rate));
  PutU32(wave, static_cast<uint32_t>(rate * channels * 2));
  PutU16(wave, static_cast<uint16_t>(channels * 2));
  PutU16(wave, 16);
  wave += "data";
  PutU32(wave, static_cast<uint32_t>(data.size()));
  return wave + data;
}
