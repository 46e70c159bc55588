// Four-float vectors: kxvector4r for frames and geometry, kxvector4f for the
// members that component files write with their own constructor. Points have
// w = 1, directions w = 0. Both share one layout and the same helpers; they
// are distinct types so a value prints with the constructor it was read with.
#pragma once

#include <cmath>
#include <type_traits>

struct kxvector4f;

// The helpers of both vector types, written once.
namespace kxvector4ops {

template <class V>
inline void Add(V& dst, const V& a, const V& b) {
  dst.x = a.x + b.x;
  dst.y = a.y + b.y;
  dst.z = a.z + b.z;
  dst.w = a.w + b.w;
}

template <class V>
inline void Subtract(V& dst, const V& a, const V& b) {
  dst.x = a.x - b.x;
  dst.y = a.y - b.y;
  dst.z = a.z - b.z;
  dst.w = a.w - b.w;
}

template <class V>
inline float Dot(const V& a, const V& b) {
  return a.x * b.x + a.y * b.y + a.z * b.z + a.w * b.w;
}

template <class V>
inline float Dot3(const V& a, const V& b) {
  return a.x * b.x + a.y * b.y + a.z * b.z;
}

// w of the result is 0; dst may be a or b.
template <class V>
inline void Cross(V& dst, const V& a, const V& b) {
  float x = a.y * b.z - a.z * b.y;
  float y = a.z * b.x - a.x * b.z;
  float z = a.x * b.y - a.y * b.x;
  dst.x = x;
  dst.y = y;
  dst.z = z;
  dst.w = 0.0f;
}

// The same as a value, for use inside expressions.
template <class V>
inline V Cross(const V& a, const V& b) {
  V c;
  Cross(c, a, b);
  return c;
}

// a - b over all four components.
template <class V>
inline V Difference(const V& a, const V& b) {
  return {a.x - b.x, a.y - b.y, a.z - b.z, a.w - b.w};
}

// a - b over x, y, z with w 0: the direction from the point b to the point a.
template <class V>
inline V Difference3(const V& a, const V& b) {
  return {a.x - b.x, a.y - b.y, a.z - b.z, 0.0f};
}

template <class V>
inline float Length(const V& v) {
  return std::sqrt(Dot(v, v));
}

template <class V>
inline float Length3(const V& v) {
  return std::sqrt(Dot3(v, v));
}

template <class V>
inline bool Finite3(const V& v) {
  return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

template <class V>
inline void MultiplyBy(V& v, float s) {
  v.x *= s;
  v.y *= s;
  v.z *= s;
  v.w *= s;
}

// Scales to length 1 over all four components and returns the old length.
// A vector of length 0 (or one whose length is not finite) stays as it is.
template <class V>
float Normalise(V& v);
// The same over x, y, z; w is left alone.
template <class V>
float Normalise3(V& v);

}  // namespace kxvector4ops

struct kxvector4r {
  float x, y, z, w;

  static void Add(kxvector4r& dst, const kxvector4r& a, const kxvector4r& b) { kxvector4ops::Add(dst, a, b); }
  static void Subtract(kxvector4r& dst, const kxvector4r& a, const kxvector4r& b) { kxvector4ops::Subtract(dst, a, b); }
  static float Length(const kxvector4r& v) { return kxvector4ops::Length(v); }
  static float Dot(const kxvector4r& a, const kxvector4r& b) { return kxvector4ops::Dot(a, b); }
  static float Dot3(const kxvector4r& a, const kxvector4r& b) { return kxvector4ops::Dot3(a, b); }
  static void Cross(kxvector4r& dst, const kxvector4r& a, const kxvector4r& b) { kxvector4ops::Cross(dst, a, b); }
  static float Normalise(kxvector4r& v) { return kxvector4ops::Normalise(v); }
  static float Normalise3(kxvector4r& v) { return kxvector4ops::Normalise3(v); }

  kxvector4r& operator*=(float s) {
    kxvector4ops::MultiplyBy(*this, s);
    return *this;
  }
  bool operator==(const kxvector4r&) const = default;
  explicit operator kxvector4f() const;
};

struct kxvector4f {
  float x, y, z, w;

  static void Add(kxvector4f& dst, const kxvector4f& a, const kxvector4f& b) { kxvector4ops::Add(dst, a, b); }
  static void Subtract(kxvector4f& dst, const kxvector4f& a, const kxvector4f& b) { kxvector4ops::Subtract(dst, a, b); }
  static float Length(const kxvector4f& v) { return kxvector4ops::Length(v); }
  static float Dot(const kxvector4f& a, const kxvector4f& b) { return kxvector4ops::Dot(a, b); }
  static float Dot3(const kxvector4f& a, const kxvector4f& b) { return kxvector4ops::Dot3(a, b); }
  static void Cross(kxvector4f& dst, const kxvector4f& a, const kxvector4f& b) { kxvector4ops::Cross(dst, a, b); }
  static float Normalise(kxvector4f& v) { return kxvector4ops::Normalise(v); }
  static float Normalise3(kxvector4f& v) { return kxvector4ops::Normalise3(v); }

  kxvector4f& operator*=(float s) {
    kxvector4ops::MultiplyBy(*this, s);
    return *this;
  }
  bool operator==(const kxvector4f&) const = default;
  explicit operator kxvector4r() const { return {x, y, z, w}; }
};

inline kxvector4r::operator kxvector4f() const { return {x, y, z, w}; }

// Matrices and references read these as four consecutive floats.
static_assert(sizeof(kxvector4r) == 4 * sizeof(float) && std::is_standard_layout_v<kxvector4r>);
static_assert(sizeof(kxvector4f) == 4 * sizeof(float) && std::is_standard_layout_v<kxvector4f>);
