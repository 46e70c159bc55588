// Queries of the collision world: the current world, the ground height
// below a point, the faces near the viewer, the gather of faces near a
// moving aircraft (into the query list and into an aircraft's near set) and
// the near-object pass over the moving objects.
#include <algorithm>
#include <cmath>
#include <limits>

#include "core/hooks.h"
#include "graphics/collision_face.h"
#include "graphics/collision_near.h"
#include "graphics/collision_world.h"

namespace {

kxcollision* currentWorld = nullptr;

using kxcollbuild::Dot3;

bool Overlaps(const kxcollnode* n, const float lo[3], const float hi[3]) {
  for (int k = 0; k < 3; ++k) {
    if (n->max[k] < lo[k] || n->min[k] > hi[k]) return false;
  }
  return true;
}

// Calls leaf(node) for every leaf whose cell meets the box lo..hi.
template <class Leaf>
void ForLeaves(const kxcollnode* n, const float lo[3], const float hi[3], Leaf& leaf) {
  while (n && Overlaps(n, lo, hi)) {
    if (!n->first) {
      leaf(n);
      return;
    }
    ForLeaves(n->first, lo, hi, leaf);
    n = n->second;
  }
}

// Starts a query whose faces are reported once each, however many cells
// hold a copy.
void NewQuery(kxcollision* w) {
  if (++w->query == 0) {
    for (int i = 0; i < w->faceCount; ++i) w->marks[i] = 0;
    w->query = 1;
  }
}

bool FirstReport(kxcollision* w, const kxcollface* f) {
  if (f->id < 0 || f->id >= w->faceCount || !w->marks) return true;
  if (w->marks[f->id] == w->query) return false;
  w->marks[f->id] = w->query;
  return true;
}

void SetQuery(kxcollision* w, const float c[3], float r) {
  for (int k = 0; k < 3; ++k) {
    w->boxMin[k] = c[k] - r;
    w->boxMax[k] = c[k] + r;
    w->centre[k] = c[k];
  }
  w->radius = r;
  w->nearCursor = 0;
  w->nearFaces[0] = nullptr;
}

bool FinitePoint(const float p[3]) { return std::isfinite(p[0]) && std::isfinite(p[1]) && std::isfinite(p[2]); }

// The gather's test of a fixed face: its plane within r of c and its sphere
// meeting the sphere (c, r). The squares are taken in double, as the
// contact walk's test does: a face of a hostile mesh may reach 1e20 m, and
// the two must agree on every face.
bool NearSphere(const kxcollface* f, const float c[3], float r) {
  if (!(std::fabs(Dot3(f->normal, c) - f->d) < r)) return false;
  double dx = double{f->centre[0]} - c[0], dy = double{f->centre[1]} - c[1], dz = double{f->centre[2]} - c[2];
  double reach = static_cast<double>(f->radius) + r;
  return dx * dx + dy * dy + dz * dz < reach * reach;
}

// Calls take(face) for every moving face near the sphere (c, r) until it
// returns false. Works in each object's own frame so its faces are never
// transformed.
template <class Take>
void ForNearObjectFaces(const kxcollision* w, const float c[3], float r, Take&& take) {
  for (const kxcolldynamic* o = w->dynamics; o; o = o->next) {
    if (!o->frame) continue;
    const kxmatrix& m = *o->frame;
    float d[3] = {c[0] - m.R.x, c[1] - m.R.y, c[2] - m.R.z};
    float local[3] = {m.X.x * d[0] + m.X.y * d[1] + m.X.z * d[2], m.Y.x * d[0] + m.Y.y * d[1] + m.Y.z * d[2],
                      m.Z.x * d[0] + m.Z.y * d[1] + m.Z.z * d[2]};
    for (int i = 0; i < o->faceCount; ++i) {
      kxcollface* f = o->faces + i;
      if (!(std::fabs(Dot3(f->normal, local) - f->d) < r)) continue;
      bool inside = true;
      for (const kxcolledge* e = f->edges; e && inside; e = e->next) {
        inside = Dot3(e->normal, local) - e->distance >= -r;
      }
      if (inside && !take(f)) return;
    }
  }
}

}  // namespace

void kxcollision::SetCurrent(kxcollision* w) { currentWorld = w; }

kxcollision* kxcollision::Current() { return currentWorld; }

int kxcollision::AppendNear(kxcollision* w, kxcollface* face) {
  if (w->nearCursor >= kNearFaces - 1) return 0;
  w->nearFaces[w->nearCursor++] = face;
  w->nearFaces[w->nearCursor] = nullptr;
  // Said once per query, by the append that takes the last place, whoever
  // started the query.
  if (w->nearCursor == kNearFaces - 1) kxcore::Log("gl:  collision query list full (%d faces)\n", kNearFaces - 1);
  return 1;
}

