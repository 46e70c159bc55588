// Signal indicators: kxgraph plots two signals in [-1, 1] over time,
// kxclickbox shows one as a horizontal bar (made only by code), and
// kxwindowosc plots a point from two signals in a window.
#pragma once

#include "core/string.h"
#include "gui/color.h"
#include "gui/graphic.h"
#include "gui/window.h"

class kxgraph : public kxgraphic {
 public:
  static kxtype Type;
  static constexpr int kRing = 400;  // samples per trace; columns beyond it stay unused

  const float* sourceA = nullptr;  // red trace
  const float* sourceB = nullptr;  // green trace
  int ringA[kRing] = {};           // px above the bottom
  int ringB[kRing] = {};

  kxgraph();
  void Draw(int ox, int oy) override;
  // Advances the write position that all graphs share and stores each set
  // source's height there.
  virtual void AddSample();

  // Columns in use: min(W, kRing), at least 1.
  int Columns() const;
  // trunc(clamp((v + 1) / 2, 0, 1) * H); a value that is no number reads as 0.
  int HeightOf(float value) const;
  static int writePosition;
};

class kxclickbox : public kxgraphic {
 public:
  static kxtype Type;  // never registered

  const float* value = nullptr;          // in [-1, 1]
  kxcolor4 background = {1, 1, 1, 1};
  kxcolor4 barA = {0, 1, 0, 1};          // at the left end
  kxcolor4 barB = {0, 0, 0, 0};          // towards which the bar's right end fades
  kxstring OnLeftDownText;
  kxstring OnLeftDoubleText;

  kxclickbox();
  kxclickbox(int x, int y, int w, int h);
  // "OnLeftDown", "OnLeftDouble", then the base names.
  kxvalueptr GetMember(const char* member, const kxargs& args) override;
  void CopyTo(kxnode* other) override;
  void OnLeftDown() override;
  void OnLeftDouble() override;
  void Draw(int ox, int oy) override;

  // The bar for a value: n whole pixels and the fraction f of the next.
  static void Bar(float v, int width, int* n, float* f);
};

class kxwindowosc : public kxwindow {
 public:
  static kxtype Type;
  static constexpr int kPlot = 200;    // px, side of the plot square
  static constexpr int kPlotLeft = 20; // px from the window's corner

  const float* sourceX = nullptr;
  const float* sourceY = nullptr;

  kxwindowosc();
  void Draw(int ox, int oy) override;
  // The plotted point inside the square, px; 0 without both sources.
  int Point(int* x, int* y) const;
};
