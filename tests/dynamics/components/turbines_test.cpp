// The jet turbines: thrust over throttle and speed, the vectoring nozzles
// and reaction jets, nozzle travel, the turbine sound and the file texts.
#include "dynamics/components/turbines.h"

#include <GL/gl.h>

#include <cmath>

#include "core/output.h"
#include "graphics/geometric_object.h"
#include "components_support.h"
#include "tools/meshgen/meshgen.h"

namespace {

using kxctest::soundtest;

class turbinetest : public soundtest {
 protected:
  template <class T>
  T* Make(const char* setup = "") {
    T* t = AddToState<T>("Jet");
    kxscript::Execute(setup, t);
    t->ThrottleControl = &throttle;
    t->B.R.z = 100.0f;
    return t;
  }
  // The force and torque of one force pass, without gravity.
  template <class T>
  void Pass(T* t, kxvector4r* force, kxvector4r* torque) {
    t->Force = t->Torque = {};
    float mass = t->Mass;
    t->Mass = 0.0f;
    t->ComputeChange(kxdintegrable::As(kxdynamics::Tree(kxdynamics::kxdtree::kChange)->firstChild), 0);
    t->Mass = mass;
    // A free body keeps its totals until the driver hands them over.
    *force = t->Force;
    *torque = t->Torque;
  }
  float throttle = 1.0f;
  float roll = 0.0f, nozzle = -1.0f;
};

TEST_F(turbinetest, ThrustIsFullAtRestAndGoneAtFourHundredMetresPerSecond) {
  kxdturbine00 t;
  EXPECT_FLOAT_EQ(t.Thrust(1.0f, 0.0f), 100.0f);
  EXPECT_NEAR(t.Thrust(1.0f, 400.0f), 0.0f, 1e-4f);
  // At idle and speed it drags.
  EXPECT_LT(t.Thrust(0.02f, 100.0f), 0.0f);
}

TEST_F(turbinetest, IdleFloorsDifferBetweenTheTwoTurbines) {
  throttle = -1.0f;
  kxdturbine00* plain = Make<kxdturbine00>();
  EXPECT_FLOAT_EQ(plain->ThrottleAbove(0.02f), 0.02f);
  MakeTwinsAndPrepare();
  kxvector4r f, m;
  Pass(plain, &f, &m);
  EXPECT_NEAR(f.x, 2.0f, 1e-5f);  // 0.02 of 100 N along X
  plain->ThrottleControl = nullptr;
  Pass(plain, &f, &m);
  EXPECT_NEAR(f.x, 2.0f, 1e-5f);
}

TEST_F(turbinetest, VectoringTurbineWithNozzlesAftPushesAlongXWithoutJets) {
  kxdturbine10* t = Make<kxdturbine10>("ThrustMax = 50");
  t->RollControl = &roll;
  roll = 1.0f;
  MakeTwinsAndPrepare();
  kxvector4r f, m;
  Pass(t, &f, &m);
  EXPECT_NEAR(f.x, 50.0f, 1e-4f);
  EXPECT_NEAR(f.z, 0.0f, 1e-5f);
  // The nozzles sit symmetrically about the x-z plane: no roll or yaw torque.
  EXPECT_NEAR(m.x, 0.0f, 1e-4f);
  EXPECT_NEAR(m.z, 0.0f, 1e-4f);
}

TEST_F(turbinetest, SwivelledNozzlesLiftAndRollJetsRoll) {
  kxdturbine10* t = Make<kxdturbine10>("ThrustMax = 50; NozzleFrontAngle = 1.5707963; NozzleCenterAngle = 1.5707963");
  t->RollControl = &roll;
  MakeTwinsAndPrepare();
  t->NozzlePosition = 1.0f;
  kxvector4r f, m;
  Pass(t, &f, &m);
  EXPECT_NEAR(f.x, 0.0f, 1e-4f);
  EXPECT_NEAR(f.z, 50.0f, 1e-4f);
  roll = 1.0f;
  kxvector4r f2, m2;
  Pass(t, &f2, &m2);
  // The roll jets cancel in force and add 2 x 0.08 x 50 x 0.91 N m about X.
  EXPECT_NEAR(f2.z, 50.0f, 1e-4f);
  EXPECT_NEAR(m2.x - m.x, 2.0f * 0.08f * 50.0f * 0.91f, 1e-3f);
}

TEST_F(turbinetest, NozzleCommandMovesTheNozzlesInOneSecond) {
  kxdturbine10* t = Make<kxdturbine10>();
  t->NozzleControl = &nozzle;
  nozzle = 1.0f;
  MakeTwinsAndPrepare();
  Steps(1667);
  EXPECT_NEAR(t->NozzlePosition, 0.5f, 1e-3f);
  Steps(1700);
  EXPECT_FLOAT_EQ(t->NozzlePosition, 1.0f);
}

TEST_F(turbinetest, SoundPitchRunsFromTenToNineteenThousand) {
  kxdturbine00* t = Make<kxdturbine00>("SoundFile = \"jet\"");
  t->Analyse();
  MakeTwinsAndPrepare();
  ASSERT_NE(t->Sound.sample, nullptr);
  throttle = -1.0f;
  t->UpdateVisual();
  EXPECT_NEAR(Of(t->Sound.sample)->frequency, 10000.0f, 0.5f);
  EXPECT_NEAR(Of(t->Sound.sample)->volume, 0.9f, 1e-5f);
  EXPECT_NEAR(t->Speed, 30000.0f * 2.0f * 3.1415927f / 60.0f, 0.01f);
  throttle = 1.0f;
  t->UpdateVisual();
  EXPECT_NEAR(Of(t->Sound.sample)->frequency, 19000.0f, 1.0f);
  EXPECT_NEAR(Of(t->Sound.sample)->volume, 0.99f, 1e-4f);
  EXPECT_EQ(Queued(kxdsoundentry::kLoopStart), 1);
  EXPECT_EQ(Queued(kxdsoundentry::kUpdate), 1);
  // Equal sound keys leave the pitch at its base.
  t->SoundRPMMax = t->SoundRPMIdle;
  float frequency, volume;
  t->SoundAt(t->Speed, &frequency, &volume);
  EXPECT_FLOAT_EQ(frequency, 10000.0f);
}

TEST_F(turbinetest, NozzlesTurnAboutTheirPivotsAndMissingOnesAreSkipped) {
  kxdturbine10* t = Make<kxdturbine10>("NozzleFrontAngle = 1.5707963");
  kxgeometricobject* n = new kxgeometricobject;
  n->name = "Nozzle";
  meshgen::mesh box = meshgen::Box(0.1f, 0.05f, 0.05f);
  meshgen::Translate(box, 0.317f, 0.227f, 100.01f);
  n->SetMesh(meshgen::ToElement(box, "paint", "Nozzle", GL_N3F_V3F));
  t->Nozzle[0] = n;
  t->Analyse();
  // The mesh now lies about the pivot in the turbine frame.
  kxvector4r c;
  kxmatrix identity;
  kxmatrix::SetIdentity(&identity);
  n->SurfaceCentroid(&c, identity);
  EXPECT_NEAR(c.x, 0.0f, 1e-4f);
  EXPECT_NEAR(c.z, 0.0f, 1e-4f);
  t->NozzlePosition = 1.0f;
  t->PlaceNozzles();
  EXPECT_NEAR(n->Matrix.X.z, 1.0f, 1e-6f);
  EXPECT_NEAR(n->Matrix.R.x, 0.317f, 1e-6f);
  t->Nozzle[0] = nullptr;
  delete n;
}

}  // namespace
