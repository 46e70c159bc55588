// Drawing an aircraft: its part tree (geometric objects under the flight
// state's graphics root) from the display lists built when it was loaded,
// consumed in the builder's order (children before their parent), shiny
// parts with a cube-map reflection; parts flagged for direct drawing from
// their mesh; and a played-back aircraft straight from its meshes.
#pragma once

class kxgeometricobject;
struct simplayer;

namespace sim {

// The player's aircraft under the current modelview: the list pass, the
// direct pass, and with withLegacy a legacy model's three view passes.
void DrawAircraft(const simplayer* player, int withLegacy);
// The list pass alone (the scene's opaque aircraft).
void DrawAircraftLists(const simplayer* player);
// One subtree's lists from *counter on; *counter moves past them.
void DrawPartLists(const kxgeometricobject* part, int* counter);
// One subtree's parts flagged for direct drawing.
void DrawPartsDirect(const kxgeometricobject* part);
// A subtree from its meshes, children first, each under its Matrix: with
// wholeGeometry every opaque element, else only a transparent first element.
void DrawPartTree(const kxgeometricobject* node, int wholeGeometry);

}  // namespace sim
