#include "sim/viewer.h"

#include <algorithm>
#include <cmath>

#include "graphics/collision_world.h"
#include "sim/player.h"
#include "sim/session.h"
#include "sim/vec3.h"
#include "sim/world/world.h"

namespace sim {

namespace {

constexpr float kMoveSteps = 15.0f;           // a forward step covers 1/15 of the distance
constexpr float kOnTarget = 0.0001f;          // m; nearer than this the offset has no direction
constexpr float kCentredOffset = 1.01f;       // a viewer turned onto the target moves off it
constexpr float kFineHeightBand = 2.0f;       // m; within it height steps are fixed
constexpr float kCoarseHeightShare = 0.2f;    // of the height difference per step beyond it
constexpr float kCeilingFactor = 2.1f;        // x cloud height
constexpr float kGroundMargin = 0.49f;        // m; below h + this the viewer is lifted
constexpr float kGroundLift = 0.5f;           // m
constexpr float kProbeFromAbove = 15000.0f;   // m
constexpr int kMaxProbes = 100000;            // a VIEWC range of absurd size still ends

float pilot_lag = 0;  // the horizontal lag's smoothed sideways rate, shared by every call

float Ground(const float p[3]) { return kxcollision::GroundHeight(&TheWorld()->collision, p, nullptr); }

// Aims the axes from position at point; a point on the viewer, or one
// straight above or below it, leaves the previous axes.
void AimAt(const float point[3], const float position[3], float forward[3], float right[3], float up[3]) {
  float f[3] = {point[0] - position[0], point[1] - position[1], point[2] - position[2]};
  if (!vec3::Normalise(f)) return;
  float r[3] = {-f[1], f[0], 0.0f};
  if (!vec3::Normalise(r)) return;
  vec3::Copy(forward, f);
  vec3::Copy(right, r);
  vec3::Cross(up, forward, right);
}

// The autozoom factor of this frame; advances the blend or starts a new one.
float Autozoom(simplayer* p, float distance) {
  const simsession& s = session;
  float from = p->autozoom_from, to = p->autozoom_to, b = p->autozoom_blend;
  if (b < 1.0f) {
    float zoom = b < 0.5f ? from + 2.0f * b * b * (to - from)
                          : from + (to - from) * (1.0f - 2.0f * (1.0f - b) * (1.0f - b));
    p->autozoom_blend += s.settings.autozoom_speed * s.run.sim_time_step;
    return zoom;
  }
  const bool photo = TheWorld()->photo != 0;
  float wanted = kAutozoomNear;
  if (distance > s.settings.autozoom_distance) wanted = photo ? kAutozoomFarPhoto : kAutozoomFar;
  if (!photo && distance > 3.0f * s.settings.autozoom_distance) wanted = kAutozoomVeryFar;
  if (std::fabs(wanted - to) > 0.01f) {
    p->autozoom_from = to;
    p->autozoom_to = wanted;
    p->autozoom_blend = 0.0f;
  }
  return to;
}

void FixedViewer(simplayer* p, const float T[3], const float V[3], float z, float forward[3], float right[3],
                 float up[3]) {
  const sessionrun& s = session.run;
  const world& w = *TheWorld();
  AimAt(T, V, forward, right, up);
  float g = (w.pilot_view_scale / z) * p->pilot_view_delayy * forward[2];
  vec3::AddScaled(forward, forward, -g, up);
  if (p->pilot_view_delayx != 0.0f && p->flight_state) {
    const float* a = p->flight_state->position();
    const float* v = p->flight_state->velocity;
    float distance = vec3::Distance(a, p->viewer_position());
    // A viewer standing on the aircraft has no sideways rate to lag.
    if (distance > 0.0f) {
      float dt = s.sim_time_step;
      pilot_lag = (1.0f - dt) * pilot_lag + dt * (forward[0] * v[1] - forward[1] * v[0]) / distance;
      vec3::AddScaled(forward, forward, p->pilot_view_delayx * kLagSide / z * pilot_lag, right);
    }
  }
  if (!vec3::Normalise(forward)) return;
  float r[3] = {-forward[1], forward[0], 0.0f};
  if (!vec3::Normalise(r)) return;
  vec3::Copy(right, r);
  vec3::Cross(up, forward, right);
}

void ChaseViewer(simplayer* p, const float T[3], float V[3], float velocity[3], float pull[3], float forward[3],
                 float right[3], float up[3]) {
  const simsession& s = session;
  if (!s.run.pause) {
    float d[2] = {T[0] - V[0], T[1] - V[1]};
    float h = std::sqrt(d[0] * d[0] + d[1] * d[1]);
    if (h <= s.settings.distance_viewer_aircraft) {
      pull[0] = pull[1] = 0.0f;
    } else {
      float k = (h - s.settings.distance_viewer_aircraft) * (16.0f * p->follow_time_distance + 3.0f) / h;
      pull[0] = k * d[0];
      pull[1] = k * d[1];
    }
    float aim = T[2] + kChaseHeight;
    pull[2] = std::fabs(V[2] - aim) > kChaseHeightBand ? (8.0f * p->follow_time_distance + 2.0f) * (aim - V[2]) : 0.0f;
    float dt = s.run.sim_time_step;
    for (int k = 0; k < 3; ++k) {
      velocity[k] = velocity[k] * (1.0f - kChaseDamping * dt) + pull[k] * dt;
      V[k] += velocity[k] * dt;
    }
    float probe[3] = {V[0], V[1], V[2] + 1.0f};
    float h0 = Ground(probe);
    if (V[2] < h0 + kViewerClearance) V[2] = h0 + kViewerClearance;
  }
  AimAt(T, V, forward, right, up);
}

void CockpitViewer(const kxmatrix& target, float V[3], float forward[3], float right[3], float up[3]) {
  vec3::Copy(V, &target.R.x);
  vec3::Copy(forward, &target.X.x);
  vec3::Copy(right, &target.Y.x);
  vec3::Copy(up, &target.Z.x);
  float h0 = Ground(V);
  if (V[2] < h0 + kViewerClearance) V[2] = h0 + kViewerClearance;
}

}  // namespace

void ResetViewerLag() { pilot_lag = 0.0f; }

void UpdateViewer(cameraview mode, simplayer* p, const kxmatrix& target, float position[3], float velocity[3],
                  float pull[3], float forward[3], float right[3], float up[3]) {
  if (!p) return;
  const world& w = *TheWorld();
  const float f = *p->fov();
  float z = f * f * (w.photo ? kZoomPhoto : kZoomScenery) + kZoomOffset;
  const float* T = &target.R.x;
  switch (mode.Scene()) {
    case kViewFixed:
    case kViewFixedAutozoom:
    case kViewRecordFixed: {
      if (p->view_mode == kViewFixedAutozoom) {
        const float* a = p->flight_state ? p->flight_state->position() : T;
        z *= Autozoom(p, vec3::Distance(a, p->viewer_position()));
      }
      // The right button turns player 1's main view by hand; the zoom still
      // follows, every other viewer keeps aiming.
      bool turnedByHand = session.run.mouse_look && p == &players[0] && position == p->viewer_position();
      if (!turnedByHand) FixedViewer(p, T, position, z, forward, right, up);
      break;
    }
    case kViewFollow:
    case kViewRecordFollow:
      ChaseViewer(p, T, position, velocity, pull, forward, right, up);
      break;
    case kViewCockpit:
    case kViewCockpitInstruments:
    case kViewRecordCockpit:
      CockpitViewer(target, position, forward, right, up);
      break;
    default:
      break;
  }
  p->view_zoom = z;
}

void MoveViewer(float position[3], const float target[3], int forward, float turn, int up) {
  const sessionsettings& s = session.settings;
  const world& w = *TheWorld();
  if (up == 0) {
    float dx = position[0] - target[0], dy = position[1] - target[1];
    float c = std::cos(turn), sn = std::sin(turn);
    float rx = dx * c + dy * sn, ry = -dx * sn + dy * c;
    if (rx == 0.0f && ry == 0.0f) {
      position[0] = target[0] * kCentredOffset;
      position[1] = target[1] * kCentredOffset;
    } else {
      float k = 1.0f - static_cast<float>(forward) / kMoveSteps;
      position[0] = target[0] + rx * k;
      position[1] = target[1] + ry * k;
    }
  }
  float dx = position[0] - target[0], dy = position[1] - target[1];
  float d = std::sqrt(dx * dx + dy * dy);
  if (d < s.viewer_distance_min) {
    if (d <= kOnTarget) {
      position[0] = target[0];
      position[1] = target[1];
    } else {
      position[0] = target[0] + dx * s.viewer_distance_min / d;
      position[1] = target[1] + dy * s.viewer_distance_min / d;
    }
  } else if (d > s.viewer_distance_max) {
    position[0] = target[0] + dx * s.viewer_distance_max / d;
    position[1] = target[1] + dy * s.viewer_distance_max / d;
  }
  if (up != 0) {
    float difference = std::fabs(position[2] - target[2]);
    position[2] += difference <= kFineHeightBand ? s.viewer_change_height * static_cast<float>(up)
                                                 : difference * static_cast<float>(up) * kCoarseHeightShare;
    position[2] = std::min(position[2], kCeilingFactor * static_cast<float>(w.cloud_height));
  }
  // The ground below may lie above the viewer: probe from the viewer's height
  // upwards until a surface is found, then once from far above.
  float h = -1.0f;
  int found = 0;
  if (w.viewer_probe_step > 0.0f) {
    int probes = 0;
    for (float dz = 0.0f; dz <= w.viewer_probe_range && probes < kMaxProbes && !found; dz += w.viewer_probe_step, ++probes) {
      float p[3] = {position[0], position[1], position[2] + dz};
      found = kxcollision::FindGround(&w.collision, p, &h, nullptr);
    }
  }
  if (!found) {
    float p[3] = {position[0], position[1], kProbeFromAbove};
    found = kxcollision::FindGround(&w.collision, p, &h, nullptr);
  }
  if (found && h >= 0.0f && position[2] < h + kGroundMargin) position[2] = h + kGroundLift;
}

}  // namespace sim
