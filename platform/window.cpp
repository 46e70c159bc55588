#include "platform/window.h"

#include <algorithm>
#include <climits>

#include "platform/log.h"

kxdisplaysettings kxsystem::display;

namespace kxsystem {
namespace {

windowbackend* current = nullptr;

}  // namespace

void SetWindowBackend(windowbackend* backend) { current = backend; }

windowbackend* WindowBackend() { return current ? current : SdlWindowBackend(); }

void SwapBuffers() { WindowBackend()->SwapBuffers(); }

void CallHook(int value) { WindowBackend()->SetSwapInterval(value); }

void DestroySplash() { WindowBackend()->DestroySplash(); }

const kxdisplaymode* GetDisplayMode(int number) {
  if (number < 1 || number > static_cast<int>(display.modes.size())) return nullptr;
  return &display.modes[static_cast<size_t>(number - 1)];
}

int FitWindowSize(kxdisplaysettings& settings) {
  int high[2] = {INT_MAX, INT_MAX};
  if (!settings.modes.empty()) {
    high[0] = high[1] = 1;
    for (const kxdisplaymode& m : settings.modes) {
      high[0] = std::max(high[0], m.width);
      high[1] = std::max(high[1], m.height);
    }
  }
  int* size[2] = {&settings.window_width, &settings.window_height};
  const int fallback[2] = {kFallbackWidth, kFallbackHeight};
  const int was[2] = {*size[0], *size[1]};
  for (int k = 0; k < 2; ++k) *size[k] = *size[k] < 1 ? fallback[k] : std::min(*size[k], high[k]);
  if (was[0] == *size[0] && was[1] == *size[1]) return 0;
  Log("kxsystem:  window size %dx%d does not fit the display's %dx%d; %dx%d taken\n", was[0], was[1], high[0],
      high[1], *size[0], *size[1]);
  return 1;
}

int CreateWindowOrFallback(windowbackend* backend, kxdisplaysettings& settings) {
  FitWindowSize(settings);
  if (backend->Create(settings)) return 1;
  if (settings.window_width == kFallbackWidth && settings.window_height == kFallbackHeight &&
      !settings.window_fullscreen)
    return 0;
  Log("kxsystem:  window %dx%d%s cannot be made; %dx%d windowed instead\n", settings.window_width,
      settings.window_height, settings.window_fullscreen ? " full screen" : "", kFallbackWidth, kFallbackHeight);
  settings.window_width = kFallbackWidth;
  settings.window_height = kFallbackHeight;
  settings.window_fullscreen = 0;
  return backend->Create(settings);
}

void UpdateAspect(kxdisplaysettings& settings) {
  settings.aspect = settings.window_height > 0
                        ? static_cast<float>(settings.window_width) / static_cast<float>(settings.window_height)
                        : 1.0f;
}

}  // namespace kxsystem
