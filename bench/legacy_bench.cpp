// The legacy runtime's real-time factor: simulated seconds per wall-clock
// second of the helicopter sample stepped frame by frame on one core, in a
// hover just above level ground so the scenery is gathered and its contact
// segments are queried every substep. The committed sample is copied into a
// temporary data folder.
#include <GL/gl.h>
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>

#include "bench/realtime_factor.h"
#include "graphics/collision_world.h"
#include "graphics/scenery_records.h"
#include "legacy/contacts.h"
#include "legacy/dynamics.h"
#include "legacy/loader.h"
#include "tools/meshgen/meshgen.h"

namespace {

kxcollision* Setup() {
  static kxcollision world{};
  static bool ready = [] {
    char pattern[] = "/tmp/kxlegacybenchXXXXXX";
    if (!benchsetup::EnterDataFolder(pattern)) return false;
    namespace fs = std::filesystem;
    std::error_code error;
    fs::create_directories("airlark/aircraft", error);
    fs::copy(fs::path(KX_SOURCE_DIR) / "data/airlark/aircraft/heli.dns", "airlark/aircraft/heli.dns", error);
    static kxgeometryobject entry{};
    entry.mesh = meshgen::ToElement(meshgen::Ground(400.0f, 8, 0.0f), "field_gras", "", GL_N3F_V3F);
    const float cell[3] = {50, 50, 50}, sun[3] = {0, 0, 1};
    return !error && kxcollision::Build(&world, &entry, nullptr, cell, 200, sun) == 1;
  }();
  return ready ? &world : nullptr;
}

void BM_LegacyHeliRealTimeFactor(benchmark::State& state) {
  kxcollision* world = Setup();
  dnsmodel::dnsstate& s = dnsmodel::Runtime().state;
  if (world) {
    kxcollision::SetCurrent(world);
    std::strcpy(s.name, "heli");
    dnsmodel::LoadActive(&s);
  }
  if (!s.model) {
    state.SkipWithError("heli did not load");
    return;
  }
  const float pose[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 1.5f, 0, 0, 0, 1};
  std::memcpy(s.pose, pose, sizeof pose);
  dnsmodel::ResetDynamics(&dnsmodel::Runtime().root, &s);
  constexpr float kFrame = 1.0f / 60.0f;  // s
  double simulated = 0.0;                 // s
  for (auto _ : state) {
    dnsmodel::GatherScenery(world, dnsmodel::Runtime().root->position, dnsmodel::kGatherRadius);
    dnsmodel::FindGroundBelow(&s, world);
    s.dt = kFrame;
    dnsmodel::StepDynamics(&dnsmodel::Runtime().root, &s);
    simulated += kFrame;
  }
  state.counters["realtime"] = benchmark::Counter(simulated, benchmark::Counter::kIsRate);
  dnsmodel::Unload();
  kxcollision::SetCurrent(nullptr);
}
BENCHMARK(BM_LegacyHeliRealTimeFactor);

}  // namespace
