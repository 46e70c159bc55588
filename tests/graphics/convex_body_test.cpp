#include "graphics/convex_body.h"

#include <cmath>

#include "geometry_support.h"
#include "graphics/collision_world.h"

namespace {

class ConvexBodyTest : public ::testing::Test {
 protected:
  void SetUp() override {
    cube = meshgen::ToElement(meshgen::Box(1, 1, 1), "blade", "", GL_N3F_V3F);
    kxmatrix::SetIdentity(&frameA);
    kxmatrix::SetIdentity(&frameB);
    ASSERT_EQ(1, kxcbody::Init(&a, cube, frameA.Data(), 0));
    ASSERT_EQ(1, kxcbody::Init(&b, cube, frameB.Data(), 0));
    ASSERT_EQ(1, kxcpair::Init(&pair, a, b));
  }
  void TearDown() override {
    kxcbody::Free(&a);
    kxcbody::Free(&b);
    kxgeometry::Free(&cube);
  }
  double Distance() {
    EXPECT_EQ(1, kxcollision::AircraftContacts(&pair));
    return pair.distance;
  }
  kxgeometry* cube = nullptr;
  kxmatrix frameA, frameB;
  kxcbody* a = nullptr;
  kxcbody* b = nullptr;
  kxcpair pair;
};

TEST_F(ConvexBodyTest, SeparatedCubesGiveTheGapAndOverlappingOnesANegativeDistance) {
  EXPECT_EQ(a->hullCount, 8);
  EXPECT_NEAR(a->radius, std::sqrt(0.75), 1e-9);
  frameB.R = {3, 0, 0, 1};
  EXPECT_NEAR(Distance(), 2.0, 1e-6);
  frameB.R = {0.5f, 0, 0, 1};
  EXPECT_NEAR(Distance(), -0.5, 1e-4);
  frameB.R = {0, 0, -2.25f, 1};  // the bodies follow their frames
  EXPECT_NEAR(Distance(), 1.25, 1e-6);
}

TEST_F(ConvexBodyTest, TurnedCubeGivesTheDistanceToItsEdge) {
  kxmatrix::SetRotation(&frameB, {0, 0, 1, 0}, 0.78539816f);
  frameB.R = {3, 0.2f, 0, 1};
  EXPECT_NEAR(Distance(), 3.0 - 0.5 - std::sqrt(0.5), 1e-5);
  frameB.R = {2, 2, 2, 1};  // diagonal: corner to edge
  double d = Distance();
  EXPECT_GT(d, 0.0);
  EXPECT_LT(d, 2.0 * std::sqrt(3.0));
}

TEST_F(ConvexBodyTest, DegenerateHullsOfOnePointOrASegmentStillGiveDistances) {
  kxgeometry thin{};
  double point[3] = {0, 0, 0};
  thin.hullCount = 1;
  thin.hull = point;
  kxcbody* dot = nullptr;
  ASSERT_EQ(1, kxcbody::Init(&dot, &thin, frameB.Data(), 0));
  ASSERT_EQ(1, kxcpair::Init(&pair, a, dot));
  frameB.R = {3, 0, 0, 1};
  EXPECT_NEAR(Distance(), 2.5, 1e-6);
  frameB.R = {0.25f, 0.1f, 0, 1};
  EXPECT_LT(Distance(), 0.0);
  double segment[6] = {0, -5, 0, 0, 5, 0};
  thin.hullCount = 2;
  thin.hull = segment;
  kxcbody* rod = nullptr;
  ASSERT_EQ(1, kxcbody::Init(&rod, &thin, frameB.Data(), 0));
  ASSERT_EQ(1, kxcpair::Init(&pair, a, rod));
  frameB.R = {2, 0, 3, 1};
  EXPECT_NEAR(Distance(), std::sqrt(1.5 * 1.5 + 2.5 * 2.5), 1e-5);
  kxcbody::Free(&dot);
  kxcbody::Free(&rod);
}

TEST_F(ConvexBodyTest, MissingBodiesAndHullsAreRefused) {
  kxcpair p;
  EXPECT_EQ(0, kxcpair::Init(&p, nullptr, b));
  EXPECT_EQ(0, kxcpair::Init(&p, a, nullptr));
  EXPECT_EQ(0, kxcollision::AircraftContacts(&p));
  kxgeometry* flat = kxgeometry::Create(GL_V3F, 0, 0);
  kxcbody* body = nullptr;
  EXPECT_EQ(0, kxcbody::Init(&body, flat, nullptr, 0));
  EXPECT_EQ(body, nullptr);
  EXPECT_EQ(0, kxcbody::Init(&body, nullptr, nullptr, 0));
  kxcbody::Free(&body);
  kxcbody::Free(nullptr);
  kxgeometry::Free(&flat);
}

TEST_F(ConvexBodyTest, NonFiniteFrameGivesNoDistance) {
  pair.distance = 5.0;
  frameB.R.x = NAN;
  EXPECT_EQ(0, kxcollision::AircraftContacts(&pair));
  EXPECT_EQ(pair.distance, 5.0);
}

}  // namespace
