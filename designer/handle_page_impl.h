// The vertex loop of the handle pages, a template so each family's
// operation inlines.
#pragma once

#include "core/matrix.h"
#include "graphics/geometric_object.h"

namespace svdesign {

template <class Op>
void ReshapeVertices(kxgeometricobject* object, Op op, int commit) {
  if (!object) return;
  const kxmatrix& identity = kxmatrix::Identity();
  int n = object->VertexCount();
  for (int i = 0; i < n; ++i) {
    kxvector4r p;
    object->TransformVertex(&p, i, identity);
    object->VertexInFrame(i, op(p), identity);
  }
  object->UpdateBounds();
  if (commit) object->StoreVertices();
}

}  // namespace svdesign
