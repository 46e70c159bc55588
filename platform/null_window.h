// A window backend without a window system: events come from a script, the
// window is "created" at the requested size, and every call is counted. The
// main loop runs against it in tests and on machines without a display.
#pragma once

#include <deque>

#include "platform/window.h"

class nullwindowbackend : public windowbackend {
 public:
  std::deque<kxplatformevent> events;  // handed out one per NextEvent
  int active = 1;
  int fail_create = 0;     // Create fails while set
  int largest_width = 0, largest_height = 0;  // Create fails for a larger size; 0: any size
  int starts = 0, stops = 0, creations = 0, destructions = 0, swaps = 0;
  int swap_interval = -1;  // last value set
  int splash = 0;
  int client_width = 0, client_height = 0;  // real size to report; 0 keeps the request
  std::vector<kxdisplaymode> modes;         // what FillDisplayModes reports

  void Push(kxplatformevent::Kind kind, int code = 0, int mods = 0) { events.push_back({kind, code, mods}); }

  int Start() override;
  void Stop() override;
  void FillDisplayModes(kxdisplaysettings& display) override;
  int ShowSplash(const char* bitmapPath) override;
  void DestroySplash() override;
  int HasSplash() override;
  int Create(kxdisplaysettings& display) override;
  void Destroy() override;
  int NextEvent(int waitMs, kxplatformevent* out, int outCount, int* count) override;
  int IsActive() override;
  void SwapBuffers() override;
  int SetSwapInterval(int value) override;
};
