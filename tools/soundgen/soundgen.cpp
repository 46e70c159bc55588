#include "tools/soundgen/soundgen.h"

#include <cmath>
#include <random>

#include "graphics/byte_reader.h"
#include "graphics/file_bytes.h"

namespace soundgen {

namespace {

constexpr double kPi = 3.14159265358979;
constexpr int kMaxCycles = 400;       // cycles tried for a loop of whole samples
constexpr double kLoopSeconds = 1.0;  // a loop unit is repeated up to about this long
constexpr double kPeak = 0.8;         // of full scale, after normalising

// Smallest count of cycles of frequency f (Hz) that spans a whole number of
// samples; its length in samples.
int LoopLength(double f, int* cycles) {
  for (int c = 1; c <= kMaxCycles; ++c) {
    double n = c * kRate / f;
    if (std::fabs(n - std::round(n)) < 1e-6) {
      *cycles = c;
      return static_cast<int>(std::round(n));
    }
  }
  *cycles = kMaxCycles;
  return static_cast<int>(std::round(kMaxCycles * kRate / f));
}

// Repeats the unit to about a second and scales it to the peak level.
std::vector<int16_t> Finish(const std::vector<double>& unit) {
  std::vector<int16_t> out;
  if (unit.empty()) return out;
  size_t repeats = static_cast<size_t>(std::max(1.0, std::floor(kLoopSeconds * kRate / unit.size())));
  double peak = 0.0;
  for (double v : unit) peak = std::max(peak, std::fabs(v));
  double scale = peak > 0.0 ? kPeak * 32767.0 / peak : 0.0;
  out.reserve(unit.size() * repeats);
  for (size_t r = 0; r < repeats; ++r) {
    for (double v : unit) out.push_back(static_cast<int16_t>(std::lround(v * scale)));
  }
  return out;
}

}  // namespace

std::vector<int16_t> Engine(float rpm, float roughness, unsigned seed) {
  double f0 = rpm / 60.0;
  int cycles = 1;
  int n = LoopLength(f0, &cycles);
  std::mt19937 random(seed);
  std::uniform_real_distribution<double> uniform(-1.0, 1.0);
  std::vector<double> unit(static_cast<size_t>(n), 0.0);
  double period = static_cast<double>(n) / cycles;
  for (int c = 0; c < cycles; ++c) {
    double strength = 1.0 + roughness * 0.3 * uniform(random);
    int start = static_cast<int>(std::round(c * period));
    int end = static_cast<int>(std::round((c + 1) * period));
    for (int i = start; i < end; ++i) {
      double t = (i - start) / static_cast<double>(kRate);  // s since the firing
      double burst = std::exp(-t * f0 * 6.0);
      double noise = uniform(random) * burst * 0.5;
      unit[static_cast<size_t>(i)] += strength * (burst + noise);
    }
  }
  // Harmonics of the firing rate give the body of the sound; whole cycles
  // of each fit the loop.
  for (int h = 1; h <= 8; ++h) {
    double a = 0.4 / h;
    for (int i = 0; i < n; ++i) unit[static_cast<size_t>(i)] += a * std::sin(2.0 * kPi * h * cycles * i / n + h);
  }
  return Finish(unit);
}

std::vector<int16_t> Motor(float rpm, int poles, unsigned seed) {
  double f0 = rpm / 60.0 * poles;
  int cycles = 1;
  int n = LoopLength(f0, &cycles);
  std::mt19937 random(seed);
  std::uniform_real_distribution<double> uniform(-1.0, 1.0);
  std::vector<double> unit(static_cast<size_t>(n), 0.0);
  for (int i = 0; i < n; ++i) {
    double phase = 2.0 * kPi * cycles * i / n;
    unit[static_cast<size_t>(i)] =
        std::sin(phase) + 0.5 * std::sin(2.0 * phase + 0.3) + 0.25 * std::sin(3.0 * phase + 1.1) + 0.05 * uniform(random);
  }
  return Finish(unit);
}

std::vector<int16_t> Turbine(float whineHz, unsigned seed) {
  // One second: whole-hertz tones repeat cleanly over it.
  int n = kRate;
  double f = std::round(whineHz);
  std::mt19937 random(seed);
  std::normal_distribution<double> normal(0.0, 1.0);
  std::vector<double> white(static_cast<size_t>(n)), hiss(static_cast<size_t>(n));
  for (double& w : white) w = normal(random);
  for (double& h : hiss) h = 0.06 * normal(random);
  // Rumble: the noise through a one-pole low pass run twice around the
  // loop, so the filter's state at the seam is the one it ends with.
  std::vector<double> low(static_cast<size_t>(n));
  double state = 0.0;
  for (int pass = 0; pass < 2; ++pass) {
    for (int i = 0; i < n; ++i) {
      state += 0.05 * (white[static_cast<size_t>(i)] - state);
      low[static_cast<size_t>(i)] = state;
    }
  }
  std::vector<double> unit(static_cast<size_t>(n), 0.0);
  for (int i = 0; i < n; ++i) {
    double t = static_cast<double>(i) / kRate;
    unit[static_cast<size_t>(i)] = 1.5 * low[static_cast<size_t>(i)] + hiss[static_cast<size_t>(i)] +
                                   0.25 * std::sin(2.0 * kPi * f * t) + 0.1 * std::sin(2.0 * kPi * 2.0 * f * t + 0.7);
  }
  return Finish(unit);
}

int WriteWave(const char* path, const std::vector<int16_t>& samples) {
  uint32_t bytes = static_cast<uint32_t>(samples.size() * 2);
  kxbytewriter w;
  w.Bytes("RIFF", 4);
  w.U32(36 + bytes);
  w.Bytes("WAVEfmt ", 8);
  w.U32(16);
  w.U16(1);  // PCM
  w.U16(1);  // mono
  w.U32(kRate);
  w.U32(kRate * 2);
  w.U16(2);
  w.U16(16);
  w.Bytes("data", 4);
  w.U32(bytes);
  for (int16_t s : samples) w.I16(s);
  return kxgl::WriteFileBytes(path, w.bytes.data(), w.bytes.size());
}

}  // namespace soundgen
