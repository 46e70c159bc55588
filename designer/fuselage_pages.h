// The fuselage's centre-of-gravity page: the CG point in the display length
// unit, kept within a box around the aircraft origin; storing it rebalances
// the aircraft. The move gizmo around the CG drags it within the plane of
// the square grabbed.
#pragma once

#include "designer/page.h"

class kxdfuselage00;

class svdesigncgpage : public svdesignpage {
 public:
  static constexpr float kHalfLength = 0.5f;  // m, CG x within +-
  static constexpr float kHalfWidth = 0.2f;   // m, CG y and z within +-
  static constexpr float kGizmoSize = 0.2f;   // m, half the side of a gizmo square

  explicit svdesigncgpage(kxdfuselage00* fuselage);

  // The gizmo, in the transparent passes only.
  void Draw(int pass) override;
  // A press on a square starts a drag in its plane; each move puts the CG
  // where the ray meets that plane, offset as at the press; the release
  // ends the drag. The aircraft is rebalanced at the page's next Store.
  int MouseDown(const designray& ray) override;
  void MouseMove(const designray& ray) override;
  void MouseUp(const designray& ray) override;

  int moveAxis = 0;               // 0, or the square dragged: 1 x = 0, 2 y = 0, 3 z = 0
  float startCG[3] = {};          // m, the CG at the press
  kxvector4r grabPoint = {};      // where the press met the square

 protected:
  void FollowUp() override;

 private:
  // The gizmo's frame: no turn, origin at the CG.
  kxmatrix GizmoFrame() const;
};
