// Stand-ins for the simulator's views and menus until they exist: each logs
// what it would do. Same names and signatures as the real ones.
#pragma once

class kxwindow;

namespace sim {

// Builds the menu bar and every simulator window.
void CreateMenu();
void ShowWindow(kxwindow* window, int flag);
void OpenWindow(kxwindow* window);
void HideWindow(kxwindow* window);
// Fills the options window's display-mode list and opens it.
void FillDisplayModeList(kxwindow* window);
// Detaches and frees the tow rope.
void FSchleppDetach();
// The simulator windows the menu opens, by program-wide pointer; null until built.
kxwindow* NoDeviceWindow();
kxwindow* KeysWindow();
kxwindow* OptionsWindow();

// The simulation's draw callback: every player's view, the status text, the
// GUI and a requested screenshot.
void Draw();

// Puts the GUI's dispatch into the callbacks with the simulation's key and
// mouse handlers as its hooks, and sets the menu marks.
void ActivateMenu();
// Enables and disables menu entries; run after every viewport computation.
void UpdateMenuState();

}  // namespace sim
