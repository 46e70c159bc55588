// The particle record of the exhaust puffs and the smoke trail, and the frame
// index record of an in-memory flight recording. Both belong to the player
// records; the frame update moves and fills them.
#pragma once

struct particle {
  float position[3];   // m, world
  float velocity[3];   // m/s, world
  float size;          // m, half the drawn square's edge
  float growth;        // m/s
  float alpha;         // 0..1
  float start_alpha;   // smoke only: alpha at emission
  float angle;         // degrees, rotation of the drawn square
  float ground;        // m, smoke only: ground height under the smoke point at emission
  float life;          // s, smoke only: remaining life, dead when <= 0
  particle* next;      // next of the exhaust row or the smoke list, null after the last
};

// One recorded frame: its records are 9 floats each (X axis, Y axis and
// position of one drawn part, world). A null records pointer marks the frame
// after the last one.
struct recordframe {
  float time;       // s, recording clock
  int count;        // records in this frame
  float* records;   // into the player's position store
};
