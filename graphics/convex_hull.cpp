// Convex hull of an element's positions, in double precision: the points
// collision bodies are built from.
//
// Quickhull: a starting tetrahedron of extreme points; every other point is
// owned by one face it lies above. The farthest point of a face replaces the
// connected patch of faces it sees by a fan to the patch's border, and the
// points of the removed faces move to the new faces or drop out as inside.
// A flat or straight set falls back to its 2-D hull or its two end points so
// flat ground still gets a sensible body.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <unordered_map>
#include <vector>

#include "graphics/mesh.h"

namespace {

struct V3 {
  double x, y, z;
};
V3 Sub(V3 a, V3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
V3 Cross(V3 a, V3 b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }
double Dot(V3 a, V3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
double Length(V3 a) { return std::sqrt(Dot(a, a)); }

// Relative size below which distances count as zero: the positions come
// from floats, whose rounding is about 6e-8 of their size.
constexpr double kFlatTolerance = 1e-6;

struct Face {
  int a, b, c;
  V3 normal;
  double offset;
  bool alive;
  std::vector<int> outside;  // points above this face, not yet added
};

Face MakeFace(const std::vector<V3>& p, int a, int b, int c) {
  V3 n = Cross(Sub(p[b], p[a]), Sub(p[c], p[a]));
  double len = Length(n);
  if (len > 0) n = {n.x / len, n.y / len, n.z / len};
  return {a, b, c, n, Dot(n, p[a]), true, {}};
}

uint64_t Key(int u, int v) { return static_cast<uint64_t>(static_cast<uint32_t>(u)) << 32 | static_cast<uint32_t>(v); }

// 2-D hull (monotone chain) of points lying in a plane with normal n.
std::vector<int> PlanarHull(const std::vector<V3>& p, V3 n) {
  V3 u = std::fabs(n.x) < 0.9 ? Cross(n, V3{1, 0, 0}) : Cross(n, V3{0, 1, 0});
  u = {u.x / Length(u), u.y / Length(u), u.z / Length(u)};
  V3 w = Cross(n, u);
  std::vector<int> order(p.size());
  for (size_t i = 0; i < p.size(); ++i) order[i] = static_cast<int>(i);
  auto su = [&](int i) { return Dot(p[i], u); };
  auto sw = [&](int i) { return Dot(p[i], w); };
  std::sort(order.begin(), order.end(), [&](int a, int b) { return su(a) < su(b) || (su(a) == su(b) && sw(a) < sw(b)); });
  auto turn = [&](int o, int a, int b) {
    return (su(a) - su(o)) * (sw(b) - sw(o)) - (sw(a) - sw(o)) * (su(b) - su(o));
  };
  std::vector<int> hull(2 * order.size());
  size_t k = 0;
  for (size_t i = 0; i < order.size(); ++i) {
    while (k >= 2 && turn(hull[k - 2], hull[k - 1], order[i]) <= 0) --k;
    hull[k++] = order[i];
  }
  for (size_t i = order.size() - 1, t = k + 1; i > 0; --i) {
    while (k >= t && turn(hull[k - 2], hull[k - 1], order[i - 1]) <= 0) --k;
    hull[k++] = order[i - 1];
  }
  hull.resize(k > 1 ? k - 1 : k);
  return hull;
}

std::vector<int> SpatialHull(const std::vector<V3>& p) {
  size_t n = p.size();
  if (n == 0) return {};
  double scale = 0;
  int i0 = 0;
  for (size_t i = 0; i < n; ++i) {
    if (p[i].x < p[i0].x) i0 = static_cast<int>(i);
    scale = std::max({scale, std::fabs(p[i].x), std::fabs(p[i].y), std::fabs(p[i].z)});
  }
  double eps = kFlatTolerance * std::max(scale, 1.0);
  int i1 = i0;
  for (size_t i = 0; i < n; ++i)
    if (Length(Sub(p[i], p[i0])) > Length(Sub(p[i1], p[i0]))) i1 = static_cast<int>(i);
  if (Length(Sub(p[i1], p[i0])) <= eps) return {i0};
  V3 axis = Sub(p[i1], p[i0]);
  int i2 = i0;
  double best = 0;
  for (size_t i = 0; i < n; ++i) {
    double d = Length(Cross(axis, Sub(p[i], p[i0]))) / Length(axis);
    if (d > best) best = d, i2 = static_cast<int>(i);
  }
  if (best <= eps) {
    // Straight: the two ends along the axis.
    int lo = i0, hi = i0;
    for (size_t i = 0; i < n; ++i) {
      if (Dot(p[i], axis) < Dot(p[lo], axis)) lo = static_cast<int>(i);
      if (Dot(p[i], axis) > Dot(p[hi], axis)) hi = static_cast<int>(i);
    }
    return {lo, hi};
  }
  Face base = MakeFace(p, i0, i1, i2);
  int i3 = i0;
  best = 0;
  for (size_t i = 0; i < n; ++i) {
    double d = std::fabs(Dot(base.normal, p[i]) - base.offset);
    if (d > best) best = d, i3 = static_cast<int>(i);
  }
  if (best <= eps) return PlanarHull(p, base.normal);

  std::vector<Face> faces;
  // Directed edge -> the face that has it; the face across an edge (u, v) is
  // the owner of (v, u).
  std::unordered_map<uint64_t, int> owner;
  std::vector<int> pending;  // faces that may have points outside them
  auto addFace = [&](int a, int b, int c) {
    faces.push_back(MakeFace(p, a, b, c));
    int f = static_cast<int>(faces.size()) - 1;
    owner[Key(a, b)] = f;
    owner[Key(b, c)] = f;
    owner[Key(c, a)] = f;
    return f;
  };
  auto distance = [&](int f, int point) { return Dot(faces[f].normal, p[point]) - faces[f].offset; };
  if (Dot(base.normal, p[i3]) - base.offset > 0) std::swap(i1, i2);  // base must face away from i3
  int first = addFace(i0, i1, i2);
  addFace(i0, i3, i1);
  addFace(i1, i3, i2);
  addFace(i2, i3, i0);
  // Each point outside the tetrahedron is owned by one face it lies above.
  for (size_t i = 0; i < n; ++i) {
    for (int f = first; f < first + 4; ++f) {
      if (distance(f, static_cast<int>(i)) > eps) {
        faces[f].outside.push_back(static_cast<int>(i));
        break;
      }
    }
  }
  for (int f = first; f < first + 4; ++f) pending.push_back(f);
  std::vector<int> visible, stack, orphans, created;
  std::vector<std::pair<int, int>> horizon;
  std::vector<char> mark;
  while (!pending.empty()) {
    int seed = pending.back();
    pending.pop_back();
    if (!faces[seed].alive || faces[seed].outside.empty()) continue;
    int apex = faces[seed].outside[0];
    for (int q : faces[seed].outside)
      if (distance(seed, q) > distance(seed, apex)) apex = q;
    // The visible region grows across edges from the seed only, so it stays
    // one connected patch and its border is a single loop even when rounding
    // disagrees about faces elsewhere.
    mark.assign(faces.size(), 0);
    visible.clear();
    horizon.clear();
    stack.assign(1, seed);
    mark[seed] = 1;
    while (!stack.empty()) {
      int f = stack.back();
      stack.pop_back();
      visible.push_back(f);
      int corner[3] = {faces[f].a, faces[f].b, faces[f].c};
      for (int e = 0; e < 3; ++e) {
        int u = corner[e], v = corner[(e + 1) % 3];
        auto across = owner.find(Key(v, u));
        int g = across == owner.end() ? -1 : across->second;
        if (g >= 0 && !mark[g] && distance(g, apex) > eps) {
          mark[g] = 1;
          stack.push_back(g);
        } else if (g < 0 || !mark[g]) {
          horizon.push_back({u, v});
        }
      }
    }
    orphans.clear();
    for (int f : visible) {
      faces[f].alive = false;
      owner.erase(Key(faces[f].a, faces[f].b));
      owner.erase(Key(faces[f].b, faces[f].c));
      owner.erase(Key(faces[f].c, faces[f].a));
      for (int q : faces[f].outside)
        if (q != apex) orphans.push_back(q);
      faces[f].outside.clear();
      faces[f].outside.shrink_to_fit();
    }
    created.clear();
    for (const auto& [u, v] : horizon) {
      if (owner.find(Key(v, u)) == owner.end()) continue;  // no face left across it: nothing to close
      created.push_back(addFace(u, v, apex));
    }
    // Points above the new faces move to them; the rest are now inside.
    for (int q : orphans) {
      for (int f : created) {
        if (distance(f, q) > eps) {
          faces[f].outside.push_back(q);
          break;
        }
      }
    }
    for (int f : created)
      if (!faces[f].outside.empty()) pending.push_back(f);
  }
  std::vector<char> onHull(n, 0);
  for (const Face& f : faces) {
    if (!f.alive) continue;
    onHull[f.a] = onHull[f.b] = onHull[f.c] = 1;
  }
  std::vector<int> result;
  for (size_t i = 0; i < n; ++i)
    if (onHull[i]) result.push_back(static_cast<int>(i));
  return result;
}

}  // namespace

int kxgeometry::BuildHull(kxgeometry* el) {
  std::free(el->hull);
  std::free(el->hull4);
  std::free(el->hullStored);
  std::free(el->hull4Stored);
  el->hull = el->hullStored = nullptr;
  el->hull4 = el->hull4Stored = nullptr;
  el->hullCount = 0;
  std::vector<V3> points(static_cast<size_t>(el->vertexCount));
  for (int i = 0; i < el->vertexCount; ++i) {
    float q[3];
    GetVertexPosition(el, i, q);
    points[i] = {q[0], q[1], q[2]};
  }
  std::vector<int> hull = SpatialHull(points);
  if (hull.empty()) return 1;
  size_t count = hull.size();
  el->hull = static_cast<double*>(std::calloc(count * 3, sizeof(double)));
  el->hullStored = static_cast<double*>(std::calloc(count * 3, sizeof(double)));
  el->hull4 = static_cast<float*>(std::calloc(count * 4, sizeof(float)));
  el->hull4Stored = static_cast<float*>(std::calloc(count * 4, sizeof(float)));
  if (!el->hull || !el->hullStored || !el->hull4 || !el->hull4Stored) return 0;
  for (size_t k = 0; k < count; ++k) {
    const V3& q = points[hull[k]];
    el->hull[k * 3] = q.x;
    el->hull[k * 3 + 1] = q.y;
    el->hull[k * 3 + 2] = q.z;
    el->hull4[k * 4] = static_cast<float>(q.x);
    el->hull4[k * 4 + 1] = static_cast<float>(q.y);
    el->hull4[k * 4 + 2] = static_cast<float>(q.z);
    el->hull4[k * 4 + 3] = 1.0f;
  }
  el->hullCount = static_cast<int32_t>(count);
  std::memcpy(el->hullStored, el->hull, count * 3 * sizeof(double));
  std::memcpy(el->hull4Stored, el->hull4, count * 4 * sizeof(float));
  return 1;
}
