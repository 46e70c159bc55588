// make_icons: paints the GUI's two icon sheets.
//   make_icons <folder>   writes <folder>/kxicons.bmp and <folder>/kxicons2.bmp
//
// Both sheets are 256 x 256 RGBA of 16 x 16 cells. The GUI draws icon n of
// the first sheet from column n mod 16 and grid row n / 16 with texture t
// running from 1 at grid row 0; since our texture table uploads the
// picture's top row at t = 0, grid row r is the r-th band from the picture's
// bottom, each icon upright. The second sheet is turned upside down in
// memory when it loads, so it is written as the first sheet upside down.
// Icons are white or grey where the GUI tints them with the current colour,
// and carry their own colours where it draws them in white.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>

#include "graphics/image.h"

namespace {

constexpr int kSide = 256;  // texels
constexpr int kCell = 16;   // texels
constexpr int kGrid = 16;   // cells per side

struct rgba {
  uint8_t r, g, b, a;
};
const rgba kWhite = {255, 255, 255, 255};
const rgba kBlack = {0, 0, 0, 255};
const rgba kLight = {204, 204, 204, 255};
const rgba kShade = {128, 128, 128, 255};
const rgba kPressed = {170, 170, 170, 255};
const rgba kTitle = {0, 0, 128, 255};
const rgba kLine = {128, 128, 128, 255};

// One cell of the first sheet; (x, y) from the cell's lower-left, y up.
class cell {
 public:
  cell(kximage& sheet, int n) : sheet_(sheet), column_(n % kGrid), row_(n / kGrid) {}
  void Put(int x, int y, rgba c) {
    if (x < 0 || y < 0 || x >= kCell || y >= kCell) return;
    int px = column_ * kCell + x;
    int py = (kGrid - 1 - row_) * kCell + (kCell - 1 - y);  // picture rows run top-down
    uint8_t* p = &sheet_.pixels[(static_cast<size_t>(py) * kSide + px) * 4];
    p[0] = c.r, p[1] = c.g, p[2] = c.b, p[3] = c.a;
  }
  void Fill(int x0, int y0, int x1, int y1, rgba c) {
    for (int y = y0; y <= y1; ++y)
      for (int x = x0; x <= x1; ++x) Put(x, y, c);
  }
  // A raised (or sunken) box from (x0, y0) to (x1, y1) inclusive.
  void Bevel(int x0, int y0, int x1, int y1, rgba face, bool sunken) {
    Fill(x0, y0, x1, y1, face);
    rgba lit = sunken ? kShade : kWhite, dark = sunken ? kWhite : kBlack;
    for (int x = x0; x <= x1; ++x) Put(x, y1, lit), Put(x, y0, dark);
    for (int y = y0; y <= y1; ++y) Put(x0, y, lit), Put(x1, y, dark);
  }
  void Line(int x0, int y0, int x1, int y1, rgba c) {
    int steps = std::max(std::abs(x1 - x0), std::abs(y1 - y0));
    for (int i = 0; i <= steps; ++i) {
      float t = steps ? static_cast<float>(i) / static_cast<float>(steps) : 0.0f;
      Put(static_cast<int>(std::lround(x0 + (x1 - x0) * t)), static_cast<int>(std::lround(y0 + (y1 - y0) * t)), c);
    }
  }

