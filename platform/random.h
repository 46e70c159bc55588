// The program's one random generator: two combined linear congruential
// generators with a 32-entry shuffle table, giving uniform floats in [0, 1).
#pragma once

namespace kxsystem {

// Uniform in [0, 1); never returns 1.
float Random();
// Restarts the sequence; the same seed gives the same sequence. 0 acts as 1.
void SeedRandom(int seed);

}  // namespace kxsystem
