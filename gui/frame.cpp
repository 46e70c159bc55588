// The GUI's frame and draw passes: 2-D OpenGL state around the drawing of
// the visible screen.
#include <GL/gl.h>

#include "graphics/font.h"
#include "graphics/gl_frame.h"
#include "graphics/texture_table.h"
#include "gui/display.h"
#include "gui/graphic.h"
#include "gui/gui.h"
#include "gui/icons.h"
#include "platform/window.h"

namespace kxgui {

namespace {

kxglfont* guiFont = nullptr;

// The 2-D projection of the frame pass puts the scene between these depths.
constexpr double kNear = 1.0, kFar = 3.0, kDepth = -2.0;

void UploadGuiTextures() {
  for (int i = 0; i < 2; ++i) {
    if (kxtexture* sheet = IconSheet(i)) kxgl::UploadTexture(sheet);
  }
  if (guiFont && guiFont->lineHeight > 0) {
    if (guiFont->texture) kxgl::UploadTexture(guiFont->texture);
    kxgl::SetFont(guiFont);
  }
}

}  // namespace

void SetGuiFont(kxglfont* font) { guiFont = font; }
kxglfont* GuiFont() { return guiFont; }

void Frame() {
  if (!Visible) return;
  Visible->X = 0;
  Visible->Y = 0;
  if (kxsystem::display.window_width > 0 && kxsystem::display.window_height > 0) {
    Visible->W = kxsystem::display.window_width;
    Visible->H = kxsystem::display.window_height;
  }
  // The hover pass clamps the pointer to "/DPY": left at 640 x 480, it would
  // pin the pointer on larger windows.
  if (Display) {
    Display->W = Visible->W;
    Display->H = Visible->H;
  }
  if (kxgl::HasContext()) {
    glViewport(0, 0, Visible->W, Visible->H);
    kxgl::PixelProjection(Visible->W, Visible->H, kNear, kFar);
    glMatrixMode(GL_PROJECTION);
    glTranslated(0, 0, kDepth);
    glMatrixMode(GL_MODELVIEW);
    glDisable(GL_DEPTH_TEST);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glEnable(GL_BLEND);
    UploadGuiTextures();
  }
  if (Display) Display->Tick();
  if (!Visible) return;
  Visible->Update();
  if (Visible && kxgl::HasContext()) Visible->Draw(0, 0);
}

void Draw() {
  if (!Visible || !kxgl::HasContext()) return;
  glPushAttrib(GL_ALL_ATTRIB_BITS);
  glViewport(0, 0, Visible->W, Visible->H);
  kxgl::PixelProjection(Visible->W, Visible->H, -1, 1);
  glDisable(GL_LIGHTING);
  glDisable(GL_DEPTH_TEST);
  glDisable(GL_TEXTURE_2D);
  glDisable(GL_CULL_FACE);
  Visible->Draw(0, 0);
  glPopAttrib();
}

}  // namespace kxgui
