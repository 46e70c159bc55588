// Mesh edits of kxgeometricobject. Every edit works on all elements of the
// object's own list in place; vertex indices run over the elements' vertices
// one after another, so a multi-material part moves as one. Only
// Rebuild and RestoreVertices go back to the rest copy, so chained edits
// compose. No edit lets a non-finite number into a mesh or a frame.
#include <algorithm>
#include <cfloat>
#include <cmath>

#include "core/hooks.h"
#include "graphics/geometric_object.h"
#include "graphics/mesh.h"

namespace {

bool Finite(const kxmatrix& m) {
  for (int i = 0; i < 16; ++i)
    if (!std::isfinite(m[i])) return false;
  return true;
}

// The element holding vertex i of the concatenated list and its own index.
kxgeometry* Locate(kxgeometry* list, int i, int* local) {
  if (i < 0) return nullptr;
  for (kxgeometry* el = list; el; el = el->next) {
    if (i < el->vertexCount) {
      *local = i;
      return el;
    }
    i -= el->vertexCount;
  }
  return nullptr;
}

// M applied to every position, normal and hull point of the list. A result
// that is not finite (a huge matrix overflowing) refuses the whole edit, so
// the list is first checked, then changed.
bool TransformList(kxgeometry* list, const kxmatrix& M) {
  for (int pass = 0; pass < 2; ++pass) {
    bool apply = pass == 1;
    for (kxgeometry* el = list; el; el = el->next) {
      bool normals = kxgeometry::HasNormals(el->format);
      for (int i = 0; i < el->vertexCount; ++i) {
        float p[4] = {0, 0, 0, 1};
        kxgeometry::GetVertexPosition(el, i, p);
        p[3] = 1.0f;
        kxmatrix::TransformVector4(p, &M, p);
        kxvector4r n = {0, 0, 0, 0};
        if (normals) {
          kxgeometry::GetVertexNormal(el, i, &n);
          n.w = 0.0f;
          kxmatrix::TransformVector4(&n, &M, &n);
        }
        if (!apply) {
          for (int k = 0; k < 3; ++k) {
            if (!std::isfinite(p[k])) return false;
          }
          if (!std::isfinite(n.x) || !std::isfinite(n.y) || !std::isfinite(n.z)) return false;
          continue;
        }
        kxgeometry::SetVertexPosition(el, i, p);
        if (normals) kxgeometry::SetVertexNormal(el, i, n);
      }
      for (int k = 0; k < el->hullCount; ++k) {
        double* h = el->hull + 3 * k;
        double out[3];
        for (int j = 0; j < 3; ++j) out[j] = M[j] * h[0] + M[4 + j] * h[1] + M[8 + j] * h[2] + M[12 + j];
        float q[4] = {0, 0, 0, 1};
        if (el->hull4) {
          std::copy(el->hull4 + 4 * k, el->hull4 + 4 * k + 3, q);
          kxmatrix::TransformVector4(q, &M, q);
        }
        if (!apply) {
          for (int j = 0; j < 3; ++j) {
            if (!std::isfinite(out[j]) || !std::isfinite(q[j])) return false;
          }
          continue;
        }
        for (int j = 0; j < 3; ++j) h[j] = out[j];
        if (el->hull4) std::copy(q, q + 4, el->hull4 + 4 * k);
      }
      if (apply) kxgeometry::UpdateBounds(el);
    }
  }
  return true;
}

void Grow(float lo[3], float hi[3], const float p[3]) {
  for (int k = 0; k < 3; ++k) {
    if (p[k] < lo[k]) lo[k] = p[k];
    if (p[k] > hi[k]) hi[k] = p[k];
  }
}

}  // namespace

void kxboxrecord::Set(kxboxrecord* box, const float min[3], const float max[3]) {
  float c[3];
  for (int k = 0; k < 3; ++k) {
    box->min[k] = min[k];
    box->max[k] = max[k];
    c[k] = 0.5f * (min[k] + max[k]);
  }
  for (int axis = 0; axis < 3; ++axis) {
    for (int side = 0; side < 2; ++side) {
      float p[3] = {c[0], c[1], c[2]};
      p[axis] = side ? max[axis] : min[axis];
      box->six[axis * 2 + side] = {p[0], p[1], p[2], 1.0f};
    }
  }
  for (int i = 0; i < 8; ++i) {
    box->eight[i] = {(i & 1) ? max[0] : min[0], (i & 2) ? max[1] : min[1], (i & 4) ? max[2] : min[2], 1.0f};
  }
  box->list[0] = nullptr;
}

int kxgeometricobject::VertexCount() const {
  int n = 0;
  for (const kxgeometry* el = mesh; el; el = el->next) n += el->vertexCount;
  return n;
}

void kxgeometricobject::UpdateMeshBox() {
  float lo[3] = {FLT_MAX, FLT_MAX, FLT_MAX}, hi[3] = {-FLT_MAX, -FLT_MAX, -FLT_MAX};
  bool any = false;
  for (kxgeometry* el = mesh; el; el = el->next) {
    kxgeometry::UpdateBounds(el);
    if (el->vertexCount < 1) continue;
    Grow(lo, hi, el->boundsMin);
    Grow(lo, hi, el->boundsMax);
    any = true;
  }
  if (!any) {
    for (int k = 0; k < 3; ++k) lo[k] = hi[k] = 0.0f;
  }
  kxboxrecord::Set(&box, lo, hi);
}

