// The reflection cube maps: the scenery around player 1's aircraft rendered
// into the six faces of a cube when a scenery or aircraft is placed (not
// every frame), then toned down into three maps of falling strength that
// shiny surfaces add to their colour.
#pragma once

struct world;

namespace sim {

constexpr int kCubeSize = 128;  // px, edge of a reflection cube face
constexpr int kCubeMaps = 3;

// A face byte of the scene (0..255) as a texel of map 0, 1 or 2:
// 255 / (map + 1)^2 x (0.125 v + 0.25 v^3), v = byte / 255, truncated.
// White gives 95, 23 and 10.
int ReflectionTexel(int byte, int map);

// Renders the six faces at player 1's aircraft and builds the three maps
// with their mipmaps, logging the place. Nothing without cube-map support
// or an aircraft; nothing either when the maps still exist and were built
// in the same scenery (names compared ignoring case) within 1 m of here.
void BuildReflectionMaps(world* w);
// Forgets the last build, so the next one runs wherever it is.
void ForgetReflectionMaps();

}  // namespace sim
