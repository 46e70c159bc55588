// kxlistitem: a text that wraps at word boundaries inside its rectangle,
// lines from the top. Made only by code.
#pragma once

#include <string>
#include <vector>

#include "gui/text.h"

class kxlistitem : public kxtext {
 public:
  static kxtype Type;  // never registered

  kxlistitem();
  kxlistitem(const char* text, int x, int y, int w, int h);
  // Anchors and children; centred or right-aligned without resizing.
  void Update() override;
  void Draw(int ox, int oy) override;

  // The lines the text breaks into at width px in the current font: a word
  // that would end beyond the width starts a line (one that begins a line
  // stays whatever its width), a line feed always does, and a blank right
  // after a line feed is dropped. A path wider than the width breaks after
  // its slashes and dots.
  static std::vector<std::string> Wrap(const char* text, int width);
};
