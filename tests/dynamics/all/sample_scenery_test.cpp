// The samples on a generated scenery: an airplane on its wheels, the glider
// on its body and a helicopter on its skids move exactly alike whether their
// contacts come from the faces gathered near them each frame or from the
// collision world's own walk.
#include <GL/gl.h>

#include <cstring>

#include "dynamics/scenery_world.h"
#include "graphics/collision_world.h"
#include "graphics/mesh.h"
#include "graphics/scenery_records.h"
#include "platform/random.h"
#include "samples_support.h"
#include "tools/meshgen/meshgen.h"

namespace {

using namespace kxdtest;

constexpr float kDrop = 0.5f;     // m, main body above the ground at placement
constexpr float kRun = 1.0f;      // s
constexpr int kSeed = 11;

// Answers every contact from the world's walk: it gathers nothing near the
// aircraft.
class walkonly : public kxdsceneryworld {
 public:
  using kxdsceneryworld::kxdsceneryworld;
  void FrameQuery(const kxvector4r& centre, float radius, kxcollnear*) override {
    kxdsceneryworld::FrameQuery(centre, radius, nullptr);
  }
};

class samplescenery : public samples {
 protected:
  samplescenery() : samples(0.0f) {}
  void SetUp() override {
    samples::SetUp();
    CopySamples({"christeneagle", "glider", "heli", "airfoil"});
    mesh = meshgen::ToElement(meshgen::Ground(400.0f, 16, 3.0f), "field_gras", "", GL_N3F_V3F);
    entry.mesh = mesh;
    const float minCell[3] = {50.0f, 50.0f, 50.0f};
    const float sun[3] = {0.0f, 0.0f, 1.0f};
    ASSERT_EQ(kxcollision::Build(&world, &entry, nullptr, minCell, 200, sun), 1);
  }
  void TearDown() override {
    samples::TearDown();
    kxcollision::FreeOctree(&world);
    kxgeometry::Free(&mesh);
  }
  // Drops the sample rolling onto the ground at (20, -30) and returns its
  // main body's frame and its derivative after kRun seconds.
  kxmatrix Run(const char* name, kxdsceneryworld* stepWorld, kxmatrix* rate) {
    EXPECT_EQ(kxdaircraftinstance::AircraftLoad(name, 0), 1) << kxtest::logcapture::Text();
    kxdaircraftinstance* instance = kxdaircraftinstance::Loaded(0);
    kxsystem::SeedRandom(kSeed);
    kxdynamics::Start(stepWorld);
    const kxvector4r p = {20.0f, -30.0f, 0.0f, 1.0f};
    PlaceLevel(instance, {p.x, p.y, stepWorld->GroundHeight(p) + kDrop, 1.0f}, {3.0f, 1.0f, 0.0f, 0.0f});
    for (int k = 0; k < static_cast<int>(kRun / kFrame); ++k) kxdynamics::Step(kFrame, stepWorld);
    *rate = instance->SimMainBody->D;
    kxmatrix frame = instance->SimMainBody->B;
    kxdynamics::Stop();
    return frame;
  }

  kxgeometry* mesh = nullptr;
  kxgeometryobject entry{};
  kxcollision world{};
};

TEST_F(samplescenery, NearFacesAndTheWorldWalkGiveTheSameMotion) {
  for (const char* name : {"christeneagle", "glider", "heli"}) {
    SCOPED_TRACE(name);
    kxdsceneryworld gathered(&world);
    walkonly walked(&world);
    kxmatrix rateNear, rateWalk;
    kxmatrix near = Run(name, &gathered, &rateNear);
    kxmatrix walk = Run(name, &walked, &rateWalk);
    EXPECT_EQ(std::memcmp(near.Data(), walk.Data(), sizeof near), 0);
    EXPECT_EQ(std::memcmp(rateNear.Data(), rateWalk.Data(), sizeof rateNear), 0);
    // It came to rest on the ground, not below it.
    EXPECT_LT(near.R.z - gathered.GroundHeight(near.R), kDrop);
    EXPECT_GT(near.R.z - gathered.GroundHeight(near.R), 0.0f);
  }
}

}  // namespace
