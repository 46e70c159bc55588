// What the views need to draw a player's aircraft, readied once after it is
// loaded: the textures of its meshes, a square ground shadow whose box also
// gives the aircraft's lowest point and a draw kind for every graphics
// object; and, before its first flight, a blur disc for every propeller and
// rotor, which only a flight shows.
#pragma once

class kxgeometricobject;
class kxnode;

namespace sim {

// Draw kinds in kxgeometricobject::Flags: 0 no mesh, 1 plain mesh (a display
// list), 2 transparent mesh (drawn directly), 4 a rotor or propeller part
// without a blur disc (its blades fade as they speed up) or a rotor's own
// object without a mesh that shows its disc, 5 a meshed part with a disc.
constexpr int kDrawNone = 0;
constexpr int kDrawPlain = 1;
constexpr int kDrawTransparent = 2;
constexpr int kDrawRotating = 4;
constexpr int kDrawDisc = 5;

// Player index 0 or 1. What the menu shows: no blur discs.
void PrepareAircraftGraphics(int player);
// The blur discs a flight needs that are not made yet, and the draw kinds
// that follow from them; said on the loading screen while they are made.
void PrepareFlightGraphics(int player);
// The shadow quad, its texture and the flight state's box.
void GenerateShadow(int player);
// Blur discs of the aircraft's top-level rotors and propellers.
void CreateBlurDiscs(int player);
// Draw kinds of the tree, children first.
void ClassifyDrawKinds(kxgeometricobject* object);
// 1 for a main rotor, tail rotor or propeller component (the parts that
// spin, get blur discs and collide with balloons).
int IsRotatingComponent(const kxnode* component);

}  // namespace sim
