// The sectioned wings: kxdwing10 (a wing or tailplane), kxdwing11 and
// kxdwing12 (upright surfaces: fins), one layout with one hinged flap whose
// second part (Flap1) is drawn with the flap's turned axes. They differ in
// the frame a new wing starts with and in their geometry analysis.
#pragma once

#include "dynamics/wings/wing.h"

struct kxdsectionfactors;

class kxdwing10 : public kxdwing {
 public:
  static kxtype Type;

  kxdwing10();

  const kxdkeytable& KeyTable() const override { return Keys; }
  static const kxdkeytable Keys;

  // Captures the flap's rest axes, then the body's preparation.
  void Prepare() override;
  // Turns Flap (and Flap1 with it) by the flap link, then places the body.
  void UpdateVisual() override;
  // Section lift, drag and moment into the body, then the body's pass.
  void ComputeChange(kxdintegrable* change, int flag) override;
  // The sections' loads in world axes (kxdsectionflow::ownframe).
  template <class Frame>
  void SectionPass(const Frame& frame);
  // Its share of a folded segment's pass (kxdwing).
  void FoldedRows(const kxdfold& fold, kxdsectionrows& rows) override;
  // What the flap (deflection delta when flap) and the class make of
  // section i's table coefficients.
  kxdsectionfactors Factors(int i, bool flap, float delta) const;
  // Frame, span, area, the section and the flap's effect and hinge frame
  // from the mesh; kxdwing10 and kxdwing11 differ only in a few choices.
  void Analyse() override;

  float FlapRotation;            // scale of the flap's shift of the section flow; not an angle
  kxgeometricobject* Flap;       // hinged part; null: no flap drawn
  kxgeometricobject* Flap1;      // drawn with Flap's axes; never captured itself
  kxvector4r FlapX, FlapY, FlapZ;  // rest axes taken by Prepare; FlapY is the hinge
  float* FlapLink;               // servo output, read as radians; null: no flap
  float SectionFlapAlpha[kMaxSections];  // normal-flow shift per unit deflection
  float SectionFlapCl[kMaxSections];     // lift increment per unit deflection
  float SectionFlapCd[kMaxSections];     // drag increment per squared unit
  float SectionFlapCm[kMaxSections];     // moment increment per unit deflection

 protected:
  // The shared analysis: principal axes or the fixed upright frame, the
  // dihedral, the normal's sign axis and the hinge face threshold.
  void AnalyseSectioned(bool principalAxes, bool dihedral, bool upright, float facing);
};

class kxdwing11 : public kxdwing10 {
 public:
  static kxtype Type;
  kxdwing11();
};

class kxdwing12 : public kxdwing11 {
 public:
  static kxtype Type;
  kxdwing12();
  // Fixed upright frame at the mesh centroid; no principal axes.
  void Analyse() override;
};
