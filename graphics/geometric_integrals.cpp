// Integrals over the triangles and vertices of a geometric object tree: area
// and area centroid, the surface inertia per unit mass, the farthest vertex
// and the extent along a direction, projected (frontal) areas, and the cut
// of the surface by a plane. Sums are kept in doubles: an aircraft has tens
// of thousands of small triangles.
#include <cmath>

#include "graphics/geometric_object.h"
#include "graphics/geometry_walk.h"

namespace {

constexpr float kNoVertex = -1000000.0f;  // FarthestVertex's start value

using kxvector4ops::Cross;
using kxvector4ops::Difference3;

// (b - a) x (c - a): twice the area along the face normal.
kxvector4r AreaVector(const kxvector4r& a, const kxvector4r& b, const kxvector4r& c) {
  return Cross(Difference3(b, a), Difference3(c, a));
}

kxvector4r Lerp(const kxvector4r& a, const kxvector4r& b, float t) {
  return {a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t, a.z + (b.z - a.z) * t, 1.0f};
}

}  // namespace

float kxgeometricobject::SurfaceCentroid(kxvector4r* out, const kxmatrix& M) const {
  double area = 0.0, sx = 0.0, sy = 0.0, sz = 0.0;
  kxgeometrywalk::Triangles(this, M, [&](const kxvector4r& a, const kxvector4r& b, const kxvector4r& c) {
    double A = 0.5 * kxvector4r::Length(AreaVector(a, b, c));
    area += A;
    sx += A * (static_cast<double>(a.x) + b.x + c.x) / 3.0;
    sy += A * (static_cast<double>(a.y) + b.y + c.y) / 3.0;
    sz += A * (static_cast<double>(a.z) + b.z + c.z) / 3.0;
  });
  if (!(area > 0.0)) {
    *out = {0, 0, 0, 0};
    return 0.0f;
  }
  *out = {static_cast<float>(sx / area), static_cast<float>(sy / area), static_cast<float>(sz / area), 1.0f};
  return static_cast<float>(area);
}

float kxgeometricobject::SurfaceInertia(float out[16], const kxmatrix& M) const {
  double area = 0.0, sxx = 0.0, syy = 0.0, szz = 0.0, pxy = 0.0, pxz = 0.0, pyz = 0.0;
  int triangles = 0;
  auto second = [](double a, double b, double c) { return a * a + b * b + c * c + a * b + a * c + b * c; };
  auto product = [](double au, double av, double bu, double bv, double cu, double cv) {
    return 2 * au * av + 2 * bu * bv + 2 * cu * cv + au * bv + bu * av + au * cv + cu * av + bu * cv + cu * bv;
  };
  kxgeometrywalk::Triangles(this, M, [&](const kxvector4r& a, const kxvector4r& b, const kxvector4r& c) {
    double A = 0.5 * kxvector4r::Length(AreaVector(a, b, c));
    area += A;
    ++triangles;
    sxx += A / 6.0 * second(a.x, b.x, c.x);
    syy += A / 6.0 * second(a.y, b.y, c.y);
    szz += A / 6.0 * second(a.z, b.z, c.z);
    pxy += A / 12.0 * product(a.x, a.y, b.x, b.y, c.x, c.y);
    pxz += A / 12.0 * product(a.x, a.z, b.x, b.z, c.x, c.z);
    pyz += A / 12.0 * product(a.y, a.z, b.y, b.z, c.y, c.z);
  });
  for (int i = 0; i < 16; ++i) out[i] = 0.0f;
  if (!(area > 0.0)) return 0.0f;
  out[0] = static_cast<float>((syy + szz) / area);
  out[5] = static_cast<float>((sxx + szz) / area);
  out[10] = static_cast<float>((sxx + syy) / area);
  out[1] = out[4] = static_cast<float>(-pxy / area);
  out[2] = out[8] = static_cast<float>(-pxz / area);
  out[6] = out[9] = static_cast<float>(-pyz / area);
  out[15] = static_cast<float>(triangles);
  return static_cast<float>(area);
}

