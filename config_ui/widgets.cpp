#include "config_ui/widgets.h"

#include "gui/containers.h"
#include "gui/display.h"
#include "gui/scroll.h"
#include "gui/text.h"
#include "sim/windows/window_functions.h"

namespace svconfig {

kxtext* AddHeaderCell(kxframe* frame, const char* name, const char* text, int x, int w, int textWidth) {
  kxframe* cell = Add(frame, new kxframe(x, 0, w, kCellHeight));
  if (!cell) return nullptr;
  cell->Yr = 1;
  cell->raised = 1;
  return Add(cell, new kxtext(text, kListInset, 0, textWidth, kCellHeight), name);
}

kxscroll* AddListScroll(kxframe* frame, int topMargin, const kxcolor4& background, kxcolumn** rows) {
  kxscroll* scroll = sim::AddScroll(frame, kListInset, kListInset, 0, 0, kListInset, topMargin);
  if (!scroll) return nullptr;
  scroll->background = background;
  kxcolumn* column = Add(scroll, new kxcolumn(0, 0, 0, 0));
  if (rows) *rows = column;
  return scroll;
}

kxtext* AddCell(kxgraphic* row, const char* text, int w, const char* onPress, const char* onDouble) {
  kxtext* cell = Add(row, new kxtext(text, 0, 0, w, kCellHeight));
  if (!cell) return nullptr;
  if (onPress) cell->onLeftDown = onPress;
  if (onDouble) cell->onLeftDouble = onDouble;
  return cell;
}

kxgraphic* AddSpacer(kxgraphic* row, int w) { return Add(row, new kxgraphic(0, 0, w, kCellHeight)); }

void PaintRow(kxrow* row, bool selected, int cells) {
  if (!row) return;
  row->fill = kxgui::Palette(selected ? kxgui::kColorSelection : kxgui::kColorListBackground);
  const kxcolor4& text = kxgui::Palette(selected ? kxgui::kColorSelectionText : kxgui::kColorText);
  int n = 0;
  for (kxnode* child = row->firstChild; child && n < cells; child = child->nextSibling, ++n) {
    kxtext* cell = dynamic_cast<kxtext*>(child);
    if (!cell) break;
    cell->textColor = text;
  }
}

}  // namespace svconfig
