// The menu's screen under a real OpenGL context (a hidden window; skipped
// without a display), read back pixel by pixel.
#include <GL/gl.h>
#include <SDL2/SDL.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "dynamics/flight_state.h"
#include "graphics/draw.h"
#include "graphics/font.h"
#include "graphics/geometric_object.h"
#include "graphics/gl_frame.h"
#include "graphics/texture_table.h"
#include "platform/gl_context.h"
#include "platform/null_window.h"
#include "platform/window.h"
#include "sim/app_hooks.h"
#include "sim/menu.h"
#include "sim_support.h"
#include "tests/platform/gl_support.h"
#include "tools/meshgen/meshgen.h"

namespace {

constexpr int kWidth = 400, kHeight = 300;  // px

// The menu drawn in a hidden window of width x height pixels, the program's
// records reset around each test.
template <int width, int height>
class menudraw : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    if (std::getenv("DISPLAY") && gl_.Open("menu test", width, height)) kxsystem::SetHasContext(1);
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
    kxsystem::display.window_width = width;
    kxsystem::display.window_height = height;
  }
  void TearDown() override {
    kxgl::FreeFont(&sim::menu_font);
    kxsystem::SetWindowBackend(nullptr);
    kxsystem::display = kxdisplaysettings();
    kxgl::ClearTextureTable();
    simtest::ResetSimulatorState();
  }
  nullwindowbackend null_;
  static inline kxtest::hiddenglwindow gl_;
};

class MenuDrawTest : public menudraw<kWidth, kHeight> {
 protected:
  void SetUp() override {
    menudraw::SetUp();
    if (IsSkipped()) return;
    sim::menustate& m = sim::Menu();
    for (int i = 0; i < sim::kMenuButtons; ++i) m.buttons[i] = Solid("button", 255, 255, 255);
    m.background[0] = Solid("sky", 0, 0, 255);
    m.background[1] = Solid("field", 0, 255, 0);
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
  // Pixels of the rectangle [x0, x1) x [y0, y1) lighter than 200 on every channel.
  static int WhitePixels(int x0, int y0, int x1, int y1) {
    int count = 0;
    for (int y = y0; y < y1; ++y)
      for (int x = x0; x < x1; ++x) {
        kxtest::pixel p = kxtest::ReadPixel(x, y);
        count += p.r > 200 && p.g > 200 && p.b > 200;
      }
    return count;
  }
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

// The tip of the hovered button stands in the top band from 275/1024 of the
// width (beside button 0, which reaches 0.27 of it); without a hovered button
// only the version line, right-aligned at 0.9375 of the width, is there.
TEST_F(MenuDrawTest, HoveredButtonShowsItsTipBesideTheVersionLine) {
  ASSERT_TRUE(kxgl::LoadFont(KX_TEST_DATA "/../../../data/texture/menufont.kxf", &sim::menu_font,
                             kxgl::kFilterLinear));
  const int tipLeft = kWidth * 27 / 100 + 2, band = kHeight - 40;
  sim::DrawMenu();
  EXPECT_EQ(WhitePixels(tipLeft, band, kWidth / 2, kHeight), 0);
  int version = WhitePixels(kWidth / 2, band, kWidth * 15 / 16 + 1, kHeight);
  EXPECT_GT(version, 0);
  EXPECT_EQ(WhitePixels(kWidth * 15 / 16 + 2, band, kWidth, kHeight), 0);
  sim::Menu().hot_button = 9;  // "Fly - start the simulation"
  sim::DrawMenu();
  EXPECT_GT(WhitePixels(tipLeft, band, kWidth / 2, kHeight), 0);
}

// A player's aircraft stands on the turntable in the middle of the screen,
// over its flat shadow; an aircraft of radius 0 is drawn as one of radius 1.
TEST_F(MenuDrawTest, TheTurntableShowsThePlayersAircraft) {
  kxgeometricobject* root = new kxgeometricobject;
  root->mesh = meshgen::ToElement(meshgen::Box(1.2f, 1.2f, 0.6f), "body", "", GL_N3F_V3F);
  root->ownsMesh = 1;
  kxdflightstate state;
  state.graphics_root = root;
  state.radius = 0;
  sim::players[0].flight_state = &state;
  sim::DrawMenu();
  kxtest::pixel model = kxtest::ReadPixel(kWidth / 2, kHeight / 2);
  sim::players[0].flight_state = nullptr;
  sim::DrawMenu();
  kxtest::pixel empty = kxtest::ReadPixel(kWidth / 2, kHeight / 2);
  delete root;
  EXPECT_EQ(empty.b, 255);  // the picture behind the turntable
  EXPECT_LT(model.b, 250);
}

// The same box as a component aircraft and as a legacy model drawn by the
// runtime's hooks: the same picture, its flat shadow lifted to the lowest
// point the flight state gives for either.
kxgeometry* legacy_box = nullptr;

TEST_F(MenuDrawTest, ALegacyModelsShadowLiesUnderItAsAComponentAircraftsDoes) {
  kxgeometricobject* root = new kxgeometricobject;
  root->mesh = meshgen::ToElement(meshgen::Box(1.0f, 1.0f, 0.2f), "body", "", GL_N3F_V3F);
  root->ownsMesh = 1;
  legacy_box = root->mesh;
  kxdflightstate state;
  state.graphics_root = root;
  state.radius = 0.8f;
  state.bounds_min[2] = -0.1f;
  sim::players[0].flight_state = &state;
  auto picture = [] {
    sim::Menu().turntable_angle = 30.0f;
    sim::Menu().frame_time = 0.0f;
    sim::DrawMenu();
    std::vector<kxtest::pixel> pixels(static_cast<size_t>(kWidth) * kHeight);
    glReadPixels(0, 0, kWidth, kHeight, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
  };
  std::vector<kxtest::pixel> component = picture();
  const sim::applicationhooks saved = sim::Hooks();
  sim::applicationhooks hooks = saved;
  hooks.legacy_draw_solid = [] { kxgl::DrawGeometry(legacy_box); };
  hooks.legacy_draw_plain = [] { kxgl::DrawGeometryPlain(legacy_box); };
  hooks.legacy_draw_transparent = nullptr;
  sim::SetHooks(hooks);
  sim::players[0].legacy = 1;
  std::vector<kxtest::pixel> legacy = picture();
  sim::SetHooks(saved);
  sim::players[0].legacy = 0;
  sim::players[0].flight_state = nullptr;
  delete root;
  int differing = 0;
  for (size_t i = 0; i < component.size(); ++i)
    differing += component[i].r != legacy[i].r || component[i].g != legacy[i].g || component[i].b != legacy[i].b;
  EXPECT_EQ(differing, 0);
}

// At the smallest window the menu draws its buttons at 0.625 of their
// pictures' size, texel by texel. Every stroke of a label at least two
// texels tall keeps apart from the next one down (the dot of an "i" from
// its stem: "Edit aircraft" must not read "Edlt alrcraft").
constexpr int kSmallWidth = 640, kSmallHeight = 480;  // px, the smallest window

class MenuLabelDrawTest : public menudraw<kSmallWidth, kSmallHeight> {
 protected:
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
};

TEST_F(MenuLabelDrawTest, EditAircraftLabelKeepsItsStrokesApartAtSixForty) {
  constexpr int kEdit = 6;
  const std::string path = std::string(KX_TEST_DATA) + "/../../../data/texture/svgebuttonea.bmp";
  kxtexture* t = kxgl::LoadTexture(path.c_str());
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
