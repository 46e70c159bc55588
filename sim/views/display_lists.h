// The simulation's display lists: fixed ids for the sky, clouds, ocean,
// ground and static scenery, and per aircraft a run of ids from a counter
// the caller hands in - first the textured lists of the parts flagged for
// one, then a plain list for every part, each run in post-order (children
// before their parent, the root last), which the drawing walks again.
#pragma once

class kxgeometricobject;
struct simplayer;

namespace sim {

constexpr int kListLowClouds = 1;
constexpr int kListSky = 2;
constexpr int kListOcean = 3;
constexpr int kListGround = 4;
constexpr int kListStatics = 5;
constexpr int kFirstAircraftList = 10;  // player 1's first id

// Lists 5 (every opaque element of the static objects) and 4 (the ground mesh).
void BuildSceneryLists();
// The player's lists from *nextId on (only when the aircraft has a graphics
// root); sets the player's first textured, plain and shadow ids; *nextId
// moves past them.
void BuildAircraftLists(simplayer* player, int* nextId);
// One subtree: plain, a list of every element for each node (empty without
// a mesh); textured, a list of the opaque elements for each node flagged for one.
void BuildPartLists(const kxgeometricobject* node, int* nextId, int plain);

}  // namespace sim
