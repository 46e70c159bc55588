// The icon sheets: two 256 x 256 pictures of 16 x 16 cells, and the drawing
// of one cell. Icon n of the first sheet sits in column n mod 16 and grid row
// n / 16, row 0 at texture t = 1.
#pragma once

struct kxtexture;

namespace kxgui {

constexpr int kIconClose = 0;
constexpr int kIconCheck = 2;
constexpr int kIconCheckBox = 4;      // 4 clear, 5 ticked, 6 and 7 pressed
constexpr int kIconOption = 8;        // 8 clear, 9 set, 10 and 11 pressed
constexpr int kIconArrowDown = 12;
constexpr int kIconArrowUp = 13;
constexpr int kIconArrowRight = 14;
constexpr int kIconArrowLeft = 15;
constexpr int kIconTreeLine = 16;     // 16..22 tree connectors
constexpr int kIconWindow = 64;
constexpr int kIconCount = 256;
constexpr int kIconSize = 16;         // px

// Texture coordinates of a cell; t0 belongs to the cell's lower edge on screen.
struct iconcell {
  float s0, t0, s1, t1;
};
iconcell IconCell(int n);

// Loads both sheets (the second turned upside down in memory) once; later
// calls keep the loaded sheets. 1 when both loaded. Makes the GUI font
// current when it is loaded.
int LoadIcons();
kxtexture* IconSheet(int index);  // 0 or 1; null when not loaded
// Drops the sheets (program exit, tests).
void FreeIcons();

// Icon n of the first sheet as a 16 x 16 quad at (x, y) in the current colour.
void DrawIcon(int n, int x, int y);
void DrawIconCell(const iconcell& cell, int x, int y);

}  // namespace kxgui
