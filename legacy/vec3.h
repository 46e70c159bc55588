// The small vector algebra of the legacy physics: three-float vectors with
// operators, loaded from and stored into the float[3] fields of the parts
// and records, and the rotation part of the column-major 4x4 matrices the
// model keeps. Single precision throughout, as the model files are.
#pragma once

#include <cmath>

namespace dnsmodel {

struct v3 {
  float x, y, z;
};

inline v3 Load(const float p[3]) { return {p[0], p[1], p[2]}; }
inline void Store(float p[3], v3 v) {
  p[0] = v.x;
  p[1] = v.y;
  p[2] = v.z;
}

inline v3 operator+(v3 a, v3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
inline v3 operator-(v3 a, v3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
inline v3 operator-(v3 a) { return {-a.x, -a.y, -a.z}; }
inline v3 operator*(v3 a, float s) { return {a.x * s, a.y * s, a.z * s}; }
inline v3 operator*(float s, v3 a) { return a * s; }
inline v3 operator/(v3 a, float s) { return {a.x / s, a.y / s, a.z / s}; }
inline v3& operator+=(v3& a, v3 b) { return a = a + b; }
inline v3& operator-=(v3& a, v3 b) { return a = a - b; }

inline float Dot(v3 a, v3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
inline v3 Cross(v3 a, v3 b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }
inline float Length(v3 a) { return std::sqrt(Dot(a, a)); }

// The unit vector along a; the zero vector for a zero (or non-finite)
// length, so a part without a frame never turns its neighbours into NaN.
inline v3 Normalised(v3 a) {
  float n = Length(a);
  return n > 0.0f && std::isfinite(n) ? a / n : v3{0, 0, 0};
}

// The three floats of p plus v, written back.
inline void AddTo(float p[3], v3 v) { Store(p, Load(p) + v); }

// ---- column-major 4x4 matrices (rotation and translation columns)

// m applied to the direction v (translation ignored).
inline v3 Rotate(const float m[16], v3 v) {
  return {m[0] * v.x + m[4] * v.y + m[8] * v.z, m[1] * v.x + m[5] * v.y + m[9] * v.z,
          m[2] * v.x + m[6] * v.y + m[10] * v.z};
}

inline v3 Translation(const float m[16]) { return {m[12], m[13], m[14]}; }

// A rotation whose columns are a, b and c, with zero translation and 1 in
// the corner.
inline void SetColumns(float m[16], v3 a, v3 b, v3 c) {
  const v3 cols[3] = {a, b, c};
  for (int i = 0; i < 3; ++i) {
    Store(m + 4 * i, cols[i]);
    m[4 * i + 3] = 0.0f;
  }
  m[12] = m[13] = m[14] = 0.0f;
  m[15] = 1.0f;
}

// The same with a, b and c as rows.
inline void SetRows(float m[16], v3 a, v3 b, v3 c) {
  SetColumns(m, {a.x, b.x, c.x}, {a.y, b.y, c.y}, {a.z, b.z, c.z});
}

}  // namespace dnsmodel
