// Box contacts with the ground, billboard trees and moving objects; the
// moving objects' build and the near-object pass after a static gather.
#include <cmath>
#include <cstring>
#include <algorithm>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "core/hooks.h"
#include "geometry_support.h"
#include "graphics/collision_contact.h"
#include "graphics/collision_face.h"
#include "graphics/collision_near.h"
#include "graphics/collision_world.h"
#include "graphics/scenery_records.h"
#include "platform/reserves.h"

namespace {

using kxgeomtest::Plate;

std::string& logged() {
  static std::string text;
  return text;
}

class CollisionContactTest : public ::testing::Test {
 protected:
  void SetUp() override {
    w.reset(new kxcollision{});
    std::memset(&ground, 0, sizeof ground);
    ground.mesh = Plate(100.0f, 0.0f, "field_gras");
  }
  void TearDown() override {
    kxcolldynamic::Free(w.get());
    kxcollision::FreeOctree(w.get());
    kxgeometry::Free(&ground.mesh);
    for (kxgeometry*& m : meshes) kxgeometry::Free(&m);
  }
  int Build(const kxtransparentgeometry* transparent = nullptr) {
    const float cell[3] = {100, 100, 100};
    const float sun[3] = {0, 0, 1};
    return kxcollision::Build(w.get(), &ground, transparent, cell, 200, sun);
  }
  // The ground made rolling hills 400 m across in 5 m cells.
  int BuildHills() {
    kxgeometry::Free(&ground.mesh);
    ground.mesh = kxgeomtest::Terrain(meshgen::Ground(400.0f, 40, 15.0f), "hills_dirt");
    const float cell[3] = {5, 5, 5};
    const float sun[3] = {0, 0, 1};
    return kxcollision::Build(w.get(), &ground, nullptr, cell, 8, sun);
  }
  // A box record of a cube with the given edge (m) about the origin.
  static kxboxrecord Cube(float edge) {
    kxboxrecord box;
    std::memset(&box, 0, sizeof box);
    const float lo[3] = {-edge / 2, -edge / 2, -edge / 2}, hi[3] = {edge / 2, edge / 2, edge / 2};
    kxboxrecord::Set(&box, lo, hi);
    return box;
  }
  static void At(float frame[16], float x, float y, float z) {
    for (int i = 0; i < 16; ++i) frame[i] = i % 5 == 0 ? 1.0f : 0.0f;
    frame[12] = x;
    frame[13] = y;
    frame[14] = z;
  }
  // A dynamic entry: a unit cube mesh placed at (x, y, z).
  std::unique_ptr<kxgeometrydynobject> Moving(float x, float y, float z) {
    auto e = std::make_unique<kxgeometrydynobject>();
    std::memset(e.get(), 0, sizeof *e);
    kxmatrix::SetIdentity(&e->frame);
    e->frame.R = {x, y, z, 1};
    e->mesh = meshgen::ToElement(meshgen::Box(1, 1, 1), "wheel_damage", "", GL_N3F_V3F);
    meshes.push_back(e->mesh);
    return e;
  }
  kxtest::logcapture capture_;
  std::unique_ptr<kxcollision> w;
  kxgeometryobject ground;
  std::vector<kxgeometry*> meshes;
};

TEST_F(CollisionContactTest, SmallCubeTouchingGrassGetsOneContact) {
  ASSERT_EQ(1, Build());
  kxboxrecord box = Cube(0.2f);
  float frame[16];
  At(frame, 10, 20, 0.05f);
  ASSERT_EQ(1, kxcollision::ContactShape(w.get(), frame, &box, 1));
  ASSERT_NE(box.list[0], nullptr);
  EXPECT_EQ(box.list[1], nullptr);
  const kxcontact* c = box.list[0];
  EXPECT_EQ(c->normal, (kxvector4r{0, 0, 1, 0}));
  EXPECT_EQ(c->point, (kxvector4r{10, 20, 0, 1}));
  EXPECT_NEAR(c->depth, 0.05f, 1e-6f);
  EXPECT_EQ(c->surface, 3);
  EXPECT_EQ(*reinterpret_cast<const int32_t*>(reinterpret_cast<const char*>(c) + 48), 3);
  At(frame, 10, 20, 0.5f);
  EXPECT_EQ(0, kxcollision::ContactShape(w.get(), frame, &box, 1));
  EXPECT_EQ(box.list[0], nullptr);
}

TEST_F(CollisionContactTest, EightCornersOfATiltedSkidBoxGiveOneContactPerFace) {
  ASSERT_EQ(1, Build());
  kxboxrecord box = Cube(1.0f);
  kxmatrix m;
  kxmatrix::SetRotation(&m, {1, 0, 0, 0}, 0.3f);
  m.R = {0, 0, 0.6f, 1};
  // The box straddles both ground triangles: two faces, each reported once.
  ASSERT_EQ(2, kxcollision::ContactShape(w.get(), m.Data(), &box, 0));
  EXPECT_GE(box.list[0]->depth, box.list[1]->depth);
  EXPECT_GT(box.list[0]->depth, 0.0f);
  EXPECT_EQ(box.list[0]->point.z, 0.0f);
  EXPECT_EQ(box.list[2], nullptr);
}

TEST_F(CollisionContactTest, ManyFacesKeepTheSixteenDeepest) {
  // Twenty stacked plates below one point.
  meshgen::mesh stack;
  for (int i = 0; i < 20; ++i) {
    meshgen::mesh plate;
    float z = -0.01f * i;
    for (auto [x, y] : {std::pair{-1.0f, -1.0f}, {1.0f, -1.0f}, {0.0f, 1.0f}}) {
      meshgen::vertex v{};
      v.p[0] = x, v.p[1] = y, v.p[2] = z;
      plate.vertices.push_back(v);
    }
    plate.triangles = {0, 1, 2};
    meshgen::Append(stack, plate);
  }
  kxgeometry::Free(&ground.mesh);
  ground.mesh = kxgeomtest::Terrain(stack, "stack");
  ASSERT_EQ(1, Build());
  kxboxrecord box = Cube(0.5f);
  float frame[16];
  At(frame, 0, 0, 0);  // the lowest point 0.25 m below the top plate, below all twenty
  ASSERT_EQ(kxboxrecord::kMaxContacts, kxcollision::ContactShape(w.get(), frame, &box, 1));
  EXPECT_EQ(box.list[kxboxrecord::kMaxContacts], nullptr);
  EXPECT_NEAR(box.list[0]->depth, 0.25f, 1e-5f);
  EXPECT_NEAR(box.list[15]->depth, 0.10f, 1e-5f);
}

TEST_F(CollisionContactTest, TreesCollideOnlyWhileEnabledAndInUse) {
  meshgen::mesh cross = meshgen::Box(0.1f, 2.0f, 6.0f);
  kxgeometry* tree = kxgeomtest::Terrain(cross, "bbrd_pine");
  ground.mesh->next = tree;  // freed with the ground
  kxtransparentgeometry list[2] = {};
  list[0] = {tree, 1, 2.0f, 3.0f, {10, 10, 3}};
  ASSERT_EQ(1, Build(list));
  EXPECT_EQ(w->faceCount, 2);  // the billboard element makes no faces
  EXPECT_EQ(w->treeTotal, 1);
  kxboxrecord box = Cube(1.0f);
  float frame[16];
  At(frame, 10, 10, 3);
  kxcollision::SetTrees(w.get(), 1, 1);
  int n = kxcollision::ContactShape(w.get(), frame, &box, 1);
  ASSERT_GT(n, 0);
  for (int i = 0; i < n; ++i) EXPECT_EQ(box.list[i]->surface, 8);
  kxcollision::SetTrees(w.get(), 1, 0);
  EXPECT_EQ(0, kxcollision::ContactShape(w.get(), frame, &box, 1));
  kxcollision::SetTrees(w.get(), 0, 1);
  EXPECT_EQ(0, kxcollision::ContactShape(w.get(), frame, &box, 1));
  At(frame, 30, 10, 3);
  kxcollision::SetTrees(w.get(), 1, 1);
  EXPECT_EQ(0, kxcollision::ContactShape(w.get(), frame, &box, 1));
}

TEST_F(CollisionContactTest, DynamicBuildKeepsFacesInTheObjectFrameAndFreeReleasesEverything) {
  int before = kxsystem::ReserveCount();
  auto cube = Moving(100, 0, 0);
  ASSERT_EQ(1, kxcolldynamic::Build(w.get(), cube.get()));
  ASSERT_NE(w->dynamics, nullptr);
  EXPECT_EQ(w->dynamics->frame, &cube->frame);
  EXPECT_EQ(w->dynamics->faceCount, 12);
  EXPECT_EQ(w->dynamics->next, nullptr);
  for (int i = 0; i < 12; ++i) {
    const kxcollface* f = w->dynamics->faces + i;
    EXPECT_EQ(f->frame, cube->frame.Data());
    EXPECT_LE(std::fabs(f->centre[0]), 0.5f);  // local, not at x = 100
    EXPECT_NEAR(std::fabs(f->d), 0.5f, 1e-6f);
    EXPECT_EQ(f->surface, 8);
  }
  EXPECT_EQ(kxsystem::ReserveCount(), before + 3);
  kxcolldynamic::Free(w.get());
  EXPECT_EQ(kxsystem::ReserveCount(), before);
  EXPECT_EQ(w->dynamics, nullptr);
}

TEST_F(CollisionContactTest, GatherNearAMovingCubeAppendsItsFacesButNotOnesExactlyRAway) {
  ASSERT_EQ(1, Build());
  auto cube = Moving(100, 0, 0);
  auto second = Moving(-100, 0, 0);
  cube->next = second.get();
  ASSERT_EQ(1, kxcolldynamic::Build(w.get(), cube.get()));
  w->nearObjectPass = kxcollision::NearObjectPass;
  // 0.4 m above the top face; the side planes lie exactly 0.5 m away.
  const float c[3] = {100, 0, 0.9f};
  ASSERT_EQ(2, kxcollision::Gather(w.get(), c, 0.5f));
  for (int i = 0; i < 2; ++i) {
    EXPECT_EQ(w->nearFaces[i]->frame, cube->frame.Data());
    EXPECT_EQ(w->nearFaces[i]->normal[2], 1.0f);
  }
  EXPECT_EQ(w->nearFaces[2], nullptr);
  // The static gather comes first, the moving faces behind it.
  cube->frame.R = {0, 0, 0.5f, 1};  // its bottom face 0.3 m from the query centre
  const float g[3] = {0, 0, 0.3f};
  int n = kxcollision::Gather(w.get(), g, 0.5f);
  ASSERT_EQ(n, 4);
  EXPECT_EQ(w->nearFaces[0]->frame, nullptr);
  EXPECT_EQ(w->nearFaces[1]->frame, nullptr);
  EXPECT_EQ(w->nearFaces[2]->frame, cube->frame.Data());
  EXPECT_EQ(w->nearFaces[n], nullptr);
  EXPECT_EQ(w->radius, 0.5f);
  EXPECT_EQ(w->centre[2], 0.3f);
}

TEST_F(CollisionContactTest, BoxOnAMovingCubeTouchesItThroughItsFrame) {
  ASSERT_EQ(1, Build());
  auto cube = Moving(50, 0, 5);
  kxmatrix::SetRotation(&cube->frame, {0, 0, 1, 0}, 0.7f);
  cube->frame.R = {50, 0, 5, 1};
  ASSERT_EQ(1, kxcolldynamic::Build(w.get(), cube.get()));
  kxboxrecord box = Cube(0.2f);
  float frame[16];
  At(frame, 50.1f, 0.1f, 5.55f);
  ASSERT_EQ(1, kxcollision::ContactShape(w.get(), frame, &box, 1));
  const kxcontact* c = box.list[0];
  EXPECT_NEAR(c->normal.z, 1.0f, 1e-6f);
  EXPECT_NEAR(c->point.x, 50.1f, 1e-5f);
  EXPECT_NEAR(c->point.z, 5.5f, 1e-5f);
  EXPECT_NEAR(c->depth, 0.05f, 1e-5f);
  EXPECT_EQ(c->surface, 8);
}

// The contact rule applied to every triangle: faces touched and the deepest depth.
std::pair<int, float> BruteContacts(const kxgeometry* el, const float frame[16], const kxboxrecord& box, int flag) {
  kxmatrix m;
  std::memcpy(m.Data(), frame, sizeof m);
  float dx = box.max[0] - box.min[0], dy = box.max[1] - box.min[1], dz = box.max[2] - box.min[2];
  float reach = std::max(0.1f, std::sqrt(dx * dx + dy * dy + dz * dz));
  int faces = 0;
  float deepest = 0.0f;
  for (int t = 0; t < el->triangleCount; ++t) {
    float v[3][3];
    for (int k = 0; k < 3; ++k) kxgeometry::GetVertexPosition(el, el->triangles[3 * t + k], v[k]);
    kxcollface f;
    kxcolledge e[3];
    if (!kxcollbuild::MakeFace(v[0], v[1], v[2], &f, e)) continue;
    bool touched = false;
    for (int i = 0; i < (flag ? 6 : 8); ++i) {
      float p[4];
      kxmatrix::TransformVector4(p, &m, flag ? &box.six[i].x : &box.eight[i].x);
      float s = kxcollbuild::Dot3(f.normal, p) - f.d;
      float foot[3] = {p[0] - s * f.normal[0], p[1] - s * f.normal[1], p[2] - s * f.normal[2]};
      if (s <= 0 && s >= -reach && kxcollbuild::InsideEdges(&f, foot)) {
        touched = true;
        deepest = std::max(deepest, -s);
      }
    }
    faces += touched;
  }
  return {faces, deepest};
}

TEST_F(CollisionContactTest, ContactsOnRollingTerrainMatchTheRuleAppliedToEveryTriangle) {
  ASSERT_EQ(1, BuildHills());
  std::mt19937 random(11);
  std::uniform_real_distribution<float> xy(-190.0f, 190.0f), dz(-0.3f, 0.1f), angle(-0.6f, 0.6f);
  int touching = 0;
  for (int i = 0; i < 200; ++i) {
    kxboxrecord box = Cube(0.4f);
    kxmatrix m;
    kxmatrix::SetRotation(&m, {angle(random), angle(random), 1, 0}, angle(random));
    const float p[3] = {xy(random), xy(random), 100.0f};
    m.R = {p[0], p[1], kxcollision::GroundHeight(w.get(), p, nullptr) + dz(random), 1};
    int flag = i & 1;
    int n = kxcollision::ContactShape(w.get(), m.Data(), &box, flag);
    auto [faces, deepest] = BruteContacts(ground.mesh, m.Data(), box, flag);
    ASSERT_EQ(n, std::min(faces, kxboxrecord::kMaxContacts)) << i;
    if (n) {
      EXPECT_NEAR(box.list[0]->depth, deepest, 1e-5f);
      EXPECT_EQ(box.list[0]->surface, 5);
      ++touching;
    }
  }
  EXPECT_GT(touching, 60);
}

// Points on a face's plane to the last bit (plane distance zero or the
// least below it), with other points of the query above, touch it through
// a gathered set as through the walk: the sets' quick pass over faces with
// every point above must not pass over these. Small sets about each query,
// so that in hollows every other face of a block lies below the points.
TEST_F(CollisionContactTest, PointsOnAFacePlaneTouchItThroughANearSetAsThroughTheWalk) {
  ASSERT_EQ(1, BuildHills());
  const float base[3] = {-35, 45, 100};
  const float c[3] = {base[0], base[1], kxcollision::GroundHeight(w.get(), base, nullptr)};
  kxcollnear near, local;
  ASSERT_EQ(1, kxcollision::GatherNear(w.get(), c, 12.0f, &near));
  std::mt19937 random(3);
  std::uniform_real_distribution<float> unit(0.0f, 1.0f), up(0.01f, 0.2f);
  int touching = 0;
  for (const kxnearface& f : near.faces) {
    ASSERT_GT(f.normal[2], 0.1f);
    for (int i = 0; i < 4; ++i) {
      float x = f.lo[0] + unit(random) * (f.hi[0] - f.lo[0]), y = f.lo[1] + unit(random) * (f.hi[1] - f.lo[1]);
      auto above = [&f, x, y](float z) { return f.normal[0] * x + f.normal[1] * y + f.normal[2] * z - f.d; };
      float z = (f.d - f.normal[0] * x - f.normal[1] * y) / f.normal[2] + 1e-3f;
      for (int step = 0; step < 100000 && above(z) > 0.0f; ++step) z = std::nextafter(z, -1e9f);
      ASSERT_LE(above(z), 0.0f);
      int count = 1 + 2 * i;
      float points[8][4] = {{x, y, z, 1.0f}}, lo[3] = {x, y, z}, hi[3] = {x, y, z};
      for (int k = 1; k < count; ++k) {
        // Straight above, so that the box's least plane distance is the
        // first point's own.
        float q[4] = {x, y, z + up(random), 1.0f};
        for (int j = 0; j < 4; ++j) points[k][j] = q[j];
        for (int j = 0; j < 3; ++j) lo[j] = std::min(lo[j], q[j]), hi[j] = std::max(hi[j], q[j]);
      }
      ASSERT_EQ(1, kxcollision::GatherNear(w.get(), points[0], 1.0f, &local));
      kxcontact fromNear[16], fromWalk[16];
      int n = kxcollision::ContactPoints(w.get(), &local, points, count, nullptr, nullptr, c, fromNear, 16);
      ASSERT_EQ(n, kxcollision::ContactPoints(w.get(), nullptr, points, count, lo, hi, c, fromWalk, 16));
      for (int k = 0; k < n; ++k) {
        const kxcontact &a = fromNear[k], &b = fromWalk[k];
        ASSERT_TRUE(a.normal == b.normal && a.point == b.point && a.depth == b.depth && a.face->id == b.face->id)
            << k;
      }
      touching += n > 0 && fromNear[0].depth < 1e-4f;
    }
  }
  EXPECT_GT(touching, 10);
}

// The faces gathered near an aircraft give the contacts of the world's walk,
// bit for bit, for boxes the gathered sphere covers (and the walk answers
// for those it does not): on rolling ground with a tree and a moving cube.
// A set narrowed from it answers alike, the boxes it does not cover through
// the gathered set, and notes how far the queries reached.
TEST_F(CollisionContactTest, NearSetGivesTheContactsOfTheWorldWalk) {
  kxgeometry::Free(&ground.mesh);
  ground.mesh = kxgeomtest::Terrain(meshgen::Ground(400.0f, 40, 15.0f), "hills_dirt");
  kxgeometry* tree = kxgeomtest::Terrain(meshgen::Box(0.1f, 2.0f, 6.0f), "bbrd_pine");
  ground.mesh->next = tree;  // freed with the ground
  const float base[3] = {20, 30, 100};
  kxtransparentgeometry list[2] = {};
  list[0] = {tree, 1, 2.0f, 3.0f, {base[0] + 3, base[1], 0}};
  const float cell[3] = {5, 5, 5};
  const float sun[3] = {0, 0, 1};
  ASSERT_EQ(1, kxcollision::Build(w.get(), &ground, list, cell, 8, sun));
  const float c[3] = {base[0], base[1], kxcollision::GroundHeight(w.get(), base, nullptr)};
  w->trees[0].d += c[2];  // stand the tree's top on the ground
  kxcollision::SetTrees(w.get(), 1, 1);
  auto cube = Moving(base[0] - 3, base[1], c[2] + 0.3f);
  ASSERT_EQ(1, kxcolldynamic::Build(w.get(), cube.get()));
  kxcollnear near;
  ASSERT_EQ(1, kxcollision::GatherNear(w.get(), c, 12.0f, &near));
  ASSERT_GT(near.faces.size(), 5u);
  kxcollnear narrow;
  ASSERT_EQ(1, kxcollision::NarrowNear(&near, c, 6.0f, &narrow));
  EXPECT_LT(narrow.faces.size(), near.faces.size());
  EXPECT_EQ(narrow.wider, &near);
  std::mt19937 random(5);
  std::uniform_real_distribution<float> xy(-16.0f, 16.0f), dz(-0.4f, 0.6f), angle(-0.6f, 0.6f);
  int touching = 0, looseTouching = 0;
  for (int i = 0; i < 400; ++i) {
    kxboxrecord fromNear = Cube(0.4f + 0.002f * (i % 100)), fromWalk = fromNear, fromNarrow = fromNear;
    kxmatrix m;
    kxmatrix::SetRotation(&m, {angle(random), angle(random), 1, 0}, angle(random));
    const float p[3] = {c[0] + xy(random), c[1] + xy(random), 100.0f};
    m.R = {p[0], p[1], kxcollision::GroundHeight(w.get(), p, nullptr) + dz(random), 1};
    int n = kxcollision::ContactShape(w.get(), m.Data(), &fromNear, i & 1, &near);
    ASSERT_EQ(n, kxcollision::ContactShape(w.get(), m.Data(), &fromWalk, i & 1)) << i;
    ASSERT_EQ(n, kxcollision::ContactShape(w.get(), m.Data(), &fromNarrow, i & 1, &narrow)) << i;
    for (int k = 0; k < n; ++k) {
      // A fixed face may be reported through another of its copies.
      const kxcontact& a = *fromNear.list[k];
      for (const kxboxrecord* other : {&fromWalk, &fromNarrow}) {
        const kxcontact& b = *other->list[k];
        ASSERT_TRUE(a.normal == b.normal && a.point == b.point && a.depth == b.depth && a.surface == b.surface &&
                    a.face->id == b.face->id && a.face->frame == b.face->frame)
            << i << " " << k;
      }
    }
    touching += n > 0;
    // One to eight loose corners, whose own box sets the reach, answer alike.
    int count = 1 + i % 8;
    float loose[8][4], lo[3], hi[3];
    for (int k = 0; k < count; ++k) {
      kxvector4r q = kxmatrix::TransformSingle(m, fromNear.eight[k]);
      loose[k][0] = q.x, loose[k][1] = q.y, loose[k][2] = q.z, loose[k][3] = 1.0f;
      for (int j = 0; j < 3; ++j) {
        lo[j] = k ? std::min(lo[j], loose[k][j]) : loose[k][j];
        hi[j] = k ? std::max(hi[j], loose[k][j]) : loose[k][j];
      }
    }
    const float origin[3] = {p[0], p[1], 0.0f};
    kxcontact looseNear[16], looseWalk[16], looseNarrow[16];
    int l = kxcollision::ContactPoints(w.get(), &near, loose, count, nullptr, nullptr, origin, looseNear, 16);
    ASSERT_EQ(l, kxcollision::ContactPoints(w.get(), nullptr, loose, count, lo, hi, origin, looseWalk, 16)) << i;
    ASSERT_EQ(l, kxcollision::ContactPoints(w.get(), &narrow, loose, count, nullptr, nullptr, origin, looseNarrow, 16))
        << i;
    for (int k = 0; k < l; ++k) {
      for (const kxcontact* other : {looseWalk, looseNarrow}) {
        const kxcontact &a = looseNear[k], &b = other[k];
        ASSERT_TRUE(a.normal == b.normal && a.point == b.point && a.depth == b.depth && a.face->id == b.face->id)
            << i << " " << k;
      }
    }
    looseTouching += l > 0;
  }
  EXPECT_GT(touching, 100);
  EXPECT_GT(looseTouching, 100);
  // Boxes up to 16 m off the centre, up to 1.2 m across, reaching as far below.
  EXPECT_GT(narrow.reached, 6.0f);
  EXPECT_GT(near.reached, 16.0f);
  EXPECT_LT(near.reached, 16.0f * std::sqrt(2.0f) + 4.0f);
  // Far above everything the set is empty and still answers.
  const float high[3] = {c[0], c[1], c[2] + 500};
  ASSERT_EQ(1, kxcollision::GatherNear(w.get(), high, 12.0f, &near));
  EXPECT_TRUE(near.faces.empty());
  kxboxrecord box = Cube(0.4f);
  float frame[16];
  At(frame, high[0], high[1], high[2]);
  EXPECT_EQ(0, kxcollision::ContactShape(w.get(), frame, &box, 1, &near));
  At(frame, c[0], c[1], c[2]);
  EXPECT_GT(kxcollision::ContactShape(w.get(), frame, &box, 1, &near), 0);  // not covered: the walk answers
}

// A tree whose size is no number has no collider, whichever source of faces
// answers; the build says so.
TEST_F(CollisionContactTest, TreeWithoutAFiniteSizeMeetsNothing) {
  kxgeometry* tree = kxgeomtest::Terrain(meshgen::Box(0.1f, 2.0f, 6.0f), "bbrd_pine");
  meshes.push_back(tree);
  kxtransparentgeometry list[2] = {};
  list[0] = {tree, 1, 2.0f, NAN, {0, 0, 1}};
  kxcore::SetLogHandler([](const char* text) { logged() += text; });
  logged().clear();
  ASSERT_EQ(1, Build(list));
  kxcore::SetLogHandler(nullptr);
  EXPECT_NE(logged().find("gl:  tree 0 has no finite size or place; nothing collides with it\n"), std::string::npos);
  kxcollision::SetTrees(w.get(), 1, 1);
  const float c[3] = {0, 0, 1};
  kxcollnear near;
  ASSERT_EQ(1, kxcollision::GatherNear(w.get(), c, 12.0f, &near));
  kxboxrecord fromNear = Cube(0.4f), fromWalk = fromNear;
  float frame[16];
  At(frame, 0, 0, 1);
  EXPECT_EQ(kxcollision::ContactShape(w.get(), frame, &fromNear, 1, &near), 0);
  EXPECT_EQ(kxcollision::ContactShape(w.get(), frame, &fromWalk, 1), 0);
}

TEST_F(CollisionContactTest, NearSetOfAFullQueryListIsNotUsed) {
  kxgeometry::Free(&ground.mesh);
  ground.mesh = kxgeomtest::Terrain(meshgen::Ground(10.0f, 50, 0.0f), "pad");  // 5000 faces
  ASSERT_EQ(1, Build());
  kxcollnear near;
  const float c[3] = {0, 0, 0};
  EXPECT_EQ(0, kxcollision::GatherNear(w.get(), c, 20.0f, &near));
  EXPECT_EQ(near.valid, 0);
  EXPECT_EQ(w->nearFaces[kxcollision::kNearFaces - 1], nullptr);
  kxboxrecord box = Cube(0.2f);
  float frame[16];
  At(frame, 0, 0, 0.05f);
  EXPECT_EQ(kxcollision::ContactShape(w.get(), frame, &box, 1, &near), kxcollision::ContactShape(w.get(), frame, &box, 1));
}

TEST_F(CollisionContactTest, ContactShapeWithoutWorldOrWithBadFrameIsEmpty) {
  kxboxrecord box = Cube(0.2f);
  float frame[16];
  At(frame, 0, 0, 0);
  EXPECT_EQ(0, kxcollision::ContactShape(nullptr, frame, &box, 1));
  EXPECT_EQ(box.list[0], nullptr);
  ASSERT_EQ(1, Build());
  frame[12] = NAN;
  EXPECT_EQ(0, kxcollision::ContactShape(w.get(), frame, &box, 1));
  EXPECT_EQ(0, kxcollision::ContactShape(w.get(), frame, nullptr, 1));
}

}  // namespace
