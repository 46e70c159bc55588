// The fuselage's centre-of-gravity page: the CG point in the display length
// unit, kept within a box around the aircraft origin; storing it rebalances
// the aircraft.
#pragma once

#include "designer/page.h"

class kxdfuselage00;

class svdesigncgpage : public svdesignpage {
 public:
  static constexpr float kHalfLength = 0.5f;  // m, CG x within +-
  static constexpr float kHalfWidth = 0.2f;   // m, CG y and z within +-

  explicit svdesigncgpage(kxdfuselage00* fuselage);

 protected:
  void FollowUp() override;
};
