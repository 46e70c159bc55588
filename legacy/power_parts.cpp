// The engine (a shaft driven by a throttle and torque curve, loaded by its
// propeller and rotor) and the propeller (momentum-theory thrust and
// torque, the slipstream the wings feel, a spinning drawn frame).
//
// A propeller or rotor reads its engine's shaft speed as it stands, and the
// engine the load they hold as they stand: which of them comes first in
// the model's list shifts the coupling by one substep, as the model files
// expect.
#include <algorithm>
#include <cmath>

#include "legacy/airscrew.h"
#include "legacy/dynamics.h"
#include "legacy/part_operations.h"
#include "legacy/parts.h"
#include "legacy/sound_commands.h"

namespace dnsmodel {
namespace {

constexpr float kIdleBelow = 0.1f;           // throttle below it idles ...
constexpr float kIdleThrottle = 0.04f;       // ... at this
constexpr float kEngineOff = 0.05f;          // throttle at or below it brakes the shaft
constexpr float kPowerFadeFrom = 400.0f;     // m: power fades above this height ...
constexpr float kPowerFadeOver = 60.0f;      // ... and is gone this much higher
constexpr float kHeliOffBrake = 0.3f;        // share of the braking torque in helicopter mode
constexpr float kHeliSlowBrake = 0.02f;      // ... further below kHeliSlowSpeed
constexpr float kHeliSlowTorque = 0.2f;      // share of the driving torque below kHeliSlowSpeed
constexpr float kHeliSlowSpeed = 500.0f;     // rad/s
constexpr float kPropellerDensity = 1.22f;   // kg/m^3, fixed for every propeller
constexpr float kInducedLag = 10.0f;         // 1/s: the induced flow follows in 0.1 s
constexpr int32_t kMomentOnlyChannel = 11;   // a tail propeller: moment, no force
constexpr int32_t kTailDriveChannel = 12;    // its drawn spin rate
constexpr float kBlurPerRadPerSec = 0.005f;
constexpr float kSilentBelow = 10.0f;        // rad/s

float ThrottleCurve(const engine& e, float c) { return 0.5f * (Cubic(e.C0, e.C1, e.C2, e.C3, c) + 1.0f); }

}  // namespace

// ---- engine ----------------------------------------------------------------------

void UpdateEngine(object* part, dynamicsystem*) {
  engine& e = Self<engine>(part);
  e.shaftSpeed = 0.0f;
  sound::Reset(&e.soundRecord);
}

void ComputeEngine(object* part, dynamicsystem* ds, float dt) {
  engine& e = Self<engine>(part);
  dnsruntime& rt = Runtime();
  if (e.Constant > kConstantShaftAbove) {
    e.shaftSpeed = e.Constant;
    float s = std::sqrt(std::fabs(Cubic(e.C0, e.C1, e.C2, e.C3, ReadChannel(0))));
    sound::Set(&e.soundRecord, s, 0.1f * s + 0.9f);
    return;
  }
  float t = ThrottleCurve(e, ReadChannel(e.Channel));
  if (t < kIdleBelow) t = kIdleThrottle;
  float z = ds->position[2];
  if (z > kPowerFadeFrom) t *= 1.0f - (z - kPowerFadeFrom) / kPowerFadeOver;
  t = std::clamp(t, 0.0f, 1.0f);

  const float w = e.shaftSpeed;
  float q;
  if (t <= kEngineOff) {
    q = -e.Cm0;
    if (rt.heliMode) q = kHeliOffBrake * -e.Cm0 * (w < kHeliSlowSpeed ? kHeliSlowBrake : 1.0f);
  } else {
    q = e.Cm2 * w * w + e.Cm1 * w + (1.0f - t) * e.Cm3 + t * e.Cm0;
    if (rt.heliMode && w < kHeliSlowSpeed) q *= kHeliSlowTorque;
  }
  if (e.propellerLink) q -= e.propellerLink->torque * e.propellerLink->Trans;
  if (e.rotorLink) q -= e.rotorLink->torque * e.rotorLink->Trans;
  e.torque = q;
  // A shaft without inertia cannot be integrated: it stands still.
  if (e.Inertia > 0.0f) e.shaftSpeed = w + q / e.Inertia * dt;
  e.shaftSpeed = e.shaftSpeed > e.Max ? e.Max : e.shaftSpeed < e.Min ? e.Min : e.shaftSpeed;
  rt.lastEngineSpeed = e.shaftSpeed;
  const sound& snd = e.soundRecord;
  HoldSound(&e.soundRecord, 1.0f, static_cast<float>(snd.SoundFrequencyBase) + static_cast<float>(snd.SoundFrequencyShift));
}

// ---- propeller -------------------------------------------------------------------

// At rest no air flows through the disc and the shaft feels no load: the
// next flight's first substeps must not meet the last flight's flow.
void UpdatePropeller(object* part, dynamicsystem*) {
  propeller& p = Self<propeller>(part);
  p.thrust = p.torque = p.induced = 0.0f;
  sound::Reset(&p.soundRecord);
}

void ComputePropeller(object* part, dynamicsystem* ds, float dt) {
  propeller& p = Self<propeller>(part);
  const v3 z = Load(part->Z), r = Load(part->R);
  p.Pitch = 0.5f * Cubic(p.C0, p.C1, p.C2, p.C3, ReadChannel(p.Channel)) + p.Theta;
  // Without an engine or without a disc the propeller stands still.
  bool turns = p.engineLink && p.Radius > 0.0f && p.Area > 0.0f && p.Sigma > 0.0f;
  float omega = turns ? p.Trans * *p.engineLink : 0.0f;
  p.omega = omega;
  if (!(omega > 0.0f)) {
    p.torque = 0.0f;
    Store(ds->slipstream, {0, 0, 0});
  } else {
    float tipSpeed = omega * p.Radius;
    float va = Dot(z, PointAirflow(ds, r));
    float rhoA = kPropellerDensity * p.Area;
    float vi = InducedVelocity(p.thrust, va, rhoA);
    p.induced = (1.0f - kInducedLag * dt) * p.induced + kInducedLag * dt * vi;
    Store(ds->slipstream, z * p.induced);
    float inflow = (va + p.induced) / tipSpeed;
    float attack = p.Pitch - inflow;
    p.ct = ThrustCoefficient(p.Ct0, p.Ct1, attack);
    float k = p.ct / p.Sigma;
    p.cp = p.Sigma * (DrivenByFlow(inflow, p.Pitch) ? p.Cp0 - p.Cp1 * k * k : p.Cp0 + p.Cp1 * k * k);
    float dynamic = rhoA * tipSpeed * tipSpeed;
    p.thrust = p.ct * dynamic;
    p.torque = p.cp * dynamic * p.Radius;
    v3 f = z * p.thrust;
    Store(p.thrustVector, f);
    if (p.Channel != kMomentOnlyChannel) AddTo(ds->force, f);
    AddTo(ds->torque, Cross(r, f));
  }
  float rate = p.Channel == kMomentOnlyChannel ? ReadChannel(kTailDriveChannel) : omega;
  v3 x = Normalised(Load(part->X) + Load(part->Y) * (rate * dt));
  Store(part->X, x);
  Store(part->Y, Cross(z, x));
  p.blur = std::min(kBlurPerRadPerSec * rate, 1.0f);
  if (omega >= kSilentBelow) {
    float share = p.Max != 0.0f ? omega / p.Max : 1.0f;
    sound::Set(&p.soundRecord, share, 0.2f * share + 0.8f);
  } else {
    HoldSound(&p.soundRecord, 0.0f, static_cast<float>(p.soundRecord.SoundFrequencyBase));
  }
  ds->spinSpeed = omega;
}

}  // namespace dnsmodel
