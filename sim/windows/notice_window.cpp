#include "sim/windows/notice_window.h"

#include <cstring>

#include "gui/gui.h"
#include "gui/list_item.h"
#include "sim/notice.h"
#include "sim/windows/menu_windows.h"
#include "sim/windows/window_functions.h"

namespace sim {

namespace {

constexpr int kWidth = 360, kHeight = 200;  // px; fits the smallest window of 640 x 480
constexpr int kTextX = 10, kTextY = 46, kTextWidth = 340, kTextHeight = 120;

class wndnotice : public simwindow {
 public:
  kxlistitem* text = nullptr;
  // The window that held the mouse when the notice came up; only compared
  // with the shown windows, never followed, as it may have gone since.
  const kxgraphic* before = nullptr;

  wndnotice() {
    Fixed("wndNotice", "Notice", kWidth, kHeight, "Ok");
    background = {0.8f, 0.8f, 0.8f, 1.0f};
    text = AddListItem(this, kTextX, kTextY, kTextWidth, kTextHeight, 0, "wndnoticetext", "");
    AddButton(this, 0, 10, 0, 0, 10, 0, "Ok", "../Ok", "wndnoticeok");
  }

  void Present(const std::string& notice) {
    if (text) text->Text = notice.c_str();
    before = kxgui::Capture;
    OpenWindow(this);
  }

  kxvalueptr GetMember(const char* member, const kxargs& args) override {
    if (std::strcmp(member, "Ok") != 0) return kxwindow::GetMember(member, args);
    HideWindow(this);
    if (text) text->Text = "";
    // Back to the window the notice interrupted, when it is still shown.
    for (kxnode* n = kxgui::Visible ? kxgui::Visible->firstChild : nullptr; n && before; n = n->nextSibling)
      if (n == before) kxgui::Capture = static_cast<kxgraphic*>(n);
    before = nullptr;
    return kxvoid();
  }
};

wndnotice* Notice() { return dynamic_cast<wndnotice*>(MenuWindow(kWndNotice)); }

}  // namespace

kxwindow* CreateNoticeWindow() { return new wndnotice; }

void ShowWaitingNotice() {
  wndnotice* w = Notice();
  if (!w || w->open || !NoticeWaiting()) return;
  w->Present(TakeNotice());
}

const char* ShownNotice() {
  wndnotice* w = Notice();
  return w && w->open && w->text ? w->text->Text.Text() : "";
}

}  // namespace sim
