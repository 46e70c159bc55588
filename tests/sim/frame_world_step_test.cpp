// The frame update's step of the world: how many trees the collision world
// and the scene take part, and whether an aircraft is under the terrain.
#include <fstream>

#include "sim/views/transparent_list.h"
#include "tests/graphics/geometry_support.h"
#include "standin_support.h"

namespace {

using sim::session;
using ::simtest::kGround;

class FrameWorldStep : public simtest::standintest {
 protected:
  void Put(float x, float y, float z) { state_.frame.R = {x, y, z, 1}; }
};

// The share of the scenery's trees, truncated: 10 x 0.55 is 5, not 6.
TEST_F(FrameWorldStep, TheTreesInUseAreTheDensitysShareOfTheSceneryTreesAndNoneWithTreesOff) {
  world& w = *sim::TheWorld();
  w.billboard_count = 10;
  struct {
    int show;
    float density;
    int collide, trees;
  } rows[] = {{1, 0.55f, 1, 5}, {1, 1.0f, 0, 10}, {0, 1.0f, 1, 0}, {1, 0.0f, 1, 0}};
  for (const auto& row : rows) {
    SCOPED_TRACE(testing::Message() << "show " << row.show << ", density " << row.density);
    session.settings.show_trees = row.show;
    session.settings.tree_density = row.density;
    session.settings.tree_collision = row.collide;
    Step(0.02f);
    EXPECT_EQ(w.collision.treeCount, row.trees);
    EXPECT_EQ(w.collision.treeCollision, row.collide);
    EXPECT_EQ(sim::TreeCount(w, row.show, row.density), row.trees);  // what the scene draws
  }
}

// A roof 12 m up over the middle of the flat field: under it the aircraft is
// below the terrain, beside it or on top of it not.
TEST_F(FrameWorldStep, AnAircraftUnderAnOverhangIsBelowTheTerrain) {
  kxgeometry* roof = kxgeomtest::Plate(10, kGround + 12, "roof");
  ASSERT_TRUE(kxgeometry::WriteBinary("scenery/roof.tgo", roof));
  kxgeometry::Free(&roof);
  std::ofstream("scenery/overhang.geo") << "SCENERY 6000\nGROUND flat.obj\nOBJECT roof.tgo\n";
  sim::LoadScenery("overhang", sim::TheWorld());
  struct {
    float x, z;
    int below;
  } rows[] = {{0, kGround + 5, 1}, {0, kGround + 15, 0}, {50, kGround + 5, 0}, {50, kGround - 1, 1}};
  for (const auto& row : rows) {
    Put(row.x, 0, row.z);
    state_.below_terrain = 1 - row.below;
    Step(0.02f);
    EXPECT_EQ(state_.below_terrain, row.below) << row.x << ", " << row.z;
  }
}

}  // namespace
