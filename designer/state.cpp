#include "designer/state.h"

namespace svdesign {

designstate& State() {
  static designstate state;
  return state;
}

}  // namespace svdesign
