// The property pages of the wings: semi-span, dihedral and incidence, which
// reshape the wing's mesh (its own mesh and its direct children, never
// deeper ones) about the root point; the airfoil selectors; the propeller
// wash; and the travel of the servo that drives an aileron or a flap.
//
// The three shape values are what the wing's analysis measures on its own
// mesh, and only the mesh keeps them through a Save. A wing without a mesh
// of its own has no shape: its three pages bind nothing (an empty field
// that takes no value) and their apply steps change nothing. A new wing is
// given a mesh (svdesign::NewComponent), so its pages take values.
#pragma once

#include "designer/handle_page.h"

class kxdwing;
class kxdservo00;

// Semi-span: the part of each vertex along the span axis, measured from the
// root, scaled by new / start, within the wing's span range.
// The drag runs along the span axis.
class svdesignwingspanpage : public svdesignhandlepage {
 public:
  svdesignwingspanpage(pageicon picture, kxdwing* wing);
  void Apply(float value, float start, int commit) override;

 protected:
  kxvector4r DragAxis() const override;
  float DragValue(const kxvector4r& q, float t) const override;
};

// Dihedral: the mesh turned about the x axis through the root, so that a
// larger angle raises the tip on either side; within [lowest, highest] rad.
// The drag runs up and down: the angle is the grab's elevation seen from
// the root.
class svdesignwingdihedralpage : public svdesignhandlepage {
 public:
  svdesignwingdihedralpage(pageicon picture, kxdwing* wing, float lowest, float highest);
  void Apply(float value, float start, int commit) override;

 protected:
  float DragValue(const kxvector4r& q, float t) const override;

 private:
  float lowest_, highest_;  // rad
};

// Incidence: the mesh turned about the span axis through the root, both
// wing halves the same physical way; within +-10 degrees. The drag runs up
// and down: each metre of travel adds a radian.
class svdesignwingincidencepage : public svdesignhandlepage {
 public:
  svdesignwingincidencepage(pageicon picture, kxdwing* wing);
  void Apply(float value, float start, int commit) override;

 protected:
  float DragValue(const kxvector4r& q, float t) const override;
};

// The travel of the servo that drives the wing's aileron or flap: its P1,
// shown and typed as positive degrees within 0..60. The sense the travel
// keeps is the wing side's (the factor carries the sign) on an aileron,
// the servo's own on a flap, rudder or elevator, whose sense says which
// way the surface moves for a signal. Unbound without a servo.
class svdesignwingdeflectionpage : public svdesignpage {
 public:
  enum class sense { plus, minus, servo };
  svdesignwingdeflectionpage(kxdwing* wing, kxdservo00* drive, sense kept);
  void Refresh() override;
  kxdservo00* servo;  // null: no servo drives the link
  sense kept;
  float size = 0.0f;  // rad, the travel without its sense; the servo-sense page's field

 protected:
  void FollowUp() override;
};

// The flap travel of a kxdwing00 as up and down deflections, kept in the
// page: P0 is the middle of the travel, P1 half of it in the servo's sense.
class svdesignwingflappage : public svdesignpage {
 public:
  svdesignwingflappage(kxdwing* wing, kxdservo00* drive);
  void Refresh() override;
  kxdservo00* servo;  // null: no servo drives the link
  float up = 0.0f;    // rad, -20..0 degrees
  float down = 0.0f;  // rad, 0..40 degrees

 protected:
  void FollowUp() override;
};

namespace svdesign {

// The first servo among the wing's sibling components whose MechLink the
// link points at; null when none does.
kxdservo00* DriveServo(const kxdwing* wing, const float* link);
// The servo's P1 for a travel of that size (rad) in the sense of its
// present P1.
float ServoTravel(float size, float p1);

}  // namespace svdesign
