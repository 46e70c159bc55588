// Three-float vector arithmetic for the simulation's viewer, placement and
// key code, which keep positions and axes as float[3] rows of the records.
#pragma once

#include "core/vector3.h"

namespace sim::vec3 {

using kxvector3::AddScaled;
using kxvector3::Copy;
using kxvector3::Cross;
using kxvector3::Distance;
using kxvector3::Dot;
using kxvector3::Length;
using kxvector3::Length4;
using kxvector3::Set;

// Below this length a direction is taken as undefined and not normalised.
constexpr float kMinLength = 1e-6f;

// Scales v to unit length and returns 1; a vector shorter than kMinLength is
// left as it is and 0 returned.
inline int Normalise(float v[3]) {
  float l = Length(v);
  if (!(l >= kMinLength)) return 0;
  for (int k = 0; k < 3; ++k) v[k] /= l;
  return 1;
}

}  // namespace sim::vec3
