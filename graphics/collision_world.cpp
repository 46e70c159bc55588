// Building the collision world: faces with their edge planes from the
// scenery meshes, billboard tree colliders, and the binary cell tree.
//
// Sections: surface codes; faces and edge planes; tree colliders; cell tree;
// Build and FreeOctree. The ground grid beside the tree is ground_grid.cpp.
#include "graphics/collision_world.h"

#include <algorithm>
#include <cctype>
#include <cfloat>
#include <cmath>
#include <cstring>
#include <vector>

#include "core/hooks.h"
#include "graphics/collision_face.h"
#include "graphics/mesh.h"
#include "graphics/reserve_bridge.h"
#include "graphics/scenery_records.h"

namespace {

// ---- surface codes

struct surfacename {
  const char* fragment;
  int code;
};

// First match wins; the order matters ("_highgras" before nothing it contains).
constexpr surfacename kSurfaceNames[] = {
    {"water", 1},   {"runway", 2},  {"_road", 2},   {"_asphalt", 2}, {"_street", 2},   {"_gras", 3},
    {"_highgras", 4}, {"_dirt", 5}, {"_meadow", 6}, {"_hardroll", 7}, {"_damage", 8},
};
constexpr int kSurfaceDefault = 2;
constexpr int kSurfaceWater = 1;
constexpr int kSurfaceTree = 8;  // a tree is a crash
// m: the largest corner coordinate of a face or tree. A hundred times the
// largest scenery; there the floats' rounding (about 6 cm) stays below the
// least contact reach (10 cm), so the contact walk, which passes over the
// cells beyond the reach, and the gathered near set, which tests every face
// it holds, still agree. Farther out a face is left out.
constexpr float kMaxCoordinate = 1.0e6f;

bool Within(float v) { return std::fabs(v) <= kMaxCoordinate; }

bool ContainsNoCase(const char* text, const char* fragment) {
  size_t n = std::strlen(fragment);
  for (const char* t = text; *t; ++t) {
    size_t i = 0;
    while (i < n && t[i] && std::tolower(static_cast<unsigned char>(t[i])) == fragment[i]) ++i;
    if (i == n) return true;
  }
  return false;
}

// ---- cell tree

constexpr int kMaxCopiesPerFace = 16;  // splitting stops when face copies reach this many per face

struct facebox {
  float min[3];
  float max[3];
};

struct tempnode {
  float min[3];
  float max[3];
  int first = -1;
  int second = -1;
  std::vector<int> faces;
};

struct treebuild {
  std::vector<tempnode> nodes;
  const std::vector<facebox>* boxes;
  float minCell[3];
  size_t maxTriangles;
  size_t copies = 0;
  size_t copyLimit = 0;

