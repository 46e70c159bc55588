#include "graphics/reserve_bridge.h"

#include "platform/reserves.h"

namespace kxgl {

int ReserveBytes(void** slot, size_t bytes, const char* name) {
  return kxsystem::Reserve(slot, static_cast<long>(bytes ? bytes : 1), name);
}

void ReleaseBytes(void** slot) {
  if (slot && *slot) kxsystem::Release(slot);
}

}  // namespace kxgl
