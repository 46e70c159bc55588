// Loading the program's fonts so that no text goes blank: a font file that
// is missing or broken gives way to the built-in plain font.
#pragma once

#include "graphics/font.h"

namespace sim {

// Line heights of the three fonts as shipped, in pixels: the plain font
// that stands in for one is drawn at its height.
constexpr int kSmallFontLine = 15;
constexpr int kLargeFontLine = 24;
constexpr int kMenuFontLine = 19;

// Loads the font file into font; when it is missing or broken, the
// built-in plain font is drawn at lineHeight instead, with a log line and
// a notice. 1 when the file loaded.
int LoadFontOrBuiltin(const char* path, kxglfont* font, int lineHeight);

}  // namespace sim
