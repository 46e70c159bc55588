// Every committed sample's real-time factor in the air: simulated seconds
// per CPU second of the fixed-step driver on one core, far above a level
// ground. The airplanes fly at full throttle from an air start, the glider
// glides in still air, and the helicopters hover at their height under a
// simple height and attitude hold after their rotors ran up. The
// committed samples are copied into a temporary data folder.
#include <benchmark/benchmark.h>

#include <algorithm>

#include "bench/hover_hold.h"
#include "bench/realtime_factor.h"
#include "dynamics/aircraft.h"
#include "dynamics/all/register_all.h"
#include "dynamics/body.h"
#include "tests/dynamics/components/heli_files.h"

namespace {

struct sample {
  const char* name;
  float speed;  // m/s at placement, about 1.5 times the stall speed of the airplanes
  bool helicopter;
};

const sample kSamples[] = {{"christeneagle", 13.0f, false}, {"trainer", 11.0f, false}, {"jet", 17.0f, false},
                           {"glider", 9.0f, false},         {"heli", 0.0f, true},      {"heli01", 0.0f, true}};

constexpr int kEngine1 = 0;             // the control function of the airplanes' throttle
constexpr float kHeight = 1000.0f;      // m above the placement origin
constexpr float kFrame = 1.0f / 60.0f;  // s
constexpr float kSpinUp = 10.0f;        // s of rotor run-up before the measurement
float slots[4096] = {};

bool Setup() {
  static bool ready = [] {
    char pattern[] = "/tmp/kxsamplebenchXXXXXX";
    if (!benchsetup::EnterDataFolder(pattern)) return false;
    kxdynamics::RegisterAll();
    if (!benchsetup::CopySamples({"christeneagle", "trainer", "jet", "glider", "heli", "heli01", "airfoil"})) {
      return false;
    }
    kxdaircraft::SetPinboardSlots(slots);
    return true;
  }();
  return ready;
}


void BM_SampleAircraftRealTimeFactor(benchmark::State& state) {
  const sample& s = kSamples[state.range(0)];
  if (!benchsetup::LoadOrSkip(state, Setup(), s.name)) return;
  state.SetLabel(s.name);
  float* channels = kxdaircraft::PlayerChannels(slots, 0);
  std::fill(channels, channels + 64, 0.0f);
  if (s.helicopter) {
    channels[kxrtest::kThrottle] = 1.0f;
    channels[kxrtest::kCollective] = -1.0f;
  } else {
    channels[kEngine1] = 1.0f;  // full throttle; the glider has no engine
  }
  kxdflatground ground(-10000.0f);
  kxdynamics::Start(&ground);
  kxdaircraftinstance* instance = kxdaircraftinstance::Loaded(0);
  kxmatrix pose;
  kxmatrix::SetIdentity(&pose);
  pose.R.z = kHeight;
  kxdaircraftinstance::PlaceAt(instance, pose, {s.speed, 0.0f, 0.0f, 0.0f});
  if (s.helicopter) {
    for (int k = 0; k < static_cast<int>(kSpinUp / kFrame); ++k) kxdynamics::Step(kFrame, &ground);
  }
  double simulated = 0.0;  // s
  for (auto _ : state) {
    if (s.helicopter) {
      const kxdbody* m = instance->SimMainBody;
      benchsetup::HoldHover(channels, m, kHeight - m->B.R.z, benchsetup::kSampleHoverCollective);
    }
    simulated += kxdynamics::Step(kFrame, &ground) * kxdynamics::kSubstep;
  }
  state.counters["realtime"] = benchmark::Counter(simulated, benchmark::Counter::kIsRate);
  state.counters["height_m"] = instance->SimMainBody->B.R.z;
  kxdynamics::Stop();
  kxdaircraftinstance::Unload(kxdaircraftinstance::Slot(0));
}
BENCHMARK(BM_SampleAircraftRealTimeFactor)->DenseRange(0, sizeof kSamples / sizeof kSamples[0] - 1);
// Fixed frame counts for instruction counting under callgrind: the
// difference of the two runs is 300 frames (5 simulated seconds) of steady
// flight, without loading, placing or the helicopters' run-up.
BENCHMARK(BM_SampleAircraftRealTimeFactor)->DenseRange(0, sizeof kSamples / sizeof kSamples[0] - 1)->Iterations(300)->Name("Frames300");
BENCHMARK(BM_SampleAircraftRealTimeFactor)->DenseRange(0, sizeof kSamples / sizeof kSamples[0] - 1)->Iterations(600)->Name("Frames600");

}  // namespace
