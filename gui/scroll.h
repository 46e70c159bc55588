// kxscroll: shows its first child through a viewport with scroll bars that
// appear when the content does not fit. Bars, knobs and offsets follow
// integer pixel arithmetic; every divisor is checked, so a content or
// viewport of any size lays out. The vertical offset can be set to
// kScrollToTop, which the next layout turns into "content top at the top".
#pragma once

#include "gui/color.h"
#include "gui/graphic.h"

class kxscroll : public kxgraphic {
 public:
  static kxtype Type;
  static constexpr int kBar = 16;            // px, bar width and arrow size
  static constexpr int kScrollToTop = -7272; // vertical offset marker
  static constexpr int kMinKnob = 4;         // px
  static constexpr int kDragHorizontal = 1;
  static constexpr int kDragVertical = 2;

  int knobW = 0, knobH = 0;  // px, knob lengths of the horizontal and vertical bar
  int knobX = 0, knobY = 0;  // px, knob positions
  int barV = 0;              // px, width of the vertical bar (0 or 16)
  int barH = 0;              // px, height of the horizontal bar (0 or 16)
  int sx = 0, sy = 0;        // px, the content's position inside the viewport
  int cw = 64, ch = 64;      // px, content size taken at the last layout
  int dragMode = 0;
  int grabY = 0, grabX = 0;  // px, pointer to knob at the press
  kxcolor4 background = {0, 0, 0, 0};

  kxscroll();
  kxscroll(int x, int y, int w, int h);

  void CopyTo(kxnode* other) override;
  void Update() override;
  // The content is asked with the scroll offset; the bars are the scroll's own.
  void HitTest(int x, int y) override;
  // For the content: the pointer minus position and scroll offset.
  void ToLocal(int* x, int* y) override;
  void OnLeftDown() override;
  void OnLeftDouble() override { OnLeftDown(); }
  void OnLeftUp() override { dragMode = 0; }
  void OnMove() override;
  // Holding the button on an arrow or the track repeats it on each tick.
  void OnHover(int count) override;
  void Draw(int ox, int oy) override;

  // The next layout shows the top of the content.
  void ScrollToTop() { sy = kScrollToTop; }
  // The pointer relative to the scroll widget itself.
  void PointerHere(int* x, int* y);
};
