#include "sim/views/ground_shadow.h"

namespace sim {

// Stand-in until the shadow textures are rendered: the scene runs the query
// and calls this at its place in the pass, which draws nothing yet.
void DrawGroundShadow(const shadowquad*, const kxmatrix&) {}

}  // namespace sim
