// The simulator's windows as the menu bar keeps them: created with the bar
// under "/Menu/Invisible", reached by name from the windows that open one
// another and from the modes that show them.
#pragma once

class kxbackground;
class kxgraphic;
class kxmenuitem;
class kxnode;
class kxpopup;
class kxwindow;

namespace sim {

// The simulator windows, in the order the menu bar creates them.
enum menuwindow {
  kWndLoadScenery,
  kWndSaveRecord,
  kWndLoadRecord,
  kWndWrongScenery,
  kWndOptionsFSchlepp,
  kWndOptionsGeneral,
  kWndOptionsSound,
  kWndTitleSelect,
  kWndOptionsView,
  kWndOptionsContest,
  kWndOptionsGrfx,
  kWndAbout,
  kWndNoDevice,
  kWndRestart,
  kWndKeys,
  kWndOptionsMain,
  kWndOldModel,  // after the others: the notice that older models cannot be edited
  kWndNotice,    // the queue of notices for the user
  kMenuWindows
};

// What the builder keeps: the two screens, the pop-up being filled, the two
// titles whose greying follows the flight, and every window.
struct simmenu {
  kxnode* root = nullptr;           // "/Menu"
  kxbackground* visible = nullptr;  // "/Menu/Visible"
  kxgraphic* invisible = nullptr;   // "/Menu/Invisible"
  kxpopup* filling = nullptr;
  kxmenuitem* contest_title = nullptr;
  kxmenuitem* tow_title = nullptr;
  kxwindow* windows[kMenuWindows] = {};
};
simmenu& MenuBar();

// The windows by name; null before CreateMenu.
kxwindow* MenuWindow(menuwindow which);
kxwindow* NoDeviceWindow();
kxwindow* KeysWindow();
kxwindow* OptionsWindow();
kxwindow* AboutWindow();
kxwindow* RestartWindow();
kxwindow* OldModelWindow();
kxwindow* WrongSceneryWindow();
kxwindow* TitleSelectWindow();

}  // namespace sim
