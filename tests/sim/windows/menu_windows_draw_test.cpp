// The simulator's windows drawn under a real OpenGL context (a hidden window;
// skipped without a display), read back pixel by pixel.
#include <GL/gl.h>

#include <filesystem>
#include <string>

#include "graphics/texture_table.h"
#include "gui/gui.h"
#include "gui/images.h"
#include "sim/windows/window_functions.h"
#include "tests/gui/gl_gui_support.h"
#include "tests/platform/gl_support.h"
#include "tests/sim/windows/menu_support.h"

namespace {

constexpr int kWidth = 640, kHeight = 480;  // px

using kxtest::ReadPixel;
using kxtest::pixel;

class MenuWindowsDraw : public kxtest::glguitest<menutest::menutest, kWidth, kHeight> {};

TEST_F(MenuWindowsDraw, TheSaveWindowsNameFieldIsWhiteInTheGreyGroup) {
  Send(sim::kWndSaveRecord, "Open");
  kxwindow* w = sim::MenuWindow(sim::kWndSaveRecord);
  kxgui::Frame();
  // The field's frame: group (10, 50), frame (20, 140) 220 x 24; its right end
  // lies beyond the edit box.
  int fx = w->X + 10 + 20, fy = w->Y + 50 + 140;
  pixel field = ReadPixel(fx + 205, fy + 12);
  EXPECT_EQ(field.r, 255);
  EXPECT_EQ(field.b, 255);
  pixel group = ReadPixel(fx + 110, fy - 20);  // the group under the field
  EXPECT_NEAR(group.r, 204, 2);
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(MenuWindowsDraw, TheAboutPictureStandsUprightWithItsUnusedRowsCutOff) {
  // The program's own picture; the data folder lies four levels above this one.
  std::string path = (std::filesystem::path(KX_TEST_DATA) / "../../../../data/texture/about.bmp").lexically_normal();
  kxtexture* picture = kxgl::LoadTexture(path.c_str(), {.type = kxgl::kTypeRGB, .filter = kxgl::kFilterLinear});
  ASSERT_NE(picture, nullptr);
  kxwindow* about = sim::AboutWindow();
  for (kxnode* n = about->firstChild; n; n = n->nextSibling)
    if (kximagetexture* image = kxnode::As<kximagetexture>(n)) image->texture = picture;
  Send(sim::kWndAbout, "Open");
  kxgui::Frame();
  // The image at (4, 26), 512 x 420: sky at its top, hills at its bottom,
  // and no black band from the unused rows.
  int ix = about->X + 4, iy = about->Y + 26;
  pixel sky = ReadPixel(ix + 40, iy + 410);
  EXPECT_GT(sky.b, sky.r + 60);
  pixel hills = ReadPixel(ix + 40, iy + 8);
  EXPECT_GT(hills.g, hills.r + 40);
  EXPECT_GT(hills.g, 60);
  kxgl::FreeTexture(picture);
}

}  // namespace
