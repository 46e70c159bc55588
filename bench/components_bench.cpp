// Controls and powerplants: the real-time factor (simulated seconds per
// wall-clock second, one core) of powered aircraft under the fixed-step
// driver - a piston engine with propeller, an electric motor with
// propeller, and a jet - each with a receiver and a throttle servo.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include "bench/realtime_factor.h"
#include "core/hooks.h"
#include "core/interpreter.h"
#include "dynamics/aircraft.h"
#include "dynamics/components/register.h"
#include "dynamics/driver.h"
#include "dynamics/instance.h"
#include "dynamics/registry.h"
#include "dynamics/world.h"
#include "graphics/geometric_object.h"
#include "platform/files.h"

namespace {

struct sample {
  const char* name;
  const char* powerplant;
};

const char* const kPod =
    "//\n//\n//\n//\n// version: 1.8.0\n//\n// type:    0\n"
    "Append kxdfuselage00 Fuselage\ncd Fuselage/\nMass = 2\ncd ../\n"
    "Append kxdreceiver00 Receiver\ncd Receiver/\ncd ../\n"
    "Append kxdservo00 Throttle\ncd Throttle/\nSignalIn = ~Aircraft/Receiver/Out(0)\ncd ../\n";

const sample kSamples[] = {
    {"piston",
     "Append kxdengine00 Engine\ncd Engine/\nThrottleControl = ~Aircraft/Throttle/MechLink\nMass = 0.4\n"
     "PowerMax = 600\nRotationSpeedMax = 2000\nRotationSpeedIdle = 150\nR = kxvector4r( 0.3, 0, 0, 1 )\ncd ../\n"
     "Append kxdpropeller00 Propeller\ncd Propeller/\nEngine = ~Aircraft/Engine\nMass = 0.03\n"
     "X = kxvector4r( 0, 1, 0, 0 )\nY = kxvector4r( 0, 0, 1, 0 )\nZ = kxvector4r( 1, 0, 0, 0 )\n"
     "R = kxvector4r( 0.4, 0, 0, 1 )\ncd ../\n"},
    {"electric",
     "Append kxdengine10 Motor\ncd Motor/\nThrottleControl = ~Aircraft/Throttle/MechLink\n"
     "MotorR = kxvector4r( 0.3, 0, 0, 1 )\ncd ../\n"
     "Append kxdpropeller00 Propeller\ncd Propeller/\nEngine = ~Aircraft/Motor\nMass = 0.02\n"
     "X = kxvector4r( 0, 1, 0, 0 )\nY = kxvector4r( 0, 0, 1, 0 )\nZ = kxvector4r( 1, 0, 0, 0 )\n"
     "R = kxvector4r( 0.4, 0, 0, 1 )\ncd ../\n"},
    {"jet",
     "Append kxdturbine00 Turbine\ncd Turbine/\nThrottleControl = ~Aircraft/Throttle/MechLink\nThrustMax = 30\n"
     "Mass = 0.5\nR = kxvector4r( -0.2, 0, 0, 1 )\ncd ../\n"},
};

float slots[4096] = {};

bool Setup() {
  static bool ready = [] {
    char pattern[] = "/tmp/kxcbenchXXXXXX";
    if (!benchsetup::EnterDataFolder(pattern)) return false;
    components::RegisterTypes();
    for (const sample& s : kSamples) {
      std::ofstream(benchsetup::AircraftFolder(s.name) + ".kxd") << kPod << s.powerplant;
    }
    kxdaircraft::PlayerChannels(slots, 0)[0] = 1.0f;  // full throttle on channel 0
    kxdaircraft::SetPinboardSlots(slots);
    return true;
  }();
  return ready;
}

void BM_PoweredRealTimeFactor(benchmark::State& state) {
  const sample& s = kSamples[state.range(0)];
  if (!benchsetup::LoadOrSkip(state, Setup(), s.name)) return;
  state.SetLabel(s.name);
  kxdflatground ground;
  kxdynamics::Start(&ground);
  benchsetup::MeasureRealTimeFactor(state, &ground, 1000.0f, 15.0f);
}
BENCHMARK(BM_PoweredRealTimeFactor)->DenseRange(0, sizeof kSamples / sizeof kSamples[0] - 1);

}  // namespace
