#include "platform/window.h"

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

void UpdateAspect(kxdisplaysettings& settings) {
  settings.aspect = settings.window_height > 0
                        ? static_cast<float>(settings.window_width) / static_cast<float>(settings.window_height)
                        : 1.0f;
}

}  // namespace kxsystem
