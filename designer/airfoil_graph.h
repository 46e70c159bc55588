// The "Airfoil Properties" window and its graph: an airfoil's lift (green),
// drag (red) and moment (blue) coefficients over the angle of attack from
// -180 to 180 degrees, one pixel per degree, 100 pixels per unit of
// coefficient about the middle line.
#pragma once

#include "gui/graphic.h"
#include "gui/window.h"

class kxdairfoil;

class svairfoilgraph : public kxgraphic {
 public:
  static kxtype Type;  // made only by code
  static constexpr int kWidth = 600;   // px
  static constexpr int kHeight = 400;  // px

  kxdairfoil* airfoil = nullptr;  // null: only the axes

  svairfoilgraph(int x, int y);
  void Draw(int ox, int oy) override;

  // The graph's height of a coefficient: 100 c + 200, truncated toward zero.
  static int Height(float coefficient);
};

class svairfoilwindow : public kxwindow {
 public:
  static kxtype Type;  // made only by code

  svairfoilgraph* graph = nullptr;  // a child of the window

  svairfoilwindow();
};
