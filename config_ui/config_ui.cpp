#include "config_ui/config_ui.h"

#include "config_ui/aircraft_select.h"
#include "config_ui/calibration.h"
#include "config_ui/channel_select.h"
#include "config_ui/configuration_easy.h"
#include "config_ui/configuration_editor.h"
#include "config_ui/control_settings.h"
#include "config_ui/input_devices.h"
#include "sim/app_hooks.h"

kxtype kxwindowselect::Type("kxwindowselect", sizeof(kxwindowselect), kxcreate<kxwindowselect>);

kxwindowselect::kxwindowselect() { type = &Type; }

namespace svconfig {

int RegisterTypes() {
  kxtype* const windows[] = {&kxwindowinputdevices::Type,  &kxwindowdevicegame::Type,
                             &kxwindowdeviceradio::Type,   &svaircraftcontrolsettings::Type,
                             &svchannelselect::Type,       &svconfigurationeditor::Type,
                             &svconfigurationdelete::Type, &svconfigurationeasy::Type,
                             &kxwindowloadacft::Type,      &kxwindowselect::Type};
  int count = 0;
  for (kxtype* t : windows) count += kxtype::RegisterDerived(t, &kxwindow::Type);
  return count;
}

void InstallHooks(sim::applicationhooks* hooks) {
  if (hooks) hooks->register_types = RegisterTypes;
}

}  // namespace svconfig
