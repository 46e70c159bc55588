// Every committed sample near the ground of a generated scenery of about
// 100 k triangles for the whole run: the airplanes and the glider in a
// ground roll with the brakes off and the throttle closed, the helicopters
// hovering 0.5 m up under a simple height and attitude hold. Reports the
// real-time factor (simulated seconds per CPU second, one core) and how low
// and how high the main body went above the ground while measured.
#include <GL/gl.h>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>

#include "bench/hover_hold.h"
#include "bench/realtime_factor.h"
#include "dynamics/aircraft.h"
#include "dynamics/all/register_all.h"
#include "dynamics/body.h"
#include "graphics/collision_world.h"
#include "graphics/mesh.h"
#include "graphics/scenery_records.h"
#include "tests/dynamics/components/heli_files.h"
#include "tools/meshgen/meshgen.h"

namespace {

constexpr float kScenerySize = 6000.0f;  // m
constexpr int kSceneryCells = 224;       // per side, two triangles each: 100 352 triangles
constexpr float kSceneryWaves = 20.0f;   // m, amplitude of the rolling ground
constexpr float kFrame = 1.0f / 60.0f;   // s
constexpr float kDropHeight = 0.5f;      // m, main body above the ground at placement
constexpr float kRollSpeed = 5.0f;       // m/s at placement
constexpr float kSettle = 3.0f;          // s before the measurement starts
constexpr float kSpinUp = 10.0f;         // s of rotor run-up on the ground
constexpr float kClimbIn = 3.0f;         // s to settle into the hover
constexpr float kHoverHeight = 0.5f;     // m, skids above the ground
constexpr float kSkidsBelowBody = 0.1f + kxrtest::kSkidDrop;  // m, skid bottoms below the main body

// The control functions of the airplane samples' throttle and wheel brake.
constexpr int kEngine1 = 0;
constexpr int kWheelBrake = 23;

struct sample {
  const char* name;
  bool helicopter;
};

const sample kSamples[] = {{"christeneagle", false}, {"trainer", false}, {"jet", false},
                           {"glider", false},        {"heli", true},     {"heli01", true}};

float slots[4096] = {};
kxgeometry* groundMesh = nullptr;
kxgeometryobject groundEntry{};
kxcollision world{};
kxdsceneryworld adapter(&world);

bool Setup() {
  static bool ready = [] {
    char pattern[] = "/tmp/kxgroundbenchXXXXXX";
    if (!benchsetup::EnterDataFolder(pattern)) return false;
    kxdynamics::RegisterAll();
    if (!benchsetup::CopySamples({"christeneagle", "trainer", "jet", "glider", "heli", "heli01", "airfoil"})) {
      return false;
    }
    groundMesh = meshgen::ToElement(meshgen::Ground(kScenerySize, kSceneryCells, kSceneryWaves), "ground_gras", "",
                                    GL_N3F_V3F);
    groundEntry.mesh = groundMesh;
    const float minCell[3] = {100.0f, 100.0f, 100.0f};
    const float sun[3] = {0.0f, 0.0f, 1.0f};
    if (!kxcollision::Build(&world, &groundEntry, nullptr, minCell, 200, sun)) return false;
    kxdaircraft::SetPinboardSlots(slots);
    return true;
  }();
  return ready;
}

float HeightAboveGround(const kxdbody* b) { return b->B.R.z - adapter.GroundHeight(b->B.R); }

void HoldHover(float* channels, const kxdbody* m) {
  benchsetup::HoldHover(channels, m, kHoverHeight + kSkidsBelowBody - HeightAboveGround(m),
                        benchsetup::kSampleHoverCollective);
}

void Fly(float seconds, float* channels, const kxdaircraftinstance* instance, bool hover) {
  for (int k = 0; k < static_cast<int>(seconds / kFrame); ++k) {
    if (hover) HoldHover(channels, instance->SimMainBody);
    kxdynamics::Step(kFrame, &world);
  }
}

void BM_SampleOnGroundRealTimeFactor(benchmark::State& state) {
  const sample& s = kSamples[state.range(0)];
  if (!benchsetup::LoadOrSkip(state, Setup(), s.name)) return;
  state.SetLabel(s.name);
  kxdaircraftinstance* instance = kxdaircraftinstance::Loaded(0);
  float* channels = kxdaircraft::PlayerChannels(slots, 0);
  for (int k = 0; k < 64; ++k) channels[k] = 0.0f;
  kxdynamics::Start(&adapter);
  kxmatrix pose;
  kxmatrix::SetIdentity(&pose);
  pose.R.z = adapter.GroundHeight(pose.R) + kDropHeight;
  if (s.helicopter) {
    channels[kxrtest::kThrottle] = 1.0f;
    channels[kxrtest::kCollective] = -1.0f;
    kxdaircraftinstance::PlaceAt(instance, pose, {0.0f, 0.0f, 0.0f, 0.0f});
    Fly(kSpinUp, channels, instance, false);
    Fly(kClimbIn, channels, instance, true);
  } else {
    channels[kEngine1] = -1.0f;
    channels[kWheelBrake] = -1.0f;
    kxdaircraftinstance::PlaceAt(instance, pose, {kRollSpeed, 0.0f, 0.0f, 0.0f});
    Fly(kSettle, channels, instance, false);
  }
  double simulated = 0.0;  // s
  float lowest = 1e9f, highest = -1e9f;  // m
  for (auto _ : state) {
    if (s.helicopter) HoldHover(channels, instance->SimMainBody);
    simulated += kxdynamics::Step(kFrame, &world) * kxdynamics::kSubstep;
    float height = HeightAboveGround(instance->SimMainBody);
    lowest = std::min(lowest, height);
    highest = std::max(highest, height);
  }
  state.counters["realtime"] = benchmark::Counter(simulated, benchmark::Counter::kIsRate);
  state.counters["lowest_m"] = lowest;
  state.counters["highest_m"] = highest;
  kxdynamics::Stop();
  kxdaircraftinstance::Unload(kxdaircraftinstance::Slot(0));
}
BENCHMARK(BM_SampleOnGroundRealTimeFactor)->DenseRange(0, sizeof kSamples / sizeof kSamples[0] - 1);

}  // namespace
