#include "sim/placement.h"

#include <cmath>
#include <cstring>

#include "core/maths.h"
#include "dynamics/instance.h"
#include "graphics/collision_world.h"
#include "graphics/convex_body.h"
#include "graphics/geometric_object.h"
#include "graphics/mesh.h"
#include "platform/log.h"
#include "platform/music.h"
#include "sim/app_hooks.h"
#include "sim/menu_bar_actions.h"
#include "sim/player.h"
#include "sim/session.h"
#include "sim/vec3.h"
#include "sim/view_modes.h"
#include "sim/views/reflection_maps.h"
#include "sim/views/shadow_prep.h"
#include "sim/world/world.h"

namespace sim {

namespace {


// The pair records each player's flight state points at.
kxcpair pair_tables[kPlayers][kRotatingPairs];

bool IsHelicopter(const simplayer* p) {
  return p->flight_state && (p->flight_state->flags & kxdflightstate::kRotorcraft);
}

bool Admits(const world& w, int i, bool helicopter) {
  int bit = helicopter ? world::kStartHelicopters : world::kStartAirplanes;
  return (w.start_flags[i] & bit) != 0;
}

void TestPart(kxgeometricobject* object, const kxgeometricobject* shape, void** meshes, float** frames, int* count,
              bool* overflow) {
  kxgeometry* mesh = object->mesh ? object->mesh : shape ? shape->mesh : nullptr;
  if (object->firstChild || !mesh || mesh->hullCount <= 0 || !IsRotatingComponent(object->Object)) return;
  if (*count >= kxdflightstate::kRotatingParts) {
    *overflow = true;
    return;
  }
  meshes[*count] = mesh;
  frames[*count] = object->MatrixDraw.Data();
  ++*count;
}

// shape walks the same tree in the geometry template, child for child, as
// long as the two trees agree.
void CollectParts(kxgeometricobject* object, const kxgeometricobject* shape, void** meshes, float** frames, int* count,
                  bool* overflow) {
  const kxnode* s = shape ? shape->firstChild : nullptr;
  for (kxnode* c = object->firstChild; c; c = c->nextSibling, s = s ? s->nextSibling : nullptr) {
    const kxgeometricobject* childShape = s ? kxnode::As<kxgeometricobject>(const_cast<kxnode*>(s)) : nullptr;
    if (kxgeometricobject* child = kxnode::As<kxgeometricobject>(c))
      CollectParts(child, childShape, meshes, frames, count, overflow);
  }
  TestPart(object, shape, meshes, frames, count, overflow);
}

void PairWithBalloons(kxdflightstate* s, kxcpair* pairs) {
  std::memset(static_cast<void*>(pairs), 0, sizeof(kxcpair) * kRotatingPairs);
  s->rotating_pairs = pairs;
  int n = 0;
  bool full = false;
  for (int i = 0; i < s->rotating_count && !full; ++i) {
    kxcbody* part = static_cast<kxcbody*>(s->rotating_bodies[i]);
    for (contestrec* c = TheWorld()->first_contest; c && !full; c = c->next) {
      if (c->kind != kContestBalloonPop) continue;
      for (balloonrec* b = c->first_balloon; b; b = b->next) {
        if (n >= kRotatingPairs) {
          kxsystem::Log("sim:  more than %d part-balloon pairs, the rest take no part\n", kRotatingPairs);
          full = true;
          break;
        }
        if (kxcpair::Init(&pairs[n], part, b->body)) ++n;
        else kxsystem::Log("error cpair init\n");
      }
    }
  }
}

void RebuildRotatingParts(simplayer* p, kxdflightstate* s, const kxdaircraftinstance* instance) {
  int before = s->rotating_count;
  s->rotating_count = 0;
  const kxgeometricobject* shapes = kxnode::As<kxgeometricobject>(instance->GeometryTemplate);
  if (kxgeometricobject* root = kxnode::As<kxgeometricobject>(s->graphics_root))
    CollectRotatingParts(root, s->rotating_meshes, s->rotating_frames, &s->rotating_count, shapes);
  for (int i = 0; i < s->rotating_count; ++i) {
    kxcbody* body = static_cast<kxcbody*>(s->rotating_bodies[i]);
    kxcbody::Init(&body, static_cast<kxgeometry*>(s->rotating_meshes[i]), s->rotating_frames[i], 0);
    s->rotating_bodies[i] = body;
  }
  for (int i = s->rotating_count; i < before && i < kxdflightstate::kRotatingParts; ++i) {
    kxcbody* body = static_cast<kxcbody*>(s->rotating_bodies[i]);
    kxcbody::Free(&body);
    s->rotating_bodies[i] = nullptr;
  }
  s->collision_body_count = s->rotating_count;
  s->collision_bodies = s->rotating_bodies;
  PairWithBalloons(s, pair_tables[PlayerIndex(p) == 1 ? 1 : 0]);
}

}  // namespace

kxmatrix HeadingFrame(float headingDegrees, const float position[3]) {
  const float h = headingDegrees * kxmaths::kRadiansPerDegree;
  const float c = std::cos(h), s = std::sin(h);
  kxmatrix frame;
  kxmatrix::SetIdentity(&frame);
  frame.X = {c, -s, 0.0f, 0.0f};
  frame.Y = {s, c, 0.0f, 0.0f};
  frame.R = {position[0], position[1], position[2], 1.0f};
  return frame;
}

void CollectRotatingParts(kxgeometricobject* object, void** meshes, float** frames, int* count,
                          const kxgeometricobject* shapes) {
  if (!object) return;
  bool overflow = false;
  CollectParts(object, shapes, meshes, frames, count, &overflow);
  if (overflow) kxsystem::Log("sim:  more than %d rotating parts, the rest take no part\n", kxdflightstate::kRotatingParts);
}

void FreeRotatingBodies(kxdflightstate* s) {
  if (!s) return;
  for (void*& slot : s->rotating_bodies) {
    kxcbody* body = static_cast<kxcbody*>(slot);
    kxcbody::Free(&body);
    slot = nullptr;
  }
  s->rotating_count = 0;
  s->collision_body_count = 0;
}

void SetAircraftPose(simplayer* p, const kxmatrix& frame, const float velocity[4]) {
  if (!p || !p->flight_state) return;
  kxdflightstate* s = p->flight_state;
  if (p->legacy) {
    p->crash_timer = 0.0f;
    s->stop_values[0] = s->stop_values[1] = 0.0f;
    // The runtime steps the model only while its crash flag is clear.
    s->crash = 0;
    s->crash_kind = kxdflightstate::kCrashGround;
    const applicationhooks& hooks = Hooks();
    if (hooks.legacy_set_pose) hooks.legacy_set_pose(frame, velocity);
    else kxsystem::Log("sim:  no legacy runtime in this program\n");
    if (hooks.legacy_get_transform) hooks.legacy_get_transform(&s->frame);
    if (p->view_mode == kViewFollow) SetViewMode(p, kViewFollow);
    return;
  }
  if (session.run.rope) {
    FSchleppDetach();
    session.run.rope = nullptr;
  }
  p->crash_timer = 0.0f;
  // A flight state without a loaded aircraft behind it is not the
  // placement's to change: its part tables belong to whoever filled them.
  kxdaircraftinstance* instance = kxdaircraftinstance::Loaded(PlayerIndex(p));
  if (!instance) return;
  kxdaircraftinstance::PlaceAt(instance, frame, {velocity[0], velocity[1], velocity[2], velocity[3]});
  if (p->view_mode == kViewFollow) SetViewMode(p, kViewFollow);
  RebuildRotatingParts(p, s, instance);
}

void ResetAircraft(simplayer* p, kxmatrix* frame, const float velocity[4]) {
  if (!p || !p->flight_state || !frame) return;
  const kxcollision* c = &TheWorld()->collision;
  float* at = &frame->R.x;
  const float lowest = p->flight_state->bounds_min[2];
  if (at[2] >= 0.0f) {
    float probe[3] = {at[0], at[1], at[2] + kGroundRuleHeight};
    float h = kxcollision::GroundHeight(c, probe, nullptr);
    if (at[2] + lowest - h < kGroundRuleHeight) at[2] = h - lowest;
  } else {
    float probe[3] = {at[0], at[1], kGroundProbeHeight};
    at[2] = kxcollision::GroundHeight(c, probe, nullptr) - lowest;
  }
  SetAircraftPose(p, *frame, velocity);
  if (session.settings.music_restartcrash) Music().Stop();
}

int PlaceAtStart(int index, simplayer* p, int placeViewer) {
  world& w = *TheWorld();
  if (!p || !p->flight_state) return index;
  if (index < 0 || index >= w.start_count) index = 0;
  const bool helicopter = IsHelicopter(p);
  // A scenery without a start that admits the aircraft still places it: at
  // entry 0, which holds the defaults when the file has no start at all.
  // A start the ground does not reach is passed over while another has
  // ground below it: the aircraft would fall from it for ever.
  int found = -1;
  for (int pass = 0; pass < 2 && found < 0; ++pass) {
    for (int tried = 0; tried < w.start_count; ++tried) {
      int i = (index + tried) % w.start_count;
      if (Admits(w, i, helicopter) && (pass == 1 || GroundBelowStart(&w, i))) {
        found = i;
        break;
      }
    }
  }
  index = found < 0 ? 0 : found;

  kxmatrix frame = HeadingFrame(w.start_heading[index], w.start_aircraft[index]);
  const float c = frame.X.x, s = frame.Y.x;
  if (session.run.player_count > 1) {
    float side = kPlayerSpacing * static_cast<float>(2 * PlayerIndex(p) - 1);
    frame.R.x += s * side;
    frame.R.y += c * side;
  }
  const float still[4] = {};
  ResetAircraft(p, &frame, still);
  p->saved_frame = frame;

  const kxdflightstate* st = p->flight_state;
  if (placeViewer) {
    float* v = p->viewer_position();
    if (helicopter && !w.photo) {
      for (int k = 0; k < 3; ++k)
        v[k] = st->position()[k] - kHeliViewerBack * st->row_x()[k] + kHeliViewerSide * st->row_y()[k] +
               kStartViewerHeight * st->row_z()[k];
    } else {
      for (int k = 0; k < 3; ++k) v[k] = w.start_viewer[index][k];
      if (v[2] < 0.0f) v[2] = st->position()[2] + kStartViewerHeight;
    }
    SetViewMode(p, p->view_mode);
    for (int k = 0; k < 3; ++k) p->saved_viewer_position[k] = v[k];
  }
  kxsystem::Log("sim:  aircraft=(%.2f,%.2f,%.2f), viewer=(%.2f,%.2f,%.2f)\n", st->position()[0], st->position()[1],
                st->position()[2], p->viewer_position()[0], p->viewer_position()[1], p->viewer_position()[2]);
  p->autozoom_blend = 2.0f;
  p->autozoom_from = 1.0f;
  p->autozoom_to = 1.0f;
  // The views' reflection maps at the new place, in two passes.
  BuildReflectionMaps(&w);
  BuildReflectionMaps(&w);
  return index;
}

}  // namespace sim
