// Shared fixture of the views' drawing tests: one hidden window with a
// compatibility context per suite (skipped without a display), the null
// window backend counting swaps, the simulator records and the scenery reset
// around each test, and helpers to aim a camera, read pixels and build parts.
#pragma once

#include <GL/gl.h>

#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "core/interpreter.h"
#include "graphics/font.h"
#include "graphics/geometric_object.h"
#include "graphics/gl_frame.h"
#include "platform/gl_context.h"
#include "platform/null_window.h"
#include "sim/resources.h"
#include "sim/views/reflection_maps.h"
#include "sim/views/render_to_texture.h"
#include "sim/views/scene.h"
#include "sim/views/transparent_list.h"
#include "sim/views/view_matrices.h"
#include "tests/platform/gl_support.h"
#include "tests/sim/sim_support.h"
#include "tests/sim/views/program_scene.h"
#include "tests/sim/world/world_support.h"

namespace viewstest {

namespace fs = std::filesystem;

constexpr int kWidth = 160, kHeight = 120;  // px
constexpr float kNear = 0.3f;               // m: about 53 degrees from top to bottom

class viewsgltest : public kxtest::SceneryTest {
 protected:
  static void SetUpTestSuite() {
    kxscript::Init();
    kxgraphics::RegisterTypes();
    if (std::getenv("DISPLAY") && gl_.Open("views test", kWidth, kHeight)) {
      kxsystem::SetHasContext(1);
      kxgl::InitExtensions();
    }
  }
  static void TearDownTestSuite() {
    sim::ReleaseRenderTargets();
    kxgl::ContextLost();
    kxsystem::SetHasContext(0);
    gl_.Close();
  }
  void SetUp() override {
    SceneryTest::SetUp();
    if (!kxgl::HasContext()) GTEST_SKIP() << "no OpenGL context (no display)";
    simtest::ResetSimulatorState();
    caps_ = kxgl::caps;
    kxsystem::SetWindowBackend(&null_);
    kxsystem::display.window_width = kWidth;
    kxsystem::display.window_height = kHeight;
    sim::ResetSceneView();
    sim::ResetTransparentList();
    sim::ForgetReflectionMaps();
    kxscript::Root()->AppendChild(top_ = new kxnode);
  }
  void TearDown() override {
    if (kxgl::HasContext()) {
      kxgl::caps = caps_;
      for (kxtexture*& t : sim::session.media.cubemap_textures) kxgl::FreeTexture(t), t = nullptr;
      for (kxtexture* t : textures_) kxgl::FreeTexture(t);
      textures_.clear();
      kxgl::SetFont(nullptr);
      kxgl::FreeFont(&sim::small_font);
      delete top_;
      sim::session.run = {};
      kxsystem::SetWindowBackend(nullptr);
      kxsystem::display = kxdisplaysettings();
      simtest::ResetSimulatorState();
    }
    SceneryTest::TearDown();
  }

  // Clears to black and draws the view of viewer (may be null).
  static void Draw(const camera& c, simplayer* viewer = nullptr, int drawOwn = 0, int drawAircraft = 1) {
    glViewport(0, 0, kWidth, kHeight);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    sim::DrawScene(viewer, &c.eye.x, &c.X.x, &c.Y.x, &c.Z.x, static_cast<float>(kWidth) / kHeight, kNear, drawOwn,
                   1, drawAircraft);
  }
  static kxtest::pixel Centre() { return kxtest::ReadPixel(kWidth / 2, kHeight / 2); }
  // Every channel within 2 of the colour given as fractions.
  static ::testing::AssertionResult Near(kxtest::pixel p, float r, float g, float b) {
    auto close = [](int got, float want) { return std::abs(got - static_cast<int>(std::lround(want * 255))) <= 2; };
    if (close(p.r, r) && close(p.g, g) && close(p.b, b)) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "pixel " << int(p.r) << " " << int(p.g) << " " << int(p.b) << ", wanted "
                                         << r * 255 << " " << g * 255 << " " << b * 255;
  }
  // A part under parent (the test's node when null) with a mesh of one colour.
  kxgeometricobject* Part(const char* name, const meshgen::mesh* shape, const float rgb[3], kxnode* parent = nullptr,
                          int flags = 0) {
    kxgeometricobject* o = new kxgeometricobject;
    o->name = name;
    o->Flags = flags;
    (parent ? parent : top_)->AppendChild(o);
    if (shape) o->SetMesh(meshgen::ColouredElement(*shape, name, "", rgb));
    return o;
  }
  // The three "cubemap%d" entries as the program's resources make them
  // (never uploaded as 2-D), in the session; the fixture frees them.
  static void MakeCubeMapEntries() {
    for (int m = 0; m < sim::kCubeMaps; ++m) {
      std::string name = "cubemap" + std::to_string(m);
      kxtexture* t = kxgl::CreateTexture(name.c_str(), kxgl::kTypeRGB, 1, 1, kxgl::kFilterNearest, kxgl::kWrapClamp,
                                         kxgl::kWrapClamp, 0);
      t->cube = 1;
      sim::session.media.cubemap_textures[m] = t;
    }
  }
  // An RGBA texture of the table (linear, clamped, zero texels), freed after the test.
  kxtexture* Texture(const char* name, int width, int height) {
    kxtexture* t = kxgl::CreateTexture(name, kxgl::kTypeRGBA, width, height, kxgl::kFilterLinear, kxgl::kWrapClamp,
                                       kxgl::kWrapClamp, 0);
    if (t) textures_.push_back(t);
    return t;
  }
  // Level 0 of the texture in OpenGL, bottom row first.
  static std::vector<kxtest::pixel> Texels(const kxtexture* t) {
    std::vector<kxtest::pixel> texels(static_cast<size_t>(t->width) * t->height);
    glBindTexture(GL_TEXTURE_2D, t->glName);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
    return texels;
  }
  static fs::path ProgramData() { return (fs::path(KX_TEST_DATA) / "../../../../data").lexically_normal(); }

  nullwindowbackend null_;
  kxglcaps caps_;
  kxnode* top_ = nullptr;
  std::vector<kxtexture*> textures_;
  static inline kxtest::hiddenglwindow gl_;
};

}  // namespace viewstest
