// Texts placed by their baseline: the font draws a line box from its
// lower-left corner, so the baseline lies lineHeight - ascent above it.
#pragma once

namespace sim {

// The text in the current font and colour with its first baseline at y
// (pixels, y up); nothing without a font or a context.
void DrawTextAtBaseline(int x, int y, const char* text);

}  // namespace sim
