#include "gui/check_box.h"

#include <cstring>
#include <typeinfo>

#include "core/reference.h"
#include "gui/gui.h"
#include "gui/icons.h"
#include "gui/paint.h"
#include "gui/paint_image.h"

kxtype kxcheckbox::Type("kxcheckbox", sizeof(kxcheckbox), kxcreate<kxcheckbox>);
kxtype kxiconbutton::Type("kxiconbutton", sizeof(kxiconbutton), kxcreate<kxiconbutton>);

namespace {
constexpr int kBoxSize = 16;     // px
constexpr int kIconDrop = 6;     // px the icon sits below the vertical middle
constexpr int kLabelIndent = 16; // px from the left edge to the label
const kxcolor4 kEngraved = {0.5f, 0.5f, 0.5f, 1};
// The disabled option-button cell: s 0.625..0.6875, t 1..0.9375.
const kxgui::iconcell kDisabledOption = {0.625f, 1.0f, 0.6875f, 0.9375f};
}  // namespace

kxcheckbox::kxcheckbox() : kxgraphic(0, 0, kBoxSize, kBoxSize) { type = &Type; }
kxcheckbox::kxcheckbox(int x, int y, int w, int h) : kxgraphic(x, y, w, h) { type = &Type; }

kxvalueptr kxcheckbox::GetMember(const char* member, const kxargs& args) {
  if (std::strcmp(member, "OnCheck") == 0) return kxvalueptr(new kxstringref(&OnCheck));
  if (std::strcmp(member, "OnUncheck") == 0) return kxvalueptr(new kxstringref(&OnUncheck));
  return kxgraphic::GetMember(member, args);
}

void kxcheckbox::CopyTo(kxnode* other) {
  kxgraphic::CopyTo(other);
  if (kxcheckbox* c = dynamic_cast<kxcheckbox*>(other)) {
    c->checked = checked, c->label = label, c->OnCheck = OnCheck, c->OnUncheck = OnUncheck;
  }
}

void kxcheckbox::OnMove() {
  if (armed && kxgui::Hot != this) armed = 0;
}

void kxcheckbox::OnLeftUp() {
  if (!armed) return;
  armed = 0;
  if (checked) {
    checked = 0;
    RunCommand(OnUncheck);
  } else {
    checked = 1;
    RunCommand(OnCheck);
  }
  Changed();
}

void kxcheckbox::Draw(int ox, int oy) {
  int ax = ox + X, ay = oy + Y;
  kxgui::SetColor(kxgui::kWhite);
  kxgui::DrawIcon(kxgui::kIconCheckBox + (checked ? 1 : 0) + 2 * (armed ? 1 : 0), ax, ay + H / 2 - kIconDrop);
  kxgui::SetColor(kxgui::kBlack);
  kxgui::DrawText(ax + kLabelIndent, ay + H / 2 - kxgui::LineHeight() / 2, label.Text());
  DrawChildren(ax, ay);
}

// ---- kxiconbutton -----------------------------------------------------------

kxiconbutton::kxiconbutton() : kxgraphic(0, 0, kBoxSize, kBoxSize) { type = &Type; }
kxiconbutton::kxiconbutton(int x, int y, int w, int h) : kxgraphic(x, y, w, h) { type = &Type; }

kxvalueptr kxiconbutton::GetMember(const char* member, const kxargs& args) {
  if (std::strcmp(member, "OnPress") == 0) return kxvalueptr(new kxstringref(&OnPress));
  if (std::strcmp(member, "Text") == 0) return kxvalueptr(new kxstringref(&Text));
  return kxgraphic::GetMember(member, args);
}

void kxiconbutton::CopyTo(kxnode* other) {
  kxgraphic::CopyTo(other);
  if (kxiconbutton* b = dynamic_cast<kxiconbutton*>(other)) {
    b->Text = Text, b->selected = selected, b->disabled = disabled, b->OnPress = OnPress;
  }
}

void kxiconbutton::OnLeftDown() {
  if (!disabled) armed = 1;
}

void kxiconbutton::OnMove() {
  if (kxgui::Hot != this) armed = 0;
}

void kxiconbutton::Select() {
  if (parent) {
    for (kxnode* n = parent->firstChild; n; n = n->nextSibling) {
      // Same class only: a class derived from it is another group.
      if (kxiconbutton* b = dynamic_cast<kxiconbutton*>(n); b && typeid(*b) == typeid(*this)) b->selected = 0;
    }
  }
  selected = 1;
}

void kxiconbutton::OnLeftUp() {
  if (!armed) return;
  armed = 0;
  Select();
  RunCommand(OnPress);
}

void kxiconbutton::Draw(int ox, int oy) {
  int ax = ox + X, ay = oy + Y;
  if (!hidden) {
    int ty = ay + H / 2 - kxgui::LineHeight() / 2;
    kxgui::SetColor(kxgui::kWhite);
    if (disabled) {
      kxgui::DrawIconCell(kDisabledOption, ax, ay + H / 2 - kIconDrop);
      kxgui::SetPaletteColor(1);
      kxgui::DrawText(ax + kLabelIndent + 1, ty - 1, Text.Text());
      kxgui::SetColor(kEngraved);
      kxgui::DrawText(ax + kLabelIndent, ty, Text.Text());
    } else {
      kxgui::DrawIcon(kxgui::kIconOption + selected + 2 * armed, ax, ay + H / 2 - kIconDrop);
      kxgui::SetColor(kxgui::kBlack);
      kxgui::DrawText(ax + kLabelIndent, ty, Text.Text());
    }
  }
  DrawChildren(ax, ay);
}
