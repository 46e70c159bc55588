// Loading the scenery for the session: the world reads it, the session
// keeps its name as the `scenery` setting and starts its contests over.
#pragma once

struct world;

namespace sim {

// Releases the loaded scenery and reads "scenery/<name>.geo" into w (see
// ReadScenery); a name inside "scenery/" becomes the `scenery` setting.
// Always 1.
int LoadScenery(const char* name, world* w);
// LoadScenery for a scenery the user chose: one that gives no ground to
// stand on (a file missing, unreadable, empty or not a scenery, a ground
// mesh that failed, objects but no ground) is replaced by the default
// scenery, else by the first other scenery with ground, with a log line and
// a notice; the `scenery` setting keeps the name it had. 1 when w has
// ground then, 0 when no scenery gives any.
int LoadSceneryOrDefault(const char* name, world* w);

}  // namespace sim
