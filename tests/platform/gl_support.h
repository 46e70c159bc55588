// Shared by the tests that draw under a real OpenGL context on the display
// they run under (Xvfb with Mesa's software renderer): preparing the process
// for the GL driver, checking for a display, and reading pixels back.
#pragma once

#include <GL/gl.h>
#include <SDL2/SDL.h>
#include <dlfcn.h>

#include <cstdlib>

namespace kxtest {

struct pixel {
  unsigned char r, g, b, a;
};

// Call before the first window is made.
inline void PrepareGlDriver() {
  // The program takes a video driver that draws into memory only when asked
  // by name; the tests ask, so that a display that refuses a connection
  // under load (many test processes at once) still gives them a context.
  setenv("SDL_VIDEODRIVER", "x11,offscreen", 0);
  // No session bus: SDL would connect to one and keep its buffers to exit.
  setenv("DBUS_SESSION_BUS_ADDRESS", "disabled:", 1);
  // Rasterise on this thread: the software driver's worker threads keep
  // blocks the leak checker cannot trace to a library.
  setenv("LP_NUM_THREADS", "0", 0);
  // Keep the driver and the X libraries SDL opens itself mapped after the
  // display closes, so leak reports can name (and suppress) what they keep.
  for (const char* library : {"libGLX_mesa.so.0", "/usr/lib/x86_64-linux-gnu/dri/swrast_dri.so", "libX11.so.6",
                              "libXext.so.6", "libXcursor.so.1", "libXinerama.so.1", "libXi.so.6", "libXrandr.so.2",
                              "libXss.so.1", "libXfixes.so.3", "libXrender.so.1", "libX11-xcb.so.1", "libGL.so.1",
                              "libudev.so.1"}) {
    dlopen(library, RTLD_NOW | RTLD_NODELETE);
  }
}

// Prepares the driver; whether SDL's video starts on this display.
inline bool DisplayAvailable() {
  // Without a display SDL's failed start leaves blocks of unloaded libraries behind.
  if (!std::getenv("DISPLAY")) return false;
  PrepareGlDriver();
  if (SDL_Init(SDL_INIT_VIDEO) != 0) return false;
  SDL_Quit();
  return true;
}

// A hidden window with a current compatibility context, for tests that draw
// without taking the input focus from other windows on the display. Open is
// false without a display or a context.
struct hiddenglwindow {
  SDL_Window* window = nullptr;
  SDL_GLContext context = nullptr;
  bool Open(const char* title, int width, int height) {
    PrepareGlDriver();
    if (SDL_Init(SDL_INIT_VIDEO) != 0) return false;
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
    SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, 8);  // as the program's window: drawing may keep the frame's alpha
    window = SDL_CreateWindow(title, 0, 0, width, height, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
    if (window) context = SDL_GL_CreateContext(window);
    return context && SDL_GL_MakeCurrent(window, context) == 0;
  }
  void Close() {
    if (context) SDL_GL_DeleteContext(context);
    if (window) SDL_DestroyWindow(window);
    context = nullptr;
    window = nullptr;
    SDL_Quit();
  }
};

// The current read buffer's pixel at (x, y), from the bottom left.
inline pixel ReadPixel(int x, int y) {
  pixel p{};
  glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, &p);
  return p;
}

}  // namespace kxtest
