#include "graphics/font.h"

#include <cstring>
#include <vector>

#include "core/hooks.h"
#include "graphics/byte_reader.h"
#include "graphics/file_bytes.h"
#include "graphics/reserve_bridge.h"
#include "graphics/texture_table.h"

namespace kxgl {

kxglfont* currentFont = nullptr;

namespace {
constexpr char kMagic[4] = {'K', 'X', 'F', '1'};
constexpr const char* kReserveName = "kxglfont";

int Fail(const char* why) {
  kxcore::Log("gl:  kxf %s\n", why);
  return 0;
}
}  // namespace

int ReadFont(const uint8_t* data, size_t size, kxglfont* font) {
  kxbytereader r(data, size);
  char magic[4];
  r.Bytes(magic, 4);
  int32_t lineHeight = r.I32(), ascent = r.I32(), texWidth = r.I32(), texHeight = r.I32();
  if (!r.ok() || std::memcmp(magic, kMagic, 4) != 0) return Fail("header invalid");
  if (lineHeight < 1 || lineHeight > kMaxLineHeight || ascent < 0 || ascent > lineHeight || texWidth < 1 ||
      texHeight < 1 || texWidth > kMaxFontSide || texHeight > kMaxFontSide)
    return Fail("sizes out of range");
  kxglyph glyphs[256];
  for (kxglyph& g : glyphs) {
    g.x = r.I16(), g.y = r.I16(), g.w = r.I16(), g.h = r.I16();
    g.xoff = r.I16(), g.yoff = r.I16(), g.advance = r.I16();
    if (g.x < 0 || g.y < 0 || g.w < 0 || g.h < 0 || g.x + g.w > texWidth || g.y + g.h > texHeight ||
        g.advance < 0)
      return Fail("glyph outside the picture");
  }
  size_t bytes = static_cast<size_t>(texWidth) * texHeight;
  if (!r.ok() || r.left() < bytes) return Fail("picture truncated");
  void* pixels = nullptr;
  if (!ReserveBytes(&pixels, bytes, kReserveName)) return 0;
  r.Bytes(pixels, bytes);
  FreeFont(font);
  font->lineHeight = lineHeight;
  font->ascent = ascent;
  font->texWidth = texWidth;
  font->texHeight = texHeight;
  font->pixels = static_cast<uint8_t*>(pixels);
  std::memcpy(font->glyphs, glyphs, sizeof glyphs);
  return 1;
}

int AttachFontTexture(const char* name, kxglfont* font, int filter) {
  font->texture = CreateTexture(name, kTypeRGBA, font->texWidth, font->texHeight, filter, kWrapClamp, kWrapClamp, 0);
  if (!font->texture) {
    FreeFont(font);
    return 0;
  }
  size_t count = static_cast<size_t>(font->texWidth) * font->texHeight;
  for (size_t i = 0; i < count; ++i) {
    uint8_t* p = font->texture->pixels + i * 4;
    p[0] = p[1] = p[2] = 255;
    p[3] = font->pixels[i];
  }
  font->texture->uploaded = 0;
  return 1;
}

int LoadFont(const char* path, kxglfont* font, int filter) {
  if (!font) return 0;
  std::vector<uint8_t> bytes;
  int ok = ReadFileBytes(path, &bytes) && ReadFont(bytes.data(), bytes.size(), font);
  if (ok) {
    ok = AttachFontTexture(path, font, filter);
  } else {
    FreeFont(font);
  }
  kxcore::Log("gl:  loading font %s=%s\n", path ? path : "", ok ? "ok" : "fail");
  return ok;
}

void FreeFont(kxglfont* font) {
  if (!font) return;
  void* pixels = font->pixels;
  ReleaseBytes(&pixels);
  FreeTexture(font->texture);
  std::memset(font, 0, sizeof *font);
}

int WriteFont(const char* path, int lineHeight, int ascent, int texWidth, int texHeight, const kxglyph glyphs[256],
              const uint8_t* alpha) {
  kxbytewriter w;
  w.Bytes(kMagic, 4);
  w.I32(lineHeight);
  w.I32(ascent);
  w.I32(texWidth);
  w.I32(texHeight);
  for (int i = 0; i < 256; ++i) {
    const kxglyph& g = glyphs[i];
    for (int16_t v : {g.x, g.y, g.w, g.h, g.xoff, g.yoff, g.advance}) w.I16(v);
  }
  w.Bytes(alpha, static_cast<size_t>(texWidth) * texHeight);
  return WriteFileBytes(path, w.bytes.data(), w.bytes.size());
}

void SetFont(kxglfont* font) { currentFont = font; }

int TextWidth(const char* text) {
  if (!currentFont || !text) return 0;
  int widest = 0, width = 0;
  for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p; ++p) {
    if (*p == '\n') {
      width = 0;
      continue;
    }
    width += currentFont->glyphs[*p].advance;
    if (width > widest) widest = width;
  }
  return widest;
}

}  // namespace kxgl
