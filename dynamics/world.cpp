#include "dynamics/world.h"

#include "dynamics/frame_transform.h"
#include "graphics/collision_contact.h"

namespace {
kxdworld* current = nullptr;
}

namespace kxdynamics {
kxdworld* CurrentWorld() { return current; }
void SetCurrentWorld(kxdworld* world) { current = world; }
}  // namespace kxdynamics

int kxdworld::BoxContacts(kxboxrecord* box, const kxmatrix& frame, int flag, kxdcontact* out, int max,
                          const kxcollnear* near) const {
  const kxvector4r* local = flag ? box->six : box->eight;
  int points = flag ? 6 : 8;
  kxvector4r placed[8];
  for (int i = 0; i < points; ++i) placed[i] = kxdframe::Transform(frame, local[i]);
  int n = NearContacts(placed, points, out, max, near);
  const kxvector4r& o = frame.R;
  for (int i = 0; i < n; ++i) {
    kxdcontact& c = out[i];
    float s = (o.x - c.point.x) * c.normal.x + (o.y - c.point.y) * c.normal.y + (o.z - c.point.z) * c.normal.z;
    c.point = {o.x - s * c.normal.x, o.y - s * c.normal.y, o.z - s * c.normal.z, 1.0f};
  }
  return n;
}
