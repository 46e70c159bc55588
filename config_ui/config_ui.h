// The input configuration windows and the aircraft selection: their part of
// the application's hooks. The set-up registers their window types among its
// own, so the UI description can create them by name.
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

// Hands every window type of this folder to the set-up's registration.
void ProvideTypes();
// Installs ProvideTypes as the hook the set-up calls.
void InstallHooks(sim::applicationhooks* hooks);

}  // namespace svconfig
