// Frame products for the substeps. The dynamics compute in floats, and
// these run many times a substep: inline, single precision, summed in the
// same order as the core's float products. The core's vector transform sums
// in double for the designer's far-placed points; a body's points lie near
// its frame's origin, where float sums lose nothing that matters.
#pragma once

#include "core/matrix.h"

namespace kxdframe {

// out_j = sum_i M[4i + j] * v_i: a direction (w = 0) turned, a point
// (w = 1) also moved.
inline kxvector4r Transform(const kxmatrix& M, const kxvector4r& v) {
  return {M.X.x * v.x + M.Y.x * v.y + M.Z.x * v.z + M.R.x * v.w,
          M.X.y * v.x + M.Y.y * v.y + M.Z.y * v.z + M.R.y * v.w,
          M.X.z * v.x + M.Y.z * v.y + M.Z.z * v.z + M.R.z * v.w,
          M.X.w * v.x + M.Y.w * v.y + M.Z.w * v.z + M.R.w * v.w};
}

// The local frame B placed in its parent frame A (the GL product A * B),
// as kxmatrix::Multiply4x4: each row of B transformed by A.
inline kxmatrix Place(const kxmatrix& A, const kxmatrix& B) {
  return {Transform(A, B.X), Transform(A, B.Y), Transform(A, B.Z), Transform(A, B.R)};
}

}  // namespace kxdframe
