// A body's own ground contact: each contact point below the surface pushes
// back with a spring along the normal, a damper on the normal speed (never
// pulling) and viscous friction across the normal. It never marks a crash:
// crashes come from the parts that break (rotor and propeller strikes, wheels
// on water or on damage).
#include <algorithm>

#include "dynamics/body.h"
#include "dynamics/world.h"

void kxdbody::AddOwnContact() {
  kxdworld* world = kxdynamics::CurrentWorld();
  if (!world) return;
  int count = std::clamp(ContactCount, 0, kMaxContactPoints);
  for (int i = 0; i < count; ++i) {
    kxvector4r p;
    kxmatrix::TransformVector4(&p, &B, &ContactPoints[i]);
    p.w = 1.0f;
    kxdcontact c;
    if (!world->Contact(p, c) || !(c.depth > 0.0f)) continue;
    kxvector4r v = PointVelocity(p);
    float vn = kxvector4r::Dot3(v, c.normal);
    float fn = std::max(0.0f, Kn * c.depth - Dn * vn);
    kxvector4r f = {fn * c.normal.x - Dv * (v.x - vn * c.normal.x),
                    fn * c.normal.y - Dv * (v.y - vn * c.normal.y),
                    fn * c.normal.z - Dv * (v.z - vn * c.normal.z), 0.0f};
    AddForceAt(f, p);
  }
}
