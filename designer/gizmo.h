// The move gizmo: three translucent squares about a point, one in each axis
// plane of a frame, with coloured outlines and three white axis lines. A
// page that moves a point in 3-D (the centre of gravity) draws it in the
// viewer's transparent pass and asks on a press which square the pick ray
// meets first; the drag then keeps to that square's plane.
#pragma once

#include "core/matrix.h"
#include "core/vector.h"

namespace svdesign {

// Square numbers: 1 in the frame's x = 0 plane (red), 2 in y = 0 (green),
// 3 in z = 0 (blue); 0 is none.
constexpr int kGizmoPlanes = 3;

// Draws the gizmo of half size s (m) placed by frame. Texturing and
// lighting are off while it draws and on again after; blending and depth
// belong to the caller's pass. Needs a current context.
void DrawMoveGizmo(const kxmatrix& frame, float s);

// The square the segment nearPoint..farPoint meets nearest to nearPoint,
// from either side, and where (w 1); 0 when it meets none closer than
// 1000, and then hit is left alone. On equal distances the lower number.
int PickMoveGizmo(kxvector4r* hit, const kxmatrix& frame, float s, const kxvector4r& nearPoint,
                  const kxvector4r& farPoint);

}  // namespace svdesign
