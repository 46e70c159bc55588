#include "core/matrix.h"

#include <cmath>
#include <utility>

namespace {

constexpr int kMaxInvertSize = 4;
// A pivot smaller than this fraction of the largest element counts as zero.
constexpr double kSingularRatio = 1e-12;

}  // namespace

const kxmatrix& kxmatrix::Identity() {
  static const kxmatrix identity = [] {
    kxmatrix m;
    SetIdentity(&m);
    return m;
  }();
  return identity;
}

kxmatrix* kxmatrix::SetIdentity(kxmatrix* m) {
  SetScalar(m, 1.0f);
  return m;
}

void kxmatrix::SetScalar(kxmatrix* m, float d) {
  float* e = m->Data();
  for (int i = 0; i < 16; ++i) e[i] = (i % 5 == 0) ? d : 0.0f;
}

void kxmatrix::Scale(kxmatrix* dst, float s, const kxmatrix* src) {
  for (int i = 0; i < 16; ++i) (*dst)[i] = (*src)[i] * s;
}

void kxmatrix::TransformVector4(float out[4], const kxmatrix* M, const float v[4]) {
  // The four products are summed in double and rounded once: a point far
  // from the origin moved by a small offset keeps its offset's digits.
  const float* m = M->Data();
  float result[4];
  for (int j = 0; j < 4; ++j) {
    double sum = static_cast<double>(m[j]) * v[0] + static_cast<double>(m[4 + j]) * v[1] +
                 static_cast<double>(m[8 + j]) * v[2] + static_cast<double>(m[12 + j]) * v[3];
    result[j] = static_cast<float>(sum);
  }
  for (int j = 0; j < 4; ++j) out[j] = result[j];
}

void kxmatrix::TransformVector4(kxvector4r* out, const kxmatrix* M, const kxvector4r* v) {
  TransformVector4(&out->x, M, &v->x);
}

void kxmatrix::Multiply4x4(kxmatrix* out, const kxmatrix* A, const kxmatrix* B) {
  const float* a = A->Data();
  const float* b = B->Data();
  kxmatrix result;
  float* r = result.Data();
  for (int row = 0; row < 4; ++row) {
    for (int c = 0; c < 4; ++c) {
      r[4 * row + c] = b[4 * row] * a[c] + b[4 * row + 1] * a[4 + c] +
                       b[4 * row + 2] * a[8 + c] + b[4 * row + 3] * a[12 + c];
    }
  }
  *out = result;
}

/* Gauss-Jordan on [src | I] with the largest remaining element of each
   column as pivot. The element order does not matter: the inverse of the
   transpose is the transpose of the inverse. Work happens in local arrays
   so dst may be src and a failure leaves no half-written result. */
int kxmatrix::Invert(const double* src, double* dst, int n) {
  if (!src || !dst || n < 1 || n > kMaxInvertSize) return -1;
  double a[kMaxInvertSize][kMaxInvertSize];
  double inverse[kMaxInvertSize][kMaxInvertSize];
  double largest = 0.0;
  bool finite = true;
  for (int r = 0; r < n; ++r) {
    for (int c = 0; c < n; ++c) {
      a[r][c] = src[r * n + c];
      inverse[r][c] = (r == c) ? 1.0 : 0.0;
      if (!std::isfinite(a[r][c])) finite = false;
      largest = std::fmax(largest, std::fabs(a[r][c]));
    }
  }
  auto fail = [&]() {
    for (int i = 0; i < n * n; ++i) dst[i] = (i % (n + 1) == 0) ? 1.0 : 0.0;
    return -1;
  };
  if (!finite || largest == 0.0) return fail();
  double threshold = largest * kSingularRatio;

  for (int col = 0; col < n; ++col) {
    int pivot = col;
    for (int r = col + 1; r < n; ++r) {
      if (std::fabs(a[r][col]) > std::fabs(a[pivot][col])) pivot = r;
    }
    if (std::fabs(a[pivot][col]) < threshold) return fail();
    if (pivot != col) {
      for (int c = 0; c < n; ++c) {
        std::swap(a[pivot][c], a[col][c]);
        std::swap(inverse[pivot][c], inverse[col][c]);
      }
    }
    double scale = 1.0 / a[col][col];
    for (int c = 0; c < n; ++c) {
      a[col][c] *= scale;
      inverse[col][c] *= scale;
    }
    for (int r = 0; r < n; ++r) {
      if (r == col || a[r][col] == 0.0) continue;
      double factor = a[r][col];
      for (int c = 0; c < n; ++c) {
        a[r][c] -= factor * a[col][c];
        inverse[r][c] -= factor * inverse[col][c];
      }
    }
  }
  for (int r = 0; r < n; ++r) {
    for (int c = 0; c < n; ++c) {
      if (!std::isfinite(inverse[r][c])) return fail();
    }
  }
  for (int r = 0; r < n; ++r) {
    for (int c = 0; c < n; ++c) dst[r * n + c] = inverse[r][c];
  }
  return 0;
}

