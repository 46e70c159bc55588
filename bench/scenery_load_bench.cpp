// Scenery loading: the sample sceneries read, built into the collision world
// and released again, as the menu does when the scenery changes.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <string>

#include "core/hooks.h"
#include "sim/scenery.h"
#include "sim/world/world.h"

namespace {

void LoadScenery(benchmark::State& state, const char* name) {
  std::string data = std::string(KX_SOURCE_DIR) + "/data";
  char previous[4096];
  if (!getcwd(previous, sizeof previous) || chdir(data.c_str()) != 0) {
    state.SkipWithError("no data folder");
    return;
  }
  kxcore::SetLogHandler([](const char*) {});
  for (auto _ : state) {
    sim::LoadScenery(name, sim::TheWorld());
    benchmark::DoNotOptimize(sim::TheWorld()->collision.root);
  }
  sim::FreeScenery(sim::TheWorld());
  kxcore::SetLogHandler(nullptr);
  if (chdir(previous) != 0) state.SkipWithError("cannot return to the working folder");
}

BENCHMARK_CAPTURE(LoadScenery, winzeln, "winzeln")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(LoadScenery, seaslope, "seaslope")->Unit(benchmark::kMillisecond);

}  // namespace
