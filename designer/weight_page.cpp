#include "designer/weight_page.h"

#include "designer/clamp.h"
#include "dynamics/body.h"
#include "sim/units.h"

namespace {
constexpr int kLabelX = 10, kFieldX = 110, kRowY = 8;  // px
}  // namespace

svdesignweightpage::svdesignweightpage(kxdbody* body) : svdesignpage(pageicon::kMass, body) {
  AddLabel("Mass", kLabelX, kRowY);
  AddField(kFieldX, kRowY, body ? &body->Mass : nullptr, "%.2f", units::Current().mass);
  if (body) AddLimit(&body->Mass, svdesign::Member(&body->RangeMassMax), svdesign::Member(&body->RangeMassMin));
}
