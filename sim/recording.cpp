// In-memory recording and playback: the record walk over the live
// aircraft's parts, the recording and playback clocks, and the blended pose
// of the playback aircraft.

#include "sim/recording.h"

#include <algorithm>
#include <cmath>

#include "core/matrix.h"
#include "dynamics/flight_state.h"
#include "graphics/geometric_object.h"
#include "sim/player.h"
#include "sim/session.h"
#include "sim/vec3.h"
#include "sim/view_modes.h"

namespace sim {
namespace {

constexpr float kFrameInterval = 0.033333335f;  // s of recording clock between frames, 1/30 as a float
constexpr int kFloats = simplayer::kRecordFloats;

const kxgeometricobject* PartOf(const kxnode* node) {
  return kxnode::As<kxgeometricobject>(const_cast<kxnode*>(node));
}

// ---- record walk

struct recordwalk {
  float* out;
  long room;     // records that still fit
  long written;
  bool full;
};

// Each node's Matrix is its frame in its parent's: the node's world frame is
// its Matrix placed in the parent's world frame.
void Record(const kxgeometricobject* node, const kxmatrix& parent, recordwalk& w) {
  kxmatrix current;
  kxmatrix::Multiply4x4(&current, &parent, &node->Matrix);
  for (const kxnode* c = node->firstChild; c && !w.full; c = c->nextSibling)
    if (const kxgeometricobject* part = PartOf(c)) Record(part, current, w);
  if (!node->mesh || w.full) return;
  if (w.written >= w.room) {
    w.full = true;
    return;
  }
  float* r = w.out + w.written * kFloats;
  const float* rows[3] = {&current.X.x, &current.Y.x, &current.R.x};
  for (int row = 0; row < 3; ++row) vec3::Copy(r + 3 * row, rows[row]);
  ++w.written;
}

// ---- playback walk

/* The blend of two records as a frame. Each axis is blended, turned to unit
   length (two axes 90 degrees apart give their bisector, not a shortened
   vector) and given back the blended length of the two it came from: a part
   the drawing hides by shrinking it (a broken propeller's blades) stays
   hidden in the playback. Z is rebuilt as X x Y at the same scale. */
void Blend(const float* a, const float* b, float t, kxmatrix* out) {
  float axis[2][3], position[3], scale[2];
  for (int i = 0; i < 2; ++i) {
    const float* ai = a + 3 * i;
    const float* bi = b + 3 * i;
    for (int k = 0; k < 3; ++k) axis[i][k] = (1.0f - t) * ai[k] + t * bi[k];
    scale[i] = (1.0f - t) * vec3::Length(ai) + t * vec3::Length(bi);
    vec3::Normalise(axis[i]);
  }
  for (int k = 0; k < 3; ++k) position[k] = (1.0f - t) * a[6 + k] + t * b[6 + k];
  float z[3];
  vec3::Cross(z, axis[0], axis[1]);
  const float zScale = std::sqrt(scale[0] * scale[1]);
  out->X = {scale[0] * axis[0][0], scale[0] * axis[0][1], scale[0] * axis[0][2], 0.0f};
  out->Y = {scale[1] * axis[1][0], scale[1] * axis[1][1], scale[1] * axis[1][2], 0.0f};
  out->Z = {zScale * z[0], zScale * z[1], zScale * z[2], 0.0f};
  out->R = {position[0], position[1], position[2], 1.0f};
}

struct playbackwalk {
  const float* a;
  const float* b;
  long count;
  float blend;
  long index;    // post-order index of the next meshed part met walking backwards
};

long CountMeshed(const kxgeometricobject* node) {
  long n = node->mesh ? 1 : 0;
  for (const kxnode* c = node->firstChild; c; c = c->nextSibling)
    if (const kxgeometricobject* part = PartOf(c)) n += CountMeshed(part);
  return n;
}

/* The records are world frames in post-order (children first); the drawing
   composes each part's Matrix with its parent's. So a part's Matrix must be
   its record relative to its parent's placed frame, which has to be known
   first. Walking the tree backwards (node, then its children last to first)
   meets the parts in exactly the reverse of the record order, parents
   before children: each part's record is found by counting down from the
   number of meshed parts. Parts whose records are missing keep their
   Matrix and carry their children as loaded. */
void Place(kxgeometricobject* node, const kxmatrix& parent, const kxmatrix& parentInverse, playbackwalk& w) {
  kxmatrix world;
  bool placed = false;
  if (node->mesh && --w.index < w.count) {
    Blend(w.a + w.index * kFloats, w.b + w.index * kFloats, w.blend, &world);
    kxmatrix::Multiply4x4(&node->Matrix, &parentInverse, &world);
    placed = true;
  }
  if (!placed) kxmatrix::Multiply4x4(&world, &parent, &node->Matrix);
  node->MatrixDraw = world;
  kxmatrix inverse;
  if (!node->lastChild) return;
  if (kxmatrix::Invert(world, inverse) != 0) inverse = kxmatrix::Identity();
  for (kxnode* c = node->lastChild; c; c = c->prevSibling)
    if (kxgeometricobject* part = kxnode::As<kxgeometricobject>(c)) Place(part, world, inverse, w);
}

// ---- clocks

void StopRecording(simplayer& p) {
  p.recording.state = kRecordIdle;
  p.recording.present = p.recording.frame > 0 ? 1 : 0;
}

void TakeFrame(simplayer& p) {
  recordframe* frames = p.record_store.frames;
  const kxgeometricobject* root = p.flight_state ? PartOf(p.flight_state->graphics_root) : nullptr;
  const long used = (p.record_store.write - p.record_store.positions) / kFloats;
  long n = 0;
  if (root) n = RecordParts(root, p.record_store.write, simplayer::kRecordPositions - used);
  if (n < 0) {  // the store is full: what is there stays playable
    StopRecording(p);
    return;
  }
  frames[p.recording.frame] = {p.recording.time, static_cast<int>(n), p.record_store.write};
  p.record_store.write += n * kFloats;
  ++p.recording.frame;
  frames[p.recording.frame].records = nullptr;  // the index has a spare entry for this end mark
  if (p.recording.frame >= simplayer::kRecordFrames) StopRecording(p);
}

void Recording(simplayer& p, float dt) {
  p.recording.header.length = p.recording.time;
  if (p.recording.frame == 0 || p.recording.time - p.record_store.frames[p.recording.frame - 1].time > kFrameInterval)
    TakeFrame(p);
  p.recording.time += dt;
}

void Restart(simplayer& p) {
  p.recording.frame = 1;
  p.recording.time = 0.0f;
}

void PlaybackClock(simplayer& p, float dt) {
  if (p.recording.state == kRecordPlaying) p.recording.time += session.settings.playback_speed * dt;
  if (p.recording.frame < 1) p.recording.frame = 1;
  if (p.recording.time >= p.recording.header.length) {
    Restart(p);
    return;
  }
  const recordframe* frames = p.record_store.frames;
  // The search ends at the last frame: beyond the end mark lie old frames.
  while (frames[p.recording.frame].records && frames[p.recording.frame].time < p.recording.time) {
    if (p.recording.frame + 1 >= simplayer::kRecordFrames) {
      Restart(p);
      return;
    }
    if (!frames[p.recording.frame + 1].records) break;
    ++p.recording.frame;
  }
}

}  // namespace

long RecordParts(const kxgeometricobject* root, float* out, long capacity) {
  if (!root || !out) return 0;
  recordwalk w{out, std::max(capacity, 0L), 0, false};
  Record(root, kxmatrix::Identity(), w);
  return w.full ? -1 : w.written;
}

long RecordedParts(const kxgeometricobject* root) { return root ? CountMeshed(root) : 0; }

void PlaybackParts(kxgeometricobject* root, const float* a, const float* b, long count, float blend) {
  if (!root || !a || !b || count <= 0) return;
  playbackwalk w{a, b, count, blend, CountMeshed(root)};
  Place(root, kxmatrix::Identity(), kxmatrix::Identity(), w);
}

void UpdateRecordingClock(simplayer* player, float dt) {
  if (!player || !player->record_store.frames || !player->record_store.positions) return;
  simplayer& p = *player;
  if (p.recording.state == kRecording) {
    Recording(p, dt);
  } else if (p.recording.present) {
    PlaybackClock(p, dt);
  }
}

void UpdatePlaybackPose(simplayer* player, float) {
  if (!player || !player->recording.present || !player->record_store.frames) return;
  simplayer& p = *player;
  if (p.recording.frame < 1 || p.recording.frame >= simplayer::kRecordFrames) return;
  const recordframe& A = p.record_store.frames[p.recording.frame - 1];
  const recordframe& B = p.record_store.frames[p.recording.frame];
  if (!A.records || !B.records) return;
  // A step of 0 between frames (possible in a loaded file) shows the earlier one.
  const float span = B.time - A.time;
  float blend = span > 0.0f ? (p.recording.time - A.time) / span : 0.0f;
  blend = std::clamp(blend, 0.0f, 1.0f);
  p.recording.blend = blend;
  const long count = std::min(A.count, B.count);
  if (count > 0) {
    kxmatrix pose;
    Blend(A.records, B.records, blend, &pose);
    for (int row = 0; row < 4; ++row) vec3::Copy(p.recording.pose.Data() + 4 * row, pose.Data() + 4 * row);
    PlaybackParts(p.recording.instance, A.records, B.records, count, blend);
  }
  if (p.recording.state == kRecordPlaying && p.recording.time == 0.0f) SetViewMode(&p, p.view_mode);
}

}  // namespace sim
