// The view, billboard and reflection matrices, and the cube map a
// shininess selects.
#include "sim/views/view_matrices.h"

#include <gtest/gtest.h>

#include <cmath>

#include "sim/views/reflection.h"

namespace {

// A camera at (10, 20, 5) looking along +y: left is -x.
constexpr float kEye[3] = {10, 20, 5}, kX[3] = {0, 1, 0}, kY[3] = {-1, 0, 0}, kZ[3] = {0, 0, 1};

// out = M (x, y, z, w), M column-major.
void Apply(const float M[16], const float v[4], float out[4]) {
  for (int r = 0; r < 4; ++r) out[r] = M[r] * v[0] + M[4 + r] * v[1] + M[8 + r] * v[2] + M[12 + r] * v[3];
}

TEST(ViewMatrices, TheCameraLooksAlongXAndReflectionsLookUpTheYUpCubeMaps) {
  float V[16], T[16], camera[4], cube[4];
  sim::ViewMatrix(kEye, kX, kY, kZ, V);
  sim::ReflectionTextureMatrix(V, T);
  struct {
    float world[4], camera[3];
  } points[] = {{{10, 20, 5, 1}, {0, 0, 0}}, {{10, 23, 5, 1}, {0, 0, -3}}, {{9, 20, 5, 1}, {-1, 0, 0}},
                {{10, 20, 7, 1}, {0, 2, 0}}};
  for (const auto& c : points) {
    Apply(V, c.world, camera);
    for (int k = 0; k < 3; ++k) EXPECT_NEAR(camera[k], c.camera[k], 1e-5f);
  }
  const float p[3] = {10, 30, 5};
  EXPECT_FLOAT_EQ(sim::ViewDepth(V, p), -30.0f);  // without the translation
  struct {
    float world[4], cube[3];
  } directions[] = {{{0, 0, 1, 0}, {0, -1, 0}}, {{0, 1, 0, 0}, {0, 0, 1}}, {{1, 0, 0, 0}, {1, 0, 0}}};
  for (const auto& c : directions) {
    Apply(V, c.world, camera);  // as the eye sees it, back to the world and into the cube
    Apply(T, camera, cube);
    for (int k = 0; k < 3; ++k) EXPECT_NEAR(cube[k], c.cube[k], 1e-5f);
  }
}

TEST(ViewMatrices, BillboardsTurnAcrossTheViewAndKeepTheirLastTurnLookingStraightUp) {
  float B[16], V[16];
  ASSERT_EQ(sim::CylindricalBillboard(kX, B), 1);
  EXPECT_FLOAT_EQ(B[4], 1.0f);  // local Y along world x: across a view along y
  EXPECT_FLOAT_EQ(B[10], 1.0f);  // local Z stays up
  const float up[3] = {0, 0, 1};
  EXPECT_EQ(sim::CylindricalBillboard(up, B), 0);
  EXPECT_FLOAT_EQ(B[4], 1.0f);
  for (float b : B) EXPECT_TRUE(std::isfinite(b));
  sim::ViewMatrix(kEye, kX, kY, kZ, V);
  sim::SphericalBillboard(V, B);
  EXPECT_FLOAT_EQ(B[0], 1.0f);  // local X is the screen's right, -Y
  EXPECT_FLOAT_EQ(B[6], 1.0f);  // local Y is up
  const float zero[3] = {0, 0, 0};
  float e1[3], e2[3];
  sim::CullingVectors(0.15f, 1.0f, 0.2f, zero, zero, e1, e2);
  for (float e : e1) EXPECT_EQ(e, 0.0f);
}

TEST(ViewMatrices, ShininessChoosesTheCubeMap) {
  struct {
    float shininess;
    int map;
  } cases[] = {{0.0f, -1}, {0.25f, -1}, {0.26f, 2}, {0.5f, 2}, {0.75f, 1}, {0.76f, 0}, {1.0f, 0}};
  for (const auto& c : cases) EXPECT_EQ(sim::ReflectionMap(c.shininess), c.map) << c.shininess;
}

}  // namespace
