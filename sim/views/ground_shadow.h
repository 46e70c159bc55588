// Laying an aircraft's or a balloon's shadow texture onto the ground faces
// found by the last collision query around it: the record's quad is carried
// along the sun's rays onto each face's plane, lifted a little and cut to
// the face's edges.
#pragma once

#include "core/matrix.h"

struct kxcollface;
struct shadowquad;

namespace sim {

// One corner of a shadow polygon: texture coordinates, then world position.
struct shadowvertex {
  float u, v;
  float x, y, z;  // m
};

constexpr int kShadowPolygon = 16;      // corners a clipped shadow may have (a triangle gives at most 7)
constexpr float kShadowLift = 0.012f;   // m above the face, so the shadow wins the depth test
constexpr float kSunParallel = 1e-4f;   // |n . L| below this: the face lies along the rays

// The record's four corners placed by frame (column-major), carried along
// L onto the plane n . p = c (p - q (n . p - c) L, q = 1 / (n . L)) and
// lifted by kShadowLift in z. 0 for a plane along the rays, else 4.
int ProjectShadowQuad(const shadowquad& record, const float frame[16], const float n[3], float c, const float L[3],
                      shadowvertex out[4]);
// The part of a convex polygon where normal . p - distance >= 0, corners
// inserted where its edges cross the plane with texture coordinates and
// position interpolated. The count kept; 0 when more than capacity would be.
int ClipShadowPolygon(const shadowvertex* in, int count, const float normal[3], float distance, shadowvertex* out,
                      int capacity);
// The shadow on one collision face (a moving object's face through its
// frame into the world): projected, then clipped by every edge plane. The
// corner count, 0 when fewer than 3 remain.
int ShadowOnFace(const shadowquad& record, const float frame[16], const kxcollface& face, const float L[3],
                 shadowvertex out[kShadowPolygon]);

// Draws the record's shadow over every face of the collision world's last
// query; frame places the record's corners in the world.
void DrawGroundShadow(const shadowquad* record, const kxmatrix& frame);

}  // namespace sim
