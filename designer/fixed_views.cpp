// The toolbar's fixed views. Each button alternates between two opposite
// sides; the top view starts from above on every entry, the side and front
// views keep their side for the program's life.
#include <algorithm>
#include <cmath>

#include "designer/state.h"
#include "designer/viewer.h"
#include "dynamics/flight_state.h"
#include "sim/world/scenery_mesh.h"

namespace svdesign {

namespace {

// A camera frame in reference lengths: line of sight, screen left, screen
// up and the eye's distance from the origin along each world axis.
struct fixedview {
  kxvector4r view, left, up, eye;
};

// [0] when the side's flag is 0, [1] when it is 1.
constexpr fixedview kTop[2] = {{{0, 0, -1, 0}, {0, 1, 0, 0}, {1, 0, 0, 0}, {0, 0, 3, 1}},    // from above
                               {{0, 0, 1, 0}, {0, -1, 0, 0}, {1, 0, 0, 0}, {0, 0, -3, 1}}};  // from below
constexpr fixedview kSide[2] = {{{0, -1, 0, 0}, {1, 0, 0, 0}, {0, 0, 1, 0}, {0, 2, 0, 1}},   // the left side
                                {{0, 1, 0, 0}, {-1, 0, 0, 0}, {0, 0, 1, 0}, {0, -2, 0, 1}}}; // the right side
constexpr fixedview kFront[2] = {{{-1, 0, 0, 0}, {0, -1, 0, 0}, {0, 0, 1, 0}, {2, 0, 0, 1}},  // the nose
                                 {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {-2, 0, 0, 1}}};  // from behind

// Room left around the aircraft's box when a view is moved back to show it.
constexpr float kFitMargin = 1.1f;

float Dot(const kxvector4r& a, const float p[3]) { return a.x * p[0] + a.y * p[1] + a.z * p[2]; }

/*
 * How far back along the line of sight the eye must stand, looking at the
 * origin, for every corner of the aircraft's box to lie inside the frustum:
 * a corner p shows when |p.up| <= (d + p.view) tan(vertical half angle),
 * and likewise across. Centring the eye on the box was considered, but the
 * turn and the distance limit go about the origin, so the views keep it.
 */
float FitDistance(const svdesigncamera& c, const fixedview& v) {
  if (!c.geometry || c.nearPlane <= 0.0f) return 0.0f;
  shadowquad box;
  sim::CollectBounds(c.geometry, nullptr, &box);
  const float tanAcross = c.halfWidth / c.nearPlane, tanUp = c.halfHeight / c.nearPlane;
  float d = 0.0f;
  for (int corner = 0; corner < 8; ++corner) {
    const float p[3] = {corner & 1 ? box.max[0] : box.min[0], corner & 2 ? box.max[1] : box.min[1],
                        corner & 4 ? box.max[2] : box.min[2]};
    const float depth = Dot(v.view, p);
    d = std::max(d, kFitMargin * std::fabs(Dot(v.up, p)) / tanUp - depth);
    d = std::max(d, kFitMargin * std::fabs(Dot(v.left, p)) / tanAcross - depth);
  }
  return std::isfinite(d) ? d : 0.0f;
}

// The view's frame at its own distance, or farther when the aircraft needs
// it, never beyond the distance limit.
void Place(const fixedview& v) {
  designstate& s = State();
  const float L = s.aircraftLength;
  const float own = L * std::sqrt(v.eye.x * v.eye.x + v.eye.y * v.eye.y + v.eye.z * v.eye.z);
  const float d = std::min(std::max(own, FitDistance(s.camera, v)), kViewDistance * L);
  const float k = own > 0.0f ? d / own : 1.0f;
  s.camera.Place(v.view, v.left, v.up, {k * L * v.eye.x, k * L * v.eye.y, k * L * v.eye.z, 1});
}

void Toggle(const fixedview (&views)[2], int& flag) {
  Place(views[flag ? 1 : 0]);
  flag = flag ? 0 : 1;
}

}  // namespace

void ModeViewerTop() { Toggle(kTop, State().topFlag); }
void ModeViewerSide() { Toggle(kSide, State().sideFlag); }
void ModeViewerFront() { Toggle(kFront, State().frontFlag); }

void PlaceTopView() {
  Place(kTop[0]);
  State().topFlag = 1;
}

}  // namespace svdesign
