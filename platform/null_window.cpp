#include "platform/null_window.h"

#include "platform/files.h"

int nullwindowbackend::Start() {
  ++starts;
  return 1;
}

void nullwindowbackend::Stop() {
  ++stops;
  splash = 0;
}

void nullwindowbackend::FillDisplayModes(kxdisplaysettings& display) { display.modes = modes; }

int nullwindowbackend::ShowSplash(const char* bitmapPath) {
  splash = kxsystem::GetFileSize(bitmapPath) > 0 ? 1 : 0;
  return splash;
}

void nullwindowbackend::DestroySplash() { splash = 0; }

int nullwindowbackend::HasSplash() { return splash; }

int nullwindowbackend::Create(kxdisplaysettings& display) {
  if (fail_create) return 0;
  if ((largest_width > 0 && display.window_width > largest_width) ||
      (largest_height > 0 && display.window_height > largest_height))
    return 0;
  ++creations;
  if (client_width > 0) display.window_width = client_width;
  if (client_height > 0) display.window_height = client_height;
  kxsystem::UpdateAspect(display);
  return 1;
}

void nullwindowbackend::Destroy() { ++destructions; }

int nullwindowbackend::NextEvent(int, kxplatformevent* out, int outCount, int* count) {
  *count = 0;
  if (events.empty()) return 0;
  if (outCount > 0) {
    out[0] = events.front();
    *count = 1;
  }
  events.pop_front();
  return 1;
}

int nullwindowbackend::IsActive() { return active; }

void nullwindowbackend::SwapBuffers() { ++swaps; }

int nullwindowbackend::SetSwapInterval(int value) {
  swap_interval = value;
  return 1;
}
