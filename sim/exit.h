// The end of the program or of the simulation: aircraft, scenery, meshes,
// reserves and textures go, and the settings are written.
#pragma once

namespace sim {

// The simulation's exit callback; the menu's runs it too.
void Exit();

}  // namespace sim
