// Sections: the frame; the substep; the resets; the record.
#include "legacy/dynamics.h"

#include <algorithm>
#include <cmath>

#include "core/hooks.h"
#include "core/maths.h"
#include "legacy/contacts.h"
#include "legacy/parts.h"
#include "legacy/sound_commands.h"

namespace dnsmodel {
namespace {

constexpr float kWindDirectionPerUnit = 3.1415f;  // rad per unit of channel 30 (the model files' own pi)
constexpr float kWindSpeedPerUnit = 7.0f;         // m/s per unit of channel 31
constexpr float kSlewGain = 10.0f;                // 1/s: a time constant of 0.1 s ...
constexpr float kSlewLimit5 = 2.0f;               // ... but at most this many units per second (gear)
constexpr float kSlewLimit4 = 4.0f;               // (flap)
constexpr int kExpoFirst = 1, kExpoLast = 3;      // aileron, elevator, rudder
using kxmaths::kRpmPerRadianPerSecond;
constexpr float kSettleStep = 0.01f;              // m per trial
constexpr float kSettleDrop = 2.2f;               // m at most
constexpr float kSettleLift = 0.02f;              // m above the touching trial
// Trials at most: at a height whose float steps lose the centimetre the
// distance test alone would never end the drop.
constexpr int kSettleTrials = 230;
constexpr float kPlacedGearChannel = 1.0f;

bool HasMass(const dynamicsystem* model) { return model->mass > 0.0f && std::isfinite(model->mass); }

// The body's motion a substep integrates, kept so that a step leaving
// numbers that are none can be taken back.
struct motion {
  float position[3], lastPosition[3], velocity[3], omega[3], worldOmega[3], axisX[3], axisY[3], axisZ[3];

  explicit motion(const dynamicsystem* m) { Copy(m, this); }
  void Restore(dynamicsystem* m) const { Copy(this, m); }
  static bool Finite(const dynamicsystem* m) { return motion(m).AllFinite(); }

