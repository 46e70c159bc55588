#include "designer/airfoil_list.h"

#include <strings.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "core/arguments.h"
#include "designer/buttons.h"
#include "designer/page.h"
#include "designer/state.h"
#include "dynamics/wings/airfoil.h"
#include "gui/containers.h"
#include "gui/gui.h"
#include "gui/paint.h"
#include "gui/scroll.h"
#include "gui/text.h"
#include "platform/codes.h"

kxtype svdesignairfoillist::Type("svdesignairfoillist", sizeof(svdesignairfoillist));

namespace {

// The drop-down list below the box.
constexpr int kListX = 4, kListAbove = 50;    // px; list bottom at the box height + 50
constexpr int kListWidth = 150, kListHeight = 400;
constexpr int kScrollInset = 2;
constexpr int kEntryWidth = 124, kEntryHeight = 20;
// An entry runs this on its selector: column, scroll, frame, selector.
constexpr char kEntryCommand[] = "../../../../SetAirfoil( Text )";
constexpr size_t kFirstListing = 257;  // names asked for at first, the end mark included

// The box's drawing.
constexpr int kInset = 4;          // px of the white face inside the box
constexpr int kOutlineLeft = 6;    // px
constexpr int kOutlineMargin = 12; // px of the box width the chord leaves free
constexpr int kNameX = 5, kNameY = 3;
const kxcolor4 kOutlineColour = {1.0f, 0.9f, 0.7f, 1.0f};
const kxcolor4 kNameColour = {0.0f, 0.2f, 0.6f, 1.0f};

// Inserts the entry after the last one whose text sorts lower, ignoring
// case; first when none does, so equal texts go before the earlier ones.
void InsertSorted(kxcolumn* column, kxtext* entry) {
  kxnode* lower = nullptr;
  for (kxnode* c = column->firstChild; c; c = c->nextSibling) {
    const kxtext* t = dynamic_cast<const kxtext*>(c);
    if (t && strcasecmp(t->Text.Text(), entry->Text.Text()) < 0) lower = c;
  }
  if (lower) lower->InsertAfter(entry);
  else column->AddChild(entry);
}

// Every airfoil file's stem: the listing is asked again with room to
// spare until it no longer fills it.
std::vector<kxstring> AirfoilStems() {
  std::vector<kxstring> names(kFirstListing);
  while (kxdairfoil::ListFiles(names.data(), static_cast<int>(names.size())) == static_cast<int>(names.size()) - 1) {
    names.resize(2 * names.size());
  }
  return names;
}

kxframe* BuildDropDown(int boxHeight) {
  kxframe* frame = new kxframe(kListX, boxHeight + kListAbove, kListWidth, kListHeight);
  kxscroll* scroll = new kxscroll(kScrollInset, kScrollInset, kListWidth - 2 * kScrollInset, kListHeight - 2 * kScrollInset);
  kxcolumn* column = new kxcolumn;
  if (!frame || !scroll || !column) {
    delete frame;
    delete scroll;
    delete column;
    return nullptr;
  }
  frame->raised = 1;  // the bevel inverted: the list stands out of the page
  scroll->background = kxgui::kWhite;
  frame->AppendChild(scroll);
  scroll->AppendChild(column);
  for (const kxstring& stem : AirfoilStems()) {
    if (stem.Empty()) break;
    kxtext* entry = new kxtext(kxdairfoil::ReadTitle(stem.Text()).Text(), 0, 0, kEntryWidth, kEntryHeight);
    if (!entry) break;
    entry->onLeftDown = kEntryCommand;
    InsertSorted(column, entry);
  }
  return frame;
}

}  // namespace

svdesignairfoillist::svdesignairfoillist(int x, int y, int w, int h, kxdairfoil** bound)
    : kxgraphic(x, y, w, h), binding(bound) {
  type = &Type;
  dropDown = BuildDropDown(h);
  if (dropDown) listX_ = dropDown->X, listY_ = dropDown->Y;
}

svdesignairfoillist::~svdesignairfoillist() {
  // While open the list is a child and goes with the children.
  if (dropDown && dropDown->parent != this) delete dropDown;
}

bool svdesignairfoillist::IsOpen() const { return dropDown && dropDown->parent == this; }

