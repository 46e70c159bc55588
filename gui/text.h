// kxtext: a one-line label with a text colour, an optional background and two
// click commands, optionally centred in or right-aligned to its parent. The
// vertical label (kxverticaltext) is a variant made only by code that reads
// upwards, turned 90 degrees counter-clockwise, clipped to its rectangle.
#pragma once

#include "core/string.h"
#include "gui/color.h"
#include "gui/graphic.h"

class kxtext : public kxgraphic {
 public:
  static kxtype Type;
  static constexpr int kMargin = 2;  // px between the text and the left edge

  kxstring Text;
  kxcolor4 textColor = {0, 0, 0, 1};
  kxcolor4 background = {0, 0, 0, 0};  // filled when its alpha is not 0
  kxstring onLeftDown;                 // set by the application
  kxstring onLeftDouble;
  int centre = 0;  // centred in the parent, sized to the text
  int right = 0;   // 2 px from the parent's right edge, sized to the text

  kxtext();
  // W = text width + 2, H = 20.
  kxtext(const char* text, int x, int y);
  kxtext(const char* text, int x, int y, int w, int h);

  // "Text", then the base names.
  kxvalueptr GetMember(const char* member, const kxargs& args) override;
  void CopyTo(kxnode* other) override;
  void Update() override;
  void OnLeftDown() override;
  void OnLeftDouble() override;
  // Background, then the label clipped to the widget, then the children.
  void Draw(int ox, int oy) override;

 protected:
  // The text at the widget's screen corner (ax, ay), colour and clip set.
  virtual void DrawLabel(int ax, int ay);
};

class kxverticaltext : public kxtext {
 public:
  static kxtype Type;  // made only by code, never registered

  kxverticaltext();
  kxverticaltext(const char* text, int x, int y, int w, int h);
  // Anchors and children only: the text runs along H, so W stays as set.
  void Update() override;

 protected:
  void DrawLabel(int ax, int ay) override;
};
