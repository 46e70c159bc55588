#include "config_ui/widgets.h"

#include "gui/button.h"
#include "gui/containers.h"
#include "gui/display.h"
#include "gui/scroll.h"
#include "gui/text.h"
#include "gui/window.h"

namespace svconfig {

namespace {
constexpr int kFrameInset = 2;  // px between a list frame and the window's edges
}  // namespace

void SetFrame(kxwindow* window, const char* name, const char* title, int w, int h, int resizable,
              const char* onClose) {
  window->name = name;
  window->Title = title;
  window->W = w;
  window->H = h;
  window->EnableResize = resizable;
  window->OnClose = onClose;
}

kxbutton* AddButton(kxgraphic* parent, const char* name, const char* text, const char* command, int x, int right,
                    int width) {
  kxbutton* b = Add(parent, new kxbutton, name);
  if (!b) return nullptr;
  b->X = x;
  b->Y = kButtonLine;
  b->Xr = right;
  if (width > 0) b->W = width;
  b->Text = text;
  b->OnPress = command;
  return b;
}

kxframe* AddListFrame(kxgraphic* window, int y, int topMargin) {
  kxframe* frame = Add(window, new kxframe(kFrameInset, y, 0, 0));
  if (!frame) return nullptr;
  frame->Wr = kFrameInset;
  frame->Hr = topMargin;
  return frame;
}

kxtext* AddHeaderCell(kxframe* frame, const char* name, const char* text, int x, int w, int textWidth) {
  kxframe* cell = Add(frame, new kxframe(x, 0, w, kCellHeight));
  if (!cell) return nullptr;
  cell->Yr = 1;
  cell->raised = 1;
  return Add(cell, new kxtext(text, kFrameInset, 0, textWidth, kCellHeight), name);
}

kxscroll* AddListScroll(kxframe* frame, int topMargin, const kxcolor4& background, kxcolumn** rows) {
  kxscroll* scroll = Add(frame, new kxscroll(kFrameInset, kFrameInset, 0, 0));
  if (!scroll) return nullptr;
  scroll->Wr = kFrameInset;
  scroll->Hr = topMargin;
  scroll->background = background;
  scroll->ScrollToTop();
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
