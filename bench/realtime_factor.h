// Shared set-up for the flight benchmarks: a temporary data folder to write
// or copy sample aircraft into, and the fixed-step loop that measures the
// real-time factor (simulated seconds per wall-clock second, one core).
#pragma once

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <initializer_list>
#include <string>

#include "core/hooks.h"
#include "core/interpreter.h"
#include "dynamics/driver.h"
#include "dynamics/instance.h"
#include "dynamics/registry.h"
#include "dynamics/scenery_world.h"
#include "dynamics/world.h"
#include "graphics/geometric_object.h"
#include "platform/files.h"

namespace benchsetup {

// Silences the log, registers the base node types and enters a fresh folder
// made from `pattern` (mkdtemp form). 1, or 0 when the folder cannot be made.
inline int EnterDataFolder(char* pattern) {
  kxcore::SetLogHandler([](const char*) {});
  kxscript::Init();
  kxgraphics::RegisterTypes();
  kxdynamics::RegisterTypes();
  return mkdtemp(pattern) && chdir(pattern) == 0;
}

// Makes the folder of a sample aircraft in the data folder (and "aircraft"
// itself when needed); the path its files start with, "aircraft/<name>/<name>".
inline std::string AircraftFolder(const char* name) {
  kxsystem::CreateDirectory("aircraft");
  std::string dir = std::string("aircraft/") + name;
  kxsystem::CreateDirectory(dir.c_str());
  return dir + "/" + name;
}

// Copies the named folders of the committed data/aircraft into "aircraft/"
// of the data folder. 1, or 0 when the last copy failed.
inline int CopySamples(std::initializer_list<const char*> folders) {
  namespace fs = std::filesystem;
  fs::path data = fs::path(KX_SOURCE_DIR) / "data" / "aircraft";
  std::error_code error;
  fs::create_directories("aircraft", error);
  for (const char* folder : folders) {
    fs::copy(data / folder, fs::path("aircraft") / folder, fs::copy_options::recursive, error);
  }
  return !error;
}

// Loads the named aircraft for player 0 when the set-up succeeded, else
// (or when loading fails) marks the benchmark skipped. 1 when loaded.
inline int LoadOrSkip(benchmark::State& state, bool ready, const char* name) {
  if (!ready || !kxdaircraftinstance::AircraftLoad(name, 0)) {
    state.SkipWithError("sample did not load");
    return 0;
  }
  return 1;
}

// Places the aircraft loaded in slot 0 at `heightM` with forward speed
// `speedMps`, steps it frame by frame against `stepWorld` while the
// benchmark runs, reports the "realtime" counter, then stops the driver and
// unloads the aircraft. The caller starts the driver first: on scenery it
// starts on the adapter but steps the collision world itself, hence the
// template.
template <class World>
void MeasureRealTimeFactor(benchmark::State& state, World* stepWorld, float heightM, float speedMps) {
  kxmatrix pose;
  kxmatrix::SetIdentity(&pose);
  pose.R.z = heightM;
  kxdaircraftinstance::PlaceAt(kxdaircraftinstance::Loaded(0), pose, {speedMps, 0.0f, 0.0f, 0.0f});
  constexpr float kFrame = 1.0f / 60.0f;  // s
  double simulated = 0.0;                 // s
  for (auto _ : state) {
    int n = kxdynamics::Step(kFrame, stepWorld);
    simulated += n * kxdynamics::kSubstep;
  }
  state.counters["realtime"] = benchmark::Counter(simulated, benchmark::Counter::kIsRate);
  kxdynamics::Stop();
  kxdaircraftinstance::Unload(kxdaircraftinstance::Slot(0));
}

}  // namespace benchsetup
