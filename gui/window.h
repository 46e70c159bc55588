// kxwindow: the movable, resizable frame with a title bar, an icon and a
// close box that every dialog uses. Showing puts it in front on the visible
// screen with the focus; hiding parks it under the invisible screen. Derived
// windows answer their own command names first and hand the rest to
// kxwindow::GetMember.
#pragma once

#include "core/string.h"
#include "gui/color.h"
#include "gui/graphic.h"

class kxwindow : public kxgraphic {
 public:
  static kxtype Type;

  // Drag mode bits, set by a left press and cleared by the release.
  static constexpr int kDragMove = 1;
  static constexpr int kDragLeft = 2;
  static constexpr int kDragRight = 4;
  static constexpr int kDragBottom = 8;
  static constexpr int kDragTop = 16;
  static constexpr int kEdge = 4;  // px of the border that resizes

  int dragMode = 0;
  int active = 0;            // 1 while the focus is this window or inside it
  int grabX = 0, grabY = 0;  // px, taken at the press that started the drag
  int menuBarHeight = 0;     // px, of the last menu title placed under the title bar
  kxstring OnClose;          // run by the close box; empty: the box hides the window
  kxcolor4 background = {0, 0, 0, 0};  // used when its alpha is not 0, else palette entry 10
  kxstring Title;
  int Icon;
  int EnableResize = 1;
  int minWidth = 60;   // px, limit of an edge drag
  int minHeight = 40;  // px
  // The capture this window took over when it was shown (null: none); it
  // goes back there when this window hides, if that is still on the screen.
  kxgraphic* captureBelow = nullptr;
  // px: the size of the screen ToCenter centred the window on; 0 once the
  // window is moved. A centred window is centred again on a screen of
  // another size (a notice shown just before the display mode changes).
  int centredOnW = 0, centredOnH = 0;

  kxwindow();

  // "Move", "Hide", "Show", "ToCenter", "Title", "OnClose", "Icon",
  // "EnableResize", then the base names.
  kxvalueptr GetMember(const char* member, const kxargs& args) override;
  void CopyTo(kxnode* other) override;
  // Anchors and children, centring again on a screen of a new size, the
  // clamp to the screen, raising an active window (not while a drop-down
  // list is open), and the menu titles.
  void Update() override;
  void OnLeftDown() override;
  void OnLeftUp() override { dragMode = 0; }
  void OnMove() override;
  void OnKey(int, int) override {}  // keys that reach a window stop here
  void Draw(int ox, int oy) override;

  // Front of the visible screen, clamped, laid out, with the focus. Nothing
  // without a visible screen. A capture held elsewhere is remembered, so a
  // caller takes the capture after showing.
  void Show();
  // Last child of the invisible screen; focus inside it drops, and a capture
  // inside it goes back to the one it took over (see captureBelow).
  void Hide();
  void ToCenter();

  // max(line height, 16) + 4 px.
  static int TitleBarHeight();

 private:
  void ClampToScreen();
};

// An object edit window: built by the "kxwindowobjectedit" section of
// "kxdisplay.kxd", run with the new window as the current node.
class kxwindowobjectedit : public kxwindow {
 public:
  static kxtype Type;

  kxnode* Object = nullptr;  // the node being edited
  kxnode* Window = nullptr;  // a window the section built; hidden at once

  kxwindowobjectedit();
  // "Object", "Window", then the window's names.
  kxvalueptr GetMember(const char* member, const kxargs& args) override;
};
