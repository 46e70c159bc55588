#include "gui/menu.h"

#include <algorithm>
#include <cstring>

#include "core/arguments.h"
#include "core/hooks.h"
#include "core/interpreter.h"
#include "core/reference.h"
#include "gui/gui.h"
#include "gui/gui_state.h"
#include "gui/icons.h"
#include "gui/paint.h"
#include "platform/codes.h"

kxtype kxmenuitem::Type("kxmenuitem", sizeof(kxmenuitem), kxcreate<kxmenuitem>);
kxtype kxpopup::Type("kxpopup", sizeof(kxpopup), kxcreate<kxpopup>);
kxtype kxpopupitem::Type("kxpopupitem", sizeof(kxpopupitem), kxcreate<kxpopupitem>);
kxtype kxpopupbar::Type("kxpopupbar", sizeof(kxpopupbar), kxcreate<kxpopupbar>);

namespace {

constexpr int kPopupMargin = 4;      // px around the entries
constexpr int kEntryGap = 2;         // px between entries
constexpr int kPopupMinHeight = 24;  // px
constexpr int kEntryExtra = 48;      // px added to an entry's text width (icon column and margin)
constexpr int kBarHeight = 8;        // px of a separator or an empty entry
constexpr int kHiddenPlace = 72727;  // px: where hidden entries are parked
constexpr int kTextIndent = 20;      // px from an entry's left edge to its text
constexpr int kMenuBarLeft = 2;      // px from the owner's left edge to the first title
const char* const kEmptyText = "<empty>";

const kxcolor4 kGrey = {0.5f, 0.5f, 0.5f, 1};
const kxcolor4 kDisabledIcon = {0.8f, 0.8f, 0.8f, 0.25f};

// The check-mark cell, s 0.125..0.1875, t 1..0.9375.
const kxgui::iconcell kCheckCell = {0.125f, 1.0f, 0.1875f, 0.9375f};

bool IsEntry(const kxnode* node) {
  const kxpopupitem* item = dynamic_cast<const kxpopupitem*>(node);
  return item && !item->Hidden;
}

// Moves a pop-up in front of everything on the visible screen.
void Raise(kxgraphic* widget) {
  if (kxgui::Visible->firstChild != widget) kxgui::Visible->AddChild(widget);
}

}  // namespace

// ---- kxmenuitem ------------------------------------------------------------

kxmenuitem::kxmenuitem() { type = &Type; }

int kxmenuitem::LayOutBar(kxgraphic* owner, int belowTop) {
  int height = 0;
  int x = kMenuBarLeft;
  for (kxnode* child = owner->firstChild; child; child = child->nextSibling) {
    kxmenuitem* title = dynamic_cast<kxmenuitem*>(child);
    if (!title) continue;
    title->X = x;
    title->Y = owner->H - title->H - belowTop;
    x += title->W;
    height = title->H;
  }
  return height;
}

kxvalueptr kxmenuitem::GetMember(const char* member, const kxargs& args) {
  if (std::strcmp(member, "Text") == 0) return kxvalueptr(new kxstringref(&Text));
  if (std::strcmp(member, "Action") == 0) return kxvalueptr(new kxstringref(&Action));
  if (std::strcmp(member, "Disabled") == 0) return kxvalueptr(new kxintref(&Disabled));
  return kxgraphic::GetMember(member, args);
}

void kxmenuitem::CopyTo(kxnode* other) {
  kxgraphic::CopyTo(other);
  if (kxmenuitem* m = dynamic_cast<kxmenuitem*>(other)) {
    m->Text = Text, m->Action = Action, m->Disabled = Disabled;
  }
}

void kxmenuitem::Update() {
  int line = kxgui::LineHeight();
  W = kxgui::TextWidth(Text.Text()) + line / 2 + 2;
  H = line + 4;
}

void kxmenuitem::OnLeftDown() {
  if (!Disabled) kxscript::Execute(Action.Text(), this);
}

