// Frame-level OpenGL state shared by everything that draws: whether a context
// is current, the nested scissor rectangles, the buffer swap and the
// projection of the 2-D passes.
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

// Depth range of the 2-D passes, in units in front of the viewer.
constexpr double kPixelDepth = 2000.0;
// The projection of a window's or a view's 2-D pass: x and y in pixels from
// the lower left (y up), z from nearZ to farZ; the model-view matrix is
// reset. The viewport is the caller's.
void PixelProjection(double width, double height, double nearZ = 0.0, double farZ = kPixelDepth);

}  // namespace kxgl
