// The sample glider's real-time factor: simulated seconds per wall-clock
// second of the fixed-step driver on one core, gliding in still air after a
// hand launch. The committed sample is copied into a temporary data folder.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>

#include "bench/realtime_factor.h"
#include "core/hooks.h"
#include "core/interpreter.h"
#include "dynamics/driver.h"
#include "dynamics/instance.h"
#include "dynamics/world.h"
#include "dynamics/all/register_all.h"
#include "graphics/geometric_object.h"

namespace {

namespace fs = std::filesystem;

bool Setup() {
  static bool ready = [] {
    char pattern[] = "/tmp/kxgliderbenchXXXXXX";
    if (!benchsetup::EnterDataFolder(pattern)) return false;
    kxdynamics::RegisterAll();  // the glider carries a receiver and servos
    fs::path data = fs::path(KX_SOURCE_DIR) / "data" / "aircraft";
    std::error_code error;
    fs::create_directories("aircraft/airfoil", error);
    fs::copy(data / "glider", "aircraft/glider", fs::copy_options::recursive, error);
    fs::copy(data / "airfoil", "aircraft/airfoil", fs::copy_options::recursive, error);
    return !error;
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
