// Exhaust puffs and the smoke trail of a player's aircraft: moved, aged and
// emitted once per frame from what the flight state publishes. The views
// draw them from the player record.
#pragma once

struct simplayer;

namespace sim {

// Puffs along each exhaust point's way since the last frame, one per 0.15 m
// (1 to 18), each row shifting its older puffs down and fading them.
void UpdateExhaust(simplayer* player, float dt);
// Moves and fades the living smoke particles in five substeps and emits from
// the smoke point at most smoke_particles / 7 per second.
void UpdateSmoke(simplayer* player, float dt);
// Chains the first smoke_particles records of the pool (clamped to the pool)
// into the smoke list, all dead, with the clocks at 0; the newest is the
// first record, placed far below any ground.
void ResetSmoke(simplayer* player);

}  // namespace sim
