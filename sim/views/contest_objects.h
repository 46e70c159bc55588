// The opaque objects of a contest, drawn inside the scene's opaque pass: the
// pylons of a pylon race and the coloured landing zone of a spot landing.
#pragma once

struct contestrec;

namespace sim {

void DrawContestObjects(const contestrec* contest);

}  // namespace sim
