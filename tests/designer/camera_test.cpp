// The designer camera's maths, without a window: the pick ray against the
// view it is drawn with, the viewer modes' motions and their limits, and the
// trackball's orbit and roll.
#include <gtest/gtest.h>

#include <cmath>

#include "designer/viewer_modes.h"
#include "designer_support.h"

namespace {

using designertest::Project;
using v4 = kxvector4r;

void ExpectOrthonormal(const svdesigncamera& c) {
  const v4* axes[3] = {&c.view, &c.left, &c.up};
  for (int i = 0; i < 3; ++i) {
    EXPECT_NEAR(v4::Length(*axes[i]), 1, 1e-5) << i;
    EXPECT_NEAR(v4::Dot(*axes[i], *axes[(i + 1) % 3]), 0, 1e-5) << i;
  }
  v4 up;
  v4::Cross(up, c.view, c.left);
  EXPECT_NEAR(v4::Dot(up, c.up), 1, 1e-5);
}

class CameraTest : public ::testing::Test {
 protected:
  void SetUp() override {
    svdesign::State() = svdesign::designstate();
    camera().SetViewport(1024, 768);
  }
  void TearDown() override { svdesign::State() = svdesign::designstate(); }
  static svdesigncamera& camera() { return svdesign::State().camera; }
  static designpointer& pointer() { return svdesign::State().pointer; }
  // How far the pixel of a world point moves with a camera motion.
  template <class Motion>
  static void PointMoves(const v4& point, Motion motion, float* dx, float* dy) {
    float x0, y0, x1, y1;
    Project(camera(), point, &x0, &y0);
    motion();
    Project(camera(), point, &x1, &y1);
    *dx = x1 - x0;
    *dy = y1 - y0;
  }
};

TEST_F(CameraTest, RayThroughAPixelProjectsBackOntoThatPixel) {
  svdesigncamera& c = camera();
  c.Turn(0.3f, -0.2f);
  c.pos = {0.4f, -1, 3, 1};
  for (int px : {0, 300, 1023}) {
    for (int py : {82, 400, 713}) {
      designray ray = c.MouseRay(px, py);
      EXPECT_EQ(ray.nearPoint.w, 0);
      EXPECT_EQ(ray.farPoint.w, 0);
      for (const v4& p : {ray.nearPoint, ray.farPoint}) {
        float x, y;
        Project(c, p, &x, &y);
        EXPECT_NEAR(x, px, 1e-2) << px << "," << py;
        EXPECT_NEAR(y, py, 1e-2) << px << "," << py;
      }
    }
  }
  designray centre = c.MouseRay(512, 82 + 316);
  EXPECT_NEAR(centre.farPoint.x, c.pos.x + 20 * c.view.x, 1e-4);
}

TEST_F(CameraTest, MotionsMoveTheSceneWithThePointer) {
  float dx = 0, dy = 0;
  // An orbit keeps the origin in the middle; the aircraft's near side follows.
  struct probe {
    v4 point;
    void (*motion)();
  } probes[] = {{{0, 0, 0, 1}, [] { camera().Shift(0.1f, 0.05f); }},
                {{0, 0, 0, 1}, [] { camera().Turn(0.1f, 0.05f); }},
                {{0, 0, 1, 1}, [] { camera().Orbit(0.1f, 0.05f); }}};
  for (const probe& p : probes) {
    camera().PlaceTop(3);
    PointMoves(p.point, p.motion, &dx, &dy);
    EXPECT_GT(dx, 0);
    EXPECT_GT(dy, 0);
    ExpectOrthonormal(camera());
  }
  camera().PlaceTop(3);
  camera().Turn(1e-6f, 0);  // 0.4e-6: below the least turn
  EXPECT_EQ(camera().view, (v4{0, 0, -1, 0}));
  EXPECT_EQ(camera().pos, (v4{0, 0, 3, 1}));
}

TEST_F(CameraTest, DollyStopsFifteenFromTheOriginAndTheViewPullsBackFurther) {
  svdesigncamera& c = camera();
  c.PlaceTop(3);
  c.Dolly(-1);
  EXPECT_EQ(c.pos, (v4{0, 0, 4, 1}));
  c.Dolly(-20);
  EXPECT_FLOAT_EQ(v4::Length(c.pos), 15);
  EXPECT_LT(c.pos.w, 1);
  c.PullBack(5 * 1.2f);
  EXPECT_FLOAT_EQ(c.pos.z, 6);
  EXPECT_EQ(c.pos.w, 1);
}

TEST_F(CameraTest, TrackballOrbitsInsideTheDiscAndRollsOutside) {
  svdesignmoderotate& rotate = svdesign::Modes().rotate;
  designpointer& p = pointer();
  svdesigncamera& c = camera();
  struct probe {
    float x, y;
    int inside;
  } presses[] = {{0.5f, 0.5f, 0}, {0.3f, 0.3f, 1}, {0, 0, 1}, {NAN, 0, 1}};
  for (const probe& press : presses) {
    p.x = press.x;
    p.y = press.y;
    rotate.MouseDown();
    EXPECT_EQ(rotate.insideTrackball, press.inside) << press.x;
  }

  // Orbit about the world x axis: the eye swings toward +y.
  c.PlaceTop(5);
  p = {0.1f, 0, 0, 0, 0.1f, 0, 1, {}};
  rotate.insideTrackball = 1;
  rotate.MouseMove();
  EXPECT_NEAR(c.pos.x, 0, 1e-6);
  EXPECT_NEAR(c.pos.y, 5 * std::sin(0.2f), 1e-5);
  EXPECT_NEAR(c.pos.z, 5 * std::cos(0.2f), 1e-5);
  EXPECT_EQ(c.pos.w, 1);

  // Roll with the pointer at the top, moving right: 0.1 rad clockwise.
  c.PlaceTop(5);
  p = {0, 1, -0.1f, 1, 0.1f, 0, 1, {}};
  rotate.insideTrackball = 0;
  rotate.MouseMove();
  EXPECT_NEAR(c.left.y, std::cos(0.1f), 1e-6);
  EXPECT_NEAR(c.left.x, -std::sin(0.1f), 1e-6);
  EXPECT_EQ(c.pos, (v4{0, 0, 5, 1}));
  p = {0, 0, -0.1f, 0, 0.1f, 0, 1, {}};  // at the very centre a roll has no direction
  rotate.MouseMove();
  EXPECT_NEAR(c.left.y, std::cos(0.1f), 1e-6);

  // Without the button, and with no pointer change, nothing moves.
  svdesigncamera before = c;
  p = {0.2f, 0.3f, 0, 0, 0.2f, 0.3f, 0, {}};
  for (svdesignmode* mode : {static_cast<svdesignmode*>(&rotate), static_cast<svdesignmode*>(&svdesign::Modes().move),
                             static_cast<svdesignmode*>(&svdesign::Modes().turn),
                             static_cast<svdesignmode*>(&svdesign::Modes().shift)}) {
    mode->MouseMove();
  }
  p.buttonDown = 1;
  p.dx = p.dy = 0;
  for (int inside : {0, 1}) {
    rotate.insideTrackball = inside;
    rotate.MouseMove();
  }
  EXPECT_EQ(c.view, before.view);
  EXPECT_EQ(c.left, before.left);
  EXPECT_EQ(c.pos, before.pos);

  // Any run of turns leaves the frame orthonormal.
  for (int i = 0; i < 200; ++i) {
    float a = std::sin(i * 1.7f), b = std::cos(i * 0.9f);
    if (i % 3 == 0) c.Orbit(a, b);
    if (i % 3 == 1) c.Roll(a);
    if (i % 3 == 2) c.Turn(a, b);
  }
  ExpectOrthonormal(c);
}

}  // namespace
