// The photo panorama of a scenery: a grid of texture tiles on a sphere about
// the viewer.
#pragma once

struct world;

namespace sim {

// Loads the columns x rows tiles "scenery/<name><i><j>.kxt" ("c.kxt" with
// texture compression on) into the tile slots and builds the sphere; sets
// w->photo when every tile loaded. The caller has checked the grid size.
void LoadPhotoGrid(world* w, int columns, int rows, const char* name);
// Releases every tile slot.
void FreePhotoTiles(world* w);

}  // namespace sim