void kxmenuitem::OnMove() {
  kxgraphic* focus = kxgui::Focus;
  if (Disabled || !focus) return;
  if (dynamic_cast<kxpopup*>(focus) || dynamic_cast<kxpopupitem*>(focus)) {
    kxscript::Execute(Action.Text(), this);
  } else if (focus != this && dynamic_cast<kxmenuitem*>(focus)) {
    kxgui::Focus = this;
    kxscript::Execute(Action.Text(), this);
  }
}

void kxmenuitem::Draw(int ox, int oy) {
  int ax = ox + X, ay = oy + Y;
  const kxcolor4& black = kxgui::Palette(0);
  if (Disabled) {
    const kxcolor4& white = kxgui::Palette(1);
    kxgui::SetColor(white.r, white.g, white.b, black.a);
    kxgui::DrawText(ax + 3, ay + 1, Text.Text());
    kxgui::SetColor(0.5f, 0.5f, 0.5f, black.a);
  } else {
    kxgui::SetColor(black);
  }
  kxgui::DrawText(ax + 2, ay + 2, Text.Text());
  DrawChildren(ax, ay);
}

// ---- kxpopup ----------------------------------------------------------------

kxpopup::kxpopup() {
  type = &Type;
  kxgui::AddPopup(this);
}

kxpopup::~kxpopup() { kxgui::RemovePopup(this); }

kxvalueptr kxpopup::GetMember(const char* member, const kxargs& args) {
  if (std::strcmp(member, "Show") == 0) {
    Show();
    return kxvoid();
  }
  return kxgraphic::GetMember(member, args);
}

kxnode* kxpopup::Context() const {
  if (contextWidget_) return contextWidget_;
  if (contextPath_.Empty()) return nullptr;
  return kxnode::Find(contextPath_.Text());
}

void kxpopup::ForgetContext(const kxgraphic* widget) {
  if (contextWidget_ == widget) contextWidget_ = nullptr;
}

void kxpopup::Show() {
  if (!kxgui::Visible) {
    kxcore::Log("kxgui:  no visible screen to show pop-up %s on\n", name.Text());
    return;
  }
  kxgui::Focus = this;
  Update();
  kxnode* current = kxscript::Current();
  contextWidget_ = kxgraphic::Of(current);
  contextPath_ = contextWidget_ || !current ? kxstring() : current->Path();
  // Hang below the lower-left corner of the node that ran the command.
  int sx = 0, sy = 0;
  for (kxnode* n = current; n && n != kxgui::Visible; n = n->parent) {
    if (kxgraphic* g = kxgraphic::Of(n)) {
      sx += g->X;
      sy += g->Y;
    }
  }
  X = sx;
  Y = sy - H;
  Raise(this);
  kxgui::Capture = this;
}

void kxpopup::Close() {
  if (kxgui::Capture == this) kxgui::Capture = nullptr;
  if (kxgui::Invisible && parent != kxgui::Invisible) kxgui::Invisible->AppendChild(this);
}

void kxpopup::Update() {
  kxgraphic::Update();
  W = kxgui::TextWidth(kEmptyText) + kEntryExtra;
  int y = kPopupMargin;
  for (kxnode* child = lastChild; child; child = child->prevSibling) {
    kxgraphic* g = kxgraphic::Of(child);
    if (!g) continue;
    kxpopupitem* item = dynamic_cast<kxpopupitem*>(g);
    if (item && item->Hidden) {
      g->X = g->Y = kHiddenPlace;
      continue;
    }
    W = std::max(W, g->W);
    g->X = kPopupMargin;
    g->Y = y;
    y += g->H + kEntryGap;
  }
  H = std::max(y + 2, kPopupMinHeight);
  for (kxnode* child = lastChild; child; child = child->prevSibling) {
    if (kxgraphic* g = kxgraphic::Of(child)) g->W = W - 2 * kPopupMargin;
  }
  bool open = kxgui::Visible && IsDescendantOf(kxgui::Visible);
  if (open && !(kxgui::Focus && kxgui::Focus->IsWithin(this))) Close();
}

