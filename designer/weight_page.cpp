#include "designer/weight_page.h"

#include "designer/units_placeholder.h"
#include "dynamics/body.h"

namespace {
constexpr int kLabelX = 10, kFieldX = 110, kRowY = 8;  // px
}  // namespace

svdesignweightpage::svdesignweightpage(kxdbody* body) : svdesignpage(kIcon, body) {
  AddLabel("Mass", kLabelX, kRowY);
  AddField(kFieldX, kRowY, body ? &body->Mass : nullptr, "%.2f", units::Current().mass);
  if (body) AddLimit(&body->Mass, svdesign::Member(&body->RangeMassMax), svdesign::Member(&body->RangeMassMin));
}
