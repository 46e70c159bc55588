// The simulation mode, apart from its frame update, draw and key and mouse
// handlers: the entry the menu's fly action schedules, the after-create and
// graphics-init callbacks that rebuild sounds, viewports and every OpenGL
// resource of the flight view, and the viewport sizes of split screen.
#pragma once

class kxdsceneryworld;

namespace sim {

constexpr int kNoLastViewport = -1;

// The pending-mode function: players, dynamics, graphics, start places,
// contest and menu bar; installs the simulation's callbacks.
void EnterSimulationMode();
// After-create callback: sounds and viewports.
void Resume();
// Graphics-init callback: GL state, sky, scenery and aircraft lists,
// balloon shadows and reflections. The menu's graphics init runs it too.
void InitGL();
// The display lists of the flying players' aircraft, built anew (the
// aircraft of a player may have been loaded again).
void BuildPlayerLists();
// One player's view size from the window and game_type; keeps or resets
// the overlay cameras, and updates the menu marks.
void Viewports();
// Forgets the last viewport computation, so the next one resets the
// overlay cameras (program start and tests).
void ForgetViewports();
// The loaded scenery's collision world as the dynamics sees it.
kxdsceneryworld& SceneryWorld();

}  // namespace sim