 private:
  kximage& sheet_;
  int column_, row_;
};

void CloseBox(cell c) {
  c.Bevel(1, 1, 14, 14, kLight, false);
  for (int i = 0; i < 7; ++i) {
    c.Put(4 + i, 4 + i, kBlack), c.Put(5 + i, 4 + i, kBlack);
    c.Put(4 + i, 10 - i, kBlack), c.Put(5 + i, 10 - i, kBlack);
  }
}

// A white mark the GUI tints: black in a list, white on the highlight.
void CheckMark(cell c) {
  for (int i = 0; i < 3; ++i) c.Line(3, 8 - i, 6, 5 - i, kWhite);
  for (int i = 0; i < 3; ++i) c.Line(6, 5 - i, 12, 11 - i, kWhite);
}

void TickInBox(cell& c) {
  for (int i = 0; i < 2; ++i) {
    c.Line(3, 6 - i, 5, 4 - i, kBlack);
    c.Line(5, 4 - i, 9, 8 - i, kBlack);
  }
}

// The GUI draws check boxes 6 px below the row's middle: the 12 px box sits
// at the cell's bottom.
void CheckBox(cell c, bool ticked, bool pressed) {
  c.Fill(1, 0, 12, 11, pressed ? kPressed : kWhite);
  for (int i = 1; i <= 12; ++i) c.Put(i, 11, kShade), c.Put(i, 0, kWhite);
  for (int i = 0; i <= 11; ++i) c.Put(1, i, kShade), c.Put(12, i, kWhite);
  for (int i = 2; i <= 11; ++i) c.Put(i, 10, kBlack);
  for (int i = 1; i <= 10; ++i) c.Put(2, i, kBlack);
  if (ticked) TickInBox(c);
}

void OptionButton(cell c, bool set, bool pressed) {
  const float cx = 6.5f, cy = 5.5f, r = 5.5f;
  for (int y = 0; y < 12; ++y) {
    for (int x = 1; x < 13; ++x) {
      float dx = static_cast<float>(x) + 0.5f - cx, dy = static_cast<float>(y) + 0.5f - cy;
      float d = std::sqrt(dx * dx + dy * dy);
      if (d > r) continue;
      rgba edge = dy > -dx ? kShade : kWhite;  // dark above-left, light below-right
      c.Put(x, y, d > r - 1.2f ? edge : (pressed ? kPressed : kWhite));
      if (set && d < 2.2f) c.Put(x, y, kBlack);
    }
  }
}

// Arrow buttons: 0 down, 1 up, 2 right, 3 left.
void Arrow(cell c, int direction) {
  c.Bevel(0, 0, 15, 15, kLight, false);
  for (int i = 0; i < 4; ++i) {
    int a = 5 + i, from = 4 + i, to = 11 - i;
    for (int k = from; k <= to; ++k) {
      switch (direction) {
        case 0: c.Put(k, 15 - a, kBlack); break;  // wide at the top: points down
        case 1: c.Put(k, a, kBlack); break;
        case 2: c.Put(a, k, kBlack); break;
        default: c.Put(15 - a, k, kBlack); break;
      }
    }
  }
}

// Tree connectors. The row's icon is 16 px high; the connector joins the
// middle of the row to the next icon 16 px to the right of the line.
void TreeVertical(cell& c, int y0, int y1) {
  for (int y = y0; y <= y1; y += 2) c.Put(7, y, kLine);
}
void TreeConnector(cell c, bool last, int expander) {
  TreeVertical(c, last ? 8 : 0, 15);
  for (int x = 8; x <= 15; x += 2) c.Put(x, 8, kLine);
  if (expander == 0) return;
  c.Fill(3, 4, 11, 12, kWhite);
  for (int i = 3; i <= 11; ++i) c.Put(i, 4, kShade), c.Put(i, 12, kShade), c.Put(3, i + 1, kShade), c.Put(11, i + 1, kShade);
  for (int x = 5; x <= 9; ++x) c.Put(x, 8, kBlack);
  if (expander == 1) {
    for (int y = 6; y <= 10; ++y) c.Put(7, y, kBlack);
  }
}

void WindowIcon(cell c) {
  c.Fill(1, 2, 14, 13, kWhite);
  c.Fill(1, 10, 14, 13, kTitle);
  for (int i = 1; i <= 14; ++i) c.Put(i, 1, kBlack), c.Put(i, 14, kBlack);
  for (int i = 1; i <= 14; ++i) c.Put(0, i, kBlack), c.Put(15, i, kBlack);
  c.Fill(11, 11, 13, 12, kLight);
  for (int y = 4; y <= 8; y += 2) c.Line(3, y, 12, y, kShade);
}

kximage FirstSheet() {
  kximage sheet;
  sheet.width = sheet.height = kSide;
  sheet.channels = 4;
  sheet.pixels.assign(static_cast<size_t>(kSide) * kSide * 4, 0);
  CloseBox(cell(sheet, 0));
  CheckMark(cell(sheet, 2));
  for (int i = 0; i < 4; ++i) CheckBox(cell(sheet, 4 + i), i & 1, i >= 2);
  for (int i = 0; i < 4; ++i) OptionButton(cell(sheet, 8 + i), i & 1, i >= 2);
  for (int i = 0; i < 4; ++i) Arrow(cell(sheet, 12 + i), i);
  {
    cell line(sheet, 16);
    TreeVertical(line, 0, 15);
  }
  TreeConnector(cell(sheet, 17), false, 0);
  TreeConnector(cell(sheet, 18), true, 0);
  TreeConnector(cell(sheet, 19), false, 1);
  TreeConnector(cell(sheet, 20), true, 1);
  TreeConnector(cell(sheet, 21), false, 2);
  TreeConnector(cell(sheet, 22), true, 2);
  WindowIcon(cell(sheet, 64));
  return sheet;
}

kximage UpsideDown(const kximage& in) {
  kximage out = in;
  size_t row = static_cast<size_t>(in.width) * in.channels;
  for (int y = 0; y < in.height; ++y) {
    std::copy(in.pixels.begin() + static_cast<long>(y * row), in.pixels.begin() + static_cast<long>((y + 1) * row),
              out.pixels.begin() + static_cast<long>((in.height - 1 - y) * row));
  }
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_icons <folder>\n");
    return 2;
  }
  std::string folder = argv[1];
  kximage first = FirstSheet();
  if (!kxgl::WriteBmp((folder + "/kxicons.bmp").c_str(), first) ||
      !kxgl::WriteBmp((folder + "/kxicons2.bmp").c_str(), UpsideDown(first))) {
    std::fprintf(stderr, "make_icons: cannot write into %s\n", folder.c_str());
    return 1;
  }
  return 0;
}
