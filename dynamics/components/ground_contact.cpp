#include "dynamics/components/ground_contact.h"

#include <algorithm>
#include <cmath>

#include "core/type.h"
#include "dynamics/aircraft.h"
#include "dynamics/scenery_world.h"
#include "graphics/collision_world.h"
#include "graphics/geometric_object.h"

namespace kxdground {

namespace {
constexpr int kStrikeContacts = 4;  // surfaces asked for per strike test
}  // namespace

int ShapeContacts(kxgeometricobject* object, const kxmatrix& frame, int flag, kxdcontact* out, int max) {
  kxdworld* world = kxdynamics::CurrentWorld();
  if (!object || !world || !out || max <= 0) return 0;
  kxboxrecord& box = object->box;
  for (int k = 0; k < 3; ++k) {
    if (!(box.max[k] >= box.min[k])) return 0;  // no mesh bounds: nothing touches
  }
  max = std::min(max, kMaxContacts);
  if (kxdsceneryworld* scenery = dynamic_cast<kxdsceneryworld*>(world); scenery && scenery->Collision()) {
    int n = kxcollision::ContactShape(scenery->Collision(), frame.Data(), &box, flag);
    int count = 0;
    for (int i = 0; i < n && count < max && box.list[i]; ++i) {
      const kxcontact& c = *box.list[i];
      out[count++] = {c.normal, c.point, c.depth, c.surface, c.face && c.face->frame ? 1 : 0};
    }
    return count;
  }
  // Other worlds answer for points; their plane point is moved to the foot
  // of the frame's origin, as the collision world reports it.
  const kxvector4r* local = flag ? box.six : box.eight;
  int points = flag ? 6 : 8;
  kxvector4r placed[8];
  for (int i = 0; i < points; ++i) kxmatrix::TransformVector4(&placed[i], &frame, &local[i]);
  int n = world->Contacts(placed, points, out, max);
  const kxvector4r& o = frame.R;
  for (int i = 0; i < n; ++i) {
    kxdcontact& c = out[i];
    float s = (o.x - c.point.x) * c.normal.x + (o.y - c.point.y) * c.normal.y + (o.z - c.point.z) * c.normal.z;
    c.point = {o.x - s * c.normal.x, o.y - s * c.normal.y, o.z - s * c.normal.z, 1.0f};
  }
  return n;
}

int FacesStrike(const kxboxrecord& box, const kxmatrix& frame, kxdcontact* hit) {
  kxdworld* world = kxdynamics::CurrentWorld();
  if (!world || !(box.max[0] >= box.min[0])) return 0;
  kxvector4r points[6];
  for (int k = 0; k < 6; ++k) kxmatrix::TransformVector4(&points[k], &frame, &box.six[k]);
  kxdcontact contacts[kStrikeContacts];
  if (world->Contacts(points, 6, contacts, kStrikeContacts) <= 0) return 0;
  *hit = contacts[0];
  return 1;
}

kxgeometricobject* StruckChild(kxgeometricobject* g, const kxmatrix& frame, kxdcontact* hit) {
  for (kxnode* n = g ? g->firstChild : nullptr; n; n = n->nextSibling) {
    if (!kxtype::IsDerivedFrom(n->type, &kxgeometricobject::Type)) continue;
    kxgeometricobject* child = static_cast<kxgeometricobject*>(n);
    kxmatrix placed;
    kxmatrix::Multiply4x4(&placed, &frame, &child->Matrix);
    if (FacesStrike(child->box, placed, hit)) return child;
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