float kxgeometricobject::FarthestVertex(const kxvector4r& dir, kxvector4r* out, const kxmatrix& M) const {
  float best = kNoVertex;
  kxgeometrywalk::Vertices(this, M, [&](const kxvector4r& p) {
    float d = kxvector4r::Dot(p, dir);
    if (d > best) {
      best = d;
      *out = p;
    }
  });
  return best;
}

void kxgeometricobject::ExtentAlong(const kxvector4r& dir, float* min, float* max, const kxmatrix& M) const {
  kxgeometrywalk::Vertices(this, M, [&](const kxvector4r& p) {
    float d = kxvector4r::Dot(p, dir);
    if (d < *min) *min = d;
    if (d > *max) *max = d;
  });
}

float kxgeometricobject::ProjectedArea(const kxvector4r& dir, const kxmatrix& M) const {
  double sum = 0.0;
  kxgeometrywalk::Triangles(this, M, [&](const kxvector4r& a, const kxvector4r& b, const kxvector4r& c) {
    float projected = 0.5f * kxvector4r::Dot3(AreaVector(a, b, c), dir);
    if (projected > 0.0f) sum += projected;
  });
  return static_cast<float>(sum);
}

float kxgeometricobject::ProjectedAreaBeyond(const kxvector4r& normal, const kxvector4r& point,
                                             const kxvector4r& dir, const kxmatrix& M) const {
  double sum = 0.0;
  kxgeometrywalk::Triangles(this, M, [&](const kxvector4r& a, const kxvector4r& b, const kxvector4r& c) {
    if (!(kxvector4r::Dot3(AreaVector(a, b, c), normal) > 0.0f)) return;
    // Clip to the side of the plane that dir points to (Sutherland-Hodgman
    // on one plane: at most four corners remain).
    const kxvector4r in[3] = {a, b, c};
    float s[3];
    for (int k = 0; k < 3; ++k) s[k] = kxvector4r::Dot3(Difference3(in[k], point), dir);
    kxvector4r poly[4];
    int n = 0;
    for (int k = 0; k < 3; ++k) {
      const kxvector4r& p = in[k];
      const kxvector4r& q = in[(k + 1) % 3];
      float sp = s[k], sq = s[(k + 1) % 3];
      if (sp >= 0.0f) poly[n++] = p;
      if ((sp >= 0.0f) != (sq >= 0.0f)) poly[n++] = Lerp(p, q, sp / (sp - sq));
    }
    for (int k = 1; k + 1 < n; ++k) {
      sum += 0.5 * kxvector4r::Dot3(AreaVector(poly[0], poly[k], poly[k + 1]), normal);
    }
  });
  return static_cast<float>(sum);
}

int kxgeometricobject::CutByPlane(const kxvector4r& point, const kxvector4r& normal, std::vector<kxvector4r>& out,
                                  const kxmatrix& M) const {
  int cut = 0;
  kxgeometrywalk::Triangles(this, M, [&](const kxvector4r& a, const kxvector4r& b, const kxvector4r& c) {
    const kxvector4r p[3] = {a, b, c};
    float s[3];
    for (int k = 0; k < 3; ++k) s[k] = kxvector4r::Dot3(Difference3(p[k], point), normal);
    if (s[0] == 0.0f && s[1] == 0.0f && s[2] == 0.0f) return;  // lies in the plane: no line of cut
    kxvector4r found[3];
    int n = 0;
    for (int k = 0; k < 3; ++k) {
      if (s[k] == 0.0f) {
        found[n++] = {p[k].x, p[k].y, p[k].z, 1.0f};
      }
      int j = (k + 1) % 3;
      if ((s[k] < 0.0f && s[j] > 0.0f) || (s[k] > 0.0f && s[j] < 0.0f)) {
        found[n++] = Lerp(p[k], p[j], s[k] / (s[k] - s[j]));
      }
    }
    if (n == 0) return;
    out.push_back(found[0]);
    out.push_back(n > 1 ? found[1] : found[0]);
    ++cut;
  });
  return cut;
}
