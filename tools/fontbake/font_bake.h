// Font baker: renders the Latin-1 characters 32-255 of a TrueType font with
// FreeType into one alpha picture and writes it as .kxf.
#pragma once

namespace fontbake {

// 1 when the font was rendered and written; a message on stderr otherwise.
int Bake(const char* fontPath, int pixelSize, const char* outPath);

}  // namespace fontbake
