// Internal building blocks of the mesh generator.
#pragma once

#include <functional>

#include "tools/meshgen/meshgen.h"

namespace meshgen {

// A (rows + 1) x (cols + 1) vertex grid placed by at(u, v, position) with
// u, v in 0..1, two triangles per cell and smooth normals.
mesh Grid(int rows, int cols, bool wrapCols, const std::function<void(float, float, float*)>& at);
// A flat quad a-b-c-d (counter-clockwise from its front) with its own vertices.
void AddQuad(mesh& m, const float a[3], const float b[3], const float c[3], const float d[3]);
// Area-weighted vertex normals from the triangles.
void SmoothNormals(mesh& m);
// Turns positions and normals by radians in the plane of axes a and b, from
// a towards b.
void Rotate(mesh& m, float radians, int a, int b);

// The tailplane (both halves) with its elevator and the fin with its rudder,
// from the plane's tail sizes, each surface hinged at the same chord share.
struct tail {
  mesh stabilizer, elevator, fin, rudder;
};
tail Tail(const sampleairplane& plane, float finTipChord);

}  // namespace meshgen
