// More drawing primitives for the widget library: textured quads, blocks of
// float pixels, points, text turned upright, and clipping rectangles. Like
// paint.h, every call does nothing without a current context.
#pragma once

struct kxtexture;

namespace kxgui {

// Texture corner coordinates: (s, t) of the lower-left corner on screen and
// the opposite corner.
struct texrect {
  float s0, t0, s1, t1;
};

// The texture over the rectangle (x0, y0)-(x1, y1) in the current colour.
// Uploads the texture when it has no OpenGL copy yet.
void TexturedRect(kxtexture* texture, int x0, int y0, int x1, int y1, const texrect& tex);
// w x h red-green-blue float triples, rows bottom-up, lower-left at (x, y).
void DrawPixels(int x, int y, int w, int h, const float* rgb);
// One pixel-centred point.
void DrawPoint(int x, int y);
// The text read upwards (turned 90 degrees counter-clockwise): its baseline
// runs up along x + line height from y.
void DrawTextUpwards(int x, int y, const char* text);

// Nested clipping; both calls pair up.
void ClipOn(int x, int y, int w, int h);
void ClipOff();

}  // namespace kxgui
