#include "gui/edit.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "core/interpreter.h"
#include "core/reference.h"
#include "gui/gui.h"
#include "gui/gui_state.h"
#include "gui/paint.h"
#include "gui/paint_image.h"
#include "platform/codes.h"

kxtype kxedit::Type("kxedit", sizeof(kxedit), kxcreate<kxedit>);

namespace {
constexpr int kEditWidth = 100;   // px
constexpr int kEditHeight = 20;   // px
constexpr int kTextLeft = 2;      // px between the left edge and the text
constexpr int kRightMargin = 2;   // px the cursor keeps from the right edge
constexpr int kShiftTab = kxcode::kKeyTab | kxcode::kModShift;
}  // namespace

kxedit::kxedit() : kxgraphic(0, 0, kEditWidth, kEditHeight) { type = &Type; }
kxedit::kxedit(int x, int y, int w, int h) : kxgraphic(x, y, w, h) { type = &Type; }

kxvalueptr kxedit::GetMember(const char* member, const kxargs& args) {
  if (std::strcmp(member, "OnReturn") == 0) return kxvalueptr(new kxstringref(&OnReturn));
  return kxgraphic::GetMember(member, args);
}

void kxedit::CopyTo(kxnode* other) {
  kxgraphic::CopyTo(other);
  if (kxedit* e = dynamic_cast<kxedit*>(other)) {
    std::memcpy(e->text, text, sizeof(text));
    e->maxLength = maxLength, e->OnReturn = OnReturn, e->textColor = textColor;
    e->background = background, e->rightAlign = rightAlign, e->tabNavigation = tabNavigation;
  }
}

int kxedit::Length() const { return static_cast<int>(strnlen(text, kMaxText)); }

int kxedit::MaxLength() const { return std::clamp(maxLength, 0, kMaxText); }

void kxedit::SetText(const char* value) {
  size_t n = std::min(value ? std::strlen(value) : 0, static_cast<size_t>(MaxLength()));
  if (n) std::memcpy(text, value, n);
  text[n] = 0;
  cursor = static_cast<int>(n);
}

void kxedit::Insert(char c) {
  int length = Length();
  if (length >= MaxLength()) return;
  cursor = std::clamp(cursor, 0, length);
  std::memmove(text + cursor + 1, text + cursor, static_cast<size_t>(length - cursor) + 1);
  text[cursor++] = c;
}

void kxedit::Erase(int at) {
  int length = Length();
  if (at < 0 || at >= length) return;
  std::memmove(text + at, text + at + 1, static_cast<size_t>(length - at));
}

kxstring kxedit::ReturnCommand() const {
  kxstring command;
  command.Format("%s( %s )", OnReturn.Text(), kxscript::Quote(text).Text());
  return command;
}

void kxedit::FocusSibling(bool forward) {
  for (kxnode* n = forward ? nextSibling : prevSibling; n; n = forward ? n->nextSibling : n->prevSibling) {
    if (kxedit* e = dynamic_cast<kxedit*>(n)) {
      kxgui::Focus = e;
      return;
    }
  }
}

void kxedit::OnKey(int character, int code) {
  text[kMaxText] = 0;  // the application writes the buffer; keep it terminated
  switch (code) {
    case kxcode::kKeyRight:
      ++cursor;
      break;
    case kxcode::kKeyLeft:
      --cursor;
      break;
    case kxcode::kKeyHome:
      cursor = 0;
      break;
    case kxcode::kKeyEnd:
      cursor = Length();
      break;
    case kxcode::kKeyBackspace:
      cursor = std::clamp(cursor, 0, Length());
      if (cursor > 0) Erase(--cursor);
      break;
    case kxcode::kKeyDelete:
      Erase(std::clamp(cursor, 0, Length()));
      break;
    case kxcode::kKeyTab:
    case kShiftTab:
      if (tabNavigation) FocusSibling(code == kxcode::kKeyTab);
      break;
    case kxcode::kKeyReturn: {
      // The command may change the tree; the dispatch lays out afterwards.
      kxstring command = ReturnCommand();
      kxscript::Execute(command.Text(), this);
      return;
    }
    case 0:
      if (character) Insert(static_cast<char>(character));
      break;
    default:
      kxgraphic::OnKey(character, code);
      break;
  }
  Update();
}

void kxedit::OnLeftDown() {
  int x = 0, y = 0;
  ToLocal(&x, &y);
  Update();
  int length = Length();
  while (cursorX < x - 2 && cursor < length) {
    ++cursor;
    Update();
  }
  while (cursorX > x && cursor > 0) {
    --cursor;
    Update();
  }
}

void kxedit::Update() {
  kxgraphic::Update();
  text[kMaxText] = 0;
  cursor = std::clamp(cursor, 0, Length());
  if (rightAlign) scroll = W - kxgui::TextWidth(text) - kRightMargin;
  std::string before(text, static_cast<size_t>(cursor));
  int c = kxgui::TextWidth(before.c_str()) + scroll;
  if (c > W - kRightMargin) {
    scroll -= c - (W - kRightMargin);
    c = W - kRightMargin;
  }
  if (c < 0) {
    scroll -= c;
    cursorX = 0;
  } else {
    cursorX = c;
  }
}

void kxedit::Draw(int ox, int oy) {
  int ax = ox + X, ay = oy + Y;
  int ty = (H - kxgui::LineHeight()) / 2;
  kxgui::ClipOn(ax, ay, W, H);
  if (background.a != 0) {
    kxgui::SetColor(background);
    kxgui::FillRect(ax, ay, ax + W, ay + H);
  }
  const kxcolor4& colour = textColor.a != 0 ? textColor : kxgui::Palette(0);
  kxgui::SetColor(colour);
  kxgui::DrawText(ax + scroll + kTextLeft, ay + ty, text);
  if (kxgui::Focus == this) kxgui::DrawLine(ax + cursorX + 1, ay + ty, ax + cursorX + 1, ay + H - ty);
  kxgui::ClipOff();
  DrawChildren(ax, ay);
}
