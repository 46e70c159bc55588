#include "gui/window.h"

#include <algorithm>
#include <cstring>

#include "core/arguments.h"
#include "core/hooks.h"
#include "core/interpreter.h"
#include "core/reference.h"
#include "gui/gui.h"
#include "gui/gui_state.h"
#include "gui/icons.h"
#include "gui/menu.h"
#include "gui/paint.h"
#include "platform/files.h"

kxtype kxwindow::Type("kxwindow", sizeof(kxwindow), kxcreate<kxwindow>);

namespace {

constexpr int kWindowWidth = 480;       // px
constexpr int kWindowHeight = 360;      // px
constexpr int kMinTitleLine = 16;       // px: the bar fits at least a 16 px icon
constexpr int kTitleBarPadding = 4;     // px
constexpr int kCloseBoxRight = 18;      // px from the right edge to the close box's left side
constexpr int kMenuBarBelowTitle = 20;  // px from the top edge to the menu titles' top
const char* const kDefaultTitle = "ich bin ein string";

// The close-box cell of the first sheet: s 0..0.0625, t 1..0.9375.
const kxgui::iconcell kCloseCell = {0.0f, 1.0f, 0.0625f, 0.9375f};

}  // namespace

kxwindow::kxwindow() : kxgraphic(0, 0, kWindowWidth, kWindowHeight), Title(kDefaultTitle), Icon(kxgui::kIconWindow) {
  type = &Type;
}

int kxwindow::TitleBarHeight() { return std::max(kxgui::LineHeight(), kMinTitleLine) + kTitleBarPadding; }

kxvalueptr kxwindow::GetMember(const char* member, const kxargs& args) {
  if (std::strcmp(member, "Move") == 0) {
    centredOnW = centredOnH = 0;
    X = ClampPlace(args.Int(0));
    Y = ClampPlace(args.Int(1));
    return kxvalueptr(new kxintvalue(1));
  }
  if (std::strcmp(member, "Hide") == 0) {
    Hide();
    return kxvoid();
  }
  if (std::strcmp(member, "Show") == 0) {
    Show();
    return kxvoid();
  }
  if (std::strcmp(member, "ToCenter") == 0) {
    ToCenter();
    return kxvoid();
  }
  if (std::strcmp(member, "Title") == 0) return kxvalueptr(new kxstringref(&Title));
  if (std::strcmp(member, "OnClose") == 0) return kxvalueptr(new kxstringref(&OnClose));
  if (std::strcmp(member, "Icon") == 0) return kxvalueptr(new kxintref(&Icon));
  if (std::strcmp(member, "EnableResize") == 0) return kxvalueptr(new kxintref(&EnableResize));
  return kxgraphic::GetMember(member, args);
}

void kxwindow::CopyTo(kxnode* other) {
  kxgraphic::CopyTo(other);
  if (kxwindow* w = dynamic_cast<kxwindow*>(other)) {
    w->OnClose = OnClose, w->background = background, w->Title = Title, w->Icon = Icon;
    w->EnableResize = EnableResize, w->minWidth = minWidth, w->minHeight = minHeight;
  }
}

void kxwindow::ClampToScreen() {
  const kxgraphic* screen = kxgui::Visible;
  if (!screen) return;
  if (X + W > screen->W) X = screen->W - W;
  X = std::max(X, 0);
  Y = std::max(Y, 0);
  // Last, so a window taller than the screen keeps its top edge visible.
  if (Y + H > screen->H) Y = screen->H - H;
}

void kxwindow::Show() {
  if (!kxgui::Visible) {
    kxcore::Log("kxgui:  no visible screen to show window %s on\n", name.Text());
    return;
  }
  // Showing again while holding the capture keeps what was below.
  if (!kxgui::Capture) captureBelow = nullptr;
  else if (!kxgui::Capture->IsWithin(this)) captureBelow = kxgui::Capture;
  kxgui::Visible->AddChild(this);
  ClampToScreen();
  Update();
  kxgui::Focus = this;
}

void kxwindow::Hide() {
  if (!kxgui::Invisible) {
    kxcore::Log("kxgui:  no invisible screen to hide window %s under\n", name.Text());
    return;
  }
  kxgui::Invisible->AppendChild(this);
  if (kxgui::Focus && kxgui::Focus->IsWithin(this)) kxgui::Focus = nullptr;
  // A window opened from another gives the capture back to it, so the one
  // below stays modal; one that is gone or hidden meanwhile gets nothing.
  if (kxgui::Capture && kxgui::Capture->IsWithin(this))
    kxgui::Capture = kxgui::IsOnScreen(captureBelow) ? captureBelow : nullptr;
  captureBelow = nullptr;
}

void kxwindow::ToCenter() {
  const kxgraphic* frame = parent ? ParentWidget() : kxgui::Visible;
  if (!frame) frame = kxgui::Visible;  // a window held by a plain node
  if (!frame) return;
  X = (frame->W - W) / 2;
  Y = (frame->H - H) / 2;
  centredOnW = frame->W;
  centredOnH = frame->H;
}

