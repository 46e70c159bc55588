// The menu's screen under a real OpenGL context (a hidden window; skipped
// without a display), read back pixel by pixel.
#include <GL/gl.h>
#include <SDL2/SDL.h>

#include <cstdlib>
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
    if (std::getenv("DISPLAY") && gl_.Open("menu test", kWidth, kHeight)) kxsystem::SetHasContext(1);
  }
  static void TearDownTestSuite() {
    kxgl::ContextLost();
    kxsystem::SetHasContext(0);
    gl_.Close();
  }
  void SetUp() override {
    if (!kxgl::HasContext()) GTEST_SKIP() << "no OpenGL context (no display)";
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
  static inline kxtest::hiddenglwindow gl_;
};

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
