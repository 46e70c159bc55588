// The Right Thrust and Down Thrust pages of a combustion engine: the
// heading and the elevation of its thrust axis (the frame's X axis) as two
// small angles, kept in the page and derived from the frame on every
// Refresh. Storing one rebuilds the frame around the new axis and moves the
// engine's mesh from its old placement to the new one.
#pragma once

#include "designer/page.h"

class svdesignthrustanglepage : public svdesignpage {
 public:
  enum class kind { right, down };
  svdesignthrustanglepage(kxdbody* engine, kind which);

  void Refresh() override;

  kind which;
  float angle = 0.0f;  // rad; right: towards -y, down: the elevation (a positive entry points down)

 protected:
  void FollowUp() override;
};
