// svdesignhandlepage: a property page whose value also reshapes the
// component's mesh. Every handle family (a wing's semi-span, dihedral and
// incidence; a rotor's or propeller's radius; a propeller's pitch) has one
// apply step that clamps the value and reshapes the mesh from its stored
// rest shape for the change since a start value, so repeated steps never
// accumulate. A typed value runs the apply step once, committed, and the
// component's analysis then measures the new mesh.
#pragma once

#include "core/vector.h"
#include "designer/page.h"

class kxgeometricobject;

class svdesignhandlepage : public svdesignpage {
 public:
  svdesignhandlepage(int iconNumber, kxdbody* edited, float* bound);

  // Value := the clamped value; the mesh reshaped from its rest shape for
  // the change from start; with commit set the new shape becomes the rest
  // shape. A change whose scale or angle is not finite is refused: value
  // and mesh stay as they were.
  virtual void Apply(float value, float start, int commit) = 0;
  // Whether a press on the component's mesh starts a drag on this page.
  virtual bool Grabbable() const { return true; }

  float* value = nullptr;        // the edited member
  int dragging = 0;              // 1 from a press on the mesh to the release
  kxvector4r grabPoint = {};     // where the press met the mesh, w 0
  float startValue = 0.0f;       // the value at the press

  // The typed path: the value before the edit is the start of the apply
  // step.
  void Store() override;

 protected:
  void FollowUp() override;

 private:
  float typedStart_ = 0.0f;
};

namespace svdesign {

// Each vertex of the object's own mesh through op (positions with w 1, in
// the mesh's stored coordinates); the new shape becomes the rest shape when
// commit is set.
template <class Op>
void ReshapeVertices(kxgeometricobject* object, Op op, int commit);

}  // namespace svdesign

#include "designer/handle_page_impl.h"
