// The SDL implementation of windowbackend: one OpenGL window with a
// compatibility context, and the borderless start-up splash.
#include <SDL2/SDL.h>

#include <string>
#include <vector>

#include "platform/gl_context.h"
#include "platform/loaded_modules.h"
#include "platform/log.h"
#include "platform/splash_bitmap.h"
#include "platform/window.h"

namespace kxsystem {
namespace {

constexpr int kColourBits = 8;
constexpr int kDepthBits = 24;
constexpr int kStencilBits = 8;

// Video drivers that show nothing on a screen.
bool IsWindowless(const char* driver) {
  return SDL_strcmp(driver, "offscreen") == 0 || SDL_strcmp(driver, "dummy") == 0 ||
         SDL_strcmp(driver, "evdev") == 0;
}

class SdlBackend final : public windowbackend {
 public:
  int Start() override {
    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS | SDL_INIT_JOYSTICK) != 0) {
      Log("kxsystem:  init video=fail (%s)\n", SDL_GetError());
      return 0;
    }
    // Without a window system SDL falls back to drivers that draw into
    // memory: the program would run unseen until killed. Those drivers are
    // taken only when SDL_VIDEODRIVER asks for them by name; the caller
    // says that no window system was found.
    const char* driver = SDL_GetCurrentVideoDriver();
    if (driver && IsWindowless(driver) && !SDL_getenv("SDL_VIDEODRIVER")) {
      SDL_Quit();
      return 0;
    }
    started_ = 1;
    return 1;
  }

  void Stop() override {
    if (!started_) return;
    DestroySplash();
    Destroy();
    SDL_Quit();
    started_ = 0;
  }

  void FillDisplayModes(kxdisplaysettings& display) override {
    display.modes.clear();
    int count = SDL_GetNumDisplayModes(0);
    for (int i = 0; i < count; ++i) {
      SDL_DisplayMode mode{};
      if (SDL_GetDisplayMode(0, i, &mode) != 0) continue;
      display.modes.push_back({mode.w, mode.h, static_cast<int>(SDL_BITSPERPIXEL(mode.format)), mode.refresh_rate});
    }
    SDL_DisplayMode desktop{};
    if (SDL_GetDesktopDisplayMode(0, &desktop) == 0) {
      display.desktop_width = desktop.w;
      display.desktop_height = desktop.h;
      display.desktop_frequency = desktop.refresh_rate;
    }
    Log("kxsystem:  %d display modes, desktop %dx%d %d Hz\n", static_cast<int>(display.modes.size()),
        display.desktop_width, display.desktop_height, display.desktop_frequency);
  }

