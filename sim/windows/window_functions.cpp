#include "sim/windows/window_functions.h"

#include "graphics/font.h"
#include "gui/button.h"
#include "gui/check_box.h"
#include "gui/containers.h"
#include "gui/group_frame.h"
#include "gui/gui.h"
#include "gui/images.h"
#include "gui/list_item.h"
#include "gui/scroll.h"
#include "gui/text.h"
#include "gui/tree.h"

namespace sim {

namespace {

simwindow* Tracked(kxwindow* window) { return dynamic_cast<simwindow*>(window); }

// The capture is taken after showing, so the window remembers the one that
// held it and gives it back when it hides.
void Present(kxwindow* window) {
  window->Show();
  kxgui::Capture = window;
  window->ToCenter();
}

// The size rule the scroll, flow and frame builders share.
template <class T>
T* Area(kxgraphic* parent, T* widget, int x, int y, int w, int h, int rightMargin, int topMargin) {
  if (!Append(parent, widget)) return nullptr;
  widget->X = x;
  widget->Y = y;
  if (w >= 1) widget->W = w;
  else widget->Wr = rightMargin;
  if (h >= 1) widget->H = h;
  else widget->Hr = topMargin;
  return widget;
}

}  // namespace

}  // namespace sim

void simwindow::Fixed(const char* nodeName, const char* title, int w, int h, const char* onClose) {
  name = nodeName;
  Title = title;
  W = w;
  H = h;
  EnableResize = 0;
  OnClose = onClose;
}

void simwindow::AddOkCancel(const char* okName, const char* cancelName, const char* okCommand) {
  sim::AddButton(this, 0, 10, 0, 0, 110, 0, "Ok", okCommand, okName);
  sim::AddButton(this, 0, 10, 0, 0, 10, 0, "Cancel", "../Hide", cancelName);
}

namespace sim {

void ShowWindow(kxwindow* window) {
  if (window) Present(window);
}

void ShowWindow2(kxwindow* window) { ShowWindow(window); }

void HideWindow(kxwindow* window) {
  simwindow* w = Tracked(window);
  if (!w || !w->open) return;
  w->open = 0;
  w->Hide();
}

void OpenWindow(kxwindow* window) {
  simwindow* w = Tracked(window);
  if (!w || w->open) return;
  w->open = 1;
  Present(w);
}

void OpenNotice(kxwindow* window) {
  kxgraphic* focus = kxgui::Focus;
  kxgraphic* capture = kxgui::Capture;
  OpenWindow(window);
  kxgui::Focus = focus;
  kxgui::Capture = capture;
}

void OpenWindowModal(kxwindow* window) {
  simwindow* w = Tracked(window);
  if (!w || w->open) return;
  OpenWindow(w);
  kxgui::Focus = w;
}

kxbutton* AddButton(kxgraphic* parent, int x, int y, int w, int h, int rightAnchor, int topAnchor, const char* text,
                    const char* command, const char* name) {
  kxbutton* b = Append(parent, new kxbutton);
  if (!b) return nullptr;
  b->X = x;
  b->Y = y;
  if (w > 0) b->W = w;
  if (h > 0) b->H = h;
  b->Xr = rightAnchor;
  b->Yr = topAnchor;
  b->Text = text;
  b->OnPress = command;
  b->name = name;
  return b;
}

kxiconbutton* AddIconButton(kxgraphic* parent, int x, int y, int w, int h, const char* text, int,
                            const char* name) {
  kxiconbutton* b = Append(parent, new kxiconbutton(x, y, w, h));
  if (!b) return nullptr;
  b->Text = text;
  b->selected = 0;
  b->name = name;
  return b;
}

kxlistitem* AddListItem(kxgraphic* parent, int x, int y, int w, int h, int centred, const char* name,
                        const char* text) {
  kxlistitem* item = Append(parent, new kxlistitem(text, x, y, w, h));
  if (!item) return nullptr;
  item->centre = centred ? 1 : 0;
  item->name = name;
  return item;
}

kximagetexture* AddImage(kxgraphic* parent, int x, int y, int w, int h, kxtexture* texture) {
  kximagetexture* image = Append(parent, new kximagetexture);
  if (!image) return nullptr;
  image->X = x;
  image->Y = y;
  image->W = w;
  image->H = h;
  image->texture = texture;
  image->S0 = 0;
  image->S1 = 1;
  image->T0 = 1;
  image->T1 = 0;
  return image;
}

kxscroll* AddScroll(kxgraphic* parent, int x, int y, int w, int h, int rightMargin, int topMargin) {
  kxscroll* scroll = Area(parent, new kxscroll, x, y, w, h, rightMargin, topMargin);
  if (scroll) kxtree::ResetSelection(scroll);
  return scroll;
}

kxflow* AddFlow(kxgraphic* parent, int x, int y, int w, int h, int rightMargin, int topMargin) {
  return Area(parent, new kxflow, x, y, w, h, rightMargin, topMargin);
}

kxframe* AddFrame(kxgraphic* parent, int x, int y, int w, int h, int rightMargin, int topMargin) {
  return Area(parent, new kxframe, x, y, w, h, rightMargin, topMargin);
}

kxlabel* AddLabel(kxgraphic* parent, const char* text, int x, int y, int w, int h, const char* name) {
  kxlabel* label = Append(parent, new kxlabel(text, x, y, w, h));
  if (label) label->name = name;
  return label;
}

int LineHeight() {
  const kxglfont* font = kxgui::GuiFont();
  return font && font->lineHeight > 0 ? font->lineHeight : kDefaultLineHeight;
}

kxtext* AddText(kxgraphic* parent, const char* name, const char* text, int x, int y, int w) {
  kxtext* t = Append(parent, new kxtext(text, x, y, w, LineHeight()));
  if (t) t->name = name;
  return t;
}

}  // namespace sim
