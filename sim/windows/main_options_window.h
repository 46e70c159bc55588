// wndOptionsMain, the main menu's "Options": display mode or window mode,
// texture quality and compression, and the language. A new display mode or
// texture setting asks the platform to re-create the window and its OpenGL
// context; a new language takes effect at the next start, which wndRestart
// says.
#pragma once

class kxwindow;

namespace sim {

constexpr int kModeButtons = 60;  // display modes the window offers at most

kxwindow* CreateMainOptionsWindow();
kxwindow* CreateRestartWindow();

// Loads the current display, texture and language settings into the
// options window and shows it.
void FillDisplayModeList(kxwindow* window);

}  // namespace sim
