// kxlabel: an etched group frame with its caption set into the top edge.
// Made only by code.
#pragma once

#include "core/string.h"
#include "gui/graphic.h"

class kxlabel : public kxgraphic {
 public:
  static kxtype Type;  // never registered

  kxstring Text;

  kxlabel();
  kxlabel(const char* text, int x, int y, int w, int h);
  kxvalueptr GetMember(const char* member, const kxargs& args) override;
  void CopyTo(kxnode* other) override;
  void Draw(int ox, int oy) override;
};
