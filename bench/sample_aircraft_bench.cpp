// The powered sample aircraft's real-time factor: simulated seconds per
// wall-clock second of the fixed-step driver on one core, each flying at
// full throttle from an air start. The committed samples are copied into a
// temporary data folder.
#include <benchmark/benchmark.h>

#include "bench/realtime_factor.h"
#include <unistd.h>

#include <filesystem>

#include "core/hooks.h"
#include "core/interpreter.h"
#include "dynamics/aircraft.h"
#include "dynamics/all/register_all.h"
#include "dynamics/driver.h"
#include "dynamics/instance.h"
#include "dynamics/world.h"
#include "graphics/geometric_object.h"

namespace {

namespace fs = std::filesystem;

struct sample {
  const char* name;
  float speed;  // m/s, about 1.5 times the stall speed
};

const sample kSamples[] = {{"christeneagle", 13.0f}, {"trainer", 11.0f}, {"jet", 17.0f}};

float slots[4096] = {};

bool Setup() {
  static bool ready = [] {
    kxcore::SetLogHandler([](const char*) {});
    kxscript::Init();
    kxgraphics::RegisterTypes();
    kxdynamics::RegisterAll();
    fs::path data = fs::path(KX_SOURCE_DIR) / "data" / "aircraft";
    char pattern[] = "/tmp/kxsamplebenchXXXXXX";
    if (!mkdtemp(pattern) || chdir(pattern) != 0) return false;
    std::error_code error;
    fs::create_directories("aircraft", error);
    for (const char* folder : {"christeneagle", "trainer", "jet", "airfoil"}) {
      fs::copy(data / folder, fs::path("aircraft") / folder, fs::copy_options::recursive, error);
    }
    slots[2002] = 1.0f;  // full throttle on channel 2
    kxdaircraft::SetPinboardSlots(slots);
    return !error;
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
