#include "designer/viewer_modes.h"

#include <cmath>

#include "designer/state.h"

namespace {

constexpr float kDollyRate = -10.0f;  // m per unit of upward pointer travel: up moves back
// Closer than this to the screen centre a roll has no direction.
constexpr float kLeastRollRadius = 1e-6f;

}  // namespace

void svdesignmodemove::MouseMove() {
  svdesign::designstate& s = svdesign::State();
  if (s.pointer.buttonDown) s.camera.Dolly(kDollyRate * s.pointer.dy);
}

void svdesignmodeturn::MouseMove() {
  svdesign::designstate& s = svdesign::State();
  if (s.pointer.buttonDown) s.camera.Turn(s.pointer.dx, s.pointer.dy);
}

void svdesignmodeshift::MouseMove() {
  svdesign::designstate& s = svdesign::State();
  if (s.pointer.buttonDown) s.camera.Shift(s.pointer.dx, s.pointer.dy);
}

void svdesignmoderotate::MouseDown() {
  const designpointer& p = svdesign::State().pointer;
  float r2 = p.x * p.x + p.y * p.y;
  insideTrackball = r2 > kTrackballSquared ? 0 : 1;
}

void svdesignmoderotate::MouseMove() {
  svdesign::designstate& s = svdesign::State();
  const designpointer& p = s.pointer;
  if (!p.buttonDown) return;
  if (insideTrackball) {
    s.camera.Orbit(p.dx, p.dy);
    return;
  }
  // The pointer's turn about the screen centre, from where it is now.
  float radius = std::sqrt(p.x * p.x + p.y * p.y);
  if (!(radius >= kLeastRollRadius)) return;
  s.camera.Roll((p.y * p.dx - p.x * p.dy) / radius);
}

namespace svdesign {

viewermodes& Modes() {
  static viewermodes modes;
  return modes;
}

}  // namespace svdesign
