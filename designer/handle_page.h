// svdesignhandlepage: a property page whose value also reshapes the
// component's mesh. Every handle family (a wing's semi-span, dihedral and
// incidence; a rotor's or propeller's radius; a propeller's pitch) has one
// apply step that clamps the value and reshapes the mesh from its stored
// rest shape for the change since a start value, so repeated steps never
// accumulate. A typed value runs the apply step once, committed, and the
// component's analysis then measures the new mesh.
//
// The same apply step serves the drag in the viewer: a press on the
// component's own mesh grabs a point of it; each move takes the point of a
// line through the grab point (fixed by the family) nearest to the pick
// ray, turns it into a value and applies it live; the release commits the
// value there and runs the analysis.
#pragma once

#include "core/vector.h"
#include "designer/page.h"

class kxgeometricobject;

class svdesignhandlepage : public svdesignpage {
 public:
  svdesignhandlepage(pageicon picture, kxdbody* edited, float* bound);

  // Value := the clamped value; the mesh reshaped from its rest shape for
  // the change from start; with commit set the new shape becomes the rest
  // shape. A change whose scale or angle is not finite is refused: value
  // and mesh stay as they were.
  virtual void Apply(float value, float start, int commit) = 0;

  float* value = nullptr;        // the edited member
  int dragging = 0;              // 1 from a press on the mesh to the release
  kxvector4r grabPoint = {};     // where the press met the mesh, w 0
  float startValue = 0.0f;       // the value at the press

  // The typed path: the value before the edit is the start of the apply
  // step.
  void Store() override;

  // A press on the component's mesh (nothing without one, or on a miss)
  // starts a drag; moves apply live; the release commits and analyses.
  int MouseDown(const designray& ray) override;
  void MouseMove(const designray& ray) override;
  void MouseUp(const designray& ray) override;

 protected:
  void FollowUp() override;

  // The drag line's direction (w 0) through the grab point, taken at unit
  // length; the world vertical unless the family says otherwise.
  virtual kxvector4r DragAxis() const { return {0.0f, 0.0f, 1.0f, 0.0f}; }
  // The value for q, the point of the drag line nearest the ray, t metres
  // along the axis from the grab point; not a number: no value (a page
  // whose drag is not along a line says so in Dragged).
  virtual float DragValue(const kxvector4r& q, float t) const;
  // The start value scaled as q's distance from the plane through origin
  // normal to the axis is to the grab point's: the law of the lengths.
  float ScaledAlong(const kxvector4r& q, const kxvector4r& origin, const kxvector4r& axis) const;
  // The value the ray asks for; false when it has none (a ray parallel to
  // the drag line, a zero divisor of the family's law): the step is skipped.
  virtual bool Dragged(const designray& ray, float* out) const;

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
