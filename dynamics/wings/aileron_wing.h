// kxdwing20: a wing whose left and right ailerons are separate parts driven
// by separate links, with a flap that turns and an airbrake that slides. It
// only moves its parts: its force pass adds nothing, not even gravity.
#pragma once

#include "dynamics/wings/wing.h"

class kxdwing20 : public kxdwing {
 public:
  static kxtype Type;

  kxdwing20();

  const kxdkeytable& KeyTable() const override { return Keys; }
  static const kxdkeytable Keys;

  void ComputeChange(kxdintegrable* change, int flag) override;
  // No sections for the carrier's rows: the force pass never reads them.
  void FoldSections(kxdfold&) const override {}
  void Prepare() override;
  void UpdateVisual() override;
  // Lays the mesh out in the body frame as it stands and finds the hinge
  // frames of both ailerons and the flap.
  void Analyse() override;

  float Washout;                 // carried for the common layout only
  float Cly;                     // stored, written and copied only
  float FuselageInterference;    // stored, written and copied only
  kxgeometricobject* LeftAileron;
  kxvector4r LeftAileronX, LeftAileronY, LeftAileronZ;  // rest axes taken by Prepare
  float* LeftAileronLink;        // radians
  kxgeometricobject* RightAileron;
  kxvector4r RightAileronX, RightAileronY, RightAileronZ;
  float* RightAileronLink;
  kxgeometricobject* Flap;       // turns only
  kxvector4r FlapX, FlapY, FlapZ;
  float* FlapLink;
  kxgeometricobject* Airbrake;   // slides along z, never turns
  kxvector4r AirbrakeR;          // rest position taken by Prepare
  float* AirbrakeLink;           // -1 retracted, +1 fully out
  float AirbrakeDisplacement;    // m along z at full deployment
  float AirbrakeCl;              // stored, written and copied only
  float AirbrakeCd;
  // Effect values of the common layout, carried by CopyTo.
  float SectionAileronAlpha[kMaxSections], SectionAileronCl[kMaxSections];
  float SectionAileronCd[kMaxSections], SectionAileronCm[kMaxSections];
  float SectionFlapAlpha[kMaxSections], SectionFlapCl[kMaxSections];
  float SectionFlapCd[kMaxSections], SectionFlapCm[kMaxSections];
  float SectionAirbrakeCl[kMaxSections], SectionAirbrakeCd[kMaxSections];
};
