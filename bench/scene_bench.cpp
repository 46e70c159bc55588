// Frames per second of one view of the default scenery ("winzeln") with the
// default aircraft ("christeneagle") seen from close by, at 1024 x 768 on the
// display the benchmark runs under (Mesa's software renderer in the test
// environment). Skipped without a display.
#include <GL/gl.h>
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "core/hooks.h"
#include "core/interpreter.h"
#include "dynamics/all/register_all.h"
#include "dynamics/driver.h"
#include "dynamics/instance.h"
#include "dynamics/scenery_world.h"
#include "graphics/geometric_object.h"
#include "graphics/mesh.h"
#include "platform/gl_context.h"
#include "platform/null_window.h"
#include "platform/window.h"
#include "sim/player.h"
#include "sim/session.h"
#include "sim/views/display_lists.h"
#include "sim/views/gl_state.h"
#include "sim/views/scene.h"
#include "sim/views/sky.h"
#include "sim/world/world.h"
#include "tests/platform/gl_support.h"

namespace {

namespace fs = std::filesystem;

constexpr int kWidth = 1024, kHeight = 768;  // px
constexpr float kNear = 0.3f;                // m

kxtest::hiddenglwindow window;
nullwindowbackend null;
kxdsceneryworld ground;

// The draw kinds the aircraft set-up gives its parts.
void Classify(kxgeometricobject* o) {
  for (kxnode* c = o->firstChild; c; c = c->nextSibling)
    if (kxgeometricobject* child = kxnode::As<kxgeometricobject>(c)) Classify(child);
  const std::string owner = o->Object && o->Object->type ? o->Object->type->name : "";
  bool rotating = owner == "kxdpropeller00" || owner.rfind("kxdrotor", 0) == 0 || owner == "kxdtailrotor00";
  o->Flags = !o->mesh ? 0 : o->mesh->transparent ? kxgeometricobject::kFlagDirect
                         : rotating              ? kxgeometricobject::kFlagRotating
                                                 : kxgeometricobject::kFlagList;
}

// The program's data behind links, the scenery and the aircraft at its
// first start, and every list built. False without a display.
bool Setup() {
  static bool ready = [] {
    if (!std::getenv("DISPLAY") || !window.Open("scene benchmark", kWidth, kHeight)) return false;
    kxcore::SetLogHandler([](const char*) {});
    kxsystem::SetHasContext(1);
    kxgl::InitExtensions();
    kxsystem::SetWindowBackend(&null);
    kxsystem::display.window_width = kWidth;
    kxsystem::display.window_height = kHeight;
    char pattern[] = "/tmp/skyvane-scene-bench-XXXXXX";
    if (!mkdtemp(pattern) || chdir(pattern) != 0) return false;
    for (const char* part : {"aircraft", "objects", "scenery", "texture"})
      fs::create_symlink(fs::path(KX_SOURCE_DIR) / "data" / part, part);
    kxscript::Init();
    kxgraphics::RegisterTypes();
    kxdynamics::RegisterAll();
    world& w = *sim::TheWorld();
    sim::LoadScenery("winzeln", &w);
    if (kxdaircraftinstance::AircraftLoad("christeneagle", 0) != 1) return false;
    ground.Set(&w.collision);
    kxdynamics::Start(&ground);
    kxmatrix pose;
    kxmatrix::SetIdentity(&pose);
    pose.R = {w.start_aircraft[0][0], w.start_aircraft[0][1], 1.0f, 1.0f};
    kxdaircraftinstance::PlaceAt(kxdaircraftinstance::Loaded(0), pose, {});
    kxdynamics::UpdateVisuals();
    simplayer& p = sim::players[0];
    p.flight_state = kxdaircraftinstance::FlightStateOf(0);
    Classify(kxnode::As<kxgeometricobject>(p.flight_state->graphics_root));
    sim::SetupGL();
    sim::BuildSky(&w);
    sim::BuildSceneryLists();
    int next = sim::kFirstAircraftList;
    sim::BuildAircraftLists(&p, &next);
    return true;
  }();
  return ready;
}

void BM_SceneFramesPerSecond(benchmark::State& state) {
  if (!Setup()) {
    state.SkipWithError("no display");
    return;
  }
  simplayer& p = sim::players[0];
  const float* plane = p.flight_state->position;
  const float eye[3] = {plane[0] + 3, plane[1] - 3, plane[2] + 0.5f};
  float X[3] = {plane[0] - eye[0], plane[1] - eye[1], plane[2] - eye[2]};
  float length = std::sqrt(X[0] * X[0] + X[1] * X[1] + X[2] * X[2]);
  for (float& x : X) x /= length;
  float side = std::sqrt(X[0] * X[0] + X[1] * X[1]);
  const float Y[3] = {-X[1] / side, X[0] / side, 0};
  const float Z[3] = {X[1] * Y[2] - X[2] * Y[1], X[2] * Y[0] - X[0] * Y[2], X[0] * Y[1] - X[1] * Y[0]};
  for (auto _ : state) {
    glClear(GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    sim::DrawScene(&p, eye, X, Y, Z, static_cast<float>(kWidth) / kHeight, kNear, 0, 1, 1);
    glFinish();
  }
  state.counters["fps"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_SceneFramesPerSecond)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
