// Sections: the list; trees; aircraft parts; contest markers; numbers.
#include "sim/views/transparent_list.h"

#include <algorithm>
#include <cstring>

#include "core/vector3.h"
#include "dynamics/components/main_rotor.h"
#include "graphics/geometric_object.h"
#include "graphics/mesh.h"
#include "sim/player.h"
#include "sim/views/part_walk.h"
#include "sim/views/transparent_draw.h"
#include "sim/views/view_matrices.h"
#include "sim/world/contest_record.h"
#include "sim/world/world.h"

namespace sim {
namespace {

constexpr float kNearTreeAhead = 30.0f;   // m: trees this close ahead may stand beside the view
constexpr float kNearTreeMargin = 34.0f;  // m, how far outside the side planes they still show
constexpr float kTreeMargin = 4.0f;       // m, elsewhere
constexpr float kFullSpeed = 1200.0f;     // rpm from which discs and blades look the same
constexpr float kDiscAlpha = 0.25f;
constexpr float kBladeAlpha = 0.05f;
constexpr float kMarkerRange = 50.0f;     // m before the pylon where the marker brightens
constexpr float kMarkerAlpha = 0.25f;
constexpr float kMarkerRise = 0.015f;     // alpha per m
constexpr float kMarkerHeight = 2.5f;     // m above the pylon's foot
constexpr float kGateAlpha = 0.3f;

transparentlist thelist;
matrixstack partstack;

using kxvector3::Dot;

// B's rotation with p as the translation.
void BillboardAt(const float B[16], const float p[3], float out[16]) {
  std::memcpy(out, B, 12 * sizeof(float));
  out[12] = p[0];
  out[13] = p[1];
  out[14] = p[2];
  out[15] = 1.0f;
}

// Only the main rotors tilt their disc; propellers and tail rotors stay flat.
float ConeOf(const kxgeometricobject* part) {
  kxdmainrotor* rotor = kxdmainrotor::As(part->Object);
  return rotor ? rotor->ConeValue() : 0.0f;
}

void AddPart(const float V[16], kxgeometricobject* node) {
  const kxmatrix& m = partstack.current;
  const float* p = &m.R.x;
  if (node->Flags & kxgeometricobject::kFlagRotating) {
    transparentrecord* r = AddTransparent(V, p);
    if (!r) return;
    std::memcpy(r->matrix, m.Data(), sizeof r->matrix);
    r->rpm = PartRpm(node);
    if (node->discTexture) {
      r->draw = DrawPropellerDisc;
      r->lit = 1;
      r->disc_texture = node->discTexture;
      r->disc_radius = node->discRadius;
      r->cone = ConeOf(node);
    } else {
      r->draw = DrawFadingBlades;
      r->element = node->mesh;
    }
    return;
  }
  if (node->mesh && node->mesh->transparent) {
    transparentrecord* r = AddTransparent(V, p);
    if (!r) return;
    std::memcpy(r->matrix, m.Data(), sizeof r->matrix);
    r->element = node->mesh;
    r->lit = 1;
    r->reflect = 1;
  }
}

void WalkParts(const float V[16], kxgeometricobject* node) {
  if (!partstack.Push()) return;
  partstack.Multiply(node->Matrix);
  for (kxnode* c = node->firstChild; c; c = c->nextSibling)
    if (kxgeometricobject* child = kxnode::As<kxgeometricobject>(c)) WalkParts(V, child);
  AddPart(V, node);
  partstack.Pop();
}

}  // namespace

// ---- the list

transparentlist& TransparentList() { return thelist; }

void ResetTransparentList() {
  thelist.count = 0;
  thelist.dropped = 0;
  thelist.order[0] = nullptr;
}

transparentrecord* AddTransparent(const float V[16], const float p[3]) {
  if (thelist.count >= transparentlist::kCapacity) {
    ++thelist.dropped;
    return nullptr;
  }
  transparentrecord* r = &thelist.records[thelist.count++];
  *r = transparentrecord{};
  r->depth = ViewDepth(V, p);
  kxvector3::SetIdentity(r->matrix);
  return r;
}

void SortTransparentList() {
  transparentrecord** order = thelist.order;
  for (int i = 0; i < thelist.count; ++i) order[i] = &thelist.records[i];
  order[thelist.count] = nullptr;
  if (thelist.count > 1) {
    std::sort(order, order + thelist.count,
              [](const transparentrecord* a, const transparentrecord* b) { return a->depth < b->depth; });
  }
}

// ---- trees

int TreeCount(const world& w, int showTrees, float treeDensity) {
  if (!showTrees || !(treeDensity > 0.0f)) return 0;
  // Never more than the scenery has, so the conversion cannot overflow.
  float n = static_cast<float>(w.billboard_count) * std::min(treeDensity, 1.0f);
  return n > 0.0f ? static_cast<int>(n) : 0;
}

bool TreeInView(const float d[3], const float X[3], const float e1[3], const float e2[3]) {
  float ahead = Dot(d, X);
  float margin = (ahead > 0.0f && ahead < kNearTreeAhead) ? kNearTreeMargin : kTreeMargin;
  return Dot(d, e1) >= -margin && Dot(d, e2) >= -margin;
}

void CollectTrees(const world& w, int treeCount, const float V[16], const float B[16], const float X[3],
                  const float eye[3], const float e1[3], const float e2[3]) {
  int trees = 0;
  for (const kxtransparentgeometry* t = w.transparent; t && t->element; ++t) {
    if (!t->billboard) {
      // A fixed transparent object sits where its vertices are: no placement.
      transparentrecord* r = AddTransparent(V, t->centre);
      if (!r) return;
      r->element = t->element;
      r->lit = 1;
      continue;
    }
    if (trees++ >= treeCount) continue;
    const float d[3] = {t->centre[0] - eye[0], t->centre[1] - eye[1], t->centre[2] - eye[2]};
    if (!TreeInView(d, X, e1, e2)) continue;
    transparentrecord* r = AddTransparent(V, t->centre);
    if (!r) return;
    r->element = t->element;
    r->billboard = 1;
    BillboardAt(B, t->centre, r->matrix);
  }
}

// ---- aircraft parts

matrixstack& PartStack() { return partstack; }

void CollectTransparentParts(const float V[16], kxgeometricobject* root) {
  if (!root) return;
  partstack.Reset();
  WalkParts(V, root);
}

// ---- contest markers

void CollectContestMarkers(const float V[16], const float B[16], const contestrec* contest, const simplayer* viewer) {
  if (!contest) return;
  switch (contest->kind) {
    case kContestPylonRace:
      for (const pylonrec* pylon = contest->first_pylon; pylon; pylon = pylon->next) {
        // One metre from the pylon towards the viewer, 2.5 m up.
        const float p[3] = {pylon->position[0] + B[5], pylon->position[1] - B[4], pylon->position[2] + kMarkerHeight};
        transparentrecord* r = AddTransparent(V, p);
        if (!r) return;
        BillboardAt(B, p, r->matrix);
        r->billboard = 1;
        r->draw = DrawPylonMarker;
        r->pylon = pylon;
        r->contest = contest;
      }
      break;
    case kContestBalloonPop:
      for (const balloonrec* b = contest->first_balloon; b; b = b->next) {
        if (b->popped) continue;
        for (const kxgeometry* el = b->mesh; el; el = el->next) {
          transparentrecord* r = AddTransparent(V, &b->frame.R.x);
          if (!r) return;
          std::memcpy(r->matrix, b->frame.Data(), sizeof r->matrix);
          r->element = el;
          r->lit = 1;
        }
      }
      break;
    case kContestDragRace: {
      transparentrecord* r = AddTransparent(V, contest->finish_point);
      if (!r) return;
      r->draw = DrawDragRaceGate;
      r->contest = contest;
      r->player = viewer;
      break;
    }
    default:
      break;
  }
}

// ---- numbers

float DiscAlpha(float rpm) {
  if (rpm > kFullSpeed) return kDiscAlpha;
  return rpm > 0.0f ? kDiscAlpha * rpm / kFullSpeed : 0.0f;
}

float BladeAlpha(float rpm) {
  if (rpm >= kFullSpeed) return kBladeAlpha;
  float f = rpm > 0.0f ? rpm / kFullSpeed : 0.0f;
  return kBladeAlpha + (1.0f - kBladeAlpha) * (1.0f - f);
}

float PylonMarkerAlpha(float s) {
  if (!(s < 0.0f)) return 0.0f;
  if (s < -kMarkerRange) return kMarkerAlpha;
  return kMarkerAlpha + kMarkerRise * (s + kMarkerRange);
}

void DragGateColour(contestphase phase, float rgba[4]) {
  rgba[0] = phase == kContestFinished ? 0.0f : 1.0f;
  rgba[1] = (phase == kContestFlying || phase == kContestFinished) ? 1.0f : 0.0f;
  rgba[2] = 0.0f;
  rgba[3] = kGateAlpha;
}

}  // namespace sim
