// The GUI's global state and the mouse, key and hover dispatch.
#include <algorithm>
#include <cmath>
#include <vector>

#include "gui/display.h"
#include "gui/graphic.h"
#include "gui/gui.h"
#include "gui/gui_state.h"
#include "gui/menu.h"
#include "gui/window.h"
#include "platform/codes.h"

namespace kxgui {

kxgraphic* Visible = nullptr;
kxgraphic* Invisible = nullptr;
kxgraphic* Hot = nullptr;
kxgraphic* Focus = nullptr;
kxgraphic* Capture = nullptr;
kxgraphic* OpenList = nullptr;
kxdisplay* Display = nullptr;
MouseHookFn MouseHook = nullptr;
KeyHookFn KeyHook = nullptr;
float* PointingDevice = nullptr;
int LastEvent = 0;
int LastKey = 0;
int LastModifiers = 0;
unsigned EventSerial = 0;

void Reset() {
  Visible = Hot = Focus = Capture = OpenList = nullptr;
  MouseHook = KeyHook = nullptr;
  PointingDevice = nullptr;
  LastEvent = LastKey = LastModifiers = 0;
  EventSerial = 0;
  if (Display) Display->Reset();
  if (Invisible) Invisible->DeleteChildren();
}

namespace {

// Never destroyed: widgets may still go after static destruction has begun.
std::vector<kxpopup*>& Popups() {
  static std::vector<kxpopup*>* popups = new std::vector<kxpopup*>;
  return *popups;
}

// A pointer fraction from the device; missing or not finite reads as 0.
float DeviceValue(int i) {
  if (!PointingDevice) return 0.0f;
  float v = PointingDevice[i];
  return std::isfinite(v) ? v : 0.0f;
}

// The pixel a fraction of a side names, truncated toward zero; far-out
// values are bounded before the conversion so it cannot overflow.
int Scale(int side, float fraction) {
  float v = std::clamp(static_cast<float>(side) * fraction, -1.0e6f, 1.0e6f);
  return static_cast<int>(v);
}

int Clamp(int v, int size) { return std::max(0, std::min(v, size - 1)); }

// Hit test of the visible screen with the capture rule. The menu-title
// exception lets the pointer slide from an open pop-up to another title.
void FindHot(int px, int py, bool titleException) {
  Hot = nullptr;
  Visible->HitTest(px, py);
  if (Capture && Hot && !Hot->IsWithin(Capture)) {
    bool slide = titleException && dynamic_cast<kxmenuitem*>(Hot) && dynamic_cast<kxpopup*>(Capture);
    if (!slide) Hot = nullptr;
  }
}

}  // namespace

void AddPopup(kxpopup* popup) { Popups().push_back(popup); }

void RemovePopup(kxpopup* popup) {
  auto& list = Popups();
  list.erase(std::remove(list.begin(), list.end(), popup), list.end());
}

void WidgetDestroyed(kxgraphic* widget) {
  kxgraphic** pointers[] = {&Visible, &Invisible, &Hot, &Focus, &Capture, &OpenList};
  for (kxgraphic** p : pointers) {
    if (*p == widget) *p = nullptr;
  }
  for (kxpopup* popup : Popups()) popup->ForgetContext(widget);
  // Only shown windows hold a capture to give back (hiding clears it).
  for (kxnode* n = Visible ? Visible->firstChild : nullptr; n; n = n->nextSibling) {
    if (kxwindow* w = dynamic_cast<kxwindow*>(n); w && w->captureBelow == widget) w->captureBelow = nullptr;
  }
}

int IsOnScreen(const kxgraphic* widget) {
  if (!widget) return 0;
  for (const kxnode* n = Visible ? Visible->firstChild : nullptr; n; n = n->nextSibling)
    if (n == widget) return 1;
  return 0;
}

const kxcolor4& Palette(int i) {
  i = std::clamp(i, 0, kPaletteSize - 1);
  return Display ? Display->palette[i] : kxdisplay::kDefaultPalette[i];
}

void GetPointer(int* x, int* y) {
  *x = Visible ? Scale(Visible->W, DeviceValue(0)) : 0;
  *y = Visible ? Scale(Visible->H, DeviceValue(1)) : 0;
}

void ScreenPointer(int* x, int* y) {
  GetPointer(x, y);
  if (!Visible) return;
  *x = Clamp(*x, Visible->W);
  *y = Clamp(*y, Visible->H);
}

void OnMouse(int code, int modifiers) {
  LastEvent = code;
  LastModifiers = modifiers;
  if (!Visible) return;
  ++EventSerial;
  int px, py;
  ScreenPointer(&px, &py);
  kxgraphic* previous = Hot;
  FindHot(px, py, true);
  if (Hot != previous && Display) Display->hoverCount = 0;

  switch (code) {
    case kxcode::kMouseLeftDown:
      if (Display) Display->hoverCount = 0;
      Focus = Hot;
      if (Hot) Hot->OnLeftDown();
      break;
    case kxcode::kMouseLeftDouble:
      Focus = Hot;
      if (Hot) Hot->OnLeftDouble();
      break;
    case kxcode::kMouseLeftUp:
      if (Focus) Focus->OnLeftUp();
      if (Hot) Hot->OnLeftUp();
      break;
    case kxcode::kMouseRightDown:
      if (Display) Display->hoverCount = 0;
      Focus = Hot;
      if (Hot) Hot->OnRightDown();
      break;
    case kxcode::kMouseRightUp:
      if (Focus) Focus->OnRightUp();
      if (Hot) Hot->OnRightUp();
      break;
    case kxcode::kMouseMove:
      if (Focus) Focus->OnMove();
      if (Hot) Hot->OnMove();
      break;
    default:
      break;
  }
  // A handler may have changed the screen (a mode switch from a command).
  if (Visible) Visible->Update();
  if (!Focus) Focus = Capture ? Capture : Visible;
}

void OnKey(int key, int modifiers) {
  // A focus lost since the last mouse event (a hidden window) falls back as
  // the mouse dispatch would have, so a key reaches the screen without one.
  if (!Focus) Focus = Capture ? Capture : Visible;
  LastKey = key;
  LastModifiers = modifiers;
  int character = 0, code = 0;
  // Ctrl with a letter is a shortcut: it types no text, as it would give a
  // control character rather than a printable one.
  if (key >= kxcode::kKeyFirstChar && key <= kxcode::kKeyLastChar && !(modifiers & kxcode::kModCtrl)) {
    character = key;
  } else {
    code = key | (modifiers & kxcode::kModShift) | (modifiers & kxcode::kModCtrl);
  }
  if (Focus && Visible && Focus->IsWithin(Visible)) Focus->OnKey(character, code);
  if (Visible) Visible->Update();
}

void UpdateHover(kxdisplay* display) {
  if (!Visible || !display) return;
  int px = Scale(Visible->W, DeviceValue(0)), py = Scale(Visible->H, DeviceValue(1));
  px = Clamp(px, display->W);
  py = Clamp(py, display->H);
  kxgraphic* previous = Hot;
  FindHot(px, py, false);
  if (Hot != previous) display->hoverCount = 0;
  ++display->hoverCount;
  if (Hot) Hot->OnHover(display->hoverCount);
  if (Visible) Visible->Update();
}

void OnTimer() { UpdateHover(Display); }

}  // namespace kxgui
