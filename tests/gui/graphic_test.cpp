// Widget base: creation from scripts, the anchor layout, hit testing, local
// coordinates and the destroy notification.
#include "gui/graphic.h"

#include "core/interpreter.h"
#include "gui_support.h"
#include "gui/menu.h"
#include "gui/window.h"

namespace {

class GraphicTest : public kxtest::guitest {
 protected:
  kxgraphic* Add(kxgraphic* parent, int x, int y, int w, int h) {
    kxgraphic* g = new kxgraphic(x, y, w, h);
    parent->AppendChild(g);
    return g;
  }
};

TEST_F(GraphicTest, WidgetsAreCreatedByTypeNameFromAScript) {
  kxscript::Execute("Append kxgraphic Panel; cd Panel/; X = 10; Y = 20; W = 30; H = 40; Wr = 5", screen);
  kxgraphic* panel = kxgraphic::Of(kxnode::Find("/Display/Visible/Panel/"));
  ASSERT_NE(panel, nullptr);
  EXPECT_EQ(panel->X, 10);
  EXPECT_EQ(panel->Y, 20);
  EXPECT_EQ(panel->W, 30);
  EXPECT_EQ(panel->H, 40);
  EXPECT_EQ(panel->Wr, 5);
  kxscript::Execute("Append kxwindow Win; Append kxpopup Pop; Append kxmenuitem Title", screen);
  EXPECT_NE(dynamic_cast<kxwindow*>(kxnode::Find("/Display/Visible/Win/")), nullptr);
  EXPECT_NE(dynamic_cast<kxpopup*>(kxnode::Find("/Display/Visible/Pop/")), nullptr);
  EXPECT_TRUE(kxtype::IsDerivedFrom(kxtype::Find("kxwindow"), &kxgraphic::Type));
  EXPECT_TRUE(kxtype::IsDerivedFrom(kxtype::Find("kxbackground"), &kxgraphic::Type));
}

// Anchors on the 640 x 480 screen apply width first, then top, height and
// right, each from the sizes before it; grandchildren see the new sizes.
TEST_F(GraphicTest, AnchorLayouts) {
  struct layout {
    int x, y, w, h, xr, yr, wr, hr;
    int wantX, wantY, wantW, wantH;
  };
  const layout layouts[] = {
      {10, 20, 100, 50, 15, 0, 30, 0, 25, 20, 600, 50},
      {0, 20, 10, 50, 0, 100, 0, 30, 0, 330, 10, 120},
  };
  for (const layout& l : layouts) {
    kxgraphic* g = Add(screen, l.x, l.y, l.w, l.h);
    g->Xr = l.xr, g->Yr = l.yr, g->Wr = l.wr, g->Hr = l.hr;
    g->Update();
    EXPECT_EQ(g->X, l.wantX);
    EXPECT_EQ(g->Y, l.wantY);
    EXPECT_EQ(g->W, l.wantW);
    EXPECT_EQ(g->H, l.wantH);
  }
  kxgraphic* outer = Add(screen, 0, 0, 10, 10);
  outer->Wr = 40;
  kxgraphic* inner = Add(outer, 0, 0, 10, 10);
  inner->Xr = 10;
  screen->Update();
  EXPECT_EQ(inner->X, 580);
}

// The first child wins; edges are half open, in the parent's coordinates.
TEST_F(GraphicTest, HitTests) {
  kxgraphic* top = Add(screen, 100, 100, 50, 50);
  kxgraphic* below = Add(screen, 120, 120, 50, 50);
  kxgraphic* frame = Add(screen, 300, 100, 200, 200);
  kxgraphic* child = Add(frame, 10, 10, 20, 20);
  const struct {
    int x, y;
    kxgraphic* hot;
  } hits[] = {{130, 130, top}, {160, 160, below}, {10, 10, screen}, {310, 110, child}, {330, 115, frame}};
  for (const auto& h : hits) {
    kxgui::Hot = nullptr;
    screen->HitTest(h.x, h.y);
    EXPECT_EQ(kxgui::Hot, h.hot) << h.x << ", " << h.y;
  }
}

TEST_F(GraphicTest, AHiddenWidgetAndItsChildrenAreNotHit) {
  kxgraphic* top = Add(screen, 100, 100, 50, 50);
  kxgraphic* below = Add(screen, 100, 100, 50, 50);
  kxgraphic* inner = Add(top, 5, 5, 10, 10);
  top->hidden = 1;
  kxgui::Hot = nullptr;
  screen->HitTest(108, 108);
  EXPECT_EQ(kxgui::Hot, below);
  top->hidden = 0;
  kxgui::Hot = nullptr;
  screen->HitTest(108, 108);
  EXPECT_EQ(kxgui::Hot, inner);
}

TEST_F(GraphicTest, ToLocalSubtractsEachPositionUpToTheLastWidget) {
  kxgraphic* frame = Add(screen, 100, 50, 200, 200);
  kxgraphic* child = Add(frame, 10, 20, 20, 20);
  Point(150, 90);
  int x = 0, y = 0;
  child->ToLocal(&x, &y);
  EXPECT_EQ(x, 40);
  EXPECT_EQ(y, 20);
  kxgraphic* loose = new kxgraphic(100, 100, 10, 10);
  kxnode holder;
  holder.AppendChild(loose);
  loose->ToLocal(&x, &y);
  EXPECT_EQ(x, 150);
  EXPECT_EQ(y, 90);
}

TEST_F(GraphicTest, PointerIsClampedAndAMissingDeviceReadsZero) {
  device[0] = 2.0f;
  device[1] = -1.0f;
  int x = 0, y = 0;
  screen->ToLocal(&x, &y);
  EXPECT_EQ(x, 639);
  EXPECT_EQ(y, 0);
  kxgui::PointingDevice = nullptr;
  kxgui::GetPointer(&x, &y);
  EXPECT_EQ(x, 0);
  EXPECT_EQ(y, 0);
}

TEST_F(GraphicTest, DestroyedSubtreeClearsTheGuiPointersIntoIt) {
  kxgraphic* frame = Add(screen, 0, 0, 100, 100);
  kxgraphic* child = Add(frame, 0, 0, 10, 10);
  kxgui::Hot = child;
  kxgui::Focus = child;
  kxgui::Capture = frame;
  kxgui::OpenList = child;
  delete frame;
  EXPECT_EQ(kxgui::Hot, nullptr);
  EXPECT_EQ(kxgui::Focus, nullptr);
  EXPECT_EQ(kxgui::Capture, nullptr);
  EXPECT_EQ(kxgui::OpenList, nullptr);
  EXPECT_EQ(kxgui::Visible, screen);
}

// A widget that hides itself (moves under the invisible screen) while its
// parent lays out its children.
class hider : public kxgraphic {
 public:
  int updates = 0;
  void Update() override {
    ++updates;
    kxgui::Invisible->AppendChild(this);
  }
};

TEST_F(GraphicTest, ChildMovingAwayDuringLayoutDoesNotBreakTheWalk) {
  hider* first = new hider;
  screen->AppendChild(first);
  kxgraphic* second = Add(screen, 0, 0, 10, 10);
  second->Wr = 40;
  screen->Update();
  EXPECT_EQ(first->updates, 1);
  EXPECT_EQ(first->parent, kxgui::Invisible);
  EXPECT_EQ(second->W, 600);
}

TEST_F(GraphicTest, KeysAndHoverClimbToTheParent) {
  struct sink : kxgraphic {
    int character = -1, code = -1, hover = -1;
    void OnKey(int c, int k) override { character = c, code = k; }
    void OnHover(int n) override { hover = n; }
  };
  sink* s = new sink;
  screen->AppendChild(s);
  kxgraphic* child = Add(s, 0, 0, 5, 5);
  child->OnKey(0, kxcode::kKeyReturn);
  child->OnHover(7);
  EXPECT_EQ(s->code, kxcode::kKeyReturn);
  EXPECT_EQ(s->hover, 7);
}

}  // namespace
