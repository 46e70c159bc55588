// The child parts of a geometric object, in order, and what the drawing
// asks of a part's owning component.
#pragma once

#include "dynamics/body.h"
#include "dynamics/components/propeller.h"
#include "graphics/geometric_object.h"

namespace sim {

template <class Visit>
void ForEachPart(const kxgeometricobject* node, Visit&& visit) {
  for (const kxnode* c = node->firstChild; c; c = c->nextSibling)
    if (kxtype::IsDerivedFrom(c->type, &kxgeometricobject::Type)) visit(static_cast<const kxgeometricobject*>(c));
}

// The owning component's speed (rpm); 0 without a component, -1 for one that does not turn.
inline float PartRpm(const kxgeometricobject* part) {
  kxdbody* body = kxdbody::As(part->Object);
  return body ? body->GetRPM() : 0.0f;
}

// 1 when the part belongs to a propeller.
inline int PropellerPart(const kxgeometricobject* part) { return kxdpropeller00::As(part->Object) ? 1 : 0; }

}  // namespace sim
