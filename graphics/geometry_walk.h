// Walks a geometric object tree with each object's placement: the caller's
// matrix times the Matrix chain below the start object (and, for picking,
// the start object's own Matrix too). Objects are visited before their
// children, children in order, so an object's triangles come before its
// children's.
#pragma once

#include <cmath>

#include "core/matrix.h"
#include "graphics/geometric_object.h"
#include "graphics/mesh.h"

namespace kxgeometrywalk {

// A placement that is not finite (a broken frame) skips its subtree, so no
// integral returns a NaN.
template <class Visit>
void Walk(const kxgeometricobject* o, const kxmatrix& place, Visit& visit) {
  for (int i = 0; i < 16; ++i) {
    if (!std::isfinite(place[i])) return;
  }
  visit(o, place);
  for (const kxnode* c = o->firstChild; c; c = c->nextSibling) {
    if (!kxtype::IsDerivedFrom(c->type, &kxgeometricobject::Type)) continue;
    const kxgeometricobject* child = static_cast<const kxgeometricobject*>(c);
    kxmatrix childPlace;
    kxmatrix::Multiply4x4(&childPlace, &place, &child->Matrix);
    Walk(child, childPlace, visit);
  }
}

// Every triangle of the tree as three placed points (w 1).
template <class Triangle>
void Triangles(const kxgeometricobject* o, const kxmatrix& M, Triangle&& triangle) {
  auto visit = [&](const kxgeometricobject* object, const kxmatrix& place) {
    for (const kxgeometry* el = object->mesh; el; el = el->next) {
      for (int t = 0; t < el->triangleCount; ++t) {
        kxvector4r p[3];
        bool ok = true;
        for (int k = 0; k < 3; ++k) {
          float v[4] = {0, 0, 0, 1};
          ok = ok && kxgeometry::GetVertexPosition(el, static_cast<int>(el->triangles[3 * t + k]), v);
          v[3] = 1.0f;
          kxmatrix::TransformVector4(&p[k].x, &place, v);
        }
        if (ok) triangle(p[0], p[1], p[2]);
      }
    }
  };
  Walk(o, M, visit);
}

// Every vertex of the tree, placed (w 1).
template <class Vertex>
void Vertices(const kxgeometricobject* o, const kxmatrix& M, Vertex&& vertex) {
  auto visit = [&](const kxgeometricobject* object, const kxmatrix& place) {
    for (const kxgeometry* el = object->mesh; el; el = el->next) {
      for (int i = 0; i < el->vertexCount; ++i) {
        float v[4] = {0, 0, 0, 1};
        kxgeometry::GetVertexPosition(el, i, v);
        v[3] = 1.0f;
        kxvector4r p;
        kxmatrix::TransformVector4(&p.x, &place, v);
        vertex(p);
      }
    }
  };
  Walk(o, M, visit);
}

}  // namespace kxgeometrywalk
