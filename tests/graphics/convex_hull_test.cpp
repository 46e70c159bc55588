#include <GL/gl.h>

#include <cmath>
#include <random>

#include "graphics/mesh.h"
#include "test_support.h"
#include "tools/meshgen/meshgen.h"

namespace {

// A hull is right for collision when, in every direction, its farthest point
// reaches as far as the farthest vertex.
void ExpectSameSupport(const kxgeometry* el) {
  std::mt19937 random(7);
  std::normal_distribution<double> gauss;
  for (int k = 0; k < 200; ++k) {
    double d[3] = {gauss(random), gauss(random), gauss(random)};
    double vertexMax = -1e30, hullMax = -1e30;
    for (int i = 0; i < el->vertexCount; ++i) {
      float p[3];
      kxgeometry::GetVertexPosition(el, i, p);
      vertexMax = std::max(vertexMax, p[0] * d[0] + p[1] * d[1] + p[2] * d[2]);
    }
    for (int i = 0; i < el->hullCount; ++i) {
      const double* h = el->hull + i * 3;
      hullMax = std::max(hullMax, h[0] * d[0] + h[1] * d[1] + h[2] * d[2]);
    }
    ASSERT_NEAR(hullMax, vertexMax, 1e-5) << el->name;
  }
}

}  // namespace

TEST(ConvexHull, EveryDemoAircraftPartKeepsItsExtremes) {
  kxgeometry* list = meshgen::DemoAircraft();
  ASSERT_NE(list, nullptr);
  for (const kxgeometry* el = list; el; el = el->next) {
    EXPECT_GT(el->hullCount, 3) << el->name;
    EXPECT_LT(el->hullCount, el->vertexCount) << el->name;
    ExpectSameSupport(el);
  }
  kxgeometry::Free(&list);
}

TEST(ConvexHull, RandomCloudAndRollingGroundKeepTheirExtremes) {
  meshgen::mesh cloud;
  std::mt19937 random(3);
  std::uniform_real_distribution<float> u(-1.0f, 1.0f);
  for (int i = 0; i < 600; ++i) {
    meshgen::vertex v{};
    v.p[0] = u(random), v.p[1] = u(random), v.p[2] = u(random) * 0.01f;  // nearly flat
    cloud.vertices.push_back(v);
  }
  for (uint32_t i = 0; i + 2 < 600; i += 3) cloud.triangles.insert(cloud.triangles.end(), {i, i + 1, i + 2});
  kxgeometry* el = meshgen::ToElement(cloud, "cloud", "", GL_V3F);
  ExpectSameSupport(el);
  kxgeometry::Free(&el);
  el = meshgen::ToElement(meshgen::Ground(500.0f, 30, 3.0f), "ground", "", GL_V3F);
  ExpectSameSupport(el);
  kxgeometry::Free(&el);
}

TEST(ConvexHull, LargeMeshesStayQuickAndExact) {
  // Tens of thousands of vertices, most of them on the hull.
  kxgeometry* el = meshgen::ToElement(meshgen::Sphere(3.0f, 200, 100), "sphere", "", GL_V3F);
  ExpectSameSupport(el);
  EXPECT_GT(el->hullCount, 19000);
  kxgeometry::Free(&el);
  el = meshgen::ToElement(meshgen::Ground(2000.0f, 200, 8.0f), "ground", "", GL_V3F);
  ExpectSameSupport(el);
  kxgeometry::Free(&el);
}

TEST(ConvexHull, DegenerateSetsGiveTheirEndPoints) {
  meshgen::mesh line;
  for (int i = 0; i < 5; ++i) {
    meshgen::vertex v{};
    v.p[0] = static_cast<float>(i);
    line.vertices.push_back(v);
  }
  kxgeometry* el = meshgen::ToElement(line, "line", "", GL_V3F);
  ASSERT_EQ(el->hullCount, 2);
  EXPECT_EQ(std::fabs(el->hull[0] - el->hull[3]), 4.0);
  kxgeometry::Free(&el);
  el = meshgen::ToElement(meshgen::mesh{}, "empty", "", GL_V3F);
  ASSERT_NE(el, nullptr);
  EXPECT_EQ(el->hullCount, 0);
  kxgeometry::Free(&el);
}
