// Rows, columns and flows place their children.
#include "gui/containers.h"
#include "widget_support.h"

namespace {

class ContainerTest : public kxtest::widgettest {
 protected:
  kxgraphic* Child(kxgraphic* parent, int w, int h) {
    kxgraphic* g = new kxgraphic(0, 0, w, h);
    parent->AppendChild(g);
    return g;
  }
};

TEST_F(ContainerTest, RowPlacesChildrenSideBySide) {
  kxrow* row = Add(new kxrow, 0, 0);
  kxgraphic* a = Child(row, 30, 10);
  kxgraphic* b = Child(row, 20, 25);
  screen->Update();
  EXPECT_EQ(a->X, 0);
  EXPECT_EQ(b->X, 30);
  EXPECT_EQ(row->W, 50);
  EXPECT_EQ(row->H, 25);
  row->cellWidth = 40;
  screen->Update();
  EXPECT_EQ(b->X, 40);
  EXPECT_EQ(row->W, 80);
}

TEST_F(ContainerTest, ColumnWithCellHeightPutsTheFirstChildOnTop) {
  kxcolumn* column = Add(new kxcolumn, 0, 0);
  column->cellHeight = 20;
  kxgraphic* a = Child(column, 30, 16);
  kxgraphic* b = Child(column, 50, 16);
  kxgraphic* c = Child(column, 10, 16);
  c->X = 5;
  screen->Update();
  EXPECT_EQ(column->H, 60);
  EXPECT_EQ(a->Y, 40);
  EXPECT_EQ(b->Y, 20);
  EXPECT_EQ(c->Y, 0);
  EXPECT_EQ(column->W, 50);
  screen->Update();  // stable
  EXPECT_EQ(a->Y, 40);
}

TEST_F(ContainerTest, ColumnWithoutCellHeightStacksChildHeights) {
  kxcolumn* column = Add(new kxcolumn, 0, 0);
  kxgraphic* a = Child(column, 30, 10);
  kxgraphic* b = Child(column, 30, 25);
  screen->Update();
  EXPECT_EQ(b->Y, 0);
  EXPECT_EQ(a->Y, 25);
  EXPECT_EQ(column->H, 35);
}

TEST_F(ContainerTest, FlowPutsTwoFortyPixelChildrenPerHundredPixelRow) {
  kxflow* flow = new kxflow(0, 50, 100, 0);
  Add(flow, 0, 50);
  kxgraphic* c[5];
  for (kxgraphic*& g : c) g = Child(flow, 40, 10);
  screen->Update();
  EXPECT_EQ(flow->H, 30);
  EXPECT_EQ(flow->Y, 0);
  EXPECT_EQ(c[0]->X, 0);
  EXPECT_EQ(c[1]->X, 40);
  EXPECT_EQ(c[2]->X, 0);
  EXPECT_EQ(c[0]->Y, 20);
  EXPECT_EQ(c[1]->Y, 20);
  EXPECT_EQ(c[2]->Y, 10);
  EXPECT_EQ(c[4]->Y, 0);
}

TEST_F(ContainerTest, FlowGapsSeparateChildrenAndRows) {
  kxflow* flow = Add(new kxflow(0, 0, 100, 0), 0, 0);
  flow->gapX = 5;
  flow->gapY = 3;
  kxgraphic* a = Child(flow, 40, 10);
  kxgraphic* b = Child(flow, 40, 10);
  kxgraphic* c = Child(flow, 40, 10);
  screen->Update();
  EXPECT_EQ(b->X, 45);
  EXPECT_EQ(c->X, 0);
  EXPECT_EQ(flow->H, 23);
  EXPECT_EQ(a->Y, 13);
  EXPECT_EQ(c->Y, 0);
}

TEST_F(ContainerTest, FlowKeepsAnOverwideFirstChildInTheTopRow) {
  kxflow* flow = Add(new kxflow(0, 0, 30, 0), 0, 0);
  kxgraphic* a = Child(flow, 50, 10);
  screen->Update();
  EXPECT_EQ(flow->H, 10);
  EXPECT_EQ(a->Y, 0);
}

}  // namespace
