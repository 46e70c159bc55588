// The transparent list without OpenGL: which trees are kept, the order the
// records are drawn in, what an aircraft's part tree contributes, and the
// alphas of discs, blades and markers.
#include "sim/views/transparent_list.h"

#include <memory>

#include "graphics/scenery_records.h"
#include "sim/views/transparent_draw.h"
#include "sim/views/view_matrices.h"
#include "sim/world/world.h"
#include "tests/graphics/geometry_support.h"

namespace {

// Looking along +x from the origin: V's third row is (-1, 0, 0).
class TransparentListTest : public kxgeomtest::GeometryTest {
 protected:
  void SetUp() override {
    GeometryTest::SetUp();
    sim::ResetTransparentList();
    sim::ViewMatrix(eye_, X_, Y_, Z_, V_);
    sim::CylindricalBillboard(X_, B_);
    sim::CullingVectors(0.15f, 4.0f / 3.0f, 1.0f, X_, Y_, e1_, e2_);
  }
  void TearDown() override {
    sim::ResetTransparentList();
    kxgeometry::Free(&card_);
    GeometryTest::TearDown();
  }
  const float eye_[3] = {0, 0, 0}, X_[3] = {1, 0, 0}, Y_[3] = {0, 1, 0}, Z_[3] = {0, 0, 1};
  float V_[16], B_[16] = {}, e1_[3], e2_[3];
  kxgeometry* card_ = kxgeomtest::UnitSquare("bbrd");
};

TEST_F(TransparentListTest, TreesAheadOrNearBesideTheViewAreKeptWithinTheDensity) {
  struct {
    float ahead, side;
    bool kept;
  } cases[] = {{20, 30, true}, {40, 30, false}, {40, 0, true}, {5, 20, true}, {-30, 0, false}};
  for (const auto& c : cases) {
    const float d[3] = {c.ahead, c.side, 0};
    EXPECT_EQ(sim::TreeInView(d, X_, e1_, e2_), c.kept) << c.ahead << " ahead, " << c.side << " aside";
  }
  // Four trees ahead and a fixed object behind the eye (never culled).
  auto w = std::make_unique<world>();
  kxtransparentgeometry entries[6] = {};
  for (int i = 0; i < 5; ++i) {
    entries[i].element = card_;
    entries[i].billboard = i < 4;
    entries[i].centre[0] = i < 4 ? 10.0f * static_cast<float>(i + 1) : -100.0f;
  }
  w->transparent = entries;
  w->billboard_count = 4;
  EXPECT_EQ(sim::TreeCount(*w, 0, 1.0f), 0);
  // A density beyond any range shows every tree, never an overflowed count.
  EXPECT_EQ(sim::TreeCount(*w, 1, 1e9f), 4);
  EXPECT_EQ(sim::TreeCount(*w, 1, -1e9f), 0);
  sim::CollectTrees(*w, sim::TreeCount(*w, 1, 0.5f), V_, B_, X_, eye_, e1_, e2_);
  sim::transparentlist& list = sim::TransparentList();
  ASSERT_EQ(list.count, 3);
  EXPECT_FLOAT_EQ(list.records[1].matrix[12], 20.0f);  // the tree's place with B's rotation
  EXPECT_FLOAT_EQ(list.records[1].matrix[4], B_[4]);
  EXPECT_EQ(list.records[1].billboard, 1);
  EXPECT_EQ(list.records[2].lit, 1);
  EXPECT_FLOAT_EQ(list.records[2].matrix[12], 0.0f);  // a fixed object keeps its own coordinates
  EXPECT_FLOAT_EQ(list.records[2].depth, 100.0f);
}

TEST_F(TransparentListTest, RecordsSortFarthestFirstAndAFullListRefusesMore) {
  for (float x : {5.0f, 50.0f, -3.0f, 20.0f}) {
    const float p[3] = {x, 0, 0};
    sim::AddTransparent(V_, p)->rpm = x;
  }
  sim::SortTransparentList();
  std::vector<float> order;
  for (sim::transparentrecord** r = sim::TransparentList().order; *r; ++r) order.push_back((*r)->rpm);
  EXPECT_EQ(order, (std::vector<float>{50, 20, 5, -3}));
  while (sim::TransparentList().count < sim::transparentlist::kCapacity) sim::AddTransparent(V_, eye_);
  EXPECT_EQ(sim::AddTransparent(V_, eye_), nullptr);
  EXPECT_EQ(sim::TransparentList().dropped, 1);
}

TEST_F(TransparentListTest, AnAircraftGivesDiscsBladesAndTransparentPartsPlacedInTheWorld) {
  kxgeometricobject* root = Object("root");
  root->Matrix = Translation(10, 0, 0);
  kxgeometricobject* disc = Object("disc", nullptr, root);
  disc->Matrix = Translation(1, 0, 0);
  disc->Flags = kxgeometricobject::kFlagList | kxgeometricobject::kFlagRotating;
  disc->discTexture = reinterpret_cast<kxtexture*>(this);  // only compared, never read
  Object("blades", kxgeomtest::UnitSquare(), root)->Flags = kxgeometricobject::kFlagRotating;
  kxgeometry* glass = kxgeomtest::UnitSquare("canopy");
  glass->transparent = 1;
  Object("canopy", glass, root)->Matrix = Translation(0, 0, 2);
  Object("solid", kxgeomtest::UnitSquare(), root);

  sim::CollectTransparentParts(V_, root);
  const sim::transparentrecord* r = sim::TransparentList().records;
  ASSERT_EQ(sim::TransparentList().count, 3);
  EXPECT_EQ(r[0].draw, &sim::DrawPropellerDisc);
  EXPECT_FLOAT_EQ(r[0].matrix[12], 11.0f);
  EXPECT_FLOAT_EQ(r[0].depth, -11.0f);
  EXPECT_EQ(r[1].draw, &sim::DrawFadingBlades);
  EXPECT_EQ(r[2].draw, nullptr);
  EXPECT_EQ(r[2].reflect, 1);
  EXPECT_FLOAT_EQ(r[2].matrix[14], 2.0f);
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
