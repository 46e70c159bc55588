// svdesigncamera: the designer viewer's own camera, apart from the
// simulator's views. World z up; the camera looks along `view`, `left` points
// to the screen's left and `up` to its top, `pos` is the eye. `view`, `left`
// and `up` form a right-handed frame (left x up = view) that every turn
// keeps orthonormal.
#pragma once

#include "core/matrix.h"
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
  // Farther than this from the origin a dolly goes no more.
  static constexpr float kDollyLimit = 15.0f;  // m
  // Pointer changes shorter than this (in the turn's scaled units) turn nothing.
  static constexpr float kLeastTurn = 1e-6f;

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
  // The frame as given (directions w 0, the eye w 1).
  void Place(const kxvector4r& sight, const kxvector4r& toLeft, const kxvector4r& toUp, const kxvector4r& eye);
  // Straight down on the origin from distance above it, world +x up on the
  // screen and -y to the right.
  void PlaceTop(float distance);

  // The ray through window pixel (px, py), y up.
  designray MouseRay(int px, int py) const;
  // World to eye coordinates: rows -left, up, -view, each with the eye's
  // offset, as an OpenGL matrix.
  kxmatrix ViewMatrix() const;
  // The eye pulled onto the sphere of that radius about the origin when it
  // lies beyond; w := 1.
  void PullBack(float radius);

  // The viewer modes' motions, from pointer changes in normalised screen
  // units (the screen spans -1..1 both ways).
  // Along the line of sight by step, then kept within 15 of the origin
  // (over all four components, w too).
  void Dolly(float step);
  // The eye sideways and up: the scene follows the pointer.
  void Shift(float dx, float dy);
  // Turns the camera in place about its own up and left axes, 0.4 rad per
  // half screen width and 0.3 per half height: the scene turns with the pointer.
  void Turn(float dx, float dy);
  // Turns axes and eye about the world origin, 2 rad per unit of pointer
  // travel: the aircraft turns with the pointer.
  void Orbit(float dx, float dy);
  // Turns the picture clockwise by angle (radians) about the line of sight.
  void Roll(float angle);

 private:
  // Turns view and left (and the eye when asked) by angle about axis, right
  // hand, then makes the frame orthonormal again.
  void Rotate(const kxvector4r& axis, float angle, bool withEye);
};
