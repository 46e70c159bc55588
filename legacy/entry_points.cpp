// Sections: the frame; placing; reading back.
#include "legacy/entry_points.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "dynamics/aircraft.h"
#include "dynamics/flight_state.h"
#include "graphics/collision_world.h"
#include "graphics/mesh.h"
#include "legacy/contacts.h"
#include "legacy/dynamics.h"
#include "legacy/loader.h"
#include "legacy/sound_commands.h"
#include "platform/pinboard.h"

namespace dnsmodel {
namespace {

constexpr float kBoundsStart = 100000.0f;   // m, the extremes the box starts from
constexpr float kBoundsMargin = 0.025f;     // of each bound's own magnitude
constexpr int32_t kStatusWaterBit = 8;

dnsstate* Loaded() {
  dnsstate& record = Runtime().state;
  return record.model ? &record : nullptr;
}

void Transpose(const float in[16], float out[16]) {
  for (int r = 0; r < 4; ++r) {
    for (int c = 0; c < 4; ++c) out[4 * c + r] = in[4 * r + c];
  }
}

// The faces around p and the ground below it, for this frame's contacts
// and wind, or for a placing there.
void GatherAround(dnsstate* record, const float p[3]) {
  kxcollision* world = kxcollision::Current();
  GatherScenery(world, p, kGatherRadius);
  FindGroundBelowPoint(record, world, p);
}

void ReadControls(float controls[kControlCount]) {
  const kxpinboard* board = input::Pinboard();
  if (!board) return;
  const float* channel = kxdaircraft::PlayerChannels(board->slots, 0);
  controls[0] = channel[kChannelThrottle];
  controls[1] = channel[kChannelAileron];
  controls[2] = -channel[kChannelElevator];
  controls[3] = channel[kChannelRudder];
  controls[4] = channel[kChannelFlap];
  controls[5] = -channel[kChannelGear];
}

}  // namespace

// ---- the frame -----------------------------------------------------------------

std::optional<dnsstep> Step(int soundOn, float dt) {
  dnsstate* record = Loaded();
  if (!record) return std::nullopt;
  dnsruntime& rt = Runtime();
  record->soundOn = soundOn;
  GatherAround(record, record->transform + 12);
  input::Update();
  ReadControls(record->controls);
  record->dt = dt;
  Transpose(record->transform, record->pose);
  StepDynamics(&rt.root, record);
  Transpose(record->pose, record->transform);
  dnsstep out;
  std::memcpy(out.transform, record->transform, sizeof record->transform);
  const int32_t status = record->status;
  out.crashed = status & kStatusCrashed ? 1 : 0;
  out.inWater = (status & kStatusCrashed) && (status & kStatusWaterBit) ? 1 : 0;
  out.onGround = status == kStatusOnWheels ? 1 : 0;
  out.spin = rt.root->spinSpeed;
  RunPendingSoundCommands(dt);
  Store(out.velocity, Load(record->velocity));
  out.velocity[3] = 0.0f;
  out.forwardSpeed = Dot(Load(rt.root->velocity), Load(rt.root->axisX));
  out.kind = KindCode(record);
  out.throttle = 1.0f - (record->controls[0] + 1.0f) * 0.5f;
  return out;
}

// ---- placing -------------------------------------------------------------------

void SetPose(const float pose[16], const float velocity[4]) {
  dnsstate* record = Loaded();
  if (!record) return;
  GatherAround(record, pose + 12);
  std::memcpy(record->transform, pose, sizeof record->transform);
  Transpose(record->transform, record->pose);
  Store(record->velocity, Load(velocity));
  float speed = std::sqrt(Dot(Load(velocity), Load(velocity)) + velocity[3] * velocity[3]);
  if (speed < kFullResetSpeed) PlaceOnGround(&Runtime().root, record);
  else ResetDynamics(&Runtime().root, record);
  Transpose(record->pose, record->transform);
}

// ---- reading back --------------------------------------------------------------

void GetTransform(float out[16]) {
  if (const dnsstate* record = Loaded()) std::memcpy(out, record->transform, sizeof record->transform);
}

void GetBounds(shadowquad* out) {
  const dnsstate* record = Loaded();
  if (!record) return;
  v3 lo{kBoundsStart, kBoundsStart, kBoundsStart}, hi = -lo;
  bool any = false;
  for (const object* p = record->parts; p; p = p->next) {
    if (!p->mesh) continue;
    for (int i = 0; i < p->mesh->vertexCount; ++i) {
      float v[3];
      kxgeometry::GetVertexPosition(p->mesh, i, v);
      v3 q = Load(p->X) * v[0] + Load(p->Y) * v[1] + Load(p->Z) * v[2] + Load(p->R);
      lo = {std::min(lo.x, q.x), std::min(lo.y, q.y), std::min(lo.z, q.z)};
      hi = {std::max(hi.x, q.x), std::max(hi.y, q.y), std::max(hi.z, q.z)};
      any = true;
    }
  }
  // Without a vertex the extremes would make an inverted box of -200 km.
  if (!any) lo = hi = {0, 0, 0};
  float size = std::max(hi.x - lo.x, hi.y - lo.y);
  auto widen = [](float bound, float sign) { return bound + sign * kBoundsMargin * std::fabs(bound); };
  lo = {widen(lo.x, -1), widen(lo.y, -1), widen(lo.z, -1)};
  hi = {widen(hi.x, 1), widen(hi.y, 1), widen(hi.z, 1)};
  const float corners[4][5] = {
      {0, 0, lo.x, lo.y, 0}, {1, 0, hi.x, lo.y, 0}, {1, 1, hi.x, hi.y, 0}, {0, 1, lo.x, hi.y, 0}};
  std::memcpy(out->corners, corners, sizeof corners);
  out->size = size;
  Store(out->min, lo);
  Store(out->max, hi);
}

int IsPiccolo() { return Loaded() && Runtime().piccoloModel ? 1 : 0; }

}  // namespace dnsmodel
