// The plain font: each glyph is a few straight strokes on a small grid,
// drawn into the alpha picture with soft edges at the asked line height.
//
// The grid: x from 0 to 4 across the glyph; y from 0 to 9 upwards, with the
// baseline at 2 and the top of a capital at 8. A glyph's text is a list of
// strokes separated by blanks; a stroke is a run of points, each two digits
// (x then y), joined by straight lines; a single point is a dot.
#include "graphics/builtin_font.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string_view>
#include <vector>

#include "core/hooks.h"
#include "graphics/reserve_bridge.h"

namespace kxgl {
namespace {

constexpr const char* kReserveName = "kxglfont";
constexpr int kCellsPerRow = 16;  // 16 x 16 cells, one per byte value
constexpr int kFirstPrintable = 32;
constexpr float kUnitsPerLine = 12.0f;     // grid units in one line height
constexpr float kBaselineY = 2.0f;         // grid y of the baseline
constexpr float kDescentUnits = 2.0f;      // line box below the baseline, in units
constexpr float kGlyphUnits = 4.0f;        // grid width of a glyph
constexpr float kAdvanceUnits = 6.0f;      // from one glyph to the next
constexpr float kSmallCapsScale = 2.0f / 3.0f;  // lower case: capitals this high
constexpr float kCapitalTop = 8.0f;
constexpr float kAccentGap = 0.8f;         // units from a letter's top to its accent, and its height
constexpr float kDotUnits = 0.5f;          // height of a dot
// Stroke half width in pixels: thin at small sizes, growing with the line.
constexpr float kHalfWidthBase = 0.45f;
constexpr float kHalfWidthPerPixel = 0.03f;

// Glyphs of the characters 32 to 126; the lower case takes the capitals'.
constexpr const char* kAscii[] = {
    "",                                   // space
    "2824 22",                            // !
    "1817 3837",                          // "
    "1317 3337 0444 0646",                // #
    "473818070615354443321203 2921",      // $
    "0248 0818170708 3343423233",         // %
    "4216172837360403122244",             // &
    "2827",                               // '
    "38272332",                           // (
    "18272312",                           // )
    "2723 0644 0446",                     // *
    "2327 0545",                          // +
    "232211",                             // ,
    "1535",                               // -
    "22",                                 // .
    "0248",                               // /
    "120307183847433212 1337",            // 0
    "172822 1232",                        // 1
    "07183847460242",                     // 2
    "07183847463515 354443321203",        // 3
    "32380444",                           // 4
    "4808053544433202",                   // 5
    "4738180703123243443505",             // 6
    "084812",                             // 7
    "15060718384746351504031232434435",   // 8
    "45150607183847433212",               // 9
    "26 23",                              // :
    "26 232211",                          // ;
    "470543",                             // <
    "0444 0646",                          // =
    "074503",                             // >
    "07183847462524 22",                  // ?
    "34141636334347381807031232",         // @
    "0206284642 0545",                    // A
    "02083847463505 3544433202",          // B
    "4738180703123243",                   // C
    "02083847433202",                     // D
    "48080242 0535",                      // E
    "480802 0535",                        // F
    "47381807031232434525",               // G
    "0208 4842 0545",                     // H
    "1838 2822 1232",                     // I
    "4843321203",                         // J
    "0208 4804 1542",                     // K
    "080242",                             // L
    "0208254842",                         // M
    "02084248",                           // N
    "120307183847433212",                 // O
    "02083847463505",                     // P
    "120307183847433212 2442",            // Q
    "02083847463505 2542",                // R
    "473818070615354443321203",           // S
    "0848 2822",                          // T
    "080312324348",                       // U
    "082248",                             // V
    "0812253248",                         // W
    "0842 0248",                          // X
    "0825 4825 2522",                     // Y
    "08480242",                           // Z
    "38181232",                           // [
    "0842",                               // backslash
    "18383212",                           // ]
    "062846",                             // ^
    "0141",                               // _
    "1827",                               // `
};
constexpr int kAsciiGlyphs = static_cast<int>(sizeof kAscii / sizeof kAscii[0]);
static_assert(kAsciiGlyphs == 'a' - kFirstPrintable);
constexpr const char* kAfterLowerCase[] = {
    "38272615242332",  // {
    "2921",            // |
    "18272635242312",  // }
    "06173546",        // ~
};

// Latin-1 160 to 255: the character drawn instead and the accent over it
// (` grave, ' acute, ^ circumflex, ~ tilde, : diaeresis, o ring, , cedilla).
constexpr std::string_view kUpperBase =
    " !cLoY|S Ca<--R-o+23 uP.,1o>///?"
    "AAAAAAACEEEEIIIIDNOOOOOx0UUUUYPB"
    "aaaaaaaceeeeiiiidnooooo/ouuuuypy";
constexpr std::string_view kUpperAccent =
    "        :           '           "
    "`'^~:o ,`'^:`'^: ~`'^~:  `'^:'  "
    "`'^~:o ,`'^:`'^: ~`'^~:  `'^:' :";
static_assert(kUpperBase.size() == 96 && kUpperAccent.size() == 96);

// Accents on their own grid: x 0..4, y 0 or 1 from just over the letter.
const char* AccentStrokes(char accent) {
  switch (accent) {
    case '`': return "1120";
    case '\'': return "2031";
    case '^': return "102130";
    case '~': return "00113041";
    case ':': return "11 31";
    case 'o': return "1030311110";
    default: return "";
  }
}
constexpr const char* kCedilla = "222111";  // on the letter's own grid

struct point {
  float x, y;  // pixels: x from the cell's left, y from the cell's top
};
struct segment {
  point a, b;
};

// Where grid points land in a cell of the asked size.
struct cellscale {
  float unit;       // pixels per grid unit
  float left;       // pixels from the cell's left to grid x 0
  float baseline;   // pixels from the cell's top to the baseline
};

point Place(const cellscale& s, float gx, float gy) { return {s.left + gx * s.unit, s.baseline - (gy - kBaselineY) * s.unit}; }

// Appends the strokes of text; each grid y goes through lift first.
template <class Lift>
void AddStrokes(const char* text, const cellscale& s, Lift lift, std::vector<segment>& out) {
  std::string_view rest(text);
  while (!rest.empty()) {
    size_t blank = rest.find(' ');
    std::string_view stroke = rest.substr(0, blank);
    rest.remove_prefix(blank == std::string_view::npos ? rest.size() : blank + 1);
    if (stroke.size() == 2) {  // a dot: a short upright line, so it shows as much as a stroke
      const float x = static_cast<float>(stroke[0] - '0'), y = static_cast<float>(stroke[1] - '0');
      out.push_back({Place(s, x, lift(y - kDotUnits / 2)), Place(s, x, lift(y + kDotUnits / 2))});
      continue;
    }
    point previous{};
    for (size_t i = 0; i + 1 < stroke.size(); i += 2) {
      point p = Place(s, static_cast<float>(stroke[i] - '0'), lift(static_cast<float>(stroke[i + 1] - '0')));
      if (i) out.push_back({previous, p});
      previous = p;
    }
  }
}

// The strokes of one byte value: none for one without a glyph.
std::vector<segment> Strokes(unsigned char code, const cellscale& s) {
  std::vector<segment> out;
  char accent = ' ';
  if (code >= 160) {
    accent = kUpperAccent[code - 160];
    code = static_cast<unsigned char>(kUpperBase[code - 160]);
  }
  const bool lower = code >= 'a' && code <= 'z';
  const char* strokes = "";
  if (code >= kFirstPrintable && code < 'a') strokes = kAscii[code - kFirstPrintable];
  else if (lower) strokes = kAscii[code - 'a' + 'A' - kFirstPrintable];
  else if (code > 'z' && code < 127) strokes = kAfterLowerCase[code - 'z' - 1];
  const float scale = lower ? kSmallCapsScale : 1.0f;
  AddStrokes(strokes, s, [scale](float y) { return kBaselineY + (y - kBaselineY) * scale; }, out);
  if (accent == ',') {
    AddStrokes(kCedilla, s, [](float y) { return y; }, out);
  } else if (accent != ' ') {
    const float top = kBaselineY + (kCapitalTop - kBaselineY) * scale + kAccentGap;
    AddStrokes(AccentStrokes(accent), s, [top](float y) { return top + y * kAccentGap; }, out);
  }
  return out;
}

float Distance(point p, const segment& g) {
  const float dx = g.b.x - g.a.x, dy = g.b.y - g.a.y;
  const float length2 = dx * dx + dy * dy;
  float t = length2 > 0.0f ? ((p.x - g.a.x) * dx + (p.y - g.a.y) * dy) / length2 : 0.0f;
  t = std::clamp(t, 0.0f, 1.0f);
  const float ex = g.a.x + t * dx - p.x, ey = g.a.y + t * dy - p.y;
  return std::sqrt(ex * ex + ey * ey);
}

// Coverage of every texel of a cell by the strokes, with a soft edge one
// texel wide.
void DrawCell(const std::vector<segment>& strokes, float halfWidth, int width, int height, uint8_t* cell,
              int stride) {
  for (int row = 0; row < height; ++row) {
    for (int column = 0; column < width; ++column) {
      const point centre{column + 0.5f, row + 0.5f};
      float nearest = 1e9f;
      for (const segment& g : strokes) nearest = std::min(nearest, Distance(centre, g));
      const float cover = std::clamp(halfWidth + 0.5f - nearest, 0.0f, 1.0f);
      cell[static_cast<size_t>(row) * stride + column] = static_cast<uint8_t>(std::lround(cover * 255.0f));
    }
  }
}

}  // namespace

int MakeBuiltinFont(const char* name, int lineHeight, kxglfont* font, int filter) {
  if (!font) return 0;
  FreeFont(font);
  lineHeight = std::clamp(lineHeight, kMinBuiltinLineHeight, kMaxBuiltinLineHeight);
  const float unit = lineHeight / kUnitsPerLine;
  const int advance = static_cast<int>(std::ceil(kAdvanceUnits * unit));
  const int descent = static_cast<int>(std::ceil(kDescentUnits * unit));
  const cellscale scale{unit, (advance - kGlyphUnits * unit) / 2.0f, static_cast<float>(lineHeight - descent)};
  const int texWidth = kCellsPerRow * advance, texHeight = kCellsPerRow * lineHeight;
  void* pixels = nullptr;
  if (!ReserveBytes(&pixels, static_cast<size_t>(texWidth) * texHeight, kReserveName)) return 0;
  std::memset(pixels, 0, static_cast<size_t>(texWidth) * texHeight);
  font->lineHeight = lineHeight;
  font->ascent = lineHeight - descent;
  font->texWidth = texWidth;
  font->texHeight = texHeight;
  font->pixels = static_cast<uint8_t*>(pixels);
  const float halfWidth = kHalfWidthBase + kHalfWidthPerPixel * lineHeight;
  for (int code = kFirstPrintable; code < 256; ++code) {
    if (code >= 127 && code < 160) continue;  // control characters
    kxglyph& g = font->glyphs[code];
    g.x = static_cast<int16_t>(code % kCellsPerRow * advance);
    g.y = static_cast<int16_t>(code / kCellsPerRow * lineHeight);
    g.w = static_cast<int16_t>(advance);
    g.h = static_cast<int16_t>(lineHeight);
    g.xoff = g.yoff = 0;
    g.advance = static_cast<int16_t>(advance);
    DrawCell(Strokes(static_cast<unsigned char>(code), scale), halfWidth, advance, lineHeight,
             font->pixels + static_cast<size_t>(g.y) * texWidth + g.x, texWidth);
  }
  return AttachFontTexture(name, font, filter);
}

}  // namespace kxgl
