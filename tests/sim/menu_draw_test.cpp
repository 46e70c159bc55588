// The menu's screen under a real OpenGL context (a hidden window; skipped
// without a display), read back pixel by pixel.
#include <GL/gl.h>
#include <SDL2/SDL.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

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

// At the smallest window the menu draws its buttons at 0.625 of their
// pictures' size, texel by texel. Every stroke of a label at least two
// texels tall keeps apart from the next one down (the dot of an "i" from
// its stem: "Edit aircraft" must not read "Edlt alrcraft").
class MenuLabelDrawTest : public ::testing::Test {
 protected:
  static constexpr int kSmallWidth = 640, kSmallHeight = 480;  // px
  static void SetUpTestSuite() {
    if (std::getenv("DISPLAY") && gl_.Open("menu label test", kSmallWidth, kSmallHeight)) kxsystem::SetHasContext(1);
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
    kxsystem::display.window_width = kSmallWidth;
    kxsystem::display.window_height = kSmallHeight;
  }
  void TearDown() override {
    kxsystem::SetWindowBackend(nullptr);
    kxsystem::display = kxdisplaysettings();
    kxgl::ClearTextureTable();
    simtest::ResetSimulatorState();
  }
  // The top and bottom texel (or pixel) of each white run in a column.
  static std::vector<std::pair<int, int>> Runs(const std::vector<bool>& white) {
    std::vector<std::pair<int, int>> runs;
    for (size_t i = 0; i < white.size(); ++i) {
      if (!white[i]) continue;
      if (i == 0 || !white[i - 1]) runs.push_back({static_cast<int>(i), static_cast<int>(i)});
      runs.back().second = static_cast<int>(i);
    }
    return runs;
  }
  nullwindowbackend null_;
  static inline kxtest::hiddenglwindow gl_;
};

TEST_F(MenuLabelDrawTest, EditAircraftLabelKeepsItsStrokesApartAtSixForty) {
  constexpr int kEdit = 6;
  const std::string path = std::string(KX_TEST_DATA) + "/../../../data/texture/svgebuttonea.bmp";
  kxtexture* t = kxgl::LoadTexture(path.c_str(), kxgl::kTypeRGBA, kxgl::kFilterNearest, kxgl::kWrapClamp,
                                   kxgl::kWrapClamp, 0, 0);
  ASSERT_NE(t, nullptr);
  sim::Menu().buttons[kEdit] = t;
  sim::DrawMenu();
  const float x0 = sim::kButtonLeft * kSmallWidth, width = sim::kButtonWidth * kSmallWidth;
  const float y0 = sim::ButtonBottom(kEdit) * kSmallHeight, height = sim::kButtonHeight * kSmallHeight;
  int columns = 0;
  for (int x = static_cast<int>(x0); x < static_cast<int>(x0 + width); ++x) {
    int u = static_cast<int>((x + 0.5f - x0) / width * t->width);
    if (u < 0 || u >= t->width) continue;
    std::vector<bool> texels(t->height), pixels;
    for (int v = 0; v < t->height; ++v) texels[v] = t->pixels[(static_cast<size_t>(v) * t->width + u) * 4] > 200;
    for (int y = static_cast<int>(y0 + height); y >= static_cast<int>(y0); --y) {
      if (y + 0.5f > y0 && y + 0.5f < y0 + height) pixels.push_back(kxtest::ReadPixel(x, y).r > 150);
    }
    int strokes = 0;
    for (auto [top, bottom] : Runs(texels)) strokes += bottom - top + 1 >= 2;
    if (strokes < 2) continue;
    ++columns;
    EXPECT_EQ(Runs(pixels).size(), static_cast<size_t>(strokes)) << "texel column " << u;
  }
  EXPECT_GT(columns, 20);  // the label's letters with two or more strokes were seen
}

}  // namespace
