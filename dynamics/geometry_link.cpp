#include "dynamics/geometry_link.h"

#include "dynamics/body.h"

namespace kxdgeometry {

const kxtype* Type() {
  static kxtype unregistered("kxgeometricobject");
  const kxtype* t = kxtype::Find("kxgeometricobject");
  return t ? t : &unregistered;
}

kxnode** Field(kxgeometricobject** field) { return reinterpret_cast<kxnode**>(field); }

kxgeometricobject* From(kxnode* node) {
  if (!node || !kxtype::IsDerivedFrom(node->type, Type())) return nullptr;
  return reinterpret_cast<kxgeometricobject*>(node);
}

kxnode* AsNode(kxgeometricobject* object) { return reinterpret_cast<kxnode*>(object); }

void SetOwner(kxgeometricobject*, kxdbody*) {}
void SetMatrix(kxgeometricobject*, const kxmatrix&) {}
void PlaceChildren(kxdbody*) {}
void RebaseMesh(kxgeometricobject*) {}
void AnalyseBody(kxdbody*) {}

}  // namespace kxdgeometry

namespace kxdgeometry {
void ProjectedAreas(kxgeometricobject*, float& ax, float& ay, float& az) { ax = ay = az = 0.0f; }
}  // namespace kxdgeometry

namespace kxdgeometry {
void MoveBy(kxgeometricobject*, const kxmatrix&) {}
kxnode* NewRoot() {
  const kxtype* t = kxtype::Find("kxgeometricobject");
  return t && t->create ? t->Create() : new kxnode;
}
void ClearChildMeshes(kxgeometricobject*) {}
}  // namespace kxdgeometry
