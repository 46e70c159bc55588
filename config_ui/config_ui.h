// The input configuration windows and the aircraft selection: their part of
// the application's hooks. The folder registers its window types itself when
// the set-up asks, before the set-up's own, so the UI description can create
// them by name.
#pragma once

#include "gui/window.h"

namespace sim {
struct applicationhooks;
}

// A plain window under a type name of its own, with no members of its own.
class kxwindowselect : public kxwindow {
 public:
  static kxtype Type;
  kxwindowselect();
};

namespace svconfig {

// Registers every window type of this folder as a window, in the set-up's
// order; returns how many are registered.
int RegisterTypes();
// Installs RegisterTypes as the hook the set-up calls.
void InstallHooks(sim::applicationhooks* hooks);

}  // namespace svconfig
