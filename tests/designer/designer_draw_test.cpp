// The designer's drawing under a real OpenGL context (a hidden window;
// skipped without a display), read back pixel by pixel: the airfoil graph,
// the button bars and the frame around the viewer.
#include "designer/airfoil_graph.h"
#include "designer_support.h"
#include "dynamics/wings/airfoil.h"
#include "platform/null_window.h"
#include "tests/gui/gl_gui_support.h"

namespace {

using kxtest::pixel;
using kxtest::ReadPixel;

constexpr int kWidth = 640, kHeight = 480;  // px

class DesignerDrawTest : public kxtest::glguitest<designertest::designerfixture, kWidth, kHeight> {
 protected:
  void SetUp() override {
    glguitest::SetUp();
    kxsystem::SetWindowBackend(&null_);
  }
  void TearDown() override {
    kxsystem::SetWindowBackend(nullptr);
    glguitest::TearDown();
  }
  static bool Is(pixel p, int r, int g, int b) { return p.r == r && p.g == g && p.b == b; }
  // A one-pixel line may leave out a pixel where it steps diagonally.
  static bool Near(int x, int y, int r, int g, int b) {
    for (int dx = -1; dx <= 1; ++dx) {
      for (int dy = -1; dy <= 1; ++dy) {
        if (Is(ReadPixel(x + dx, y + dy), r, g, b)) return true;
      }
    }
    return false;
  }
  nullwindowbackend null_;
};

TEST_F(DesignerDrawTest, AirfoilGraphDrawsLiftDragAndMomentOfSym12) {
  svairfoilgraph* graph = Add(new svairfoilgraph(0, 0), 20, 40);
  graph->airfoil = kxdairfoil::Find("Sym 12");
  ASSERT_NE(graph->airfoil, nullptr);
  kxgui::Frame();
  EXPECT_TRUE(Is(ReadPixel(20 + 300, 40 + 390), 204, 204, 204));  // the vertical axis
  EXPECT_TRUE(Is(ReadPixel(20 + 100, 40 + 390), 255, 255, 255));
  struct probe {
    kxdcoefficient which;
    int degree;
    int r, g, b;
  } probes[] = {{kxdcoefficient::kLift, 8, 0, 255, 0},
                {kxdcoefficient::kLift, -8, 0, 255, 0},
                {kxdcoefficient::kDrag, 90, 255, 0, 0},
                {kxdcoefficient::kMoment, 90, 0, 0, 255}};
  for (const probe& p : probes) {
    int y = svairfoilgraph::Height(graph->airfoil->CoefficientAtDegree(p.which, p.degree));
    EXPECT_TRUE(Near(20 + 300 + p.degree, 40 + y, p.r, p.g, p.b)) << p.degree;
  }
}

TEST_F(DesignerDrawTest, ButtonsShowTheirPictureInTheFrameOverThePanelLine) {
  svdesignpanel* bar = Add(new svdesignpanel, 100, 100);
  bar->W = 88;
  for (int i = 0; i < 2; ++i) {
    svdesignbutton* b = new svdesignbutton("", "", 9);
    b->X = 44 * i;
    bar->AppendChild(b);
  }
  svdesignbutton* pressed = static_cast<svdesignbutton*>(bar->lastChild);
  pressed->state = kxbutton::kPressed;
  kxgui::Hot = pressed;  // a button the pointer left drops back at the layout
  kxgui::Frame();
  EXPECT_TRUE(Is(ReadPixel(100 + 42, 100 + 20), 255, 255, 255));  // the line between the buttons
  EXPECT_TRUE(Is(ReadPixel(100 + 42, 100 + 30), 0, 0, 0));
  EXPECT_TRUE(Is(ReadPixel(100 + 20, 100 + 20), 255, 255, 255));  // picture 9: a filled square
  EXPECT_TRUE(Is(ReadPixel(100 + 6, 100 + 6), 0, 0, 0));          // the frame is clear inside
  EXPECT_TRUE(Is(ReadPixel(100 + 1, 100 + 38), 250, 250, 250));   // raised: light top-left edge
  EXPECT_TRUE(Is(ReadPixel(100 + 44 + 1, 100 + 38), 70, 70, 70)); // pressed: dark
}

TEST_F(DesignerDrawTest, FrameClearsTheViewerAndDrawsTheStrips) {
  Enter("heli");
  svdesign::Draw();
  EXPECT_EQ(null_.swaps, 1);
  EXPECT_TRUE(Is(ReadPixel(300, 200), 102, 153, 204));  // the viewer
  EXPECT_TRUE(Is(ReadPixel(300, 82), 255, 255, 255));
  EXPECT_TRUE(Is(ReadPixel(300, kHeight - 65), 0, 0, 0));
  EXPECT_TRUE(Is(ReadPixel(300, 40), 204, 204, 204));  // the page strip
  EXPECT_TRUE(Is(ReadPixel(300, kHeight - 10), 204, 204, 204));  // the menu strip
}

}  // namespace
