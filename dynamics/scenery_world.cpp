#include "dynamics/scenery_world.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "dynamics/driver.h"
#include "graphics/collision_contact.h"
#include "graphics/collision_near.h"
#include "graphics/collision_world.h"

float kxdsceneryworld::GroundHeight(const kxvector4r& point) const {
  float p[3] = {point.x, point.y, point.z};
  float height = 0.0f;
  if (!world_ || !kxcollision::FindGround(world_, p, &height, nullptr) || !std::isfinite(height)) return 0.0f;
  return height;
}

namespace {

kxdcontact FromCollision(const kxcontact& c) {
  return {c.normal, c.point, c.depth, c.surface, c.face && c.face->frame ? 1 : 0};
}

}  // namespace

int kxdsceneryworld::Contacts(const kxvector4r* points, int count, kxdcontact* out, int max) const {
  return NearContacts(points, count, out, max, nullptr);
}

int kxdsceneryworld::NearContacts(const kxvector4r* points, int count, kxdcontact* out, int max,
                                  const kxcollnear* near) const {
  if (!world_ || !points || count <= 0 || max <= 0) return 0;
  // The points' own box sets how deep below a face a point still counts;
  // the reported points are the feet of the world origin.
  // The query reads x, y and z of each point where they stand.
  static_assert(sizeof(kxvector4r) == 4 * sizeof(float));
  const auto* placed = reinterpret_cast<const float(*)[4]>(&points->x);
  const float origin[3] = {0.0f, 0.0f, 0.0f};
  kxcontact found[kxboxrecord::kMaxContacts];
  int n = kxcollision::ContactPoints(world_, near, placed, count, nullptr, nullptr, origin, found, max);
  for (int i = 0; i < n; ++i) out[i] = FromCollision(found[i]);
  return n;
}

int kxdsceneryworld::BoxContacts(kxboxrecord* box, const kxmatrix& frame, int flag, kxdcontact* out, int max,
                                 const kxcollnear* near) const {
  if (!world_) return kxdworld::BoxContacts(box, frame, flag, out, max, near);
  int n = kxcollision::ContactShape(world_, frame.Data(), box, flag, near);
  int count = 0;
  for (int i = 0; i < n && count < max && box->list[i]; ++i) out[count++] = FromCollision(*box->list[i]);
  return count;
}

void kxdsceneryworld::FrameQuery(const kxvector4r& centre, float radius, kxcollnear* near) {
  if (!world_) return;
  float c[3] = {centre.x, centre.y, centre.z};
  if (near) {
    kxcollision::GatherNear(world_, c, radius, near);
  } else {
    kxcollision::Gather(world_, c, radius);
  }
}

int kxdsceneryworld::Empty(const kxvector4r& centre, float radius, const kxcollnear* near) const {
  return world_ && near && near->valid && near->world == world_ && near->faces.empty() && near->radius >= radius &&
         near->centre[0] == centre.x && near->centre[1] == centre.y && near->centre[2] == centre.z;
}

namespace kxdynamics {

int Step(float frameTime, kxcollision* world, float sceneryExtent, float cloudHeight) {
  static kxdsceneryworld adapter;
  adapter.Set(world);
  kxcollision::SetCurrent(world);
  return Step(frameTime, world ? &adapter : nullptr, sceneryExtent, cloudHeight);
}

}  // namespace kxdynamics
