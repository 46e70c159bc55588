// The tree view over a small node tree: rows, selection, expanders, drag and
// drop, and pointers dropped when nodes go.
#include "gui/tree.h"
#include "widget_support.h"

namespace {

using kxtest::Ran;

class TreeTest : public kxtest::widgettest {
 protected:
  void SetUp() override {
    widgettest::SetUp();
    data = new kxnode;
    data->name = "Data";
    kxscript::Root()->AppendChild(data);
    a = Make("A", data);
    a1 = Make("A1", a);
    a2 = Make("A2", a);
    b = Make("B", data);
    tree = new kxtree;
    tree->root = data;
    Add(tree, 0, 0);
  }
  void TearDown() override {
    delete data;
    widgettest::TearDown();
  }
  kxnode* Make(const char* name, kxnode* parent) {
    kxnode* n = new kxnode;
    n->name = name;
    parent->AppendChild(n);
    return n;
  }
  // Screen point on the entry of row i (depth d), inside its name.
  void PressRow(int i, int depth, int code = kxcode::kMouseLeftDown) {
    Mouse(code, 4 + 19 * depth + 25, tree->H - 20 - 16 * i + 5);
  }
  void PressExpander(int i, int depth) { Mouse(kxcode::kMouseLeftDown, 4 + 19 * depth - 8, tree->H - 20 - 16 * i + 5); }

  kxnode *data, *a, *a1, *a2, *b;
  kxtree* tree;
};

TEST_F(TreeTest, RootShowsItsChildrenAndSizesTheTree) {
  auto rows = tree->Rows();
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[0].node, data);
  EXPECT_EQ(rows[1].node, a);
  EXPECT_EQ(rows[2].node, b);
  EXPECT_EQ(rows[1].x, 4 + 19);
  EXPECT_EQ(tree->H, 16 * 3 + 10);
  EXPECT_EQ(tree->W, 4 + 4 * kAdvance + 20 + 12);  // the root's row is the widest
}

TEST_F(TreeTest, PressSelectsAndRunsOnSelect) {
  tree->OnSelect = "Note";
  tree->Update();
  PressRow(2, 1);
  EXPECT_EQ(tree->Selection, b);
  EXPECT_EQ(tree->highlight, b);
  ASSERT_EQ(Ran().size(), 1u);
  EXPECT_EQ(Ran()[0], "B");
  Mouse(kxcode::kMouseLeftDown, 30, 2);  // in the tree below the last row
  EXPECT_EQ(tree->Selection, nullptr);
}

TEST_F(TreeTest, ExpanderOpensAndClosesAnEntry) {
  PressExpander(1, 1);
  EXPECT_EQ(tree->IsOpen(a), 1);
  screen->Update();
  ASSERT_EQ(tree->Rows().size(), 5u);
  EXPECT_EQ(tree->Rows()[2].node, a1);
  EXPECT_EQ(tree->Rows()[2].x, 4 + 38);
  PressExpander(1, 1);
  EXPECT_EQ(tree->IsOpen(a), 0);
}

TEST_F(TreeTest, DoubleClickRunsItsCommandWithTheSelection) {
  tree->onDouble = "Note";
  PressRow(1, 1);
  PressRow(1, 1, kxcode::kMouseLeftDouble);
  ASSERT_EQ(Ran().size(), 1u);
  EXPECT_EQ(Ran()[0], "A");
}

TEST_F(TreeTest, SelectOpensTheAncestors) {
  kxnode* deep = Make("Deep", a1);
  EXPECT_EQ(tree->Select(deep), 1);
  EXPECT_EQ(tree->IsOpen(a), 1);
  EXPECT_EQ(tree->IsOpen(a1), 1);
  EXPECT_EQ(tree->Selection, deep);
  EXPECT_EQ(tree->Select(kxscript::Root()), 0);
}

TEST_F(TreeTest, DropMovesTheDraggedNodeIntoTheTarget) {
  tree->Open(a);
  screen->Update();
  tree->dragSource = b;
  // Rows: Data, A, A1, A2, B.
  Mouse(kxcode::kMouseMove, 4 + 38 + 10, tree->H - 20 - 32 + 5);
  EXPECT_EQ(tree->highlight, a1);
  Mouse(kxcode::kMouseLeftUp, 4 + 38 + 10, tree->H - 20 - 32 + 5);
  EXPECT_EQ(b->parent, a1);
  EXPECT_EQ(tree->dragSource, nullptr);
}

TEST_F(TreeTest, DropOntoADescendantDoesNothing) {
  tree->Open(a);
  screen->Update();
  tree->dragSource = a;
  Mouse(kxcode::kMouseMove, 4 + 38 + 10, tree->H - 20 - 32 + 5);
  EXPECT_NE(tree->highlight, a1);
  Mouse(kxcode::kMouseLeftUp, 4 + 38 + 10, tree->H - 20 - 32 + 5);
  EXPECT_EQ(a->parent, data);
  EXPECT_EQ(a1->parent, a);
}

TEST_F(TreeTest, OpenListIsBounded) {
  kxnode* n = data;
  for (int i = 0; i < kxtree::kMaxOpen + 10; ++i) n = Make("N", n);
  EXPECT_EQ(tree->Select(n), 1);
  EXPECT_EQ(tree->openCount, kxtree::kMaxOpen);
  tree->Update();  // walks without reading past the list
}

TEST_F(TreeTest, DestroyedNodesAreForgotten) {
  tree->Open(a);
  tree->Select(a1);
  tree->dragSource = a1;
  delete a;
  EXPECT_EQ(tree->Selection, nullptr);
  EXPECT_EQ(tree->highlight, nullptr);
  EXPECT_EQ(tree->dragSource, nullptr);
  EXPECT_EQ(tree->IsOpen(a), 0);
  EXPECT_EQ(tree->Rows().size(), 2u);
}

}  // namespace