  int ShowSplash(const char* bitmapPath) override {
    DestroySplash();
    // SDL sizes its surface from the header alone; the bytes it gets have
    // passed the picture size rule.
    std::vector<uint8_t> bytes;
    if (!ReadSplashBitmap(bitmapPath, &bytes)) return 0;
    SDL_Surface* picture = SDL_LoadBMP_RW(SDL_RWFromConstMem(bytes.data(), static_cast<int>(bytes.size())), 1);
    if (!picture) {
      Log("kxsystem:  %s: %s; no splash\n", bitmapPath, SDL_GetError());
      return 0;
    }
    // A plain surface: an accelerated one would bring a GL context of its own.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    splash_ = SDL_CreateWindow("", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, picture->w, picture->h,
                               SDL_WINDOW_BORDERLESS);
    if (splash_) {
      SDL_Surface* surface = SDL_GetWindowSurface(splash_);
      if (surface) SDL_BlitSurface(picture, nullptr, surface, nullptr);
      SDL_UpdateWindowSurface(splash_);
      SDL_PumpEvents();
    }
    SDL_FreeSurface(picture);
    return splash_ ? 1 : 0;
  }

  void DestroySplash() override {
    if (!splash_) return;
    SDL_DestroyWindow(splash_);
    splash_ = nullptr;
    // Whatever the splash's surface used, the program's context stays current.
    if (context_) SDL_GL_MakeCurrent(window_, context_);
  }

  int HasSplash() override { return splash_ ? 1 : 0; }

  int Create(kxdisplaysettings& display) override {
    Destroy();
    int width = display.window_width > 0 ? display.window_width : kFallbackWidth;
    int height = display.window_height > 0 ? display.window_height : kFallbackHeight;
    Log("kxsystem:  create window %dx%d%s=", width, height, display.window_fullscreen ? " full screen" : "");
    // The menu draws shadows through the stencil; a context without one
    // still runs, with plainer shadows.
    const int stencilChoices[] = {kStencilBits, 0};
    const std::vector<std::string> before = LoadedModules();
    for (int stencil : stencilChoices) {
      SetAttributes(stencil);
      Uint32 flags = SDL_WINDOW_OPENGL;
      if (display.start_flag2) flags |= SDL_WINDOW_ALWAYS_ON_TOP;
      int x = display.start_flag1 ? SDL_WINDOWPOS_CENTERED : display.second_x;
      int y = display.start_flag1 ? SDL_WINDOWPOS_CENTERED : display.second_y;
      window_ = SDL_CreateWindow(display.title.c_str(), x, y, width, height, flags);
      if (!window_) continue;
      context_ = SDL_GL_CreateContext(window_);
      if (context_) break;
      SDL_DestroyWindow(window_);
      window_ = nullptr;
    }
    if (!context_) {
      Log("fail\n");
      Log("gl:  create context=fail\n");
      return 0;
    }
    SDL_GL_MakeCurrent(window_, context_);
    /* The OpenGL driver the context loaded holds some blocks only from its
       own data. When the window system unloads it (at the last context's
       end, or at exit), those blocks are reachable from nowhere, and the
       leak check of the sanitized builds reports them from a module it can
       no longer name: no suppression can match, and every run ends in a
       report. Kept loaded, they stay reachable and a leak of our own still
       shows. Unloading gains nothing at exit, and a window made again finds
       the driver there. */
    KeepModulesLoadedSince(before);
    if (display.window_fullscreen) EnterFullScreen(display, width, height);
    SDL_ShowCursor(SDL_DISABLE);
    SDL_PumpEvents();
    SDL_GL_GetDrawableSize(window_, &display.window_width, &display.window_height);
    UpdateAspect(display);
    if (!display.window_fullscreen) {
      SDL_GetWindowPosition(window_, &display.second_x, &display.second_y);
      SDL_GetWindowSize(window_, &display.second_width, &display.second_height);
    }
    everFocused_ = 0;
    SetHasContext(1);
    Log("ok\n");
    return 1;
  }

  void Destroy() override {
    SetHasContext(0);
    if (context_) SDL_GL_DeleteContext(context_);
    if (window_) SDL_DestroyWindow(window_);
    context_ = nullptr;
    window_ = nullptr;
  }

  int NextEvent(int waitMs, kxplatformevent* out, int outCount, int* count) override {
    *count = 0;
    SDL_Event event;
    int got = waitMs > 0 ? SDL_WaitEventTimeout(&event, waitMs) : SDL_PollEvent(&event);
    if (!got) return 0;
    Uint32 mainId = window_ ? SDL_GetWindowID(window_) : 0;
    if (event.type == SDL_WINDOWEVENT) {
      if (event.window.windowID != mainId) return 1;  // the splash
      if (event.window.event == SDL_WINDOWEVENT_FOCUS_GAINED) everFocused_ = 1;
      if (event.window.event == SDL_WINDOWEVENT_CLOSE) {
        // With the splash still open closing the main window sends no quit.
        out[0] = {kxplatformevent::kQuit, 0, 0};
        *count = outCount > 0 ? 1 : 0;
        return 1;
      }
    }
    int drawableWidth = 0, drawableHeight = 0, windowWidth = 0, windowHeight = 0;
    if (window_) {
      SDL_GL_GetDrawableSize(window_, &drawableWidth, &drawableHeight);
      SDL_GetWindowSize(window_, &windowWidth, &windowHeight);
    }
    *count = TranslateEvent(event, drawableWidth, drawableHeight, windowWidth, windowHeight, out, outCount);
    return 1;
  }

  int IsActive() override {
    if (!window_) return 0;
    Uint32 flags = SDL_GetWindowFlags(window_);
    if (!(flags & SDL_WINDOW_SHOWN) || (flags & SDL_WINDOW_MINIMIZED)) return 0;
    return (flags & SDL_WINDOW_INPUT_FOCUS) || !everFocused_ ? 1 : 0;
  }

  void SwapBuffers() override {
    if (window_) SDL_GL_SwapWindow(window_);
  }

  int SetSwapInterval(int value) override {
    if (!context_) return 0;
    return SDL_GL_SetSwapInterval(value) == 0 ? 1 : 0;
  }

 private:
  static void SetAttributes(int stencil) {
    SDL_GL_ResetAttributes();
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, kColourBits);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, kColourBits);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, kColourBits);
    SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, kColourBits);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, kDepthBits);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, stencil);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
  }

  void EnterFullScreen(kxdisplaysettings& display, int width, int height) {
    SDL_DisplayMode wanted{};
    wanted.w = width;
    wanted.h = height;
    wanted.refresh_rate = display.monitor_frequency > 0 ? display.monitor_frequency : display.desktop_frequency;
    SDL_DisplayMode closest{};
    if (SDL_GetClosestDisplayMode(0, &wanted, &closest)) SDL_SetWindowDisplayMode(window_, &closest);
    if (SDL_SetWindowFullscreen(window_, SDL_WINDOW_FULLSCREEN) != 0)
      Log("kxsystem:  full screen %dx%d=fail, windowed\n", width, height);
  }

  SDL_Window* window_ = nullptr;
  SDL_Window* splash_ = nullptr;
  SDL_GLContext context_ = nullptr;
  int everFocused_ = 0;
  int started_ = 0;
};

}  // namespace

windowbackend* SdlWindowBackend() {
  static SdlBackend backend;
  return &backend;
}

}  // namespace kxsystem
