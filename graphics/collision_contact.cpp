// Contacts of a geometric object's box with the world: the box's six face
// centres (wheels, blades, rotor parts) or eight corners (skids), placed by
// a frame, against the static faces, the billboard trees in use and the
// moving objects.
//
// A point P is in contact with a face when -D <= n.P - d <= 0 (at most D
// below the face) and its foot on the plane lies inside the face; D is the
// box diagonal, at least 0.1 m, so a point never tunnels through a face in
// one step while faces far below are not reported. Each face gives one
// contact whatever the number of points in it: the normal, the foot of the
// frame origin on the face plane and the depth of the deepest point.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "graphics/collision_contact.h"
#include "graphics/collision_face.h"
#include "graphics/collision_world.h"

namespace {

constexpr float kMinReach = 0.1f;  // m, least depth D below a face that still counts
// Faces a query keeps while it runs (the deepest win); more than a box ever
// touches in practice, and the query allocates nothing.
constexpr int kMaxFound = 64;
constexpr int kMaxStack = 2 * kxcollision::kMaxDepth + 2;  // pending cells of the tree walk

using kxcollbuild::Dot3;

struct found {
  const kxcollface* face;
  float normal[3];   // world
  float d;           // world plane offset
  float depth;       // m, deepest point below the plane
};

// Rotation and translation of a face's frame (column-major, rows X, Y, Z, R).
struct placement {
  const float* m;
  void ToLocal(const float p[3], float out[3]) const {
    float d[3] = {p[0] - m[12], p[1] - m[13], p[2] - m[14]};
    for (int k = 0; k < 3; ++k) out[k] = m[4 * k] * d[0] + m[4 * k + 1] * d[1] + m[4 * k + 2] * d[2];
  }
  void TurnToWorld(const float v[3], float out[3]) const {
    for (int j = 0; j < 3; ++j) out[j] = m[j] * v[0] + m[4 + j] * v[1] + m[8 + j] * v[2];
  }
  void ToWorld(const float v[3], float out[3]) const {
    TurnToWorld(v, out);
    for (int j = 0; j < 3; ++j) out[j] += m[12 + j];
  }
};

struct tester {
  found hits[kMaxFound];
  int count = 0;
  float reach;

  void Test(const kxcollface* f, const float p[3]) {
    float local[3];
    const float* q = p;
    if (f->frame) {
      placement{f->frame}.ToLocal(p, local);
      q = local;
    }
    float s = Dot3(f->normal, q) - f->d;
    if (!(s <= 0.0f) || !(s >= -reach)) return;
    float foot[3] = {q[0] - s * f->normal[0], q[1] - s * f->normal[1], q[2] - s * f->normal[2]};
    if (!kxcollbuild::InsideEdges(f, foot)) return;
    for (int i = 0; i < count; ++i) {
      if (hits[i].face->edges == f->edges) {  // copies of one face share their edge planes
        hits[i].depth = std::max(hits[i].depth, -s);
        return;
      }
    }
    found h{f, {f->normal[0], f->normal[1], f->normal[2]}, f->d, -s};
    if (f->frame) {
      placement place{f->frame};
      place.TurnToWorld(f->normal, h.normal);
      float onPlane[3] = {f->normal[0] * f->d, f->normal[1] * f->d, f->normal[2] * f->d};
      float world[3];
      place.ToWorld(onPlane, world);
      h.d = Dot3(h.normal, world);
    }
    if (count < kMaxFound) {
      hits[count++] = h;
      return;
    }
    int shallowest = 0;
    for (int i = 1; i < count; ++i) {
      if (hits[i].depth < hits[shallowest].depth) shallowest = i;
    }
    if (h.depth > hits[shallowest].depth) hits[shallowest] = h;
  }
};

}  // namespace

