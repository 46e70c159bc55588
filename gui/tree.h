// kxtree: shows a subtree of the node tree as indented rows with expanders.
// A press selects an entry and runs OnSelect, an expander opens or closes its
// entry, and a drag that the application starts (by setting dragSource)
// moves the dragged node into the entry it is dropped on. Every node pointer
// it keeps is dropped when that node is destroyed.
#pragma once

#include <vector>

#include "core/string.h"
#include "gui/graphic.h"

class kxscroll;

class kxtree : public kxgraphic {
 public:
  static kxtype Type;
  static constexpr int kRowHeight = 16;  // px
  static constexpr int kIndent = 19;     // px from an entry to its children
  static constexpr int kMaxOpen = 64;    // entries the open list holds

  kxnode* root = nullptr;        // the node whose subtree is shown
  kxstring OnSelect;             // run as "OnSelect( Selection )"
  kxstring onDouble;             // set by the application
  kxnode* highlight = nullptr;   // the selection after a press, the drop target while dragging
  kxnode* expanderHit = nullptr; // entry whose expander the last press hit
  kxnode* Selection = nullptr;
  kxnode* dragSource = nullptr;  // set by the application to start a drag
  int grabX = 0, grabY = 0;      // px, pointer inside the entry at the press
  kxnode* open[kMaxOpen] = {};   // open entries, in the order they were opened
  int openCount = 0;

  kxtree();
  ~kxtree() override;

  // "OnSelect", "Selection", then the base names.
  kxvalueptr GetMember(const char* member, const kxargs& args) override;
  // H from the visible rows, W from the widest.
  void Update() override;
  void OnLeftDown() override;
  void OnLeftDouble() override;
  void OnMove() override;
  void OnLeftUp() override;
  void Draw(int ox, int oy) override;

  // Selects a node of the shown subtree and opens the entries above it; 0
  // when the node lies outside.
  int Select(kxnode* node);
  int IsOpen(const kxnode* node) const;
  // Adds (when absent and there is room) or removes an entry; 1 on a change.
  int Open(kxnode* node);
  int Close(kxnode* node);

  // One visible row: its node, depth below the root, and its place (the
  // entry's lower-left corner in the tree's coordinates).
  struct row {
    kxnode* node;
    int depth;
    int x, y;
  };
  std::vector<row> Rows();

  // What lies at a point of the tree: an entry, or an entry's expander.
  struct hit {
    kxnode* entry = nullptr;
    kxnode* expander = nullptr;
    int dx = 0, dy = 0;  // px, the point inside the entry
  };
  hit HitAt(int x, int y);

  static void NodeGone(kxnode* node);
  // Scrolls a list's scroll area back to the top at its next layout.
  static void ResetSelection(kxscroll* scroll);

 private:
  void RunWithSelection(const kxstring& command);
  void DrawEntry(kxnode* node, int x, int* y);
  int SubtreeRows(kxnode* node);
};
