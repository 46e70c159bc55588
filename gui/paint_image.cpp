#include "gui/paint_image.h"

#include <GL/gl.h>

#include "graphics/gl_frame.h"
#include "graphics/texture_table.h"
#include "gui/paint.h"

namespace kxgui {

namespace {
constexpr float kCentre = 0.5f;  // pixel centre
constexpr float kQuarterTurn = 90.0f;  // degrees
}  // namespace

void TexturedRect(kxtexture* texture, int x0, int y0, int x1, int y1, const texrect& tex) {
  if (!texture || !kxgl::HasContext()) return;
  if (!texture->glName || !texture->uploaded) kxgl::UploadTexture(texture);
  if (!texture->glName) return;
  glEnable(GL_TEXTURE_2D);
  glBindTexture(GL_TEXTURE_2D, texture->glName);
  glBegin(GL_QUADS);
  glTexCoord2f(tex.s0, tex.t0);
  glVertex2i(x0, y0);
  glTexCoord2f(tex.s1, tex.t0);
  glVertex2i(x1, y0);
  glTexCoord2f(tex.s1, tex.t1);
  glVertex2i(x1, y1);
  glTexCoord2f(tex.s0, tex.t1);
  glVertex2i(x0, y1);
  glEnd();
  glDisable(GL_TEXTURE_2D);
}

void DrawPixels(int x, int y, int w, int h, const float* rgb) {
  if (!rgb || w <= 0 || h <= 0 || !kxgl::HasContext()) return;
  glRasterPos2i(x, y);
  glDrawPixels(w, h, GL_RGB, GL_FLOAT, rgb);
}

void DrawPoint(int x, int y) {
  if (!kxgl::HasContext()) return;
  glBegin(GL_POINTS);
  glVertex2f(static_cast<float>(x) + kCentre, static_cast<float>(y) + kCentre);
  glEnd();
}

void DrawTextUpwards(int x, int y, const char* text) {
  if (!kxgl::HasContext()) return;
  glMatrixMode(GL_MODELVIEW);
  glPushMatrix();
  // The text's lower-left corner goes to (x + L, y); turning about it puts
  // the line box between x and x + L.
  glTranslatef(static_cast<float>(x + LineHeight()), static_cast<float>(y), 0.0f);
  glRotatef(kQuarterTurn, 0.0f, 0.0f, 1.0f);
  DrawText(0, 0, text);
  glPopMatrix();
}

void ClipOn(int x, int y, int w, int h) { kxgl::ScissorOn(x, y, w, h); }
void ClipOff() { kxgl::ScissorOff(); }

}  // namespace kxgui
