// kxscreenwindow: a full-screen panel with a title bar, an icon and a close
// box, and a menu bar of its kxmenuitem children under the title bar.
#pragma once

#include "core/string.h"
#include "gui/graphic.h"

class kxscreenwindow : public kxgraphic {
 public:
  static kxtype Type;

  kxstring title = "screen";
  kxstring closeCommand;  // run by the close box when not empty
  int icon;
  int drawn = 0;          // 1 once drawn
  int menuBarHeight = 0;  // px, of the last menu title placed

  kxscreenwindow();
  void OnLeftDown() override;
  // Anchors and children, then the menu titles from x 2 under the title bar.
  void Update() override;
  void Draw(int ox, int oy) override;

  // 1 when (x, y), local, lies in the close box.
  int InCloseBox(int x, int y) const;
};
