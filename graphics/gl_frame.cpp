#include "graphics/gl_frame.h"

#include <GL/gl.h>

#include <algorithm>

#include "platform/gl_context.h"
#include "platform/window.h"

namespace kxgl {
namespace {

struct Rect {
  int x, y, w, h;
};

Rect stack[kScissorDepth];
int depth = 0;     // rectangles pushed, may exceed kScissorDepth
int stored = 0;    // rectangles held in the stack

Rect Intersect(const Rect& a, const Rect& b) {
  int x0 = std::max(a.x, b.x), y0 = std::max(a.y, b.y);
  int x1 = std::min(a.x + a.w, b.x + b.w), y1 = std::min(a.y + a.h, b.y + b.h);
  return {x0, y0, std::max(0, x1 - x0), std::max(0, y1 - y0)};
}

void Apply() {
  if (stored == 0) {
    glDisable(GL_SCISSOR_TEST);
    return;
  }
  const Rect& r = stack[stored - 1];
  glScissor(r.x, r.y, r.w, r.h);
  glEnable(GL_SCISSOR_TEST);
}

}  // namespace

int HasContext() { return kxsystem::HasContext(); }

int ScissorOn(int x, int y, int w, int h) {
  Rect r{x, y, std::max(0, w), std::max(0, h)};
  if (stored > 0) r = Intersect(r, stack[stored - 1]);
  if (stored < kScissorDepth) {
    stack[stored++] = r;
  } else {
    stack[stored - 1] = r;  // too deep: the innermost only narrows
  }
  ++depth;
  if (!HasContext()) return 0;
  Apply();
  return 1;
}

int ScissorOff() {
  if (depth > 0) --depth;
  if (depth < stored) stored = depth;
  if (depth == 0) stored = 0;
  if (!HasContext()) return 0;
  Apply();
  return 1;
}

int SwapBuffers() {
  if (!HasContext()) return 0;
  kxsystem::SwapBuffers();
  return 1;
}

void PixelProjection(double width, double height, double nearZ, double farZ) {
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glOrtho(0, width, 0, height, nearZ, farZ);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
}

}  // namespace kxgl
