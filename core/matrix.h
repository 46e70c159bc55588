// kxmatrix: a frame as four vectors X, Y, Z (axes, w = 0) and R (position,
// w = 1). Element m[4i + j] is component j of vector i, so the 16 floats are
// an OpenGL column-major matrix as they stand.
#pragma once

#include "core/vector.h"

struct kxmatrix {
  kxvector4r X, Y, Z, R;

  float* Data() { return &X.x; }
  const float* Data() const { return &X.x; }
  float& operator[](int i) { return Data()[i]; }
  float operator[](int i) const { return Data()[i]; }

  // Returns the matrix, so a declaration can read `SetIdentity(&m)->...`.
  static kxmatrix* SetIdentity(kxmatrix* m);
  // The identity frame, for measuring a mesh in its own coordinates.
  static const kxmatrix& Identity();
  // d on the diagonal, 0 elsewhere.
  static void SetScalar(kxmatrix* m, float d);
  // Every element of src times s; dst may be src.
  static void Scale(kxmatrix* dst, float s, const kxmatrix* src);

  // out_j = sum_i M[4i + j] * v_i, summed in double and stored as float: a
  // direction (w = 0) is turned, a point (w = 1) also moved. out may be v.
  static void TransformVector4(float out[4], const kxmatrix* M, const float v[4]);
  static void TransformVector4(kxvector4r* out, const kxmatrix* M, const kxvector4r* v);
  // The same summed in float, inline: for the many products of a
  // simulation step, whose points lie near the frame's origin.
  static kxvector4r TransformSingle(const kxmatrix& M, const kxvector4r& v) {
    return {M.X.x * v.x + M.Y.x * v.y + M.Z.x * v.z + M.R.x * v.w,
            M.X.y * v.x + M.Y.y * v.y + M.Z.y * v.z + M.R.y * v.w,
            M.X.z * v.x + M.Y.z * v.y + M.Z.z * v.z + M.R.z * v.w,
            M.X.w * v.x + M.Y.w * v.y + M.Z.w * v.z + M.R.w * v.w};
  }

  // out[4r + c] = sum_k B[4r + k] * A[4k + c]: the local frame B placed in
  // its parent frame A (the GL product A * B). out may be A or B.
  static void Multiply4x4(kxmatrix* out, const kxmatrix* A, const kxmatrix* B);

  // Inverts an n x n matrix of doubles (1 <= n <= 4) into dst, same element
  // order. 0 on success; -1 when singular, and then dst is the identity;
  // -1 with dst untouched when n is out of range. dst may be src.
  static int Invert(const double* src, double* dst, int n);
  // The same for a float frame, computed in doubles.
  static int Invert(const kxmatrix& src, kxmatrix& dst);

  // Rotation by angle (radians, right-hand rule) about axis (x, y, z; scaled
  // to unit length here); R = (0, 0, 0, 1). A zero axis gives the identity.
  static void SetRotation(kxmatrix* m, const kxvector4r& axis, float angle);
};

static_assert(sizeof(kxmatrix) == 16 * sizeof(float) && std::is_standard_layout_v<kxmatrix>);
