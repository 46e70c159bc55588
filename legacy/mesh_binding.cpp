#include "legacy/mesh_binding.h"

#include <cstring>

#include "core/hooks.h"
#include "graphics/mesh.h"
#include "legacy/parts.h"
#include "legacy/vec3.h"

namespace dnsmodel {
namespace {

// Orthonormal axes from the part's X and Z, keeping Z; false when they do
// not span a plane.
bool Orthonormal(v3& x, v3& y, v3& z) {
  z = Normalised(z);
  y = Normalised(Cross(z, x));
  if (Dot(y, y) == 0.0f) return false;
  x = Cross(y, z);
  return true;
}

}  // namespace

void BindPartMesh(object* part, kxgeometry* geometry) {
  kxgeometry* el = geometry;
  while (el && std::strncmp(el->name, part->Name, sizeof part->Name) != 0) el = el->next;
  if (!el) return;
  part->mesh = el;
  v3 x = Load(part->X), y, z = Load(part->Z);
  if (!Orthonormal(x, y, z)) {
    kxcore::Log("dnsmodel:  part %s has no usable X and Z axes; its mesh is bound to the identity axes\n",
                part->Name);
    x = {1, 0, 0};
    y = {0, 1, 0};
    z = {0, 0, 1};
  }
  Store(part->X, x);
  Store(part->Y, y);
  Store(part->Z, z);
  const v3 r = Load(part->R);
  for (int i = 0; i < el->vertexCount; ++i) {
    float p[3];
    kxgeometry::GetVertexPosition(el, i, p);
    v3 q = Load(p) - r;
    Store(p, {Dot(x, q), Dot(y, q), Dot(z, q)});
    kxgeometry::SetVertexPosition(el, i, p);
    kxvector4r n;
    if (!kxgeometry::GetVertexNormal(el, i, &n)) continue;
    v3 m{n.x, n.y, n.z};
    kxgeometry::SetVertexNormal(el, i, kxvector4r{Dot(x, m), Dot(y, m), Dot(z, m), 0.0f});
  }
  kxgeometry::UpdateBounds(el);
}

}  // namespace dnsmodel