  void Split(int index, int depth) {
    tempnode& node = nodes[index];
    size_t n = node.faces.size();
    if (n <= maxTriangles || depth >= kxcollision::kMaxDepth || copies >= copyLimit) return;
    int axis = 0;
    float extent[3];
    for (int k = 0; k < 3; ++k) extent[k] = node.max[k] - node.min[k];
    if (extent[1] > extent[axis]) axis = 1;
    if (extent[2] > extent[axis]) axis = 2;
    if (!(extent[axis] > 2.0f * minCell[axis])) return;
    float mid = 0.5f * (node.min[axis] + node.max[axis]);
    std::vector<int> low, high;
    for (int f : node.faces) {
      const facebox& b = (*boxes)[f];
      if (b.min[axis] <= mid) low.push_back(f);
      if (b.max[axis] >= mid) high.push_back(f);
    }
    if (low.size() == n && high.size() == n) return;  // every face straddles: no progress
    copies += low.size() + high.size() - n;
    tempnode a, b;
    std::memcpy(a.min, node.min, sizeof a.min);
    std::memcpy(a.max, node.max, sizeof a.max);
    std::memcpy(b.min, node.min, sizeof b.min);
    std::memcpy(b.max, node.max, sizeof b.max);
    a.max[axis] = mid;
    b.min[axis] = mid;
    a.faces = std::move(low);
    b.faces = std::move(high);
    int ia = static_cast<int>(nodes.size());
    nodes.push_back(std::move(a));
    nodes.push_back(std::move(b));
    // nodes may have moved: index again.
    nodes[index].first = ia;
    nodes[index].second = ia + 1;
    nodes[index].faces.clear();
    nodes[index].faces.shrink_to_fit();
    Split(ia, depth + 1);
    Split(ia + 1, depth + 1);
  }
};

// ---- tree colliders

// The faces of a tree whose size or place is no number or beyond the range:
// its slot stays (the trees in use are counted from the first), but nothing
// ever meets it - its planes lie infinitely far below every point and its
// spheres away from all.
void MakeInertTreeFaces(kxcollface* faces, kxcolledge* edges) {
  for (int f = 0; f < 5; ++f) {
    kxcollface* face = faces + f;
    *face = kxcollface{};
    face->normal[2] = 1.0f;
    face->d = -INFINITY;
    for (float& c : face->centre) c = INFINITY;
    face->surface = kSurfaceTree;
    face->id = -1;
    kxcolledge* e = edges + 4 * f;
    for (int k = 0; k < 4; ++k) {
      e[k] = kxcolledge{};
      e[k].next = k < 3 ? &e[k + 1] : nullptr;
    }
    face->edges = e;
  }
}

// Five quads (four sides and the top) of an upright box; each with four
// edge planes. false, with inert faces, for a tree whose numbers are not
// within the range.
bool MakeTreeFaces(const kxtransparentgeometry& t, const float sun[3], kxcollface* faces, kxcolledge* edges) {
  if (!Within(t.radius) || !Within(t.halfHeight) || !Within(t.centre[0]) || !Within(t.centre[1]) ||
      !Within(t.centre[2])) {
    MakeInertTreeFaces(faces, edges);
    return false;
  }
  float half[3] = {0.3f * t.radius, 0.3f * t.radius, t.halfHeight};
  const float* c = t.centre;
  // Outward normals of the five faces.
  const int axes[5] = {0, 0, 1, 1, 2};
  const float signs[5] = {1, -1, 1, -1, 1};
  for (int f = 0; f < 5; ++f) {
    kxcollface* face = faces + f;
    int a = axes[f];
    float n[3] = {0, 0, 0};
    n[a] = signs[f];
    float centre[3] = {c[0], c[1], c[2]};
    centre[a] += signs[f] * half[a];
    std::memcpy(face->normal, n, sizeof n);
    face->d = kxcollbuild::Dot3(n, centre);
    std::memcpy(face->centre, centre, sizeof centre);
    int u = (a + 1) % 3, v = (a + 2) % 3;
    face->radius = std::sqrt(half[u] * half[u] + half[v] * half[v]);
    face->surface = kSurfaceTree;
    face->frame = nullptr;
    face->sunDot = kxcollbuild::Dot3(n, sun);
    face->id = -1;
    face->next = nullptr;
    // Edge planes: the face's extent along its two other axes.
    kxcolledge* e = edges + 4 * f;
    int k = 0;
    for (int axis : {u, v}) {
      for (float side : {1.0f, -1.0f}) {
        kxcolledge& edge = e[k];
        float m[3] = {0, 0, 0};
        m[axis] = side;  // inward: +1 on the low side
        float p[3] = {centre[0], centre[1], centre[2]};
        p[axis] -= side * half[axis];
        std::memcpy(edge.normal, m, sizeof m);
        std::memcpy(edge.point, p, sizeof p);
        edge.distance = kxcollbuild::Dot3(m, p);
        edge.next = k < 3 ? &e[k + 1] : nullptr;
        ++k;
      }
    }
    face->edges = e;
  }
  return true;
}

bool IsBillboard(const kxgeometry* el, const kxtransparentgeometry* transparent) {
  for (const kxtransparentgeometry* t = transparent; t && t->element; ++t) {
    if (t->element == el) return t->billboard != 0;
  }
  return false;
}

bool InList(const kxgeometry* el, const kxgeometry* list) {
  for (const kxgeometry* e = list; e; e = e->next) {
    if (e == el) return true;
  }
  return false;
}

struct rawface {
  kxcollface face;
  kxcolledge edges[3];
};

}  // namespace