namespace {

// Most frames are rotations and a position. For axes within this of
// orthonormal (summed magnitudes of A A^T - I) the transpose corrected by one
// Newton step is the inverse to about its square, far below a float's
// rounding, so the result is the one elimination gives.
constexpr double kRigidTolerance = 1e-4;

// The inverse of a frame whose axes are nearly orthonormal (w 0 and R.w 1),
// in doubles; false, dst untouched, for any other frame.
bool InvertRigid(const kxmatrix& src, kxmatrix& dst) {
  if (src.X.w != 0.0f || src.Y.w != 0.0f || src.Z.w != 0.0f || src.R.w != 1.0f) return false;
  // Rows of A are the axes; P = A A^T.
  double a[3][3] = {{src.X.x, src.X.y, src.X.z}, {src.Y.x, src.Y.y, src.Y.z}, {src.Z.x, src.Z.y, src.Z.z}};
  double p[3][3];
  for (int r = 0; r < 3; ++r) {
    for (int c = r; c < 3; ++c) {
      p[r][c] = p[c][r] = a[r][0] * a[c][0] + a[r][1] * a[c][1] + a[r][2] * a[c][2];
    }
  }
  // The sum keeps a NaN anywhere in the axes: then the test fails.
  double off = 0.0;
  for (int r = 0; r < 3; ++r) {
    for (int c = 0; c < 3; ++c) off += std::fabs(p[r][c] - (r == c ? 1.0 : 0.0));
  }
  if (!(off <= kRigidTolerance)) return false;
  // A^-1 = A^T (2 I - P), to second order in P - I.
  double inv[3][3];
  for (int r = 0; r < 3; ++r) {
    for (int c = 0; c < 3; ++c) {
      inv[r][c] = 2.0 * a[c][r] - (a[0][r] * p[0][c] + a[1][r] * p[1][c] + a[2][r] * p[2][c]);
    }
  }
  // The position row: -R A^-1.
  double t[3] = {src.R.x, src.R.y, src.R.z};
  kxmatrix result;
  for (int r = 0; r < 3; ++r) {
    for (int c = 0; c < 3; ++c) result[4 * r + c] = static_cast<float>(inv[r][c]);
    result[4 * r + 3] = 0.0f;
  }
  for (int c = 0; c < 3; ++c) {
    result[12 + c] = static_cast<float>(-(t[0] * inv[0][c] + t[1] * inv[1][c] + t[2] * inv[2][c]));
  }
  result[15] = 1.0f;
  for (int i = 12; i < 15; ++i) {
    if (!std::isfinite(result[i])) return false;
  }
  dst = result;
  return true;
}

}  // namespace

int kxmatrix::Invert(const kxmatrix& src, kxmatrix& dst) {
  if (InvertRigid(src, dst)) return 0;
  double in[16];
  double out[16];
  for (int i = 0; i < 16; ++i) in[i] = src[i];
  int status = Invert(in, out, 4);
  kxmatrix result;
  for (int i = 0; i < 16; ++i) {
    result[i] = static_cast<float>(out[i]);
    // An inverse that fits a double but not a float is as useless as none.
    if (!std::isfinite(result[i])) {
      SetIdentity(&dst);
      return -1;
    }
  }
  dst = result;
  return status;
}

void kxmatrix::SetRotation(kxmatrix* m, const kxvector4r& axis, float angle) {
  kxvector4r k{axis.x, axis.y, axis.z, 0.0f};
  if (!std::isfinite(angle) || !(kxvector4r::Normalise3(k) > 0.0f) ||
      !std::isfinite(k.x + k.y + k.z)) {
    SetIdentity(m);
    return;
  }
  float c = std::cos(angle);
  float s = std::sin(angle);
  float t = 1.0f - c;
  // Each column is the image of a unit axis (Rodrigues' formula).
  m->X = {c + t * k.x * k.x, t * k.x * k.y + s * k.z, t * k.x * k.z - s * k.y, 0.0f};
  m->Y = {t * k.x * k.y - s * k.z, c + t * k.y * k.y, t * k.y * k.z + s * k.x, 0.0f};
  m->Z = {t * k.x * k.z + s * k.y, t * k.y * k.z - s * k.x, c + t * k.z * k.z, 0.0f};
  m->R = {0.0f, 0.0f, 0.0f, 1.0f};
}
