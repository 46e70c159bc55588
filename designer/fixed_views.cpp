// The toolbar's fixed views. Each button alternates between two opposite
// sides; the top view starts from above on every entry, the side and front
// views keep their side for the program's life.
#include "designer/state.h"
#include "designer/viewer.h"

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

void Toggle(const fixedview (&views)[2], int& flag) {
  designstate& s = State();
  const fixedview& v = views[flag ? 1 : 0];
  float L = s.aircraftLength;
  s.camera.Place(v.view, v.left, v.up, {L * v.eye.x, L * v.eye.y, L * v.eye.z, 1});
  flag = flag ? 0 : 1;
}

}  // namespace

void ModeViewerTop() { Toggle(kTop, State().topFlag); }
void ModeViewerSide() { Toggle(kSide, State().sideFlag); }
void ModeViewerFront() { Toggle(kFront, State().frontFlag); }

}  // namespace svdesign
