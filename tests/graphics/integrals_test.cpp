// Integrals of geometric objects, the geometry helpers and picking.
#include <cmath>
#include <vector>

#include "geometry_support.h"
#include "graphics/geometric_object.h"
#include "graphics/geometry_math.h"

namespace {

using kxgeomtest::UnitSquare;

class IntegralsTest : public kxgeomtest::GeometryTest {
 protected:
  kxgeometricobject* Square() { return Object("S", UnitSquare()); }
};

TEST_F(IntegralsTest, UnitSquareAreaCentroidAndInertia) {
  kxgeometricobject* s = Square();
  kxvector4r c;
  EXPECT_FLOAT_EQ(s->SurfaceCentroid(&c, Identity()), 1.0f);
  EXPECT_FLOAT_EQ(c.x, 0.5f);
  EXPECT_FLOAT_EQ(c.y, 0.5f);
  EXPECT_FLOAT_EQ(c.z, 0.0f);
  EXPECT_EQ(c.w, 1.0f);
  float I[16];
  EXPECT_FLOAT_EQ(s->SurfaceInertia(I, Identity()), 1.0f);
  EXPECT_NEAR(I[0], 1.0f / 3, 1e-6f);
  EXPECT_NEAR(I[5], 1.0f / 3, 1e-6f);
  EXPECT_NEAR(I[10], 2.0f / 3, 1e-6f);
  EXPECT_NEAR(I[1], -0.25f, 1e-6f);
  EXPECT_NEAR(I[4], -0.25f, 1e-6f);
  EXPECT_EQ(I[2], 0.0f);
  EXPECT_EQ(I[15], 2.0f);
}

TEST_F(IntegralsTest, ObjectWithoutMeshHasNoAreaAndZeros) {
  kxgeometricobject* e = Object("E");
  kxvector4r c = {9, 9, 9, 9};
  EXPECT_EQ(e->SurfaceCentroid(&c, Identity()), 0.0f);
  EXPECT_EQ(c, (kxvector4r{0, 0, 0, 0}));
  float I[16];
  for (float& v : I) v = 7.0f;
  EXPECT_EQ(e->SurfaceInertia(I, Identity()), 0.0f);
  for (float v : I) EXPECT_EQ(v, 0.0f);
}

// Surface inertia of a closed box shell per unit area, from its six faces.
void BoxShell(float sx, float sy, float sz, double out[3], double* area) {
  double a = 2.0 * (sx * sy + sx * sz + sy * sz);
  double xx = 2 * (sy * std::pow(sx, 3) / 12 + sz * std::pow(sx, 3) / 12 + sy * sz * sx * sx / 4);
  double yy = 2 * (sx * std::pow(sy, 3) / 12 + sz * std::pow(sy, 3) / 12 + sx * sz * sy * sy / 4);
  double zz = 2 * (sx * std::pow(sz, 3) / 12 + sy * std::pow(sz, 3) / 12 + sx * sy * sz * sz / 4);
  out[0] = (yy + zz) / a;
  out[1] = (xx + zz) / a;
  out[2] = (xx + yy) / a;
  *area = a;
}

TEST_F(IntegralsTest, GeneratedBoxMatchesTheClosedFormShell) {
  kxgeometricobject* b = Object("B", meshgen::ToElement(meshgen::Box(2.0f, 1.0f, 0.5f), "box", "", GL_N3F_V3F));
  double expected[3], area;
  BoxShell(2.0f, 1.0f, 0.5f, expected, &area);
  float I[16];
  EXPECT_NEAR(b->SurfaceInertia(I, Identity()), area, 1e-5);
  EXPECT_NEAR(I[0], expected[0], 1e-5);
  EXPECT_NEAR(I[5], expected[1], 1e-5);
  EXPECT_NEAR(I[10], expected[2], 1e-5);
  EXPECT_NEAR(I[1], 0.0f, 1e-6f);
  EXPECT_EQ(I[15], 12.0f);
  // Moved by (1, 2, 3): the centroid follows and the products of inertia
  // grow by the parallel-axis terms.
  kxvector4r c;
  b->SurfaceCentroid(&c, Translation(1, 2, 3));
  EXPECT_NEAR(c.x, 1.0f, 1e-6f);
  EXPECT_NEAR(c.z, 3.0f, 1e-6f);
  b->SurfaceInertia(I, Translation(1, 2, 3));
  EXPECT_NEAR(I[1], -2.0f, 1e-5f);
  EXPECT_NEAR(I[6], -6.0f, 1e-5f);
  EXPECT_NEAR(I[10], expected[2] + 1 + 4, 1e-4);
}

TEST_F(IntegralsTest, ChildrenArePlacedByTheirMatrixButNotTheCalledObjectsOwn) {
  kxgeometricobject* root = Object("R");
  root->Matrix = Translation(100, 0, 0);
  kxgeometricobject* child = Object("C", UnitSquare(), root);
  child->Matrix = Translation(0, 0, 2);
  kxvector4r c;
  EXPECT_FLOAT_EQ(root->SurfaceCentroid(&c, Translation(1, 0, 0)), 1.0f);
  EXPECT_FLOAT_EQ(c.x, 1.5f);
  EXPECT_FLOAT_EQ(c.z, 2.0f);
}

TEST_F(IntegralsTest, NonFinitePlacementsAreLeftOut) {
  kxgeometricobject* s = Square();
  Object("C", UnitSquare(), s)->Matrix.R.x = NAN;
  kxvector4r c;
  EXPECT_FLOAT_EQ(s->SurfaceCentroid(&c, Identity()), 1.0f);  // the child's broken frame drops it
  EXPECT_FLOAT_EQ(c.x, 0.5f);
  kxmatrix bad = Identity();
  bad.X.y = INFINITY;
  EXPECT_EQ(s->SurfaceCentroid(&c, bad), 0.0f);
  float I[16];
  EXPECT_EQ(s->SurfaceInertia(I, bad), 0.0f);
  std::vector<kxvector4r> points;
  EXPECT_EQ(s->CutByPlane({0.5f, 0, 0, 1}, {1, 0, 0, 0}, points, bad), 0);
  float dist = 3;
  EXPECT_EQ(s->Pick({0.5f, 0.5f, 1, 1}, {0.5f, 0.5f, -1, 1}, &dist, bad), 0);
}

TEST_F(IntegralsTest, ProjectedAreasAndPlaneCutOfTheSquare) {
  kxgeometricobject* s = Square();
  EXPECT_FLOAT_EQ(s->ProjectedArea({0, 0, 1, 0}, Identity()), 1.0f);
  EXPECT_FLOAT_EQ(s->ProjectedArea({0, 0, -1, 0}, Identity()), 0.0f);
  EXPECT_FLOAT_EQ(s->ProjectedAreaBeyond({0, 0, 1, 0}, {0.5f, 0, 0, 1}, {1, 0, 0, 0}, Identity()), 0.5f);
  EXPECT_FLOAT_EQ(s->ProjectedAreaBeyond({0, 0, 1, 0}, {0.75f, 0, 0, 1}, {-1, 0, 0, 0}, Identity()), 0.75f);
  EXPECT_FLOAT_EQ(s->ProjectedAreaBeyond({0, 0, -1, 0}, {0.5f, 0, 0, 1}, {1, 0, 0, 0}, Identity()), 0.0f);
  std::vector<kxvector4r> points;
  EXPECT_EQ(s->CutByPlane({0.5f, 0, 0, 1}, {1, 0, 0, 0}, points, Identity()), 2);
  ASSERT_EQ(points.size(), 4u);
  for (const kxvector4r& p : points) {
    EXPECT_FLOAT_EQ(p.x, 0.5f);
    EXPECT_EQ(p.w, 1.0f);
  }
  // Appends: a second cut adds behind the first.
  EXPECT_EQ(s->CutByPlane({0, 0.25f, 0, 1}, {0, 1, 0, 0}, points, Identity()), 2);
  EXPECT_EQ(points.size(), 8u);
}

TEST_F(IntegralsTest, PlaneThroughACornerTouchesTwiceAndMissesGiveNothing) {
  kxgeometricobject* s = Square();
  std::vector<kxvector4r> points;
  // x + y = 0 touches only the corner (0, 0), shared by both triangles.
  EXPECT_EQ(s->CutByPlane({0, 0, 0, 1}, {1, 1, 0, 0}, points, Identity()), 2);
  ASSERT_EQ(points.size(), 4u);
  EXPECT_EQ(points[0], points[1]);
  points.clear();
  EXPECT_EQ(s->CutByPlane({5, 0, 0, 1}, {1, 0, 0, 0}, points, Identity()), 0);
  EXPECT_EQ(s->CutByPlane({0, 0, 0, 1}, {0, 0, 1, 0}, points, Identity()), 0);  // in the plane
  EXPECT_TRUE(points.empty());
}

TEST_F(IntegralsTest, FarthestVertexAndExtentAlongADirection) {
  kxgeometricobject* s = Object("S", kxgeomtest::Plate(1.0f, 0.0f, "plate"));
  kxvector4r out = {0, 0, 0, 0};
  EXPECT_FLOAT_EQ(s->FarthestVertex({1, 1, 0, 0}, &out, Identity()), 2.0f);
  EXPECT_EQ(out, (kxvector4r{1, 1, 0, 1}));
  float lo = 100, hi = -100;
  s->ExtentAlong({1, 0, 0, 0}, &lo, &hi, Translation(3, 0, 0));
  EXPECT_FLOAT_EQ(lo, 2.0f);
  EXPECT_FLOAT_EQ(hi, 4.0f);
  kxgeometricobject* e = Object("E");
  out = {7, 7, 7, 7};
  EXPECT_EQ(e->FarthestVertex({1, 0, 0, 0}, &out, Identity()), -1000000.0f);
  EXPECT_EQ(out, (kxvector4r{7, 7, 7, 7}));
}

TEST(GeometryMathTest, ExtremePointsWritesNothingWithoutPoints) {
  kxvector4r lo = {9, 9, 9, 9}, hi = {8, 8, 8, 8};
  kxvector4r pts[3] = {{1, 0, 0, 1}, {-2, 0, 0, 1}, {-2, 5, 0, 1}};
  geometry::ExtremePoints(0, pts, {1, 0, 0, 0}, &lo, &hi);
  EXPECT_EQ(lo, (kxvector4r{9, 9, 9, 9}));
  geometry::ExtremePoints(3, pts, {1, 0, 0, 0}, &lo, &hi);
  EXPECT_EQ(lo, pts[1]);  // the first of equals
  EXPECT_EQ(hi, pts[0]);
  kxvector4r far[1] = {{5000, 0, 0, 1}};
  lo = {9, 9, 9, 9};
  geometry::ExtremePoints(1, far, {1, 0, 0, 0}, &lo, &hi);
  EXPECT_EQ(lo, (kxvector4r{9, 9, 9, 9}));  // nothing below the start value 1000
  EXPECT_EQ(hi, far[0]);
}

TEST(GeometryMathTest, PrincipalAxisOnTheZeroMatrixKeepsTheStartVectors) {
  float M[16] = {};
  kxvector4r first = {0, 0, 1, 0}, second = {1, 0, 0, 0}, third;
  EXPECT_EQ(1, geometry::PrincipalAxis(&third, &second, M, &first));
  EXPECT_EQ(first, (kxvector4r{0, 0, 1, 0}));
  EXPECT_EQ(second, (kxvector4r{1, 0, 0, 0}));
  EXPECT_EQ(third, (kxvector4r{0, -1, 0, 0}));  // second x first
}

TEST(GeometryMathTest, PrincipalAxisFindsTheDominantAndNextAxes) {
  // Eigenvalues 1 (x), 3 (y), 2 (z) turned 30 degrees about z.
  float c = std::cos(0.5235988f), s = std::sin(0.5235988f);
  float M[16] = {};
  M[0] = c * c * 1 + s * s * 3;
  M[5] = s * s * 1 + c * c * 3;
  M[1] = M[4] = c * s * (1 - 3);
  M[10] = 2;
  M[15] = 12;  // a triangle count there must not matter
  kxvector4r first = {0.3f, 0.3f, 0.3f, 0}, second = {0.2f, -0.1f, 0.9f, 0}, third;
  EXPECT_EQ(1, geometry::PrincipalAxis(&third, &second, M, &first));
  EXPECT_NEAR(std::fabs(first.x), s, 1e-4f);
  EXPECT_NEAR(std::fabs(first.y), c, 1e-4f);
  EXPECT_NEAR(std::fabs(second.z), 1.0f, 1e-4f);
  EXPECT_NEAR(std::fabs(third.x), c, 1e-4f);
  EXPECT_EQ(third.w, 0.0f);
}

TEST(GeometryMathTest, SectionAxesOfAChordwiseOutlineGiveTheChord) {
  // 1 m x 0.1 m outline in the plane y = 0.
  kxvector4r segs[8] = {{0, 0, 0, 1},   {1, 0, 0, 1},   {1, 0, 0, 1}, {1, 0, 0.1f, 1},
                        {1, 0, 0.1f, 1}, {0, 0, 0.1f, 1}, {0, 0, 0.1f, 1}, {0, 0, 0, 1}};
  kxvector4r a = {1, 0, 0, 0}, b = {0, 0, 1, 0}, c = {0, -1, 0, 0};
  geometry::SectionAxes(4, segs, &a, &b, &c);
  EXPECT_NEAR(std::fabs(a.x), 1.0f, 1e-4f);
  EXPECT_NEAR(a.y, 0.0f, 1e-4f);
  EXPECT_NEAR(a.z, 0.0f, 1e-4f);
  EXPECT_NEAR(std::fabs(c.y), 1.0f, 1e-4f);
  kxvector4r a0 = {1, 2, 3, 4}, b0 = b, c0 = c;
  geometry::SectionAxes(0, segs, &a0, &b0, &c0);
  EXPECT_EQ(a0, (kxvector4r{1, 2, 3, 4}));
}

TEST(GeometryMathTest, SegmentHitsOnlyTheCounterClockwiseFront) {
  kxvector4r A = {0, 0, 0, 1}, B = {1, 0, 0, 1}, C = {0, 1, 0, 1}, hit;
  ASSERT_EQ(1, geometry::IntersectSegmentTriangle(&hit, {0.25f, 0.25f, 1, 1}, {0.25f, 0.25f, -1, 1}, A, B, C));
  EXPECT_EQ(hit, (kxvector4r{0.25f, 0.25f, 0, 1}));
  EXPECT_EQ(0, geometry::IntersectSegmentTriangle(&hit, {0.25f, 0.25f, -1, 1}, {0.25f, 0.25f, 1, 1}, A, B, C));
  EXPECT_EQ(0, geometry::IntersectSegmentTriangle(&hit, {0.25f, 0.25f, 1, 1}, {0.25f, 0.25f, 0.5f, 1}, A, B, C));
  EXPECT_EQ(0, geometry::IntersectSegmentTriangle(&hit, {0, 0, 0, 1}, {1, 1, 0, 1}, A, B, C));  // in the plane
  EXPECT_EQ(0, geometry::IntersectSegmentTriangle(&hit, {0.25f, 0.25f, 1, 1}, {0.25f, 0.25f, -1, 1}, A, B, B));
  EXPECT_EQ(0, geometry::IntersectSegmentTriangle(&hit, {0.9f, 0.9f, 1, 1}, {0.9f, 0.9f, -1, 1}, A, B, C));
}

TEST_F(IntegralsTest, PickFindsTheSquareFromEitherSideWithinRange) {
  kxgeometricobject* s = Square();
  float dist = -1;
  EXPECT_EQ(1, s->Pick({0.5f, 0.5f, 10, 0}, {0.5f, 0.5f, -10, 0}, &dist, Identity()));
  EXPECT_FLOAT_EQ(dist, 10.0f);
  dist = -1;
  EXPECT_EQ(1, s->Pick({0.5f, 0.5f, -10, 0}, {0.5f, 0.5f, 10, 0}, &dist, Identity()));
  EXPECT_FLOAT_EQ(dist, 10.0f);
  dist = -1;
  EXPECT_EQ(0, s->Pick({0.5f, 0.5f, 2000, 0}, {0.5f, 0.5f, -10, 0}, &dist, Identity()));
  EXPECT_EQ(dist, -1.0f);
  EXPECT_EQ(0, s->Pick({5, 5, 10, 0}, {5, 5, -10, 0}, &dist, Identity()));
}

TEST_F(IntegralsTest, PickKeepsTheNearestHitOfTheWholeTree) {
  kxgeometricobject* s = Square();
  kxgeometricobject* near = Object("N", UnitSquare(), s);
  near->Matrix = Translation(0, 0, 4);
  float dist = 0;
  EXPECT_EQ(1, s->Pick({0.5f, 0.5f, 10, 1}, {0.5f, 0.5f, -10, 1}, &dist, Identity()));
  EXPECT_FLOAT_EQ(dist, 6.0f);
  s->Matrix = Translation(0, 0, -3);  // the object's own frame places it too
  EXPECT_EQ(1, s->Pick({0.5f, 0.5f, 10, 1}, {0.5f, 0.5f, -10, 1}, &dist, Identity()));
  EXPECT_FLOAT_EQ(dist, 9.0f);
}

}  // namespace
