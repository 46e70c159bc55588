#include "dynamics/world.h"

namespace {
kxdworld* current = nullptr;
}

namespace kxdynamics {
kxdworld* CurrentWorld() { return current; }
void SetCurrentWorld(kxdworld* world) { current = world; }
}  // namespace kxdynamics
