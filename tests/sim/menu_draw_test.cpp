// The menu's screen under a real OpenGL context (a hidden window; skipped
// without a display), read back pixel by pixel.
#include <GL/gl.h>
#include <SDL2/SDL.h>

#include <cstring>

#include "graphics/gl_frame.h"
#include "graphics/texture_table.h"
#include "platform/gl_context.h"
#include "platform/null_window.h"
#include "platform/window.h"
#include "sim/menu.h"
#include "sim_support.h"
#include "tests/platform/gl_support.h"

namespace {

constexpr int kWidth = 400, kHeight = 300;  // px

class MenuDrawTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    kxtest::PrepareGlDriver();
    if (SDL_Init(SDL_INIT_VIDEO) != 0) return;
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
    window_ = SDL_CreateWindow("menu test", 0, 0, kWidth, kHeight, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
    if (window_) context_ = SDL_GL_CreateContext(window_);
    if (!context_ || SDL_GL_MakeCurrent(window_, context_) != 0) return;
    kxsystem::SetHasContext(1);
  }
  static void TearDownTestSuite() {
    kxgl::ContextLost();
    kxsystem::SetHasContext(0);
    if (context_) SDL_GL_DeleteContext(context_);
    if (window_) SDL_DestroyWindow(window_);
    context_ = nullptr;
    window_ = nullptr;
    SDL_Quit();
  }
  void SetUp() override {
    if (!context_ || !kxgl::HasContext()) GTEST_SKIP() << "no OpenGL context (no display)";
    simtest::ResetSimulatorState();
    kxgl::ClearTextureTable();
    kxsystem::SetWindowBackend(&null_);
    kxsystem::display.window_width = kWidth;
    kxsystem::display.window_height = kHeight;
    sim::menustate& m = sim::Menu();
    for (int i = 0; i < sim::kMenuButtons; ++i) m.buttons[i] = Solid("button", 255, 255, 255);
    m.background[0] = Solid("sky", 0, 0, 255);
    m.background[1] = Solid("field", 0, 255, 0);
  }
  void TearDown() override {
    kxsystem::SetWindowBackend(nullptr);
    kxsystem::display = kxdisplaysettings();
    kxgl::ClearTextureTable();
    simtest::ResetSimulatorState();
  }
  static kxtexture* Solid(const char* name, uint8_t r, uint8_t g, uint8_t b) {
    kxtexture* t = kxgl::CreateTexture(name, kxgl::kTypeRGBA, 4, 4, kxgl::kFilterNearest, kxgl::kWrapClamp,
                                       kxgl::kWrapClamp, 0);
    for (int i = 0; i < 16; ++i) {
      const uint8_t texel[4] = {r, g, b, 255};
      std::memcpy(t->pixels + 4 * i, texel, 4);
    }
    t->uploaded = 0;
    return t;
  }
  // Centre of button n.
  static kxtest::pixel Button(int n) {
    return kxtest::ReadPixel(static_cast<int>(kWidth * 0.1f),
                             static_cast<int>(kHeight * (sim::ButtonBottom(n) + sim::kButtonHeight / 2)));
  }
  nullwindowbackend null_;
  static SDL_Window* window_;
  static SDL_GLContext context_;
};

SDL_Window* MenuDrawTest::window_ = nullptr;
SDL_GLContext MenuDrawTest::context_ = nullptr;

TEST_F(MenuDrawTest, HoveredButtonIsBrighterOverTheTwoPartBackground) {
  sim::Menu().hot_button = 3;
  sim::DrawMenu();
  EXPECT_EQ(null_.swaps, 1);
  EXPECT_EQ(Button(3).r, 255);
  EXPECT_NEAR(Button(4).r, 204, 1);
  kxtest::pixel sky = kxtest::ReadPixel(kWidth - 20, kHeight - 40), field = kxtest::ReadPixel(kWidth - 20, 20);
  EXPECT_EQ(sky.b, 255);
  EXPECT_EQ(sky.g, 0);
  EXPECT_EQ(field.g, 255);
  EXPECT_EQ(field.b, 0);
}

}  // namespace
