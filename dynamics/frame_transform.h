// Frame products for the substeps. The dynamics compute in floats, and
// these run many times a substep: inline and in single precision. The
// core's vector transform sums in double for the designer's far-placed
// points; a body's points lie near its frame's origin, where float sums
// lose nothing that matters.
#pragma once

#include "core/matrix.h"

namespace kxdframe {

// out_j = sum_i M[4i + j] * v_i: a direction (w = 0) turned, a point
// (w = 1) also moved.
inline kxvector4r Transform(const kxmatrix& M, const kxvector4r& v) { return kxmatrix::TransformSingle(M, v); }

// The local frame B placed in its parent frame A (the GL product A * B),
// as kxmatrix::Multiply4x4: each row of B transformed by A.
inline kxmatrix Place(const kxmatrix& A, const kxmatrix& B) {
  return {Transform(A, B.X), Transform(A, B.Y), Transform(A, B.Z), Transform(A, B.R)};
}

}  // namespace kxdframe
