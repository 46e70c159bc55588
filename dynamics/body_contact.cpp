// A body's own ground contact: each contact point below the surface pushes
// back with a spring along the normal, a damper on the normal speed (never
// pulling) and viscous friction across the normal. It never marks a crash:
// crashes come from the parts that break (rotor and propeller strikes, wheels
// on water or on damage).
#include <algorithm>
#include <cmath>

#include "dynamics/body.h"
#include "dynamics/frame_transform.h"
#include "dynamics/instance.h"
#include "dynamics/world.h"

namespace {
constexpr int kMaxContacts = 16;        // surfaces per body and substep
constexpr float kDepthSlack = 1e-4f;    // m; a point deeper than the surface reported is elsewhere
}  // namespace

void kxdbody::MeasureContactReach() {
  int count = std::clamp(ContactCount, 0, kMaxContactPoints);
  float extent2 = 0.0f;
  for (int i = 0; i < count; ++i) extent2 = std::max(extent2, kxvector4r::Dot3(ContactPoints[i], ContactPoints[i]));
  ContactReach = std::sqrt(extent2);
}

void kxdbody::AddOwnContact() {
  // The frame is a rotation: every point lies within the reach of R, so one
  // test tells whether the query could find anything.
  if (Instance && Instance->ClearAround(B.R, ContactReach)) return;
  kxdworld* world = kxdynamics::CurrentWorld();
  if (!world) return;
  int count = std::clamp(ContactCount, 0, kMaxContactPoints);
  kxvector4r points[kMaxContactPoints];
  for (int i = 0; i < count; ++i) {
    points[i] = kxdframe::Transform(B, ContactPoints[i]);
    points[i].w = 1.0f;
  }
  AddContactForces(points, count, Kn, Dn, Dv, Instance);
}

void kxdbody::AddContactForces(const kxvector4r* points, int count, float kn, float dn, float dv,
                               kxdaircraftinstance* instance) {
  kxdworld* world = kxdynamics::CurrentWorld();
  if (!world || count <= 0) return;
  count = std::min(count, static_cast<int>(kMaxContactPoints));
  kxdcontact contacts[kMaxContacts];
  int found = world->NearContacts(points, count, contacts, kMaxContacts, instance ? instance->ContactSet() : nullptr);
  for (int k = 0; k < found; ++k) {
    const kxdcontact& c = contacts[k];
    // Touching a moving object (a car, a boat) is a crash; the ground is not.
    if (c.moving && instance) instance->Crash = 1;
    for (int i = 0; i < count; ++i) {
      kxvector4r below = {c.point.x - points[i].x, c.point.y - points[i].y, c.point.z - points[i].z, 0.0f};
      float s = kxvector4r::Dot3(below, c.normal);
      if (!(s > 0.0f) || s > c.depth + kDepthSlack) continue;
      kxvector4r v = PointVelocity(points[i]);
      float vn = kxvector4r::Dot3(v, c.normal);
      float fn = std::max(0.0f, kn * s - dn * vn);
      kxvector4r f = {fn * c.normal.x - dv * (v.x - vn * c.normal.x),
                      fn * c.normal.y - dv * (v.y - vn * c.normal.y),
                      fn * c.normal.z - dv * (v.z - vn * c.normal.z), 0.0f};
      AddForceAt(f, points[i]);
    }
  }
}
