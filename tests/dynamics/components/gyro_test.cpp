// The rate gyro: measured rate about its axis, the clamped correction and
// its timing, and the file text.
#include "dynamics/components/gyro.h"

#include "core/output.h"
#include "components_support.h"

namespace {

using kxctest::componenttest;

class gyrotest : public componenttest {
 protected:
  // A free gyro spinning at omega (rad/s, world), ready for substeps.
  kxdgyro00* Spinning(const kxvector4r& omega, const char* setup = "") {
    kxdgyro00* g = AddToState<kxdgyro00>("Gyro");
    kxscript::Execute(setup, g);
    g->SignalIn = &signal;
    g->B.R.z = 100.0f;
    MakeTwinsAndPrepare();
    // Default inertia 0.01 kg m^2 about every axis.
    g->L = {0.01f * omega.x, 0.01f * omega.y, 0.01f * omega.z, 0.0f};
    g->DeriveMotion();
    return g;
  }
  float signal = 0.0f;
};

TEST_F(gyrotest, TurnAboutItsAxisGivesMinusGainTimesRate) {
  kxdgyro00* g = Spinning({0.0f, 0.0f, 1.0f, 0.0f}, "Gain = 0.5");
  EXPECT_NEAR(g->MeasuredRate(), 1.0f, 1e-5f);
  Steps(1);
  EXPECT_NEAR(g->SignalOut, -0.5f, 1e-4f);
  EXPECT_NEAR(g->Angle, 0.0003f, 1e-6f);
}

TEST_F(gyrotest, OutputSaturatesAtMinusOne) {
  kxdgyro00* g = Spinning({0.0f, 0.0f, 2.0f, 0.0f});
  Steps(1);
  EXPECT_FLOAT_EQ(g->SignalOut, -1.0f);
}

TEST_F(gyrotest, SignalEqualToTheRateGivesZero) {
  signal = 1.0f;
  kxdgyro00* g = Spinning({0.0f, 0.0f, 1.0f, 0.0f});
  Steps(1);
  EXPECT_NEAR(g->SignalOut, 0.0f, 1e-4f);
}

TEST_F(gyrotest, PerpendicularTurnMeasuresNothing) {
  kxdgyro00* g = Spinning({1.0f, 0.5f, 0.0f, 0.0f});
  EXPECT_NEAR(g->MeasuredRate(), 0.0f, 1e-6f);
  Steps(1);
  EXPECT_NEAR(g->SignalOut, 0.0f, 1e-5f);
}

TEST_F(gyrotest, AxisFourthComponentDoesNotChangeTheMeasurement) {
  kxdgyro00* g = Spinning({0.0f, 1.0f, 0.0f, 0.0f}, "Axis = kxvector4r( 0, 1, 0, 1 )");
  g->B.R = {50.0f, -20.0f, 100.0f, 1.0f};
  EXPECT_NEAR(g->MeasuredRate(), 1.0f, 1e-5f);
  g->Axis.w = 0.0f;
  EXPECT_NEAR(g->MeasuredRate(), 1.0f, 1e-5f);
}

TEST_F(gyrotest, UnlinkedGyroReadsZeroSignal) {
  kxdgyro00* g = Spinning({0.0f, 0.0f, 0.5f, 0.0f});
  g->SignalIn = nullptr;
  Steps(1);
  EXPECT_NEAR(g->SignalOut, -0.5f, 1e-4f);
}

TEST_F(gyrotest, PrepareClearsOutputAndAngle) {
  kxdgyro00 g;
  g.RawOutput = 0.7f;
  g.Angle = 3.0f;
  g.Prepare();
  EXPECT_FLOAT_EQ(g.RawOutput, 0.0f);
  EXPECT_FLOAT_EQ(g.Angle, 0.0f);
}

}  // namespace
