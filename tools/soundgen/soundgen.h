// Sound generator: the looping component sounds of the sample aircraft
// (piston engine, electric motor, jet turbine), synthesised as mono 16-bit
// samples at 22050 Hz and written as wave files. A loop holds whole periods
// of every tone in it, so it repeats without a click; the rpm a sample is
// made for is the rpm key the component plays it at 22050 Hz.
#pragma once

#include <cstdint>
#include <vector>

namespace soundgen {

constexpr int kRate = 22050;  // Hz

// A two-stroke engine at rpm: one firing pulse per turn with its harmonics
// and a burst of exhaust noise; roughness 0..1 adds pulse-to-pulse variation.
std::vector<int16_t> Engine(float rpm, float roughness, unsigned seed);
// A brushed motor at rpm: the commutator whine of poles per turn, with
// harmonics and a little brush noise.
std::vector<int16_t> Motor(float rpm, int poles, unsigned seed);
// A jet turbine: compressor whine tones (Hz) over a broad rumble, one second.
std::vector<int16_t> Turbine(float whineHz, unsigned seed);

// Effects: a sine beep with soft ends; a balloon's pop; a crash; a splash;
// looped air noise (smooth 0..1, higher is darker).
std::vector<int16_t> Beep(double hz, double seconds);
std::vector<int16_t> Pop(unsigned seed);
std::vector<int16_t> Crash(unsigned seed);
std::vector<int16_t> Splash(unsigned seed);
std::vector<int16_t> Wind(double smooth, unsigned seed);

// Writes a mono 16-bit wave file at kRate; 1 on success.
int WriteWave(const char* path, const std::vector<int16_t>& samples);

}  // namespace soundgen
