// Frame-level OpenGL state shared by everything that draws: whether a context
// is current, the nested scissor rectangles, and the buffer swap.
#pragma once

namespace kxgl {

// Nesting beyond this only intersects with the innermost rectangle.
constexpr int kScissorDepth = 32;

// 1 when an OpenGL context is current on this thread.
int HasContext();
// Intersects (x, y, w, h) (pixels, y up) with the enclosing rectangle, pushes
// it and enables scissoring. 0 without a context.
int ScissorOn(int x, int y, int w, int h);
// Pops one rectangle and restores the enclosing one, or disables scissoring
// when none is left (also for an unmatched call).
int ScissorOff();
// Presents the back buffer. 0 without a context.
int SwapBuffers();

}  // namespace kxgl
