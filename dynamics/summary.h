// The whole-aircraft summary: analyses the template, sums the mass and the
// centre of gravity of the top-level bodies and places the fuselage's mass
// (not its mesh) so the centre of gravity lies on the fuselage's CG.
#pragma once

class kxdaircraftinstance;

namespace kxdsystem {
void Summary(kxdaircraftinstance* instance);
}
