// Stand-ins for the scenery loading until the world record exists: each logs
// what it would do. Same names and signatures as the real ones.
#pragma once

struct world;
struct kxtexture;

namespace sim {

// The one static world record.
world* TheWorld();
// Loads the named scenery into the record; 1 on success.
int LoadScenery(const char* name, world* w);
void FreeScenery(world* w);
// The loaded scenery's preview picture ("scenery/<name>lg.bmp"); null without.
kxtexture* SceneryPreview(world* w);

}  // namespace sim
