// Smoke and exhaust puffs as textured squares facing the screen. Smoke is
// drawn when `show_smoke` is on, otherwise exhaust when `show_exhaust` is;
// never both in one frame.
#pragma once

struct simplayer;

namespace sim {

// With the billboard matrix turned to the screen (the scene's B). skipOwn
// leaves out the viewer's own exhaust (cockpit views).
void DrawParticles(const simplayer* viewer, int skipOwn, float B[16]);

}  // namespace sim
