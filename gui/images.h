// Display-only widgets: kximagepixel (a block of float RGB pixels owned by the
// application), kximagetexture (a region of a texture) and kxrectangle (a
// filled rectangle).
#pragma once

#include "core/string.h"
#include "gui/color.h"
#include "gui/graphic.h"

struct kxtexture;

class kximagepixel : public kxgraphic {
 public:
  static kxtype Type;

  const float* pixels = nullptr;  // W x H red-green-blue triples, rows bottom-up; owned by the application
  kxstring onLeftDown;            // run as "command( x, y )" with the local pointer

  kximagepixel();
  void OnLeftDown() override;
  void Draw(int ox, int oy) override;
};

class kximagetexture : public kxgraphic {
 public:
  static kxtype Type;

  kxtexture* texture = nullptr;
  float S0 = 0, T0 = 0, S1 = 0, T1 = 0;  // texture corners at the lower-left and upper-right

  kximagetexture();
  // "S0", "S1", "T0", "T1", then the base names.
  kxvalueptr GetMember(const char* member, const kxargs& args) override;
  void CopyTo(kxnode* other) override;
  void Draw(int ox, int oy) override;
};

class kxrectangle : public kxgraphic {
 public:
  static kxtype Type;

  kxcolor4 Color = {1, 1, 1, 1};

  kxrectangle();
  kxrectangle(int x, int y, int w, int h);
  // "Color", then the base names.
  kxvalueptr GetMember(const char* member, const kxargs& args) override;
  void CopyTo(kxnode* other) override;
  void Draw(int ox, int oy) override;
};
