// The fonts the views, the windows and the menu write with; the resources
// load them at set-up.
#pragma once

#include "graphics/font.h"

namespace sim {

extern kxglfont small_font;  // "texture/arial10.kxf", also the GUI's
extern kxglfont large_font;  // "texture/arial20b.kxf"
extern kxglfont menu_font;   // "texture/menufont.kxf"

// Line heights of the three fonts as shipped, in pixels: the plain font
// that stands in for one is drawn at its height.
constexpr int kSmallFontLine = 15;
constexpr int kLargeFontLine = 24;
constexpr int kMenuFontLine = 19;

// Loads the font file into font; when it is missing or broken, the
// built-in plain font is drawn at lineHeight instead, with a log line and
// a notice, so no text of the program goes blank. 1 when the file loaded.
int LoadFontOrBuiltin(const char* path, kxglfont* font, int lineHeight);

}  // namespace sim
