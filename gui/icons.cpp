#include "gui/icons.h"

#include <GL/gl.h>

#include "graphics/font.h"
#include "graphics/gl_frame.h"
#include "graphics/texture_table.h"
#include "gui/gui.h"


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
    sheets[i] = kxgl::LoadTexture(kSheetPaths[i], kxgl::kTypeRGBA, kxgl::kFilterNearest, kxgl::kWrapClamp,
                                  kxgl::kWrapClamp, 0, 0);
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
  kxtexture* sheet = sheets[0];
  if (!kxgl::HasContext() || !sheet) return;
  if (!sheet->glName || !sheet->uploaded) kxgl::UploadTexture(sheet);
  if (!sheet->glName) return;
  glEnable(GL_TEXTURE_2D);
  glBindTexture(GL_TEXTURE_2D, sheet->glName);
  glBegin(GL_QUADS);
  glTexCoord2f(c.s0, c.t0);
  glVertex2i(x, y);
  glTexCoord2f(c.s1, c.t0);
  glVertex2i(x + kIconSize, y);
  glTexCoord2f(c.s1, c.t1);
  glVertex2i(x + kIconSize, y + kIconSize);
  glTexCoord2f(c.s0, c.t1);
  glVertex2i(x, y + kIconSize);
  glEnd();
  glDisable(GL_TEXTURE_2D);
}

void DrawIcon(int n, int x, int y) {
  if (n < 0 || n >= kIconCount) return;
  DrawIconCell(IconCell(n), x, y);
}

}  // namespace kxgui
