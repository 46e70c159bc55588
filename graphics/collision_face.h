// Face and edge-plane construction shared by the scenery build and the
// moving objects, and the point-in-face test of the queries.
#pragma once

#include "core/vector3.h"
#include "graphics/collision_world.h"

namespace kxcollbuild {

// Areas (|cross| / 2, m^2) at or below this make no face.
constexpr float kMinFaceArea = 1e-9f;
// A point this far outside an edge plane (m) still counts as inside, so a
// point on an edge shared by two faces is never lost between them.
constexpr float kEdgeTolerance = 1e-4f;
// The rounding of a point computed on a face, relative to its coordinates.
constexpr float kRelativeRounding = 1e-6f;

// Plane, bounding sphere and three edge planes of the triangle abc
// (counter-clockwise seen from the front). 0 for a degenerate or non-finite
// triangle; then nothing is written.
int MakeFace(const float a[3], const float b[3], const float c[3], kxcollface* face, kxcolledge edges[3]);

// 1 when p lies beyond the edge plane (normal, distance) by more than the
// tolerance. Every inside test goes through it, so the copies of the edge
// planes that the gathered sets and the ground grid keep give the same
// answers as the world's records.
inline int OutsideEdge(const float normal[3], float distance, const float p[3]) {
  return normal[0] * p[0] + normal[1] * p[1] + normal[2] * p[2] - distance < -kEdgeTolerance;
}

// 1 when p lies inside every edge plane of the face (within the tolerance).
inline int InsideEdges(const kxcollface* face, const float p[3]) {
  for (const kxcolledge* e = face->edges; e; e = e->next) {
    if (OutsideEdge(e->normal, e->distance, p)) return 0;
  }
  return 1;
}

// The box a face may touch a point in: its corners' box (its edge planes'
// points, in its own frame) grown by the edge tolerance and the rounding of
// coordinates that large. The contact tests ask it beside the edge planes,
// whose tolerance reaches far beyond the sharp tip of a sliver face (by the
// tolerance over the sine of half its angle) where no part of the face is;
// the build files each face in every cell its box meets, so the contact
// walk meets a face wherever a point may touch it.
inline void ContactBox(const kxcollface* face, float lo[3], float hi[3]) {
  for (int k = 0; k < 3; ++k) lo[k] = hi[k] = face->edges ? face->edges->point[k] : 0.0f;
  float largest = 0.0f;
  for (const kxcolledge* e = face->edges; e; e = e->next) {
    for (int k = 0; k < 3; ++k) {
      lo[k] = e->point[k] < lo[k] ? e->point[k] : lo[k];
      hi[k] = e->point[k] > hi[k] ? e->point[k] : hi[k];
      float size = e->point[k] < 0.0f ? -e->point[k] : e->point[k];
      largest = size > largest ? size : largest;
    }
  }
  const float slack = kEdgeTolerance + kRelativeRounding * largest;
  for (int k = 0; k < 3; ++k) {
    lo[k] -= slack;
    hi[k] += slack;
  }
}

// 1 when p lies in the box lo..hi.
inline int InsideBox(const float lo[3], const float hi[3], const float p[3]) {
  return p[0] >= lo[0] && p[0] <= hi[0] && p[1] >= lo[1] && p[1] <= hi[1] && p[2] >= lo[2] && p[2] <= hi[2];
}

inline float Dot3(const float a[3], const float b[3]) { return kxvector3::Dot(a, b); }

}  // namespace kxcollbuild