int kxcollision::ContactShape(const kxcollision* w, const float frame[16], kxboxrecord* box, int flag) {
  if (!box) return 0;
  box->list[0] = nullptr;
  if (!w || !frame) return 0;
  kxmatrix m;
  std::memcpy(m.Data(), frame, sizeof m);
  for (int i = 0; i < 16; ++i) {
    if (!std::isfinite(m[i])) return 0;
  }
  const kxvector4r* points = flag ? box->six : box->eight;
  int count = flag ? 6 : 8;
  float dx = box->max[0] - box->min[0], dy = box->max[1] - box->min[1], dz = box->max[2] - box->min[2];
  tester t;
  t.reach = std::max(kMinReach, std::sqrt(dx * dx + dy * dy + dz * dz));
  // All points are placed first, so each face is read once and tested
  // against every point; faces whose sphere is far from the points' sphere
  // are passed over without a plane test.
  float placed[8][4];
  float lo[3], hi[3];
  for (int i = 0; i < count; ++i) {
    kxmatrix::TransformVector4(placed[i], &m, &points[i].x);
    for (int k = 0; k < 3; ++k) {
      lo[k] = i ? std::min(lo[k], placed[i][k]) : placed[i][k];
      hi[k] = i ? std::max(hi[k], placed[i][k]) : placed[i][k];
    }
  }
  float mid[3], spread2 = 0.0f;
  for (int k = 0; k < 3; ++k) {
    mid[k] = 0.5f * (lo[k] + hi[k]);
    spread2 += 0.25f * (hi[k] - lo[k]) * (hi[k] - lo[k]);
    lo[k] -= t.reach;
    hi[k] += t.reach;
  }
  float spread = std::sqrt(spread2) + t.reach;
  auto testAll = [&](const kxcollface* f) {
    for (int i = 0; i < count; ++i) t.Test(f, placed[i]);
  };
  // Static faces of the cells around the points.
  const kxcollnode* stack[kMaxStack];
  int pending = 0;
  if (w->root) stack[pending++] = w->root;
  while (pending > 0) {
    const kxcollnode* n = stack[--pending];
    bool overlaps = true;
    for (int k = 0; k < 3; ++k) overlaps = overlaps && !(n->max[k] < lo[k] || n->min[k] > hi[k]);
    if (!overlaps) continue;
    if (n->first) {
      if (pending + 2 > kMaxStack) continue;  // deeper than any tree the build makes
      stack[pending++] = n->second;
      stack[pending++] = n->first;
      continue;
    }
    for (const kxcollface* f = n->faces; f; f = f->next) {
      float ex = f->centre[0] - mid[0], ey = f->centre[1] - mid[1], ez = f->centre[2] - mid[2];
      float near = f->radius + spread + 2.0f * kxcollbuild::kEdgeTolerance;
      if (ex * ex + ey * ey + ez * ez > near * near) continue;
      testAll(f);
    }
  }
  if (w->treeCollision && w->trees) {
    int trees = std::min(w->treeCount, w->treeTotal);
    for (int k = 0; k < trees * 5; ++k) testAll(w->trees + k);
  }
  for (const kxcolldynamic* o = w->dynamics; o; o = o->next) {
    for (int k = 0; k < o->faceCount; ++k) testAll(o->faces + k);
  }
  // The deepest contacts first; at most the record's capacity.
  std::stable_sort(t.hits, t.hits + t.count, [](const found& a, const found& b) { return a.depth > b.depth; });
  int n = std::min(t.count, kxboxrecord::kMaxContacts);
  const float origin[3] = {m.R.x, m.R.y, m.R.z};
  for (int i = 0; i < n; ++i) {
    const found& h = t.hits[i];
    kxcontact& c = box->contacts[i];
    float s = Dot3(h.normal, origin) - h.d;
    c.normal = {h.normal[0], h.normal[1], h.normal[2], 0.0f};
    c.point = {origin[0] - s * h.normal[0], origin[1] - s * h.normal[1], origin[2] - s * h.normal[2], 1.0f};
    c.depth = h.depth;
    c.face = h.face;
    c.surface = h.face->surface & 31;
    box->list[i] = &c;
  }
  box->list[n] = nullptr;
  return n;
}
