// Frames per second of one view of the default scenery ("winzeln") with the
// default aircraft ("christeneagle") seen from close by, and of the whole
// frame around it, at 1024 x 768 on the display the benchmark runs under
// (Mesa's software renderer in the test environment). Skipped without a
// display.
#include <GL/gl.h>
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "core/hooks.h"
#include "core/interpreter.h"
#include "platform/gl_context.h"
#include "platform/null_window.h"
#include "platform/window.h"
#include "sim/resources.h"
#include "sim/views/frame.h"
#include "sim/views/scene.h"
#include "tests/platform/gl_support.h"
#include "tests/sim/views/program_scene.h"

namespace {

constexpr int kWidth = 1024, kHeight = 768;  // px
constexpr float kNear = 0.3f;                // m

kxtest::hiddenglwindow window;
nullwindowbackend null;
kxdsceneryworld ground;

// The window, a data folder of links to the program's data, and the scene.
// Null without a display.
simplayer* Setup() {
  static simplayer* player = []() -> simplayer* {
    if (!std::getenv("DISPLAY") || !window.Open("scene benchmark", kWidth, kHeight)) return nullptr;
    kxcore::SetLogHandler([](const char*) {});
    kxsystem::SetHasContext(1);
    kxgl::InitExtensions();
    kxsystem::SetWindowBackend(&null);
    kxsystem::display.window_width = kWidth;
    kxsystem::display.window_height = kHeight;
    char pattern[] = "/tmp/skyvane-scene-bench-XXXXXX";
    if (!mkdtemp(pattern) || chdir(pattern) != 0) return nullptr;
    viewstest::LinkProgramData(std::filesystem::path(KX_SOURCE_DIR) / "data");
    kxscript::Init();
    kxgraphics::RegisterTypes();
    return viewstest::FlyDefaultAircraft("winzeln", &ground);
  }();
  return player;
}

void BM_SceneFramesPerSecond(benchmark::State& state) {
  simplayer* p = Setup();
  if (!p) {
    state.SkipWithError("no display");
    return;
  }
  const float* plane = p->flight_state->position();
  const float eye[3] = {plane[0] + 3, plane[1] - 3, plane[2] + 0.5f};
  viewstest::camera c(eye, plane);
  for (auto _ : state) {
    glClear(GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    sim::DrawScene(p, &c.eye.x, &c.X.x, &c.Y.x, &c.Z.x, static_cast<float>(kWidth) / kHeight, kNear, 0, 1, 1);
    glFinish();
  }
  state.counters["fps"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
// The first frames upload textures and fill the renderer's caches: a warm-up
// keeps them out of the steady rate.
BENCHMARK(BM_SceneFramesPerSecond)->Unit(benchmark::kMillisecond)->UseRealTime()->MinWarmUpTime(1.0)->MinTime(3.0);

// The whole frame: the same view with the flight information, a second
// camera's scene in its window and the menu band.
void BM_FrameFramesPerSecond(benchmark::State& state) {
  simplayer* p = Setup();
  if (!p) {
    state.SkipWithError("no display");
    return;
  }
  static const int font = kxgl::LoadFont("texture/arial10.kxf", &sim::small_font, 60);
  if (!font) {
    state.SkipWithError("no font");
    return;
  }
  const float* plane = p->flight_state->position();
  const float eye[3] = {plane[0] + 3, plane[1] - 3, plane[2] + 0.5f};
  const float above[3] = {plane[0] - 20, plane[1], plane[2] + 10};
  viewstest::camera c(eye, plane), second(above, plane);
  p->camera[0] = simcamera{1, sim::kCameraFlightInfo, kWidth - 220, 10, 210, 0};
  p->camera[2] = simcamera{1, sim::kViewFollow, kWidth - 202, kHeight - 220, 192, 180};
  c.CopyTo(p->viewer_position(), p->viewer_row_x(), p->viewer_row_y(), p->viewer_row_z());
  simcamera& cam = p->camera[2];
  second.CopyTo(cam.position, cam.axis_x, cam.axis_y, cam.axis_z);
  p->view_zoom = kNear;
  for (auto _ : state) {
    sim::Draw();
    glFinish();
  }
  state.counters["fps"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_FrameFramesPerSecond)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
