// The pictures of the simulator's menu and flight view: start-up splash,
// logo, menu background, the eleven labelled menu buttons, particles, the
// instrument dials and the wind rose. Labels are drawn with one of the
// program's own fonts.
#pragma once

#include <string>

#include "graphics/image.h"

struct kxglfont;

namespace texpaint {

// Writes text in white into image (RGB or RGBA), centred on (cx, cy) in
// texels from the top-left; alpha is raised where glyphs are drawn.
void DrawLabel(kximage& image, const kxglfont& font, const char* text, int cx, int cy, const int colour[3]);

// Writes every menu picture into folder as BMP files; the splash and the
// logo are labelled with font, the buttons with labelFont. 1 when all were
// written.
int WriteMenuPictures(const std::string& folder, const kxglfont& font, const kxglfont& labelFont);

}  // namespace texpaint
