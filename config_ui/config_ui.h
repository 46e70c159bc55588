// The input configuration windows and the aircraft selection: their part of
// the application's hooks. The set-up registers their window types among its
// own, so the UI description can create them by name.
#pragma once

namespace sim {
struct applicationhooks;
}

namespace svconfig {

// Hands every window type of this folder to the set-up's registration.
void ProvideTypes();
// Installs ProvideTypes as the hook the set-up calls.
void InstallHooks(sim::applicationhooks* hooks);

}  // namespace svconfig
