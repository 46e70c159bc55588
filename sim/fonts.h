// The fonts the views, the windows and the menu write with; the resources
// load them at set-up.
#pragma once

#include "graphics/font.h"

namespace sim {

extern kxglfont small_font;  // "texture/arial10.kxf", also the GUI's
extern kxglfont large_font;  // "texture/arial20b.kxf"
extern kxglfont menu_font;   // "texture/menufont.kxf"

}  // namespace sim
