// Building the collision world and its ground, viewer and gather queries.
#include "graphics/collision_world.h"

#include <array>
#include <cmath>
#include <cstring>
#include <memory>
#include <random>
#include <vector>

#include "geometry_support.h"
#include "graphics/collision_contact.h"
#include "graphics/collision_face.h"
#include "tests/graphics/collision_scan.h"
#include "graphics/scenery_records.h"
#include "platform/reserves.h"

namespace {

using kxgeomtest::Element;
using kxgeomtest::Plate;

class CollisionWorldTest : public ::testing::Test {
 protected:
  void SetUp() override {
    w.reset(new kxcollision{});
  }
  void TearDown() override {
    kxcolldynamic::Free(w.get());
    kxcollision::FreeOctree(w.get());
    for (kxgeometry*& m : meshes) kxgeometry::Free(&m);
  }
  // A chain entry holding the mesh (freed by the fixture).
  kxgeometryobject* Entry(kxgeometry* mesh) {
    meshes.push_back(mesh);
    entries.push_back(std::make_unique<kxgeometryobject>());
    kxgeometryobject* e = entries.back().get();
    e->mesh = mesh;
    if (entries.size() > 1) entries[entries.size() - 2]->next = e;
    return e;
  }
  kxgeometryobject* Chain() { return entries.empty() ? nullptr : entries.front().get(); }
  int Build(const kxtransparentgeometry* transparent = nullptr, const kxgeometry* ocean = nullptr,
            float cell = 100.0f, int maxTriangles = 200) {
    const float minCell[3] = {cell, cell, cell};
    const float sun[3] = {0, 0, 1};
    return kxcollision::Build(w.get(), Chain(), transparent, minCell, maxTriangles, sun, ocean);
  }
  kxtest::logcapture capture_;
  std::unique_ptr<kxcollision> w;
  std::vector<kxgeometry*> meshes;
  std::vector<std::unique_ptr<kxgeometryobject>> entries;
};

TEST_F(CollisionWorldTest, GroundHeightOverFlatGrassAndNothingBeyond) {
  Entry(Plate(100.0f, 0.0f, "field_gras"));
  ASSERT_EQ(1, Build());
  EXPECT_NE(std::string::npos, kxgeomtest::Log().find("gl:  collision 2 faces 1 cells=ok\n"));
  const float p[3] = {10, 10, 50};
  float n[3] = {0, 0, 0};
  EXPECT_EQ(kxcollision::GroundHeight(w.get(), p, n), 0.0f);
  EXPECT_EQ(n[2], 1.0f);
  const float far[3] = {500, 0, 50};
  EXPECT_EQ(kxcollision::GroundHeight(w.get(), far, nullptr), -1.0f);
  float h = 7;
  EXPECT_EQ(0, kxcollision::FindGround(w.get(), far, &h, nullptr));
  EXPECT_EQ(h, 7.0f);
  const float below[3] = {10, 10, -0.5f};
  EXPECT_EQ(0, kxcollision::FindGround(w.get(), below, &h, nullptr));  // the ground is above
}

TEST_F(CollisionWorldTest, HighestUpwardFaceBelowThePointWins) {
  Entry(Plate(50.0f, 0.0f, "ground"));
  Entry(Plate(5.0f, 3.0f, "roof"));
  // A face pointing down (a ceiling) is no ground.
  Entry(Element({{-5, -5, 6}, {-5, 5, 6}, {5, 5, 6}}, {0, 1, 2}, "ceiling"));
  ASSERT_EQ(1, Build());
  const float above[3] = {1, 1, 10};
  EXPECT_EQ(kxcollision::GroundHeight(w.get(), above, nullptr), 3.0f);
  const float between[3] = {1, 1, 2};
  EXPECT_EQ(kxcollision::GroundHeight(w.get(), between, nullptr), 0.0f);
  const float onRoof[3] = {1, 1, 3};
  EXPECT_EQ(kxcollision::GroundHeight(w.get(), onRoof, nullptr), 3.0f);
}

// The first known word after an underscore, in any case; no underscore or
// no known word gives the default (2).
TEST(CollisionSurfaceTest, ElementNamesGiveSurfaceCodes) {
  const std::pair<const char*, int> names[] = {
      {"Lake_Water", 1}, {"RUNWAY_main", 2}, {"x_road", 2},    {"x_asphalt", 2}, {"x_street", 2},
      {"field_Gras", 3}, {"field_highgras", 4}, {"x_dirt", 5}, {"x_meadow", 6},  {"x_hardroll", 7},
      {"x_damage", 8},   {"gras", 2},          {"water_gras", 1}, {"", 2}};
  for (const auto& [name, code] : names) EXPECT_EQ(kxcollision::SurfaceCode(name), code) << name;
  EXPECT_EQ(kxcollision::SurfaceCode(nullptr), 2);
}

TEST_F(CollisionWorldTest, OceanElementsAreWaterWhateverTheirName) {
  kxgeometry* ocean = Plate(1000.0f, -1.0f, "sea");
  Entry(ocean);
  Entry(Plate(10.0f, 0.0f, "x_damage"));
  ASSERT_EQ(1, Build(nullptr, ocean));
  const float p[3] = {500, 0, 10};
  ASSERT_EQ(kxcollision::Gather(w.get(), (const float[3]){500, 0, -1}, 0.5f), 2);
  EXPECT_EQ(w->nearFaces[0]->surface, 1);
  ASSERT_EQ(kxcollision::Gather(w.get(), (const float[3]){0, 0, 0}, 0.5f), 2);
  EXPECT_EQ(w->nearFaces[0]->surface, 8);
  EXPECT_EQ(kxcollision::GroundHeight(w.get(), p, nullptr), -1.0f);
}

// Height of the highest upward triangle at or below p, over all triangles.
float BruteHeight(const kxgeometry* el, const float p[3]) {
  float best = -1.0f;
  bool found = false;
  for (int t = 0; t < el->triangleCount; ++t) {
    float v[3][3];
    for (int k = 0; k < 3; ++k) kxgeometry::GetVertexPosition(el, el->triangles[3 * t + k], v[k]);
    double ux = v[1][0] - v[0][0], uy = v[1][1] - v[0][1], vx = v[2][0] - v[0][0], vy = v[2][1] - v[0][1];
    double det = ux * vy - uy * vx;
    if (!(det > 0)) continue;  // upward faces wind counter-clockwise seen from above
    double px = p[0] - v[0][0], py = p[1] - v[0][1];
    double a = (px * vy - py * vx) / det, b = (ux * py - uy * px) / det;
    if (a < -1e-6 || b < -1e-6 || a + b > 1 + 1e-6) continue;
    float z = static_cast<float>(v[0][2] + a * (v[1][2] - v[0][2]) + b * (v[2][2] - v[0][2]));
    if (z <= p[2] + 1e-4f && (!found || z > best)) {
      best = z;
      found = true;
    }
  }
  return best;
}

// The ground grid against the ground rule applied to every face in build
// order (heights and normals bit for bit) and against the triangles
// themselves: a rolling terrain with a steep-walled block, two identical
// layers, a sliver and nearly upright faces on it; random points, and every corner and edge
// midpoint, where rounding decides.
TEST_F(CollisionWorldTest, GroundHeightOnATerrainIsExactlyThatOfAScanOverEveryFace) {
  kxgeometry* terrain = kxgeomtest::Terrain(meshgen::Ground(2000.0f, 32, 40.0f), "hills_meadow");
  Entry(terrain);
  meshgen::mesh block = meshgen::Box(30.0f, 20.0f, 60.0f);
  meshgen::Translate(block, 100.0f, -200.0f, 20.0f);
  Entry(kxgeomtest::Terrain(block, "block"));
  Entry(Element({{-50, -50, 30}, {50, -50, 30}, {0, 50, 30.5f}, {-50, -50, 30}, {50, -50, 30}, {0, 50, 30.5f},
                 {-300, 0, 0}, {300, 0.01f, 50}, {-300, 0.02f, 0}, {200, 300, 0}, {210, 300, 0}, {205, 300.05f, 80},
                 {200, 320, 0}, {210, 320, 0}, {205, 320.8f, 80}},
                {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14}, "layers"));
  ASSERT_EQ(1, Build(nullptr, nullptr, 100.0f, 200));
  ASSERT_GT(w->ground.columns, 0);
  // The grid keeps within its memory budget of 100 bytes a face.
  const kxgroundgrid& g = w->ground;
  EXPECT_LE(g.faceCount * sizeof(kxgroundface) + (g.entryCount + size_t(g.columns) * g.rows + 1) * sizeof(uint32_t),
            100u * g.faceCount);
  std::vector<const kxcollface*> faces = kxcolltest::DistinctFaces(w.get());
  std::vector<std::array<float, 3>> points;
  std::mt19937 random(7);
  std::uniform_real_distribution<float> xy(-1010.0f, 1010.0f), z(-40.0f, 100.0f);
  for (int i = 0; i < 1000; ++i) points.push_back({xy(random), xy(random), z(random)});
  for (size_t i = 0; i < faces.size(); ++i) {
    const kxcollface* f = faces[i];
    if (static_cast<int>(i) < terrain->triangleCount && i % 8) continue;
    const kxcolledge* e = f->edges;
    for (int k = 0; k < 3; ++k, e = e->next) {
      const float* a = e->point;
      const float* b = (e->next ? e->next : f->edges)->point;
      points.push_back({a[0], a[1], a[2] + 1.0f});
      points.push_back({0.5f * (a[0] + b[0]), 0.5f * (a[1] + b[1]), 100.0f});
      // Just outside the edge, where only the tolerance keeps the face.
      float out = 0.5f * kxcollbuild::kEdgeTolerance / std::hypot(e->normal[0], e->normal[1]);
      points.push_back({points.back()[0] - out * e->normal[0], points.back()[1] - out * e->normal[1], 100.0f});
    }
  }
  int found = 0;
  for (const auto& p : points) {
    float expected = 0.0f;
    float expectedNormal[3];
    const kxcollface* best = kxcolltest::ScanGround(faces, p.data(), &expected, expectedNormal);
    float h = 0.0f, n[3] = {0, 0, 0};
    int hit = kxcollision::FindGround(w.get(), p.data(), &h, n);
    ASSERT_EQ(hit, best != nullptr) << p[0] << " " << p[1] << " " << p[2];
    if (!best) continue;
    ++found;
    ASSERT_EQ(h, expected) << p[0] << " " << p[1] << " " << p[2];
    ASSERT_EQ(std::memcmp(n, expectedNormal, sizeof n), 0);
    for (int k = 0; k < 3; ++k) ASSERT_NEAR(n[k], best->normal[k], 1e-6f);
    if (best->id < terrain->triangleCount) {
      ASSERT_NEAR(h, BruteHeight(terrain, p.data()), 1e-3f);
    }
  }
  EXPECT_GT(found, static_cast<int>(points.size() / 2));
}

// The edges of a sliver, moved out by a tolerance, would meet far beyond
// its sharp tip: a sliver's tolerance shrinks so its tip reaches at most a
// centimetre, and one too sharp for its float lines is no ground. The grid
// answers as a scan over every face, at and beyond the tip.
TEST_F(CollisionWorldTest, GroundBeyondTheTipOfASliverIsFoundAsAScanFindsIt) {
  struct sliver {
    float foot;  // m, x of the far corner: the sliver's width there
    bool ground;
  };
  for (sliver s : {sliver{-4e-3f, true}, sliver{-3.8147e-5f, false}}) {
    entries.clear();
    Entry(Element({{s.foot, -10, 0}, {0, 0, 0}, {0, 2.0005f, 0}}, {0, 1, 2}, "sliver_gras"));
    ASSERT_EQ(1, Build(nullptr, nullptr, 100.0f, 2));
    EXPECT_EQ(w->ground.columns > 0, s.ground) << s.foot;
    std::vector<const kxcollface*> faces = kxcolltest::DistinctFaces(w.get());
    int found = 0;
    for (float y : {-9.0f, 1.0f, 2.0f, 2.0004f, 2.0005f, 2.0006f, 2.01f, 2.5f, 4.0f}) {
      for (float x : {0.0f, 1e-5f, -1e-5f, 2e-3f * (y - 2.0005f) / 12.0f}) {
        const float p[3] = {x, y, 1.0f};
        float expected = 0.0f, h = 0.0f;
        const kxcollface* best = kxcolltest::ScanGround(faces, p, &expected);
        ASSERT_EQ(kxcollision::FindGround(w.get(), p, &h, nullptr), best != nullptr) << x << " " << y;
        if (!best) continue;
        ++found;
        EXPECT_EQ(h, expected) << y;
        EXPECT_LE(y, 2.0005f + 0.01f) << "the tip reaches no farther than a centimetre";
      }
    }
    EXPECT_EQ(found > 0, s.ground) << s.foot;
  }
}

TEST_F(CollisionWorldTest, ViewerCollideGivesANullEndedListOfFacesNearTheBox) {
  Entry(kxgeomtest::Terrain(meshgen::Ground(2000.0f, 71, 40.0f), "hills"));
  ASSERT_EQ(1, Build());
  const float p[3] = {100, -50, 0};
  int n = kxcollision::ViewerCollide(w.get(), p, 60.0f);
  ASSERT_GT(n, 0);
  ASSERT_LT(n, kxcollision::kNearFaces);
  EXPECT_EQ(w->nearFaces[n], nullptr);
  EXPECT_EQ(w->radius, 60.0f);
  EXPECT_EQ(w->boxMin[0], 40.0f);
  for (int i = 0; i < n; ++i) {
    const kxcollface* f = w->nearFaces[i];
    for (int j = 0; j < i; ++j) ASSERT_NE(w->nearFaces[j]->id, f->id);  // each face once
    int edges = 0;
    for (const kxcolledge* e = f->edges; e; e = e->next, ++edges) {
      float s = e->normal[0] * f->centre[0] + e->normal[1] * f->centre[1] + e->normal[2] * f->centre[2];
      EXPECT_GE(s - e->distance, 0.0f);
    }
    EXPECT_EQ(edges, 3);
    EXPECT_NEAR(f->normal[0] * f->centre[0] + f->normal[1] * f->centre[1] + f->normal[2] * f->centre[2], f->d, 1e-2f);
    for (int k = 0; k < 3; ++k) {
      EXPECT_GE(f->centre[k] + f->radius, w->boxMin[k]);
      EXPECT_LE(f->centre[k] - f->radius, w->boxMax[k]);
    }
  }
}

TEST_F(CollisionWorldTest, QueryListStopsAtItsCapacity) {
  Entry(kxgeomtest::Terrain(meshgen::Ground(10.0f, 50, 0.0f), "pad"));  // 5000 faces
  ASSERT_EQ(1, Build());
  const float p[3] = {0, 0, 0};
  EXPECT_EQ(kxcollision::ViewerCollide(w.get(), p, 20.0f), kxcollision::kNearFaces - 1);
  EXPECT_EQ(w->nearFaces[kxcollision::kNearFaces - 1], nullptr);
  EXPECT_NE(std::string::npos, kxgeomtest::Log().find("query list full"));
  EXPECT_EQ(kxcollision::Gather(w.get(), p, 20.0f), kxcollision::kNearFaces - 1);
}

TEST_F(CollisionWorldTest, NonPositiveCellSettingsTakeTheDefaultsAndOverlapsDoNotExplode) {
  // 600 large triangles that all overlap: no split can separate them.
  meshgen::mesh m;
  for (int i = 0; i < 600; ++i) {
    meshgen::vertex a{}, b{}, c{};
    a.p[0] = -1000, a.p[1] = -1000, a.p[2] = 0.01f * i;
    b.p[0] = 1000, b.p[1] = -1000, b.p[2] = 0.01f * i;
    c.p[0] = 0, c.p[1] = 1000, c.p[2] = 0.01f * i;
    uint32_t base = static_cast<uint32_t>(m.vertices.size());
    m.vertices.insert(m.vertices.end(), {a, b, c});
    m.triangles.insert(m.triangles.end(), {base, base + 1, base + 2});
  }
  Entry(kxgeomtest::Terrain(m, "layers"));
  const float zero[3] = {0, -1, 0};
  const float sun[3] = {0, 0, 1};
  ASSERT_EQ(1, kxcollision::Build(w.get(), Chain(), nullptr, zero, 0, sun));
  EXPECT_EQ(w->faceCount, 600);
  EXPECT_LT(w->cellCount, 64);
  const float p[3] = {0, 0, 100};
  EXPECT_FLOAT_EQ(kxcollision::GroundHeight(w.get(), p, nullptr), 5.99f);
}

// Degenerate faces, faces with a corner that is no number, and faces with a
// corner beyond a million metres, where the floats' rounding outgrows the
// contact reach.
TEST_F(CollisionWorldTest, DegenerateAndEmptyMeshesMakeNoFaces) {
  Entry(Element({{0, 0, 0}, {1, 1, 1}, {2, 2, 2}, {0, 0, NAN}, {1, 0, 0}, {0, 1, 0}, {2e6f, 0, 0}, {0, -1.5e20f, 0}},
                {0, 1, 2, 0, 0, 1, 3, 4, 5, 6, 4, 5, 7, 5, 4}, "junk"));
  kxgeometry* empty = kxgeometry::Create(GL_V3F, 0, 0);
  ASSERT_EQ(1, kxgeometry::Finish(empty));
  Entry(empty);
  ASSERT_EQ(1, Build());
  EXPECT_EQ(w->faceCount, 0);
  EXPECT_EQ(w->root, nullptr);
  const float p[3] = {0, 0, 10};
  EXPECT_EQ(kxcollision::GroundHeight(w.get(), p, nullptr), -1.0f);
  EXPECT_EQ(kxcollision::ViewerCollide(w.get(), p, 100.0f), 0);
  EXPECT_EQ(kxcollision::Gather(w.get(), p, 100.0f), 0);
  EXPECT_EQ(w->nearFaces[0], nullptr);
  kxcollision none{};
  EXPECT_EQ(kxcollision::GroundHeight(&none, p, nullptr), -1.0f);
  EXPECT_EQ(kxcollision::GroundHeight(nullptr, p, nullptr), -1.0f);
}

TEST_F(CollisionWorldTest, FreeOctreeReleasesEveryBlock) {
  int before = kxsystem::ReserveCount();
  Entry(Plate(10.0f, 0.0f, "x"));
  ASSERT_EQ(1, Build());
  EXPECT_EQ(kxsystem::ReserveCount(), before + 3);  // faces, cells, ground grid
  kxcollision::FreeOctree(w.get());
  EXPECT_EQ(kxsystem::ReserveCount(), before);
  EXPECT_EQ(w->root, nullptr);
  EXPECT_EQ(w->faceBlock, nullptr);
  EXPECT_EQ(w->nodeBlock, nullptr);
  EXPECT_EQ(w->ground.block, nullptr);
  EXPECT_EQ(w->ground.columns, 0);
}

TEST_F(CollisionWorldTest, CurrentWorldIsWhatWasSet) {
  kxcollision::SetCurrent(w.get());
  EXPECT_EQ(kxcollision::Current(), w.get());
  kxcollision::SetCurrent(nullptr);
  EXPECT_EQ(kxcollision::Current(), nullptr);
}

}  // namespace
