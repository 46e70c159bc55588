// Horizontal sliders: kxslider maps its value piecewise-linearly onto the
// track, half the track on each side of a centre value, with an optional snap
// zone that holds the knob at the centre; kxslidervalue also prints the value
// to the right of the track. The application sets the fields and reads Value.
#pragma once

#include "core/string.h"
#include "gui/graphic.h"

class kxslider : public kxgraphic {
 public:
  static kxtype Type;  // made only by code, never registered
  static constexpr int kKnobWidth = 5;   // px
  static constexpr int kTrackInset = 6;  // px of W that the track does not use

  kxstring command;     // run after a click or drag changes the value
  float keyStep = 0;    // value change of one arrow key
  int knob = 0;         // px from the left end of the track
  float minimum = -1, maximum = 1, centre = 0;
  float value = 0;
  int dragging = 0;
  int grab = 0;         // px from the knob's left edge to the pointer at the press
  int snapEnable = 0;
  int snapSide = 0;     // 0 free, 1 came from the left, 2 from the right
  int snapZone = 10;    // px on each side of the middle

  kxslider();
  kxslider(int x, int y, int w, int h);

  void CopyTo(kxnode* other) override;
  void OnLeftDown() override;
  void OnMove() override;
  void OnLeftUp() override;
  void OnKey(int character, int code) override;
  void Draw(int ox, int oy) override;

  int Track() const { return W - kTrackInset; }
  // Track fraction 0..1 of a value; 0.5 at the centre.
  float Fraction(float v) const;
  // The value of a track position in px, clamped to [minimum, maximum].
  float ValueAt(int x) const;
  // Knob from the value.
  void PlaceKnob();
  // A centre not strictly between minimum and maximum becomes their mean.
  void NormaliseCentre();
  // The knob position a drag to x' gives with the snap zone.
  int SnapPosition(int position);

 private:
  // The dispatch sends a move to the focus and to the hot widget, which are
  // the same while dragging; the command runs once per event.
  unsigned moveSerial_ = ~0u;
};

class kxslidervalue : public kxslider {
 public:
  static kxtype Type;  // made only by code, never registered

  kxstring format = "%.2f";  // printf format of the value

  kxslidervalue();
  kxslidervalue(int x, int y, int w, int h);
  void CopyTo(kxnode* other) override;
  void Draw(int ox, int oy) override;
  // The value as the format prints it; a format that is not one float
  // conversion prints "%.2f".
  kxstring ValueText() const;
};
