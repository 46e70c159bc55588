// Picking: the nearest triangle of a geometric object tree along a segment.
// Both windings are tested, so thin surfaces and open meshes are picked from
// behind as well as from the front.
#include <cmath>

#include "graphics/geometric_object.h"
#include "graphics/geometry_math.h"
#include "graphics/geometry_walk.h"

namespace {

constexpr float kPickStart = 10000.0f;  // distance before any hit
constexpr float kPickRange = 1000.0f;   // hits at or beyond this do not count

}  // namespace

int kxgeometricobject::Pick(const kxvector4r& start, const kxvector4r& end, float* dist, const kxmatrix& M) const {
  kxmatrix place;
  kxmatrix::Multiply4x4(&place, &M, &Matrix);
  float best = kPickStart;
  kxgeometrywalk::Triangles(this, place, [&](const kxvector4r& a, const kxvector4r& b, const kxvector4r& c) {
    kxvector4r hit;
    if (!geometry::IntersectSegmentTriangle(&hit, start, end, a, b, c) &&
        !geometry::IntersectSegmentTriangle(&hit, start, end, a, c, b)) {
      return;
    }
    float dx = hit.x - start.x, dy = hit.y - start.y, dz = hit.z - start.z;
    float d = std::sqrt(dx * dx + dy * dy + dz * dz);
    if (d < best) best = d;
  });
  if (!(best < kPickRange)) return 0;
  if (dist) *dist = best;
  return 1;
}
