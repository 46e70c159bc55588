// kxdgear00: a landing-gear leg. It carries the leg's mesh, mass and inertia,
// adds an air drag that vanishes as the gear retracts, and on load places
// the joint that holds it at its mounting point and, for a retractable leg,
// gives that joint the retraction axis, angles and servo output.
#pragma once

#include "dynamics/body.h"
#include "dynamics/components/leg_drag.h"

// Final: its force pass then asks its own hooks directly, not through the
// table, in every substep.
class kxdgear00 final : public kxdbody {
 public:
  static kxtype Type;

  kxdgear00();

  void ComputeChange(kxdintegrable* change, int flag) override;
  void Analyse() override;
  // On a free carrier the leg takes its frame in its own force pass, and in
  // a clear frame with a joint that turns nothing only its place and
  // velocity (its drag and its weight's arm): nothing else reads its frame
  // inside the substeps.
  bool PlacesItself() const override { return ParentBody && !ParentBody->ParentBody; }
  // A leg held rigidly by its carrier acts in the carrier's axes: its drag
  // needs only its place there and the carrier's motion (see kxdcompiled).
  bool FrameInSubsteps() const override { return false; }
  // Folded, the legs are worked together: a leg's force pass reads only the
  // carrier's motion and its retraction link, and it has no integration.
  const batch* SubstepBatch(const kxdfold* fold) const override;
  // The force pass of a folded leg: drag and weight onto its carrier.
  void ActFoldedLeg(const kxdfold& fold);
  // The weight's and contacts' part of it.
  void ActFoldedWeight(const kxdfold& fold) { ActFoldedIfNeeded(fold); }
  // The leg's drag factor for AddLegDrags (-rho/2 Cdx and the frontal
  // area) and the share its retraction leaves, into a lane of legs.
  void DragFactors(kxdlegdrags& legs, int lane) const;
  // A carried leg has nothing to integrate: its carrier's frame is its. Its
  // drag and weight are handed on at the end of its force pass.
  int SubstepPasses(const kxdfold*) const override { return ParentBody ? kForcePass | kOwnHandOver : kAllPasses; }

  // Sets up the last sibling joint whose Body1 is this leg; null when none.
  kxdjoint00* ConfigureJoint();

  const kxdkeytable& KeyTable() const override { return Keys; }
  static const kxdkeytable Keys;

  static kxdgear00* As(kxnode* node);

  kxvector4r MountingR;   // m, aircraft axes: the joint's anchor
  kxvector4r MountingZ;   // stored and written only
  int Retractable;        // non-zero: the joint gets the retraction settings
  kxvector4r RetractZ;    // axis the joint turns the leg about
  float RetractAngle;     // handed to the joint's Angle
  float RetractAngleZ;    // handed to the joint's AngleZ
  float* RetractLink;     // servo output: 0 extended ... 1 retracted; null: extended
  float Areas[3];         // m^2, the mesh seen along X, Y and Z
  float Cdx;              // drag coefficient on the frontal area
};
