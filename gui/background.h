// kxbackground: the full-screen root of a visible screen. Clicks that no
// child takes become its command texts, run as "Command( x, y )" with the
// pointer in screen pixels, or go to the mode's hook; it also lays out its
// menu titles along its top edge.
#pragma once

#include "core/string.h"
#include "gui/graphic.h"

class kxbackground : public kxgraphic {
 public:
  static kxtype Type;

  kxstring OnLeftDownText, OnLeftDoubleText, OnLeftUpText;
  kxstring OnRightDownText, OnRightUpText, OnMoveText;
  int menuBarHeight = 0;  // px; height of the last menu title placed

  kxbackground();

  kxvalueptr GetMember(const char* member, const kxargs& args) override;
  void CopyTo(kxnode* other) override;
  // Anchors and children, then the menu titles from x 2 along the top edge.
  void Update() override;
  // The pointer in screen pixels, clamped to the visible screen.
  void ToLocal(int* x, int* y) override;
  void OnLeftDown() override;
  void OnLeftDouble() override;
  void OnLeftUp() override;
  void OnRightDown() override;
  void OnRightUp() override;
  void OnMove() override;
  void OnKey(int character, int code) override;

 private:
  // Runs "text( x, y )", or the mouse hook when one is installed.
  void RunWithPointer(const kxstring& text, unsigned* handled);
  // The dispatch calls up and move handlers on the focus and on the hot
  // widget; these keep the command from running twice for one event.
  unsigned upSerial_ = ~0u, rightUpSerial_ = ~0u, moveSerial_ = ~0u;
};
