// svdesigncamera: the designer viewer's own camera, apart from the
// simulator's views. World z up; the camera looks along `view`, `left` points
// to the screen's left and `up` to its top, `pos` is the eye.
#pragma once

#include "core/vector.h"

class kxgeometricobject;

// A pick ray: the points under the pointer on the near and the far plane, w 0.
struct designray {
  kxvector4r nearPoint;
  kxvector4r farPoint;
};

struct svdesigncamera {
  // The viewer leaves this much of the window to the page strip below it
  // and the menu and toolbar strips above it.
  static constexpr int kViewerBottom = 82;    // px
  static constexpr int kStripsHeight = 136;   // px, both strips together

  int viewportX = 0, viewportY = 0;           // px, window, y up
  int viewportWidth = 800, viewportHeight = 600;  // px; at least 1 once set up
  float halfWidth = 0.03f, halfHeight = 0.03f;    // frustum half extent at the near plane
  float nearPlane = 0.1f, farPlane = 20.0f;       // m
  kxvector4r view = {0, 0, -1, 0};            // line of sight
  kxvector4r left = {0, 1, 0, 0};             // screen left
  kxvector4r up = {1, 0, 0, 0};               // screen up
  kxvector4r pos = {0, 0, 5, 1};              // eye, m
  kxgeometricobject* geometry = nullptr;      // what the viewer draws; null outside the designer

  // The viewer's place in a window of that size: from y 82 up to 54 px
  // below the top; never less than one pixel, so the frustum stays finite.
  void SetViewport(int windowWidth, int windowHeight);
  // Straight down on the origin from distance above it, world +x up on the
  // screen and -y to the right.
  void PlaceTop(float distance);
};
