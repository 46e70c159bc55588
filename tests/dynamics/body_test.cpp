// The rigid body: its geometry key and its motion under the driver.
#include <cmath>
#include <limits>

#include "core/output.h"
#include "dynamics/driver.h"
#include "dynamics/instance.h"
#include "dynamics_support.h"

namespace {

using kxdtest::dynamicstest;

TEST_F(dynamicstest, GeometryRefusesANodeThatIsNoGeometricObject) {
  kxdbody* body = AddToState<kxdbody>("Part");
  kxnode* plain = new kxnode;
  plain->name = "Plain";
  kxdynamics::Tree(kxdynamics::kxdtree::kState)->AppendChild(plain);
  kxscript::Execute("Geometry( \"../Plain/\" )", body);
  EXPECT_EQ(body->Geometry, nullptr);
}

class fallingbody : public dynamicstest {
 protected:
  // Runs frames until exactly n substeps have run.
  static int RunSubsteps(int n) {
    int run = 0;
    while (n - run >= kxdynamics::kMaxSubsteps) run += kxdynamics::Step(0.036f, nullptr);
    if (n > run) run += kxdynamics::Step((n - run) * kxdynamics::kSubstep, nullptr);
    return run;
  }
};

TEST_F(fallingbody, FreeBodyFallsAsGravityPredicts) {
  kxdbody* body = AddToState<kxdbody>("Ball");
  body->B.R.z = 100.0f;
  MakeTwinsAndPrepare();
  ASSERT_EQ(RunSubsteps(3333), 3333);
  EXPECT_NEAR(body->D.R.z, -9.81f, 0.01f);
  EXPECT_NEAR(100.0f - body->B.R.z, 4.905f, 0.01f);
  EXPECT_NEAR(body->B.R.x, 0.0f, 1e-6f);
  EXPECT_FLOAT_EQ(body->B.X.x, 1.0f);
}

TEST_F(fallingbody, SpinningBodyKeepsOrthonormalAxes) {
  kxdbody* body = AddToState<kxdbody>("Top");
  body->B.R.z = 50.0f;
  MakeTwinsAndPrepare();
  body->L = {0.05f, 0.02f, 0.1f, 0.0f};
  body->DeriveMotion();
  RunSubsteps(3000);
  EXPECT_NEAR(kxvector4r::Length(body->B.X), 1.0f, 1e-5f);
  EXPECT_NEAR(kxvector4r::Dot3(body->B.X, body->B.Y), 0.0f, 1e-5f);
  kxvector4r z;
  kxvector4r::Cross(z, body->B.X, body->B.Y);
  EXPECT_NEAR(kxvector4r::Dot3(z, body->B.Z), 1.0f, 1e-5f);
}

TEST_F(fallingbody, FreeBodyWithoutMassIsHeldWithOneLogLine) {
  kxdbody* body = AddToState<kxdbody>("Ghost");
  body->Mass = 0.0f;
  body->B.R.z = 10.0f;
  MakeTwinsAndPrepare();
  RunSubsteps(100);
  EXPECT_EQ(body->Held, 1);
  EXPECT_FLOAT_EQ(body->B.R.z, 10.0f);
  EXPECT_TRUE(log.Contains("kxdynamics:  body Ghost has mass 0")) << kxtest::logcapture::Text();
}

TEST_F(fallingbody, BodyWhoseStateTurnsNonFiniteIsHeldAndMarksACrash) {
  kxdbody* body = AddToState<kxdbody>("Broken");
  body->B.R.z = 5.0f;
  kxdaircraftinstance* instance = kxdaircraftinstance::Slot(0);
  body->Instance = instance;
  MakeTwinsAndPrepare();
  body->L.x = std::numeric_limits<float>::infinity();
  RunSubsteps(10);
  EXPECT_EQ(body->Held, 1);
  EXPECT_EQ(instance->Crash, 1);
  EXPECT_TRUE(std::isfinite(body->B.R.z));
  EXPECT_TRUE(std::isfinite(body->Omega.x));
  EXPECT_TRUE(log.Contains("kxdynamics:  body Broken left the finite range; held\n"));
  instance->Crash = 0;
}

TEST_F(fallingbody, EveryKindOfNonFiniteMomentumIsCaught) {
  const float inf = std::numeric_limits<float>::infinity();
  const float nan = std::numeric_limits<float>::quiet_NaN();
  struct poison {
    int vector;  // 0: P, 1: L
    int element;
    float value;
  };
  const poison cases[] = {{0, 0, inf}, {0, 1, -inf}, {0, 2, nan}, {1, 0, nan}, {1, 1, inf}, {1, 2, -inf}};
  for (const poison& c : cases) {
    kxdtest::ClearSimulation();
    kxdbody* body = AddToState<kxdbody>("Broken");
    body->B.R.z = 5.0f;
    MakeTwinsAndPrepare();
    (&(c.vector == 0 ? body->P : body->L).x)[c.element] = c.value;
    RunSubsteps(1);
    EXPECT_EQ(body->Held, 1) << c.vector << " " << c.element;
    EXPECT_EQ(body->B.R.z, 5.0f) << c.vector << " " << c.element;
  }
}

TEST_F(fallingbody, BodyRestsOnFlatGroundWithinTheSpringsSag) {
  kxdflatground ground(0.0f);
  kxdbody* body = AddToState<kxdbody>("Brick");
  body->B.R.z = 2.0f;
  MakeTwinsAndPrepare();
  for (int frame = 0; frame < 300; ++frame) kxdynamics::Step(1.0f / 60.0f, &ground);
  float speed = kxvector4r::Length(body->D.R);
  EXPECT_LT(speed, 0.01f);
  // Static sag m g / Kn = 2 mm.
  EXPECT_NEAR(body->B.R.z, -kGravity / 5000.0f, 0.002f);
}

// High in the air the contact points are not asked one by one: the query is
// passed over only while the clear sphere holds every point's reach, so the
// body still touches the ground as it comes down into reach. The spheres
// below claim more than is true where a skipped query must show.
TEST_F(dynamicstest, OwnContactIsSkippedOnlyWhileTheClearSphereHoldsThePointsReach) {
  kxdflatground ground(0.0f);
  kxdynamics::SetCurrentWorld(&ground);
  kxdaircraftinstance* instance = kxdaircraftinstance::Slot(0);
  kxdbody* body = AddToState<kxdbody>("Brick");
  body->Contact = 1;
  body->Instance = instance;
  for (int k = 0; k < kxdbody::kMaxContactPoints; ++k) {
    body->ContactPoints[k] = {(k & 1) ? 1.0f : -1.0f, (k & 2) ? 1.0f : -1.0f, (k & 4) ? 1.0f : -1.0f, 1.0f};
  }
  body->ContactCount = kxdbody::kMaxContactPoints;
  auto Push = [&](float height, float centre, float radius) {
    instance->ClearCentre = {0.0f, 0.0f, centre, 1.0f};
    instance->ClearRadius = radius;
    body->B.R = {0.0f, 0.0f, height, 1.0f};
    body->Force = body->Torque = {};
    body->AddOwnContact();
    return body->Force.z;
  };
  // Never prepared, the reach is unknown: the world is always asked.
  EXPECT_GT(Push(0.5f, 0.5f, 10.0f), 0.0f);
  body->Prepare();
  EXPECT_FLOAT_EQ(body->ContactReach, std::sqrt(3.0f));
  // The lower corners 0.5 m below the ground, R deep inside the sphere.
  EXPECT_EQ(Push(0.5f, 0.5f, 10.0f), 0.0f);  // skipped
  // R 6.5 m from the centre: inside the sphere less 0.15 m, not inside it
  // less the corners' reach (and the query's).
  EXPECT_GT(Push(0.5f, 7.0f, 10.0f), 0.0f);
  // A true sphere: empty down to 0.1 m above the ground. Coming down, the
  // query is skipped high up, asked nearer, and the corners touch.
  EXPECT_EQ(Push(6.0f, 20.0f, 19.9f), 0.0f);
  EXPECT_EQ(Push(1.5f, 20.0f, 19.9f), 0.0f);
  EXPECT_GT(Push(0.9f, 20.0f, 19.9f), 0.0f);
  // Points moved out are measured again by Prepare.
  for (kxvector4r& p : body->ContactPoints) p = {3.0f * p.x, 3.0f * p.y, 3.0f * p.z, 1.0f};
  body->Prepare();
  EXPECT_FLOAT_EQ(body->ContactReach, std::sqrt(27.0f));
  EXPECT_GT(Push(2.5f, 2.5f, 10.0f), 0.0f);
  instance->ClearRadius = 0.0f;
}

}  // namespace
