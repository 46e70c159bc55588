// The simulator's own meshes: the menu's scenery card, the pylon of the
// pylon race and the ball of the artificial horizon.
#include <GL/gl.h>

#include "graphics/mesh.h"
#include "tools/meshgen/meshgen.h"

namespace meshgen {

namespace {

// The triangles of m whose centroid lies above (or below) z = 0.
mesh Half(const mesh& m, bool upper) {
  mesh out;
  out.vertices = m.vertices;
  for (size_t t = 0; t + 2 < m.triangles.size(); t += 3) {
    float z = 0;
    for (int k = 0; k < 3; ++k) z += m.vertices[m.triangles[t + static_cast<size_t>(k)]].p[2];
    if ((z > 0) == upper)
      for (int k = 0; k < 3; ++k) out.triangles.push_back(m.triangles[t + static_cast<size_t>(k)]);
  }
  return out;
}

}  // namespace

kxgeometry* SceneryCard() {
  constexpr float kHalfWidth = 0.28f, kHeight = 0.42f, kDepth = 0.02f, kBorder = 0.02f;  // m
  mesh frame = Box(2 * kHalfWidth, kDepth, kHeight);
  Translate(frame, 0, 0, kHeight / 2);
  // The picture faces -y, just in front of the frame, t = 0 at its top.
  float w = kHalfWidth - kBorder, y = -kDepth / 2 - 0.001f, z0 = kBorder, z1 = kHeight - kBorder;
  mesh face;
  face.vertices = {{{-w, y, z0}, {0, -1, 0}, {0, 1}},
                   {{w, y, z0}, {0, -1, 0}, {1, 1}},
                   {{w, y, z1}, {0, -1, 0}, {1, 0}},
                   {{-w, y, z1}, {0, -1, 0}, {0, 0}}};
  face.triangles = {0, 1, 2, 0, 2, 3};
  const float kFrame[3] = {0.9f, 0.88f, 0.82f};
  kxgeometry* picture = ToElement(face, "picture", "", GL_T2F_N3F_V3F);
  if (picture) picture->diffuse[0] = picture->diffuse[1] = picture->diffuse[2] = picture->diffuse[3] = 1;
  kxgeometry* parts[] = {ColouredElement(frame, "frame", "", kFrame), picture};
  return Chain(parts, 2);
}

kxgeometry* Pylon() {
  constexpr float kRadius = 0.4f, kHeight = 8.0f;  // m
  mesh lower = Cylinder(kRadius, kHeight / 2, 16), upper = Cylinder(kRadius * 0.8f, kHeight / 2, 16);
  Translate(lower, 0, 0, kHeight / 4);
  Translate(upper, 0, 0, 3 * kHeight / 4);
  const float kRed[3] = {0.85f, 0.15f, 0.1f}, kWhite[3] = {0.95f, 0.95f, 0.95f};
  kxgeometry* parts[] = {ColouredElement(lower, "pylon_red", "", kRed), ColouredElement(upper, "pylon_white", "", kWhite)};
  return Chain(parts, 2);
}

kxgeometry* HorizonBall() {
  mesh ball = Sphere(1, 24, 16);
  const float kSky[3] = {0.25f, 0.5f, 0.9f}, kGround[3] = {0.55f, 0.35f, 0.15f};
  kxgeometry* parts[] = {ColouredElement(Half(ball, true), "sky", "", kSky),
                         ColouredElement(Half(ball, false), "ground", "", kGround)};
  return Chain(parts, 2);
}

}  // namespace meshgen
