// The shipped helicopters through player 1's control mapper: the engine on
// the constant +1 of a fresh easy configuration, each spins up on the
// ground and hovers with a fixed collective while the test's attitude loop
// works the cyclic through the pitch and roll functions.
#include <cmath>
#include <cstdio>

#include "samples_support.h"

namespace {

using namespace kxdtest;

constexpr float kSpinUp = 10.0f;           // s, the engine's start ramp
constexpr float kHoverCollective = 0.045f;  // where the rigging puts the hover
constexpr float kSkidsBelowBody = 0.16f;   // m, skid undersides below the main body's origin
constexpr float kMaxTilt = 0.34202f;       // sin 20 degrees
constexpr float kTiltGain = 3.0f;          // cyclic per unit of tilt
constexpr float kTiltDamping = 0.3f;       // cyclic per unit of tilt rate

class samplehelicopter : public samples {
 protected:
  samplehelicopter() : samples(0.0f) {}
  void SetUp() override {
    samples::SetUp();
    CopySamples({"heli", "heli01"});
  }
  // Frames of the attitude loop: the cyclic levels the fuselage.
  void Level(float seconds, const kxdbody* m) {
    for (int k = 0; k < static_cast<int>(seconds / kFrame); ++k) {
      Set(kRoll, -kTiltGain * m->B.Y.z - kTiltDamping * m->D.Y.z);
      Set(kCyclicPitch, kTiltGain * m->B.X.z + kTiltDamping * m->D.X.z);
      Fly(kFrame);
      lowest = std::fmin(lowest, m->B.R.z - kSkidsBelowBody);
      highest = std::fmax(highest, m->B.R.z - kSkidsBelowBody);
      tilt = std::fmax(tilt, std::fmax(std::fabs(m->B.X.z), std::fabs(m->B.Y.z)));
    }
  }
  float lowest = 0.0f, highest = 0.0f, tilt = 0.0f;
};

TEST_F(samplehelicopter, EachHoversTenSecondsOnTheCyclicLoop) {
  for (const char* name : {"heli", "heli01"}) {
    SCOPED_TRACE(name);
    ASSERT_EQ(kxdaircraftinstance::AircraftLoad(name, 0), 1) << kxtest::logcapture::Text();
    kxdaircraftinstance* instance = kxdaircraftinstance::Loaded(0);
    Set(kCollective, -1.0f);
    Place(instance, kSkidsBelowBody + 0.001f, 0.0f);  // standing on its skids
    const kxdbody* m = instance->SimMainBody;
    Fly(kSpinUp);
    Set(kCollective, kHoverCollective);
    Level(2.0f, m);  // lift-off and climb into the hover
    lowest = 1e9f, highest = -1e9f, tilt = 0.0f;
    Level(10.0f, m);
    ASSERT_TRUE(Finite(m));
    std::printf("%s: skids %.2f..%.2f m up, tilt under %.1f deg\n", name, lowest, highest,
                std::asin(std::fmin(tilt, 1.0f)) * 57.29578f);
    EXPECT_GT(lowest, 0.1f);
    EXPECT_LT(highest, 2.0f);
    EXPECT_LT(tilt, kMaxTilt);
    EXPECT_EQ(instance->Crash, 0);
    kxdynamics::Stop();
  }
}

}  // namespace