void kxgeometricobject::UpdateBounds() {
  UpdateMeshBox();
  float lo[3] = {FLT_MAX, FLT_MAX, FLT_MAX}, hi[3] = {-FLT_MAX, -FLT_MAX, -FLT_MAX};
  bool any = false;
  if (VertexCount() > 0) {
    Grow(lo, hi, box.min);
    Grow(lo, hi, box.max);
    any = true;
  }
  for (kxnode* c = firstChild; c; c = c->nextSibling) {
    if (!kxtype::IsDerivedFrom(c->type, &Type)) continue;
    kxgeometricobject* child = static_cast<kxgeometricobject*>(c);
    child->UpdateBounds();
    if (child->boundsMin[0] > child->boundsMax[0]) continue;
    if (child->VertexCount() == 0 && !child->firstChild) continue;
    // The eight corners of the child's box, placed by its Matrix.
    for (int i = 0; i < 8; ++i) {
      float p[4] = {(i & 1) ? child->boundsMax[0] : child->boundsMin[0],
                    (i & 2) ? child->boundsMax[1] : child->boundsMin[1],
                    (i & 4) ? child->boundsMax[2] : child->boundsMin[2], 1.0f};
      kxmatrix::TransformVector4(p, &child->Matrix, p);
      Grow(lo, hi, p);
    }
    any = true;
  }
  if (!any) {
    for (int k = 0; k < 3; ++k) lo[k] = hi[k] = 0.0f;
  }
  for (int k = 0; k < 3; ++k) {
    boundsMin[k] = lo[k];
    boundsMax[k] = hi[k];
  }
}

void kxgeometricobject::Rebuild() {
  kxmatrix::SetIdentity(&Matrix);
  for (kxgeometry* el = mesh; el; el = el->next) kxgeometry::Restore(el);
  for (kxnode* c = firstChild; c; c = c->nextSibling) {
    if (kxtype::IsDerivedFrom(c->type, &Type)) static_cast<kxgeometricobject*>(c)->Rebuild();
  }
  UpdateBounds();
}

void kxgeometricobject::RestoreVertices() {
  if (!mesh) return;
  for (kxgeometry* el = mesh; el; el = el->next) kxgeometry::Restore(el);
  UpdateMeshBox();
}

void kxgeometricobject::StoreVertices() {
  for (kxgeometry* el = mesh; el; el = el->next) kxgeometry::Store(el);
}

void kxgeometricobject::Transform(const kxmatrix& M) {
  if (!mesh) return;
  if (!Finite(M)) {
    kxcore::Log("gl:  transform of %s not finite\n", name.Text());
    return;
  }
  if (!TransformList(mesh, M)) {
    kxcore::Log("gl:  transform of %s out of range\n", name.Text());
    return;
  }
  UpdateMeshBox();
}

int kxgeometricobject::ApplyFrame(const kxmatrix& F) {
  kxmatrix inverse;
  if (!Finite(F) || kxmatrix::Invert(F, inverse) != 0 || !Finite(inverse)) {
    kxcore::Log("gl:  frame of %s singular\n", name.Text());
    return 0;
  }
  if (mesh && !TransformList(mesh, inverse)) {
    kxcore::Log("gl:  frame of %s out of range\n", name.Text());
    return 0;
  }
  UpdateMeshBox();
  Matrix = F;
  for (kxnode* c = firstChild; c; c = c->nextSibling) {
    if (!kxtype::IsDerivedFrom(c->type, &Type)) continue;
    kxgeometricobject* child = static_cast<kxgeometricobject*>(c);
    kxmatrix placed;
    kxmatrix::Multiply4x4(&placed, &inverse, &child->MatrixObj);
    if (Finite(placed)) child->Matrix = placed;
  }
  return 1;
}

void kxgeometricobject::Move(const kxvector4r& v) {
  if (!mesh) return;
  kxmatrix shift;
  kxmatrix::SetIdentity(&shift);
  shift.R = {v.x, v.y, v.z, 1.0f};
  if (!Finite(shift) || !TransformList(mesh, shift)) {
    kxcore::Log("gl:  move of %s out of range\n", name.Text());
    return;
  }
  UpdateMeshBox();
}

void kxgeometricobject::TransformVertex(kxvector4r* out, int i, const kxmatrix& M) const {
  int local = 0;
  kxgeometry* el = Locate(mesh, i, &local);
  float p[4] = {0, 0, 0, 1};
  if (!el || !kxgeometry::GetVertexPosition(el, local, p)) {
    *out = {0, 0, 0, 1};
    return;
  }
  p[3] = 1.0f;
  kxmatrix::TransformVector4(&out->x, &M, p);
}

void kxgeometricobject::VertexInFrame(int i, const kxvector4r& p, const kxmatrix& M) {
  int local = 0;
  kxgeometry* el = Locate(mesh, i, &local);
  if (!el) return;
  kxmatrix inverse;
  if (!Finite(M) || kxmatrix::Invert(M, inverse) != 0) {
    kxcore::Log("gl:  frame for vertex %d of %s singular\n", i, name.Text());
    return;
  }
  float q[4] = {p.x, p.y, p.z, p.w};
  kxmatrix::TransformVector4(q, &inverse, q);
  if (!std::isfinite(q[0]) || !std::isfinite(q[1]) || !std::isfinite(q[2])) return;
  kxgeometry::SetVertexPosition(el, local, q);
}
