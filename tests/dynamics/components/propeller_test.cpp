// The propeller: coefficient tables, thrust, torque, drag and wash on its
// engine, blade strikes, the blade measurement from a generated mesh and
// the file text.
#include "dynamics/components/propeller.h"

#include <GL/gl.h>

#include <cmath>

#include "core/output.h"
#include "dynamics/components/engine00.h"
#include "components_support.h"
#include "tools/meshgen/meshgen.h"

namespace {

using kxctest::componenttest;

constexpr float kPi = 3.1415927f;

class propellertest : public componenttest {
 protected:
  // A free engine at 100 m with a propeller on its shaft at (0.2, 0, 0).
  void Make(const char* setup = "") {
    engine = AddToState<kxdengine00>("Engine");
    engine->B.R = {0.0f, 0.0f, 100.0f, 1.0f};
    prop = AddToState<kxdpropeller00>("Propeller");
    kxscript::Execute(setup, prop);
    prop->Engine = engine;
    prop->B.R = {0.2f, 0.0f, 100.0f, 1.0f};
    prop->BuildTables();
    MakeTwinsAndPrepare();
  }
  kxdengine00* engine = nullptr;
  kxdpropeller00* prop = nullptr;
};

TEST_F(propellertest, TablesStartAtPointOneAndScaleToPeakEfficiency) {
  kxdpropeller00 p;
  kxscript::Execute("Radius = 0.15; Pitch = 0.2", &p);
  p.BuildTables();
  EXPECT_NEAR(p.CT[0], 0.1f, 1e-6f);
  EXPECT_NEAR(p.CP[0], 0.08f * 0.2f / 0.3f, 1e-6f);
  float best = 0.0f;
  float a = 1.3f * 0.2f / 0.3f;
  for (int i = 1; i < kxdpropeller00::kTable && 0.1f * i < a; ++i) {
    best = std::fmax(best, p.CT[i] * 0.1f * i / p.CP[i]);
  }
  EXPECT_NEAR(best, 0.85f, 1e-4f);
  // A flat pitch leaves the power unscaled and the tables finite.
  kxscript::Execute("Pitch = 0.01", &p);
  p.BuildTables();
  EXPECT_NEAR(p.CP[0], 0.08f * 0.01f / 0.3f, 1e-7f);
  for (int i = 0; i < kxdpropeller00::kTable; ++i) {
    EXPECT_TRUE(std::isfinite(p.CT[i]) && std::isfinite(p.CP[i])) << i;
  }
}

TEST_F(propellertest, AdvanceRatioIsClampedToZeroAndNine) {
  kxdpropeller00 p;
  float ct, cp, ct9, cp9;
  p.Coefficients(-3.0f, &ct, &cp);
  EXPECT_FLOAT_EQ(ct, p.CT[0]);
  p.Coefficients(50.0f, &ct, &cp);
  p.Coefficients(9.0f, &ct9, &cp9);
  EXPECT_FLOAT_EQ(ct, ct9);
  EXPECT_FLOAT_EQ(ct9, p.CT[90]);
  p.Coefficients(0.25f, &ct, &cp);
  EXPECT_NEAR(ct, 0.5f * (p.CT[2] + p.CT[3]), 1e-6f);
}

TEST_F(propellertest, StaticThrustAndTorqueFollowTheCoefficients) {
  Make("Radius = 0.15; Pitch = 0.2");
  kxdaircraftinstance* instance = kxdaircraftinstance::Slot(0);
  prop->Instance = instance;
  engine->W = 2.0f * kPi * 100.0f;  // n = 100 1/s
  engine->Force = {};
  prop->ComputeChange(nullptr, 0);
  float d4 = 0.3f * 0.3f * 0.3f * 0.3f;
  float thrust = 0.1f * 1.225f * 1e4f * d4;
  EXPECT_NEAR(engine->Force.x, thrust, 1e-3f);
  float torque = (0.08f * 0.2f / 0.3f) * 1.225f * 1e4f * 0.5f / kPi * d4 * 0.3f;
  EXPECT_NEAR(engine->Load, -torque, 1e-4f);
  float wash = std::sqrt(0.5f * thrust / 1.225f / 0.0225f / 3.1415f);
  EXPECT_NEAR(prop->Wash, wash, 1e-3f);
  prop->Integrate(nullptr, 0, 0.0003f);
  EXPECT_NEAR(prop->RPMValue, engine->W * 9.58f, 1e-2f);
  // The slipstream blows back along the shaft.
  EXPECT_NEAR(instance->Slipstream.x, -wash, 1e-3f);
  EXPECT_NEAR(instance->RPMValue, prop->RPMValue, 1e-3f);
  EXPECT_NEAR(kxdpropeller00::GlobalSlipstreamSpeed, wash, 1e-3f);
}

TEST_F(propellertest, SideSlipGivesInPlaneDragAgainstTheMotion) {
  Make();
  engine->W = 2.0f * kPi * 100.0f;
  engine->D.R = {0.0f, 5.0f, 0.0f, 0.0f};
  engine->Force = {};
  prop->ComputeChange(nullptr, 0);
  float thrust = engine->Force.x;
  EXPECT_GT(thrust, 0.0f);
  EXPECT_NEAR(engine->Force.y, -0.025f * thrust * 5.0f, 1e-3f);
}

// Without a radius, standing or broken a propeller gives no force and no wash.
TEST_F(propellertest, NoForceOrWashWithoutRadiusSpeedOrBlades) {
  Make("Radius = 0");
  for (int i = 0; i < kxdpropeller00::kTable; ++i) {
    EXPECT_TRUE(std::isfinite(prop->CT[i]) && std::isfinite(prop->CP[i])) << i;
  }
  engine->W = 600.0f;
  prop->ComputeChange(nullptr, 0);
  EXPECT_FLOAT_EQ(engine->Force.x, 0.0f);
  EXPECT_FLOAT_EQ(engine->Load, 0.0f);
  EXPECT_FLOAT_EQ(prop->Wash, 0.0f);
  kxscript::Execute("Radius = 0.15", prop);
  prop->BuildTables();
  engine->W = 0.0f;
  prop->Wash = 3.0f;
  prop->ComputeChange(nullptr, 0);
  EXPECT_FLOAT_EQ(prop->Wash, 0.0f);
  engine->W = 600.0f;
  prop->Broken = 1;
  engine->Force = {};
  prop->ComputeChange(nullptr, 0);
  EXPECT_FLOAT_EQ(prop->Wash, 0.0f);
  EXPECT_FLOAT_EQ(engine->Force.x, 0.0f);
}

TEST_F(propellertest, FrameTurnsWithThePhaseAboutTheEngineAxis) {
  Make();
  EXPECT_NEAR(prop->Placement.x, 0.2f, 1e-6f);
  EXPECT_FLOAT_EQ(prop->Placement.w, 1.0f);
  prop->Phase = 0.5f * kPi;
  prop->Place();
  EXPECT_NEAR(prop->B.Z.x, 1.0f, 1e-6f);
  EXPECT_NEAR(prop->B.X.z, 1.0f, 1e-6f);   // X := Ye c + Ze s
  EXPECT_NEAR(prop->B.Y.y, -1.0f, 1e-6f);  // Y := Ze c - Ye s
  EXPECT_NEAR(prop->B.R.x, 0.2f, 1e-6f);
  EXPECT_NEAR(prop->B.R.z, 100.0f, 1e-4f);
}

// A two-blade propeller generated with a twist that gives 0.2 m of pitch at
// 75 % of its 0.15 m radius, spinning about the aircraft's x axis at x = 0.3.
kxgeometricobject* TwistedPropeller(int blades = 2) {
  kxgeometricobject* root = new kxgeometricobject;
  root->name = "Prop";
  // Linear twist through the 75 % station: 15.8 degrees at r = 0.1125 m.
  float at75 = std::atan(0.2f / (2.0f * kPi * 0.1125f)) * 180.0f / kPi;
  float fraction = (0.1125f - 0.02f) / (0.15f - 0.02f);
  float root_deg = 30.0f;
  float tip_deg = root_deg + (at75 - root_deg) / fraction;
  for (int i = 0; i < blades; ++i) {
    meshgen::mesh m = meshgen::Blade(0.02f, 0.15f, 0.03f, 0.02f, root_deg, tip_deg, 16);
    meshgen::RotateZ(m, 360.0f * i / blades);
    meshgen::RotateY(m, 90.0f);
    meshgen::Translate(m, 0.3f, 0.0f, 0.05f);
    kxgeometricobject* blade = new kxgeometricobject;
    blade->name.Format("Blade%d", i + 1);
    blade->SetMesh(meshgen::ToElement(m, "paint", blade->name.Text(), GL_N3F_V3F));
    root->AppendChild(blade);
  }
  return root;
}

TEST_F(propellertest, TwistedTwoBladeMeshGivesItsRadiusAndPitch) {
  kxgeometricobject* g = TwistedPropeller();
  kxdpropeller00 p;
  p.Geometry = g;
  p.Analyse();
  EXPECT_EQ(p.Blades, 2);
  EXPECT_NEAR(p.B.R.x, 0.3f, 0.01f);
  EXPECT_NEAR(p.B.R.z, 0.05f, 1e-3f);
  EXPECT_NEAR(p.Radius, 0.15f, 0.004f);
  EXPECT_NEAR(p.HubRadius, 0.02f, 0.005f);
  EXPECT_NEAR(p.Pitch, 0.2f, 0.004f);
  EXPECT_FLOAT_EQ(p.B.Z.x, 1.0f);
  EXPECT_NEAR(p.RangeRadiusMax, 2.0f * p.Radius, 1e-6f);
  // A second analysis starts from the rest shape and measures the same.
  float radius = p.Radius, pitch = p.Pitch;
  kxmatrix blade = static_cast<kxgeometricobject*>(g->firstChild)->Matrix;
  p.Analyse();
  EXPECT_FLOAT_EQ(p.Radius, radius);
  EXPECT_FLOAT_EQ(p.Pitch, pitch);
  const kxmatrix& again = static_cast<kxgeometricobject*>(g->firstChild)->Matrix;
  for (int i = 0; i < 16; ++i) EXPECT_FLOAT_EQ(again[i], blade[i]) << i;
  // The blades sit in the propeller's frame: placed, they are where they were.
  kxvector4r centroid;
  g->SurfaceCentroid(&centroid, g->Matrix);
  EXPECT_NEAR(centroid.x, 0.3f, 0.01f);
  p.Geometry = nullptr;
  delete g;
}

TEST_F(propellertest, MoreThanEightBladesKeepTheKeysWithALogLine) {
  kxgeometricobject* g = TwistedPropeller(9);
  kxdpropeller00 p;
  p.name = "Propeller";
  p.Geometry = g;
  p.Analyse();
  EXPECT_FLOAT_EQ(p.Radius, 0.15f);
  EXPECT_FLOAT_EQ(p.Pitch, 0.2f);
  EXPECT_TRUE(log.Contains("kxdpropeller00:  Propeller has 9 blades; only up to 8 are measured, keys kept\n"))
      << kxtest::logcapture::Text();
  p.Geometry = nullptr;
  delete g;
}

TEST_F(propellertest, BladeTouchingTheGroundBreaksThePropeller) {
  Make();
  kxgeometricobject* g = TwistedPropeller();
  prop->Geometry = g;
  prop->Analyse();
  // Move the hub 10 cm above a ground at 100 m: the 15 cm blades reach it.
  prop->Placement = {0.3f, 0.0f, 0.1f, 1.0f};
  engine->B.R = {0.0f, 0.0f, 100.0f, 1.0f};
  kxdflatground ground(100.0f, kSurfaceWater);
  kxdynamics::SetCurrentWorld(&ground);
  kxdaircraftinstance* instance = kxdaircraftinstance::Slot(0);
  prop->Instance = instance;
  engine->W = 300.0f;
  prop->Phase = 0.0f;  // blade 1 points along y: level, clear of the ground
  prop->ComputeChange(nullptr, 0);
  EXPECT_EQ(prop->Broken, 0);
  EXPECT_EQ(instance->Crash, 0);
  prop->Phase = 0.5f * kPi;  // now the blades stand up and down
  prop->ComputeChange(nullptr, 0);
  EXPECT_EQ(prop->Broken, 1);
  EXPECT_EQ(engine->Strike, 1);
  EXPECT_EQ(instance->Crash, 1);
  EXPECT_EQ(instance->SurfaceCode, kSurfaceWater);
  prop->UpdateVisual();
  EXPECT_FLOAT_EQ(static_cast<kxgeometricobject*>(g->firstChild)->Matrix.X.x, 0.001f);
  EXPECT_FLOAT_EQ(prop->RPMValue, 0.0f);
  kxdynamics::SetCurrentWorld(nullptr);
  prop->Geometry = nullptr;
  delete g;
}

// High above everything the blades are not placed or asked one by one; the
// thrust is the same as when they are, and a clear sphere that holds the
// hub but not the blades' reach still lets a blade strike.
TEST_F(propellertest, ClearSphereSkipsTheBladesOnlyWhenItHoldsTheirReach) {
  Make();
  kxgeometricobject* g = TwistedPropeller();
  prop->Geometry = g;
  prop->Analyse();
  prop->UpdateVisual();  // measures the blades' reach as they now stand
  kxdflatground ground(100.0f, kSurfaceWater);
  kxdynamics::SetCurrentWorld(&ground);
  kxdaircraftinstance* instance = kxdaircraftinstance::Slot(0);
  prop->Instance = instance;
  engine->W = 300.0f;
  prop->Phase = 0.5f * kPi;  // the blades stand up and down
  // The engine 1 m above the ground, the hub height above it; a sphere of
  // 5 m resting on the ground at the hub: nothing lies in it. The engine's
  // origin lies well inside it even when the blades reach the ground.
  engine->B.R = {0.0f, 0.0f, 101.0f, 1.0f};
  auto Run = [&](float height, float clearRadius) {
    prop->Placement = {0.3f, 0.0f, height - 1.0f, 1.0f};
    instance->ClearCentre = {0.3f, 0.0f, 105.0f, 1.0f};
    instance->ClearRadius = clearRadius;
    instance->Crash = 0;
    prop->Broken = engine->Strike = 0;
    engine->Force = {};
    engine->Load = 0.0f;
    prop->ComputeChange(nullptr, 0);
  };
  Run(2.0f, 0.0f);
  kxvector4r force = engine->Force;
  float load = engine->Load, wash = prop->Wash;
  EXPECT_EQ(prop->Broken, 0);
  Run(2.0f, 5.0f);
  EXPECT_EQ(prop->Broken, 0);
  EXPECT_EQ(engine->Force.x, force.x);
  EXPECT_EQ(engine->Force.y, force.y);
  EXPECT_EQ(engine->Force.z, force.z);
  EXPECT_EQ(engine->Load, load);
  EXPECT_EQ(prop->Wash, wash);
  EXPECT_FLOAT_EQ(prop->B.Z.x, 1.0f);
  EXPECT_NEAR(prop->B.R.z, 102.0f, 1e-4f);
  for (float clearRadius : {0.0f, 5.0f}) {
    Run(0.1f, clearRadius);
    EXPECT_EQ(prop->Broken, 1) << clearRadius;
    EXPECT_EQ(engine->Strike, 1) << clearRadius;
    EXPECT_EQ(instance->Crash, 1) << clearRadius;
  }
  instance->ClearRadius = 0.0f;
  instance->Crash = 0;
  kxdynamics::SetCurrentWorld(nullptr);
  prop->Geometry = nullptr;
  delete g;
}

}  // namespace
