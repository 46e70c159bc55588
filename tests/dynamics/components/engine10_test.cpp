// The electric motor: motor constants, key clamping, mass placement,
// throttle cut-off, braking, the constant-rpm mode, sound and file text.
#include "dynamics/components/engine10.h"

#include <cmath>

#include "core/output.h"
#include "components_support.h"

namespace {

using kxctest::soundtest;

class engine10test : public soundtest {
 protected:
  kxdengine10* Make(const char* setup = "") {
    kxdengine10* e = AddToState<kxdengine10>("Motor");
    kxscript::Execute(setup, e);
    e->ThrottleControl = &throttle;
    return e;
  }
  // dW/dt of one force pass.
  float Acceleration(kxdengine10* e) {
    kxdengine10* twin = kxdengine10::As(kxdynamics::Tree(kxdynamics::kxdtree::kChange)->firstChild);
    if (!twin) return NAN;
    e->ComputeChange(twin, 0);
    return twin->W;
  }
  float throttle = 1.0f;
};

TEST_F(engine10test, AnalyseClampsKeys) {
  kxdengine10* e = Make("CellNum = 8.7; GearEta = 2; MotorNs = 0; CellRi = -1; GearRatio = 20");
  e->Analyse();
  EXPECT_FLOAT_EQ(e->CellNum, 8.0f);
  EXPECT_FLOAT_EQ(e->GearEta, 1.0f);
  EXPECT_FLOAT_EQ(e->MotorNs, 1.0f);
  EXPECT_FLOAT_EQ(e->CellRi, 0.0f);
  EXPECT_FLOAT_EQ(e->GearRatio, 10.0f);
}

TEST_F(engine10test, MassesPlaceTheBodyAndGiveItsInertia) {
  kxdengine10* e = Make(
      "MotorMass = 0.2; GearMass = 0.1; MotorR = kxvector4r( 0.3, 0, 0, 1 );"
      "CellNum = 6; CellMass = 0.05; CellR = kxvector4r( 0, 0, -0.1, 1 )");
  e->B.X = {0.0f, 1.0f, 0.0f, 0.0f};
  e->Analyse();
  EXPECT_FLOAT_EQ(e->Mass, 0.6f);
  EXPECT_NEAR(e->B.R.x, 0.15f, 1e-6f);
  EXPECT_NEAR(e->B.R.z, -0.05f, 1e-6f);
  EXPECT_FLOAT_EQ(e->B.X.x, 1.0f);
  // m1 = m2 = 0.3 kg, each 0.15 m along x and 0.05 m along z from the centre.
  EXPECT_NEAR(e->Inertia[0], 0.6f * 0.05f * 0.05f, 1e-6f);
  EXPECT_NEAR(e->Inertia[5], 0.6f * (0.15f * 0.15f + 0.05f * 0.05f), 1e-6f);
  EXPECT_NEAR(e->Inertia[2], -0.6f * 0.15f * 0.05f, 1e-6f);
  EXPECT_FLOAT_EQ(e->Inertia[15], 0.6f);
  EXPECT_NEAR(e->RotatingInertia, 3.57e-5f * 0.2f, 1e-10f);
}

TEST_F(engine10test, ThrottleBelowCutOffOnlyBrakesTheShaft) {
  throttle = -0.92f;  // 0.04
  kxdengine10* e = Make();
  e->Analyse();
  MakeTwinsAndPrepare();
  e->W = 500.0f;
  float a = Acceleration(e);
  EXPECT_LT(a, 0.0f);
  EXPECT_FLOAT_EQ(e->Throttle, 0.0f);
  // I = -K w / R and Q = K I.
  float k = e->K();
  float expected = k * (-k * 500.0f / (0.047f + 8.0f * 0.00012f)) / e->RotatingInertia;
  EXPECT_NEAR(a, expected, std::fabs(expected) * 1e-4f);
  e->ThrottleControl = nullptr;
  EXPECT_NEAR(Acceleration(e), expected, std::fabs(expected) * 1e-4f);
}

TEST_F(engine10test, FullThrottleRunsNearNoLoadSpeed) {
  kxdengine10* e = Make();
  e->Analyse();
  MakeTwinsAndPrepare();
  Steps(20000);
  // At no load the current is I0, so the motor runs right at w0.
  EXPECT_NEAR(e->W, e->NoLoadSpeed(), 2.0f);
  EXPECT_FLOAT_EQ(e->Throttle, 1.0f);
}

TEST_F(engine10test, ConstantRpmSwitchesFullVoltageAtHalfTheNoLoadSpeed) {
  throttle = 0.0f;  // t = 0.5
  kxdengine10* e = Make("ConstantRPM = 1");
  e->Analyse();
  MakeTwinsAndPrepare();
  float half = 0.5f * e->NoLoadSpeed();
  e->W = half - 10.0f;
  EXPECT_GT(Acceleration(e), 0.0f);
  e->W = half + 10.0f;
  EXPECT_LT(Acceleration(e), 0.0f);
  // A battery that cannot beat the motor's own losses gives no voltage.
  e->CellVoltage = 0.001f;
  e->CellNum = 1.0f;
  e->W = 0.0f;
  float a = Acceleration(e);
  EXPECT_TRUE(std::isfinite(a));
  EXPECT_LE(a, 0.0f);
}

TEST_F(engine10test, ZeroGearRatioStaysFinite) {
  kxdengine10* e = Make("GearRatio = 0");
  e->Analyse();
  MakeTwinsAndPrepare();
  e->W = 100.0f;
  EXPECT_TRUE(std::isfinite(Acceleration(e)));
  // Refused with the strongest reduction the drive computes with, so the
  // value written back is one the motor can run.
  EXPECT_FLOAT_EQ(e->GearRatio, 0.01f);
}

// A motor far stiffer than one substep can follow (1 rpm per volt, a
// strong reduction, little resistance) settles at its balance speed
// instead of swinging further every substep.
TEST_F(engine10test, StiffMotorSettlesAtItsBalanceSpeed) {
  for (const char* keys : {"MotorNs = 1", "GearRatio = 0.01", "MotorNs = 100; MotorRi = 0.001; GearRatio = 0.2"}) {
    SCOPED_TRACE(keys);
    kxdengine10* e = Make(keys);
    e->Analyse();
    MakeTwinsAndPrepare();
    Steps(3000);
    EXPECT_NEAR(e->W, e->NoLoadSpeed() * e->Ratio(), 0.01f * e->NoLoadSpeed() * e->Ratio() + 0.01f);
    kxdynamics::Tree(kxdynamics::kxdtree::kState)->DeleteChildren();
  }
}

TEST_F(engine10test, StartRampMustPassTheCutOffFirst) {
  kxdengine10* e = Make();
  e->Analyse();
  MakeTwinsAndPrepare();
  e->Start = 0.97f;  // t = 0.03
  Acceleration(e);
  EXPECT_FLOAT_EQ(e->Throttle, 0.0f);
  e->Start = 0.5f;
  Acceleration(e);
  EXPECT_FLOAT_EQ(e->Throttle, 0.5f);
}

TEST_F(engine10test, SoundFollowsRpmAndStopsBelowItsLowKey) {
  kxdengine10* e = Make("Sound0File = \"motor\"; Sound0RPM = 10000; Sound0RPMLow = 500");
  e->Analyse();
  MakeTwinsAndPrepare();
  ASSERT_NE(e->Sound.sample, nullptr);
  e->W = 5000.0f / 9.549296f;
  e->Throttle = 1.0f;
  e->UpdateVisual();
  EXPECT_NEAR(Of(e->Sound.sample)->frequency, 11025.0f, 0.5f);
  EXPECT_FLOAT_EQ(Of(e->Sound.sample)->volume, 1.0f);
  EXPECT_EQ(Queued(kxdsoundentry::kLoopStart), 1);
  e->W = 10.0f;
  e->UpdateVisual();
  EXPECT_EQ(Queued(kxdsoundentry::kStop), 1);
}

}  // namespace
