// The sample glider's real-time factor: simulated seconds per wall-clock
// second of the fixed-step driver on one core, gliding in still air after a
// hand launch. The committed sample is copied into a temporary data folder.
#include <benchmark/benchmark.h>

#include "bench/realtime_factor.h"
#include "dynamics/all/register_all.h"

namespace {

bool Setup() {
  static bool ready = [] {
    char pattern[] = "/tmp/kxgliderbenchXXXXXX";
    if (!benchsetup::EnterDataFolder(pattern)) return false;
    kxdynamics::RegisterAll();  // the glider carries a receiver and servos
    return benchsetup::CopySamples({"glider", "airfoil"}) == 1;
  }();
  return ready;
}

void BM_GliderRealTimeFactor(benchmark::State& state) {
  if (!Setup() || !kxdaircraftinstance::AircraftLoad("glider", 0)) {
    state.SkipWithError("glider did not load");
    return;
  }
  kxdflatground ground(-10000.0f);
  kxdynamics::Start(&ground);
  benchsetup::MeasureRealTimeFactor(state, &ground, 200.0f, 9.0f);
}
BENCHMARK(BM_GliderRealTimeFactor);

}  // namespace
