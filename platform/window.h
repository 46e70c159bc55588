// The program's window: the display settings the settings file binds, the
// display modes found at start, the start-up splash, presenting frames and
// the swap interval. The window system sits behind windowbackend so the main
// loop runs the same against SDL and against the scripted null backend.
#pragma once

#include <string>
#include <vector>

#include "platform/events.h"

struct kxdisplaymode {
  int width = 0;    // pixels
  int height = 0;   // pixels
  int depth = 0;    // bits per pixel
  int refresh = 0;  // Hz; 0 when unknown
};

struct kxdisplaysettings {
  int start_flag1 = 1;  // centre the window
  int start_flag2 = 0;  // keep the window above others
  std::string title = "Skyvane Gold Edition";
  int window_width = 640;    // client pixels; the real size after each creation
  int window_height = 480;
  int window_fullscreen = 0;
  int monitor_frequency = 0;  // Hz for full screen; 0 takes the desktop's
  // Windowed placement, kept for the return from full screen.
  int second_x = 0, second_y = 0;
  int second_width = 800, second_height = 600;
  int desktop_width = 0, desktop_height = 0;
  int desktop_frequency = 0;  // Hz
  float aspect = 4.0f / 3.0f;  // window_width / window_height
  std::vector<kxdisplaymode> modes;  // mode n is modes[n - 1]
};

// What the main loop needs of a window system.
class windowbackend {
 public:
  virtual ~windowbackend() = default;
  virtual int Start() = 0;  // 1 when the window system can be used
  virtual void Stop() = 0;  // also restores the desktop's display mode
  virtual void FillDisplayModes(kxdisplaysettings& display) = 0;
  virtual int ShowSplash(const char* bitmapPath) = 0;
  virtual void DestroySplash() = 0;
  virtual int HasSplash() = 0;
  // Creates the window and its current GL context; writes the real client
  // size back into display. 0 on failure.
  virtual int Create(kxdisplaysettings& display) = 0;
  virtual void Destroy() = 0;
  // Takes one window event, waiting up to waitMs (0: only what is queued).
  // 1 when one was taken; *count translated events were written to out.
  virtual int NextEvent(int waitMs, kxplatformevent* out, int outCount, int* count) = 0;
  // Shown, not minimised and focused (or never focused yet).
  virtual int IsActive() = 0;
  virtual void SwapBuffers() = 0;
  virtual int SetSwapInterval(int value) = 0;
};

namespace kxsystem {

extern kxdisplaysettings display;

// The backend Run and the functions below use; null selects SDL's.
void SetWindowBackend(windowbackend* backend);
windowbackend* WindowBackend();
windowbackend* SdlWindowBackend();

// Presents the back buffer.
void SwapBuffers();
// Sets the swap interval (vertical sync); ignored when it cannot be set.
void CallHook(int value);
// Closes the start-up splash; nothing when none is shown.
void DestroySplash();
// Mode n of the list found at start (from 1), or null.
const kxdisplaymode* GetDisplayMode(int number);
// Recomputes aspect from the window size.
void UpdateAspect(kxdisplaysettings& settings);

// The size the program falls back to when a window cannot be made.
constexpr int kFallbackWidth = 640, kFallbackHeight = 480;  // pixels
// Holds the window size within the display's modes (no larger than the
// largest), with a log line when it changes; a size below one pixel becomes
// the fallback size. 1 when it changed.
int FitWindowSize(kxdisplaysettings& settings);
// Makes the window: the size fitted first, and when that size cannot be
// made, the fallback size windowed, each failure with its log line. On
// success the settings hold what was made, so a size that failed is never
// kept. 1, or 0 when no window can be made at all.
int CreateWindowOrFallback(windowbackend* backend, kxdisplaysettings& settings);

}  // namespace kxsystem
