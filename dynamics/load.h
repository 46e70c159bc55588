// Loading aircraft into instance slots, building their simulated and drawn
// clones, placing them and unloading them.
#pragma once

#include <string>
#include <vector>

#include "core/matrix.h"

class kxnode;
class kxdaircraftinstance;

namespace kxdynamics {

// Registers the "AircraftLoad" script command (text name, int player).
void RegisterLoadCommand();
// Loads into playback slot p (0 or 1); the root of its drawn geometry, or
// null. The instance is kxdaircraftinstance::Slot(2 + p); it is never stepped.
kxnode* LoadPlayback(const char* name, int p);

}  // namespace kxdynamics

namespace kxdload {

// Loads "aircraft/<name>/<name>.kxd" with its mesh and geometry script into
// slot (0..3) after unloading it. 1 on success; on failure the slot is empty.
int LoadSlot(int slot, const char* name);
// 1 for a folder name that stays inside "aircraft/": not empty, no '/', no
// '\', no leading '.'.
int IsSafeName(const char* name);

// What the last load had to leave out that changes how the aircraft flies
// or looks (a wing section without airfoil, no mesh), one short text each,
// for the notice shown when the aircraft is chosen. Each was logged where
// it was found. Emptied at the start of every load; the first 32 are kept.
const std::vector<std::string>& LoadProblems();
void AddLoadProblem(const std::string& text);

}  // namespace kxdload
