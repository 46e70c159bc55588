// kxdwing00: the main wing - up to eight spanwise sections with their own
// airfoils, and four moving surfaces: an aileron that turns, two flaps that
// turn and slide, and an airbrake that slides out along the wing's z axis.
#pragma once

#include "dynamics/wings/wing.h"

class kxdwing00 : public kxdwing {
 public:
  static kxtype Type;

  kxdwing00();

  const kxdkeytable& KeyTable() const override { return Keys; }
  static const kxdkeytable Keys;

  // Captures the rest frames of the moving parts, then the body's preparation.
  void Prepare() override;
  // Moves the parts by their links, then places the body.
  void UpdateVisual() override;
  // Section forces with the moving surfaces' effects, then the body's pass.
  void ComputeChange(kxdintegrable* change, int flag) override;
  // The sections' loads in world axes (kxdsectionflow::ownframe).
  template <class Frame>
  void SectionPass(const Frame& frame);
  // Its share of a folded segment's pass (kxdwing).
  void FoldedRows(const kxdfold& fold, kxdsectionrows& rows) override;
  // Frame, span, area, incidence, washout and two sections from the mesh,
  // then the hinge frames of the moving parts.
  void Analyse() override;

  float Washout;                 // rad, from the analysis
  float IncidenceOffset;         // rad, added by the analysis to the incidence it finds
  float Cly;                     // sideslip lift factor
  float FuselageInterference;    // lift loss of the root section in sideslip
  kxgeometricobject* Aileron;    // turns about its rest Y axis
  kxvector4r AileronX, AileronY, AileronZ;  // rest axes taken by Prepare
  float* AileronLink;            // radians
  kxgeometricobject* Flap;
  kxvector4r FlapX, FlapY, FlapZ, FlapR;    // rest frame taken by Prepare
  kxvector4r FlapDisplacement;   // m of travel per unit of the link
  float* FlapLink;
  kxgeometricobject* Flap1;
  kxvector4r Flap1X, Flap1Y, Flap1Z, Flap1R;
  kxvector4r Flap1Displacement;
  float* Flap1Link;
  float FlapEffect;              // scale of both flaps' effect, used by the analysis
  kxgeometricobject* Airbrake;   // slides, never turns
  kxvector4r AirbrakeR;          // rest position taken by Prepare
  float* AirbrakeLink;           // -1 retracted, +1 fully out
  float AirbrakeDisplacement;    // m along z at full deployment
  float AirbrakeCl;              // scales of the airbrake effect, used by the analysis
  float AirbrakeCd;
  // Effects per section, per unit of deflection (airbrake: at full travel).
  float SectionAileronAlpha[kMaxSections], SectionAileronCl[kMaxSections];
  float SectionAileronCd[kMaxSections], SectionAileronCm[kMaxSections];
  float SectionFlapAlpha[kMaxSections], SectionFlapCl[kMaxSections];
  float SectionFlapCd[kMaxSections], SectionFlapCm[kMaxSections];
  float SectionFlap1Alpha[kMaxSections], SectionFlap1Cl[kMaxSections];
  float SectionFlap1Cd[kMaxSections], SectionFlap1Cm[kMaxSections];
  float SectionAirbrakeCl[kMaxSections], SectionAirbrakeCd[kMaxSections];

  // The mesh analysis of the moving parts' hinge frames.
  virtual void AnalyseMesh();
};
