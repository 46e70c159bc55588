#include <GL/gl.h>

#include "graphics/draw.h"
#include "graphics/font.h"
#include "graphics/gl_frame.h"
#include "graphics/texture_gl.h"

namespace kxgl {

int DrawText(int x, int y, const char* text) {
  kxglfont* font = currentFont;
  if (!font || !text || !font->texture || !HasContext()) return 0;
  if (!BindTexture(font->texture)) return 0;
  float sx = 1.0f / font->texWidth, sy = 1.0f / font->texHeight;
  int penX = x, lineY = y;
  glBegin(GL_QUADS);
  for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p; ++p) {
    if (*p == '\n') {
      penX = x;
      lineY -= font->lineHeight;
      continue;
    }
    const kxglyph& g = font->glyphs[*p];
    if (g.w > 0 && g.h > 0) {
      float x0 = static_cast<float>(penX + g.xoff), y0 = static_cast<float>(lineY + g.yoff);
      float x1 = x0 + g.w, y1 = y0 + g.h;
      // Picture rows run top-down: the glyph's top row is its smaller t.
      float s0 = g.x * sx, s1 = (g.x + g.w) * sx, tTop = g.y * sy, tBottom = (g.y + g.h) * sy;
      glTexCoord2f(s0, tBottom);
      glVertex2f(x0, y0);
      glTexCoord2f(s1, tBottom);
      glVertex2f(x1, y0);
      glTexCoord2f(s1, tTop);
      glVertex2f(x1, y1);
      glTexCoord2f(s0, tTop);
      glVertex2f(x0, y1);
    }
    penX += g.advance;
  }
  glEnd();
  return 1;
}

}  // namespace kxgl