kxvalueptr svdesignairfoillist::GetMember(const char* member, const kxargs& args) {
  if (std::strcmp(member, "SetAirfoil") != 0) return kxgraphic::GetMember(member, args);
  selection = kxdairfoil::Find(args.String(0).Text());
  // The pressed entry holds the focus and leaves the screen with the list:
  // the focus goes with it, as a hidden window's does, so that the next key
  // (Escape among them) reaches the screen instead of the gone entry. The
  // choice is committed now, not when the focus would have moved on.
  if (dropDown) {
    if (kxgui::Focus && kxgui::Focus->IsWithin(dropDown)) kxgui::Focus = nullptr;
    dropDown->Unlink();
  }
  if (svdesignpage* page = svdesign::State().shownPage) {
    page->MarkEdited();
    page->Store();
    page->Refresh();
  }
  return kxvoid();
}

void svdesignairfoillist::OnLeftDown() {
  if (!dropDown) return;
  if (IsOpen()) {
    dropDown->Unlink();
  } else {
    PlaceDropDown();
    AppendChild(dropDown);
  }
}

void svdesignairfoillist::OnKey(int character, int code) {
  if (code != kxcode::kKeyEscape || !IsOpen()) {
    kxgraphic::OnKey(character, code);
    return;
  }
  // Nothing was chosen, so there is nothing to commit. The focus stays on
  // the box rather than on a part of the list that leaves the screen.
  if (kxgui::Focus && kxgui::Focus->IsWithin(dropDown)) kxgui::Focus = this;
  dropDown->Unlink();
}

void svdesignairfoillist::PlaceDropDown() {
  const kxgraphic* screen = kxgui::Visible;
  int ax = 0, ay = 0;  // the box's origin on the screen
  for (const kxgraphic* w = this; w && w != screen; w = w->ParentWidget()) ax += w->X, ay += w->Y;
  int x = listX_, y = listY_;
  if (screen) {
    x = std::max(std::min(x, screen->W - ax - dropDown->W), -ax);
    y = std::max(std::min(y, screen->H - svdesign::kMenuBarHeight - ay - dropDown->H), -ay);
  }
  // Come down that far it may reach the page bar, which lies on top: it
  // then stands left of the bar.
  if (const kxgraphic* bar = svdesign::State().pageBar) {
    bool across = ax + x < bar->X + bar->W && bar->X < ax + x + dropDown->W && ay + y < bar->Y + bar->H &&
                  bar->Y < ay + y + dropDown->H;
    if (across && bar->W > 0) x = std::max(bar->X - ax - dropDown->W, -ax);
  }
  dropDown->X = x;
  dropDown->Y = y;
}

void svdesignairfoillist::Update() {
  kxgraphic* focus = kxgui::Focus;
  if (focus && !focus->IsWithin(this)) {
    if (dropDown) dropDown->Unlink();
    if (svdesignpage* page = svdesign::State().shownPage) {
      page->Store();
      page->Refresh();
    }
  }
  kxgraphic::Update();
}

void svdesignairfoillist::Refresh() { selection = binding ? *binding : nullptr; }

void svdesignairfoillist::Store() {
  if (binding) *binding = selection;
}

void svdesignairfoillist::Draw(int ox, int oy) {
  W = kWidth;
  H = kHeight;
  int x = ox + X, y = oy + Y;
  kxgui::SetColor(kxgui::kWhite);
  kxgui::FillRect(x + kInset, y + kInset, x + W - kInset, y + H - kInset);
  if (selection) {
    float scale = static_cast<float>(W - kOutlineMargin);
    float left = static_cast<float>(x + kOutlineLeft), middle = static_cast<float>(y + H / 2);
    auto px = [&](int i) { return static_cast<int>(std::lround(left + selection->CoordX[i] * scale)); };
    auto py = [&](int i) { return static_cast<int>(std::lround(middle + selection->CoordY[i] * scale)); };
    kxgui::SetColor(kOutlineColour);
    for (int i = 0; i + 1 < selection->CoordCount; ++i) kxgui::DrawLine(px(i), py(i), px(i + 1), py(i + 1));
    kxgui::SetColor(kNameColour);
    kxgui::DrawText(x + kNameX, y + kNameY, selection->name.Text());
  }
  DrawChildren(x, y);
}
