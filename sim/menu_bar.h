// The simulator's menu bar: nine titles along the top edge of the flight
// view, their pop-ups, and the simulator's windows, all under "/Menu"
// ("Visible" the bar, "Invisible" the pop-ups and windows). It binds entries
// and keys to the actions and the modes, so it sits above the windows it
// creates. Built once at set-up; entries that change state register a script command of their own
// at build time. Check marks and grey entries compare a variable with a
// value at every draw, so nothing has to keep them up to date.
#pragma once

#include "sim/windows/menu_windows.h"

class kxmenuitem;
class kxpopup;
class kxpopupitem;

namespace sim {

constexpr int kContestEntries = 8;  // contest entries of the Contest pop-up

// The handler an entry registers: plain for a command text without
// arguments, indexed for one ending in "(n)", which passes the integer.
struct menuhandler {
  void (*plain)() = nullptr;
  void (*indexed)(int) = nullptr;
};

// Builds "/Menu" with the titles, pop-ups and windows; a "/Menu" built
// before is destroyed first.
void CreateMenu();
// Destroys every window (shown or hidden) and "/Menu"; the pointers clear.
void DestroyMenu();

kxmenuitem* AddMenuTitle(const char* text, const char* action, const char* name);
kxpopup* AddPopup(const char* name);
// Appends an entry to the pop-up. With a handler it also registers the
// command: a command text ending in ")" registers the text less its last
// three characters and passes the integer ("ViewFollow(0)" registers
// "ViewFollow"); any other registers the whole text.
kxpopupitem* AddPopupItem(kxpopup* popup, const char* label, const char* name, const char* command,
                          menuhandler handler, int* checkVariable, int checkValue, int* enableVariable,
                          int enableValue);
void AddPopupSeparator(kxpopup* popup);

// On every entry into the simulation: the GUI's dispatch in the callbacks,
// the bar as the screen with the simulation's hooks, the entries that the
// scenery and the graphics driver rule out greyed, one entry per contest.
void ActivateMenu();
// After every viewport computation: the bar's size, and the "Glider tow" and
// "Contest" titles greyed when there is nothing to tow or no contest.
void UpdateMenuState();

// A contest entry's label for a contest kind.
const char* ContestLabel(int kind);

}  // namespace sim
