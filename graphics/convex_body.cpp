// Convex bodies and pairs. libccd decides whether two placed hulls overlap
// and gives the penetration depth (EPA); the distance of separated bodies
// comes from the GJK distance routine below over the same support
// functions, since libccd only reports a separation vector for overlapping
// bodies. Both are capped in rounds, so degenerate hulls cannot hang a frame.
#include "graphics/convex_body.h"

#include <ccd/ccd.h>

#include <cmath>
#include <cstdlib>
#include <cstring>

#include "core/hooks.h"
#include "graphics/collision_world.h"
#include "graphics/mesh.h"

namespace {

constexpr int kMaxRounds = 64;              // GJK and EPA rounds per evaluation
constexpr double kDistanceTolerance = 1e-9;  // relative GJK progress at which it stops
constexpr double kTouching = 1e-9;           // m, reported depth of bodies that touch without a usable depth

struct vec {
  double x, y, z;
};

vec Sub(vec a, vec b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
vec Add(vec a, vec b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
vec Scale(vec a, double s) { return {a.x * s, a.y * s, a.z * s}; }
double Dot(vec a, vec b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
vec Cross(vec a, vec b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }

// The hull point farthest along dir (world), placed by the body's frame.
vec Support(const kxcbody* body, vec dir) {
  const float* m = body->frame;
  vec local = dir;
  if (m) {
    local = {m[0] * dir.x + m[1] * dir.y + m[2] * dir.z, m[4] * dir.x + m[5] * dir.y + m[6] * dir.z,
             m[8] * dir.x + m[9] * dir.y + m[10] * dir.z};
  }
  int best = 0;
  double bestDot = -INFINITY;
  for (int i = 0; i < body->hullCount; ++i) {
    const double* p = body->hull + 3 * i;
    double d = p[0] * local.x + p[1] * local.y + p[2] * local.z;
    if (d > bestDot) {
      bestDot = d;
      best = i;
    }
  }
  const double* p = body->hull + 3 * best;
  if (!m) return {p[0], p[1], p[2]};
  return {m[0] * p[0] + m[4] * p[1] + m[8] * p[2] + m[12], m[1] * p[0] + m[5] * p[1] + m[9] * p[2] + m[13],
          m[2] * p[0] + m[6] * p[1] + m[10] * p[2] + m[14]};
}

void CcdSupport(const void* obj, const ccd_vec3_t* dir, ccd_vec3_t* out) {
  vec p = Support(static_cast<const kxcbody*>(obj), {dir->v[0], dir->v[1], dir->v[2]});
  ccdVec3Set(out, p.x, p.y, p.z);
}

vec Centre(const kxcbody* body) {
  const float* m = body->frame;
  return m ? vec{m[12], m[13], m[14]} : vec{0, 0, 0};
}

void CcdCentre(const void* obj, ccd_vec3_t* out) {
  vec c = Centre(static_cast<const kxcbody*>(obj));
  ccdVec3Set(out, c.x, c.y, c.z);
}

// ---- GJK distance

// The simplex shrinks to the vertex p, which is the closest point.
vec KeepVertex(vec* s, int* n, vec p) {
  s[0] = p;
  *n = 1;
  return p;
}

// The simplex shrinks to the edge (p, q); the closest point lies on it.
vec KeepEdge(vec* s, int* n, vec p, vec q, vec closest) {
  s[0] = p;
  s[1] = q;
  *n = 2;
  return closest;
}

// Closest point to the origin on the simplex; the simplex shrinks to the
// smallest face that holds that point (Ericson's region tests).
vec ClosestOnSegment(vec* s, int* n) {
  vec a = s[1], b = s[0];  // a newest
  vec ab = Sub(b, a);
  double t = -Dot(a, ab);
  if (t <= 0.0) return KeepVertex(s, n, a);
  double len = Dot(ab, ab);
  if (t >= len) return KeepVertex(s, n, b);
  return Add(a, Scale(ab, t / len));
}

vec ClosestOnTriangle(vec* s, int* n) {
  vec a = s[2], b = s[1], c = s[0];
  vec ab = Sub(b, a), ac = Sub(c, a), ap = Scale(a, -1.0);
  double d1 = Dot(ab, ap), d2 = Dot(ac, ap);
  if (d1 <= 0 && d2 <= 0) return KeepVertex(s, n, a);
  vec bp = Scale(b, -1.0);
  double d3 = Dot(ab, bp), d4 = Dot(ac, bp);
  if (d3 >= 0 && d4 <= d3) return KeepVertex(s, n, b);
  double vc = d1 * d4 - d3 * d2;
  if (vc <= 0 && d1 >= 0 && d3 <= 0) {
    double v = d1 / (d1 - d3);
    return KeepEdge(s, n, b, a, Add(a, Scale(ab, v)));
  }
  vec cp = Scale(c, -1.0);
  double d5 = Dot(ab, cp), d6 = Dot(ac, cp);
  if (d6 >= 0 && d5 <= d6) return KeepVertex(s, n, c);
  double vb = d5 * d2 - d1 * d6;
  if (vb <= 0 && d2 >= 0 && d6 <= 0) {
    double w = d2 / (d2 - d6);
    return KeepEdge(s, n, c, a, Add(a, Scale(ac, w)));
  }
  double va = d3 * d6 - d5 * d4;
  if (va <= 0 && (d4 - d3) >= 0 && (d5 - d6) >= 0) {
    double w = (d4 - d3) / ((d4 - d3) + (d5 - d6));
    return KeepEdge(s, n, c, b, Add(b, Scale(Sub(c, b), w)));
  }
  double denom = 1.0 / (va + vb + vc);
  double v = vb * denom, w = vc * denom;
  return Add(a, Add(Scale(ab, v), Scale(ac, w)));
}

// Closest point on tetrahedron: the best of the faces that the origin lies
// outside of; the origin inside gives itself.
vec ClosestOnTetrahedron(vec* s, int* n) {
  vec a = s[3];
  const int faces[3][2] = {{2, 1}, {1, 0}, {0, 2}};
  bool outside = false;
  double best = INFINITY;
  vec bestPoint = {0, 0, 0};
  vec bestSimplex[3];
  int bestCount = 0;
  for (const auto& f : faces) {
    vec b = s[f[0]], c = s[f[1]];
    int other = 3 - f[0] - f[1];
    vec d = s[other];
    vec normal = Cross(Sub(b, a), Sub(c, a));
    double sideOrigin = Dot(normal, Scale(a, -1.0));
    double sideOther = Dot(normal, Sub(d, a));
    if (sideOrigin * sideOther >= 0.0) continue;  // origin on the inner side of this face
    outside = true;
    vec tri[3] = {c, b, a};
    int count = 3;
    vec q = ClosestOnTriangle(tri, &count);
    double d2 = Dot(q, q);
    if (d2 < best) {
      best = d2;
      bestPoint = q;
      bestCount = count;
      for (int k = 0; k < count; ++k) bestSimplex[k] = tri[k];
    }
  }
  if (!outside) return {0, 0, 0};
  for (int k = 0; k < bestCount; ++k) s[k] = bestSimplex[k];
  *n = bestCount;
  return bestPoint;
}

// Distance between two separated bodies; dir starts the search and keeps
// the last direction.
double GjkDistance(const kxcbody* a, const kxcbody* b, double dir[3]) {
  vec v = {dir[0], dir[1], dir[2]};
  if (!(Dot(v, v) > 0.0) || !std::isfinite(Dot(v, v))) v = Sub(Centre(a), Centre(b));
  if (!(Dot(v, v) > 0.0)) v = {1, 0, 0};
  // Start from a support point of A - B.
  vec simplex[4];
  simplex[0] = Sub(Support(a, Scale(v, -1.0)), Support(b, v));
  int n = 1;
  v = simplex[0];
  for (int round = 0; round < kMaxRounds; ++round) {
    double vv = Dot(v, v);
    if (vv <= 0.0) break;
    vec w = Sub(Support(a, Scale(v, -1.0)), Support(b, v));
    if (vv - Dot(v, w) <= kDistanceTolerance * vv) break;  // no more progress
    simplex[n++] = w;
    if (n == 2) {
      v = ClosestOnSegment(simplex, &n);
    } else if (n == 3) {
      v = ClosestOnTriangle(simplex, &n);
    } else {
      v = ClosestOnTetrahedron(simplex, &n);
    }
  }
  dir[0] = v.x;
  dir[1] = v.y;
  dir[2] = v.z;
  return std::sqrt(Dot(v, v));
}

}  // namespace

int kxcbody::Init(kxcbody** slot, const kxgeometry* el, const float* frame, int) {
  if (!slot) return 0;
  Free(slot);
  if (!el || el->hullCount < 1 || !el->hull) return 0;
  kxcbody* body = static_cast<kxcbody*>(std::calloc(1, sizeof(kxcbody)));
  double* hull = static_cast<double*>(std::malloc(sizeof(double) * 3 * el->hullCount));
  if (!body || !hull) {
    std::free(body);
    std::free(hull);
    return 0;
  }
  std::memcpy(hull, el->hull, sizeof(double) * 3 * el->hullCount);
  body->hull = hull;
  body->hullCount = el->hullCount;
  body->frame = frame;
  for (int i = 0; i < el->hullCount; ++i) {
    const double* p = hull + 3 * i;
    body->radius = std::fmax(body->radius, std::sqrt(p[0] * p[0] + p[1] * p[1] + p[2] * p[2]));
  }
  *slot = body;
  return 1;
}

void kxcbody::Free(kxcbody** slot) {
  if (!slot || !*slot) return;
  std::free((*slot)->hull);
  std::free(*slot);
  *slot = nullptr;
}

int kxcpair::Init(kxcpair* pair, kxcbody* a, kxcbody* b) {
  if (!pair) return 0;
  std::memset(pair, 0, sizeof *pair);
  if (!a || !b) return 0;
  pair->a = a;
  pair->b = b;
  return 1;
}

int kxcollision::AircraftContacts(kxcpair* pair) {
  if (!pair || !pair->a || !pair->b || pair->a->hullCount < 1 || pair->b->hullCount < 1) return 0;
  for (const kxcbody* body : {pair->a, pair->b}) {
    for (int i = 0; body->frame && i < 16; ++i) {
      if (!std::isfinite(body->frame[i])) return 0;
    }
  }
  ccd_t ccd;
  CCD_INIT(&ccd);
  ccd.support1 = CcdSupport;
  ccd.support2 = CcdSupport;
  ccd.center1 = CcdCentre;
  ccd.center2 = CcdCentre;
  ccd.max_iterations = kMaxRounds;
  ccd.epa_tolerance = 1e-6;
  ccd.dist_tolerance = 1e-9;
  if (ccdGJKIntersect(pair->a, pair->b, &ccd)) {
    ccd_real_t depth = 0;
    ccd_vec3_t direction, position;
    if (ccdGJKPenetration(pair->a, pair->b, &ccd, &depth, &direction, &position) == 0 && std::isfinite(depth)) {
      pair->distance = -static_cast<double>(depth);
    } else {
      pair->distance = -kTouching;  // touching without a usable depth
    }
    return 1;
  }
  double d = GjkDistance(pair->a, pair->b, pair->direction);
  pair->distance = std::isfinite(d) ? d : 0.0;
  return 1;
}
