// The sample models flown over a scenery as the simulator flies them: a
// free fall exactly as the step integrates it, a glider at rest and in a
// glide, crashes on the nose, in water and on a damage surface, a trainer
// taking off and a helicopter hovering on its heading gyro.
#include <algorithm>
#include <cmath>
#include <filesystem>
#include <string>
#include <utility>

#include "tests/legacy/model_support.h"

namespace {

using namespace dnsmodel;

class LegacyFlightTest : public kxltest::modeltest {
 protected:
  void SetUp() override {
    modeltest::SetUp();
    BuildWorld();
  }
  void LoadSample(const char* name) {
    Install(name);
    Load(name);
  }
  template <class T>
  static T* First() {
    for (object* p = state().parts; p; p = p->next) {
      if (T* t = As<T>(p)) return t;
    }
    return nullptr;
  }
  static float Heading() { return std::atan2(model()->axisX[1], model()->axisX[0]); }
};

// With no force but gravity the position uses the velocity before each
// substep: after n substeps of h it has dropped by g h^2 (n - 1) n / 2.
TEST_F(LegacyFlightTest, FallingSampleFallsAsTheSubstepsIntegrate) {
  LoadSample("fall");
  EXPECT_EQ(state().noType2or5, 1);
  EXPECT_EQ(state().hasType10, 0);
  struct frame {
    float dt, stepped;
    int substeps;
  };
  for (frame f : {frame{0.0166f, 0.0166f, 16}, frame{0.0015f, 0.0015f, 1}, frame{0.2f, 0.05f, 50}}) {
    Place(0, 0, 100, 0, 1.0f);
    Frame(f.dt);
    float h = f.stepped / static_cast<float>(f.substeps);
    EXPECT_FLOAT_EQ(state().dt, f.stepped);
    EXPECT_NEAR(model()->velocity[2], -kGravity * f.stepped, 1e-5f);
    EXPECT_NEAR(Position()[2], 100.0f - kGravity * h * h * static_cast<float>((f.substeps - 1) * f.substeps) / 2,
                1e-4f);
    EXPECT_NEAR(Position()[0], f.stepped, 1e-5f);
    EXPECT_EQ(state().status, kStatusCalm);
  }
}

TEST_F(LegacyFlightTest, GliderRestsOnItsWheelsThenGlidesWithASteadySink) {
  LoadSample("glider");
  Place(0, 0, 1, 0, 0);
  Fly(3.0f);
  EXPECT_EQ(state().status, kStatusOnWheels);
  EXPECT_LT(Speed(), 0.01f);
  EXPECT_NEAR(Position()[2], 0.1f, 0.02f);

  // Heading south, clear of the thermals.
  Place(0, 0, 80, -1.5708f, 10.0f);
  float z[4];
  for (float& height : z) {
    height = Position()[2];
    Fly(10.0f);
  }
  float early = (z[1] - z[2]) / 10.0f, late = (z[2] - z[3]) / 10.0f;
  EXPECT_GT(early, 0.3f);
  EXPECT_LT(early, 1.0f);
  EXPECT_NEAR(late, early, 0.25f * early);
  EXPECT_NEAR(Speed(), 10.0f, 2.0f);
  EXPECT_EQ(state().status, kStatusCalm);
}

// A dive into the grass, a drop onto the water and onto a damage surface.
TEST_F(LegacyFlightTest, NoseInWaterAndDamageEndTheFlight) {
  LoadSample("glider");
  struct landing {
    float x, z, speed, sink;
    int32_t status;
  };
  for (landing l : {landing{0, 3, 10, 10, kStatusCrashed}, landing{kxltest::kWaterX, 1, 0, 0, kStatusInWater},
                    landing{kxltest::kDamageX, 1, 0, 0, kStatusCrashed}}) {
    Place(l.x, 0, l.z, 0, l.speed);
    model()->velocity[2] = -l.sink;
    Fly(2.0f);
    EXPECT_EQ(state().status, l.status) << l.x;
  }
}

TEST_F(LegacyFlightTest, TrainerAcceleratesAndTakesOffAtFullThrottle) {
  LoadSample("trainer");
  engine* e = First<engine>();
  ASSERT_NE(e, nullptr);
  Place(0, 0, 1, 0, 0);
  state().controls[0] = 1.0f;
  float fastest = 0.0f, slowest = e->Max;
  for (int second = 0; second < 20; ++second) {
    if (second == 5) {
      EXPECT_GT(Speed(), 5.0f);
      EXPECT_LT(Position()[2], 0.3f);
    }
    Fly(1.0f);
    fastest = std::max(fastest, e->shaftSpeed);
    slowest = std::min(slowest, e->shaftSpeed);
  }
  EXPECT_GT(Position()[2], 10.0f);
  EXPECT_EQ(state().status, kStatusCalm);
  EXPECT_LE(fastest, e->Max);
  EXPECT_GE(slowest, e->Min);
  EXPECT_GT(slowest, 0.4f * e->Max);
  EXPECT_GT(model()->slipstream[0], 1.0f);
}

// Collective from a height hold; a rudder pulse turns the model, and the
// lock holds the new heading once the stick is back.
TEST_F(LegacyFlightTest, HelicopterHoversOnItsHeadingGyro) {
  LoadSample("heli");
  Place(0, 0, 1, 0, 0);
  float integral = 0.0f, before = 0.0f, held = 0.0f;
  for (int frame = 0; frame < 1500; ++frame) {
    float error = 3.0f - Position()[2];
    integral += 0.02f * error;
    state().controls[0] = std::clamp(0.4f * error - 0.6f * model()->velocity[2] + 0.15f * integral, -1.0f, 1.0f);
    state().controls[3] = frame >= 800 && frame < 850 ? 0.5f : 0.0f;
    if (frame == 800) before = Heading();
    if (frame == 1250) held = Heading();
    Fly(0.02f);
  }
  EXPECT_NEAR(Position()[2], 3.0f, 0.3f);
  EXPECT_GT(std::fabs(std::remainder(Heading() - before, 6.2831853f)), 0.5f);
  EXPECT_LT(std::fabs(std::remainder(Heading() - held, 6.2831853f)), 0.05f);
  EXPECT_GT(model()->axisZ[2], 0.99f);
  EXPECT_EQ(state().status, kStatusCalm);
  const dnsruntime& rt = Runtime();
  EXPECT_EQ(rt.heliMode, 1);
  EXPECT_FLOAT_EQ(rt.levelRate, 500.0f / rt.lastEngineSpeed);
  EXPECT_FLOAT_EQ(rt.channels[12], 0.12648362f * rt.lastEngineSpeed);
}

// The small helicopter of the program's own folder: its collective is fixed,
// so the throttle alone sets the rotor's speed and so its lift. Left alone
// it stays down at idle and climbs at half and full throttle, upright for
// 40 s, through the gusts near the ground.
TEST_F(LegacyFlightTest, PiccoloStaysDownAtIdleAndFliesHandsOffAtHalfAndFullThrottle) {
  LoadSample("piccolo");
  ASSERT_EQ(Runtime().piccoloModel, 1);
  struct setting {
    float throttle, seconds;
    float lowest, highest;  // m at the end
  };
  for (setting s : {setting{-1, 8, 0, 0.2f}, setting{0, 40, 20, 45}, setting{1, 40, 80, 140}}) {
    Place(0, 0, 1, 0, 0);
    state().controls[0] = s.throttle;
    float tilt = 0.0f;
    for (float t = 0.0f; t < s.seconds && !(state().status & kStatusCrashed); t += 0.02f) {
      Fly(0.02f);
      tilt = std::max(tilt, std::acos(std::clamp(model()->axisZ[2], -1.0f, 1.0f)) * 57.29578f);
    }
    EXPECT_EQ(state().status & kStatusCrashed, 0) << s.throttle;
    EXPECT_GT(Position()[2], s.lowest) << s.throttle;
    EXPECT_LT(Position()[2], s.highest) << s.throttle;
    EXPECT_LT(tilt, 5.0f) << s.throttle << ": degrees";
  }
}

// A model whose coefficients no airframe has (0.2 kg under a wing of 6 m2
// with lift coefficients of 3, or of 1e20) keeps a finite state: a step
// that would leave numbers that are none keeps the last finite one and ends
// as a crash, with one line, and the model flies again after a reset.
TEST_F(LegacyFlightTest, StepsThatWouldLeaveNoFiniteStateEndAsACrash) {
  for (auto [lift, crashes] : {std::pair{"3", false}, std::pair{"1e20", true}}) {
    Write("airlark/aircraft/wild.dns",
          std::string("// DNS FILE\ndummy Mass;\nMass.Type = 6\nMass.M = 0.2\nMass.X = ( 0.01 0 0 )\n"
                      "Mass.Y = ( 0 0.01 0 )\nMass.Z = ( 0 0 0.01 )\nwing W;\nW.Area = 6\nW.Ca00 = ") +
              lift + "\nW.Ca1 = " + lift +
              "\nW.X = ( 1 0 0 )\nW.Y = ( 0 -1 0 )\nW.Z = ( 0 0 -1 )\nW.R = ( 0.5 0.3 0 )\nW.Rl = ( 0.5 0.3 0 )\n");
    Load("wild");
    capture_.Clear();
    for (int attempt = 0; attempt < 2; ++attempt) {
      Place(0, 0, 50, 0, 15.0f);
      for (int frame = 0; frame < 50 && !(state().status & kStatusCrashed); ++frame) {
        Frame(0.02f);
        for (int k = 0; k < 16; ++k) ASSERT_TRUE(std::isfinite(state().pose[k])) << lift << " frame " << frame;
        for (int k = 0; k < 3; ++k) ASSERT_TRUE(std::isfinite(state().velocity[k])) << lift << " frame " << frame;
      }
    }
    const std::string line = "dnsmodel:  wild: a step would leave no finite state; crashed\n";
    std::string log = Log();
    EXPECT_EQ(log.find(line) != std::string::npos, crashes) << lift << ": " << log;
    if (crashes) {
      EXPECT_EQ(log, line + line) << "one line a crash";
    }
  }
}

}  // namespace
