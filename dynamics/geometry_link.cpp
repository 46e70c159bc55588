#include "dynamics/geometry_link.h"

#include <algorithm>
#include <cmath>

#include "dynamics/body.h"
#include "graphics/geometric_object.h"

namespace {

const kxmatrix& Identity() {
  static const kxmatrix identity = [] {
    kxmatrix m;
    kxmatrix::SetIdentity(&m);
    return m;
  }();
  return identity;
}

kxgeometricobject* ChildObject(kxnode* node) { return kxdgeometry::From(node); }

}  // namespace

namespace kxdgeometry {

const kxtype* Type() { return &kxgeometricobject::Type; }

kxnode** Field(kxgeometricobject** field) { return reinterpret_cast<kxnode**>(field); }

kxgeometricobject* From(kxnode* node) {
  if (!node || !kxtype::IsDerivedFrom(node->type, &kxgeometricobject::Type)) return nullptr;
  return static_cast<kxgeometricobject*>(node);
}

kxnode* AsNode(kxgeometricobject* object) { return object; }

void SetOwner(kxgeometricobject* object, kxdbody* owner) {
  if (object) object->SetOwner(owner);
}

void SetMatrix(kxgeometricobject* object, const kxmatrix& frame) {
  if (!object) return;
  object->Matrix = frame;
  object->MatrixDraw = frame;
}

void PlaceChildren(kxdbody* body) {
  kxgeometricobject* g = body ? body->Geometry : nullptr;
  if (!g) return;
  for (kxnode* c = g->firstChild; c; c = c->nextSibling) {
    if (kxgeometricobject* child = ChildObject(c)) kxmatrix::Multiply4x4(&child->MatrixDraw, &g->Matrix, &child->Matrix);
  }
}

void RebaseMesh(kxgeometricobject* object) {
  if (!object) return;
  kxmatrix inverse;
  object->RestoreVertices();
  if (kxmatrix::Invert(object->Matrix, inverse) == 0) object->Transform(inverse);
  for (kxnode* c = object->firstChild; c; c = c->nextSibling) {
    kxgeometricobject* child = ChildObject(c);
    if (!child) continue;
    kxmatrix product;
    kxmatrix::Multiply4x4(&product, &object->Matrix, &child->Matrix);
    child->RestoreVertices();
    if (kxmatrix::Invert(product, inverse) == 0) child->Transform(inverse);
  }
}

void AnalyseBody(kxdbody* body) {
  kxgeometricobject* g = body ? body->Geometry : nullptr;
  if (!g) return;
  // The rest shape is held in aircraft coordinates: start from it, so a
  // repeated analysis gives the same result.
  g->Rebuild();
  kxvector4r centroid;
  float area = g->SurfaceCentroid(&centroid, Identity());
  if (area > 0.0f && std::isfinite(centroid.x) && std::isfinite(centroid.y) && std::isfinite(centroid.z)) {
    body->B.R = {centroid.x, centroid.y, centroid.z, 1.0f};
  }
  if (!g->ApplyFrame(body->B)) return;
  float inertia[16];
  if (g->SurfaceInertia(inertia, Identity()) > 0.0f) {
    bool finite = true;
    for (float v : inertia) finite = finite && std::isfinite(v);
    if (finite) {
      for (int i = 0; i < 16; ++i) body->Inertia[i] = body->Mass * inertia[i];
    }
  }
  body->Inertia[15] = body->Mass;
  g->UpdateBounds();
  const float* lo = g->boundsMin;
  const float* hi = g->boundsMax;
  if (hi[0] < lo[0] || hi[1] < lo[1] || hi[2] < lo[2]) return;
  for (int k = 0; k < kxdbody::kMaxContactPoints; ++k) {
    body->ContactPoints[k] = {(k & 1) ? hi[0] : lo[0], (k & 2) ? hi[1] : lo[1], (k & 4) ? hi[2] : lo[2], 1.0f};
  }
  body->ContactCount = kxdbody::kMaxContactPoints;
}

void ProjectedAreas(kxgeometricobject* object, float& ax, float& ay, float& az) {
  ax = ay = az = 0.0f;
  if (!object) return;
  ax = object->ProjectedArea({1.0f, 0.0f, 0.0f, 0.0f}, Identity());
  ay = object->ProjectedArea({0.0f, 1.0f, 0.0f, 0.0f}, Identity());
  az = object->ProjectedArea({0.0f, 0.0f, 1.0f, 0.0f}, Identity());
  if (!std::isfinite(ax)) ax = 0.0f;
  if (!std::isfinite(ay)) ay = 0.0f;
  if (!std::isfinite(az)) az = 0.0f;
}

void MoveBy(kxgeometricobject* object, const kxmatrix& frame) {
  if (!object) return;
  object->RestoreVertices();
  object->Transform(frame);
  object->StoreVertices();
  for (kxnode* c = object->firstChild; c; c = c->nextSibling) {
    if (kxgeometricobject* child = ChildObject(c)) MoveBy(child, frame);
  }
}

kxnode* NewRoot() { return new kxgeometricobject; }

void ClearChildMeshes(kxgeometricobject* object) {
  if (!object) return;
  for (kxnode* c = object->firstChild; c; c = c->nextSibling) {
    kxgeometricobject* child = ChildObject(c);
    // Drawn clones share the template's mesh: dropping the pointer frees nothing.
    if (child && !child->ownsMesh) child->mesh = nullptr;
  }
}

void Extent(kxgeometricobject* object, const kxvector4r& direction, float* min, float* max) {
  if (!object) return;
  object->ExtentAlong(direction, min, max, object->Matrix);
}

}  // namespace kxdgeometry
