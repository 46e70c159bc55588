#include <algorithm>
#include <cmath>
#include <numeric>
#include <vector>

#include "dynamics/wings/wing_analysis.h"
#include "graphics/geometric_object.h"
#include "graphics/mesh.h"

namespace kxdwinganalysis {

namespace {

struct triangle {
  kxvector4r p[3];  // corners in the frame of the part's parent
  float area;       // m^2
};

using kxvector4ops::Difference;

// The +X-facing triangles of every element of the part's mesh, in mesh order.
std::vector<triangle> FacingTriangles(const kxgeometricobject* part, float facing) {
  std::vector<triangle> out;
  int offset = 0;
  for (const kxgeometry* el = part->mesh; el; el = el->next) {
    for (int t = 0; t < el->triangleCount; ++t) {
      triangle tri;
      for (int k = 0; k < 3; ++k) {
        part->TransformVertex(&tri.p[k], offset + static_cast<int>(el->triangles[3 * t + k]), part->Matrix);
      }
      kxvector4r n;
      kxvector4r::Cross(n, Difference(tri.p[1], tri.p[0]), Difference(tri.p[2], tri.p[0]));
      float length = std::sqrt(n.x * n.x + n.y * n.y + n.z * n.z);
      // A zero-area triangle gives NaN here, which never passes.
      if (n.x / length > facing) {
        tri.area = 0.5f * length;
        out.push_back(tri);
      }
    }
    offset += el->vertexCount;
  }
  return out;
}

// Union of sets whose representative is the smallest entry index: the
// same patches and labels as relabelling every contact in pair order.
int Root(std::vector<int>& parent, int i) {
  while (parent[i] != i) i = parent[i] = parent[parent[i]];
  return i;
}

}  // namespace

int PointsCoincide(const kxvector4r& a0, const kxvector4r& a1, const kxvector4r& a2, const kxvector4r& b0,
                   const kxvector4r& b1, const kxvector4r& b2) {
  const kxvector4r* a[3] = {&a0, &a1, &a2};
  const kxvector4r* b[3] = {&b0, &b1, &b2};
  for (int i = 0; i < 3; ++i) {
    for (int j = 0; j < 3; ++j) {
      if (Distance(*a[i], *b[j]) < kCoincide) return 1;
    }
  }
  return 0;
}

int FindHingeFrame(const kxgeometricobject* part, float facing, const kxvector4r& reference, kxmatrix* H) {
  if (!part || !part->mesh) return 0;
  std::vector<triangle> tris = FacingTriangles(part, facing);
  int m = static_cast<int>(tris.size());
  if (m == 0) return 0;
  std::vector<int> parent(m);
  std::iota(parent.begin(), parent.end(), 0);
  for (int i = 0; i < m; ++i) {
    for (int j = i + 1; j < m; ++j) {
      if (!PointsCoincide(tris[i].p[0], tris[i].p[1], tris[i].p[2], tris[j].p[0], tris[j].p[1], tris[j].p[2])) {
        continue;
      }
      int a = Root(parent, i), b = Root(parent, j);
      if (a < b) parent[b] = a;
      if (b < a) parent[a] = b;
    }
  }
  std::vector<float> area(m, 0.0f);
  std::vector<int> label(m);
  for (int i = 0; i < m; ++i) {
    label[i] = Root(parent, i);
    area[label[i]] += tris[i].area;
  }
  int best = 0;
  float bestArea = 0.0f;
  for (int k = 0; k < m; ++k) {
    if (area[k] > bestArea) {
      best = k;
      bestArea = area[k];
    }
  }
  float total = 0.0f;
  kxvector4r c = {0.0f, 0.0f, 0.0f, 0.0f};
  for (int i = 0; i < m; ++i) {
    if (label[i] != best) continue;
    const triangle& t = tris[i];
    total += t.area;
    c.x += t.area * ((t.p[0].x + t.p[1].x + t.p[2].x) * kThird);
    c.y += t.area * ((t.p[0].y + t.p[1].y + t.p[2].y) * kThird);
    c.z += t.area * ((t.p[0].z + t.p[1].z + t.p[2].z) * kThird);
  }
  // A patch of no area has no centroid and no axis.
  if (!(total > 0.0f)) return 0;
  c = {c.x / total, c.y / total, c.z / total, 1.0f};
  kxvector4r v = {0.0f, 1.0f, 0.0f, 0.0f};
  for (int round = 0; round < kAxisRounds; ++round) {
    kxvector4r a = {0.0f, 0.0f, 0.0f, 0.0f};
    for (int i = 0; i < m; ++i) {
      if (label[i] != best) continue;
      for (const kxvector4r& p : tris[i].p) {
        kxvector4r q = {p.x - c.x, p.y - c.y, p.z - c.z, 0.0f};
        float along = kxvector4r::Dot3(q, v);
        a.x += along * q.x;
        a.y += along * q.y;
        a.z += along * q.z;
      }
    }
    float length = std::sqrt(kxvector4r::Dot3(a, a));
    if (!(length > 0.0f) || !std::isfinite(length)) return 0;
    v = {a.x / length, a.y / length, a.z / length, 0.0f};
  }
  kxvector4r x, z;
  kxvector4r::Cross(x, v, reference);
  float xl = std::sqrt(kxvector4r::Dot3(x, x));
  // An axis along the reference leaves X undefined.
  if (!(xl > 1e-6f)) return 0;
  x = {x.x / xl, x.y / xl, x.z / xl, 0.0f};
  kxvector4r::Cross(z, x, v);
  float zl = std::sqrt(kxvector4r::Dot3(z, z));
  if (!(zl > 0.0f)) return 0;
  z = {z.x / zl, z.y / zl, z.z / zl, 0.0f};
  H->X = x;
  H->Y = v;
  H->Z = z;
  H->R = c;
  return 1;
}

int Inverse(const kxmatrix& F, kxmatrix* inverse) {
  if (kxmatrix::Invert(F, *inverse) != 0) return 0;
  for (int i = 0; i < 16; ++i) {
    if (!std::isfinite((*inverse)[i])) {
      kxmatrix::SetIdentity(inverse);
      return 0;
    }
  }
  return 1;
}

int HingeInverse(const kxmatrix& W, const kxmatrix& H, kxmatrix* inverse) {
  kxmatrix G;
  kxmatrix::Multiply4x4(&G, &W, &H);
  return Inverse(G, inverse);
}

void RebaseMesh(kxgeometricobject* part, const kxmatrix& inverse) {
  part->RestoreMesh();
  part->Transform(inverse);
}

int HingePart(kxgeometricobject* part, const kxmatrix& W, float facing, kxmatrix* inverse) {
  kxmatrix H;
  if (!part->mesh || !FindHingeFrame(part, facing, kHingeReference, &H) || !HingeInverse(W, H, inverse)) return 0;
  RebaseMesh(part, *inverse);
  part->Matrix = H;
  return 1;
}

void HingeParts(kxgeometricobject* geometry, std::initializer_list<const kxgeometricobject*> parts, float facing,
                bool firstChild) {
  const kxmatrix& W = geometry->Matrix;
  for (kxnode* c = geometry->firstChild; c; c = c->nextSibling) {
    if (std::find(parts.begin(), parts.end(), c) == parts.end()) continue;
    kxgeometricobject* part = static_cast<kxgeometricobject*>(c);
    kxmatrix inverse;
    if (!HingePart(part, W, facing, &inverse) || !firstChild) continue;
    if (kxnode* first = part->firstChild; first && kxtype::IsDerivedFrom(first->type, &kxgeometricobject::Type)) {
      kxgeometricobject* child = static_cast<kxgeometricobject*>(first);
      RebaseMesh(child, inverse);
      kxmatrix::SetIdentity(&child->Matrix);
    }
  }
}

}  // namespace kxdwinganalysis
