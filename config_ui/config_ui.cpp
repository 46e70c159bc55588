#include "config_ui/config_ui.h"

#include "config_ui/aircraft_select.h"
#include "sim/app_hooks.h"

namespace svconfig {

void ProvideTypes() { sim::ProvideType(&kxwindowloadacft::Type, &kxwindow::Type); }

void InstallHooks(sim::applicationhooks* hooks) {
  if (hooks) hooks->provide_types = ProvideTypes;
}

}  // namespace svconfig