 private:
  template <class From, class To>
  static void Copy(const From* from, To* to) {
    std::copy_n(from->position, 3, to->position);
    std::copy_n(from->lastPosition, 3, to->lastPosition);
    std::copy_n(from->velocity, 3, to->velocity);
    std::copy_n(from->omega, 3, to->omega);
    std::copy_n(from->worldOmega, 3, to->worldOmega);
    std::copy_n(from->axisX, 3, to->axisX);
    std::copy_n(from->axisY, 3, to->axisY);
    std::copy_n(from->axisZ, 3, to->axisZ);
  }
  bool AllFinite() const {
    for (const float* v : {position, lastPosition, velocity, omega, worldOmega, axisX, axisY, axisZ}) {
      for (int k = 0; k < 3; ++k) {
        if (!std::isfinite(v[k])) return false;
      }
    }
    return true;
  }
};

void ComputeParts(dynamicsystem* model, float h) {
  for (object* p = model->objects; p; p = p->next) p->Compute(model, h);
}

void RebuildRotations(dynamicsystem* m) {
  SetRows(m->toBody, Load(m->axisX), Load(m->axisY), Load(m->axisZ));
  SetColumns(m->toWorld, Load(m->axisX), Load(m->axisY), Load(m->axisZ));
}

// The pose holds the axes and the position as columns of its transposed
// storage: row i is (X_i, Y_i, Z_i, P_i).
v3 PoseColumn(const float pose[16], int c) { return {pose[c], pose[4 + c], pose[8 + c]}; }
void SetPoseColumn(float pose[16], int c, v3 v) {
  pose[c] = v.x;
  pose[4 + c] = v.y;
  pose[8 + c] = v.z;
}

// The pose's position with its height capped (a height that is not a
// number is capped as well).
v3 CappedPosition(const dnsstate* record) {
  v3 p = PoseColumn(record->pose, 3);
  p.z = p.z <= kCeiling ? p.z : kCeiling;
  return p;
}

float Slew(float current, float target, float limit, float dt) {
  return current + std::clamp(kSlewGain * (target - current), -limit, limit) * dt;
}

/* The values the runtime keeps beside the model (the channels the parts
   read, what the gyro and the engine last set, the small helicopter's
   gusts) are left by whichever model flew last and however its flight
   ended; a placing starts the model from rest, and they start with it.
   The channels go before the parts are put to rest, since the placing runs
   the parts once; the rest after, since that run writes them. The ground's
   normal starts as the ground below the new place. */
void ClearChannels(dnsruntime& rt) { std::fill(rt.channels, rt.channels + kControlCount, 0.0f); }

void StartAtRest(dnsruntime& rt, dynamicsystem* m, const dnsstate* record) {
  Store(m->groundNormal, Load(record->terrainNormal));
  rt.levelRate = 0.0f;
  rt.lastEngineSpeed = 0.0f;
  rt.gustTimer2 = rt.gustTimer3 = rt.gust2 = rt.gust3 = 0.0f;
}

// The segment of the reference point's path into contact point 0, then the
// bumps and the contact query over every claimed point.
void SweepAndQuery(dynamicsystem* m) {
  contactpoint& body = m->interaction.contacts[0];
  Store(body.pointA, Load(m->position));
  Store(body.pointB, Load(m->lastPosition));
  Store(m->lastPosition, Load(m->position));
  ApplyBumps(&m->interaction);
  QueryWorldContacts(m->interaction.usedContacts);
}

}  // namespace

void UpdateParts(dynamicsystem* model) {
  for (object* p = model->objects; p; p = p->next) p->Update(model);
}

// ---- the frame -----------------------------------------------------------------

void StepDynamics(dynamicsystem** holder, dnsstate* record) {
  dnsruntime& rt = Runtime();
  std::copy(record->controls, record->controls + kControlCount, rt.channels);
  wind::Set(&rt.wind, record->controls[30] * kWindDirectionPerUnit, record->controls[31] * kWindSpeedPerUnit);
  dynamicsystem* m = *holder = record->model;
  if (!m) {
    EndPendingSounds();
    return;
  }
  float e = m->controlExpo;
  for (int i = kExpoFirst; i <= kExpoLast; ++i) {
    float c = rt.channels[i];
    float divisor = e * std::fabs(c) + 1.0f;
    // A negative expo of -1 or below would divide by zero or flip the stick.
    if (divisor > 0.0f) rt.channels[i] = (1.0f + e) * c / divisor;
  }
  // A frame time that is not a number or negative steps nothing.
  float dt = record->dt >= 0.0f && std::isfinite(record->dt) ? record->dt : 0.0f;
  rt.channels[5] = rt.slewChannel5 = Slew(rt.slewChannel5, rt.channels[5], kSlewLimit5, dt);
  rt.channels[4] = rt.slewChannel4 = Slew(rt.slewChannel4, rt.channels[4], kSlewLimit4, dt);
  m->groundHeight = m->position[2] - record->groundLevel;
  Store(m->groundNormal, Load(m->groundNormal) * (1.0f - dt) + Load(record->terrainNormal) * dt);
  m->status = kStatusCalm;
  dt = std::min(dt, kMaxFrameTime);
  record->dt = dt;
  // The rate is the one this frame's substeps write; without them (a model
  // without mass) nothing turns. Left as it stood, the rpm of the frame
  // before, or the rad/s a placing computed, would be scaled again every
  // frame until it is no number at all.
  m->spinSpeed = 0.0f;
  if (HasMass(m)) {
    float n = std::max(std::floor(kSubstepsPerSecond * dt), 1.0f);
    for (float i = 0.0f; i < n; i += 1.0f) {
      // Only the last substep's sound commands reach the frame's sound pass.
      RestartPendingSounds();
      if (!Substep(m, dt / n)) {
        kxcore::Log("dnsmodel:  %s: a step would leave no finite state; crashed\n", record->name);
        break;
      }
    }
  }
  WriteBackState(m, record);
  m->spinSpeed *= kRpmPerRadianPerSecond;
  EndPendingSounds();
}

// ---- the substep ---------------------------------------------------------------

bool Substep(dynamicsystem* m, float h) {
  const motion before(m);
  SweepAndQuery(m);
  if (m->interaction.contacts[0].contactCount > 0) m->status = kStatusCrashed;
  for (float* sum : {m->worldForce, m->force, m->worldTorque, m->torque}) Store(sum, {0, 0, 0});
  Store(m->bodyVelocity, ToBody(m, Load(m->velocity)));
  Store(m->worldAirVelocity, Load(m->velocity) + wind::Evaluate(&Runtime().wind, m));
  Store(m->airVelocity, ToBody(m, Load(m->worldAirVelocity)));
  ComputeParts(m, h);

  AddTo(m->torque, ToBody(m, Load(m->worldTorque)));
  v3 acceleration = (ToWorld(m, Load(m->force)) + Load(m->worldForce)) / m->mass + v3{0, 0, -kGravity};
  Store(m->acceleration, acceleration);
  const v3 omega = Load(m->omega);
  v3 angular = Rotate(m->inverseInertia, Load(m->torque) - Cross(omega, Rotate(m->inertia, omega)));
  Store(m->angularAcceleration, angular);
  // The axes turn with the angular velocity of the previous substep.
  const v3 worldOmega = Load(m->worldOmega);
  v3 x = Load(m->axisX) + h * Cross(worldOmega, Load(m->axisX));
  v3 y = Load(m->axisY) + h * Cross(worldOmega, Load(m->axisY));
  AddTo(m->position, h * Load(m->velocity));
  AddTo(m->velocity, h * acceleration);
  AddTo(m->omega, h * angular);

  v3 axisX = Normalised(x);
  v3 axisZ = Cross(axisX, Normalised(y));
  Store(m->axisX, axisX);
  Store(m->axisZ, axisZ);
  Store(m->axisY, Cross(axisZ, axisX));
  RebuildRotations(m);
  Store(m->worldOmega, ToWorld(m, Load(m->omega)));
  if (Length(Load(m->worldOmega)) > kCrashSpinRate) m->status = kStatusCrashed;
  // Coefficients no airframe has can run the motion away to numbers that
  // are none; the last finite motion stays, and the model has crashed.
  const bool finite = motion::Finite(m);
  if (!finite) {
    before.Restore(m);
    RebuildRotations(m);
    m->status = kStatusCrashed;
  }
  if (m->status & kStatusCrashed) UpdateParts(m);
  return finite;
}

// ---- the resets ----------------------------------------------------------------

void ResetDynamics(dynamicsystem** holder, dnsstate* record) {
  dnsruntime& rt = Runtime();
  RestartPendingSounds();
  dynamicsystem* m = *holder = record->model;
  if (m) {
    ClearChannels(rt);
    Store(m->position, CappedPosition(record));
    // The body's own contact segment starts here, not at the place the
    // model left: a segment from there would cross the ground and count as
    // a crash on the first substep.
    Store(m->lastPosition, Load(m->position));
    Store(m->axisX, PoseColumn(record->pose, 0));
    Store(m->axisY, PoseColumn(record->pose, 1));
    Store(m->axisZ, PoseColumn(record->pose, 2));
    Store(m->worldOmega, {0, 0, 0});
    Store(m->omega, {0, 0, 0});
    RebuildRotations(m);
    m->density = kAirDensity;
    Store(m->slipstream, {0, 0, 0});
    Store(m->velocity, Load(record->velocity));
    UpdateParts(m);
    m->status = kStatusCalm;
    WriteBackState(m, record);
    StartAtRest(rt, m, record);
  }
  EndPendingSounds();
}

void PlaceOnGround(dynamicsystem** holder, dnsstate* record) {
  dnsruntime& rt = Runtime();
  RestartPendingSounds();
  dynamicsystem* m = *holder = record->model;
  if (m) {
    Store(m->position, CappedPosition(record));
    Store(m->axisX, PoseColumn(record->pose, 0));
    Store(m->velocity, Load(record->velocity));
    m->density = kAirDensity;
    Store(m->slipstream, {0, 0, 0});
    ClearChannels(rt);
    SettleOnGround(m);
    m->status = kStatusCalm;
    WriteBackState(m, record);
    StartAtRest(rt, m, record);
  }
  EndPendingSounds();
  // Set down, the model starts a flight: the flap slews from neutral as the
  // gear from down, not from where the last flight left them.
  rt.heliMode = 0;
  rt.slewChannel5 = kPlacedGearChannel;
  rt.slewChannel4 = 0.0f;
}

void SettleOnGround(dynamicsystem* m) {
  const v3 up{0, 0, 1};
  v3 y = Normalised(Cross(up, Load(m->axisX)));
  // A heading straight up or down has no horizontal part: world x serves.
  if (Dot(y, y) == 0.0f) y = Cross(up, v3{1, 0, 0});
  Store(m->axisZ, up);
  Store(m->axisY, y);
  Store(m->axisX, Cross(y, up));
  for (float* v : {m->velocity, m->bodyVelocity, m->worldOmega, m->omega}) Store(v, {0, 0, 0});
  RebuildRotations(m);
  m->status = kStatusCalm;
  UpdateParts(m);
  const float z0 = m->position[2];
  Store(m->lastPosition, Load(m->position));
  for (int trial = 0; trial < kSettleTrials; ++trial) {
    RestartPendingSounds();
    ComputeParts(m, kSettleStep);
    m->position[2] -= kSettleStep;
    SweepAndQuery(m);
    bool touched = false;
    for (const contactpoint* p = m->interaction.usedContacts; p; p = p->nextContact) {
      touched = touched || p->contactCount > 0;
    }
    // The second test also ends the loop for a height that is not a number.
    if (touched || !(z0 - m->position[2] < kSettleDrop)) break;
  }
  m->position[2] += kSettleLift;
  UpdateParts(m);
  UpdateParts(m);
}

// ---- the record ----------------------------------------------------------------

void WriteBackState(dynamicsystem* m, dnsstate* record) {
  SetPoseColumn(record->pose, 0, Load(m->axisX));
  SetPoseColumn(record->pose, 1, Load(m->axisY));
  SetPoseColumn(record->pose, 2, Load(m->axisZ));
  SetPoseColumn(record->pose, 3, Load(m->position));
  Store(record->velocity, Load(m->velocity));
  record->status = m->status;
}

}  // namespace dnsmodel
