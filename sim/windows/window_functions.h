// The simulator's four ways of bringing a window up or taking it down, and
// the builders that create one child widget with its place, size and texts
// and append it to a parent. The menu bar's windows, the main menu and the
// aircraft selection window share them.
#pragma once

#include "core/arguments.h"
#include "gui/window.h"

class kxbutton;
class kxflow;
class kxframe;
class kxiconbutton;
class kximagetexture;
class kxlabel;
class kxlistitem;
class kxscroll;
class kxtext;
struct kxtexture;

// A window that remembers whether sim::OpenWindow opened it, so that a
// second open neither moves nor re-centres it and sim::HideWindow only takes
// down what it opened.
class simwindow : public kxwindow {
 public:
  int open = 0;  // 1 between OpenWindow and HideWindow

 protected:
  // The frame most simulator windows share: named, titled, of a fixed size,
  // with its close command (empty: the close box hides it).
  void Fixed(const char* nodeName, const char* title, int w, int h, const char* onClose);
  // "Ok" running okCommand and "Cancel" running "../Hide", 10 px up and 110
  // and 10 px from the right edge.
  void AddOkCancel(const char* okName, const char* cancelName, const char* okCommand = "../Ok");
};

namespace sim {

// Appends child as the parent's last child and returns it; without a parent
// the child is deleted and null returned, so a builder never leaks.
template <class T>
T* Append(kxnode* parent, T* child) {
  if (!parent || !child) {
    delete child;
    return nullptr;
  }
  parent->AppendChild(child);
  return child;
}

// Capture to the window, shown in front and centred; always re-centres.
void ShowWindow(kxwindow* window);
// The same; used for the restart notice.
void ShowWindow2(kxwindow* window);
// Hides an open simwindow and clears its open flag; anything else stays.
void HideWindow(kxwindow* window);
// Opens a closed simwindow: open flag, capture, shown, centred.
void OpenWindow(kxwindow* window);
// As OpenWindow, but the keyboard focus and the capture stay where they
// were: a notice that tells and holds nothing up.
void OpenNotice(kxwindow* window);
// As OpenWindow, and the window takes the keyboard focus too.
void OpenWindowModal(kxwindow* window);

// Each builder makes the widget, sets the fields named and appends it as the
// parent's last child; null parent: nothing is made. Anchors and margins of
// 0 stay unset (kxgraphic's Xr, Yr, Wr, Hr).
// A w or h of 0 keeps the button class's default size.
kxbutton* AddButton(kxgraphic* parent, int x, int y, int w, int h, int rightAnchor, int topAnchor, const char* text,
                    const char* command, const char* name);
// The state argument is not used: a new option button starts clear.
kxiconbutton* AddIconButton(kxgraphic* parent, int x, int y, int w, int h, const char* text, int state,
                            const char* name);
kxlistitem* AddListItem(kxgraphic* parent, int x, int y, int w, int h, int centred, const char* name,
                        const char* text);
// The whole texture, rows upside down (S 0..1, T 1..0).
kximagetexture* AddImage(kxgraphic* parent, int x, int y, int w, int h, kxtexture* texture);
// Width w when w >= 1, else the right margin; height h when h >= 1, else the
// top margin. The scroll also starts at the top of its content.
kxscroll* AddScroll(kxgraphic* parent, int x, int y, int w, int h, int rightMargin, int topMargin);
kxflow* AddFlow(kxgraphic* parent, int x, int y, int w, int h, int rightMargin, int topMargin);
kxframe* AddFrame(kxgraphic* parent, int x, int y, int w, int h, int rightMargin, int topMargin);
kxlabel* AddLabel(kxgraphic* parent, const char* text, int x, int y, int w, int h, const char* name);

// The height of a one-line text: the GUI font's line height, or
// kDefaultLineHeight before the font is loaded.
constexpr int kDefaultLineHeight = 16;  // px
int LineHeight();
// A one-line text of the window's own kind of row: name, text, x, y and
// width, one line high.
kxtext* AddText(kxgraphic* parent, const char* name, const char* text, int x, int y, int w);

}  // namespace sim
