// Helicopters: the real-time factor (simulated seconds per wall-clock
// second, one core) of the model helicopter with each main rotor model -
// two blades with flybar, and three blades turning the other way - spun up
// and held in a hover high above flat ground under the fixed-step driver.
// Reports how low and how high the main body went while measured: a
// helicopter that sank onto its skids would measure the ground contact
// instead of the rotors.
#include <benchmark/benchmark.h>

#include <algorithm>

#include "bench/hover_hold.h"
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
    channels[kxrtest::kCollective] = benchsetup::kHoverCollective;
    kxdaircraft::SetPinboardSlots(slots);
    return true;
  }();
  return ready;
}

constexpr float kHoverAltitude = 200.0f;  // m, main body above the flat ground
constexpr float kSettle = 3.0f;           // s to settle into the hover before measuring
constexpr float kFrame = 1.0f / 60.0f;    // s

void BM_HelicopterRealTimeFactor(benchmark::State& state) {
  const sample& s = kSamples[state.range(0)];
  if (!benchsetup::LoadOrSkip(state, Setup(), s.name)) return;
  state.SetLabel(s.name);
  kxdflatground ground;
  kxdynamics::Start(&ground);
  kxdaircraftinstance* instance = kxdaircraftinstance::Loaded(0);
  kxmatrix pose;
  kxmatrix::SetIdentity(&pose);
  pose.R.z = kHoverAltitude;
  kxdaircraftinstance::PlaceAt(instance, pose, {0.0f, 0.0f, 0.0f, 0.0f});
  float* channels = kxdaircraft::PlayerChannels(slots, 0);
  const kxdbody* body = instance->SimMainBody;
  auto hold = [&] { benchsetup::HoldHover(channels, body, kHoverAltitude - body->B.R.z); };
  for (int k = 0; k < static_cast<int>(kSettle / kFrame); ++k) {
    hold();
    kxdynamics::Step(kFrame, &ground);
  }
  double simulated = 0.0;                // s
  float lowest = 1e9f, highest = -1e9f;  // m
  for (auto _ : state) {
    hold();
    simulated += kxdynamics::Step(kFrame, &ground) * kxdynamics::kSubstep;
    lowest = std::min(lowest, body->B.R.z);
    highest = std::max(highest, body->B.R.z);
  }
  state.counters["realtime"] = benchmark::Counter(simulated, benchmark::Counter::kIsRate);
  state.counters["lowest_m"] = lowest;
  state.counters["highest_m"] = highest;
  kxdynamics::Stop();
  kxdaircraftinstance::Unload(kxdaircraftinstance::Slot(0));
}
BENCHMARK(BM_HelicopterRealTimeFactor)->DenseRange(0, sizeof kSamples / sizeof kSamples[0] - 1);

}  // namespace
