// Where the gear, skid and wheel take their frame origin and inertia from:
// the surface of their collision mesh, measured in the mesh's own
// coordinates and trusted only when every number came out finite.
#pragma once

#include "core/matrix.h"
#include "core/vector.h"

class kxgeometricobject;

namespace kxdmeshmass {

// Rebuilds the mesh and gives its surface centroid. 1, or 0 for a null
// object, an empty surface or a non-finite centroid (out then undefined).
int Centroid(kxgeometricobject* object, kxvector4r* out);

// The mesh's surface inertia scaled by the mass, with the mass itself in
// element 15, into inertia[16]. 1, or 0 when the surface is empty or a term
// is non-finite; inertia is then left as it was.
int ScaledInertia(kxgeometricobject* object, float massKg, float* inertia);

}  // namespace kxdmeshmass
