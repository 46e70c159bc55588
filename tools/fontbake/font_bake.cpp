#include "tools/fontbake/font_bake.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include "graphics/font.h"

namespace fontbake {
namespace {

constexpr int kFirstCode = 32;
constexpr int kLastCode = 255;
constexpr int kPadding = 1;       // texels between glyphs so filtering does not bleed
constexpr int kPictureWidth = 256;

struct Rendered {
  int code;
  int width, height, left, top, advance;
  std::vector<uint8_t> alpha;
};

}  // namespace

int Bake(const char* fontPath, int pixelSize, const char* outPath) {
  FT_Library library;
  if (FT_Init_FreeType(&library)) {
    std::fprintf(stderr, "bake_font: FreeType did not start\n");
    return 0;
  }
  FT_Face face;
  if (FT_New_Face(library, fontPath, 0, &face) || FT_Set_Pixel_Sizes(face, 0, pixelSize)) {
    std::fprintf(stderr, "bake_font: cannot open %s\n", fontPath);
    FT_Done_FreeType(library);
    return 0;
  }
  int ascender = static_cast<int>((face->size->metrics.ascender + 63) >> 6);
  int descender = static_cast<int>((-face->size->metrics.descender + 63) >> 6);
  int lineHeight = std::max(static_cast<int>((face->size->metrics.height + 63) >> 6), ascender + descender);
  int baseline = descender;  // from the line box's bottom
  std::vector<Rendered> glyphs;
  for (int code = kFirstCode; code <= kLastCode; ++code) {
    // Latin-1 codes are their own Unicode code points.
    if (FT_Load_Char(face, static_cast<FT_ULong>(code), FT_LOAD_RENDER)) continue;
    FT_GlyphSlot slot = face->glyph;
    if (FT_Get_Char_Index(face, static_cast<FT_ULong>(code)) == 0 && code != ' ') continue;
    Rendered g{code, static_cast<int>(slot->bitmap.width), static_cast<int>(slot->bitmap.rows), slot->bitmap_left,
               slot->bitmap_top, static_cast<int>((slot->advance.x + 32) >> 6), {}};
    g.alpha.resize(static_cast<size_t>(g.width) * g.height);
    for (int y = 0; y < g.height; ++y)
      std::memcpy(&g.alpha[static_cast<size_t>(y) * g.width], slot->bitmap.buffer + y * slot->bitmap.pitch,
                  g.width);
    glyphs.push_back(std::move(g));
  }
  FT_Done_Face(face);
  FT_Done_FreeType(library);

  // Shelf packing, rows top-down.
  kxglyph table[256] = {};
  int x = kPadding, y = kPadding, shelf = 0;
  for (Rendered& g : glyphs) {
    if (x + g.width + kPadding > kPictureWidth) {
      x = kPadding;
      y += shelf + kPadding;
      shelf = 0;
    }
    kxglyph& out = table[g.code];
    out.x = static_cast<int16_t>(x);
    out.y = static_cast<int16_t>(y);
    out.w = static_cast<int16_t>(g.width);
    out.h = static_cast<int16_t>(g.height);
    out.xoff = static_cast<int16_t>(g.left);
    out.yoff = static_cast<int16_t>(baseline + g.top - g.height);
    out.advance = static_cast<int16_t>(g.advance);
    x += g.width + kPadding;
    shelf = std::max(shelf, g.height);
  }
  int height = 1;
  while (height < y + shelf + kPadding) height *= 2;
  std::vector<uint8_t> picture(static_cast<size_t>(kPictureWidth) * height, 0);
  for (const Rendered& g : glyphs) {
    const kxglyph& out = table[g.code];
    for (int row = 0; row < g.height; ++row)
      std::memcpy(&picture[static_cast<size_t>(out.y + row) * kPictureWidth + out.x],
                  &g.alpha[static_cast<size_t>(row) * g.width], g.width);
  }
  if (!kxgl::WriteFont(outPath, lineHeight, lineHeight - baseline, kPictureWidth, height, table, picture.data())) {
    std::fprintf(stderr, "bake_font: cannot write %s\n", outPath);
    return 0;
  }
  return 1;
}

}  // namespace fontbake
