// The weight page that wings, propellers, combustion engines and fuselages
// share: the component's Mass in the display mass unit, kept within the
// component's mass range.
#pragma once

#include "designer/page.h"

class svdesignweightpage : public svdesignpage {
 public:
  static constexpr int kIcon = 34;

  explicit svdesignweightpage(kxdbody* body);

 protected:
  // Mass at most RangeMassMax, then at least RangeMassMin.
  void FollowUp() override;
};
