#include "dynamics/components/ground_contact.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "core/type.h"
#include "dynamics/aircraft.h"
#include "dynamics/frame_transform.h"
#include "dynamics/instance.h"
#include "dynamics/world.h"
#include "graphics/geometric_object.h"

namespace kxdground {

namespace {
constexpr int kStrikeContacts = 4;  // surfaces asked for per strike test

const kxcollnear* NearOf(const kxdaircraftinstance* instance) { return instance ? instance->ContactSet() : nullptr; }

// Whether the box placed by frame lies where the instance's frame found
// nothing: its farthest point from the frame's origin bounds it.
bool Clear(const kxboxrecord& box, const kxmatrix& frame, const kxdaircraftinstance* instance) {
  return ClearWithin(BoxReach(box), frame, frame.R, instance);
}
}  // namespace

float BoxReach(const kxboxrecord& box) {
  float reach = 0.0f;
  for (int k = 0; k < 3; ++k) reach += std::max(std::fabs(box.min[k]), std::fabs(box.max[k]));
  return reach;
}

bool ClearWithin(float reach, const kxmatrix& frame, const kxvector4r& origin, const kxdaircraftinstance* instance) {
  if (instance && instance->FrameClear) return true;
  if (!instance || !(instance->ClearRadius > 0.0f) || !(reach >= 0.0f)) return false;
  // |M p| <= max |axis| (|p.x| + |p.y| + |p.z|): one root for the three axes.
  float longest = std::max({kxvector4r::Dot3(frame.X, frame.X), kxvector4r::Dot3(frame.Y, frame.Y),
                            kxvector4r::Dot3(frame.Z, frame.Z)});
  return instance->ClearAround(origin, std::sqrt(longest) * reach);
}

float StrikeAskExtent(float reach, const kxmatrix& frame) {
  float longest = std::max({kxvector4r::Dot3(frame.X, frame.X), kxvector4r::Dot3(frame.Y, frame.Y),
                            kxvector4r::Dot3(frame.Z, frame.Z)});
  return reach >= 0.0f ? std::sqrt(longest) * reach : std::numeric_limits<float>::quiet_NaN();
}

float BoxAskExtent(const kxboxrecord& box, const kxmatrix& frame) {
  for (int k = 0; k < 3; ++k) {
    if (!(box.max[k] >= box.min[k])) return -1.0f;
  }
  return StrikeAskExtent(BoxReach(box), frame);
}

float WiderAsk(float a, float b) {
  if (std::isnan(a) || std::isnan(b)) return std::numeric_limits<float>::quiet_NaN();
  return std::max(a, b);
}

float StrikeReach(kxgeometricobject* g) {
  float reach = 0.0f;
  for (kxnode* n = g ? g->firstChild : nullptr; n; n = n->nextSibling) {
    if (!kxtype::IsDerivedFrom(n->type, &kxgeometricobject::Type)) continue;
    const kxgeometricobject* child = static_cast<kxgeometricobject*>(n);
    const kxboxrecord& box = child->box;
    if (!(box.max[0] >= box.min[0])) continue;  // no bounds: the child never strikes
    for (const kxvector4r& p : box.six) {
      kxvector4r q = kxdframe::Transform(child->Matrix, p);
      reach = std::max(reach, std::fabs(q.x) + std::fabs(q.y) + std::fabs(q.z));
    }
  }
  return std::isfinite(reach) ? reach : std::numeric_limits<float>::quiet_NaN();
}

int ShapeContacts(kxgeometricobject* object, const kxmatrix& frame, int flag, kxdcontact* out, int max,
                  const kxdaircraftinstance* instance) {
  // A clear frame's answer, before anything else is looked at.
  if (instance && instance->FrameClear) return 0;
  kxdworld* world = kxdynamics::CurrentWorld();
  if (!object || !world || !out || max <= 0) return 0;
  kxboxrecord& box = object->box;
  for (int k = 0; k < 3; ++k) {
    if (!(box.max[k] >= box.min[k])) return 0;  // no mesh bounds: nothing touches
  }
  if (Clear(box, frame, instance)) return 0;
  return world->BoxContacts(&box, frame, flag, out, std::min(max, kMaxContacts), NearOf(instance));
}

int FacesStrike(const kxboxrecord& box, const kxmatrix& frame, kxdcontact* hit, const kxdaircraftinstance* instance) {
  if (instance && instance->FrameClear) return 0;
  kxdworld* world = kxdynamics::CurrentWorld();
  if (!world || !(box.max[0] >= box.min[0]) || Clear(box, frame, instance)) return 0;
  kxvector4r points[6];
  for (int k = 0; k < 6; ++k) points[k] = kxdframe::Transform(frame, box.six[k]);
  kxdcontact contacts[kStrikeContacts];
  if (world->NearContacts(points, 6, contacts, kStrikeContacts, NearOf(instance)) <= 0) return 0;
  *hit = contacts[0];
  return 1;
}

kxgeometricobject* StruckChild(kxgeometricobject* g, const kxmatrix& frame, kxdcontact* hit,
                               const kxdaircraftinstance* instance) {
  for (kxnode* n = g ? g->firstChild : nullptr; n; n = n->nextSibling) {
    if (!kxtype::IsDerivedFrom(n->type, &kxgeometricobject::Type)) continue;
    kxgeometricobject* child = static_cast<kxgeometricobject*>(n);
    kxmatrix placed;
    kxmatrix::Multiply4x4(&placed, &frame, &child->Matrix);
    if (FacesStrike(child->box, placed, hit, instance)) return child;
  }
  return nullptr;
}

kxdaircraftinstance* InstanceOf(kxnode* component, kxdaircraftinstance* own) {
  if (own) return own;
  for (kxnode* n = component ? component->parent : nullptr; n; n = n->parent) {
    if (kxdaircraft* a = kxdaircraft::As(n)) return a->Instance;
  }
  return nullptr;
}

}  // namespace kxdground
