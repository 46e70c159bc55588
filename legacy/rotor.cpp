// The helicopter rotor: collective and cyclic curves, momentum-theory
// thrust and torque, ground effect, translational lift, a disc that tilts
// with the cyclic against its damping and levels itself in the world, and
// the gyroscopic moment of the tilting disc. The small helicopter of the
// older simulator flies a variant with a fixed collective, a disc drag and
// gusts near the ground.
#include <algorithm>
#include <cmath>

#include "legacy/airscrew.h"
#include "legacy/dynamics.h"
#include "legacy/part_operations.h"
#include "legacy/parts.h"
#include "legacy/sound_commands.h"
#include "platform/random.h"

namespace dnsmodel {
namespace {

constexpr float kCollectiveScale = 0.2f;    // rad of collective per unit of the Cp curve
constexpr float kTiltPerRad = 0.1f;         // disc tilt per rad of rotor turn and unit of cyclic
constexpr float kGyroSpeed = 151.5f;        // rad/s at which the gyroscopic gains hold as given
constexpr float kMirroredFrom = 7272.0f;    // a Direction from here draws the spin mirrored
constexpr float kBlurPerRadSq = 0.0001f;
constexpr float kMaxBlur = 0.5f;
constexpr float kSoundSpeed = 80.0f;        // rad/s of a full helicopter sound factor

// The small helicopter's gusts: two clocks shared by every rotor, each
// drawing a new gust when it runs out.
constexpr float kGustClock2 = 0.66f, kGustClock3 = 0.5f;   // s
constexpr float kGustRestart = 0.1f;                       // s, times a random value
constexpr float kGustScale2 = 0.2f, kGustScale3 = 0.1f;
constexpr float kGustCyclic = 0.3f;                        // share of a gust on the cyclic
constexpr float kDiscDrag = 0.002f;                        // m^2 of drag per m^2 of disc

// Gusts grow toward the ground: the factor is 1.0 up to 0.2 m and 0.2 from
// 0.6 m up.
float GustFactor(float groundHeight) { return std::clamp(1.4f - 2.0f * groundHeight, 0.2f, 1.0f); }

void Gust(float& clock, float& gust, float period, float amplitude, float dt) {
  clock += dt;
  if (!(clock > period)) return;
  clock = kGustRestart * kxsystem::Random();
  gust = amplitude * (2.0f * kxsystem::Random() - 1.0f);
}

// Thrust (N) and the load torque on the shaft (N m) of the rotor turning
// at omega with the collective theta; also its induced velocity into Vv.
void DiscForces(rotor& r, const dynamicsystem* ds, float omega, float theta) {
  float tipSpeed = omega * r.Radius;
  float va = Dot(Load(r.base.Z), Load(ds->airVelocity));
  float rhoA = ds->density * r.Area;
  float vi = InducedVelocity(r.Thrust, va, rhoA);
  r.Vv = vi;
  float inflow = (va + vi) / tipSpeed;
  r.ct = ThrustCoefficient(r.Ct0, r.Ct1, theta - inflow);
  float k = r.ct / r.Sigma;
  r.cq = r.Sigma * (DrivenByFlow(inflow, theta) ? r.Cq0 - r.Cq2 * k * k : r.Cq0 + r.Cq2 * k * k);
  float dynamic = rhoA * tipSpeed * tipSpeed;
  r.Thrust = r.ct * dynamic;
  r.torque = r.cq * dynamic * r.Radius;
}

// Ground effect, translational lift and the loss of thrust with cyclic.
float ThrustFactor(const rotor& r, const dynamicsystem* ds, float rc, float nc) {
  float factor = 1.0f;
  float h = ToWorld(ds, Load(r.base.R)).z + ds->groundHeight;
  float ground = r.Ground01 + r.Ground02 * h / r.Radius;
  if (ground > 0.0f) factor *= 1.0f + 1.0f / ground;
  const v3 air = Load(ds->airVelocity);
  float ax = Dot(Load(r.base.X), air), ay = Dot(Load(r.base.Y), air);
  float vh2 = ax * ax + ay * ay;
  float forward = r.Forward02 * vh2 + 1.0f;
  if (forward > 0.0f) factor *= 1.0f + r.Forward01 * vh2 / forward;
  return factor * (1.0f - r.LossR * std::fabs(rc) - r.LossN * std::fabs(nc));
}

// Tilts the disc by the cyclic against its damping, levels it in the world
// and returns the tilted axis (body axes) with the gyroscopic moment.
v3 TiltDisc(rotor& r, const dynamicsystem* ds, float omega, float rc, float nc, float dt, v3* moment) {
  const float levelRate = Runtime().levelRate;
  v3 a = ToBody(ds, Load(r.discAxis));
  float e = kTiltPerRad * omega * dt;
  v3 t{a.x + nc * e, a.y - rc * e, a.z};
  const v3 savedX = Load(r.savedX), savedY = Load(r.savedY);
  float alongX = Dot(t, savedX), alongY = Dot(t, savedY);
  t.x -= r.DampingX * alongX * dt;
  t.y -= r.DampingY * alongY * dt;
  v3 w = ToWorld(ds, t) * (1.0f - levelRate * dt) + v3{0, 0, levelRate * dt};
  if (Dot(w, w) > 0.0f) Store(r.discAxis, Normalised(w));
  Store(r.tiltedAxis, t);

  float pA = Dot(t, savedX), pB = Dot(t, savedY);
  r.tiltRateA = dt > 0.0f ? (pA - r.tiltA) / dt : 0.0f;
  r.tiltRateB = dt > 0.0f ? (pB - r.tiltB) / dt : 0.0f;
  r.tiltA = pA;
  r.tiltB = pB;
  float g = omega / kGyroSpeed;
  *moment = {g * (r.Dy * r.tiltRateB - r.Ky * pB), g * (r.Kx * pA - r.Dx * r.tiltRateA), 0.0f};
  return t;
}

}  // namespace

void UpdateRotor(object* part, dynamicsystem* ds) {
  rotor& r = Self<rotor>(part);
  r.Thrust = r.torque = 0.0f;   // the engine reads the load as it stands
  r.tiltA = r.tiltB = r.tiltRateA = r.tiltRateB = 0.0f;
  Store(r.discAxis, Load(ds->axisZ));
  sound::Reset(&r.soundRecord);
  HoldSound(&r.soundRecord, 0.0f, static_cast<float>(r.soundRecord.SoundFrequencyBase));
}

void ComputeRotor(object* part, dynamicsystem* ds, float dt) {
  rotor& r = Self<rotor>(part);
  dnsruntime& rt = Runtime();
  const bool piccolo = rt.piccoloModel != 0;
  if (r.flapLink) *r.flapLink = r.Angle;
  float theta, rc, nc;
  if (piccolo) {
    float hf = GustFactor(ds->groundHeight);
    Gust(rt.gustTimer2, rt.gust2, kGustClock2, r.Cp2 * kGustScale2 * hf, dt);
    Gust(rt.gustTimer3, rt.gust3, kGustClock3, r.Cp3 * kGustScale3 * hf, dt);
    theta = kCollectiveScale * r.Cp0;
    rc = Cubic(r.Cr0, r.Cr1, r.Cr2, r.Cr3, ReadChannel(r.ChannelR) + kGustCyclic * rt.gust2);
    nc = Cubic(r.Cn0, r.Cn1, r.Cn2, r.Cn3, ReadChannel(r.ChannelN) + kGustCyclic * rt.gust3);
  } else {
    theta = kCollectiveScale * Cubic(r.Cp0, r.Cp1, r.Cp2, r.Cp3, ReadChannel(r.ChannelP));
    rc = Cubic(r.Cr0, r.Cr1, r.Cr2, r.Cr3, ReadChannel(r.ChannelR));
    nc = Cubic(r.Cn0, r.Cn1, r.Cn2, r.Cn3, ReadChannel(r.ChannelN));
  }
  // Without an engine or without a disc the rotor stands still.
  bool turns = r.engineLink && r.Radius > 0.0f && r.Area > 0.0f && r.Sigma > 0.0f;
  float omega = turns ? r.Trans * *r.engineLink : 0.0f;
  r.omega = omega;
  ds->spinSpeed = omega;
  if (omega > 0.0f) {
    DiscForces(r, ds, omega, theta);
    r.Thrust *= ThrustFactor(r, ds, rc, nc);
  } else {
    r.Thrust = r.torque = r.Vv = 0.0f;
  }

  v3 moment;
  v3 axis = TiltDisc(r, ds, omega, rc, nc, dt, &moment);
  v3 f = axis * r.Thrust;
  if (piccolo) {
    v3 v = Load(ds->bodyVelocity);
    f -= v * (ds->density * kDiscDrag * r.Area * Length(v));
  }
  Store(r.thrustVector, f);
  Store(r.gyroMoment, moment);
  AddForce(ds, f, Load(part->R));
  AddTo(ds->torque, moment);

  const v3 z = Load(part->Z);
  v3 x = Normalised(Load(part->X) - Load(part->Y) * (omega * dt));
  Store(part->X, x);
  Store(part->Y, !piccolo && r.Direction >= kMirroredFrom ? Cross(x, z) : Cross(z, x));
  r.blur = std::min(kBlurPerRadSq * omega * omega, kMaxBlur);

  const sound& snd = r.soundRecord;
  if (rt.heliMode) {
    float s = omega / kSoundSpeed;
    sound::Set(&r.soundRecord, 0.1f * s + 0.3f, s > 0.2f ? 0.2f * s + 0.8f : 4.2f * s);
  } else {
    HoldSound(&r.soundRecord, 0.9f,
              static_cast<float>(snd.SoundFrequencyBase) + 0.5f * static_cast<float>(snd.SoundFrequencyShift));
  }
}

}  // namespace dnsmodel
