#include "gui/screen_window.h"

#include "gui/gui_state.h"
#include "gui/icons.h"
#include "gui/menu.h"
#include "gui/paint.h"

kxtype kxscreenwindow::Type("kxscreenwindow", sizeof(kxscreenwindow), kxcreate<kxscreenwindow>);

namespace {
constexpr int kScreenWidth = 640, kScreenHeight = 480;  // px
constexpr int kCloseOuter = 18;    // px from the right and top edges to the close box's far side
constexpr int kCloseInner = 4;     // px to its near side
constexpr int kTitleBar = 20;      // px from the top edge to the title bar's bottom
// The title bar takes the active-title colour of the palette.
constexpr int kTitleColour = 13;
}  // namespace

kxscreenwindow::kxscreenwindow() : kxgraphic(0, 0, kScreenWidth, kScreenHeight), icon(kxgui::kIconWindow) {
  type = &Type;
}

int kxscreenwindow::InCloseBox(int x, int y) const {
  return x > W - kCloseOuter && x < W - kCloseInner && y > H - kCloseOuter && y < H - kCloseInner;
}

void kxscreenwindow::OnLeftDown() {
  int x = 0, y = 0;
  ToLocal(&x, &y);
  if (InCloseBox(x, y)) RunCommand(closeCommand);
}

void kxscreenwindow::Update() {
  kxgraphic::Update();
  menuBarHeight = kxmenuitem::LayOutBar(this, kTitleBar);
}

void kxscreenwindow::Draw(int ox, int oy) {
  int ax = ox + X, ay = oy + Y;
  drawn = 1;
  kxgui::SetPaletteColor(kTitleColour);
  kxgui::FillRect(ax + 2, ay + H - kTitleBar, ax + W - 2, ay + H - 2);
  kxgui::SetColor(kxgui::kWhite);
  kxgui::DrawIcon(icon, ax + 3, ay + H - 19);
  kxgui::DrawText(ax + 23, ay + H - 17, title.Text());
  kxgui::DrawIcon(kxgui::kIconClose, ax + W - 19, ay + H - 19);
  DrawChildren(ax, ay);
  kxgui::SetColor(kxgui::kWhite);
  kxgui::DrawLine(ax + 1, ay + 1, ax + 1, ay + H - 1);
  kxgui::DrawLine(ax, ay + H - 2, ax + W - 1, ay + H - 2);
  kxgui::DrawLine(ax, ay + 1, ax + W - 1, ay + 1);
  kxgui::DrawLine(ax + W - 2, ay, ax + W - 2, ay + H - 1);
  kxgui::DrawLine(ax, ay + 1, ax, ay + H - 1);
  kxgui::DrawLine(ax, ay + H - 1, ax + W - 1, ay + H - 1);
  kxgui::SetColor(kxgui::kBlack);
  kxgui::DrawLine(ax, ay, ax + W - 1, ay);
  kxgui::DrawLine(ax + W - 1, ay, ax + W - 1, ay + H - 1);
}
