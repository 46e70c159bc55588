// The sky, the cloud layers and the ocean skirt as display lists: list 2 the
// sky dome (zenith cap, ceiling, horizon wall) with a high cloud band, list 1
// the low cloud layer, list 3 the ocean skirt and the ocean mesh. The sky
// colours follow `cloud_type`; the cloud texels follow the scenery's cloud
// map, density and exponent. Rebuilt on entering the simulation, after a new
// context and after each change of `cloud_type`.
#pragma once

#include <cstdint>

#include "sim/session.h"

struct world;

namespace sim {

// Zenith, haze and upper-horizon colours of a cloud type; 0 (out untouched)
// for a type without its own colours.
int SkyColours(cloudtype cloudType, float out[3][3]);

// One cloud texel from source value s: a = (s / 255)^p; the alpha layer
// a x 255 x d, and the colour layer white with that alpha, or in rain grey
// 0.25 a 255 d + 120 with alpha 220. Every byte clamped to 0..255.
struct cloudtexel {
  uint8_t alpha;
  uint8_t rgba[4];
};
cloudtexel CloudTexel(uint8_t source, float exponent, float density, int rain);

// The sky colours by `cloud_type`, the cloud textures' texels, and with a
// context lists 1, 2 and 3 (old ones deleted first).
void BuildSky(world* w);

}  // namespace sim
