// What the views need to draw a player's aircraft, readied once after it is
// loaded: the textures of its meshes, a square ground shadow whose box also
// gives the aircraft's lowest point, a blur disc for every propeller and
// rotor, and a draw kind for every graphics object.
#pragma once

class kxgeometricobject;

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

// Player index 0 or 1.
void PrepareAircraftGraphics(int player);
// The shadow quad, its texture and the flight state's box.
void GenerateShadow(int player);
// Blur discs of the aircraft's top-level rotors and propellers.
void CreateBlurDiscs(int player);
// Draw kinds of the tree, children first.
void ClassifyDrawKinds(kxgeometricobject* object);

}  // namespace sim
