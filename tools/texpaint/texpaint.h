// Texture painter: procedural pictures (ground, sky, particles, the mouse
// pointer, buttons, icon sheets) for the program's data, written as BMP or
// .kxt by paint_texture.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "graphics/image.h"

namespace texpaint {

// A zeroed picture (transparent black where it has alpha).
kximage Blank(int width, int height, int channels);
kximage Grass(int size, unsigned seed);
kximage Asphalt(int size, unsigned seed);
// Vertical gradient from the top colour to the bottom colour (RGB 0..255).
kximage SkyGradient(int width, int height, const int top[3], const int bottom[3]);
// White disc whose alpha falls off smoothly from the centre (RGBA).
kximage Particle(int size);
// Arrow pointer, RGBA, hot spot at the top-left texel, black outline.
kximage Pointer();
// Rounded button face with a vertical shade (RGBA).
kximage Button(int width, int height, const int colour[3]);
// Sheet of cols x rows simple icon frames (RGBA), each a distinct glyph.
kximage IconSheet(int cell, int cols, int rows);
// Two bevelled button frames side by side at the top-left of a sheet x sheet
// picture (RGBA), each cell x cell: raised, then pressed. Only the border is
// opaque, so a picture drawn under a frame shows through.
kximage ButtonFrames(int cell, int sheet);

// Scenery pictures: tileable water (RGB), tileable fair-weather clouds
// (alpha), a billboard tree with a transparent surround (RGBA) and the card
// shown for a scenery without a preview picture (RGB).
kximage Water(int size, unsigned seed);
kximage Clouds(int size, unsigned seed);
kximage Tree(int width, int height, unsigned seed);
kximage Card(int width, int height);

// The about box's picture (RGB, size x size): a sky over rolling hills with a
// model glider, in the upper usedRows rows; the rows below stay black.
kximage About(int size, int usedRows);

// JPEG bytes of an RGB picture (photo tiles and test seeds).
std::vector<uint8_t> EncodeJpeg(const kximage& image, int quality);

// Every kind paint_texture knows, by name; empty image for an unknown one.
kximage ByName(const std::string& kind);

}  // namespace texpaint
