#include "sim/views/view_matrices.h"

#include "core/vector3.h"
#include <cmath>

namespace sim {
namespace {

constexpr float kCullWidening = 1.25f;
// Below this horizontal length of the view direction the camera looks
// straight up or down and has no side to turn billboards to.
constexpr float kMinHorizontal = 1e-6f;

using kxvector3::Dot;
using kxvector3::Normalise;
using kxvector3::SetIdentity;

sceneview StartView() {
  sceneview v{};
  SetIdentity(v.view);
  SetIdentity(v.projection);
  SetIdentity(v.billboard);
  return v;
}

sceneview theview = StartView();

}  // namespace

sceneview& SceneView() { return theview; }

void ResetSceneView() { theview = StartView(); }

void ViewMatrix(const float eye[3], const float X[3], const float Y[3], const float Z[3], float out[16]) {
  for (int c = 0; c < 3; ++c) {
    out[4 * c + 0] = -Y[c];
    out[4 * c + 1] = Z[c];
    out[4 * c + 2] = -X[c];
    out[4 * c + 3] = 0.0f;
  }
  out[12] = Dot(Y, eye);
  out[13] = -Dot(Z, eye);
  out[14] = Dot(X, eye);
  out[15] = 1.0f;
}

int CylindricalBillboard(const float X[3], float B[16]) {
  float L = std::sqrt(X[0] * X[0] + X[1] * X[1]);
  if (!(L > kMinHorizontal) || !std::isfinite(L)) return 0;
  const float columns[3][4] = {{1, 0, 0, 0}, {X[1] / L, -X[0] / L, 0, 0}, {0, 0, 1, 0}};
  for (int c = 0; c < 3; ++c)
    for (int r = 0; r < 4; ++r) B[4 * c + r] = columns[c][r];
  B[12] = B[13] = B[14] = 0.0f;
  B[15] = 1.0f;
  return 1;
}

void SphericalBillboard(const float V[16], float B[16]) {
  for (int c = 0; c < 3; ++c)
    for (int r = 0; r < 3; ++r) B[4 * c + r] = V[4 * r + c];
}

void CullingVectors(float halfHeight, float aspect, float nearZ, const float X[3], const float Y[3], float e1[3],
                    float e2[3]) {
  float k = kCullWidening * halfHeight * aspect;
  for (int i = 0; i < 3; ++i) {
    e1[i] = k * X[i] + nearZ * Y[i];
    e2[i] = k * X[i] - nearZ * Y[i];
  }
  Normalise(e1);
  Normalise(e2);
}

float ViewDepth(const float V[16], const float p[3]) { return V[2] * p[0] + V[6] * p[1] + V[10] * p[2]; }

void ReflectionTextureMatrix(const float V[16], float out[16]) {
  // Transposed rotation: element (i, j) is V's (j, i), stored at V[4 i + j].
  auto t = [&](int i, int j) { return V[4 * i + j]; };
  for (int c = 0; c < 3; ++c) {
    out[4 * c + 0] = t(0, c);
    out[4 * c + 1] = -t(2, c);
    out[4 * c + 2] = t(1, c);
    out[4 * c + 3] = 0.0f;
  }
  out[12] = out[13] = out[14] = 0.0f;
  out[15] = 1.0f;
}

}  // namespace sim
