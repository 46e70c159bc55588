#include "designer/fuselage_pages.h"

#include "designer/designer.h"
#include "designer/units_placeholder.h"
#include "dynamics/fuselage.h"

namespace {
constexpr int kRowX = 8, kRowY = 8;  // px
}  // namespace

svdesigncgpage::svdesigncgpage(kxdfuselage00* fuselage) : svdesignpage(32, fuselage) {
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
