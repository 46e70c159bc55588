// Stand-ins for the simulation mode until it exists: each logs what it would
// do. Same names and signatures as the real ones.
#pragma once

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

}  // namespace sim
