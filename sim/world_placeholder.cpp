#include "sim/world_placeholder.h"

#include "platform/log.h"

namespace sim {

world* TheWorld() { return nullptr; }

int LoadScenery(const char* name, world*) {
  kxsystem::Log("sim:  scenery %s not loaded: no scenery loader yet\n", name ? name : "");
  return 0;
}

void FreeScenery(world*) {}

kxtexture* SceneryPreview(world*) { return nullptr; }

}  // namespace sim
