// The mesh a new wing is given. A wing's span, dihedral and incidence are
// what its analysis measures on its own mesh, and only the mesh carries them
// through a Save: the component file has no key for them. A wing made
// without one would take them on its pages and load again with none.
#pragma once

class kxdaircraftinstance;
class kxdwing;

namespace svdesign {

// Gives the wing a mesh of its own and analyses it: a straight, flat panel
// of 0.5 m semi-span and 0.2 m chord from the wing's root along +y, its
// quarter chord on the root, in an object of the wing's name (or the first
// free one after it) below the aircraft's geometry root, where Save writes
// it. Nothing without a geometry root.
void GiveNewWingMesh(kxdwing* wing, kxdaircraftinstance* aircraft);

}  // namespace svdesign
