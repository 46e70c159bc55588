// Bitmap fonts (.kxf): glyph rectangles in one alpha picture, the current
// font, and text measuring. Loading and measuring need no OpenGL context.
#pragma once

#include <cstddef>
#include <cstdint>

struct kxtexture;

struct kxglyph {
  int16_t x, y, w, h;   // texels in the font picture, rows top-down
  int16_t xoff, yoff;   // pixels from the line box's lower-left to the glyph's lower-left
  int16_t advance;      // pixels to the next glyph; 0 = no glyph
};

struct kxglfont {
  int32_t lineHeight;   // pixels from one line box to the next
  int32_t ascent;       // pixels from the baseline to the top of the line box
  int32_t texWidth;     // texels
  int32_t texHeight;
  uint8_t* pixels;      // texWidth * texHeight alpha bytes (reserve "kxglfont")
  kxtexture* texture;   // white RGBA with the glyph alpha, so text takes the current colour
  kxglyph glyphs[256];  // indexed by the unsigned byte of the character (Latin-1)
};

namespace kxgl {

constexpr int kMaxFontSide = 4096;
constexpr int kMaxLineHeight = 1024;

extern kxglfont* currentFont;

// Fills the record from .kxf bytes (pixels reserved); 1, or 0 after a log line.
int ReadFont(const uint8_t* data, size_t size, kxglfont* font);
// Reads the file and creates its texture (named after the path, filter,
// clamp, no mip levels). 1, or 0 with the record empty.
int LoadFont(const char* path, kxglfont* font, int filter);
// Creates the record's texture (named name, filter, clamp, no mip levels):
// white, with the alpha picture as its alpha. 1, or 0 with the record empty.
int AttachFontTexture(const char* name, kxglfont* font, int filter);
// Releases the picture and the texture; the record becomes empty.
void FreeFont(kxglfont* font);
int WriteFont(const char* path, int lineHeight, int ascent, int texWidth, int texHeight, const kxglyph glyphs[256],
              const uint8_t* alpha);

void SetFont(kxglfont* font);
// Width in pixels of the longest line ("\n" separates lines) in the current
// font; 0 without one.
int TextWidth(const char* text);

}  // namespace kxgl
