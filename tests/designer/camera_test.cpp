// The designer camera's maths, without a window: the pick ray against the
// view it is drawn with, the motions and their limits, the trackball.
#include <cmath>

#include "designer/viewer_modes.h"
#include "designer_support.h"

namespace {

using designertest::Project;
using v4 = kxvector4r;

class CameraTest : public ::testing::Test {
 protected:
  void SetUp() override { svdesign::State() = svdesign::designstate(); }
  void TearDown() override { svdesign::State() = svdesign::designstate(); }
  static svdesigncamera& camera() { return svdesign::State().camera; }
  static void ExpectOrthonormal() {
    const svdesigncamera& c = camera();
    v4 up;
    v4::Cross(up, c.view, c.left);
    for (float product : {v4::Dot(c.view, c.left), v4::Dot(c.left, c.up), v4::Dot(c.up, c.view)}) EXPECT_NEAR(product, 0, 1e-5);
    for (float product : {v4::Dot(c.view, c.view), v4::Dot(c.left, c.left), v4::Dot(up, c.up)}) EXPECT_NEAR(product, 1, 1e-5);
  }
};

TEST_F(CameraTest, RayThroughAPixelProjectsBackOntoThatPixel) {
  svdesigncamera& c = camera();
  c.SetViewport(1024, 768);
  c.Turn(0.3f, -0.2f);
  c.pos = {0.4f, -1, 3, 1};
  for (int px : {0, 300, 1023}) {
    for (int py : {82, 400, 713}) {
      designray ray = c.MouseRay(px, py);
      EXPECT_EQ(ray.nearPoint.w + ray.farPoint.w, 0);
      float x[2], y[2];
      Project(c, ray.nearPoint, &x[0], &y[0]);
      Project(c, ray.farPoint, &x[1], &y[1]);
      for (float error : {x[0] - px, y[0] - py, x[1] - px, y[1] - py}) EXPECT_NEAR(error, 0, 1e-2);
    }
  }
}

TEST_F(CameraTest, MotionsMoveTheSceneWithThePointerWithinTheirLimits) {
  // An orbit keeps the origin in the middle; the aircraft's near side follows.
  struct probe {
    v4 point;
    void (*motion)();
  } probes[] = {{{0, 0, 0, 1}, [] { camera().Shift(0.1f, 0.05f); }},
                {{0, 0, 0, 1}, [] { camera().Turn(0.1f, 0.05f); }},
                {{0, 0, 1, 1}, [] { camera().Orbit(0.1f, 0.05f); }}};
  for (const probe& p : probes) {
    camera().PlaceTop(3);
    float x0, y0, x1, y1;
    Project(camera(), p.point, &x0, &y0);
    p.motion();
    Project(camera(), p.point, &x1, &y1);
    EXPECT_GT(x1, x0);
    EXPECT_GT(y1, y0);
    ExpectOrthonormal();
  }
  svdesigncamera& c = camera();
  c.PlaceTop(3);
  c.Turn(1e-6f, 0);  // 0.4e-6: below the least turn
  EXPECT_EQ(c.view, (v4{0, 0, -1, 0}));
  c.Dolly(-1);
  EXPECT_EQ(c.pos, (v4{0, 0, 4, 1}));
  c.Dolly(-20);
  EXPECT_FLOAT_EQ(v4::Length(c.pos), 15);
  EXPECT_LT(c.pos.w, 1);
  c.PullBack(5 * 1.2f);
  EXPECT_EQ(c.pos, (v4{0, 0, 6, 1}));
}

TEST_F(CameraTest, TrackballOrbitsInsideTheDiscAndRollsOutside) {
  svdesignmoderotate& rotate = svdesign::Modes().rotate;
  designpointer& p = svdesign::State().pointer;
  svdesigncamera& c = camera();
  // Pointer x, y at the press, then whether the drag orbits.
  for (const v4& press : {v4{0.5f, 0.5f, 0, 0}, v4{0.3f, 0.3f, 1, 0}, v4{0, 0, 1, 0}, v4{NAN, 0, 1, 0}}) {
    p.x = press.x;
    p.y = press.y;
    rotate.MouseDown();
    EXPECT_EQ(rotate.insideTrackball, press.z) << press.x;
  }
  // Orbit about the world x axis: the eye swings toward +y.
  p = {0.1f, 0, 0, 0, 0.1f, 0, 1, {}};
  rotate.insideTrackball = 1;
  rotate.MouseMove();
  EXPECT_NEAR(c.pos.y, 5 * std::sin(0.2f), 1e-5);
  EXPECT_NEAR(c.pos.z, 5 * std::cos(0.2f), 1e-5);
  // Roll with the pointer at the top, moving right: 0.1 rad clockwise; at
  // the very centre a roll has no direction.
  c.PlaceTop(5);
  rotate.insideTrackball = 0;
  for (float y : {1.0f, 0.0f}) {
    p = {0, y, -0.1f, y, 0.1f, 0, 1, {}};
    rotate.MouseMove();
    EXPECT_NEAR(c.left.x, -std::sin(0.1f), 1e-6);
    EXPECT_NEAR(c.left.y, std::cos(0.1f), 1e-6);
    EXPECT_EQ(c.pos, (v4{0, 0, 5, 1}));
  }
  for (int i = 0; i < 200; ++i) {
    float a = std::sin(i * 1.7f), b = std::cos(i * 0.9f);
    if (i % 3 == 0) c.Orbit(a, b);
    if (i % 3 == 1) c.Roll(a);
    if (i % 3 == 2) c.Turn(a, b);
  }
  ExpectOrthonormal();
}

}  // namespace
