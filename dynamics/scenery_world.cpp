#include "dynamics/scenery_world.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "dynamics/driver.h"
#include "graphics/collision_contact.h"
#include "graphics/collision_world.h"

float kxdsceneryworld::GroundHeight(const kxvector4r& point) const {
  float p[3] = {point.x, point.y, point.z};
  float height = 0.0f;
  if (!world_ || !kxcollision::FindGround(world_, p, &height, nullptr) || !std::isfinite(height)) return 0.0f;
  return height;
}

int kxdsceneryworld::Contacts(const kxvector4r* points, int count, kxdcontact* out, int max) const {
  if (!world_ || !points || count <= 0 || max <= 0) return 0;
  // The points go in as the corners of a box placed by the identity frame;
  // the box's extent sets how deep below a face a point still counts.
  kxboxrecord box;
  std::memset(&box, 0, sizeof box);
  count = std::min(count, 8);
  float lo[3] = {points[0].x, points[0].y, points[0].z};
  float hi[3] = {lo[0], lo[1], lo[2]};
  for (int i = 0; i < 8; ++i) {
    const kxvector4r& p = points[std::min(i, count - 1)];
    box.eight[i] = {p.x, p.y, p.z, 1.0f};
    const float q[3] = {p.x, p.y, p.z};
    for (int k = 0; k < 3; ++k) {
      lo[k] = std::min(lo[k], q[k]);
      hi[k] = std::max(hi[k], q[k]);
    }
  }
  for (int k = 0; k < 3; ++k) {
    box.min[k] = lo[k];
    box.max[k] = hi[k];
  }
  int n = kxcollision::ContactShape(world_, kxmatrix::Identity().Data(), &box, 0);
  n = std::min(n, max);
  for (int i = 0; i < n; ++i) {
    const kxcontact& c = box.contacts[i];
    out[i] = {c.normal, c.point, c.depth, c.surface, c.face && c.face->frame ? 1 : 0};
  }
  return n;
}

void kxdsceneryworld::FrameQuery(const kxvector4r& centre, float radius) {
  if (!world_) return;
  float c[3] = {centre.x, centre.y, centre.z};
  kxcollision::Gather(world_, c, radius);
}

namespace kxdynamics {

int Step(float frameTime, kxcollision* world, float sceneryExtent, float cloudHeight) {
  static kxdsceneryworld adapter;
  adapter.Set(world);
  kxcollision::SetCurrent(world);
  return Step(frameTime, world ? &adapter : nullptr, sceneryExtent, cloudHeight);
}

}  // namespace kxdynamics
