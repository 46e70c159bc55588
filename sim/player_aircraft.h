// Loading a player's component aircraft: the one place that fills the
// player's slot and points the player's flight state at it. The menu's
// start, the reload key and the aircraft selection each add what their
// moment needs (the loading screen, the notice of the files' problems, the
// graphics) around it.
#pragma once

namespace sim {

// Player 1's older-format model, when it flies one, is unloaded and the
// player left without an aircraft; anything else is left alone.
void DropLegacyAircraft();

// Loads the component aircraft named name into the player's slot, in place
// of whatever the player flew (an older-format model included). The
// player's flight state points at the loaded aircraft, or is null when it
// did not load. 1 when it loaded.
int LoadPlayerAircraft(int player, const char* name);

}  // namespace sim
