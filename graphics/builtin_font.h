// The plain font the program writes with when a font file is missing or
// broken: drawn in code from straight strokes, so no file is needed. Every
// printable Latin-1 character has a glyph: capitals, small capitals for the
// lower case, digits, signs, and accented letters as their base letter with
// the accent over it.
#pragma once

#include "graphics/font.h"

namespace kxgl {

// Line heights the plain font can be drawn at, in pixels.
constexpr int kMinBuiltinLineHeight = 8;
constexpr int kMaxBuiltinLineHeight = 128;

// Fills font as LoadFont does (alpha picture reserved, white texture named
// name) with the plain font at a line height of lineHeight pixels (held
// within the bounds above). 1, or 0 with the record empty.
int MakeBuiltinFont(const char* name, int lineHeight, kxglfont* font, int filter);

}  // namespace kxgl
