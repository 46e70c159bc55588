// Arithmetic on float[3] rows and float[16] matrices, the shapes the records
// and GL keep positions, axes and transforms in. Each helper adds in the
// same order wherever it is used, so a drawn frame and a flown one agree.
#pragma once

#include <cmath>

namespace kxvector3 {

inline float Dot(const float a[3], const float b[3]) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }
inline float Length(const float a[3]) { return std::sqrt(Dot(a, a)); }
// Length of a four-float row: the flight state's velocity carries a fourth.
inline float Length4(const float a[4]) { return std::sqrt(a[0] * a[0] + a[1] * a[1] + a[2] * a[2] + a[3] * a[3]); }
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
// Scales to unit length and returns the length before. A zero vector, or
// one whose length is not finite, is left as it is and 0 returned: dividing
// would spread NaN through every matrix built from it.
inline float Normalise(float v[3]) {
  const float length = Length(v);
  if (!(length > 0.0f) || !std::isfinite(length)) return 0.0f;
  for (int k = 0; k < 3; ++k) v[k] /= length;
  return length;
}

// The 4x4 identity, column-major as GL takes it.
inline void SetIdentity(float m[16]) {
  for (int i = 0; i < 16; ++i) m[i] = (i % 5 == 0) ? 1.0f : 0.0f;
}

}  // namespace kxvector3
