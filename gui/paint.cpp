#include "gui/paint.h"

#include <GL/gl.h>

#include "graphics/draw.h"
#include "graphics/font.h"
#include "graphics/gl_frame.h"
#include "gui/gui_state.h"

namespace kxgui {

namespace {
// Pixel centres, so lines and fills land on exact pixels.
constexpr float kCentre = 0.5f;
}  // namespace

void SetColor(const kxcolor4& c) { SetColor(c.r, c.g, c.b, c.a); }

void SetColor(float r, float g, float b, float a) {
  if (kxgl::HasContext()) glColor4f(r, g, b, a);
}

void SetPaletteColor(int entry) { SetColor(Palette(entry)); }

void FillRect(int x0, int y0, int x1, int y1) {
  if (!kxgl::HasContext()) return;
  glBegin(GL_QUADS);
  glVertex2i(x0, y0);
  glVertex2i(x1, y0);
  glVertex2i(x1, y1);
  glVertex2i(x0, y1);
  glEnd();
}

void DrawLine(int x0, int y0, int x1, int y1) {
  if (!kxgl::HasContext()) return;
  glBegin(GL_LINES);
  glVertex2f(static_cast<float>(x0) + kCentre, static_cast<float>(y0) + kCentre);
  glVertex2f(static_cast<float>(x1) + kCentre, static_cast<float>(y1) + kCentre);
  glEnd();
}

void BevelEdges(int x0, int y0, int x1, int y1, const kxcolor4& light, const kxcolor4& dark) {
  SetColor(light);
  DrawLine(x0, y0, x0, y1 - 1);
  DrawLine(x0, y1 - 1, x1 - 1, y1 - 1);
  SetColor(dark);
  DrawLine(x0, y0, x1 - 1, y0);
  DrawLine(x1 - 1, y0, x1 - 1, y1 - 1);
}

void GradientRect(int x0, int y0, int x1, int y1, const kxcolor4& left, const kxcolor4& right) {
  if (!kxgl::HasContext()) return;
  glBegin(GL_QUADS);
  glColor4f(left.r, left.g, left.b, left.a);
  glVertex2i(x0, y0);
  glColor4f(right.r, right.g, right.b, right.a);
  glVertex2i(x1, y0);
  glVertex2i(x1, y1);
  glColor4f(left.r, left.g, left.b, left.a);
  glVertex2i(x0, y1);
  glEnd();
}

int LineHeight() { return kxgl::currentFont ? kxgl::currentFont->lineHeight : 0; }

int TextWidth(const char* text) { return kxgl::TextWidth(text ? text : ""); }

std::string Shortened(const char* text, int width) {
  static constexpr char kMore[] = "...";
  std::string out = text ? text : "";
  if (TextWidth(out.c_str()) <= width) return out;
  while (!out.empty() && TextWidth((out + kMore).c_str()) > width) out.pop_back();
  return out + kMore;
}

void DrawText(int x, int y, const char* text) {
  if (!text || !*text || !kxgl::HasContext()) return;
  glEnable(GL_TEXTURE_2D);
  kxgl::DrawText(x, y, text);
  glDisable(GL_TEXTURE_2D);
}

}  // namespace kxgui
