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

// The output is the gain times the signal less the measured rate about the
// axis (z by default), clamped to [-1, 1]; an unlinked signal reads 0.
TEST_F(gyrotest, OutputIsTheSignalLessGainTimesRate) {
  const struct {
    const char* what;
    kxvector4r omega;
    float signal;
    bool linked;
    float out;
  } cases[] = {
      {"rate about the axis", {0.0f, 0.0f, 1.0f, 0.0f}, 0.0f, true, -0.5f},
      {"saturated", {0.0f, 0.0f, 4.0f, 0.0f}, 0.0f, true, -1.0f},
      {"signal equal to the rate", {0.0f, 0.0f, 1.0f, 0.0f}, 1.0f, true, 0.0f},
      {"perpendicular turn", {1.0f, 0.5f, 0.0f, 0.0f}, 0.0f, true, 0.0f},
      {"unlinked", {0.0f, 0.0f, 1.0f, 0.0f}, 0.9f, false, -0.5f},
  };
  for (const auto& c : cases) {
    signal = c.signal;
    kxdgyro00* g = Spinning(c.omega, "Gain = 0.5");
    if (!c.linked) g->SignalIn = nullptr;
    Steps(1);
    EXPECT_NEAR(g->SignalOut, c.out, 1e-4f) << c.what;
    if (c.omega.z > 0.0f) {
      EXPECT_NEAR(g->Angle, 0.0003f * c.omega.z, 1e-6f) << c.what;
    }
    kxdynamics::Tree(kxdynamics::kxdtree::kState)->DeleteChildren();
  }
}

TEST_F(gyrotest, AxisFourthComponentDoesNotChangeTheMeasurement) {
  kxdgyro00* g = Spinning({0.0f, 1.0f, 0.0f, 0.0f}, "Axis = kxvector4r( 0, 1, 0, 1 )");
  g->B.R = {50.0f, -20.0f, 100.0f, 1.0f};
  EXPECT_NEAR(g->MeasuredRate(), 1.0f, 1e-5f);
  g->Axis.w = 0.0f;
  EXPECT_NEAR(g->MeasuredRate(), 1.0f, 1e-5f);
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
