// The simulator's effect sounds: the contest beep, a balloon's pop, the
// crash and the splash, and the air rushing past a glider.
#include <algorithm>
#include <cmath>
#include <random>

#include "tools/soundgen/soundgen.h"

namespace soundgen {

namespace {

constexpr double kPi = 3.14159265358979;
constexpr double kPeak = 0.8 * 32767.0;

std::vector<int16_t> Scale(const std::vector<double>& v) {
  double peak = 0;
  for (double x : v) peak = std::max(peak, std::fabs(x));
  std::vector<int16_t> out;
  out.reserve(v.size());
  for (double x : v) out.push_back(static_cast<int16_t>(std::lround(peak > 0 ? x * kPeak / peak : 0)));
  return out;
}

// Noise through a one-pole low pass (0 < smooth < 1; higher is darker),
// under an exponential decay of the given time constant (s); 0 holds level.
std::vector<double> Noise(double seconds, double smooth, double decay, unsigned seed) {
  std::mt19937 random(seed);
  std::uniform_real_distribution<double> uniform(-1.0, 1.0);
  size_t n = static_cast<size_t>(seconds * kRate);
  std::vector<double> v(n);
  double y = 0;
  for (size_t i = 0; i < n; ++i) {
    y = smooth * y + (1 - smooth) * uniform(random);
    double t = static_cast<double>(i) / kRate;
    v[i] = y * (decay > 0 ? std::exp(-t / decay) : 1.0);
  }
  return v;
}

}  // namespace

std::vector<int16_t> Beep(double hz, double seconds) {
  size_t n = static_cast<size_t>(seconds * kRate);
  std::vector<double> v(n);
  for (size_t i = 0; i < n; ++i) {
    double t = static_cast<double>(i) / kRate;
    double edge = std::min({1.0, t / 0.005, (seconds - t) / 0.005});  // no clicks at the ends
    v[i] = std::sin(2 * kPi * hz * t) * edge;
  }
  return Scale(v);
}

std::vector<int16_t> Pop(unsigned seed) { return Scale(Noise(0.25, 0.2, 0.03, seed)); }

std::vector<int16_t> Crash(unsigned seed) {
  std::vector<double> v = Noise(1.2, 0.6, 0.35, seed);
  std::vector<double> thump = Noise(1.2, 0.97, 0.15, seed + 1);
  for (size_t i = 0; i < v.size(); ++i) v[i] += 3 * thump[i];
  return Scale(v);
}

std::vector<int16_t> Splash(unsigned seed) {
  std::vector<double> v = Noise(1.0, 0.3, 0.25, seed);
  for (size_t i = 0; i < v.size(); ++i) {
    double t = static_cast<double>(i) / kRate;
    v[i] *= std::min(1.0, t / 0.05);
  }
  return Scale(v);
}

std::vector<int16_t> Wind(double smooth, unsigned seed) {
  // One second looped: the start fades in under the end so the seam is quiet.
  std::vector<double> v = Noise(1.1, smooth, 0, seed);
  size_t n = static_cast<size_t>(kRate), overlap = v.size() - n;
  std::vector<double> loop(v.begin(), v.begin() + static_cast<long>(n));
  for (size_t i = 0; i < overlap; ++i) {
    double f = static_cast<double>(i) / static_cast<double>(overlap);
    loop[i] = loop[i] * f + v[n + i] * (1 - f);
  }
  return Scale(loop);
}

}  // namespace soundgen
