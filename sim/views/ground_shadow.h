// Laying an aircraft's or a balloon's shadow texture onto the ground faces
// found by the last collision query around it.
#pragma once

#include "core/matrix.h"

struct shadowquad;

namespace sim {

// Draws the record's shadow over every face of the collision world's last
// query; frame places the record's corners in the world.
void DrawGroundShadow(const shadowquad* record, const kxmatrix& frame);

}  // namespace sim
