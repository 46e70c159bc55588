// The view, billboard and reflection matrices, and the cube map a
// shininess selects.
#include "sim/views/view_matrices.h"

#include <gtest/gtest.h>

#include <cmath>

#include "sim/views/reflection.h"

namespace {

// out = M (x, y, z, w), M column-major.
void Apply(const float M[16], const float v[4], float out[4]) {
  for (int r = 0; r < 4; ++r) out[r] = M[r] * v[0] + M[4 + r] * v[1] + M[8 + r] * v[2] + M[12 + r] * v[3];
}

TEST(ViewMatrices, TheCameraLooksAlongXWithYLeftAndZUp) {
  const float eye[3] = {10, 20, 5}, X[3] = {0, 1, 0}, Y[3] = {-1, 0, 0}, Z[3] = {0, 0, 1};
  float V[16], out[4];
  sim::ViewMatrix(eye, X, Y, Z, V);
  struct {
    float world[4], camera[3];
  } cases[] = {{{10, 20, 5, 1}, {0, 0, 0}}, {{10, 23, 5, 1}, {0, 0, -3}}, {{9, 20, 5, 1}, {-1, 0, 0}},
               {{10, 20, 7, 1}, {0, 2, 0}}};
  for (const auto& c : cases) {
    Apply(V, c.world, out);
    for (int k = 0; k < 3; ++k) EXPECT_NEAR(out[k], c.camera[k], 1e-5f);
  }
  const float p[3] = {10, 30, 5};
  EXPECT_FLOAT_EQ(sim::ViewDepth(V, p), -30.0f);  // without the translation
}

TEST(ViewMatrices, BillboardsTurnAcrossTheViewAndKeepTheirLastTurnLookingStraightUp) {
  float B[16];
  const float X[3] = {0, 1, 0};
  ASSERT_EQ(sim::CylindricalBillboard(X, B), 1);
  EXPECT_FLOAT_EQ(B[4], 1.0f);   // local Y along world x: across a view along y
  EXPECT_FLOAT_EQ(B[5], 0.0f);
  EXPECT_FLOAT_EQ(B[10], 1.0f);  // local Z stays up
  const float up[3] = {0, 0, 1};
  EXPECT_EQ(sim::CylindricalBillboard(up, B), 0);
  EXPECT_FLOAT_EQ(B[4], 1.0f);
  for (float b : B) EXPECT_TRUE(std::isfinite(b));

  const float eye[3] = {0, 0, 0}, Y[3] = {-1, 0, 0}, Z[3] = {0, 0, 1};
  float V[16];
  sim::ViewMatrix(eye, X, Y, Z, V);
  sim::SphericalBillboard(V, B);
  EXPECT_FLOAT_EQ(B[0], 1.0f);  // local X is the screen's right: -Y
  EXPECT_FLOAT_EQ(B[6], 1.0f);  // local Y is up
}

TEST(ViewMatrices, CullingNormalsFaceInwardsAndStayFiniteWithoutAView) {
  const float X[3] = {1, 0, 0}, Y[3] = {0, 1, 0}, zero[3] = {0, 0, 0};
  float e1[3], e2[3];
  sim::CullingVectors(0.15f, 1.0f, 0.1875f, X, Y, e1, e2);
  EXPECT_NEAR(e1[0], std::sqrt(0.5f), 1e-6f);
  EXPECT_NEAR(e1[1], std::sqrt(0.5f), 1e-6f);
  EXPECT_NEAR(e2[1], -std::sqrt(0.5f), 1e-6f);
  sim::CullingVectors(0.15f, 1.0f, 0.2f, zero, zero, e1, e2);
  for (float e : e1) EXPECT_EQ(e, 0.0f);
}

TEST(ViewMatrices, ReflectionsLookUpWorldDirectionsInTheYUpCubeMaps) {
  const float eye[3] = {3, 4, 5}, X[3] = {0, 1, 0}, Y[3] = {-1, 0, 0}, Z[3] = {0, 0, 1};
  float V[16], T[16], out[4];
  sim::ViewMatrix(eye, X, Y, Z, V);
  sim::ReflectionTextureMatrix(V, T);
  struct {
    float world[4], cube[3];
  } cases[] = {{{0, 0, 1, 0}, {0, -1, 0}}, {{0, 1, 0, 0}, {0, 0, 1}}, {{1, 0, 0, 0}, {1, 0, 0}}};
  for (const auto& c : cases) {
    float camera[4];
    Apply(V, c.world, camera);  // a direction as the eye sees it
    Apply(T, camera, out);
    for (int k = 0; k < 3; ++k) EXPECT_NEAR(out[k], c.cube[k], 1e-5f);
  }
}

TEST(ViewMatrices, ShininessChoosesTheCubeMap) {
  struct {
    float shininess;
    int map;
  } cases[] = {{0.0f, -1}, {0.25f, -1}, {0.26f, 2}, {0.5f, 2}, {0.75f, 1}, {0.76f, 0}, {1.0f, 0}};
  for (const auto& c : cases) EXPECT_EQ(sim::ReflectionMap(c.shininess), c.map) << c.shininess;
}

}  // namespace
