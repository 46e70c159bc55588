// The designer's drawing under a real OpenGL context (a hidden window;
// skipped without a display), read back pixel by pixel: the airfoil graph,
// the button bars, the frame around the viewer and the move gizmo.
#include <string>

#include "designer/airfoil_graph.h"
#include "designer/gizmo.h"
#include "designer_gl_support.h"
#include "dynamics/fuselage.h"
#include "dynamics/wings/airfoil.h"
#include "graphics/mesh.h"

namespace {

using kxtest::pixel;
using kxtest::ReadPixel;

constexpr int kWidth = designertest::kGlWidth, kHeight = designertest::kGlHeight;  // px

class DesignerDrawTest : public designertest::designerglfixture {
 protected:
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
  EXPECT_TRUE(Is(ReadPixel(10, 100), 102, 153, 204));  // the viewer, beside the aircraft
  EXPECT_TRUE(Is(ReadPixel(300, 82), 255, 255, 255));
  EXPECT_TRUE(Is(ReadPixel(300, kHeight - 65), 0, 0, 0));
  EXPECT_TRUE(Is(ReadPixel(300, 40), 204, 204, 204));  // the page strip
  EXPECT_TRUE(Is(ReadPixel(300, kHeight - 10), 204, 204, 204));  // the menu strip
}

TEST_F(DesignerDrawTest, CurrentObjectIsBlueAndTransparentMeshesKeepTheirOwnColour) {
  Enter("trainer");
  // The stabilizer made a red transparent mesh.
  for (kxgeometry* el = Object("Stabilizer")->component->Geometry->mesh; el; el = el->next) {
    el->transparent = 1;
    for (int i = 0; i < 4; ++i) el->ambient[i] = el->diffuse[i] = i == 0 || i == 3 ? 1.0f : 0.0f;
  }
  // Blue, white, red or other where the viewer shows a world point.
  auto seen = [](float x, float y) {
    float px, py;
    designertest::Project(State().camera, {x, y, 0, 1}, &px, &py);
    pixel p = ReadPixel(static_cast<int>(px), static_cast<int>(py));
    if (p.r == 0 && p.g == 0 && p.b > 40) return 'b';
    if (p.r > 40 && p.g == 0 && p.b == 0) return 'r';
    return p.r == p.g && p.g == p.b && p.r > 40 ? 'w' : '?';
  };
  struct probe {
    const char* current;  // null: the whole aircraft, which the main body shows
    const char* colours;  // of the left wing, the fuselage and the stabilizer
  } probes[] = {{nullptr, "wbr"}, {"LeftWing", "bwr"}, {"Stabilizer", "wwr"}};
  for (const probe& p : probes) {
    svdesign::SwitchObject(p.current ? Object(p.current) : nullptr);
    svdesign::Draw();
    EXPECT_EQ(std::string({seen(-0.05f, 0.4f), seen(0.15f, 0), seen(-0.7f, 0.2f)}), p.colours);
  }
}

// Each square seen face-on from either side, over black with the viewer's
// blending and back faces culled: both windings are drawn, so each shows in
// its colour at alpha 0.2 from both sides.
TEST_F(DesignerDrawTest, MoveGizmoShowsEachSquareInItsColourFromEitherSide) {
  // The GUI's drawing in the next test finds the state as it was.
  glPushAttrib(GL_ALL_ATTRIB_BITS);
  glMatrixMode(GL_PROJECTION);
  glPushMatrix();
  glLoadIdentity();
  glOrtho(-1, 1, -1, 1, -10, 10);
  glMatrixMode(GL_MODELVIEW);
  glPushMatrix();
  glViewport(0, 0, kWidth, kHeight);
  glDisable(GL_DEPTH_TEST);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glEnable(GL_CULL_FACE);
  glCullFace(GL_BACK);
  kxmatrix frame;
  kxmatrix::SetIdentity(&frame);
  const float pi = 3.14159265f;
  struct probe {
    kxvector4r axis;    // the view turned about it
    float angle;        // rad
    kxvector4r point;   // in the square
    int r, g, b;
  } probes[] = {{{1, 0, 0, 0}, 0, {0.25f, 0.25f, 0, 1}, 0, 0, 51},    {{1, 0, 0, 0}, pi, {0.25f, 0.25f, 0, 1}, 0, 0, 51},
                {{0, 1, 0, 0}, -pi / 2, {0, 0.25f, 0.25f, 1}, 51, 0, 0}, {{0, 1, 0, 0}, pi / 2, {0, 0.25f, 0.25f, 1}, 51, 0, 0},
                {{1, 0, 0, 0}, pi / 2, {0.25f, 0, 0.25f, 1}, 0, 51, 0},  {{1, 0, 0, 0}, -pi / 2, {0.25f, 0, 0.25f, 1}, 0, 51, 0}};
  for (const probe& p : probes) {
    glClear(GL_COLOR_BUFFER_BIT);
    kxmatrix view;
    kxmatrix::SetRotation(&view, p.axis, p.angle);
    glLoadMatrixf(view.Data());
    glEnable(GL_TEXTURE_2D);
    svdesign::DrawMoveGizmo(frame, 0.5f);
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D) && glIsEnabled(GL_LIGHTING));
    kxvector4r seen;
    kxmatrix::TransformVector4(&seen, &view, &p.point);
    pixel got = ReadPixel(static_cast<int>((seen.x + 1) * kWidth / 2), static_cast<int>((seen.y + 1) * kHeight / 2));
    EXPECT_NEAR(got.r, p.r, 1) << p.angle;
    EXPECT_NEAR(got.g, p.g, 1) << p.angle;
    EXPECT_NEAR(got.b, p.b, 1) << p.angle;
    EXPECT_TRUE(Is(ReadPixel(kWidth * 7 / 8, kHeight * 7 / 8), 0, 0, 0));  // beside the squares
  }
  glPopMatrix();
  glMatrixMode(GL_PROJECTION);
  glPopMatrix();
  glMatrixMode(GL_MODELVIEW);
  glPopAttrib();
}

// The centre-of-gravity page shows the gizmo in the viewer's transparent
// passes (twice, as they run twice); other pages show none.
TEST_F(DesignerDrawTest, CentreOfGravityPageShowsTheGizmoAroundTheCentreOfGravity) {
  Enter("trainer");
  const kxvector4r cg = static_cast<kxdfuselage00*>(Object("Fuselage")->component)->CG;
  float px, py;
  // Ahead of the wing and beside the fuselage, on the blue square.
  designertest::Project(State().camera, {cg.x + 0.15f, cg.y + 0.15f, cg.z, 1}, &px, &py);
  struct probe {
    int page;
    int r, g, b;
  } probes[] = {{1, 65, 98, 222}, {2, 102, 153, 204}};
  for (const probe& p : probes) {
    Open("Fuselage", p.page);
    svdesign::Draw();
    pixel got = ReadPixel(static_cast<int>(px), static_cast<int>(py));
    EXPECT_NEAR(got.r, p.r, 2) << p.page;
    EXPECT_NEAR(got.g, p.g, 2) << p.page;
    EXPECT_NEAR(got.b, p.b, 2) << p.page;
  }
}

}  // namespace
