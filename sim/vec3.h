// Three-float vector arithmetic for the simulation's viewer, placement and
// key code, which keep positions and axes as float[3] rows of the records.
#pragma once

#include <cmath>

namespace sim::vec3 {

// Below this length a direction is taken as undefined and not normalised.
constexpr float kMinLength = 1e-6f;

inline float Dot(const float a[3], const float b[3]) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }
inline float Length(const float a[3]) { return std::sqrt(Dot(a, a)); }
inline void Copy(float out[3], const float a[3]) {
  out[0] = a[0];
  out[1] = a[1];
  out[2] = a[2];
}
inline void Set(float out[3], float x, float y, float z) {
  out[0] = x;
  out[1] = y;
  out[2] = z;
}
// out := a + s b; out may be a or b.
inline void AddScaled(float out[3], const float a[3], float s, const float b[3]) {
  for (int k = 0; k < 3; ++k) out[k] = a[k] + s * b[k];
}
inline float Distance(const float a[3], const float b[3]) {
  float d[3] = {a[0] - b[0], a[1] - b[1], a[2] - b[2]};
  return Length(d);
}
// out := a x b; out may not be a or b.
inline void Cross(float out[3], const float a[3], const float b[3]) {
  out[0] = a[1] * b[2] - a[2] * b[1];
  out[1] = a[2] * b[0] - a[0] * b[2];
  out[2] = a[0] * b[1] - a[1] * b[0];
}
// Scales v to unit length and returns 1; a vector shorter than kMinLength is
// left as it is and 0 returned.
inline int Normalise(float v[3]) {
  float l = Length(v);
  if (!(l >= kMinLength)) return 0;
  for (int k = 0; k < 3; ++k) v[k] /= l;
  return 1;
}

}  // namespace sim::vec3
