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
//
// Sections: the face test; the two sources of faces (the gathered near set,
// else the world's walk); ContactPoints and ContactShape.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

#include "core/lanes.h"
#include "graphics/collision_contact.h"
#include "graphics/collision_face.h"
#include "graphics/collision_near.h"
#include "graphics/collision_world.h"

namespace {

constexpr float kMinReach = 0.1f;  // m, least depth D below a face that still counts
// Faces a query keeps while it runs (the deepest win); more than a box ever
// touches in practice, and the query allocates nothing.
constexpr int kMaxFound = 64;
constexpr int kMaxStack = 2 * kxcollision::kMaxDepth + 2;  // pending cells of the tree walk
// m kept between a query's sphere and the edge of the gathered one, for the
// rounding of both tests.
constexpr float kCoverSlack = 0.01f;
// Sets narrowed from sets narrowed from ...; one level is all the driver
// makes, the bound only guards a chain made into a loop.
constexpr int kMaxNarrowing = 4;

using kxcollbuild::Dot3;

using kxlanes::f4;

// ---- the face test

struct found {
  const kxcollface* face;
  const void* key;   // one per distinct face: copies of a face share it
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

// What the test reads of a face, whichever record holds it.
struct candidate {
  const float* normal;
  float d;
  const float* frame;
  const kxcollface* face;
  const void* key;
};

struct tester {
  found hits[kMaxFound];
  int count = 0;
  float reach;

