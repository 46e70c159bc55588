#include "sim/views/flat_draw.h"

#include <GL/gl.h>

#include "graphics/texture_gl.h"

namespace sim {

void DrawPicture(kxtexture* texture, float x0, float y0, float x1, float y1) {
  if (!kxgl::BindTexture(texture)) return;
  glBegin(GL_QUADS);
  glTexCoord2f(0, 1), glVertex2f(x0, y0);
  glTexCoord2f(1, 1), glVertex2f(x1, y0);
  glTexCoord2f(1, 0), glVertex2f(x1, y1);
  glTexCoord2f(0, 0), glVertex2f(x0, y1);
  glEnd();
}

void DrawFlatRect(float x0, float y0, float x1, float y1) {
  glDisable(GL_TEXTURE_2D);
  glRectf(x0, y0, x1, y1);
}

}  // namespace sim