void kxpopup::OnKey(int character, int code) {
  if (code == kxcode::kKeyEscape || code == kxcode::kKeyReturn) {
    kxgui::Focus = nullptr;
    Close();
    return;
  }
  if (code == kxcode::kKeyDown) {
    // The first entry; separators and hidden entries cannot hold the focus.
    kxnode* n = firstChild;
    while (n && !IsEntry(n)) n = n->nextSibling;
    kxgui::Focus = n ? Of(n) : nullptr;
    return;
  }
  kxgraphic::OnKey(character, code);
}

void kxpopup::Draw(int ox, int oy) {
  int ax = ox + X, ay = oy + Y;
  kxgui::SetPaletteColor(10);
  kxgui::FillRect(ax, ay, ax + W, ay + H);
  kxgui::BevelEdges(ax, ay, ax + W, ay + H, kxgui::Palette(1), kxgui::Palette(0));
  if (!firstChild) {
    kxgui::SetPaletteColor(1);
    kxgui::DrawText(ax + 24, ay + 6, kEmptyText);
    kxgui::SetColor(kGrey);
    kxgui::DrawText(ax + 23, ay + 7, kEmptyText);
  }
  DrawChildren(ax, ay);
}

// ---- kxpopupitem -------------------------------------------------------------

kxpopupitem::kxpopupitem() { type = &Type; }

kxpopupitem::kxpopupitem(const char* text, const char* command, int icon)
    : Text(text), OnPress(command), Icon(icon) {
  type = &Type;
}

kxvalueptr kxpopupitem::GetMember(const char* member, const kxargs& args) {
  if (std::strcmp(member, "Text") == 0) return kxvalueptr(new kxstringref(&Text));
  if (std::strcmp(member, "OnPress") == 0) return kxvalueptr(new kxstringref(&OnPress));
  if (std::strcmp(member, "Disabled") == 0) return kxvalueptr(new kxintref(&Disabled));
  if (std::strcmp(member, "Icon") == 0) return kxvalueptr(new kxintref(&Icon));
  if (std::strcmp(member, "Hidden") == 0) return kxvalueptr(new kxintref(&Hidden));
  return kxgraphic::GetMember(member, args);
}

void kxpopupitem::CopyTo(kxnode* other) {
  kxgraphic::CopyTo(other);
  if (kxpopupitem* p = dynamic_cast<kxpopupitem*>(other)) {
    p->Text = Text, p->OnPress = OnPress, p->Icon = Icon, p->Disabled = Disabled, p->Hidden = Hidden;
    p->checkVariable = checkVariable, p->checkValue = checkValue;
    p->enableVariable = enableVariable, p->enableRule = enableRule, p->enableValue = enableValue;
  }
}

void kxpopupitem::Update() {
  if (Text.Empty()) {
    W = kEntryExtra;
    H = kBarHeight;
  } else {
    W = kxgui::TextWidth(Text.Text()) + kEntryExtra;
    H = kxgui::LineHeight() + 4;
  }
}

kxpopup* kxpopupitem::Popup() const { return dynamic_cast<kxpopup*>(parent); }

void kxpopupitem::ApplyEnableRule() {
  if (!enableVariable) return;
  const int v = enableVariable.Value();
  bool enabled = false;
  switch (enableRule) {
    case enablerule::nonzero: enabled = v != 0; break;
    case enablerule::equal: enabled = v == enableValue; break;
    case enablerule::notequal: enabled = v != enableValue; break;
  }
  Disabled = enabled ? 0 : 1;
}

int kxpopupitem::IsChecked() const {
  if (!checkVariable) return 0;
  const int v = checkVariable.Value();
  return checkValue == 0 ? v != 0 : v == checkValue;
}

