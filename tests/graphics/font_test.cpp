#include "graphics/font.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "graphics/builtin_font.h"
#include "graphics/file_bytes.h"
#include "graphics/texture_table.h"
#include "test_support.h"

namespace {
// The committed program fonts, found from the fixture folder (an absolute
// path, unlike __FILE__ under a compiler cache that rewrites paths).
const std::string kData =
    (std::filesystem::path(KX_TEST_DATA) / ".." / ".." / ".." / "data" / "texture").lexically_normal().string() + "/";
}

class Font : public kxtest::GraphicsTest {
 protected:
  void SetUp() override {
    GraphicsTest::SetUp();
    kxgl::ClearTextureTable();
    std::memset(&font_, 0, sizeof font_);
  }
  void TearDown() override {
    kxgl::SetFont(nullptr);
    kxgl::FreeFont(&font_);
    kxgl::FreeAllTextures();
    GraphicsTest::TearDown();
  }
  const kxglyph& Glyph(char c) const { return font_.glyphs[static_cast<unsigned char>(c)]; }
  kxglfont font_;
};

TEST_F(Font, SmallFontLoadsWithDegreeSignAndWhiteTexture) {
  std::string path = kData + "arial10.kxf";
  ASSERT_EQ(kxgl::LoadFont(path.c_str(), &font_, 60), 1);
  EXPECT_NE(Log().find("gl:  loading font " + path + "=ok\n"), std::string::npos);
  EXPECT_GT(font_.lineHeight, 8);
  EXPECT_GT(font_.ascent, 0);
  EXPECT_GT(font_.glyphs[0xB0].advance, 0);
  EXPECT_GT(Glyph('A').w, 0);
  ASSERT_NE(font_.texture, nullptr);
  EXPECT_EQ(font_.texture->type, kxgl::kTypeRGBA);
  EXPECT_EQ(font_.texture->wrapS, kxgl::kWrapClamp);
  EXPECT_EQ(font_.texture->mipmap, 0);
  // Glyph texels: white with the glyph's coverage as alpha.
  const kxglyph& g = Glyph('W');
  size_t inside = (static_cast<size_t>(g.y + g.h / 2) * font_.texWidth + g.x + g.w / 2);
  EXPECT_EQ(font_.texture->pixels[inside * 4], 255);
  EXPECT_EQ(font_.texture->pixels[inside * 4 + 3], font_.pixels[inside]);
}

TEST_F(Font, TextWidthIsTheLongestLine) {
  ASSERT_EQ(kxgl::LoadFont((kData + "arial10.kxf").c_str(), &font_, 60), 1);
  EXPECT_EQ(kxgl::TextWidth("abcd"), 0);  // no current font yet
  kxgl::SetFont(&font_);
  int abcd = kxgl::TextWidth("abcd");
  EXPECT_EQ(abcd, Glyph('a').advance + Glyph('b').advance + Glyph('c').advance +
                      Glyph('d').advance);
  EXPECT_EQ(kxgl::TextWidth("ab\nabcd"), abcd);
  EXPECT_EQ(kxgl::TextWidth("abcd\nab"), abcd);
  // Bytes above 127 index their own glyphs, not negative ones.
  EXPECT_EQ(kxgl::TextWidth("\xB0"), font_.glyphs[0xB0].advance);
  EXPECT_EQ(kxgl::TextWidth(""), 0);
  EXPECT_EQ(kxgl::TextWidth(nullptr), 0);
}

TEST_F(Font, AllThreeProgramFontsLoad) {
  for (const char* name : {"arial10.kxf", "arial20b.kxf", "menufont.kxf"}) {
    EXPECT_EQ(kxgl::LoadFont((kData + name).c_str(), &font_, 60), 1) << name;
  }
  kxglfont small{};
  ASSERT_EQ(kxgl::LoadFont((kData + "arial10.kxf").c_str(), &small, 60), 1);
  EXPECT_GT(font_.lineHeight, small.lineHeight);
  kxgl::FreeFont(&small);
}

