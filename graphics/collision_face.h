// Face and edge-plane construction shared by the scenery build and the
// moving objects, and the point-in-face test of the queries.
#pragma once

#include "graphics/collision_world.h"

namespace kxcollbuild {

// Areas (|cross| / 2, m^2) at or below this make no face.
constexpr float kMinFaceArea = 1e-9f;
// A point this far outside an edge plane (m) still counts as inside, so a
// point on an edge shared by two faces is never lost between them.
constexpr float kEdgeTolerance = 1e-4f;

// Plane, bounding sphere and three edge planes of the triangle abc
// (counter-clockwise seen from the front). 0 for a degenerate or non-finite
// triangle; then nothing is written.
int MakeFace(const float a[3], const float b[3], const float c[3], kxcollface* face, kxcolledge edges[3]);

// 1 when p lies inside every edge plane of the face (within the tolerance).
inline int InsideEdges(const kxcollface* face, const float p[3]) {
  for (const kxcolledge* e = face->edges; e; e = e->next) {
    if (e->normal[0] * p[0] + e->normal[1] * p[1] + e->normal[2] * p[2] - e->distance < -kEdgeTolerance) return 0;
  }
  return 1;
}

inline float Dot3(const float a[3], const float b[3]) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }

}  // namespace kxcollbuild
