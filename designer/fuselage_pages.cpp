#include "designer/fuselage_pages.h"

#include <cmath>

#include "designer/designer.h"
#include "designer/gizmo.h"
#include "dynamics/fuselage.h"
#include "sim/units.h"

namespace {
constexpr int kRowX = 8, kRowY = 8;  // px
// A ray closer than this to parallel with the dragged plane meets it nowhere.
constexpr float kLeastCrossing = 1e-9f;  // m

float& Coordinate(kxvector4r& v, int i) { return (&v.x)[i]; }
float Coordinate(const kxvector4r& v, int i) { return (&v.x)[i]; }
}  // namespace

svdesigncgpage::svdesigncgpage(kxdfuselage00* fuselage) : svdesignpage(pageicon::kCentreOfGravity, fuselage) {
  using svdesign::Fixed;
  const units::displayunit& length = units::Current().length;
  kxvector4r& cg = fuselage->CG;
  AddRow("CenterOfGravity", kRowX, kRowY,
         {svdesign::Quantity(&cg.x, "%.1f", length), svdesign::Quantity(&cg.y, "%.1f", length),
          svdesign::Quantity(&cg.z, "%.1f", length)});
  AddLimit(&cg.x, Fixed(kHalfLength), Fixed(-kHalfLength));
  AddLimit(&cg.y, Fixed(kHalfWidth), Fixed(-kHalfWidth));
  AddLimit(&cg.z, Fixed(kHalfWidth), Fixed(-kHalfWidth));
}

void svdesigncgpage::FollowUp() {
  RunLimits();
  svdesign::RecomputeAircraft();
}

kxmatrix svdesigncgpage::GizmoFrame() const {
  kxmatrix frame;
  kxmatrix::SetIdentity(&frame);
  const kxvector4r& cg = static_cast<const kxdfuselage00*>(component)->CG;
  frame.R = {cg.x, cg.y, cg.z, 1.0f};
  return frame;
}

void svdesigncgpage::Draw(int pass) {
  if (pass) svdesign::DrawMoveGizmo(GizmoFrame(), kGizmoSize);
}

int svdesigncgpage::MouseDown(const designray& ray) {
  kxvector4r hit;
  moveAxis = svdesign::PickMoveGizmo(&hit, GizmoFrame(), kGizmoSize, ray.nearPoint, ray.farPoint);
  if (!moveAxis) return 0;
  const kxvector4r& cg = static_cast<kxdfuselage00*>(component)->CG;
  startCG[0] = cg.x;
  startCG[1] = cg.y;
  startCG[2] = cg.z;
  grabPoint = hit;
  return moveAxis;
}

/* Every step starts again from the CG at the press, so a drag held at the
   box's faces comes back when the mouse does. A ray (nearly) parallel to
   the plane, or one that gives no finite point, skips the step. */
void svdesigncgpage::MouseMove(const designray& ray) {
  if (moveAxis < 1 || moveAxis > svdesign::kGizmoPlanes) return;
  const int n = moveAxis - 1;
  const float dO = Coordinate(ray.nearPoint, n) - Coordinate(grabPoint, n);
  const float dE = Coordinate(ray.farPoint, n) - Coordinate(grabPoint, n);
  if (!(std::fabs(dO - dE) >= kLeastCrossing)) return;
  float moved[3];
  for (int c = 0; c < 3; ++c) {
    if (c == n) continue;
    const float at = (Coordinate(ray.farPoint, c) * dO - Coordinate(ray.nearPoint, c) * dE) / (dO - dE);
    moved[c] = startCG[c] + (at - Coordinate(grabPoint, c));
    if (!std::isfinite(moved[c])) return;
  }
  kxvector4r& cg = static_cast<kxdfuselage00*>(component)->CG;
  for (int c = 0; c < 3; ++c) {
    if (c != n) Coordinate(cg, c) = moved[c];
  }
  RunLimits();
  Refresh();
  // The typed path's follow-up (clamp, rebalance) runs at the next Store.
  MarkEdited();
}

void svdesigncgpage::MouseUp(const designray&) { moveAxis = 0; }
