// The balloons of a balloon-pop contest: scaled copies of
// "objects/balloon.obj" with their collision bodies.
#pragma once

struct contestrec;

namespace sim {

// Replaces the contest's balloons by count new ones of radius size x (1 +
// random [0, 1)), coloured by their size; a balloon whose mesh does not
// load is left out. Sets balloon_count to the balloons made.
void MakeBalloons(contestrec* contest, int count, float size);
// Releases every balloon's mesh and collision body.
void FreeBalloons(contestrec* contest);

}  // namespace sim
