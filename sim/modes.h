// The three modes - menu, simulation, designer - and the switches between
// them. A mode is the callback set it installs in kxsystem::callbacks and the
// GUI hooks it sets; a switch schedules the next mode's entry, which the main
// loop runs between two frames.
#pragma once

namespace sim {

// Where the designer goes back to when it is left.
enum class designerreturn : int {
  kMenu = 0,
  kSimulation = 1,
};

// Installs the menu's callbacks, screens and hooks.
void EnterMenuMode();
// 1 when a flight can start: some player has an aircraft to fly.
int CanFly();
// Schedules the simulation when a flight can start (1); else logs why,
// leaves the notice in the status line and schedules nothing (0). The
// menu's Fly and the designer's return to the flight both ask here, so the
// designer returns to the flight whenever the menu could have started it.
int RequestFly();
// "GoMainMenu": stops the sounds, saves the settings, stops the dynamics and
// switches to the menu.
void LeaveToMenu();
// "GoEditAcft": as LeaveToMenu, to the designer; refused with a legacy model.
void LeaveToDesigner();
void EditFromSimulation();
// The menu's designer action; refused with a legacy model.
void MenuToDesigner();
// The designer's hand-back: the simulation's sounds and viewports.
void RestartSounds();
// The menu's exit callback.
void MenuExit();
// Registers "GoMainMenu" and "GoEditAcft".
void RegisterModeCommands();

}  // namespace sim
