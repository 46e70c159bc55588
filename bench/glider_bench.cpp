// The sample glider's real-time factor: simulated seconds per wall-clock
// second of the fixed-step driver on one core, gliding in still air after a
// hand launch. The committed sample is copied into a temporary data folder.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>

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
    kxcore::SetLogHandler([](const char*) {});
    kxscript::Init();
    kxgraphics::RegisterTypes();
    kxdynamics::RegisterAll();  // the glider carries a receiver and servos
    fs::path data = fs::path(KX_SOURCE_DIR) / "data" / "aircraft";
    char pattern[] = "/tmp/kxgliderbenchXXXXXX";
    if (!mkdtemp(pattern) || chdir(pattern) != 0) return false;
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
  kxmatrix pose;
  kxmatrix::SetIdentity(&pose);
  pose.R.z = 200.0f;
  kxdaircraftinstance::PlaceAt(kxdaircraftinstance::Loaded(0), pose, {9.0f, 0.0f, 0.0f, 0.0f});
  constexpr float kFrame = 1.0f / 60.0f;
  double simulated = 0.0;
  for (auto _ : state) {
    int n = kxdynamics::Step(kFrame, &ground);
    simulated += n * kxdynamics::kSubstep;
  }
  state.counters["realtime"] = benchmark::Counter(simulated, benchmark::Counter::kIsRate);
  kxdynamics::Stop();
  kxdaircraftinstance::Unload(kxdaircraftinstance::Slot(0));
}
BENCHMARK(BM_GliderRealTimeFactor);

}  // namespace
