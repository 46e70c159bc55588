#include "gui/combo.h"

#include <algorithm>
#include <cstring>

#include "core/arguments.h"
#include "core/hooks.h"
#include "core/reference.h"
#include "gui/button.h"
#include "gui/containers.h"
#include "gui/gui.h"
#include "gui/scroll.h"
#include "platform/codes.h"

kxtype kxtextcombo::Type("kxtextcombo", sizeof(kxtextcombo), kxcreate<kxtextcombo>);
kxtype kxcombolist::Type("kxcombolist", sizeof(kxcombolist), kxcreate<kxcombolist>);

namespace {
constexpr int kButtonSide = 16;     // px
constexpr int kButtonTop = 1;       // px
constexpr int kListInset = 1;       // px between the list's edge and its scroll
constexpr int kColumnRight = 200;   // px, the column's right anchor inside the scroll
constexpr int kColumnHeight = 200;  // px before the first layout
constexpr int kItemNarrower = 18;   // px an item is narrower than the combo (room for the bar)
constexpr int kListTop = 2;         // px added to the items' height
const char* const kItemCommand = "../../../Selection( Text )";
const char* const kComboName = "o combo";
const char* const kComboText = "ich bin das combo";
}  // namespace

// ---- kxcombolist -------------------------------------------------------------

kxcombolist::kxcombolist() { type = &Type; }

kxcombolist::~kxcombolist() {
  if (combo && combo->list == this) combo->list = nullptr;
}

kxvalueptr kxcombolist::GetMember(const char* member, const kxargs& args) {
  if (std::strcmp(member, "Selection") == 0) {
    kxstring text = args.String(0);
    if (combo) combo->Select(text.Text());
    return kxvoid();
  }
  return kxgraphic::GetMember(member, args);
}

void kxcombolist::OnKey(int character, int code) {
  if (code != kxcode::kKeyEscape) {
    kxgraphic::OnKey(character, code);
    return;
  }
  // The focus goes back to the combo, as after a pick; the layout pass that
  // follows every key then closes the list by its own rule.
  kxgui::Focus = combo;
}

void kxcombolist::Update() {
  kxgraphic::Update();
  if (kxgui::Focus && kxgui::Focus->IsWithin(this)) return;
  if (kxgui::OpenList == this) kxgui::OpenList = nullptr;
  // The caller's walk took its next sibling before this call.
  delete this;
}

// ---- kxtextcombo -----------------------------------------------------------------

kxtextcombo::kxtextcombo() {
  type = &Type;
  name = kComboName;
  Text = kComboText;
  button = new kxbutton;
  if (button) {
    button->name = "combobutton";
    button->W = kButtonSide;
    button->H = kButtonSide;
    button->Xr = 1;
    button->OnPress = "../ShowList";
    AddChild(button);
  }
}

kxtextcombo::~kxtextcombo() {
  if (list) list->combo = nullptr;
}

kxvalueptr kxtextcombo::GetMember(const char* member, const kxargs& args) {
  if (std::strcmp(member, "ShowList") == 0) {
    ShowList();
    return kxvoid();
  }
  if (std::strcmp(member, "Selection") == 0) {
    kxstring text = args.String(0);
    Select(text.Text());
    return kxvoid();
  }
  if (std::strcmp(member, "OnSelection") == 0) return kxvalueptr(new kxstringref(&OnSelection));
  return kxtext::GetMember(member, args);
}

void kxtextcombo::Update() {
  kxtext::Update();
  if (button && button->parent == this) {
    button->X = W - kButtonSide;
    button->Y = kButtonTop;
  }
}

int kxtextcombo::ListHeight(int itemCount) {
  return std::clamp(kListTop + kItemHeight * std::max(itemCount, 0), kMinList, kMaxList);
}

void kxtextcombo::ShowList() {
  if (!kxgui::Visible) {
    kxcore::Log("kxgui:  no visible screen for the list of %s\n", name.Text());
    return;
  }
  if (list) delete list;  // a second press replaces the open list
  kxcombolist* l = new kxcombolist;
  kxscroll* scroll = new kxscroll(kListInset, kListInset, 0, 0);
  kxcolumn* column = new kxcolumn(0, 0, 0, kColumnHeight);
  if (!l || !scroll || !column) {
    delete l;
    delete scroll;
    delete column;
    return;
  }
  l->combo = this;
  scroll->Wr = kListInset;
  scroll->Hr = kListInset;
  column->Wr = kColumnRight;
  l->AppendChild(scroll);
  scroll->AppendChild(column);
  int count = 0;
  for (const char* const* item = items; item && *item; ++item, ++count) {
    kxtext* text = new kxtext(*item, 0, 0, W - kItemNarrower, kItemHeight);
    if (!text) break;
    text->onLeftDown = kItemCommand;
    column->AppendChild(text);
  }
  l->W = W;
  l->H = ListHeight(count);
  // Absolute place of the combo on the visible screen.
  int ax = 0, ay = 0;
  for (kxgraphic* g = this; g && g != kxgui::Visible; g = g->ParentWidget()) {
    ax += g->X;
    ay += g->Y;
  }
  l->X = ax;
  l->Y = ay - l->H;
  list = l;
  kxgui::Visible->AddChild(l);
  kxgui::Focus = l;
  kxgui::OpenList = l;
  scroll->Update();
  scroll->ScrollToTop();
  scroll->Update();
}

void kxtextcombo::Select(const char* text) {
  Text = text ? text : "";
  RunCommand(OnSelection);
  kxgui::Focus = this;
}
