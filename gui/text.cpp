#include "gui/text.h"

#include <cstring>

#include "core/reference.h"
#include "gui/paint.h"
#include "gui/paint_image.h"

kxtype kxtext::Type("kxtext", sizeof(kxtext), kxcreate<kxtext>);
kxtype kxverticaltext::Type("kxverticaltext", sizeof(kxverticaltext), kxcreate<kxverticaltext>);

namespace {
constexpr int kTextWidth = 64;     // px
constexpr int kTextHeight = 16;    // px
constexpr int kLabelHeight = 20;   // px of a label sized to its text
constexpr int kCentreShift = 2;    // px a centred text sits left of the middle
}  // namespace

kxtext::kxtext() : kxgraphic(0, 0, kTextWidth, kTextHeight) { type = &Type; }

kxtext::kxtext(const char* text, int x, int y)
    : kxgraphic(x, y, kxgui::TextWidth(text) + kMargin, kLabelHeight), Text(text) {
  type = &Type;
}

kxtext::kxtext(const char* text, int x, int y, int w, int h) : kxgraphic(x, y, w, h), Text(text) { type = &Type; }

kxvalueptr kxtext::GetMember(const char* member, const kxargs& args) {
  if (std::strcmp(member, "Text") == 0) return kxvalueptr(new kxstringref(&Text));
  return kxgraphic::GetMember(member, args);
}

void kxtext::CopyTo(kxnode* other) {
  kxgraphic::CopyTo(other);
  if (kxtext* t = dynamic_cast<kxtext*>(other)) {
    t->Text = Text, t->textColor = textColor, t->background = background;
    t->onLeftDown = onLeftDown, t->onLeftDouble = onLeftDouble, t->centre = centre, t->right = right;
  }
}

void kxtext::Update() {
  kxgraphic::Update();
  kxgraphic* p = ParentWidget();
  if (centre) {
    W = kxgui::TextWidth(Text.Text()) + kMargin;
    if (p) X = p->W / 2 - W / 2 - kCentreShift;
  }
  if (right) {
    W = kxgui::TextWidth(Text.Text()) + kMargin;
    if (p) X = p->W - W - kMargin;
  }
}

void kxtext::OnLeftDown() {
  RunCommand(onLeftDown);
}

void kxtext::OnLeftDouble() {
  RunCommand(onLeftDouble);
}

void kxtext::Draw(int ox, int oy) {
  int ax = ox + X, ay = oy + Y;
  if (background.a != 0) {
    kxgui::SetColor(background);
    kxgui::FillRect(ax, ay, ax + W, ay + H);
  }
  kxgui::ClipOn(ax, ay, W, H);
  kxgui::SetColor(textColor);
  DrawLabel(ax, ay);
  kxgui::ClipOff();
  DrawChildren(ax, ay);
}

void kxtext::DrawLabel(int ax, int ay) {
  kxgui::DrawText(ax + kMargin, ay + (H - kxgui::LineHeight()) / 2, Text.Text());
}

// ---- kxverticaltext ----------------------------------------------------------

kxverticaltext::kxverticaltext() { type = &Type; }

kxverticaltext::kxverticaltext(const char* text, int x, int y, int w, int h) : kxtext(text, x, y, w, h) {
  type = &Type;
}

void kxverticaltext::Update() { kxgraphic::Update(); }

void kxverticaltext::DrawLabel(int ax, int ay) {
  kxgui::DrawTextUpwards(ax + (W - kxgui::LineHeight()) / 2, ay + kMargin, Text.Text());
}
