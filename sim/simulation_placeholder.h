// Stand-ins for the simulation mode until it exists: each logs what it would
// do. Same names and signatures as the real ones.
#pragma once

#include "core/matrix.h"

struct simplayer;

namespace sim {

// The simulation's entry, scheduled as the pending mode switch by the menu's
// fly action. The stand-in returns to the menu on the next key.
void EnterSimulationMode();
// The simulation's graphics set-up, also run by the menu's.
void InitGL();
// After-create callback: sounds and viewports.
void Resume();
// Uploads the player's aircraft textures and builds its shadow pictures.
void PrepareAircraftGraphics(int player);
// Puts the player's aircraft at frame with velocity (4 floats, m/s); the
// real one lowers it onto the ground first and writes the corrected height
// into frame. The stand-in only moves the published frame.
void ResetAircraft(simplayer* player, kxmatrix* frame, const float velocity[4]);
// Switches the player's view mode and places the viewer for it; the
// stand-in only stores the mode.
void SetViewMode(simplayer* player, int mode);

}  // namespace sim
