// Contact segments against gathered scenery faces, the bump pattern, the
// contact table's bounds, the ground below the model and the wind field.
#include <set>

#include "graphics/collision_face.h"
#include "tests/legacy/model_support.h"

namespace {

using namespace dnsmodel;

class LegacyContactsTest : public kxltest::modeltest {
 protected:
  void SetUp() override {
    modeltest::SetUp();
    interaction::Clear(&table);
    interaction::Reset(&table);
  }
  // The contacts of one segment with the faces gathered around its start.
  const contactpoint& Cross(v3 a, v3 b) {
    interaction::Clear(&table);
    int i = interaction::AddSegment(&table, a.x, a.y, a.z, b.x, b.y, b.z);
    const float at[3] = {a.x, a.y, a.z};
    GatherScenery(world_.get(), at, kGatherRadius);
    ApplyBumps(&table);
    QueryWorldContacts(table.usedContacts);
    return table.contacts[i];
  }
  interaction table{};
};

// The bump of 1 cm around (0.45, 0.45) of every metre lowers a segment
// and tilts the normal on its flanks; the normal points to the first point.
// Faces are gathered from 3 m up too, above the world's thin box.
TEST_F(LegacyContactsTest, SegmentsCrossTheBumpedGround) {
  BuildWorld();
  struct segment {
    v3 a, b;
    int count;
    float normalZ, depth, offsetX;
  };
  for (segment s : {segment{{5.45f, 3.45f, 1}, {5.45f, 3.45f, -1}, 1, 1, 0.99f, 0},
                    segment{{5.45f, 3.45f, 3}, {5.45f, 3.45f, -1}, 1, 1, 2.99f, 0},
                    segment{{7.45f, -2.55f, -1}, {7.45f, -2.55f, 1}, 1, -1, 1.01f, 0},
                    segment{{0.35f, 0.42f, 1}, {0.35f, 0.42f, -1}, 1, 1, 0.995f, 0.1f},
                    segment{{3, 3, 1}, {3, 3, 1}, 0, 0, 0, 0}, segment{{0.45f, 0.45f, 0.01f}, {9, 0.45f, 0.01f}, 0, 0, 0, 0},
                    segment{{0.45f, 0.45f, 3}, {0.45f, 0.45f, 1}, 0, 0, 0, 0}}) {
    const contactpoint& p = Cross(s.a, s.b);
    ASSERT_EQ(p.contactCount, s.count) << s.a.x << " " << s.a.z;
    EXPECT_FLOAT_EQ(p.normalOffset[0], s.offsetX);
    if (!s.count) continue;
    EXPECT_FLOAT_EQ(p.normal[0][2], s.normalZ);
    EXPECT_NEAR(p.depth[0], s.depth, 1e-5f);
    EXPECT_EQ(p.surface[0], 3);
  }
}

// Triangles split by the cells are gathered once; a segment through three
// stacked faces keeps the first two in gathered order.
TEST_F(LegacyContactsTest, GatheredFacesAreDistinctAndTwoContactsAreKept) {
  Build({Patch("a", 30, 0, 4, 3), Patch("b", 30, 0, 6, 3), Patch("c", 30, 0, 8, 3)}, 4);
  const contactpoint& p = Cross({1, 0.5f, 8.5f}, {1, 0.5f, -1});
  std::set<int32_t> ids;
  std::vector<float> crossed;
  for (kxcollface** f = world_->nearFaces; *f; ++f) {
    EXPECT_TRUE(ids.insert((*f)->id).second) << (*f)->id;
    const float x[3] = {1, 0.5f, (*f)->d};
    if (kxcollbuild::InsideEdges(*f, x)) crossed.push_back((*f)->d);
  }
  ASSERT_EQ(p.contactCount, 2);
  ASSERT_EQ(crossed.size(), 3u);
  EXPECT_FLOAT_EQ(p.depth[0], 8.5f - crossed[0]);
  EXPECT_FLOAT_EQ(p.depth[1], 8.5f - crossed[1]);
}

// A moving object's faces come from the near-object hook in their own
// frame.
TEST_F(LegacyContactsTest, MovingFacesAreCrossedInTheirFrame) {
  BuildWorld();
  static kxcollface face;
  static kxcolledge edges[3];
  static const float frame[16] = {0, 1, 0, 0, -1, 0, 0, 0, 0, 0, 1, 0, 40, 0, 5, 1};  // turned 90 degrees, 5 m up
  const float a[3] = {-1, -1, 0}, b[3] = {1, -1, 0}, c[3] = {0, 1, 0};
  ASSERT_EQ(kxcollbuild::MakeFace(a, b, c, &face, edges), 1);
  face.frame = frame;
  face.surface = 5;
  world_->nearObjectPass = [](kxcollision* w) { kxcollision::AppendNear(w, &face); };
  const contactpoint& p = Cross({40.2f, 0.1f, 6}, {40.2f, 0.1f, 4});
  ASSERT_EQ(p.contactCount, 1);
  EXPECT_EQ(p.surface[0], 5);
  EXPECT_NEAR(p.depth[0], 1.0f, 1e-5f);
  EXPECT_EQ(Cross({41.5f, 0, 6}, {41.5f, 0, 4}).contactCount, 0);
}

TEST_F(LegacyContactsTest, TheTableHoldsSixtyFourPointsAndOneBump) {
  for (int i = 0; i < kContactPoints; ++i) EXPECT_EQ(interaction::AddSegment(&table, 0, 0, 0, 0, 0, 0), i);
  EXPECT_EQ(interaction::AddSegment(&table, 0, 0, 0, 0, 0, 0), -1);
  EXPECT_EQ(Log(), "dnsmodel:  all 64 contact points are claimed; a part goes without ground contact\n");
  EXPECT_EQ(table.usedContacts, &table.contacts[63]);
  int ones = 0;
  for (auto& row : table.bumpGrid) {
    for (float g : row) ones += g == 1.0f ? 1 : g == 0.0f ? 0 : 100;
  }
  EXPECT_EQ(ones, 4);
  EXPECT_EQ(table.bumpGrid[4][5], 1.0f);
}

TEST_F(LegacyContactsTest, GroundBelowStaysWhereThereIsNone) {
  BuildWorld();
  dnsstate record{};
  dynamicsystem body{};
  record.model = &body;
  record.groundLevel = 7.0f;
  Store(body.position, {1000, 0, 5});
  EXPECT_EQ(FindGroundBelow(&record, world_.get()), 0);
  EXPECT_EQ(record.groundLevel, 7.0f);
  Store(body.position, {10, 10, 5});
  EXPECT_EQ(FindGroundBelow(&record, world_.get()), 1);
  EXPECT_EQ(record.groundLevel, 0.0f);
  EXPECT_EQ(record.terrainNormal[2], 1.0f);
}

// The wind scales with height and follows the ground's slope near it; the
// thermal columns lift with 3 m/s from 20 m above the ground.
TEST_F(LegacyContactsTest, WindGrowsWithHeightAndThermalsLift) {
  struct air {
    float direction, speed;
    v3 position, groundNormal;
    v3 term;
  };
  for (air a : {air{0, 1, {0, 0, 0}, {0, 0, 1}, {0, 1, 0}}, air{0, 1, {0, 0, 250}, {0, 0, 1}, {0, 2, 0}},
                air{0, 0, {-500, 25, 100}, {0, 0, 1}, {0, 0, -3}}, air{1.5707964f, 1, {0, 0, 0}, {0, 0.6f, 0.8f}, {1, 0, 0}},
                air{0, 1, {0, 0, 0}, {0, 0.6f, 0.8f}, {0, 0.64f, -0.48f}}}) {
    wind w{};
    dynamicsystem body{};
    Store(body.position, a.position);
    body.groundHeight = a.position.z;
    Store(body.groundNormal, a.groundNormal);
    wind::Set(&w, a.direction, a.speed);
    v3 term = wind::Evaluate(&w, &body);
    EXPECT_NEAR(Length(term - a.term), 0.0f, 1e-5f) << a.position.x << " " << a.position.z;
  }
}

}  // namespace