// ---- faces and edge planes

int kxcollbuild::MakeFace(const float a[3], const float b[3], const float c[3], kxcollface* face, kxcolledge edges[3]) {
  double u[3], v[3], n[3];
  for (int k = 0; k < 3; ++k) {
    // The queries square coordinates in floats: a corner beyond the range
    // whose squares stay finite (a hostile mesh) leaves the face out.
    if (!Within(a[k]) || !Within(b[k]) || !Within(c[k])) return 0;
    u[k] = static_cast<double>(b[k]) - a[k];
    v[k] = static_cast<double>(c[k]) - a[k];
  }
  n[0] = u[1] * v[2] - u[2] * v[1];
  n[1] = u[2] * v[0] - u[0] * v[2];
  n[2] = u[0] * v[1] - u[1] * v[0];
  double length = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
  if (!(0.5 * length > kMinFaceArea) || !std::isfinite(length)) return 0;
  for (int k = 0; k < 3; ++k) face->normal[k] = static_cast<float>(n[k] / length);
  face->d = Dot3(face->normal, a);
  const float* corner[3] = {a, b, c};
  float radius2 = 0.0f;
  for (int k = 0; k < 3; ++k) face->centre[k] = (a[k] + b[k] + c[k]) / 3.0f;
  for (int i = 0; i < 3; ++i) {
    float dx = corner[i][0] - face->centre[0], dy = corner[i][1] - face->centre[1], dz = corner[i][2] - face->centre[2];
    radius2 = std::fmax(radius2, dx * dx + dy * dy + dz * dz);
  }
  face->radius = std::sqrt(radius2) * 1.0001f;  // rounding must not shrink the sphere below a corner
  // Edge i runs from corner i to corner i+1; its inward normal is n x edge.
  for (int i = 0; i < 3; ++i) {
    const float* p = corner[i];
    const float* q = corner[(i + 1) % 3];
    double e[3] = {static_cast<double>(q[0]) - p[0], static_cast<double>(q[1]) - p[1],
                   static_cast<double>(q[2]) - p[2]};
    double m[3] = {n[1] * e[2] - n[2] * e[1], n[2] * e[0] - n[0] * e[2], n[0] * e[1] - n[1] * e[0]};
    double ml = std::sqrt(m[0] * m[0] + m[1] * m[1] + m[2] * m[2]);
    if (!(ml > 0.0)) return 0;
    for (int k = 0; k < 3; ++k) {
      edges[i].normal[k] = static_cast<float>(m[k] / ml);
      edges[i].point[k] = p[k];
    }
    edges[i].distance = Dot3(edges[i].normal, p);
    edges[i].next = i < 2 ? &edges[i + 1] : nullptr;
  }
  face->edges = edges;
  face->frame = nullptr;
  face->next = nullptr;
  return 1;
}

// ---- surface codes

int kxcollision::SurfaceCode(const char* elementName) {
  if (!elementName) return kSurfaceDefault;
  for (const surfacename& s : kSurfaceNames) {
    if (ContainsNoCase(elementName, s.fragment)) return s.code;
  }
  return kSurfaceDefault;
}

void kxcollision::SetTrees(kxcollision* w, int count, int enabled) {
  if (!w) return;
  w->treeCount = count < 0 ? 0 : count;
  w->treeCollision = enabled ? 1 : 0;
}

// ---- Build and FreeOctree

