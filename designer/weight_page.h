// The weight page that wings, propellers, combustion engines and fuselages
// share, and the one page of a body, gyro, joint or skid: the component's
// Mass in the display mass unit, kept within the component's mass range
// (the upper bound first, so a crossed range ends at its lower bound).
#pragma once

#include "designer/page.h"

class svdesignweightpage : public svdesignpage {
 public:
  explicit svdesignweightpage(kxdbody* body);
};
