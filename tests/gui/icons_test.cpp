// Icon sheets: cell coordinates, loading (the second sheet turned in
// memory), and the generated cells the toolkit draws.
#include "gui/icons.h"

#include <cstring>

#include "graphics/texture_table.h"
#include "gui_support.h"

namespace {

class IconsTest : public kxtest::guitest {
 protected:
  // Alpha of texel (x, y) of a cell as the GUI samples it: (0, 0) is the
  // cell's lower-left on screen, at texture t0.
  int CellAlpha(const kxtexture* sheet, int n, int x, int y) {
    kxgui::iconcell c = kxgui::IconCell(n);
    int column = static_cast<int>(c.s0 * 256.0f + 0.5f) + x;
    // t runs from row 0 of the texels (t = 0) to the last (t = 1).
    int row = static_cast<int>(c.t0 * 256.0f + 0.5f) - 1 - y;
    return sheet->pixels[(static_cast<size_t>(row) * sheet->width + column) * 4 + 3];
  }
  int CellCoverage(const kxtexture* sheet, int n) {
    int covered = 0;
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 16; ++x) covered += CellAlpha(sheet, n, x, y) > 0;
    return covered;
  }
};

TEST_F(IconsTest, CellCoordinatesCountRowsFromTheTop) {
  kxgui::iconcell c = kxgui::IconCell(17);
  EXPECT_FLOAT_EQ(c.s0, 0.0625f);
  EXPECT_FLOAT_EQ(c.s1, 0.125f);
  EXPECT_FLOAT_EQ(c.t0, 0.9375f);
  EXPECT_FLOAT_EQ(c.t1, 0.875f);
  kxgui::iconcell close = kxgui::IconCell(0);
  EXPECT_FLOAT_EQ(close.t0, 1.0f);
  EXPECT_FLOAT_EQ(close.s1, 0.0625f);
  kxgui::iconcell window = kxgui::IconCell(64);
  EXPECT_FLOAT_EQ(window.s0, 0.0f);
  EXPECT_FLOAT_EQ(window.t0, 0.75f);
}

TEST_F(IconsTest, BothSheetsLoadAsRgbaAndTheSecondIsTurnedOnce) {
  ASSERT_EQ(kxgui::LoadIcons(), 1);
  kxtexture* first = kxgui::IconSheet(0);
  kxtexture* second = kxgui::IconSheet(1);
  ASSERT_NE(first, nullptr);
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(first->width, 256);
  EXPECT_EQ(first->height, 256);
  EXPECT_EQ(first->type, 4);
  EXPECT_EQ(first->filter, 61);
  EXPECT_EQ(first->wrapS, 71);
  EXPECT_EQ(first->mipmap, 0);
  size_t bytes = 256u * 256u * 4u;
  // The second file is the first upside down: once turned, both agree.
  EXPECT_EQ(std::memcmp(first->pixels, second->pixels, bytes), 0);
  kxgui::LoadIcons();  // a second call must not turn it back
  EXPECT_EQ(std::memcmp(first->pixels, second->pixels, bytes), 0);
}

TEST_F(IconsTest, EveryIconTheToolkitDrawsHasACell) {
  ASSERT_EQ(kxgui::LoadIcons(), 1);
  const kxtexture* sheet = kxgui::IconSheet(0);
  for (int n : {0, 2, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 64}) {
    EXPECT_GE(CellCoverage(sheet, n), 8) << "icon " << n;
  }
  EXPECT_EQ(CellCoverage(sheet, 1), 0);
  EXPECT_EQ(CellCoverage(sheet, 63), 0);
}

TEST_F(IconsTest, IconsStandUprightAtTheirCells) {
  ASSERT_EQ(kxgui::LoadIcons(), 1);
  const kxtexture* sheet = kxgui::IconSheet(0);
  // The window icon: its blue title bar is at the top of the cell.
  kxgui::iconcell c = kxgui::IconCell(64);
  int column = static_cast<int>(c.s0 * 256.0f) + 5;
  int top = static_cast<int>(c.t1 * 256.0f) + 3;      // 3 texels below the cell's top on screen
  int bottom = static_cast<int>(c.t0 * 256.0f) - 4;   // 3 texels above its bottom
  const uint8_t* t = &sheet->pixels[(static_cast<size_t>(top) * 256 + column) * 4];
  const uint8_t* b = &sheet->pixels[(static_cast<size_t>(bottom) * 256 + column) * 4];
  EXPECT_LT(t[0], 64);
  EXPECT_GT(t[2], 100);
  EXPECT_GT(b[0], 200);
  // The check box sits on the cell's bottom row, where the GUI expects it.
  EXPECT_GT(CellAlpha(sheet, 4, 5, 0), 0);
  EXPECT_EQ(CellAlpha(sheet, 4, 5, 15), 0);
}

}  // namespace
