// What the configuration windows share beyond the simulator's window
// builders: a widget made, named and appended in one call, script members
// from methods and fields, a list's header cells, scroll and cells, and the
// colours of a list's selected and other rows.
#pragma once

#include <cstddef>
#include <cstring>

#include "core/arguments.h"
#include "core/reference.h"
#include "core/string.h"
#include "gui/color.h"
#include "gui/graphic.h"

class kxcolumn;
class kxframe;
class kxrow;
class kxscroll;
class kxtext;

namespace svconfig {

constexpr int kButtonLine = 10;  // px, y of the windows' buttons
constexpr int kCellHeight = 20;  // px of a list cell and a header cell
constexpr int kAllCells = 1 << 20;

// Makes widget the parent's last child, named when a name is given; null
// (and nothing made) without a widget or a parent.
template <class T>
T* Add(kxgraphic* parent, T* widget, const char* name = nullptr) {
  if (!widget) return nullptr;
  if (!parent) {
    delete widget;
    return nullptr;
  }
  if (name) widget->name = name;
  parent->AppendChild(widget);
  return widget;
}

// One script member of a window class W: its name and what it gives for
// the arguments (the void value for a command).
template <class W>
struct member {
  const char* name;
  kxvalueptr (*get)(W& window, const kxargs& args);
};
// The member of that name in a window's table; null when it has none.
template <class W, size_t N>
const member<W>* FindMember(const member<W> (&table)[N], const char* name) {
  for (const member<W>& m : table)
    if (std::strcmp(m.name, name) == 0) return &m;
  return nullptr;
}

// Members made from a window's method or text field: a command without
// arguments, with one or two integers (a missing one reads as -1, which no
// command takes), and a text member.
template <class W, void (W::*F)()>
kxvalueptr Command(W& w, const kxargs&) {
  (w.*F)();
  return kxvoid();
}
template <class W, void (W::*F)(int)>
kxvalueptr CommandInt(W& w, const kxargs& a) {
  (w.*F)(a.Int(0, -1));
  return kxvoid();
}
template <class W, void (W::*F)(int, int)>
kxvalueptr CommandIntInt(W& w, const kxargs& a) {
  (w.*F)(a.Int(0, -1), a.Int(1, -1));
  return kxvoid();
}
template <class W, kxstring W::*S>
kxvalueptr Text(W& w, const kxargs&) {
  return kxvalueptr(new kxstringref(&(w.*S)));
}

// px between a list's frame and the window's edges, and between the frame
// and its scroll.
constexpr int kListInset = 2;

// A header cell of a list frame: a frame at x, 1 px from the top, w wide,
// holding the text (x 2, textWidth wide).
kxtext* AddHeaderCell(kxframe* frame, const char* name, const char* text, int x, int w, int textWidth);
// The scroll below the header cells: x 2, y 2, 2 px from the right, topMargin
// from the top, filled with the colour; its column of rows is made too.
kxscroll* AddListScroll(kxframe* frame, int topMargin, const kxcolor4& background, kxcolumn** rows);

// A text cell of a list row, w x 20, running onPress on a left press and
// onDouble on a double click.
kxtext* AddCell(kxgraphic* row, const char* text, int w, const char* onPress, const char* onDouble);
// An empty widget that only takes w px in a row.
kxgraphic* AddSpacer(kxgraphic* row, int w);

// A row in the display's colours for a selected or a normal list line: the
// row's fill and the text of its first cells (at most cells of them; the walk
// stops at the first child that is no text).
void PaintRow(kxrow* row, bool selected, int cells = kAllCells);

}  // namespace svconfig
