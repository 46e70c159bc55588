// The fixed OpenGL state all of the simulation's drawing starts from, set
// when the simulation is entered and after every re-creation of the context.
#pragma once

namespace sim {

constexpr int kSceneLights = 4;  // OpenGL lights the scenery may use

// Swap interval, both buffers black, the standing state (culling,
// blending, depth, hints, matrices), separate specular colour, the texture
// combiners of the ground shadows and the reflections' coordinate
// generation (not on the "Generic" software renderer), stencil, the
// scenery's lights, fog colour and density, and every texture uploaded.
void SetupGL();

// Viewport and orthographic projection over the window's pixels (y up,
// depth 0..2000) with an identity modelview: the 2-D passes' set-up.
void WindowOrtho(int width, int height);

}  // namespace sim
