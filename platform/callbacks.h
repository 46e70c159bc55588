// The record of the active mode: the menu, the simulation and the designer
// each install their callbacks here, and the main loop calls them. A null
// callback is skipped.
#pragma once

// A mode's handlers. A mode installs its record whole, so nothing of the
// mode before it stays behind.
struct kxmodecallbacks {
  void (*key_down)(int key, int mods) = nullptr;
  void (*key_up)(int key, int mods) = nullptr;
  void (*mouse)(int code, int mods) = nullptr;
  void (*after_message)() = nullptr;   // after each window event
  void (*update)() = nullptr;          // per frame, then draw
  void (*after_create)() = nullptr;    // after each window and context creation
  void (*before_destroy)() = nullptr;  // before each destruction
  void (*draw)() = nullptr;
  void (*graphics_init)() = nullptr;   // after after_create
  void (*exit)() = nullptr;            // once, when the program quits
};

// The active mode's handlers and the requests that outlive a mode switch.
struct kxcallbacks : kxmodecallbacks {
  int request = 0;  // kxcode::kRequest*: 10 quit, 11 re-create, 13 with a switch
  void (*pending)() = nullptr;         // mode switch run between frames
};

namespace kxsystem {

extern kxcallbacks callbacks;

// Replaces every handler with the mode's; the request and the pending
// switch stay.
inline void InstallMode(const kxmodecallbacks& mode) { static_cast<kxmodecallbacks&>(callbacks) = mode; }

}  // namespace kxsystem
