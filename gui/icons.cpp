#include "gui/icons.h"

#include "graphics/font.h"
#include "graphics/texture_table.h"
#include "gui/gui.h"
#include "gui/paint_image.h"

namespace kxgui {

namespace {

constexpr int kGrid = 16;  // cells per row and per column
constexpr float kCell = 1.0f / kGrid;
constexpr int kReverseRows = 1;  // MakeProceduralTexture mode
const char* const kSheetPaths[2] = {"texture/kxicons.bmp", "texture/kxicons2.bmp"};

kxtexture* sheets[2] = {nullptr, nullptr};

}  // namespace

iconcell IconCell(int n) {
  int column = n % kGrid, row = n / kGrid;
  iconcell c;
  c.s0 = static_cast<float>(column) * kCell;
  c.s1 = c.s0 + kCell;
  c.t0 = 1.0f - static_cast<float>(row) * kCell;
  c.t1 = c.t0 - kCell;
  return c;
}

int LoadIcons() {
  for (int i = 0; i < 2; ++i) {
    if (sheets[i]) continue;
    sheets[i] = kxgl::LoadTexture(kSheetPaths[i]);
    // Turned once, when it is loaded: a second call must not turn it back.
    if (sheets[i] && i == 1) kxgl::MakeProceduralTexture(sheets[i], kReverseRows, 0.0f);
  }
  if (kxglfont* font = GuiFont(); font && font->lineHeight > 0) kxgl::SetFont(font);
  return sheets[0] && sheets[1] ? 1 : 0;
}

kxtexture* IconSheet(int index) { return index == 0 || index == 1 ? sheets[index] : nullptr; }

void FreeIcons() {
  for (kxtexture*& sheet : sheets) {
    kxgl::FreeTexture(sheet);
    sheet = nullptr;
  }
}

void DrawIconCell(const iconcell& c, int x, int y) {
  TexturedRect(sheets[0], x, y, x + kIconSize, y + kIconSize, {c.s0, c.t0, c.s1, c.t1});
}

void DrawIcon(int n, int x, int y) {
  if (n < 0 || n >= kIconCount) return;
  DrawIconCell(IconCell(n), x, y);
}

}  // namespace kxgui
