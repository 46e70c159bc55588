// Pick rays built by hand for the handle tests: through a point along a
// direction.
#pragma once

#include "core/vector.h"
#include "designer/camera.h"

namespace designertest {

inline kxvector4r Along(const kxvector4r& p, const kxvector4r& d, float s) {
  return {p.x + s * d.x, p.y + s * d.y, p.z + s * d.z, 0};
}

// The pick ray from p - d to p + d.
inline designray Through(const kxvector4r& p, const kxvector4r& d) { return {Along(p, d, -1), Along(p, d, 1)}; }

}  // namespace designertest
