#include "gui/containers.h"

#include <algorithm>

#include "gui/gui_state.h"
#include "gui/paint.h"

kxtype kxrow::Type("kxrow", sizeof(kxrow), kxcreate<kxrow>);
kxtype kxcolumn::Type("kxcolumn", sizeof(kxcolumn), kxcreate<kxcolumn>);
kxtype kxflow::Type("kxflow", sizeof(kxflow), kxcreate<kxflow>);
kxtype kxframe::Type("kxframe", sizeof(kxframe), kxcreate<kxframe>);

namespace {

constexpr int kDefaultSide = 16;  // px of an empty row or column
constexpr int kFrameFillInset = 2;  // px

void FillIfVisible(const kxcolor4& c, int ax, int ay, int w, int h) {
  if (c.a == 0) return;
  kxgui::SetColor(c);
  kxgui::FillRect(ax, ay, ax + w, ay + h);
}

}  // namespace

// ---- kxrow ---------------------------------------------------------------------

kxrow::kxrow() : kxgraphic(0, 0, kDefaultSide, kDefaultSide) { type = &Type; }
kxrow::kxrow(int x, int y, int w, int h) : kxgraphic(x, y, w, h) { type = &Type; }

void kxrow::CopyTo(kxnode* other) {
  kxgraphic::CopyTo(other);
  if (kxrow* r = dynamic_cast<kxrow*>(other)) r->fill = fill, r->cellWidth = cellWidth;
}

void kxrow::Update() {
  kxgraphic::Update();
  int tallest = 0, x = 0;
  for (kxnode* n = firstChild; n; n = n->nextSibling) {
    kxgraphic* child = kxgraphic::Of(n);
    if (!child) continue;
    tallest = std::max(tallest, child->H);
    child->X = x;
    x += cellWidth != 0 ? cellWidth : child->W;
  }
  H = tallest;
  W = x;
}

void kxrow::Draw(int ox, int oy) {
  FillIfVisible(fill, ox + X, oy + Y, W, H);
  DrawChildren(ox + X, oy + Y);
}

// ---- kxcolumn ------------------------------------------------------------------

kxcolumn::kxcolumn() : kxgraphic(0, 0, kDefaultSide, kDefaultSide) { type = &Type; }
kxcolumn::kxcolumn(int x, int y, int w, int h) : kxgraphic(x, y, w, h) { type = &Type; }

void kxcolumn::CopyTo(kxnode* other) {
  kxgraphic::CopyTo(other);
  if (kxcolumn* c = dynamic_cast<kxcolumn*>(other)) c->fill = fill, c->cellHeight = cellHeight;
}

void kxcolumn::Update() {
  kxgraphic::Update();
  int widest = 0, y = 0;
  for (kxnode* n = firstChild; n; n = n->nextSibling) {
    if (kxgraphic* child = kxgraphic::Of(n)) widest = std::max(widest, child->X + child->W);
  }
  for (kxnode* n = lastChild; n; n = n->prevSibling) {
    kxgraphic* child = kxgraphic::Of(n);
    if (!child) continue;
    if (cellHeight > 0) {
      // The child keeps its offset inside its cell.
      int offset = ((child->Y % cellHeight) + cellHeight) % cellHeight;
      child->Y = y + offset;
      y += cellHeight;
    } else {
      child->Y = y;
      y += child->H;
    }
  }
  W = widest;
  H = y;
}

void kxcolumn::Draw(int ox, int oy) {
  FillIfVisible(fill, ox + X, oy + Y, W, H);
  DrawChildren(ox + X, oy + Y);
}

// ---- kxflow ----------------------------------------------------------------------

kxflow::kxflow() { type = &Type; }
kxflow::kxflow(int x, int y, int w, int h) : kxgraphic(x, y, w, h) { type = &Type; }

void kxflow::CopyTo(kxnode* other) {
  kxgraphic::CopyTo(other);
  if (kxflow* f = dynamic_cast<kxflow*>(other)) f->gapX = gapX, f->gapY = gapY;
}

void kxflow::Update() {
  kxgraphic::Update();
  int x = 0, top = 0, rowHeight = 0;
  for (kxnode* n = firstChild; n; n = n->nextSibling) {
    kxgraphic* child = kxgraphic::Of(n);
    if (!child) continue;
    // A child too wide for an empty row stays in it: wrapping there would
    // only leave a blank row above it.
    if (x > 0 && x + child->W >= W) {
      rowHeight = std::max(rowHeight, child->H);
      x = 0;
      top -= rowHeight + gapY;
      rowHeight = 0;
    }
    child->X = x;
    child->Y = top - child->H;
    rowHeight = std::max(rowHeight, child->H);
    W = std::max(W, child->X + child->W);
    x = child->X + child->W + gapX;
  }
  H = rowHeight - top;
  for (kxnode* n = firstChild; n; n = n->nextSibling) {
    if (kxgraphic* child = kxgraphic::Of(n)) child->Y += H;
  }
  Y = 0;
}

// ---- kxframe -----------------------------------------------------------------------

kxframe::kxframe() { type = &Type; }
kxframe::kxframe(int x, int y, int w, int h) : kxgraphic(x, y, w, h) { type = &Type; }

void kxframe::CopyTo(kxnode* other) {
  kxgraphic::CopyTo(other);
  if (kxframe* f = dynamic_cast<kxframe*>(other)) f->raised = raised, f->fill = fill;
}

void kxframe::Draw(int ox, int oy) {
  int ax = ox + X, ay = oy + Y;
  if (fill.a != 0) {
    kxgui::SetColor(fill);
    kxgui::FillRect(ax + kFrameFillInset, ay + kFrameFillInset, ax + W - kFrameFillInset, ay + H - kFrameFillInset);
  }
  kxgui::BevelEdges(ax, ay, ax + W, ay + H, kxgui::Palette(raised ? 1 : 0), kxgui::Palette(raised ? 0 : 1));
  DrawChildren(ax, ay);
}
