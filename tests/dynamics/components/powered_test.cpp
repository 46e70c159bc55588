// Powerplants in whole aircraft: a servo sets the throttle, the engine or
// motor turns the propeller, and the thrust reaches the main body through
// the bodies that carry the parts; a turbine pushes the same way.
#include <cmath>

#include "dynamics/components/engine00.h"
#include "dynamics/components/engine10.h"
#include "dynamics/components/propeller.h"
#include "dynamics/components/turbines.h"
#include "components_support.h"

namespace {

using kxctest::componenttest;

// A 2 kg pod with a receiver and a throttle servo on channel 0, then the
// powerplant lines. Without a tail the pod would pitch up as it falls (the
// propeller's in-plane drag acts ahead of the centre of mass like a
// forward fin), so these propellers have no lateral drag.
std::string Pod(const std::string& powerplant) {
  return kxctest::Header() +
         "Append kxdfuselage00 Fuselage\ncd Fuselage/\nMass = 2\n"
         "Inertia = { 0.05, 0, 0, 0, 0, 0.1, 0, 0, 0, 0, 0.1, 0, 0, 0, 0, 2 }\ncd ../\n"
         "Append kxdreceiver00 Receiver\ncd Receiver/\ncd ../\n"
         "Append kxdservo00 Throttle\ncd Throttle/\nSignalIn = ~Aircraft/Receiver/Out(0)\ncd ../\n" +
         powerplant;
}

const char* const kPiston =
    "Append kxdengine00 Engine\ncd Engine/\nThrottleControl = ~Aircraft/Throttle/MechLink\n"
    "Mass = 0.4\nPowerMax = 600\nRotationSpeedMax = 2000\nRotationSpeedIdle = 150\nTorqueFactor = 1\n"
    "R = kxvector4r( 0.3, 0, 0, 1 )\ncd ../\n"
    "Append kxdpropeller00 Propeller\ncd Propeller/\nEngine = ~Aircraft/Engine\nRadius = 0.15\nPitch = 0.15\nDragLateral = 0\n"
    "Mass = 0.03\nInertia = { 0.0001, 0, 0, 0, 0, 0.0001, 0, 0, 0, 0, 0.0002, 0, 0, 0, 0, 0.03 }\n"
    "X = kxvector4r( 0, 1, 0, 0 )\nY = kxvector4r( 0, 0, 1, 0 )\nZ = kxvector4r( 1, 0, 0, 0 )\n"
    "R = kxvector4r( 0.4, 0, 0, 1 )\ncd ../\n";

const char* const kElectric =
    "Append kxdengine10 Motor\ncd Motor/\nThrottleControl = ~Aircraft/Throttle/MechLink\n"
    "CellNum = 10\nMotorNs = 1200\nMotorR = kxvector4r( 0.3, 0, 0, 1 )\nCellR = kxvector4r( 0.1, 0, 0, 1 )\ncd ../\n"
    "Append kxdpropeller00 Propeller\ncd Propeller/\nEngine = ~Aircraft/Motor\nRadius = 0.13\nPitch = 0.12\nDragLateral = 0\n"
    "Mass = 0.02\nInertia = { 0.0001, 0, 0, 0, 0, 0.0001, 0, 0, 0, 0, 0.0001, 0, 0, 0, 0, 0.02 }\n"
    "X = kxvector4r( 0, 1, 0, 0 )\nY = kxvector4r( 0, 0, 1, 0 )\nZ = kxvector4r( 1, 0, 0, 0 )\n"
    "R = kxvector4r( 0.4, 0, 0, 1 )\ncd ../\n";

const char* const kJet =
    "Append kxdturbine00 Turbine\ncd Turbine/\nThrottleControl = ~Aircraft/Throttle/MechLink\nThrustMax = 30\n"
    "Mass = 0.5\nR = kxvector4r( -0.2, 0, 0, 1 )\ncd ../\n";

class poweredtest : public componenttest {
 protected:
  // Loads the pod, puts it 200 m up at rest with full throttle and runs
  // seconds of flight; returns the forward speed reached.
  float Fly(const std::string& text, float seconds, kxvector4r velocity = {0.0f, 0.0f, 0.0f, 0.0f}) {
    PutAircraft("pod", text.c_str());
    if (!kxdaircraftinstance::AircraftLoad("pod", 0)) return NAN;
    slots[kxctest::kPlayer0Channels] = 1.0f;
    kxdynamics::Start(nullptr);
    kxdaircraftinstance* instance = kxdaircraftinstance::Loaded(0);
    kxmatrix pose;
    kxmatrix::SetIdentity(&pose);
    pose.R = {0.0f, 0.0f, 200.0f, 1.0f};
    kxdaircraftinstance::PlaceAt(instance, pose, velocity);
    int frames = static_cast<int>(seconds / 0.036f);
    for (int i = 0; i < frames; ++i) kxdynamics::Step(0.036f, nullptr);
    kxdbody* main = instance->SimMainBody;
    return main ? main->D.R.x : NAN;
  }
};

TEST_F(poweredtest, PistonEnginePropellerPullsThePodForward) {
  float speed = Fly(Pod(kPiston), 2.0f);
  ASSERT_TRUE(std::isfinite(speed));
  EXPECT_GT(speed, 2.0f);
  kxdaircraftinstance* instance = kxdaircraftinstance::Loaded(0);
  kxdengine00* engine = Simulated<kxdengine00>("Engine");
  kxdpropeller00* prop = Simulated<kxdpropeller00>("Propeller");
  ASSERT_TRUE(engine && prop);
  EXPECT_GT(engine->W, 300.0f);
  EXPECT_LT(engine->W, 2000.0f);
  EXPECT_NEAR(instance->RPMValue, engine->W * 9.58f, engine->W * 0.05f);
  // The slipstream blows back along -x.
  EXPECT_LT(instance->Slipstream.x, -1.0f);
  EXPECT_EQ(instance->Crash, 0);
  // The turning frame keeps the shaft along the engine's axis.
  EXPECT_NEAR(prop->B.Z.x, 1.0f, 1e-4f);
}

TEST_F(poweredtest, ElectricMotorPropellerPullsThePodForward) {
  float speed = Fly(Pod(kElectric), 2.0f);
  ASSERT_TRUE(std::isfinite(speed));
  EXPECT_GT(speed, 2.0f);
  kxdengine10* motor = Simulated<kxdengine10>("Motor");
  ASSERT_NE(motor, nullptr);
  EXPECT_GT(motor->W, 300.0f);
  EXPECT_LT(motor->W, motor->NoLoadSpeed());
}

TEST_F(poweredtest, TurbinePushesThePodForward) {
  float speed = Fly(Pod(kJet), 1.0f);
  // 30 N on 2.5 kg for a second, less a little drag.
  EXPECT_NEAR(speed, 12.0f, 1.5f);
}

// A propeller without an engine has nothing to place it in its force
// pass: it follows the pod like any part, and its weight, off the pod's
// centre, turns nothing while the pod flies on and falls.
TEST_F(poweredtest, PropellerWithoutEngineRidesWithThePod) {
  const char* idle =
      "Append kxdpropeller00 Propeller\ncd Propeller/\nRadius = 0.15\nPitch = 0.15\nDragLateral = 0\n"
      "Mass = 0.3\nInertia = { 0.001, 0, 0, 0, 0, 0.001, 0, 0, 0, 0, 0.002, 0, 0, 0, 0, 0.3 }\n"
      "R = kxvector4r( 0.4, 0, 0, 1 )\ncd ../\n";
  float speed = Fly(Pod(idle), 1.0f, {20.0f, 0.0f, 0.0f, 0.0f});
  ASSERT_TRUE(std::isfinite(speed));
  kxdaircraftinstance* instance = kxdaircraftinstance::Loaded(0);
  kxdbody* main = instance->SimMainBody;
  kxdpropeller00* prop = Simulated<kxdpropeller00>("Propeller");
  ASSERT_TRUE(main && prop);
  EXPECT_LT(kxvector4r::Length(main->Omega), 1e-3f);
  EXPECT_NEAR(main->D.R.x, 20.0f, 0.1f);
}

}  // namespace
