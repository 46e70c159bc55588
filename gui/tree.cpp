#include "gui/tree.h"

#include <algorithm>
#include <cstring>

#include "core/interpreter.h"
#include "core/reference.h"
#include "gui/gui.h"
#include "gui/icons.h"
#include "gui/paint.h"
#include "gui/scroll.h"

kxtype kxtree::Type("kxtree", sizeof(kxtree), kxcreate<kxtree>);

namespace {

constexpr int kTopInset = 20;       // px from the top edge to the root row's bottom
constexpr int kLeftInset = 4;       // px
constexpr int kNameIndent = 20;     // px from an entry to its name
constexpr int kExtraHeight = 10;    // px below the last row
constexpr int kExtraWidth = 12;     // px right of the widest row
constexpr int kExpander = 15;       // px of the expander left of an entry
constexpr int kConnectorLeft = 3;   // px from a parent entry to its children's connectors
constexpr int kConnectorLeaf = 17;  // icons: 17 no children, 19 closed, 21 open; +1 for the last child
constexpr int kConnectorClosed = 19;
constexpr int kConnectorOpen = 21;
constexpr float kGhostAlpha = 0.7f;
const kxcolor4 kHighlight = {0.8f, 0.8f, 0.8f, 1};

std::vector<kxtree*>& Trees() {
  static std::vector<kxtree*>* list = new std::vector<kxtree*>;
  return *list;
}

bool Inside(const kxnode* node, const kxnode* ancestor) {
  return node && ancestor && (node == ancestor || node->IsDescendantOf(ancestor));
}

}  // namespace

kxtree::kxtree() {
  type = &Type;
  kxnode::AddDestroyListener(NodeGone);
  Trees().push_back(this);
}

kxtree::~kxtree() {
  auto& list = Trees();
  list.erase(std::remove(list.begin(), list.end(), this), list.end());
}

void kxtree::NodeGone(kxnode* node) {
  for (kxtree* t : Trees()) {
    kxnode** pointers[] = {&t->root, &t->highlight, &t->expanderHit, &t->Selection, &t->dragSource};
    for (kxnode** p : pointers) {
      if (*p == node) *p = nullptr;
    }
    t->Close(node);
  }
}

kxvalueptr kxtree::GetMember(const char* member, const kxargs& args) {
  if (std::strcmp(member, "OnSelect") == 0) return kxvalueptr(new kxstringref(&OnSelect));
  if (std::strcmp(member, "Selection") == 0) return kxvalueptr(new kxnodeptrref(&Selection));
  return kxgraphic::GetMember(member, args);
}

int kxtree::IsOpen(const kxnode* node) const {
  for (int i = 0; i < openCount; ++i) {
    if (open[i] == node) return 1;
  }
  return 0;
}

int kxtree::Open(kxnode* node) {
  if (!node || IsOpen(node) || openCount >= kMaxOpen) return 0;
  open[openCount++] = node;
  return 1;
}

int kxtree::Close(kxnode* node) {
  for (int i = 0; i < openCount; ++i) {
    if (open[i] != node) continue;
    std::copy(open + i + 1, open + openCount, open + i);
    open[--openCount] = nullptr;
    return 1;
  }
  return 0;
}

std::vector<kxtree::row> kxtree::Rows() {
  std::vector<row> rows;
  if (!root) return rows;
  // The root row always shows its children; when the list is full the
  // oldest entry makes room for it.
  if (!IsOpen(root) && !Open(root)) {
    Close(open[0]);
    Open(root);
  }
  struct walker {
    kxtree* tree;
    std::vector<row>* rows;
    void Add(kxnode* node, int depth) {
      int y = tree->H - kTopInset - kRowHeight * static_cast<int>(rows->size());
      rows->push_back({node, depth, kLeftInset + kIndent * depth, y});
      if (!tree->IsOpen(node)) return;
      for (kxnode* child = node->firstChild; child; child = child->nextSibling) Add(child, depth + 1);
    }
  };
  walker{this, &rows}.Add(root, 0);
  return rows;
}

void kxtree::Update() {
  kxgraphic::Update();
  std::vector<row> rows = Rows();
  H = kRowHeight * static_cast<int>(rows.size()) + kExtraHeight;
  int widest = 0;
  for (const row& r : rows) {
    widest = std::max(widest, r.x + kxgui::TextWidth(r.node->name.Text()) + kNameIndent);
  }
  W = widest + kExtraWidth;
}

