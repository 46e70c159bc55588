// The whole-aircraft summary: analyses the template, sums the mass and the
// centre of gravity of the top-level bodies and moves the fuselage (with what
// is placed on it) so the centre of gravity lies on the fuselage's CG.
#pragma once

class kxdaircraftinstance;

namespace kxdsystem {
void Summary(kxdaircraftinstance* instance);
}
