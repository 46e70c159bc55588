// The air drag of up to four folded landing-gear legs on one carrier,
// worked side by side in four lanes: every leg's drag grows with the square
// of its own speed over the ground, the carrier's velocity plus its turn
// about the leg's place, and acts at that place.
#pragma once

#include "core/matrix.h"

struct kxdlegdrags {
  static constexpr int kLanes = 4;
  // Places in the carrier's axes (m, from its R), the drag factors and the
  // shares the retraction leaves: force = (factor |v|) share v (factor in
  // N per (m/s)^2, negative; 0 in a lane without a leg).
  alignas(16) float px[kLanes], py[kLanes], pz[kLanes];
  alignas(16) float factor[kLanes];
  alignas(16) float share[kLanes];
};

// Adds the legs' drag to force and their moment about R to torque (carrier
// axes), from the carrier's velocity and omega in its axes. A leg whose
// drag factor is not a finite number puts nothing on. Each leg is worked
// and added in lane order as the one-leg formula would, to the bit.
void AddLegDrags(const kxdlegdrags& legs, const kxvector4r& velocity, const kxvector4r& omega, kxvector4r* force,
                 kxvector4r* torque);
