// The combustion engine: torque curve, throttle and start ramp, shaft
// dynamics, exhaust records, sounds and the file text.
#include "dynamics/components/engine00.h"

#include <cmath>

#include "core/output.h"
#include "dynamics/components/servos.h"
#include "dynamics/geometry_link.h"
#include "dynamics/instance.h"
#include "graphics/geometric_object.h"
#include "components_support.h"

namespace {

using kxctest::soundtest;

class engine00test : public soundtest {
 protected:
  kxdengine00* Make(const char* setup = "PowerMax = 1000; RotationSpeedMax = 1000") {
    kxdengine00* e = AddToState<kxdengine00>("Engine");
    kxscript::Execute(setup, e);
    e->ThrottleControl = &throttle;
    e->B.R.z = 100.0f;
    return e;
  }
  float throttle = 1.0f;
};

TEST_F(engine00test, TorqueCurvePeaksAtPowerMax) {
  kxdengine00* e = Make();
  e->Analyse();
  EXPECT_NEAR(e->Table[0], 2.598f, 1e-4f);
  EXPECT_FLOAT_EQ(e->Table[100], 0.0f);
  EXPECT_FLOAT_EQ(e->Table[1023], 0.0f);
  float best = 0.0f, bestW = 0.0f;
  for (float w = 0.0f; w < 1000.0f; w += 1.0f) {
    float p = w * e->FullTorque(w);
    if (p > best) best = p, bestW = w;
  }
  EXPECT_NEAR(bestW, 577.0f, 2.0f);
  EXPECT_NEAR(best, 1000.0f, 1.0f);
  // Between entries the torque is linear.
  EXPECT_NEAR(e->FullTorque(15.0f), 0.5f * (e->Table[1] + e->Table[2]), 1e-5f);
}

TEST_F(engine00test, TableReadAtAnySpeedMatchesTheFlooredIndex) {
  kxdengine00* e = Make();
  for (int i = 0; i < kxdengine00::kTableSize; ++i) e->Table[i] = 1.0f + 0.001f * static_cast<float>(i * i % 997);
  // Within the table, on and between entries, past its end with a fraction,
  // and up to and beyond the speeds where every float is whole.
  for (float w : {0.5f, 10.0f, 15.0f, 123.456f, 9989.9f, 9999.9f, 10005.5f, 83886070.0f, 83886090.0f, 1e9f, 3e38f}) {
    float whole = std::floor(w / 10.0f);
    float f = (w - 10.0f * whole) * 0.1f;
    int i = whole > 999.0f ? 999 : static_cast<int>(whole);
    EXPECT_EQ(e->FullTorque(w), (1.0f - f) * e->Table[i] + f * e->Table[i + 1]) << w;
  }
}

TEST_F(engine00test, EngineDrawnInsideTheFuselageIsPlacedRelativeToIt) {
  kxgeometricobject root;
  kxgeometricobject* body = kxdtest::AddObject(&root, "Body");
  kxgeometricobject* motor = kxdtest::AddObject(body, "Motor");
  kxdbody* fuselage = AddToState<kxdbody>("Fuselage");
  fuselage->B.R = {1.0f, 0.0f, 0.0f, 1.0f};
  fuselage->Geometry = body;
  kxdgeometry::SetOwner(body, fuselage);
  kxdengine00* e = Make();
  e->B.R = {1.0f, 0.0f, -0.5f, 1.0f};
  e->Geometry = motor;
  kxdgeometry::SetOwner(motor, e);
  fuselage->SyncGeometry();
  e->Analyse();
  EXPECT_EQ(motor->Object, e);
  EXPECT_EQ(body->Object, fuselage);
  EXPECT_NEAR(motor->Matrix.R.x, 0.0f, 1e-6f);
  EXPECT_NEAR(motor->Matrix.R.z, -0.5f, 1e-6f);
}

TEST_F(engine00test, ZeroRotationSpeedMaxKeepsThePlaceholderCurveWithALogLine) {
  kxdengine00* e = Make("PowerMax = 1000");
  e->Analyse();
  EXPECT_TRUE(log.Contains("kxdengine00:  Engine has RotationSpeedMax 0; torque curve not built\n"))
      << kxtest::logcapture::Text();
  EXPECT_NEAR(e->Table[100], 4.0f * (0.5f - 0.125f), 1e-5f);
  for (float v : e->Table) EXPECT_TRUE(std::isfinite(v));
}

TEST_F(engine00test, TorqueIndexStaysInTheTable) {
  kxdengine00* e = Make();
  e->Analyse();
  EXPECT_FLOAT_EQ(e->FullTorque(-50.0f), e->Table[0]);
  EXPECT_TRUE(std::isfinite(e->FullTorque(1e9f)));
  EXPECT_FLOAT_EQ(e->FullTorque(NAN), 0.0f);
}

TEST_F(engine00test, FullThrottleSpinsUpToTheEndOfTheCurve) {
  kxdengine00* e = Make("PowerMax = 100; RotationSpeedMax = 500; TorqueFactor = 0");
  e->Analyse();
  MakeTwinsAndPrepare();
  Steps(10000);
  EXPECT_NEAR(e->W, 500.0f, 10.0f);
  EXPECT_NEAR(e->GetRPM(), e->W * 30.0f / 3.1415927f, 1e-2f);
  EXPECT_GT(e->Angle, 0.0f);
}

TEST_F(engine00test, ClosedThrottleSettlesAtIdle) {
  throttle = -1.0f;
  kxdengine00* e = Make("PowerMax = 100; RotationSpeedMax = 500; RotationSpeedIdle = 100");
  e->Analyse();
  e->W = 300.0f;
  MakeTwinsAndPrepare();
  Steps(2000);
  EXPECT_FLOAT_EQ(e->W, 100.0f);
  e->ThrottleControl = nullptr;
  Steps(10);
  EXPECT_FLOAT_EQ(e->W, 100.0f);
}

TEST_F(engine00test, LoadTorqueIsConsumedOnceAndReactionActsOnTheBlock) {
  kxdengine00* e = Make("PowerMax = 1000; RotationSpeedMax = 1000; TorqueFactor = 1");
  e->Analyse();
  MakeTwinsAndPrepare();
  kxdengine00* twin = kxdengine00::As(kxdynamics::Tree(kxdynamics::kxdtree::kChange)->firstChild);
  ASSERT_NE(twin, nullptr);
  e->Load = -1.0f;
  e->ComputeChange(twin, 0);
  EXPECT_NEAR(twin->W, (2.598f - 1.0f) / 0.0001f, 10.0f);
  EXPECT_FLOAT_EQ(e->Load, 0.0f);
  EXPECT_FLOAT_EQ(twin->Angle, 0.0f);
}

TEST_F(engine00test, SoundsCrossFadeAtTheCrossOverRpm) {
  kxdengine00 e;
  float g[3], f[3];
  e.SoundMix(3500.0f, 1.0f, g, f);
  EXPECT_NEAR(g[0], 0.975f, 1e-5f);
  EXPECT_NEAR(g[1], 0.975f, 1e-5f);
  EXPECT_NEAR(f[0], 22050.0f * 3.5f, 0.5f);
  EXPECT_NEAR(f[1], 22050.0f * 3500.0f / 6000.0f, 0.05f);
  e.SoundMix(500.0f, 0.0f, g, f);
  EXPECT_FLOAT_EQ(g[0], 0.9f);
  EXPECT_FLOAT_EQ(g[1], 0.1f);
  EXPECT_FLOAT_EQ(g[2], 0.01f);
  e.SoundMix(9000.0f, 0.0f, g, f);
  EXPECT_FLOAT_EQ(g[0], 0.1f);
  EXPECT_NEAR(g[1], 0.9f * (1.0f - 0.001f * (9000.0f - 8450.0f)), 1e-5f);
  EXPECT_FLOAT_EQ(g[2], 0.9f);
  e.SoundMix(10000.0f, 0.0f, g, f);
  EXPECT_FLOAT_EQ(g[1], 0.01f);
  e.SoundRPM[1] = 0.0f;  // a zero key silences that sample only
  e.SoundMix(3500.0f, 1.0f, g, f);
  EXPECT_FLOAT_EQ(g[1], 0.0f);
  EXPECT_TRUE(std::isfinite(f[1]));
}

TEST_F(engine00test, SoundsQueueWithTheirFrequencyAndStopWhenStruck) {
  kxdengine00* e = Make("Sound0File = \"low\"; Sound1File = \"mid\"; Sound2File = \"high\"");
  e->Analyse();
  MakeTwinsAndPrepare();
  ASSERT_NE(e->Sound[0].sample, nullptr);
  EXPECT_EQ(Of(e->Sound[1].sample)->path, "sound/mid.wav");
  e->W = 3500.0f / (30.0f / 3.1415927f);
  e->UpdateVisual();
  EXPECT_EQ(Queued(kxdsoundentry::kLoopStart), 3);
  EXPECT_NEAR(Of(e->Sound[0].sample)->frequency, 22050.0f * 3.5f, 2.0f);
  EXPECT_NEAR(Of(e->Sound[0].sample)->volume, 0.975f, 1e-3f);
  kxdsoundqueue::Clear();
  e->Strike = 1;
  e->UpdateVisual();
  EXPECT_EQ(Queued(kxdsoundentry::kStop), 3);
  kxdsoundqueue::Clear();
  e->Strike = 0;
  e->W = 5.0f;  // too slow to be heard
  e->UpdateVisual();
  EXPECT_EQ(kxdsoundqueue::Count(), 0);
}

// Engines in an aircraft: exhaust records, start ramp, throttle servo.
std::string EnginePlane(int engines, int type) {
  std::string text = kxctest::Header(type) +
                     "Append kxdfuselage00 Fuselage\ncd Fuselage/\nMass = 2\ncd ../\n"
                     "Append kxdservo00 Throttle\ncd Throttle/\nPFirst = 1\ncd ../\n";
  for (int i = 0; i < engines; ++i) {
    text += "Append kxdengine00 Engine" + std::to_string(i) + "\ncd Engine" + std::to_string(i) +
            "/\nThrottleControl = ~Aircraft/Throttle/MechLink\nPowerMax = 500\nRotationSpeedMax = 1000\n"
            "ExhaustR = kxvector4r( -0.1, 0, 0, 1 )\nR = kxvector4r( " +
            std::to_string(i) + ", 0, 0, 1 )\ncd ../\n";
  }
  return text;
}

TEST_F(engine00test, FourEnginesFillFourRecordsAndAFifthSharesTheLast) {
  PutAircraft("five", EnginePlane(5, 0).c_str());
  ASSERT_EQ(kxdaircraftinstance::AircraftLoad("five", 0), 1) << kxtest::logcapture::Text();
  kxdaircraftinstance* instance = kxdaircraftinstance::Loaded(0);
  EXPECT_EQ(instance->EngineCounter, 4);
  int expected[5] = {0, 1, 2, 3, 3};
  for (int i = 0; i < 5; ++i) {
    kxdengine00* e = Simulated<kxdengine00>(("Engine" + std::to_string(i)).c_str());
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->Record, expected[i]) << i;
    EXPECT_EQ(e->ThrottleControl, &Simulated<kxdservo00>("Throttle")->MechLink);
  }
  kxdynamics::Step(0.036f, nullptr);
  EXPECT_FLOAT_EQ(instance->Engines[2].throttle, 1.0f);
  EXPECT_NEAR(instance->Engines[2].exhaust[0], 2.0f - 0.1f, 1e-4f);
}

TEST_F(engine00test, TypeBitTwoRampsTheThrottleInOverTenSeconds) {
  PutAircraft("ramp", EnginePlane(1, 2).c_str());
  ASSERT_EQ(kxdaircraftinstance::AircraftLoad("ramp", 0), 1);
  kxdengine00* e = Simulated<kxdengine00>("Engine0");
  ASSERT_NE(e, nullptr);
  EXPECT_FLOAT_EQ(e->Start, 1.0f);
  RunSubsteps(3333);  // 1 s
  EXPECT_NEAR(e->Start, 0.9f, 1e-3f);
  PutAircraft("plain", EnginePlane(1, 0).c_str());
  ASSERT_EQ(kxdaircraftinstance::AircraftLoad("plain", 1), 1);
  EXPECT_FLOAT_EQ(Simulated<kxdengine00>("Engine0", 1)->Start, 0.0f);
}

}  // namespace
