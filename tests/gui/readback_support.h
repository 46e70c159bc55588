// Shared by the GUI tests that draw under a real OpenGL context: preparing
// the process for the GL driver, and reading pixels back from the frame.
#pragma once

#include <GL/gl.h>
#include <dlfcn.h>

#include <cstdlib>

namespace kxtest {

struct pixel {
  int r, g, b;
};

// Call before the first window is made.
inline void PrepareGlDriver() {
  // No session bus: SDL would connect to one and keep its buffers to exit.
  setenv("DBUS_SESSION_BUS_ADDRESS", "disabled:", 1);
  // Keep the GL driver mapped after the display closes, so that leak
  // reports can name (and suppress) what the driver keeps for itself.
  dlopen("libGLX_mesa.so.0", RTLD_NOW | RTLD_NODELETE);
  dlopen("/usr/lib/x86_64-linux-gnu/dri/swrast_dri.so", RTLD_NOW | RTLD_NODELETE);
}

// The back buffer's pixel at (x, y), from the bottom left.
inline pixel At(int x, int y) {
  unsigned char p[4] = {0, 0, 0, 0};
  glReadBuffer(GL_BACK);
  glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p);
  return {p[0], p[1], p[2]};
}

}  // namespace kxtest