void kxwindow::Update() {
  kxgraphic::Update();
  if (parent && parent == kxgui::Visible) {
    const kxgraphic* screen = kxgui::Visible;
    if (centredOnW > 0 && (screen->W != centredOnW || screen->H != centredOnH)) ToCenter();
    ClampToScreen();
  }
  if (!kxgui::OpenList) {
    active = kxgui::Focus && kxgui::Focus->IsWithin(this) ? 1 : 0;
    if (active && parent && parent->firstChild != this) parent->AddChild(this);
  }
  menuBarHeight = kxmenuitem::LayOutBar(this, kMenuBarBelowTitle);
}

void kxwindow::OnLeftDown() {
  int lx = 0, ly = 0;
  ToLocal(&lx, &ly);
  int bar = TitleBarHeight();
  if (ly > H - bar + 2 && lx > W - kCloseBoxRight && lx < W - kEdge && ly < H - kEdge) {
    if (!OnClose.Empty()) {
      kxscript::Execute(OnClose.Text(), this);
    } else {
      Hide();
    }
    return;
  }
  if (ly > H - bar) {
    dragMode = kDragMove;
    grabX = lx;
    grabY = ly;
  }
  if (lx < kEdge) {
    dragMode |= kDragLeft;
    grabX = lx;
  }
  if (lx > W - kEdge) {
    dragMode |= kDragRight;
    grabX = W - lx;
  }
  if (ly < kEdge) {
    dragMode |= kDragBottom;
    grabY = ly;
  }
  if (ly > H - kEdge) {
    dragMode |= kDragTop;
    grabY = H - ly;
  }
}

void kxwindow::OnMove() {
  if (dragMode == 0) return;
  centredOnW = centredOnH = 0;  // placed by the user now
  int lx = 0, ly = 0;
  ToLocal(&lx, &ly);
  if (dragMode == kDragMove) {
    X += lx - grabX;
    Y += ly - grabY;
  }
  if (EnableResize) {
    if (dragMode & kDragLeft) {
      int d = std::min(lx - grabX, W - minWidth);
      X += d;
      W -= d;
    }
    if (dragMode & kDragRight) W = std::max(minWidth, lx + grabX);
    if (dragMode & kDragBottom) {
      int d = std::min(ly - grabY, H - minHeight);
      Y += d;
      H -= d;
    }
    if (dragMode & kDragTop) H = std::max(minHeight, ly + grabY);
  }
  Update();
}

void kxwindow::Draw(int ox, int oy) {
  int ax = ox + X, ay = oy + Y;
  int bar = TitleBarHeight(), half = bar / 2;
  kxgui::SetColor(background.a != 0 ? background : kxgui::Palette(10));
  kxgui::FillRect(ax, ay, ax + W, ay + H);
  kxgui::GradientRect(ax + 2, ay + H - bar, ax + W - 2, ay + H - 2, kxgui::Palette(active ? 13 : 12),
                      kxgui::Palette(active ? 15 : 14));
  kxgui::SetPaletteColor(1);
  kxgui::DrawLine(ax, ay + 1, ax, ay + H - 1);
  kxgui::DrawLine(ax, ay + H - 1, ax + W - 1, ay + H - 1);
  kxgui::SetPaletteColor(0);
  kxgui::DrawLine(ax, ay, ax + W - 1, ay);
  kxgui::DrawLine(ax + W - 1, ay, ax + W - 1, ay + H - 1);
  kxgui::SetPaletteColor(1);
  kxgui::DrawText(ax + 22, ay + H - bar + 2, Title.Text());
  kxgui::DrawIcon(Icon, ax + 3, ay + H - half - 9);
  kxgui::DrawIconCell(kCloseCell, ax + W - 19, ay + H - half - 9);
  DrawChildren(ax, ay);
}

// ---- kxwindowobjectedit --------------------------------------------------------

kxtype kxwindowobjectedit::Type("kxwindowobjectedit", sizeof(kxwindowobjectedit), kxcreate<kxwindowobjectedit>);

namespace {
// Set while a constructor runs the section: an object edit window the section
// makes would run it again, and one that makes two would double the work at
// every level of nesting. Such a window stays plain.
bool buildingObjectEdit = false;
}  // namespace

kxwindowobjectedit::kxwindowobjectedit() {
  type = &Type;
  if (buildingObjectEdit) {
    kxcore::Log("kxgui:  section kxwindowobjectedit of kxdisplay.kxd makes another object edit window; it stays plain\n");
    return;
  }
  buildingObjectEdit = true;
  kxnode* previous = kxscript::Current();
  kxscript::SetCurrent(this);
  if (!kxscript::ReadFile("kxdisplay.kxd", this, "kxwindowobjectedit")) {
    kxcore::Log("kxgui:  section kxwindowobjectedit of kxdisplay.kxd not run (%s)\n",
                kxsystem::ReadProblemOr("kxdisplay.kxd", "no such section").c_str());
  }
  if (kxwindow* built = dynamic_cast<kxwindow*>(Window)) built->Hide();
  kxscript::SetCurrent(previous);
  buildingObjectEdit = false;
}

kxvalueptr kxwindowobjectedit::GetMember(const char* member, const kxargs& args) {
  if (std::strcmp(member, "Object") == 0) return kxvalueptr(new kxnodeptrref(&Object));
  if (std::strcmp(member, "Window") == 0) return kxvalueptr(new kxnodeptrref(&Window));
  return kxwindow::GetMember(member, args);
}
