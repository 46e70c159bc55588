#include "sim/windows/menu_windows.h"

namespace sim {

simmenu& MenuBar() {
  static simmenu menu;
  return menu;
}

kxwindow* MenuWindow(menuwindow which) {
  return which >= 0 && which < kMenuWindows ? MenuBar().windows[which] : nullptr;
}
kxwindow* NoDeviceWindow() { return MenuWindow(kWndNoDevice); }
kxwindow* KeysWindow() { return MenuWindow(kWndKeys); }
kxwindow* OptionsWindow() { return MenuWindow(kWndOptionsMain); }
kxwindow* AboutWindow() { return MenuWindow(kWndAbout); }
kxwindow* RestartWindow() { return MenuWindow(kWndRestart); }
kxwindow* OldModelWindow() { return MenuWindow(kWndOldModel); }
kxwindow* WrongSceneryWindow() { return MenuWindow(kWndWrongScenery); }
kxwindow* TitleSelectWindow() { return MenuWindow(kWndTitleSelect); }

}  // namespace sim
