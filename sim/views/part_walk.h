// The child parts of a geometric object, in order.
#pragma once

#include "graphics/geometric_object.h"

namespace sim {

template <class Visit>
void ForEachPart(const kxgeometricobject* node, Visit&& visit) {
  for (const kxnode* c = node->firstChild; c; c = c->nextSibling)
    if (kxtype::IsDerivedFrom(c->type, &kxgeometricobject::Type)) visit(static_cast<const kxgeometricobject*>(c));
}

}  // namespace sim
