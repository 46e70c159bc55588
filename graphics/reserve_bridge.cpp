#include "graphics/reserve_bridge.h"

#include <cstdlib>

#include "core/hooks.h"

namespace kxgl {

int ReserveBytes(void** slot, size_t bytes, const char* name) {
  ReleaseBytes(slot);
  *slot = std::calloc(bytes ? bytes : 1, 1);
  if (!*slot) {
    kxcore::Log("gl:  reserve %s=fail\n", name);
    return 0;
  }
  return 1;
}

void ReleaseBytes(void** slot) {
  if (!slot || !*slot) return;
  std::free(*slot);
  *slot = nullptr;
}

}  // namespace kxgl
