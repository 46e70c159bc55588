// Helicopters: the real-time factor (simulated seconds per wall-clock
// second, one core) of the model helicopter with each main rotor model -
// two blades with flybar, and three blades turning the other way - spun up
// and flying under the fixed-step driver.
#include <benchmark/benchmark.h>

#include "bench/realtime_factor.h"
#include "dynamics/aircraft.h"
#include "dynamics/components/register.h"
#include "tests/dynamics/components/heli_files.h"

namespace {

struct sample {
  const char* name;
  const char* rotor;
  int blades;
};

const sample kSamples[] = {{"heli00", "kxdrotor00", 2}, {"heli01", "kxdrotor01", 3}};

float slots[4096] = {};

bool Setup() {
  static bool ready = [] {
    char pattern[] = "/tmp/kxrbenchXXXXXX";
    if (!benchsetup::EnterDataFolder(pattern)) return false;
    components::RegisterTypes();
    for (const sample& s : kSamples) {
      benchsetup::AircraftFolder(s.name);
      kxrtest::heli h;
      h.rotorType = s.rotor;
      h.blades = s.blades;
      h.type = 0;  // no start ramp: the rotor is at speed at once
      if (!kxrtest::WriteHeli(s.name, h)) return false;
    }
    float* channels = kxdaircraft::PlayerChannels(slots, 0);
    channels[kxrtest::kThrottle] = 1.0f;
    channels[kxrtest::kCollective] = -0.3f;
    kxdaircraft::SetPinboardSlots(slots);
    return true;
  }();
  return ready;
}

void BM_HelicopterRealTimeFactor(benchmark::State& state) {
  const sample& s = kSamples[state.range(0)];
  if (!benchsetup::LoadOrSkip(state, Setup(), s.name)) return;
  state.SetLabel(s.name);
  kxdflatground ground;
  kxdynamics::Start(&ground);
  benchsetup::MeasureRealTimeFactor(state, &ground, 200.0f, 0.0f);
}
BENCHMARK(BM_HelicopterRealTimeFactor)->DenseRange(0, sizeof kSamples / sizeof kSamples[0] - 1);

}  // namespace
