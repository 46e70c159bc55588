// The smaller parts: the helicopter's tail gyro (a rate gyro or a heading
// lock, which rewrites the tail channels and switches the runtime into
// helicopter mode), the total-energy variometer and the four-nozzle
// vectored-thrust lift system.
#include <algorithm>
#include <cmath>

#include "legacy/dynamics.h"
#include "legacy/part_operations.h"
#include "legacy/parts.h"
#include "legacy/sound_commands.h"

namespace dnsmodel {
namespace {

constexpr float kRateFeedForward = 20.0f;     // rad/s of yaw rate per unit of stick and of Fade
constexpr float kLockStickRate = 5.0f;        // rad/s of commanded yaw per unit of stick
constexpr float kLockRateDamping = 0.2f;
constexpr float kLockSpeed = 500.0f;          // rad/s of the engine below which the lock rests
constexpr float kTailDrivePerEngine = 0.12648362f;
constexpr float kRestingLevelRate = 2.0f;     // 1/s
constexpr int kTailOutputs[] = {9, 11};
constexpr int kTailDriveChannel = 12;
constexpr float kEnergyPerSpeedSq = 0.0509f;  // s^2/m, about 1/(2 g)
constexpr float kThrottleLag = 2.0f;          // 1/s (0.5 s)
constexpr float kNozzleRange = 1.57f;         // rad, horizontal to vertical
constexpr int kNozzleChannel = 6;

}  // namespace

// ---- gyro ------------------------------------------------------------------------

void UpdateGyro(object* part, dynamicsystem*) { Self<gyro>(part).Angle = 0.0f; }

void ComputeGyro(object* part, dynamicsystem* ds, float dt) {
  gyro& g = Self<gyro>(part);
  dnsruntime& rt = Runtime();
  // A gyro reading a channel that does not exist would steer from nothing.
  if (g.Channel < 0 || g.Channel >= kControlCount) return;
  float c = rt.channels[g.Channel];
  float rate = Dot(Load(part->Z), Load(ds->omega));
  float out;
  if (g.Lock == 0) {
    out = c - static_cast<float>(g.Reverse) * g.Gain * (rate - kRateFeedForward * g.Fade * c);
    rt.levelRate = 0.0f;
  } else {
    g.Angle += dt * (rate + (rt.piccoloModel ? g.Fade : kLockStickRate) * c);
    out = g.Angle * g.Gain - kLockRateDamping * rate;
    if (rt.lastEngineSpeed >= kLockSpeed) {
      rt.channels[kTailDriveChannel] = kTailDrivePerEngine * rt.lastEngineSpeed;
      rt.levelRate = kLockSpeed / rt.lastEngineSpeed;
    } else {
      out = 0.0f;
      g.Angle = 0.0f;
      rt.channels[kTailDriveChannel] = 0.0f;
      rt.levelRate = kRestingLevelRate;
    }
    rt.heliMode = 1;
  }
  out = std::clamp(out, -1.0f, 1.0f);
  for (int channel : kTailOutputs) rt.channels[channel] = out;
}

// ---- vario -----------------------------------------------------------------------

void UpdateNothing(object*, dynamicsystem*) {}

void ComputeVario(object* part, dynamicsystem* ds, float dt) {
  vario& v = Self<vario>(part);
  float u = ds->airVelocity[0];
  float e = kEnergyPerSpeedSq * u * u + ds->position[2];
  v.filteredChange = (1.0f - dt) * v.filteredChange + (e - v.previousEnergy);
  v.previousEnergy = e;
  v.energy = e;
}

// ---- harrier ---------------------------------------------------------------------

void UpdateHarrier(object* part, dynamicsystem*) {
  harrier& h = Self<harrier>(part);
  h.throttle = 0.0f;
  h.nozzle = 0.0f;
  sound::Reset(&h.soundRecord);
}

void ComputeHarrier(object* part, dynamicsystem* ds, float dt) {
  harrier& h = Self<harrier>(part);
  const float* ch = Runtime().channels;
  h.throttle = (ch[0] + 1.0f) * 0.5f * (kThrottleLag * dt) + (1.0f - kThrottleLag * dt) * h.throttle;
  float f = h.ForceMax * 0.25f * h.throttle;
  h.nozzle = dt * (ch[kNozzleChannel] + 1.0f) * 0.5f * kNozzleRange + (1.0f - dt) * h.nozzle;
  float c = std::cos(h.nozzle), s = std::sin(h.nozzle);
  const v3 omega = Load(ds->omega);
  float p = h.DampPitch * omega.y + h.DiffPitch * ch[2];
  float q = h.DampRoll * omega.x + h.DiffRoll * ch[1];
  float y = h.DampYaw * omega.z + h.DiffYaw * ch[3];
  // The yaw term is a sideways component on one nozzle of the rear pair,
  // the one its sign picks; it is not normalised.
  const v3 straight{c, 0, s}, yawed{c, y, s};
  const v3 nozzles[4] = {straight * ((1 + p) * (1 + q) * f), straight * ((1 + p) * (1 - q) * f),
                         (y < 0.0f ? yawed : straight) * ((1 - p) * (1 + q) * f),
                         (y < 0.0f ? straight : yawed) * ((1 - p) * (1 - q) * f)};
  const float* at[4] = {h.R0, h.R1, h.R2, h.R3};
  for (int i = 0; i < 4; ++i) AddForce(ds, nozzles[i], Load(at[i]));
  sound::Set(&h.soundRecord, h.throttle, 0.2f * h.throttle + 0.8f);
}

}  // namespace dnsmodel
