// The simulator's menu bar: nine titles along the top edge of the flight
// view, their pop-ups, and the simulator's windows, all under "/Menu"
// ("Visible" the bar, "Invisible" the pop-ups and windows). It binds entries
// and keys to the actions and the modes, so it sits above the windows it
// creates. Built once at set-up; entries that change state register a script command of their own
// at build time. Check marks and grey entries compare a variable with a
// value at every draw, so nothing has to keep them up to date.
#pragma once

#include "gui/menu.h"
#include "sim/windows/menu_windows.h"

class kxmenuitem;
class kxpopup;
class kxpopupitem;
enum class contestkind : int;

namespace sim {

constexpr int kContestEntries = 8;  // contest entries of the Contest pop-up

// The handler an entry registers: plain for a command text without
// arguments, indexed for one ending in "(n)", which passes the integer.
struct menuhandler {
  void (*plain)() = nullptr;
  void (*indexed)(int) = nullptr;
};

// An entry's check mark: shown while the variable is non-zero (value 0) or
// equals the value. No variable: no check mark.
struct menucheck {
  kxmenuvariable variable;
  int value = 0;
};

// An entry's enable rule. No variable: enabled (unless set grey by hand).
struct menuenable {
  kxmenuvariable variable;
  enablerule rule = enablerule::nonzero;
  int value = 0;
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
                          menuhandler handler, const menucheck& check, const menuenable& enable);
void AddPopupSeparator(kxpopup* popup);

// On every entry into the simulation: the GUI's dispatch in the callbacks,
// the bar as the screen with the simulation's hooks, the entries that the
// scenery and the graphics driver rule out greyed, one entry per contest.
void ActivateMenu();
// After every viewport computation: the bar's size, and the "Glider tow" and
// "Contest" titles greyed when there is nothing to tow or no contest.
void UpdateMenuState();

// A contest entry's label for a contest kind.
const char* ContestLabel(contestkind kind);

}  // namespace sim