TEST_F(Font, MissingFileFailsAndLeavesTheRecordEmpty) {
  std::string path = Path("none.kxf");
  EXPECT_EQ(kxgl::LoadFont(path.c_str(), &font_, 60), 0);
  EXPECT_NE(Log().find("gl:  loading font " + path + "=fail\n"), std::string::npos);
  EXPECT_EQ(font_.texture, nullptr);
  EXPECT_EQ(font_.lineHeight, 0);
}

TEST_F(Font, CorruptFilesAreRefused) {
  std::vector<uint8_t> good;
  ASSERT_EQ(kxgl::ReadFileBytes((kData + "arial10.kxf").c_str(), &good), 1);
  std::vector<uint8_t> shortFile(good.begin(), good.end() - 1);
  EXPECT_EQ(kxgl::ReadFont(shortFile.data(), shortFile.size(), &font_), 0);
  std::vector<uint8_t> outside = good;
  // Glyph 'A': its x set beyond the picture.
  size_t glyph = 20 + 'A' * 14;
  outside[glyph] = 0xFF;
  outside[glyph + 1] = 0x7F;
  EXPECT_EQ(kxgl::ReadFont(outside.data(), outside.size(), &font_), 0);
  EXPECT_NE(Log().find("glyph outside the picture"), std::string::npos);
  EXPECT_EQ(kxgl::ReadFont(good.data(), good.size(), &font_), 1);
}

// The plain font stands in for a missing one: every printable Latin-1
// character has a glyph with ink inside its own cell, none other has one,
// and the texts measure as the fixed advance says.
TEST_F(Font, BuiltinFontHasAGlyphForEveryPrintableCharacter) {
  ASSERT_EQ(kxgl::MakeBuiltinFont("plain", 15, &font_, 60), 1);
  EXPECT_EQ(font_.lineHeight, 15);
  EXPECT_GT(font_.ascent, font_.lineHeight / 2);
  ASSERT_NE(font_.texture, nullptr);
  EXPECT_STREQ(font_.texture->name, "plain");
  EXPECT_EQ(font_.texture->type, kxgl::kTypeRGBA);
  auto ink = [this](int code) {
    const kxglyph& g = font_.glyphs[code];
    int most = 0;
    for (int y = g.y; y < g.y + g.h; ++y)
      for (int x = g.x; x < g.x + g.w; ++x) most = std::max<int>(most, font_.pixels[y * font_.texWidth + x]);
    return most;
  };
  const int advance = Glyph('W').advance;
  for (int code = 0; code < 256; ++code) {
    SCOPED_TRACE(code);
    const bool printable = (code >= 32 && code < 127) || code >= 160;
    EXPECT_EQ(font_.glyphs[code].advance, printable ? advance : 0);
    const bool blank = !printable || code == ' ' || code == 0xA0;
    if (blank) EXPECT_EQ(ink(code), 0);
    else EXPECT_GT(ink(code), 200);
  }
  // Lower case and accents are glyphs of their own.
  auto same = [this](char a, char b) {
    const kxglyph &ga = Glyph(a), &gb = Glyph(b);
    for (int y = 0; y < ga.h; ++y)
      for (int x = 0; x < ga.w; ++x)
        if (font_.pixels[(ga.y + y) * font_.texWidth + ga.x + x] != font_.pixels[(gb.y + y) * font_.texWidth + gb.x + x])
          return false;
    return true;
  };
  EXPECT_FALSE(same('A', 'a'));
  EXPECT_FALSE(same('O', '0'));
  EXPECT_FALSE(same('A', '\xC4'));
  EXPECT_FALSE(same('\xC4', '\xC5'));
  kxgl::SetFont(&font_);
  EXPECT_EQ(kxgl::TextWidth("Speed: 67.4km/h"), 15 * advance);
  // A larger line draws larger glyphs.
  kxglfont large{};
  ASSERT_EQ(kxgl::MakeBuiltinFont("plain large", 24, &large, 60), 1);
  EXPECT_GT(large.glyphs[int{'W'}].advance, advance);
  kxgl::FreeFont(&large);
}