int kxcollision::FindGround(const kxcollision* w, const float p[3], float* height, float* normal) {
  if (!w || !w->root || !p || !FinitePoint(p)) return 0;
  if (w->ground.columns) return kxgroundgrid::Find(&w->ground, p, height, normal);
  const float lo[3] = {p[0], p[1], -INFINITY};
  const float hi[3] = {p[0], p[1], p[2]};
  kxgroundface best{};
  bool found = false;
  float bestZ = -INFINITY;
  auto leaf = [&](const kxcollnode* n) {
    for (const kxcollface* f = n->faces; f; f = f->next) {
      kxgroundface r;
      float z;
      if (!kxgroundgrid::Record(f, &r) || !kxgroundgrid::OnFace(r, p, bestZ, &z)) continue;
      bestZ = z;
      best = r;
      found = true;
    }
  };
  ForLeaves(w->root, lo, hi, leaf);
  if (!found) return 0;
  if (height) *height = bestZ;
  if (normal) kxgroundgrid::Normal(best, normal);
  return 1;
}

float kxcollision::GroundHeight(const kxcollision* w, const float p[3], float* normal) {
  float h = -1.0f;
  if (!FindGround(w, p, &h, normal)) return -1.0f;
  return h;
}

int kxcollision::ViewerCollide(kxcollision* w, const float p[3], float half) {
  if (!w || !p) return 0;
  if (!FinitePoint(p) || !std::isfinite(half)) {
    w->nearCursor = 0;
    w->nearFaces[0] = nullptr;
    return 0;
  }
  SetQuery(w, p, half);
  if (!w->root) return 0;
  NewQuery(w);
  auto leaf = [&](const kxcollnode* n) {
    for (kxcollface* f = n->faces; f; f = f->next) {
      // Squared distance from the sphere centre to the box.
      float d2 = 0.0f;
      for (int k = 0; k < 3; ++k) {
        float c = f->centre[k];
        float e = c < w->boxMin[k] ? w->boxMin[k] - c : c > w->boxMax[k] ? c - w->boxMax[k] : 0.0f;
        d2 += e * e;
      }
      if (d2 > f->radius * f->radius) continue;
      if (!FirstReport(w, f)) continue;
      if (!AppendNear(w, f)) return;
    }
  };
  ForLeaves(w->root, w->boxMin, w->boxMax, leaf);
  return w->nearCursor;
}

int kxcollision::Gather(kxcollision* w, const float c[3], float r) {
  if (!w || !c) return 0;
  if (!FinitePoint(c) || !std::isfinite(r)) {
    w->nearCursor = 0;
    w->nearFaces[0] = nullptr;
    return 0;
  }
  SetQuery(w, c, r);
  if (w->root) {
    NewQuery(w);
    auto leaf = [&](const kxcollnode* n) {
      for (kxcollface* f = n->faces; f; f = f->next) {
        if (!NearSphere(f, c, r)) continue;
        if (!FirstReport(w, f)) continue;
        if (!AppendNear(w, f)) return;
      }
    };
    ForLeaves(w->root, w->boxMin, w->boxMax, leaf);
  }
  if (w->nearObjectPass) w->nearObjectPass(w);
  w->nearFaces[w->nearCursor] = nullptr;
  return w->nearCursor;
}

void kxcollision::NearObjectPass(kxcollision* w) {
  if (!w) return;
  ForNearObjectFaces(w, w->centre, w->radius, [w](kxcollface* f) { return AppendNear(w, f) != 0; });
  w->nearFaces[w->nearCursor] = nullptr;
}

namespace {

// The set's faces' planes and spheres four to a block (kxcollnear::planes).
void PackPlanes(kxcollnear* near) {
  // The lanes past the end: no point lies on or below a plane 0 . X = -inf.
  kxnearplanes none{};
  for (float& d : none.d) d = -std::numeric_limits<float>::infinity();
  near->planes.assign((near->faces.size() + 3) / 4, none);
  for (size_t j = 0; j < near->faces.size(); ++j) {
    const kxnearface& f = near->faces[j];
    kxnearplanes& block = near->planes[j / 4];
    block.x[j % 4] = f.normal[0];
    block.y[j % 4] = f.normal[1];
    block.z[j % 4] = f.normal[2];
    block.d[j % 4] = f.d;
    block.cx[j % 4] = f.centre[0];
    block.cy[j % 4] = f.centre[1];
    block.cz[j % 4] = f.centre[2];
    block.radius[j % 4] = f.radius;
    if (f.frame) block.moving |= 1u << (j % 4);
  }
}

}  // namespace

