// Pieces of the 2-D passes (pixels, y up, under an orthographic projection):
// pictures laid upright over a rectangle, and plain rectangles in the
// current colour.
#pragma once

struct kxtexture;

namespace sim {

// The picture upright over the rectangle: the texture table puts a
// picture's top row at t = 0, so t runs from 1 at the lower edge. Texturing
// must be on; nothing when the texture cannot be bound.
void DrawPicture(kxtexture* texture, float x0, float y0, float x1, float y1);
// An untextured rectangle in the current colour (texturing is turned off).
void DrawFlatRect(float x0, float y0, float x1, float y1);

}  // namespace sim
