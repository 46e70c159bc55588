// Flight dynamics: the real-time factor (simulated seconds per wall-clock
// second, one core) of each sample aircraft under the fixed-step driver, and
// the time to load an aircraft from its files. The samples are written into
// a temporary data folder first; later component libraries add theirs here.
#include <benchmark/benchmark.h>
#include <GL/gl.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include "bench/realtime_factor.h"
#include "core/hooks.h"
#include "core/interpreter.h"
#include "dynamics/driver.h"
#include "dynamics/instance.h"
#include "dynamics/registry.h"
#include "dynamics/scenery_world.h"
#include "dynamics/world.h"
#include "graphics/collision_world.h"
#include "graphics/mesh.h"
#include "graphics/scenery_records.h"
#include "graphics/geometric_object.h"
#include "platform/files.h"
#include "tools/meshgen/meshgen.h"

namespace {

struct sample {
  const char* name;
  const char* components;
};

// A fuselage alone, and a fuselage with a pod on a hinge and a tow hook.
const sample kSamples[] = {
    {"box",
     "//\n//\n//\n//\n// version: 1.8.0\n//\n// type:    4\n"
     "Append kxdfuselage00 Fuselage\ncd Fuselage/\nGeometry( \"~Geometry/Body/\" )\nMass = 2\ncd ../\n"},
    {"hinged",
     "//\n//\n//\n//\n// version: 1.8.0\n//\n// type:    0\n"
     "Append kxdjoint00 Hinge\ncd Hinge/\nBody1 = ../Pod/\nR    = kxvector4r( 0.2, 0, -0.1, 1 )\ncd ../\n"
     "Append kxdfuselage00 Fuselage\ncd Fuselage/\nGeometry( \"~Geometry/Body/\" )\nMass = 2\ncd ../\n"
     "Append kxdbody Pod\ncd Pod/\nR    = kxvector4r( 0.4, 0, -0.2, 1 )\nMass = 0.5\n"
     "Append kxdhook00 Hook\ncd Hook/\nMass = 0\ncd ../\ncd ../\n"},
};

// Makes a data folder with the samples and enters it, once.
bool Setup() {
  static bool ready = [] {
    char pattern[] = "/tmp/kxdbenchXXXXXX";
    if (!benchsetup::EnterDataFolder(pattern)) return false;
    for (const sample& s : kSamples) {
      std::string stem = benchsetup::AircraftFolder(s.name);
      std::ofstream(stem + ".kxd") << s.components;
      std::ofstream(stem + ".kxg") << "Append kxgeometricobject Body\n";
      meshgen::mesh box = meshgen::Box(1.0f, 0.3f, 0.2f);
      kxgeometricobject root;
      auto* body = new kxgeometricobject;
      body->name = "Body";
      root.AppendChild(body);
      body->SetMesh(meshgen::ToElement(box, "paint", "Body", GL_N3F_V3F));
      kxgeometricobject::WriteMesh(&root, (stem + ".tgo").c_str(), 1);
    }
    return true;
  }();
  return ready;
}

void BM_RealTimeFactor(benchmark::State& state) {
  const sample& s = kSamples[state.range(0)];
  if (!benchsetup::LoadOrSkip(state, Setup(), s.name)) return;
  state.SetLabel(s.name);
  kxdflatground ground;
  kxdynamics::Start(&ground);
  benchsetup::MeasureRealTimeFactor(state, &ground, 20.0f, 5.0f);
}
BENCHMARK(BM_RealTimeFactor)->DenseRange(0, sizeof kSamples / sizeof kSamples[0] - 1);

// The same against a built collision world: a generated 400 m ground whose
// faces every body's contact points are tested against in each substep.
void BM_RealTimeFactorOnScenery(benchmark::State& state) {
  const sample& s = kSamples[state.range(0)];
  if (!benchsetup::LoadOrSkip(state, Setup(), s.name)) return;
  state.SetLabel(s.name);
  kxgeometry* mesh = meshgen::ToElement(meshgen::Ground(400.0f, 16, 0.5f), "grass", "", GL_N3F_V3F);
  kxgeometryobject entry{};
  entry.mesh = mesh;
  kxcollision world{};
  const float minCell[3] = {50.0f, 50.0f, 50.0f};
  const float sun[3] = {0.0f, 0.0f, 1.0f};
  kxcollision::Build(&world, &entry, nullptr, minCell, 200, sun);
  kxdsceneryworld adapter(&world);
  kxdynamics::Start(&adapter);
  benchsetup::MeasureRealTimeFactor(state, &world, 2.0f, 2.0f);
  kxcolldynamic::Free(&world);
  kxcollision::FreeOctree(&world);
  kxcollision::SetCurrent(nullptr);
  kxgeometry::Free(&mesh);
}
BENCHMARK(BM_RealTimeFactorOnScenery)->DenseRange(0, sizeof kSamples / sizeof kSamples[0] - 1);

void BM_AircraftLoad(benchmark::State& state) {
  const sample& s = kSamples[state.range(0)];
  if (!Setup()) {
    state.SkipWithError("no data folder");
    return;
  }
  state.SetLabel(s.name);
  for (auto _ : state) {
    if (!kxdaircraftinstance::AircraftLoad(s.name, 0)) state.SkipWithError("sample did not load");
  }
  kxdaircraftinstance::Unload(kxdaircraftinstance::Slot(0));
}
BENCHMARK(BM_AircraftLoad)->DenseRange(0, sizeof kSamples / sizeof kSamples[0] - 1);

}  // namespace