int kxcollision::Build(kxcollision* w, const kxgeometryobject* chain, const kxtransparentgeometry* transparent,
                       const float minCell[3], int maxTriangles, const float sun[3], const kxgeometry* ocean) {
  if (!w) return 0;
  FreeOctree(w);
  float cell[3];
  for (int k = 0; k < 3; ++k) {
    cell[k] = minCell && std::isfinite(minCell[k]) && minCell[k] > 0.0f ? minCell[k] : kDefaultMinCell;
  }
  if (maxTriangles <= 0) maxTriangles = kDefaultMaxTriangles;
  float light[3] = {0, 0, 1};
  if (sun && std::isfinite(sun[0]) && std::isfinite(sun[1]) && std::isfinite(sun[2])) {
    std::memcpy(light, sun, sizeof light);
  }
  std::memcpy(w->sun, light, sizeof light);

  // Faces, in chain and element order.
  size_t triangles = 0;
  for (const kxgeometryobject* o = chain; o; o = o->next) {
    for (const kxgeometry* el = o->mesh; el; el = el->next) triangles += static_cast<size_t>(std::max(0, el->triangleCount));
  }
  std::vector<rawface> faces;
  std::vector<facebox> boxes;
  faces.reserve(triangles);
  boxes.reserve(triangles);
  for (const kxgeometryobject* o = chain; o; o = o->next) {
    for (const kxgeometry* el = o->mesh; el; el = el->next) {
      if (IsBillboard(el, transparent)) continue;
      int surface = InList(el, ocean) ? kSurfaceWater : SurfaceCode(el->name);
      for (int t = 0; t < el->triangleCount; ++t) {
        float p[3][3];
        bool ok = true;
        for (int k = 0; k < 3; ++k) ok = ok && kxgeometry::GetVertexPosition(el, static_cast<int>(el->triangles[3 * t + k]), p[k]);
        rawface r;
        if (!ok || !kxcollbuild::MakeFace(p[0], p[1], p[2], &r.face, r.edges)) continue;
        r.face.surface = surface;
        r.face.sunDot = kxcollbuild::Dot3(r.face.normal, light);
        r.face.id = static_cast<int32_t>(faces.size());
        // Filed by the box a contact may touch it in, so the walk of the
        // cells meets it wherever the contact tests would take it.
        facebox b;
        kxcollbuild::ContactBox(&r.face, b.min, b.max);
        faces.push_back(r);
        boxes.push_back(b);
      }
    }
  }
  int treeTotal = 0;
  for (const kxtransparentgeometry* t = transparent; t && t->element; ++t) treeTotal += t->billboard ? 1 : 0;

  // The tree over face indices.
  treebuild tree;
  tree.boxes = &boxes;
  std::memcpy(tree.minCell, cell, sizeof cell);
  tree.maxTriangles = static_cast<size_t>(maxTriangles);
  tree.copies = faces.size();
  tree.copyLimit = faces.size() * kMaxCopiesPerFace;
  if (!faces.empty()) {
    tempnode root;
    for (int k = 0; k < 3; ++k) {
      root.min[k] = FLT_MAX;
      root.max[k] = -FLT_MAX;
    }
    for (const facebox& b : boxes) {
      for (int k = 0; k < 3; ++k) {
        root.min[k] = std::fmin(root.min[k], b.min[k]);
        root.max[k] = std::fmax(root.max[k], b.max[k]);
      }
    }
    for (int k = 0; k < 3; ++k) {
      root.min[k] -= kRootPadding;
      root.max[k] += kRootPadding;
    }
    root.faces.resize(faces.size());
    for (size_t i = 0; i < faces.size(); ++i) root.faces[i] = static_cast<int>(i);
    tree.nodes.push_back(std::move(root));
    tree.Split(0, 0);
  }
  size_t copies = 0;
  int leaves = 0;
  for (const tempnode& n : tree.nodes) {
    copies += n.faces.size();
    leaves += n.first < 0 ? 1 : 0;
  }

  // Lay the records out in the two blocks.
  size_t faceBytes = copies * sizeof(kxcollface) + faces.size() * 3 * sizeof(kxcolledge) +
                     static_cast<size_t>(treeTotal) * 5 * (sizeof(kxcollface) + 4 * sizeof(kxcolledge));
  size_t nodeBytes = tree.nodes.size() * sizeof(kxcollnode) + faces.size() * sizeof(uint32_t);
  if (!kxgl::ReserveBytes(&w->faceBlock, faceBytes, "kxcollfaces") ||
      !kxgl::ReserveBytes(&w->nodeBlock, nodeBytes, "kxcollnodes")) {
    FreeOctree(w);
    kxcore::Log("gl:  collision %zu faces=fail\n", faces.size());
    return 0;
  }
  kxcollface* copyArea = static_cast<kxcollface*>(w->faceBlock);
  kxcolledge* edgeArea = reinterpret_cast<kxcolledge*>(copyArea + copies);
  kxcollface* treeFaces = reinterpret_cast<kxcollface*>(edgeArea + faces.size() * 3);
  kxcolledge* treeEdges = reinterpret_cast<kxcolledge*>(treeFaces + treeTotal * 5);
  kxcollnode* nodes = static_cast<kxcollnode*>(w->nodeBlock);
  w->marks = reinterpret_cast<uint32_t*>(nodes + tree.nodes.size());

  std::vector<const kxcollface*> distinct(faces.size());
  for (size_t i = 0; i < faces.size(); ++i) {
    std::memcpy(edgeArea + 3 * i, faces[i].edges, sizeof faces[i].edges);
    for (int k = 0; k < 3; ++k) edgeArea[3 * i + k].next = k < 2 ? &edgeArea[3 * i + k + 1] : nullptr;
    faces[i].face.edges = edgeArea + 3 * i;
    distinct[i] = &faces[i].face;
  }
  // Without a grid (no upward face, no memory) the ground queries walk the tree.
  kxgroundgrid::Build(&w->ground, distinct.data(), static_cast<int>(distinct.size()));
  size_t cursor = 0;
  for (size_t i = 0; i < tree.nodes.size(); ++i) {
    const tempnode& t = tree.nodes[i];
    kxcollnode& n = nodes[i];
    std::memcpy(n.min, t.min, sizeof n.min);
    std::memcpy(n.max, t.max, sizeof n.max);
    n.first = t.first >= 0 ? &nodes[t.first] : nullptr;
    n.second = t.second >= 0 ? &nodes[t.second] : nullptr;
    n.faces = nullptr;
    kxcollface** link = &n.faces;
    for (int f : t.faces) {
      kxcollface* copy = copyArea + cursor++;
      *copy = faces[f].face;
      copy->edges = edgeArea + 3 * f;
      copy->next = nullptr;
      *link = copy;
      link = &copy->next;
    }
  }
  int treeIndex = 0;
  for (const kxtransparentgeometry* t = transparent; t && t->element; ++t) {
    if (!t->billboard) continue;
    if (!MakeTreeFaces(*t, light, treeFaces + 5 * treeIndex, treeEdges + 20 * treeIndex))
      kxcore::Log("gl:  tree %d has no finite size or place; nothing collides with it\n", treeIndex);
    ++treeIndex;
  }
  w->root = tree.nodes.empty() ? nullptr : &nodes[0];
  for (int k = 0; k < 3; ++k) {
    w->rootMin[k] = w->root ? nodes[0].min[k] : 0.0f;
    w->rootMax[k] = w->root ? nodes[0].max[k] : 0.0f;
  }
  w->faceCount = static_cast<int32_t>(faces.size());
  w->cellCount = leaves;
  w->query = 0;
  w->trees = treeTotal ? treeFaces : nullptr;
  w->treeTotal = treeTotal;
  w->nearCursor = 0;
  w->nearFaces[0] = nullptr;
  kxcore::Log("gl:  collision %d faces %d cells=ok\n", w->faceCount, w->cellCount);
  return 1;
}

void kxcollision::FreeOctree(kxcollision* w) {
  if (!w) return;
  kxgl::ReleaseBytes(&w->faceBlock);
  kxgl::ReleaseBytes(&w->nodeBlock);
  kxgroundgrid::Free(&w->ground);
  w->root = nullptr;
  w->marks = nullptr;
  w->trees = nullptr;
  w->treeTotal = 0;
  w->faceCount = 0;
  w->cellCount = 0;
  w->nearCursor = 0;
  w->nearFaces[0] = nullptr;
  for (int k = 0; k < 3; ++k) w->rootMin[k] = w->rootMax[k] = 0.0f;
}
