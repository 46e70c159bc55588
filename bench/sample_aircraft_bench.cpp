// The powered sample aircraft's real-time factor: simulated seconds per
// wall-clock second of the fixed-step driver on one core, each flying at
// full throttle from an air start. The committed samples are copied into a
// temporary data folder.
#include <benchmark/benchmark.h>

#include "bench/realtime_factor.h"
#include "dynamics/aircraft.h"
#include "dynamics/all/register_all.h"

namespace {

struct sample {
  const char* name;
  float speed;  // m/s, about 1.5 times the stall speed
};

const sample kSamples[] = {{"christeneagle", 13.0f}, {"trainer", 11.0f}, {"jet", 17.0f}};

constexpr int kEngine1 = 0;  // the control function of the samples' throttle
float slots[4096] = {};

bool Setup() {
  static bool ready = [] {
    char pattern[] = "/tmp/kxsamplebenchXXXXXX";
    if (!benchsetup::EnterDataFolder(pattern)) return false;
    kxdynamics::RegisterAll();
    if (!benchsetup::CopySamples({"christeneagle", "trainer", "jet", "airfoil"})) return false;
    kxdaircraft::PlayerChannels(slots, 0)[kEngine1] = 1.0f;  // full throttle
    kxdaircraft::SetPinboardSlots(slots);
    return true;
  }();
  return ready;
}

void BM_SampleAircraftRealTimeFactor(benchmark::State& state) {
  const sample& s = kSamples[state.range(0)];
  if (!benchsetup::LoadOrSkip(state, Setup(), s.name)) return;
  state.SetLabel(s.name);
  kxdflatground ground(-10000.0f);
  kxdynamics::Start(&ground);
  benchsetup::MeasureRealTimeFactor(state, &ground, 1000.0f, s.speed);
}
BENCHMARK(BM_SampleAircraftRealTimeFactor)->DenseRange(0, sizeof kSamples / sizeof kSamples[0] - 1);

}  // namespace
