// The Diameter pages of propellers, main rotors and tail rotors, and the
// propeller's Pitch page. The diameter scales each blade (a direct child of
// the component's geometry) about the component's position, leaving the hub
// within the keep radius in place; the pitch twists each blade about its
// radial axis by the change of the blade angle at 75 % of the radius.
#pragma once

#include "designer/handle_page.h"

// Where a diameter page finds its component's radius and its limits.
struct designradius {
  float* radius;            // m, tip radius
  float* rangeMax;          // m
  float* rangeMin;          // m
  const float* keepMember;  // m, hub or hinge distance; null: none
  float keepExtra;          // m added to it
};

// The drag runs outward from the shaft through the grab point, in the disc
// plane; the radius scales as the grab point's distance from the shaft.
class svdesigndiameterpage : public svdesignhandlepage {
 public:
  // The field shows the diameter: factor = twice the radius factor.
  svdesigndiameterpage(pageicon picture, kxdbody* edited, const designradius& r, const char* unit, float radiusFactor);
  void Apply(float value, float start, int commit) override;
  // Vertices this close to the component's position keep their place, m.
  float KeepRadius() const;

  designradius radius;
  float referenceRadius = 0.0f;  // m, the radius of the blades' rest shape

 protected:
  kxvector4r DragAxis() const override;
  float DragValue(const kxvector4r& q, float t) const override;
};

// The drag follows the mouse across the viewer, not a line: the pitch is
// multiplied by 1 + 2 x the horizontal travel in half viewer widths.
class svdesignpitchpage : public svdesignhandlepage {
 public:
  svdesignpitchpage(pageicon picture, kxdbody* edited, float* pitch, const float* radius);
  void Apply(float value, float start, int commit) override;
  int MouseDown(const designray& ray) override;

  const float* radius;        // m, the propeller's tip radius
  float grabMouseX = 0.0f;    // the viewer's normalised mouse x at the press

 protected:
  bool Dragged(const designray& ray, float* out) const override;
};
