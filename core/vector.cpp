#include "core/vector.h"

#include <cmath>

namespace kxvector4ops {
namespace {

// Divides by the length only when that gives a unit vector; a zero vector
// would turn into NaN and spread through every frame built from it.
bool Usable(float length) { return length > 0.0f && std::isfinite(length); }

}  // namespace

template <class V>
float Normalise(V& v) {
  float length = Length(v);
  if (!Usable(length)) return length;
  v.x /= length;
  v.y /= length;
  v.z /= length;
  v.w /= length;
  return length;
}

template <class V>
float Normalise3(V& v) {
  float length = std::sqrt(Dot3(v, v));
  if (!Usable(length)) return length;
  v.x /= length;
  v.y /= length;
  v.z /= length;
  return length;
}

template float Normalise(kxvector4r&);
template float Normalise(kxvector4f&);
template float Normalise3(kxvector4r&);
template float Normalise3(kxvector4f&);

}  // namespace kxvector4ops