  // inside(q): whether q lies inside the face's edge planes.
  template <class Inside>
  void Test(const candidate& f, const float p[3], const Inside& inside) {
    float local[3];
    const float* q = p;
    if (f.frame) {
      placement{f.frame}.ToLocal(p, local);
      q = local;
    }
    TestBelow(f, q, Dot3(f.normal, q) - f.d, inside);
  }
  // The same for q in the face's own frame with its plane distance s.
  template <class Inside>
  void TestBelow(const candidate& f, const float q[3], float s, const Inside& inside) {
    if (!(s <= 0.0f) || !(s >= -reach)) return;
    float foot[3] = {q[0] - s * f.normal[0], q[1] - s * f.normal[1], q[2] - s * f.normal[2]};
    if (!inside(foot)) return;
    for (int i = 0; i < count; ++i) {
      if (hits[i].key == f.key) {
        hits[i].depth = std::max(hits[i].depth, -s);
        return;
      }
    }
    found h{f.face, f.key, {f.normal[0], f.normal[1], f.normal[2]}, f.d, -s};
    if (f.frame) {
      placement place{f.frame};
      place.TurnToWorld(f.normal, h.normal);
      float onPlane[3] = {f.normal[0] * f.d, f.normal[1] * f.d, f.normal[2] * f.d};
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

// The placed points of one query and the spheres around them.
struct pointset {
  const float (*placed)[4];
  int count;
  float mid[3];
  float half;        // m, half the points' box diagonal
  float spread;      // m, half plus the reach
  float lo[3], hi[3];  // the points' box grown by the reach
  float low[3], high[3];  // the points' own box
};

// The points' box (count >= 1) into lo and hi.
void BoxOf(const float (*placed)[4], int count, float lo[3], float hi[3]) {
  // Four lanes at once (the fourth unread); each picks as std::min(lo, p)
  // and std::max(hi, p) do, a NaN included.
  using namespace kxlanes;
  f4 l = LoadU(placed[0]), h = l;
  for (int i = 1; i < count; ++i) {
    f4 p = LoadU(placed[i]);
    l = Min(p, l);
    h = Max(p, h);
  }
  float low[4], high[4];
  StoreU(low, l);
  StoreU(high, h);
  for (int k = 0; k < 3; ++k) lo[k] = low[k], hi[k] = high[k];
}

// The spheres about the points and their box grown by the reach; box is
// the points' own box (BoxOf).
pointset Around(const float (*placed)[4], int count, const float box[2][3], float reach) {
  pointset q;
  q.placed = placed;
  q.count = count;
  float spread2 = 0.0f;
  for (int k = 0; k < 3; ++k) {
    q.mid[k] = 0.5f * (box[0][k] + box[1][k]);
    spread2 += 0.25f * (box[1][k] - box[0][k]) * (box[1][k] - box[0][k]);
    q.lo[k] = box[0][k] - reach;
    q.hi[k] = box[1][k] + reach;
    q.low[k] = box[0][k];
    q.high[k] = box[1][k];
  }
  q.half = std::sqrt(spread2);
  q.spread = q.half + reach;
  return q;
}

// The lanes of the block of four faces (bit k for faces[4b + k]) that the
// face test must see: every moving face, and the fixed faces whose sphere
// may not be far from the points' (FarFrom) with some point on or below
// their plane (the same sums as each point's own test). The sphere test
// here is in float with room for its rounding, so a face it finds far
// FarFrom finds far too; its squares must not overflow. The lanes past the
// set's end hold no plane any point can lie below.
unsigned Touchable(const kxnearplanes& block, const pointset& q) {
  using namespace kxlanes;
  f4 a = LoadU(block.x), b = LoadU(block.y), c = LoadU(block.z), d = LoadU(block.d);
  const f4 zero = Zero();
  // Most blocks lie below all the points: the least plane distance over the
  // points' box tells at once. Each product's rounding keeps the order of
  // its factor and so does each sum's, so with the points' own sums in the
  // same order (no contraction) no point's distance is below this one.
  auto least = [](f4 n, float lo, float hi) { return Min(Mul(n, Splat(lo)), Mul(n, Splat(hi))); };
  f4 lowest = Sub(Add(Add(least(a, q.low[0], q.high[0]), least(b, q.low[1], q.high[1])),
                      least(c, q.low[2], q.high[2])),
                  d);
  if (((Mask(Greater(lowest, zero)) | block.moving) & 15u) == 15u) return block.moving;
  f4 below = zero;
  for (int i = 0; i < q.count; ++i) {
    const float* p = q.placed[i];
    const f4 s = Sub(Add(Add(Mul(a, Splat(p[0])), Mul(b, Splat(p[1]))), Mul(c, Splat(p[2]))), d);
    below = Or(below, LessEq(s, zero));
  }
  unsigned lanes = Mask(below);
  if ((lanes & ~block.moving) == 0) return block.moving;
  a = LoadU(block.cx), b = LoadU(block.cy), c = LoadU(block.cz), d = LoadU(block.radius);
  f4 ex = Sub(a, Splat(q.mid[0])), ey = Sub(b, Splat(q.mid[1])), ez = Sub(c, Splat(q.mid[2]));
  f4 e2 = Add(Add(Mul(ex, ex), Mul(ey, ey)), Mul(ez, ez));
  f4 near = Add(Add(d, Splat(q.spread)), Splat(2.0f * kxcollbuild::kEdgeTolerance));
  f4 far = And(Greater(e2, Mul(Mul(near, near), Splat(1.00001f))),
               LessEq(e2, Add(zero, Splat(std::numeric_limits<float>::max()))));
  return (lanes & ~Mask(far)) | block.moving;
}

// Faces whose sphere is far from the points' sphere are passed over without
// a plane test. In double, as the gather's test: their squares must not
// overflow for the faces of a hostile mesh.
bool FarFrom(const float centre[3], float radius, const pointset& q) {
  double ex = double{centre[0]} - q.mid[0], ey = double{centre[1]} - q.mid[1], ez = double{centre[2]} - q.mid[2];
  double near = static_cast<double>(radius) + q.spread + 2.0 * kxcollbuild::kEdgeTolerance;
  return ex * ex + ey * ey + ez * ez > near * near;
}

// ---- the gathered near set

// Whether every face that can touch the points was gathered: the points'
// sphere lies inside the gathered one.
bool Covers(const kxcollnear* near, const kxcollision* w, const pointset& q) {
  if (!near || !near->valid || near->world != w) return false;
  float room = near->radius - q.spread - kCoverSlack;
  float dx = q.mid[0] - near->centre[0], dy = q.mid[1] - near->centre[1], dz = q.mid[2] - near->centre[2];
  return room > 0.0f && dx * dx + dy * dy + dz * dz < room * room;
}

// Whether no point can lie within the reach below the fixed face's plane:
// they all lie within half of mid, so one plane distance tells (with room
// for the rounding of each point's own).
bool OffPlane(const kxnearface& f, const pointset& q, float reach) {
  float s = Dot3(f.normal, q.mid) - f.d;
  float slack = kCoverSlack + 1e-6f * std::fabs(f.d);
  return s > q.half + slack || s < -(q.half + reach + slack);
}

// Whether every point lies beyond one of the fixed face's edge planes: a
// point's foot on the plane lies as far beyond it as the point itself.
bool OffEdges(const kxnearedge* first, int count, const pointset& q) {
  for (int k = 0; k < count; ++k) {
    const kxnearedge& e = first[k];
    float slack = kCoverSlack + 1e-6f * std::fabs(e.distance);
    if (Dot3(e.normal, q.mid) - e.distance < -(q.half + kxcollbuild::kEdgeTolerance + slack)) return true;
  }
  return false;
}

// One face of a gathered set against the points.
void TestNearFace(const kxnearface& f, const kxnearedge* edges, const pointset& q, tester& t) {
  const kxnearedge* first = edges + f.firstEdge;
  // The walk's sphere test first, so that both pass over the same faces
  // (the plane tests alone lose their meaning at the numbers of a hostile
  // mesh).
  if (!f.frame && (FarFrom(f.centre, f.radius, q) || OffPlane(f, q, t.reach) || OffEdges(first, f.edgeCount, q))) {
    return;
  }
  auto inside = [first, n = f.edgeCount, &f](const float p[3]) {
    for (int k = 0; k < n; ++k) {
      if (kxcollbuild::OutsideEdge(first[k].normal, first[k].distance, p)) return false;
    }
    return kxcollbuild::InsideBox(f.lo, f.hi, p) != 0;
  };
  const candidate c{f.normal, f.d, f.frame, f.face, &f};
  if (f.frame) {
    for (int i = 0; i < q.count; ++i) t.Test(c, q.placed[i], inside);
    return;
  }
  // All plane distances first: most points lie above the face.
  float s[8];
  for (int i = 0; i < q.count; ++i) s[i] = Dot3(f.normal, q.placed[i]) - f.d;
  for (int i = 0; i < q.count; ++i) {
    if (s[i] <= 0.0f) t.TestBelow(c, q.placed[i], s[i], inside);
  }
}

void TestNear(const kxcollnear* near, const pointset& q, tester& t) {
  const kxnearedge* edges = near->edges.data();
  const size_t faces = near->faces.size();
  if (near->planes.size() != (faces + 3) / 4) {
    for (size_t j = 0; j < faces; ++j) TestNearFace(near->faces[j], edges, q, t);
    return;
  }
  for (size_t b = 0; b < near->planes.size(); ++b) {
    // Faces in their order, passing over those with every point above.
    for (unsigned lanes = Touchable(near->planes[b], q); lanes; lanes &= lanes - 1) {
      TestNearFace(near->faces[4 * b + static_cast<size_t>(__builtin_ctz(lanes))], edges, q, t);
    }
  }
}

// Notes how far from the set's centre the query reaches, for the set a
// later frame narrows to; then whether the set covers the points (Covers).
bool ReachedCovers(const kxcollnear* near, const kxcollision* w, const pointset& q) {
  if (!near->valid) return false;
  float dx = q.mid[0] - near->centre[0], dy = q.mid[1] - near->centre[1], dz = q.mid[2] - near->centre[2];
  float d2 = dx * dx + dy * dy + dz * dz;
  float r = std::sqrt(d2) + q.spread;
  if (r > near->reached) near->reached = r;
  float room = near->radius - q.spread - kCoverSlack;
  return near->world == w && room > 0.0f && d2 < room * room;
}

// ---- the world's walk

void TestFace(const kxcollface* f, const pointset& q, tester& t) {
  float lo[3], hi[3];
  kxcollbuild::ContactBox(f, lo, hi);
  auto inside = [f, &lo, &hi](const float p[3]) {
    return kxcollbuild::InsideEdges(f, p) && kxcollbuild::InsideBox(lo, hi, p);
  };
  const candidate c{f->normal, f->d, f->frame, f, f->edges};
  for (int i = 0; i < q.count; ++i) t.Test(c, q.placed[i], inside);
}

void TestWorld(const kxcollision* w, const pointset& q, tester& t) {
  // Static faces of the cells around the points.
  const kxcollnode* stack[kMaxStack];
  int pending = 0;
  if (w->root) stack[pending++] = w->root;
  while (pending > 0) {
    const kxcollnode* n = stack[--pending];
    bool overlaps = true;
    for (int k = 0; k < 3; ++k) overlaps = overlaps && !(n->max[k] < q.lo[k] || n->min[k] > q.hi[k]);
    if (!overlaps) continue;
    if (n->first) {
      if (pending + 2 > kMaxStack) continue;  // deeper than any tree the build makes
      stack[pending++] = n->second;
      stack[pending++] = n->first;
      continue;
    }
    for (const kxcollface* f = n->faces; f; f = f->next) {
      if (!FarFrom(f->centre, f->radius, q)) TestFace(f, q, t);
    }
  }
  if (w->treeCollision && w->trees) {
    int trees = std::min(w->treeCount, w->treeTotal);
    for (int k = 0; k < trees * 5; ++k) {
      if (!FarFrom(w->trees[k].centre, w->trees[k].radius, q)) TestFace(w->trees + k, q, t);
    }
  }
  for (const kxcolldynamic* o = w->dynamics; o; o = o->next) {
    for (int k = 0; k < o->faceCount; ++k) TestFace(o->faces + k, q, t);
  }
}

}  // namespace

// ---- ContactPoints and ContactShape

int kxcollision::ContactPoints(const kxcollision* w, const kxcollnear* near, const float (*points)[4], int count,
                               const float lo[3], const float hi[3], const float origin[3], kxcontact* out,
                               int max) {
  if (!w || !points || count <= 0 || !out || max <= 0) return 0;
  count = std::min(count, 8);
  max = std::min(max, kxboxrecord::kMaxContacts);
  float box[2][3];
  BoxOf(points, count, box[0], box[1]);
  if (!lo || !hi) lo = box[0], hi = box[1];
  float dx = hi[0] - lo[0], dy = hi[1] - lo[1], dz = hi[2] - lo[2];
  tester t;
  t.reach = std::max(kMinReach, std::sqrt(dx * dx + dy * dy + dz * dz));
  // All points are placed first, so each face is read once and tested
  // against every point.
  pointset q = Around(points, count, box, t.reach);
  // The narrowest set that covers the points; a narrowed set answers as
  // the one it came from.
  const kxcollnear* set = near;
  bool covered = false;
  for (int depth = 0; set && depth < kMaxNarrowing && !covered; ++depth) {
    covered = ReachedCovers(set, w, q);
    if (!covered) set = set->wider;
  }
  if (!covered) covered = Covers(set, w, q);  // only a chain longer than the driver makes
  if (covered) {
    if (set->faces.empty()) return 0;  // nothing within reach this frame
    TestNear(set, q, t);
  } else {
    TestWorld(w, q, t);
  }
  // The deepest contacts first, equal depths in the order found; at most max.
  for (int i = 1; i < t.count; ++i) {
    found h = t.hits[i];
    int j = i;
    for (; j > 0 && t.hits[j - 1].depth < h.depth; --j) t.hits[j] = t.hits[j - 1];
    t.hits[j] = h;
  }
  int n = std::min(t.count, max);
  for (int i = 0; i < n; ++i) {
    const found& h = t.hits[i];
    kxcontact& c = out[i];
    float s = Dot3(h.normal, origin) - h.d;
    c.normal = {h.normal[0], h.normal[1], h.normal[2], 0.0f};
    c.point = {origin[0] - s * h.normal[0], origin[1] - s * h.normal[1], origin[2] - s * h.normal[2], 1.0f};
    c.depth = h.depth;
    c.face = h.face;
    c.surface = h.face->surface & 31;
  }
  return n;
}

int kxcollision::ContactShape(const kxcollision* w, const float frame[16], kxboxrecord* box, int flag,
                              const kxcollnear* near) {
  if (!box) return 0;
  box->list[0] = nullptr;
  if (!w || !frame) return 0;
  kxmatrix m;
  std::memcpy(m.Data(), frame, sizeof m);
  // Not finite: every exponent bit set. One pass over all sixteen, without
  // a branch each.
  uint32_t bits[16];
  std::memcpy(bits, frame, sizeof bits);
  uint32_t infinite = 0;
  for (uint32_t b : bits) infinite |= (b & 0x7f800000u) == 0x7f800000u;
  if (infinite) return 0;
  const kxvector4r* points = flag ? box->six : box->eight;
  int count = flag ? 6 : 8;
  float placed[8][4];
  // In float, as the simulation that asks places its own points.
  for (int i = 0; i < count; ++i) {
    kxvector4r p = kxmatrix::TransformSingle(m, points[i]);
    std::memcpy(placed[i], &p, sizeof placed[i]);
  }
  const float origin[3] = {m.R.x, m.R.y, m.R.z};
  int n = ContactPoints(w, near, placed, count, box->min, box->max, origin, box->contacts, kxboxrecord::kMaxContacts);
  for (int i = 0; i < n; ++i) box->list[i] = &box->contacts[i];
  box->list[n] = nullptr;
  return n;
}
