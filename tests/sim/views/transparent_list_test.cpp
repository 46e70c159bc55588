// The transparent list without OpenGL: which trees are kept, the order the
// records are drawn in, what an aircraft's part tree contributes, and the
// alphas of discs, blades and markers.
#include "sim/views/transparent_list.h"

#include <memory>

#include "graphics/geometric_object.h"
#include "graphics/scenery_records.h"
#include "sim/views/transparent_draw.h"
#include "sim/views/view_matrices.h"
#include "sim/world/world.h"
#include "tests/graphics/geometry_support.h"

namespace {

using kxgeomtest::GeometryTest;

// Looking along +x from the origin: V's third row is (-1, 0, 0).
struct looking {
  float eye[3] = {0, 0, 0}, X[3] = {1, 0, 0}, Y[3] = {0, 1, 0}, Z[3] = {0, 0, 1};
  float V[16], B[16], e1[3], e2[3];
  looking() {
    sim::ViewMatrix(eye, X, Y, Z, V);
    sim::ResetSceneView();
    std::copy(sim::SceneView().billboard, sim::SceneView().billboard + 16, B);
    sim::CylindricalBillboard(X, B);
    sim::CullingVectors(0.15f, 4.0f / 3.0f, 1.0f, X, Y, e1, e2);
  }
};

class TransparentListTest : public GeometryTest {
 protected:
  void SetUp() override {
    GeometryTest::SetUp();
    sim::ResetTransparentList();
  }
  void TearDown() override {
    sim::ResetTransparentList();
    for (kxgeometry*& el : elements_) kxgeometry::Free(&el);
    GeometryTest::TearDown();
  }
  // A scenery whose transparent list holds the given billboards (centres)
  // and one fixed object at the end.
  world& Scenery(const std::vector<std::vector<float>>& trees) {
    world_ = std::make_unique<world>();
    entries_.assign(trees.size() + 2, kxtransparentgeometry{});
    elements_.push_back(kxgeomtest::UnitSquare("bbrd"));
    for (size_t i = 0; i < trees.size(); ++i) {
      entries_[i].element = elements_.back();
      entries_[i].billboard = 1;
      std::copy(trees[i].begin(), trees[i].end(), entries_[i].centre);
    }
    entries_[trees.size()].element = elements_.back();
    entries_[trees.size()].centre[0] = -100;  // behind the eye: never culled
    world_->transparent = entries_.data();
    world_->billboard_count = static_cast<int>(trees.size());
    return *world_;
  }
  std::unique_ptr<world> world_;
  std::vector<kxtransparentgeometry> entries_;
  std::vector<kxgeometry*> elements_;
};

TEST_F(TransparentListTest, NearTreesBesideTheViewStayFarOnesAreCulled) {
  looking v;
  struct {
    float ahead, side;
    bool kept;
  } cases[] = {{20, 30, true}, {40, 30, false}, {40, 0, true}, {5, 20, true}, {-30, 0, false}};
  for (const auto& c : cases) {
    const float d[3] = {c.ahead, c.side, 0};
    EXPECT_EQ(sim::TreeInView(d, v.X, v.e1, v.e2), c.kept) << c.ahead << " ahead, " << c.side << " aside";
  }
}

TEST_F(TransparentListTest, TreeDensityConsidersOnlyTheFirstTreesAndFixedObjectsAlwaysShow) {
  looking v;
  world& w = Scenery({{10, 0, 0}, {20, 0, 0}, {30, 0, 0}, {40, 0, 0}});
  EXPECT_EQ(sim::TreeCount(w, 1, 0.5f), 2);
  EXPECT_EQ(sim::TreeCount(w, 0, 1.0f), 0);
  sim::CollectTrees(w, sim::TreeCount(w, 1, 0.5f), v.V, v.B, v.X, v.eye, v.e1, v.e2);
  sim::transparentlist& list = sim::TransparentList();
  ASSERT_EQ(list.count, 3);
  EXPECT_EQ(list.records[0].billboard, 1);
  EXPECT_FLOAT_EQ(list.records[1].matrix[12], 20.0f);  // the tree's place with B's rotation
  EXPECT_FLOAT_EQ(list.records[1].matrix[4], v.B[4]);
  EXPECT_EQ(list.records[2].billboard, 0);
  EXPECT_EQ(list.records[2].lit, 1);
  EXPECT_FLOAT_EQ(list.records[2].matrix[12], 0.0f);  // the fixed object keeps its own coordinates
}

TEST_F(TransparentListTest, RecordsSortFarthestFirstAndAFullListRefusesMore) {
  looking v;
  for (float x : {5.0f, 50.0f, -3.0f, 20.0f}) {
    const float p[3] = {x, 0, 0};
    sim::AddTransparent(v.V, p)->rpm = x;
  }
  sim::SortTransparentList();
  std::vector<float> order;
  for (sim::transparentrecord** r = sim::TransparentList().order; *r; ++r) order.push_back((*r)->rpm);
  EXPECT_EQ(order, (std::vector<float>{50, 20, 5, -3}));

  const float p[3] = {0, 0, 0};
  while (sim::TransparentList().count < sim::transparentlist::kCapacity) sim::AddTransparent(v.V, p);
  EXPECT_EQ(sim::AddTransparent(v.V, p), nullptr);
  EXPECT_EQ(sim::TransparentList().dropped, 1);
}

TEST_F(TransparentListTest, AnAircraftGivesDiscsBladesAndTransparentPartsPlacedInTheWorld) {
  looking v;
  kxgeometricobject* root = Object("root");
  root->Matrix = Translation(10, 0, 0);
  kxgeometricobject* disc = Object("disc", nullptr, root);
  disc->Matrix = Translation(1, 0, 0);
  disc->Flags = kxgeometricobject::kFlagList | kxgeometricobject::kFlagRotating;
  kxtexture* marker = reinterpret_cast<kxtexture*>(&v);  // only compared, never read
  disc->discTexture = marker;
  disc->discRadius = 0.3f;
  kxgeometricobject* blades = Object("blades", kxgeomtest::UnitSquare(), root);
  blades->Flags = kxgeometricobject::kFlagRotating;
  kxgeometry* glass = kxgeomtest::UnitSquare("canopy");
  glass->transparent = 1;
  kxgeometricobject* canopy = Object("canopy", glass, root);
  canopy->Matrix = Translation(0, 0, 2);
  Object("solid", kxgeomtest::UnitSquare(), root);

  sim::CollectTransparentParts(v.V, root);
  sim::transparentlist& list = sim::TransparentList();
  ASSERT_EQ(list.count, 3);
  EXPECT_EQ(list.records[0].draw, &sim::DrawPropellerDisc);
  EXPECT_EQ(list.records[0].disc_texture, marker);
  EXPECT_FLOAT_EQ(list.records[0].disc_radius, 0.3f);
  EXPECT_FLOAT_EQ(list.records[0].matrix[12], 11.0f);
  EXPECT_FLOAT_EQ(list.records[0].depth, -11.0f);
  EXPECT_EQ(list.records[1].draw, &sim::DrawFadingBlades);
  EXPECT_EQ(list.records[1].element, blades->mesh);
  EXPECT_EQ(list.records[2].draw, nullptr);
  EXPECT_EQ(list.records[2].reflect, 1);
  EXPECT_FLOAT_EQ(list.records[2].matrix[14], 2.0f);
  EXPECT_EQ(sim::PartStack().depth, 0);
}

TEST_F(TransparentListTest, DiscBladeAndMarkerAlphas) {
  struct {
    float rpm, disc, blade;
  } speeds[] = {{600, 0.125f, 0.525f}, {1200, 0.25f, 0.05f}, {3000, 0.25f, 0.05f}, {0, 0, 1}, {-1, 0, 1}};
  for (const auto& s : speeds) {
    EXPECT_FLOAT_EQ(sim::DiscAlpha(s.rpm), s.disc) << s.rpm;
    EXPECT_FLOAT_EQ(sim::BladeAlpha(s.rpm), s.blade) << s.rpm;
  }
  struct {
    float distance, alpha;
  } marks[] = {{-80, 0.25f}, {-50, 0.25f}, {-25, 0.625f}, {-0.001f, 0.99998f}, {0, 0}, {5, 0}};
  for (const auto& m : marks) EXPECT_NEAR(sim::PylonMarkerAlpha(m.distance), m.alpha, 1e-4f) << m.distance;
}

}  // namespace
