#include "designer/camera.h"

#include <algorithm>
#include <cmath>

namespace {

using v4 = kxvector4r;

constexpr float kShiftAcross = 0.4f, kShiftUp = 0.3f;  // m per unit of pointer travel
constexpr float kTurnAcross = 0.4f, kTurnUp = 0.3f;    // rad per unit of pointer travel
constexpr float kOrbitRate = 2.0f;                     // rad per unit of pointer travel

// a + s b over all four components.
v4 AddScaled(const v4& a, float s, const v4& b) { return {a.x + s * b.x, a.y + s * b.y, a.z + s * b.z, a.w + s * b.w}; }

}  // namespace

void svdesigncamera::SetViewport(int windowWidth, int windowHeight) {
  viewportX = 0;
  viewportY = kViewerBottom;
  viewportWidth = std::max(windowWidth, 1);
  viewportHeight = std::max(windowHeight - kStripsHeight, 1);
  halfWidth = halfHeight * static_cast<float>(viewportWidth) / static_cast<float>(viewportHeight);
}

void svdesigncamera::Place(const v4& sight, const v4& toLeft, const v4& toUp, const v4& eye) {
  view = {sight.x, sight.y, sight.z, 0};
  left = {toLeft.x, toLeft.y, toLeft.z, 0};
  up = {toUp.x, toUp.y, toUp.z, 0};
  pos = {eye.x, eye.y, eye.z, 1};
}

void svdesigncamera::PlaceTop(float distance) { Place({0, 0, -1, 0}, {0, 1, 0, 0}, {1, 0, 0, 0}, {0, 0, distance, 1}); }

designray svdesigncamera::MouseRay(int px, int py) const {
  float u = static_cast<float>(px - viewportX) / static_cast<float>(std::max(viewportWidth, 1));
  float v = static_cast<float>(py - viewportY) / static_cast<float>(std::max(viewportHeight, 1));
  float a = (2.0f * u - 1.0f) * halfWidth;
  float b = (2.0f * v - 1.0f) * halfHeight;
  v4 offset = AddScaled(AddScaled({nearPlane * view.x, nearPlane * view.y, nearPlane * view.z, 0}, -a, left), b, up);
  offset.w = 0;
  float reach = farPlane / nearPlane;
  designray ray;
  ray.nearPoint = {pos.x + offset.x, pos.y + offset.y, pos.z + offset.z, 0};
  ray.farPoint = {pos.x + reach * offset.x, pos.y + reach * offset.y, pos.z + reach * offset.z, 0};
  return ray;
}

kxmatrix svdesigncamera::ViewMatrix() const {
  // Column-major: element 4c + r is row r of column c.
  const v4 rows[3] = {{-left.x, -left.y, -left.z, v4::Dot(left, pos)},
                      {up.x, up.y, up.z, -v4::Dot(up, pos)},
                      {-view.x, -view.y, -view.z, v4::Dot(view, pos)}};
  kxmatrix m;
  kxmatrix::SetIdentity(&m);
  for (int r = 0; r < 3; ++r) {
    m[r] = rows[r].x;
    m[4 + r] = rows[r].y;
    m[8 + r] = rows[r].z;
    m[12 + r] = rows[r].w;
  }
  return m;
}

void svdesigncamera::PullBack(float radius) {
  float d = std::sqrt(v4::Dot3(pos, pos));
  if (d > radius) {
    float s = radius / d;
    pos.x *= s;
    pos.y *= s;
    pos.z *= s;
  }
  pos.w = 1.0f;
}

void svdesigncamera::Dolly(float step) {
  pos = AddScaled(pos, step, view);
  float length = v4::Length(pos);
  if (length > kDollyLimit) pos *= kDollyLimit / length;
}

void svdesigncamera::Shift(float dx, float dy) {
  pos = AddScaled(AddScaled(pos, kShiftAcross * dx, left), -kShiftUp * dy, up);
}

void svdesigncamera::Turn(float dx, float dy) {
  float across = kTurnAcross * dx, upward = kTurnUp * dy;
  float m = std::sqrt(across * across + upward * upward);
  if (!(m >= kLeastTurn)) return;
  Rotate(AddScaled({across * up.x, across * up.y, across * up.z, 0}, upward, left), m, false);
}

void svdesigncamera::Orbit(float dx, float dy) {
  float ex = kOrbitRate * dx, ey = kOrbitRate * dy;
  float length = std::sqrt(ex * ex + ey * ey);
  if (!(length >= kLeastTurn)) return;
  // The eye goes the other way round the axis than the right hand turns.
  Rotate(AddScaled({ex * up.x, ex * up.y, ex * up.z, 0}, ey, left), -length, true);
}

void svdesigncamera::Roll(float angle) {
  if (!std::isfinite(angle)) return;
  Rotate(view, -angle, false);
}

void svdesigncamera::Rotate(const v4& axis, float angle, bool withEye) {
  v4 unit = {axis.x, axis.y, axis.z, 0};
  kxmatrix turn;
  kxmatrix::SetRotation(&turn, unit, angle);
  // The rotation keeps w (its fourth row is 0, 0, 0, 1).
  kxmatrix::TransformVector4(&view, &turn, &view);
  kxmatrix::TransformVector4(&left, &turn, &left);
  if (withEye) kxmatrix::TransformVector4(&pos, &turn, &pos);
  v4::Normalise(view);
  v4::Cross(up, view, left);
  v4::Normalise(up);
  v4::Cross(left, up, view);
}