void kxpopupitem::Run() {
  kxpopup* popup = Popup();
  kxscript::Execute(OnPress.Text(), popup ? popup->Context() : nullptr);
}

void kxpopupitem::OnMove() {
  if (Disabled) return;
  if (kxgui::Hot == this) {
    kxgui::Focus = this;
  } else if (kxgui::Focus == this) {
    kxgui::Focus = Popup();
  }
}

void kxpopupitem::OnLeftUp() {
  if (kxgui::Focus != this) return;
  kxgui::Focus = nullptr;
  if (!Disabled) Run();
}

void kxpopupitem::OnKey(int character, int code) {
  kxnode* owner = parent;
  switch (code) {
    case kxcode::kKeyDown:
    case kxcode::kKeyUp: {
      bool down = code == kxcode::kKeyDown;
      // One step with wrap-around; over a separator one more.
      auto step = [&](kxnode* n) -> kxnode* {
        if (!n || !owner) return nullptr;
        kxnode* s = down ? n->nextSibling : n->prevSibling;
        return s ? s : (down ? owner->firstChild : owner->lastChild);
      };
      kxnode* target = step(this);
      if (!IsEntry(target)) target = step(target);
      kxgui::Focus = IsEntry(target) ? static_cast<kxgraphic*>(static_cast<kxpopupitem*>(target)) : nullptr;
      return;
    }
    case kxcode::kKeyEscape:
      kxgui::Focus = nullptr;
      return;
    case kxcode::kKeyReturn:
      kxgui::Focus = nullptr;
      if (!Disabled) Run();
      return;
    case kxcode::kKeyRight:
      return;
    default:
      kxgraphic::OnKey(character, code);
  }
}

void kxpopupitem::Draw(int ox, int oy) {
  int ax = ox + X, ay = oy + Y;
  int iy = ay + (H - kxgui::kIconSize) / 2;
  ApplyEnableRule();
  bool focused = kxgui::Focus == this;
  if (focused && !Disabled) {
    kxgui::SetPaletteColor(16);
    kxgui::FillRect(ax, ay, ax + W, ay + H);
  }
  if (Disabled) {
    if (Icon != 0) {
      kxgui::SetColor(kDisabledIcon);
      kxgui::DrawIcon(Icon, ax, iy);
    }
    kxgui::SetPaletteColor(1);
    kxgui::DrawText(ax + kTextIndent + 1, ay + 1, Text.Text());
    kxgui::SetColor(kGrey);
    kxgui::DrawText(ax + kTextIndent, ay + 2, Text.Text());
  } else {
    if (checkVariable) {
      if (IsChecked()) {
        kxgui::SetPaletteColor(focused ? 1 : 0);
        kxgui::DrawIconCell(kCheckCell, ax, iy);
      }
    } else if (Icon != 0) {
      kxgui::SetPaletteColor(1);
      kxgui::DrawIcon(Icon, ax, iy);
    }
    kxgui::SetPaletteColor(focused ? 17 : 0);
    if (Icon == kxgui::kIconCheck) kxgui::DrawIconCell(kCheckCell, ax, iy);
    kxgui::DrawText(ax + kTextIndent, ay + 2, Text.Text());
  }
  DrawChildren(ax, ay);
}

// ---- kxpopupbar --------------------------------------------------------------

kxpopupbar::kxpopupbar() { type = &Type; }

void kxpopupbar::Update() {
  W = kEntryExtra;
  H = kBarHeight;
}

void kxpopupbar::Draw(int ox, int oy) {
  int ax = ox + X, ay = oy + Y;
  kxgui::SetPaletteColor(1);
  kxgui::DrawLine(ax, ay + 3, ax + W, ay + 3);
  kxgui::SetColor(kGrey);
  kxgui::DrawLine(ax, ay + 4, ax + W, ay + 4);
  DrawChildren(ax, ay);
}
