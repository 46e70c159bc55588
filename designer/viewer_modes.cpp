#include "designer/viewer_modes.h"

namespace svdesign {

viewermodes& Modes() {
  static viewermodes modes;
  return modes;
}

}  // namespace svdesign
