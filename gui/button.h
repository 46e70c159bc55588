// Push buttons: kxbutton, a bevelled button with a centred label, and
// kxbuttontexture, drawn from a region of a texture that follows hover and
// press. OnPress runs on a release over the pressed button only, so pressing,
// dragging off and releasing runs nothing.
#pragma once

#include "core/string.h"
#include "gui/graphic.h"

struct kxtexture;

class kxbutton : public kxgraphic {
 public:
  static kxtype Type;
  static constexpr int kIdle = 0;
  static constexpr int kHover = 1;
  static constexpr int kPressed = 2;

  kxstring Text;
  kxstring OnPress;
  kxstring OnLeftDoubleText;
  kxstring OnLeftDownText;
  int state = kIdle;
  int disabled = 0;  // set by the application; a disabled button answers only "Text"

  kxbutton();
  kxbutton(const char* text, int x, int y, int w, int h);

  kxvalueptr GetMember(const char* member, const kxargs& args) override;
  void CopyTo(kxnode* other) override;
  // Anchors and children; a button that is no longer hot drops to idle.
  void Update() override;
  void OnLeftDown() override;
  void OnLeftDouble() override;
  void OnLeftUp() override;
  void OnMove() override;
  void Draw(int ox, int oy) override;
};

class kxbuttontexture : public kxbutton {
 public:
  static kxtype Type;

  kxtexture* texture = nullptr;  // one reference of the texture table, held by this button
  float S = 0, SHigh = 0, SPressed = 0, SDelta = 1;  // texture s of each state, and the width
  float T = 0, THigh = 0, TPressed = 0, TDelta = 1;  // t counted from the top, and the height

  kxbuttontexture();
  // The picture is the button's own reference: it goes with the button.
  ~kxbuttontexture() override;

  // The texture coordinates, "Texture( file )", then the button's names.
  kxvalueptr GetMember(const char* member, const kxargs& args) override;
  void CopyTo(kxnode* other) override;
  void Draw(int ox, int oy) override;

  // (s, t) of the upper-left texel of the state's region, t from the bottom.
  void StateCorner(float* s, float* t) const;
};
