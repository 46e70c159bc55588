// The simulation against a built collision world: an aircraft dropped onto a
// generated ground settles on it, and the ground height feeds the air model.
#include <GL/gl.h>

#include <memory>

#include "dynamics/aircraft.h"
#include "dynamics/driver.h"
#include "dynamics/instance.h"
#include "dynamics/scenery_world.h"
#include "dynamics_support.h"
#include "graphics/collision_near.h"
#include "graphics/collision_world.h"
#include "graphics/mesh.h"
#include "graphics/scenery_records.h"
#include "tools/meshgen/meshgen.h"

namespace {

using kxdtest::loading;

class scenery : public loading {
 protected:
  void SetUp() override {
    loading::SetUp();
    ground = meshgen::ToElement(meshgen::Ground(400.0f, 8, 0.0f), "grass", "", GL_N3F_V3F);
    entry.mesh = ground;
    const float minCell[3] = {100.0f, 100.0f, 100.0f};
    const float sun[3] = {0.0f, 0.0f, 1.0f};
    ASSERT_EQ(kxcollision::Build(world.get(), &entry, nullptr, minCell, 200, sun), 1);
  }
  void TearDown() override {
    kxcolldynamic::Free(world.get());
    kxcollision::FreeOctree(world.get());
    kxgeometry::Free(&ground);
    kxcollision::SetCurrent(nullptr);
    loading::TearDown();
  }
  std::unique_ptr<kxcollision> world{new kxcollision{}};
  kxgeometry* ground = nullptr;
  kxgeometryobject entry{};
};

TEST_F(scenery, AdapterReportsGroundHeightAndContactsOfPointsBelowIt) {
  kxdsceneryworld adapter(world.get());
  EXPECT_NEAR(adapter.GroundHeight({10.0f, 20.0f, 30.0f, 1.0f}), 0.0f, 1e-5f);
  kxvector4r points[2] = {{1.0f, 1.0f, -0.01f, 1.0f}, {2.0f, 1.0f, 0.5f, 1.0f}};
  kxdcontact contacts[4];
  int n = adapter.Contacts(points, 2, contacts, 4);
  ASSERT_GE(n, 1);
  EXPECT_NEAR(contacts[0].normal.z, 1.0f, 1e-5f);
  EXPECT_NEAR(contacts[0].depth, 0.01f, 1e-4f);
  EXPECT_EQ(contacts[0].moving, 0);
  kxvector4r above[1] = {{1.0f, 1.0f, 0.2f, 1.0f}};
  EXPECT_EQ(adapter.Contacts(above, 1, contacts, 4), 0);
}

TEST_F(scenery, SampleBodyDroppedOnGeneratedGroundComesToRest) {
  PutAircraft("ball",
              "//\n//\n//\n//\n// version: 1.8.0\n//\n// type:    0\n"
              "Append kxdfuselage00 Fuselage\ncd Fuselage/\nMass = 1\ncd ../\n"
              "Append kxdbody Pod\ncd Pod/\nR    = kxvector4r( -0.5, 0, 0, 1 )\nMass = 0.5\ncd ../\n");
  ASSERT_EQ(kxdaircraftinstance::AircraftLoad("ball", 0), 1);
  kxdaircraftinstance* instance = kxdaircraftinstance::Loaded(0);
  kxdsceneryworld adapter(world.get());
  kxdynamics::Start(&adapter);
  kxdtest::PlaceLevel(instance, {3.0f, 4.0f, 2.0f, 1.0f});
  for (int frame = 0; frame < 300; ++frame) kxdynamics::Step(1.0f / 60.0f, world.get());
  kxdbody* main = instance->SimMainBody;
  auto* pod = kxdbody::As(kxnode::Find("Pod", instance->Clone));
  EXPECT_LT(kxvector4r::Length(main->D.R), 0.01f);
  EXPECT_NEAR(std::min(main->B.R.z, pod->B.R.z), 0.0f, 0.01f);
  // The summary moved the fuselage 0.25 m forward to balance on its CG.
  EXPECT_NEAR(pod->B.R.x - main->B.R.x, -0.75f, 1e-3f);
  EXPECT_EQ(instance->Crash, 0);
  kxdynamics::Stop();
}

}  // namespace

// A sphere is empty only when this frame's gather around it found no face
// at all: high over the ground, not on it; a walk-only query says nothing.
TEST_F(scenery, GatheredSphereIsEmptyOnlyHighAboveTheGround) {
  kxdsceneryworld adapter(world.get());
  kxcollnear near;
  const kxvector4r high = {10.0f, 20.0f, 60.0f, 1.0f}, low = {10.0f, 20.0f, 5.0f, 1.0f};
  adapter.FrameQuery(high, 11.0f, &near);
  EXPECT_EQ(adapter.Empty(high, 11.0f, &near), 1);
  EXPECT_EQ(adapter.Empty(high, 12.0f, &near), 0);  // a larger sphere than gathered
  EXPECT_EQ(adapter.Empty(high, 11.0f, nullptr), 0);
  adapter.FrameQuery(low, 11.0f, &near);
  EXPECT_EQ(adapter.Empty(low, 11.0f, &near), 0);
  near.valid = 0;  // the frame is over
  adapter.FrameQuery(high, 11.0f, &near);
  near.valid = 0;
  EXPECT_EQ(adapter.Empty(high, 11.0f, &near), 0);
}

TEST(flatground, SphereIsEmptyWhollyAboveThePlane) {
  kxdflatground ground(2.0f);
  EXPECT_EQ(ground.Empty({0.0f, 0.0f, 13.5f, 1.0f}, 11.0f, nullptr), 1);
  EXPECT_EQ(ground.Empty({0.0f, 0.0f, 12.5f, 1.0f}, 11.0f, nullptr), 0);
}

// A query around p reaches its extent plus at least 0.1 m, or twice its
// extent, and the slack: only one that stays that far inside the empty
// sphere is passed over.
TEST(clearance, QueryIsPassedOverOnlyWellInsideTheEmptySphere) {
  kxdaircraftinstance instance;
  const kxvector4r p = {100.0f, 0.0f, 50.0f, 1.0f};
  EXPECT_FALSE(instance.ClearAround(p, 0.0f));  // no sphere known
  instance.ClearCentre = p;
  instance.ClearRadius = 10.0f;
  struct row {
    float offset;  // m from the centre along x
    float extent;  // m
    bool clear;
  };
  const row rows[] = {{0.0f, 0.0f, true},   {9.8f, 0.0f, true},  {9.86f, 0.0f, false}, {0.0f, 3.3f, true},
                      {0.0f, 3.35f, false}, {6.0f, 1.0f, true},  {7.0f, 1.0f, false},  {0.0f, -1.0f, false}};
  for (const row& r : rows) {
    EXPECT_EQ(instance.ClearAround({p.x + r.offset, p.y, p.z, 1.0f}, r.extent), r.clear)
        << r.offset << " " << r.extent;
  }
}