kxtree::hit kxtree::HitAt(int x, int y) {
  hit h;
  for (const row& r : Rows()) {
    int dx = x - r.x, dy = y - r.y;
    if (dy < 1 || dy >= kRowHeight) continue;
    if (dx >= -kExpander && dx < 0) {
      h.expander = r.node;
    } else if (dx > 0 && dx < kxgui::TextWidth(r.node->name.Text()) + kNameIndent) {
      h.entry = r.node;
      h.dx = dx;
      h.dy = dy;
    }
    break;
  }
  return h;
}

void kxtree::RunWithSelection(const kxstring& command) {
  if (command.Empty()) return;
  kxstring text;
  text.Format("%s( Selection )", command.Text());
  kxscript::Execute(text.Text(), this);
}

void kxtree::OnLeftDown() {
  int x = 0, y = 0;
  ToLocal(&x, &y);
  hit h = HitAt(x, y);
  Selection = h.entry;
  highlight = h.entry;
  expanderHit = h.expander;
  if (h.entry) {
    grabX = h.dx;
    grabY = h.dy;
    RunWithSelection(OnSelect);
  }
  if (h.expander && !Close(h.expander)) Open(h.expander);
}

void kxtree::OnLeftDouble() {
  if (Selection) RunWithSelection(onDouble);
  if (expanderHit && !Close(expanderHit)) Open(expanderHit);
}

void kxtree::OnMove() {
  if (!dragSource) return;
  int x = 0, y = 0;
  ToLocal(&x, &y);
  hit h = HitAt(x, y);
  if (h.entry && !Inside(h.entry, dragSource)) highlight = h.entry;
}

void kxtree::OnLeftUp() {
  if (!dragSource) return;
  int x = 0, y = 0;
  ToLocal(&x, &y);
  hit h = HitAt(x, y);
  kxnode* dragged = dragSource;
  dragSource = nullptr;
  if (h.entry && !Inside(h.entry, dragged)) h.entry->AddChild(dragged);
}

void kxtree::ResetSelection(kxscroll* scroll) {
  if (scroll) scroll->ScrollToTop();
}

int kxtree::Select(kxnode* node) {
  if (!Inside(node, root)) return 0;
  Selection = node;
  highlight = node;
  for (kxnode* n = node->parent; n && Inside(n, root); n = n->parent) Open(n);
  return 1;
}

int kxtree::SubtreeRows(kxnode* node) {
  int count = 1;
  if (IsOpen(node)) {
    for (kxnode* child = node->firstChild; child; child = child->nextSibling) count += SubtreeRows(child);
  }
  return count;
}

void kxtree::DrawEntry(kxnode* node, int x, int* y) {
  const char* name = node->name.Text();
  if (node == highlight) {
    kxgui::SetColor(kHighlight);
    kxgui::FillRect(x, *y, x + kxgui::TextWidth(name) + kNameIndent, *y + kRowHeight);
  }
  kxgui::SetColor(kxgui::kWhite);
  kxgui::DrawIcon(kxgui::kIconWindow, x, *y);
  kxgui::SetColor(kxgui::kBlack);
  kxgui::DrawText(x + kNameIndent, *y + 1, name);
  if (!IsOpen(node)) return;
  for (kxnode* child = node->firstChild; child; child = child->nextSibling) {
    *y -= kRowHeight;
    bool last = child->nextSibling == nullptr;
    int icon = !child->firstChild ? kConnectorLeaf : IsOpen(child) ? kConnectorOpen : kConnectorClosed;
    kxgui::SetColor(kxgui::kWhite);
    kxgui::DrawIcon(icon + (last ? 1 : 0), x + kConnectorLeft, *y);
    if (!last) {
      int below = SubtreeRows(child) - 1;
      for (int i = 1; i <= below; ++i) kxgui::DrawIcon(kxgui::kIconTreeLine, x + kConnectorLeft, *y - kRowHeight * i);
    }
    DrawEntry(child, x + kIndent, y);
  }
}

void kxtree::Draw(int ox, int oy) {
  int ax = ox + X, ay = oy + Y;
  if (root) {
    Rows();  // puts the root in the open list
    int y = ay + H - kTopInset;
    DrawEntry(root, ax + kLeftInset, &y);
  }
  if (dragSource) {
    int px = 0, py = 0;
    ToLocal(&px, &py);
    int gx = ax + px - grabX, gy = ay + py - grabY;
    kxgui::SetColor(1, 1, 1, kGhostAlpha);
    kxgui::DrawIcon(kxgui::kIconWindow, gx, gy);
    kxgui::SetColor(0, 0, 0, kGhostAlpha);
    kxgui::DrawText(gx + kNameIndent, gy + 1, dragSource->name.Text());
  }
  DrawChildren(ax, ay);
}
