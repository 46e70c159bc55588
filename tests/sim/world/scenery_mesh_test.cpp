#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "graphics/geometric_object.h"
#include "graphics/mesh.h"
#include "graphics/scenery_records.h"
#include "sim/world/scenery_mesh.h"
#include "tests/graphics/geometry_support.h"
#include "tools/meshgen/meshgen.h"

namespace {

kxgeometry* UnitCubeAt(float x, float y, float z) {
  meshgen::mesh m = meshgen::Box(1, 1, 1);
  meshgen::Translate(m, x, y, z);
  return meshgen::ToElement(m, "cube", "", GL_N3F_V3F);
}

std::vector<float> Position(const kxgeometry* el, int i) {
  float p[3];
  EXPECT_TRUE(kxgeometry::GetVertexPosition(el, i, p));
  return {p[0], p[1], p[2]};
}

TEST(SceneryMesh, UnitCubeGivesVolumeOneAndItsCentreAndRecentresWithItsHull) {
  kxgeometry* cube = UnitCubeAt(3, -2, 5);
  float volume = 0, centre[3];
  sim::ElementVolume(cube, &volume, centre);
  EXPECT_NEAR(volume, 1.0f, 1e-5);
  EXPECT_NEAR(centre[0], 3.0f, 1e-5);
  EXPECT_NEAR(centre[1], -2.0f, 1e-5);
  EXPECT_NEAR(centre[2], 5.0f, 1e-5);
  ASSERT_GT(cube->hullCount, 0);
  EXPECT_EQ(sim::CenterOfVolume(cube, 1, centre, &volume), 1);
  EXPECT_NEAR(volume, 1.0f, 1e-5);
  for (int k = 0; k < 3; ++k) {
    EXPECT_NEAR(cube->boundsMin[k], -0.5f, 1e-5);
    EXPECT_NEAR(cube->boundsMax[k], 0.5f, 1e-5);
  }
  for (int h = 0; h < cube->hullCount; ++h) {
    EXPECT_NEAR(std::fabs(cube->hull[3 * h]), 0.5, 1e-5);
    EXPECT_NEAR(cube->hull4[4 * h + 2], static_cast<float>(cube->hull[3 * h + 2]), 1e-6);
  }
  // The rest copy moved too: restoring keeps the centred cube.
  kxgeometry::Restore(cube);
  EXPECT_NEAR(Position(cube, 0)[0], -0.5f, 1e-5);
  kxgeometry::Free(&cube);
}

TEST(SceneryMesh, FlatMeshHasNoVolumeAndStaysWhereItIs) {
  kxgeometry* plate = kxgeomtest::Plate(2, 7, "plate");
  float volume = 1, centre[3];
  EXPECT_EQ(sim::CenterOfVolume(plate, 1, centre, &volume), 0);
  EXPECT_EQ(volume, 0.0f);
  EXPECT_NEAR(centre[2], 7.0f, 1e-6);
  EXPECT_NEAR(Position(plate, 0)[2], 7.0f, 1e-6);
  kxgeometry::Free(&plate);
}

TEST(SceneryMesh, TransformRotatesThenTranslatesThenScales) {
  struct row {
    float rotate[3], position[3], scale[3], vertex[3], expected[3];
  } rows[] = {
      {{0, 0, 90}, {0, 0, 0}, {1, 1, 1}, {1, 0, 0}, {0, -1, 0}},
      {{90, 0, 0}, {0, 0, 0}, {1, 1, 1}, {0, 1, 0}, {0, 0, -1}},
      {{0, 90, 0}, {0, 0, 0}, {1, 1, 1}, {0, 0, 1}, {-1, 0, 0}},
      {{0, 0, 0}, {10, 0, 0}, {2, 2, 2}, {0, 0, 0}, {20, 0, 0}},
      {{0, 0, 90}, {1, 2, 3}, {1, 2, 3}, {1, 0, 0}, {1, 2, 9}},
  };
  for (const row& r : rows) {
    kxgeometryobject entry{};
    entry.mesh = kxgeomtest::Element({{r.vertex[0], r.vertex[1], r.vertex[2]}, {0, 0, 0}, {0, 0, 0}}, {0, 1, 2});
    sim::TransformObject(&entry, r.position, r.rotate, r.scale);
    std::vector<float> p = Position(entry.mesh, 0);
    for (int k = 0; k < 3; ++k) EXPECT_NEAR(p[k], r.expected[k], 1e-5) << "rotate " << r.rotate[0] << " " << r.rotate[1] << " " << r.rotate[2];
    kxgeometry::Free(&entry.mesh);
  }
}

TEST(SceneryMesh, PhotoSphereOfEightByFourTilesIsSerpentineStripsOnTheSphere) {
  // 8 x 4 tiles of 45 degrees: 14 quad columns and 16 vertex rows each.
  static float vertices[32 * 448][5];
  float stepX = 45.0f / 14, stepY = 45.0f / 15;
  ASSERT_EQ(sim::BuildPhotoSphere(14, 16, 5000, 45, 45, stepX, stepY, vertices, 32 * 448), 32 * 448);
  EXPECT_EQ(sim::BuildPhotoSphere(14, 16, 5000, 45, 45, stepX, stepY, vertices, 32 * 448 - 1), 0);
  for (const auto& v : vertices) {
    EXPECT_NEAR(std::sqrt(v[2] * v[2] + v[3] * v[3] + v[4] * v[4]), 5000.0f, 0.05f);
  }
  // The first tile starts at longitude 315 at the top: u 1, v 0, then the
  // neighbour one step east at u 1 - 1/14.
  EXPECT_FLOAT_EQ(vertices[0][0], 1.0f);
  EXPECT_FLOAT_EQ(vertices[0][1], 0.0f);
  EXPECT_NEAR(vertices[0][4], 5000.0f, 1e-3);
  EXPECT_NEAR(vertices[1][0], 1.0f - 1.0f / 14, 1e-6);
  // The second column of the first pair runs back up from the bottom row.
  EXPECT_NEAR(vertices[32][0], 1.0f - 2.0f / 14, 1e-6);
  EXPECT_FLOAT_EQ(vertices[32][1], 1.0f);
  // Tile 1 is the next one down the same longitudes: it starts at polar angle 45.
  EXPECT_NEAR(vertices[448][4], 5000.0f * std::cos(45.0f * 3.14159265f / 180), 0.01f);
  // The last pair ends at u 0 on the tile's last longitude.
  EXPECT_NEAR(vertices[446][0], 0.0f, 1e-6);
}

class SceneryBounds : public kxgeomtest::GeometryTest {};

TEST_F(SceneryBounds, ObjectTreeBoxAppliesEveryFrameAndEmptyBoxIsZero) {
  kxgeometricobject* root = Object("root", kxgeomtest::UnitSquare());
  root->Matrix = Translation(0, 0, 1);
  kxgeometricobject* child = Object("child", kxgeomtest::UnitSquare(), root);
  child->Matrix = Frame(0, 0, 1, 90, 5, 0, 0);
  Object("bare", nullptr, child);
  shadowquad quad;
  sim::CollectBounds(root, nullptr, &quad);
  // The child's square, turned 90 degrees about z and moved 5 along x: x 4..5, y 0..1.
  EXPECT_NEAR(quad.min[0], 0.0f, 1e-5);
  EXPECT_NEAR(quad.max[0], 5.0f, 1e-5);
  EXPECT_NEAR(quad.min[2], 1.0f, 1e-5);
  EXPECT_NEAR(quad.size, 5.0f, 1e-5);
  EXPECT_NEAR(quad.corners[2][2], 5.0f, 1e-5);
  EXPECT_EQ(quad.corners[2][0], 1.0f);
  // Trees of any depth: 60 nested frames, each one step along x.
  kxgeometricobject* deepRoot = Object("deep");
  kxgeometricobject* deep = deepRoot;
  for (int i = 0; i < 60; ++i) {
    deep = Object("level", nullptr, deep);
    deep->Matrix = Translation(1, 0, 0);
  }
  deep->SetMesh(kxgeomtest::UnitSquare());
  sim::CollectBounds(deepRoot, nullptr, &quad);
  EXPECT_NEAR(quad.max[0], 61.0f, 1e-4);
  kxgeometricobject* empty = Object("empty");
  sim::CollectBounds(empty, nullptr, &quad);
  EXPECT_EQ(quad.size, 0.0f);
  EXPECT_EQ(quad.min[0], 0.0f);
  EXPECT_EQ(quad.max[2], 0.0f);
}

}  // namespace
