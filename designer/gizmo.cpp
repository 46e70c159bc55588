#include "designer/gizmo.h"

#include <GL/gl.h>

#include <cmath>
#include <initializer_list>

#include "graphics/geometry_math.h"

namespace svdesign {

namespace {

constexpr float kAlpha = 0.2f;
constexpr float kColours[kGizmoPlanes][4] = {{1, 0, 0, kAlpha}, {0, 1, 0, kAlpha}, {0, 0, 1, kAlpha}};
constexpr float kAxisColour[4] = {1, 1, 1, kAlpha};
// Hits this far from the ray's start or farther are no hits.
constexpr float kFarthestHit = 1000.0f;  // m

// Corner k of a square in gizmo coordinates, w 1: the two free coordinates
// of the plane in the order (-,-), (+,-), (+,+), (-,+).
kxvector4r Corner(int plane, int k, float s) {
  const float a = (k == 1 || k == 2) ? s : -s;
  const float b = (k >= 2) ? s : -s;
  switch (plane) {
    case 0: return {0, a, b, 1};
    case 1: return {a, 0, b, 1};
    default: return {a, b, 0, 1};
  }
}

void Vertex(const kxvector4r& p) { glVertex3f(p.x, p.y, p.z); }

}  // namespace

void DrawMoveGizmo(const kxmatrix& frame, float s) {
  glPushMatrix();
  glMultMatrixf(frame.Data());
  glDisable(GL_TEXTURE_2D);
  glDisable(GL_LIGHTING);
  // Each square once in each winding, so it shows whatever the culling.
  glBegin(GL_QUADS);
  for (int plane = 0; plane < kGizmoPlanes; ++plane) {
    glColor4fv(kColours[plane]);
    for (int k : {0, 1, 2, 3}) Vertex(Corner(plane, k, s));
    for (int k : {0, 3, 2, 1}) Vertex(Corner(plane, k, s));
  }
  glEnd();
  glBegin(GL_LINES);
  for (int plane = 0; plane < kGizmoPlanes; ++plane) {
    glColor4fv(kColours[plane]);
    for (int k = 0; k < 4; ++k) {
      Vertex(Corner(plane, k, s));
      Vertex(Corner(plane, (k + 1) % 4, s));
    }
  }
  glColor4fv(kAxisColour);
  glVertex3f(-s, 0, 0);
  glVertex3f(s, 0, 0);
  glVertex3f(0, -s, 0);
  glVertex3f(0, s, 0);
  glVertex3f(0, 0, -s);
  glVertex3f(0, 0, s);
  glEnd();
  glEnable(GL_TEXTURE_2D);
  glEnable(GL_LIGHTING);
  glPopMatrix();
}

int PickMoveGizmo(kxvector4r* hit, const kxmatrix& frame, float s, const kxvector4r& nearPoint,
                  const kxvector4r& farPoint) {
  float best = kFarthestHit;
  int result = 0;
  for (int plane = 0; plane < kGizmoPlanes; ++plane) {
    kxvector4r c[4];
    for (int k = 0; k < 4; ++k) {
      const kxvector4r corner = Corner(plane, k, s);
      kxmatrix::TransformVector4(&c[k], &frame, &corner);
    }
    // Two halves, each in both windings: the triangle test sees front faces only.
    const kxvector4r* triangles[4][3] = {
        {&c[0], &c[1], &c[2]}, {&c[0], &c[2], &c[1]}, {&c[0], &c[2], &c[3]}, {&c[0], &c[3], &c[2]}};
    for (const auto& t : triangles) {
      kxvector4r at;
      if (!geometry::IntersectSegmentTriangle(&at, nearPoint, farPoint, *t[0], *t[1], *t[2])) continue;
      const float dx = at.x - nearPoint.x, dy = at.y - nearPoint.y, dz = at.z - nearPoint.z;
      const float distance = std::sqrt(dx * dx + dy * dy + dz * dz);
      if (distance < best) {
        best = distance;
        *hit = at;
        result = plane + 1;
      }
    }
  }
  return result;
}

}  // namespace svdesign
