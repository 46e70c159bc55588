#include "dynamics/components/mesh_mass.h"

#include <cmath>

#include "graphics/geometric_object.h"

namespace kxdmeshmass {

int Centroid(kxgeometricobject* object, kxvector4r* out) {
  if (!object) return 0;
  object->Rebuild();
  return object->SurfaceCentroid(out, kxmatrix::Identity()) > 0.0f && std::isfinite(out->x) && std::isfinite(out->y) &&
         std::isfinite(out->z);
}

int ScaledInertia(kxgeometricobject* object, float massKg, float* inertia) {
  float measured[16];
  if (!(object->SurfaceInertia(measured, kxmatrix::Identity()) > 0.0f)) return 0;
  for (float x : measured) {
    if (!std::isfinite(x)) return 0;
  }
  for (int i = 0; i < 16; ++i) inertia[i] = massKg * measured[i];
  inertia[15] = massKg;
  return 1;
}

}  // namespace kxdmeshmass
