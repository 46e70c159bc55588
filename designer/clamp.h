// The limit every page's Store applies: an upper bound first, then a lower
// bound. Where the bounds come from the component and cross, the lower one
// wins. A value that is not a number becomes the lower bound: kept, it
// would be saved as "nan", which the reader refuses.
#pragma once

#include <cmath>

namespace svdesign {

inline void ClampUpperThenLower(float& value, float upper, float lower) {
  if (std::isnan(value)) {
    value = lower;
    return;
  }
  if (value > upper) value = upper;
  if (value < lower) value = lower;
}

}  // namespace svdesign
