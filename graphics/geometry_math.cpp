// Geometry helpers: extreme points, principal axes, section axes and the
// segment-triangle test.
#include "graphics/geometry_math.h"

#include <algorithm>
#include <cmath>

namespace geometry {

namespace {

constexpr float kExtremeStart = 1000.0f;
// Determinants below this (relative to the edge lengths) count as parallel.
constexpr float kParallel = 1e-12f;

bool Finite3(const kxvector4r& v) { return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z); }

// v := M v on the 3x3 part (w stays 0).
kxvector4r Apply(const float M[16], const kxvector4r& v) {
  return {M[0] * v.x + M[4] * v.y + M[8] * v.z, M[1] * v.x + M[5] * v.y + M[9] * v.z,
          M[2] * v.x + M[6] * v.y + M[10] * v.z, 0.0f};
}

// Iterates v := normalise(M v) (with the component along `remove` taken out
// when given) until the change is at most the tolerance. A product that is
// zero or not finite ends the iteration with v as it was. 0 on the cap.
int Iterate(const float M[16], kxvector4r* v, const kxvector4r* remove) {
  kxvector4r current = {v->x, v->y, v->z, 0.0f};
  for (int round = 0; round < kMaxPowerRounds; ++round) {
    kxvector4r next = Apply(M, current);
    if (remove) {
      float along = kxvector4r::Dot3(next, *remove);
      next.x -= along * remove->x;
      next.y -= along * remove->y;
      next.z -= along * remove->z;
    }
    float length = std::sqrt(kxvector4r::Dot3(next, next));
    if (!(length > 0.0f) || !std::isfinite(length) || !Finite3(next)) return 1;
    next.x /= length;
    next.y /= length;
    next.z /= length;
    kxvector4r change;
    kxvector4r::Subtract(change, next, current);
    *v = {next.x, next.y, next.z, 0.0f};
    current = *v;
    if (std::sqrt(kxvector4r::Dot3(change, change)) <= kPowerTolerance) return 1;
  }
  return 0;
}

}  // namespace

void ExtremePoints(int count, const kxvector4r* pts, const kxvector4r& dir, kxvector4r* min, kxvector4r* max) {
  if (count < 1 || !pts) return;
  float lo = kExtremeStart, hi = -kExtremeStart;
  int loIndex = -1, hiIndex = -1;
  for (int i = 0; i < count; ++i) {
    float d = kxvector4r::Dot3(pts[i], dir);
    if (d < lo) {
      lo = d;
      loIndex = i;
    }
    if (d > hi) {
      hi = d;
      hiIndex = i;
    }
  }
  if (loIndex >= 0 && min) *min = pts[loIndex];
  if (hiIndex >= 0 && max) *max = pts[hiIndex];
}

int PrincipalAxis(kxvector4r* third, kxvector4r* second, const float M[16], kxvector4r* first) {
  for (int i = 0; i < 16; ++i) {
    if (!std::isfinite(M[i])) return 0;
  }
  int ok = Iterate(M, first, nullptr);
  ok &= Iterate(M, second, first);
  kxvector4r::Cross(*third, *second, *first);
  third->w = 0.0f;
  return ok;
}

int SectionAxes(int n, const kxvector4r* segs, kxvector4r* a, kxvector4r* b, kxvector4r* c) {
  if (n <= 0 || !segs) return 1;
  // Samples are visited twice (mean, then moments), so they are generated on
  // the fly rather than stored.
  auto forEachSample = [&](auto&& use) {
    for (int s = 0; s < n; ++s) {
      const kxvector4r& p1 = segs[2 * s];
      const kxvector4r& p2 = segs[2 * s + 1];
      double dx = p1.x - p2.x, dy = p1.y - p2.y, dz = p1.z - p2.z;
      double length = std::sqrt(dx * dx + dy * dy + dz * dz);
      if (!std::isfinite(length)) continue;
      long k = std::lround(length / kSectionSampleStep);
      long N = std::min<long>(k + 1, kMaxSectionSamples);
      for (long j = 0; j < N; ++j) {
        double f = static_cast<double>(j) / static_cast<double>(N);
        use(p2.x + f * dx, p2.y + f * dy, p2.z + f * dz);
      }
    }
  };
  double count = 0.0, mx = 0.0, my = 0.0, mz = 0.0;
  forEachSample([&](double x, double y, double z) {
    count += 1.0;
    mx += x;
    my += y;
    mz += z;
  });
  if (count == 0.0) return 1;
  mx /= count;
  my /= count;
  mz /= count;
  double xx = 0, yy = 0, zz = 0, xy = 0, xz = 0, yz = 0;
  forEachSample([&](double x, double y, double z) {
    double u = x - mx, v = y - my, w = z - mz;
    xx += u * u;
    yy += v * v;
    zz += w * w;
    xy += u * v;
    xz += u * w;
    yz += v * w;
  });
  // Inertia form sum(|d|^2 I - d d^T): its dominant axis is the section's
  // normal and its weakest the chord, so the chord comes back in a.
  float M[16] = {};
  M[0] = static_cast<float>(yy + zz);
  M[5] = static_cast<float>(xx + zz);
  M[10] = static_cast<float>(xx + yy);
  M[1] = M[4] = static_cast<float>(-xy);
  M[2] = M[8] = static_cast<float>(-xz);
  M[6] = M[9] = static_cast<float>(-yz);
  return PrincipalAxis(a, b, M, c);
}

int IntersectSegmentTriangle(kxvector4r* hit, const kxvector4r& s0, const kxvector4r& s1, const kxvector4r& A,
                             const kxvector4r& B, const kxvector4r& C) {
  kxvector4r d, e1, e2, n;
  kxvector4r::Subtract(d, s1, s0);
  kxvector4r::Subtract(e1, B, A);
  kxvector4r::Subtract(e2, C, A);
  kxvector4r::Cross(n, e1, e2);
  float facing = kxvector4r::Dot3(d, n);
  float scale = std::sqrt(kxvector4r::Dot3(d, d) * kxvector4r::Dot3(n, n));
  if (!(facing < -kParallel * scale) || !std::isfinite(facing)) return 0;  // back face, parallel or degenerate
  // Moller-Trumbore with the determinant -facing.
  kxvector4r pvec, tvec, qvec;
  kxvector4r::Cross(pvec, d, e2);
  float det = kxvector4r::Dot3(e1, pvec);
  if (det == 0.0f) return 0;
  float inv = 1.0f / det;
  kxvector4r::Subtract(tvec, s0, A);
  float u = kxvector4r::Dot3(tvec, pvec) * inv;
  if (u < 0.0f || u > 1.0f) return 0;
  kxvector4r::Cross(qvec, tvec, e1);
  float v = kxvector4r::Dot3(d, qvec) * inv;
  if (v < 0.0f || u + v > 1.0f) return 0;
  float t = kxvector4r::Dot3(e2, qvec) * inv;
  if (t < 0.0f || t > 1.0f) return 0;
  *hit = {s0.x + t * d.x, s0.y + t * d.y, s0.z + t * d.z, 1.0f};
  return 1;
}

}  // namespace geometry
