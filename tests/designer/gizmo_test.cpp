// The move gizmo's pick test and the centre-of-gravity page's plane drag,
// without GL: the nearest square from either side, ties to the lower
// plane, far hits ignored; the drag keeps to the grabbed plane and the box.
#include <cmath>

#include "designer/fuselage_pages.h"
#include "designer/gizmo.h"
#include "designer_support.h"
#include "dynamics/fuselage.h"

namespace {

using designertest::designerfixture;

TEST(MoveGizmoPickTest, NearestSquareFromEitherSideWithTiesToTheLowerPlane) {
  kxmatrix frame;
  kxmatrix::SetIdentity(&frame);
  const kxvector4r untouched = {7, 7, 7, 7};
  struct probe {
    kxvector4r nearPoint, farPoint;
    int plane;
    kxvector4r hit;  // untouched: none
  } probes[] = {
      {{0.25f, 0.125f, 1, 0}, {0.25f, 0.125f, -1, 0}, 3, {0.25f, 0.125f, 0, 1}},    // from above
      {{0.25f, 0.125f, -1, 0}, {0.25f, 0.125f, 1, 0}, 3, {0.25f, 0.125f, 0, 1}},    // from below
      {{-1, 0.25f, 0.25f, 0}, {1, 0.25f, 0.25f, 0}, 1, {0, 0.25f, 0.25f, 1}},       // across x
      {{0.25f, 1, 0.25f, 0}, {0.25f, -1, 0.25f, 0}, 2, {0.25f, 0, 0.25f, 1}},       // across y
      // Through y = 0 at x 0.25, then x = 0 at y -0.25: the green square is nearer.
      {{0.5f, 0.25f, 0.125f, 0}, {-0.5f, -0.75f, 0.125f, 0}, 2, {0.25f, 0, 0.125f, 1}},
      {{-0.5f, -0.75f, 0.125f, 0}, {0.5f, 0.25f, 0.125f, 0}, 1, {0, -0.25f, 0.125f, 1}},
      // Through the z axis, where the red and green squares meet.
      {{1, 1, 0.125f, 0}, {-1, -1, 0.125f, 0}, 1, {0, 0, 0.125f, 1}},
      {{0.75f, 0.75f, 1, 0}, {0.75f, 0.75f, -1, 0}, 0, untouched},                  // beside all three
  };
  for (const probe& p : probes) {
    kxvector4r hit = untouched;
    EXPECT_EQ(svdesign::PickMoveGizmo(&hit, frame, 0.5f, p.nearPoint, p.farPoint), p.plane) << p.nearPoint.x;
    EXPECT_EQ(hit, p.hit) << p.nearPoint.x;
  }
}

TEST(MoveGizmoPickTest, FrameMovesTheSquaresAndFarHitsAreMisses) {
  kxmatrix frame;
  kxmatrix::SetIdentity(&frame);
  frame.X = {0, 1, 0, 0};  // turned a quarter about z
  frame.Y = {-1, 0, 0, 0};
  frame.R = {2, 0, 1, 1};
  kxvector4r hit;
  // The red square (x = 0 of the gizmo) now lies in the aircraft's y = 0 plane.
  EXPECT_EQ(svdesign::PickMoveGizmo(&hit, frame, 0.5f, {2.25f, 1, 1.25f, 0}, {2.25f, -1, 1.25f, 0}), 1);
  EXPECT_EQ(hit, (kxvector4r{2.25f, 0, 1.25f, 1}));
  frame.R = {0, 0, 1500, 1};
  hit = {};
  EXPECT_EQ(svdesign::PickMoveGizmo(&hit, frame, 0.5f, {0.25f, 0.25f, 0, 0}, {0.25f, 0.25f, 2000, 0}), 0);
  frame.R = {0, 0, 900, 1};
  EXPECT_EQ(svdesign::PickMoveGizmo(&hit, frame, 0.5f, {0.25f, 0.25f, 0, 0}, {0.25f, 0.25f, 2000, 0}), 3);
  EXPECT_NEAR(hit.z, 900.0f, 1e-3f);
}

class CgGizmoTest : public designerfixture {};

// On the trainer's fuselage: a drag on the blue square moves x and y only,
// stops at the box while the ray goes on and comes back with it; the
// release ends it, and the next Store rebalances the aircraft.
TEST_F(CgGizmoTest, DragMovesTheCentreOfGravityInTheGrabbedPlaneWithinTheBox) {
  Enter();
  std::vector<svdesignfield*> fields = Open("Fuselage", 1);
  auto* fuselage = static_cast<kxdfuselage00*>(Object("Fuselage")->component);
  auto* page = static_cast<svdesigncgpage*>(Object("Fuselage")->currentPage);
  const kxvector4r cg = fuselage->CG;
  const kxvector4r place = fuselage->B.R;
  auto down = [](float x, float y) { return designray{{x, y, 1, 0}, {x, y, -1, 0}}; };
  Object("Fuselage")->MouseDown(down(cg.x + 0.1f, cg.y + 0.1f));
  EXPECT_EQ(page->moveAxis, 3);
  EXPECT_EQ(Object("Fuselage")->dragging, 1);
  Object("Fuselage")->MouseMove(down(cg.x + 0.15f, cg.y + 0.05f));
  EXPECT_NEAR(fuselage->CG.x, cg.x + 0.05f, 1e-6f);
  EXPECT_NEAR(fuselage->CG.y, cg.y - 0.05f, 1e-6f);
  EXPECT_EQ(fuselage->CG.z, cg.z);
  EXPECT_STREQ(fields[0]->text, "5.0 cm");
  EXPECT_STREQ(fields[1]->text, "-5.0 cm");
  Object("Fuselage")->MouseMove(down(cg.x + 2, cg.y - 2));
  EXPECT_FLOAT_EQ(fuselage->CG.x, svdesigncgpage::kHalfLength);
  EXPECT_FLOAT_EQ(fuselage->CG.y, -svdesigncgpage::kHalfWidth);
  Object("Fuselage")->MouseMove(down(cg.x + 0.1f, cg.y + 0.1f));
  EXPECT_NEAR(fuselage->CG.x, cg.x, 1e-6f);
  EXPECT_NEAR(fuselage->CG.y, cg.y, 1e-6f);
  // Parallel to the plane the ray meets it nowhere: the step is skipped.
  Object("Fuselage")->MouseMove({{cg.x, -1, 0.05f, 0}, {cg.x + 0.2f, 1, 0.05f, 0}});
  EXPECT_NEAR(fuselage->CG.x, cg.x, 1e-6f);
  Object("Fuselage")->MouseMove(down(cg.x + 0.2f, cg.y + 0.1f));
  Object("Fuselage")->MouseUp(down(cg.x, cg.y));
  EXPECT_EQ(page->moveAxis, 0);
  Object("Fuselage")->MouseMove(down(cg.x + 0.3f, cg.y));
  EXPECT_NEAR(fuselage->CG.x, cg.x + 0.1f, 1e-6f);
  EXPECT_EQ(fuselage->B.R, place);  // no rebalancing while dragging
  Run("DesignPropertySetValues");
  EXPECT_NEAR(fuselage->CG.x, cg.x + 0.1f, 1e-6f);
  EXPECT_NE(fuselage->B.R, place);

  // The red square moves y and z; a press beside the squares drags nothing.
  Object("Fuselage")->MouseDown({{-1, fuselage->CG.y + 0.1f, 0.1f, 0}, {1, fuselage->CG.y + 0.1f, 0.1f, 0}});
  EXPECT_EQ(page->moveAxis, 1);
  const kxvector4r before = fuselage->CG;
  Object("Fuselage")->MouseMove({{-1, before.y + 0.05f, 0.15f, 0}, {1, before.y + 0.05f, 0.15f, 0}});
  EXPECT_EQ(fuselage->CG.x, before.x);
  EXPECT_NEAR(fuselage->CG.y, before.y - 0.05f, 1e-6f);
  EXPECT_NEAR(fuselage->CG.z, before.z + 0.05f, 1e-6f);
  Object("Fuselage")->MouseUp({});
  Object("Fuselage")->MouseDown(down(fuselage->CG.x + 0.5f, 0));
  EXPECT_EQ(page->moveAxis, 0);
  EXPECT_EQ(Object("Fuselage")->dragging, 0);
}

}  // namespace
