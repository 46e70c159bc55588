// The wind's effect on what the scenery shows: the ocean and the cloud layer
// drift with it, and every wind wheel turns into it and spins.
#pragma once

struct world;

namespace sim {

// Moves the scenery by one frame of the session's time step with the air
// model's wind.
void UpdateWind(world* w);

}  // namespace sim
