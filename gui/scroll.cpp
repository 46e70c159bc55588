#include "gui/scroll.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "gui/gui.h"
#include "gui/gui_state.h"
#include "gui/icons.h"
#include "gui/paint.h"
#include "gui/paint_image.h"

kxtype kxscroll::Type("kxscroll", sizeof(kxscroll), kxcreate<kxscroll>);

namespace {

constexpr int kRepeatAfter = 2;  // hover ticks before a held button repeats
constexpr int kKnobSpare = 33;   // px of a bar that the knob can never use: two arrows and one
constexpr int kButtonValue = 2;  // pointing-device value that holds the left button

// Arrow cells of the first sheet.
const kxgui::iconcell kArrowDown = {0.75f, 1.0f, 0.8125f, 0.9375f};
const kxgui::iconcell kArrowUp = {0.8125f, 1.0f, 0.875f, 0.9375f};
const kxgui::iconcell kArrowRight = {0.875f, 1.0f, 0.9375f, 0.9375f};
const kxgui::iconcell kArrowLeft = {0.9375f, 1.0f, 1.0f, 0.9375f};

// a * b / d in integers, truncated toward zero like the int arithmetic it
// stands for; 0 when d is not positive, so no layout can divide by zero.
int MulDiv(int64_t a, int64_t b, int64_t d) {
  if (d <= 0) return 0;
  int64_t r = a * b / d;
  return static_cast<int>(std::clamp<int64_t>(r, INT32_MIN / 2, INT32_MAX / 2));
}

void Bevel(int x0, int y0, int x1, int y1) {
  kxgui::SetPaletteColor(11);
  kxgui::FillRect(x0, y0, x1, y1);
  kxgui::BevelEdges(x0, y0, x1, y1, kxgui::kWhite, kxgui::kBlack);
}

}  // namespace

kxscroll::kxscroll() { type = &Type; }
kxscroll::kxscroll(int x, int y, int w, int h) : kxgraphic(x, y, w, h) { type = &Type; }

void kxscroll::CopyTo(kxnode* other) {
  kxgraphic::CopyTo(other);
  if (kxscroll* s = dynamic_cast<kxscroll*>(other)) s->background = background;
}

void kxscroll::Update() {
  kxgraphic::Update();
  if (kxgraphic* content = kxgraphic::Of(firstChild)) {
    cw = content->W;
    ch = content->H;
  }
  barH = W < cw ? kBar : 0;
  barV = H - barH < ch ? kBar : 0;
  if (W - barV < cw) barH = kBar;
  int vw = W - barV, vh = H - barH;  // viewport
  knobW = std::max(kMinKnob, MulDiv(vw, vw - 2 * kBar, cw));
  knobH = std::max(kMinKnob, MulDiv(vh, vh - 2 * kBar, ch));
  if (!barH) {
    sx = 0;
  } else {
    sx = std::clamp(sx, vw - cw, 0);
    knobX = kBar - MulDiv(sx, (W - knobW - kKnobSpare) - barV, (cw - W) + barV);
  }
  if (barV) {
    if (sy == kScrollToTop) sy = H - ch;
    sy = std::clamp(sy, H - ch, barH);
    knobY = barH + kBar + MulDiv(barH - sy, (H - knobH - kKnobSpare) - barH, (ch - H) + barH);
  } else {
    sy = H - ch;
  }
}

void kxscroll::HitTest(int x, int y) {
  int lx = x - X, ly = y - Y;
  if (!kxgui::Hot && lx >= 0 && lx < W - barV && ly > barH && ly < H) {
    kxnode* child = firstChild;
    while (child && !kxgui::Hot) {
      kxnode* next = child->nextSibling;
      if (kxgraphic* g = kxgraphic::Of(child)) g->HitTest(lx - sx, ly - sy);
      child = next;
    }
  }
  if (!kxgui::Hot && lx >= 0 && lx < W && ly >= 0 && ly < H) kxgui::Hot = this;
}

void kxscroll::PointerHere(int* x, int* y) {
  kxgraphic::ToLocal(x, y);
}

void kxscroll::ToLocal(int* x, int* y) {
  kxgraphic::ToLocal(x, y);
  *x -= sx;
  *y -= sy;
}

void kxscroll::OnLeftDown() {
  int x = 0, y = 0;
  PointerHere(&x, &y);
  if (barH && y < kBar) {
    if (x < kBar) {
      sx += kBar;
    } else if (x < knobX) {
      sx += W;
    } else if (x < knobX + knobW) {
      dragMode = kDragHorizontal;
      grabX = x - knobX;
    } else if (x < W - barV - kBar) {
      sx -= W;
    } else if (x < W - barV) {
      sx -= kBar;
    }
  }
  if (barV && x > W - kBar) {
    if (y > H - kBar) {
      sy -= kBar;
    } else if (y > knobY + knobH) {
      sy -= H;
    } else if (y > knobY) {
      dragMode = kDragVertical;
      grabY = y - knobY;
    } else if (y > barH + kBar) {
      sy += H;
    } else if (y > barH) {
      sy += kBar;
    }
  }
  Update();
}

void kxscroll::OnMove() {
  if (!dragMode) return;
  int x = 0, y = 0;
  PointerHere(&x, &y);
  if (dragMode == kDragHorizontal) {
    sx = MulDiv(cw - W + barV, grabX - x + kBar, (W - knobW - kKnobSpare) - barV);
  } else if (dragMode == kDragVertical) {
    sy = MulDiv(ch - H + barH, grabY - y + kBar + barH, (H - knobH - kKnobSpare) - barH) + barH;
  }
  Update();
}

void kxscroll::OnHover(int count) {
  kxgraphic::OnHover(count);
  if (count > kRepeatAfter && kxgui::PointingDevice) {
    float button = kxgui::PointingDevice[kButtonValue];
    if (std::isfinite(button) && button != 0) OnLeftDown();
  }
}

void kxscroll::Draw(int ox, int oy) {
  int ax = ox + X, ay = oy + Y;
  if (background.a != 0) {
    kxgui::SetColor(background);
    kxgui::FillRect(ax, ay, ax + W, ay + H);
  }
  if (barV) {
    kxgui::SetPaletteColor(8);
    kxgui::FillRect(ax + W - kBar, ay, ax + W, ay + H);
    kxgui::SetPaletteColor(1);
    kxgui::DrawIconCell(kArrowDown, ax + W - kBar, ay + barH);
    kxgui::DrawIconCell(kArrowUp, ax + W - kBar, ay + H - kBar);
    Bevel(ax + W - kBar, ay + knobY, ax + W, ay + knobY + knobH);
  }
  if (barH) {
    kxgui::SetPaletteColor(8);
    kxgui::FillRect(ax, ay, ax + W - barV, ay + kBar);
    kxgui::SetPaletteColor(1);
    kxgui::DrawIconCell(kArrowLeft, ax, ay);
    kxgui::DrawIconCell(kArrowRight, ax + W - barV - kBar, ay);
    Bevel(ax + knobX, ay, ax + knobX + knobW, ay + kBar);
  }
  kxgui::ClipOn(ax, ay + barH, W - barV, H - barH);
  DrawChildren(ax + sx, ay + sy);
  kxgui::ClipOff();
}
