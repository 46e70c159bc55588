// Drawing under a real OpenGL context (a hidden window; skipped without a
// display): the frame pass renders windows and pop-ups whose pixels are
// read back.
#include <GL/gl.h>

#include "graphics/font.h"
#include "core/interpreter.h"
#include "graphics/gl_frame.h"
#include "graphics/draw.h"
#include "graphics/texture_table.h"
#include "gui/button.h"
#include "gui/icons.h"
#include "gui/menu.h"
#include "gui/paint.h"
#include "gui/window.h"
#include "gl_gui_support.h"
#include "gui_support.h"
#include "tests/platform/gl_support.h"

namespace {

constexpr int kWidth = 320;   // px
constexpr int kHeight = 240;  // px

using kxtest::ReadPixel;
using kxtest::pixel;

class DrawTest : public kxtest::glguitest<kxtest::guitest, kWidth, kHeight> {};

TEST_F(DrawTest, FramePassDrawsAnActiveWindow) {
  kxwindow* window = new kxwindow;
  window->X = 20, window->Y = 20, window->W = 200, window->H = 150;
  kxgui::Invisible->AppendChild(window);
  window->Show();
  kxgui::Frame();
  int ax = 20, ay = 20, top = ay + 150, bar = kxwindow::TitleBarHeight(), half = bar / 2;

  pixel body = ReadPixel(ax + 50, ay + 40);  // palette entry 10
  EXPECT_NEAR(body.r, 204, 2);
  EXPECT_NEAR(body.b, 204, 2);
  pixel left = ReadPixel(ax + 30, top - 6);  // gradient from entry 13 (dark blue) ...
  EXPECT_LT(left.r, 60);
  EXPECT_GT(left.b, left.r + 50);
  pixel right = ReadPixel(ax + 170, top - 6);  // ... to entry 15 (light blue)
  EXPECT_GT(right.r, 120);
  pixel white = ReadPixel(ax, ay + 75);  // left border in entry 1
  EXPECT_EQ(white.r, 255);
  pixel black = ReadPixel(ax + 100, ay);  // bottom border in entry 0
  EXPECT_EQ(black.g, 0);
  EXPECT_EQ(ReadPixel(ax + 100, ay - 1).r, 0);  // nothing outside

  // The close box: light face, black cross through its centre.
  int cx = ax + 200 - 19, cy = top - half - 9;
  EXPECT_NEAR(ReadPixel(cx + 2, cy + 7).r, 204, 2);
  EXPECT_EQ(ReadPixel(cx + 7, cy + 7).r, 0);
  // The window icon stands upright: blue title bar above a white page.
  int ix = ax + 3, iy = top - half - 9;
  pixel iconTop = ReadPixel(ix + 5, iy + 12);
  pixel iconPage = ReadPixel(ix + 5, iy + 3);
  EXPECT_GT(iconTop.b, 100);
  EXPECT_LT(iconTop.r, 30);
  EXPECT_EQ(iconPage.r, 255);
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(DrawTest, DrawPassRendersAnInactiveWindowWithTheGreyTitleBar) {
  kxwindow* window = new kxwindow;
  window->X = 20, window->Y = 20, window->W = 200, window->H = 150;
  screen->AppendChild(window);
  kxgui::Focus = screen;
  kxgui::Frame();
  glClear(GL_COLOR_BUFFER_BIT);
  kxgui::Draw();
  EXPECT_NEAR(ReadPixel(70, 60).r, 204, 2);
  pixel left = ReadPixel(20 + 30, 170 - 6);  // entry 12 to entry 14
  EXPECT_NEAR(left.r, left.b, 3);
  EXPECT_GT(left.r, 120);
}

TEST_F(DrawTest, OpenPopupHighlightsTheFocusedEntry) {
  kxmenuitem* title = new kxmenuitem;
  title->Text = "File";
  title->Action = "/Display/Invisible/MFile/Show";
  screen->AppendChild(title);
  kxpopup* popup = new kxpopup;
  popup->name = "MFile";
  kxgui::Invisible->AppendChild(popup);
  kxpopupitem* first = new kxpopupitem("Open", "", 0);
  kxpopupitem* second = new kxpopupitem("Save", "", 0);
  popup->AppendChild(first);
  popup->AppendChild(second);
  screen->Update();
  title->OnLeftDown();
  kxgui::Focus = second;
  kxgui::Frame();
  kxgui::Draw();
  int px = popup->X, py = popup->Y;
  pixel face = ReadPixel(px + 2, py + popup->H / 2);  // the pop-up's face, entry 10
  EXPECT_NEAR(face.r, 204, 2);
  pixel highlight = ReadPixel(px + second->X + second->W / 2, py + second->Y + second->H / 2);  // entry 16
  EXPECT_NEAR(highlight.r, 84, 2);
  EXPECT_NEAR(highlight.b, 178, 2);
  pixel plain = ReadPixel(px + first->X + first->W - 2, py + first->Y + first->H / 2);
  EXPECT_NEAR(plain.r, 204, 2);
  EXPECT_EQ(ReadPixel(px, py + 5).r, 255);  // left edge in entry 1
}

TEST_F(DrawTest, TitleIsWrittenInWhiteWithTheGuiFont) {
  static kxglfont font;
  ASSERT_EQ(kxgl::LoadFont("texture/arial10.kxf", &font, kxgl::kFilterNearest), 1);
  kxgui::SetGuiFont(&font);
  kxwindow* window = new kxwindow;
  window->X = 20, window->Y = 20, window->W = 250, window->H = 150;
  window->Title = "Options";
  screen->AppendChild(window);
  kxgui::Frame();
  int bar = kxwindow::TitleBarHeight(), width = kxgui::TextWidth("Options");
  ASSERT_GT(width, 20);
  auto whiteIn = [&](int x0, int x1) {
    int n = 0;
    for (int y = 170 - bar; y < 170 - 2; ++y)  // inside the bar, below the white border
      for (int x = x0; x < x1; ++x) n += ReadPixel(x, y).r > 230 && ReadPixel(x, y).b > 230;
    return n;
  };
  EXPECT_GT(whiteIn(20 + 22, 20 + 22 + width), 20);
  EXPECT_EQ(whiteIn(20 + 22 + width + 4, 20 + 200), 0);
  kxgui::SetGuiFont(nullptr);
  kxgl::SetFont(nullptr);
  kxgl::FreeFont(&font);
}

TEST_F(DrawTest, DisplayAlphaFadesTheWindowBody) {
  kxwindow* window = new kxwindow;
  window->X = 20, window->Y = 20, window->W = 200, window->H = 150;
  screen->AppendChild(window);
  kxgui::Display->SetAlpha(0.5f);
  kxgui::Frame();
  kxgui::Display->SetAlpha(1.0f);
  EXPECT_NEAR(ReadPixel(70, 60).r, 102, 3);  // half of entry 10 over black
}

// The quality setting is for sceneries and aircraft: the icon sheets, the
// pointer and a button's picture upload at their full size at "Low".
TEST_F(DrawTest, LowTextureQualityLeavesTheGuiPicturesAtFullSize) {
  ASSERT_EQ(kxgui::LoadIcons(), 1);
  ASSERT_EQ(kxgl::LoadMouse("texture/mouse.kxt"), 1);
  kxscript::Execute("cd /Display/Invisible/; Append kxbuttontexture Pic; Pic/Texture( \"aircraft/trainer/thumb.bmp\" )");
  auto* button = dynamic_cast<kxbuttontexture*>(kxnode::Find("/Display/Invisible/Pic/"));
  ASSERT_TRUE(button && button->texture);
  // The pointer's entry, shared by path.
  kxtexture* pointer = kxgl::LoadTexture("texture/mouse.kxt");
  ASSERT_NE(pointer, nullptr);
  kxgl::textureQuality = kxgl::kQualityLow;
  for (kxtexture* t : {kxgui::IconSheet(0), kxgui::IconSheet(1), pointer, button->texture}) {
    EXPECT_EQ(kxgl::UploadTexture(t), 1) << t->name;
    GLint width = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
    EXPECT_EQ(width, t->width) << t->name;
  }
  kxgl::textureQuality = kxgl::kQualityHigh;
  kxgl::FreeTexture(pointer);
  delete button;
}

}  // namespace
