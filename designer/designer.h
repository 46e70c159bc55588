// The aircraft designer: a mode of the program beside the menu and the
// simulation, in which the components of the aircraft in slot 0 are shown in
// a viewer of their own and edited through property pages. The start-up
// builds its screen, menus, dialogs and commands once; "DesignOpen" enters
// it, "DesignGoBack" or Escape leave it to the mode it came from.
#pragma once

namespace sim {
struct applicationhooks;
enum class designerreturn : int;
}

namespace svdesign {

// The application's start-up, once: the "svdedit" type, "/Design" with its
// screen, menus, page bar and dialogs, the button pictures, the commands and
// the camera. Logs "svdesign: init ok".
void Init();
// Forgets everything Init built and any entry in progress (tests; the tree
// may already be gone).
void Reset();
// The designer's part of the application's hooks: start-up and entry.
void InstallHooks(sim::applicationhooks* hooks);

// Schedules Enter as the pending mode switch, to go back where back says
// when the designer is left; refused without an aircraft in slot 0.
// "DesignOpen" goes back to the menu.
void Open(sim::designerreturn back);
// The entry, run between two frames: toolbar (first time), callbacks and
// hooks, the design objects and the camera.
void Enter();
// "DesignGoBack" and Escape: the teardown, then back to the menu, or to the
// simulation when Open was told to go back there (the menu when the
// simulation cannot start).
void GoBack();
// Deletes the design objects and the menu entries, rebalances the aircraft
// and rebuilds its drawn clone. Nothing outside the designer.
void Teardown();
// The GUI's key hook while the designer runs: Escape leaves.
void OnKey(int key, int modifiers);
// After the window and its context were made again: screen and viewer
// sizes (FitToWindow), then the menu's or the simulation's graphics.
void OnCreate();
// The screen, the page bar, the shown page and the viewer at the window's
// size now.
void FitToWindow();
// The frame: viewer, strips, GUI, title, pointer.
void Draw();
// Rebalances the edited aircraft on its centre of gravity.
void RecomputeAircraft();

}  // namespace svdesign
