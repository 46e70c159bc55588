// The end of the program, whichever mode it ends in: aircraft, scenery,
// meshes, reserves, textures and fonts go, and the settings are written.
#pragma once

namespace sim {

// The simulation's exit callback; the menu's runs it too.
void Exit();

}  // namespace sim
