#include <GL/gl.h>

#include "graphics/draw.h"
#include "graphics/gl_frame.h"
#include "graphics/texture_gl.h"
#include "graphics/texture_table.h"
#include "platform/events.h"

namespace kxgl {
namespace {
kxtexture* pointerTexture = nullptr;
}

int LoadMouse(const char* path) {
  // The old picture goes first: after the table was cleared its entry may
  // be the very one the new load takes, and freeing it afterwards would
  // release the new picture.
  FreeTexture(pointerTexture);
  pointerTexture = LoadTexture(path);
  return pointerTexture ? 1 : 0;
}

int DrawMouseAt(int x, int y) {
  if (!pointerTexture || !HasContext()) return 0;
  glEnable(GL_TEXTURE_2D);
  if (!BindTexture(pointerTexture)) return 0;
  float x0 = static_cast<float>(x), y1 = static_cast<float>(y);
  float x1 = x0 + pointerTexture->width, y0 = y1 - pointerTexture->height;
  glBegin(GL_QUADS);
  glTexCoord2f(0, 1);
  glVertex2f(x0, y0);
  glTexCoord2f(1, 1);
  glVertex2f(x1, y0);
  glTexCoord2f(1, 0);
  glVertex2f(x1, y1);
  glTexCoord2f(0, 0);
  glVertex2f(x0, y1);
  glEnd();
  return 1;
}

// The pointer's pixel is the hot spot: the top-left texel covers it.
int DrawMouse() { return DrawMouseAt(input::pointer.x, input::pointer.y + 1); }

}  // namespace kxgl