int kxcollision::GatherNear(kxcollision* w, const float c[3], float r, kxcollnear* near) {
  if (!near) return 0;
  near->faces.clear();
  near->edges.clear();
  near->planes.clear();
  near->valid = 0;
  if (!w || !c || !FinitePoint(c) || !std::isfinite(r)) return 0;
  // The query list is filled as ever: the views and the older runtime read it.
  Gather(w, c, r);
  if (w->nearCursor >= kNearFaces - 1) return 0;  // a full list may lack faces
  auto add = [near](const kxcollface* f) {
    kxnearface n{{f->normal[0], f->normal[1], f->normal[2]}, f->d, {f->centre[0], f->centre[1], f->centre[2]},
                 f->radius, {}, {}, static_cast<int32_t>(near->edges.size()), 0, f->frame, f};
    kxcollbuild::ContactBox(f, n.lo, n.hi);
    for (const kxcolledge* e = f->edges; e; e = e->next, ++n.edgeCount) {
      near->edges.push_back({{e->normal[0], e->normal[1], e->normal[2]}, e->distance});
    }
    near->faces.push_back(n);
    return true;
  };
  // In the order the contact walk meets them, so equal depths sort alike.
  for (int i = 0; i < w->nearCursor; ++i) {
    if (!w->nearFaces[i]->frame) add(w->nearFaces[i]);
  }
  if (w->treeCollision && w->trees) {
    int trees = std::min(w->treeCount, w->treeTotal);
    for (int k = 0; k < trees * 5; ++k) {
      if (NearSphere(w->trees + k, c, r)) add(w->trees + k);
    }
  }
  ForNearObjectFaces(w, c, r, add);
  PackPlanes(near);
  for (int k = 0; k < 3; ++k) near->centre[k] = c[k];
  near->radius = r;
  near->world = w;
  near->valid = 1;
  return 1;
}

/* A contact query passes over a fixed face whose sphere is far from the
   query's points (FarFrom) or whose plane lies beyond the points' reach
   (OffPlane). A query whose sphere lies inside (c, r), with the covering
   slack to spare, does so for every face whose sphere misses (c, r) or
   whose plane lies r or more from c: those faces are left out. The tests
   keep a margin for the rounding of the plane distances of far-placed
   faces; a face kept in doubt costs only its test. Moving faces are kept:
   their spheres lie in their objects' frames. */
int kxcollision::NarrowNear(const kxcollnear* from, const float c[3], float r, kxcollnear* out) {
  if (!out) return 0;
  out->faces.clear();
  out->edges.clear();
  out->planes.clear();
  out->valid = 0;
  out->wider = nullptr;
  if (!from || !from->valid || !c || !FinitePoint(c) || !(r > 0.0f) || !std::isfinite(r)) return 0;
  double reach = std::sqrt(double{c[0] - from->centre[0]} * (c[0] - from->centre[0]) +
                           double{c[1] - from->centre[1]} * (c[1] - from->centre[1]) +
                           double{c[2] - from->centre[2]} * (c[2] - from->centre[2])) + r;
  if (!(reach <= from->radius)) return 0;
  float scale = std::fabs(c[0]) + std::fabs(c[1]) + std::fabs(c[2]);
  for (const kxnearface& f : from->faces) {
    if (!f.frame) {
      double dx = double{f.centre[0]} - c[0], dy = double{f.centre[1]} - c[1], dz = double{f.centre[2]} - c[2];
      double sphere = static_cast<double>(f.radius) + r + 2.0 * kxcollbuild::kEdgeTolerance;
      if (dx * dx + dy * dy + dz * dz > sphere * sphere) continue;
      float margin = 4e-6f * (std::fabs(f.d) + scale);
      if (!(std::fabs(Dot3(f.normal, c) - f.d) < r + margin)) continue;
    }
    kxnearface n = f;
    n.firstEdge = static_cast<int32_t>(out->edges.size());
    out->edges.insert(out->edges.end(), from->edges.begin() + f.firstEdge,
                      from->edges.begin() + f.firstEdge + f.edgeCount);
    out->faces.push_back(n);
  }
  PackPlanes(out);
  for (int k = 0; k < 3; ++k) out->centre[k] = c[k];
  out->radius = r;
  out->world = from->world;
  out->wider = from;
  out->valid = 1;
  return 1;
}
