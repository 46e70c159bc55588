// kxdwheel00: a wheel's ground contact. The tyre is a radial spring with a
// damper; rolling friction acts along the wheel's X axis laid into the
// ground plane (raised by a brake signal), side friction along its axle Y.
// Grass and dirt add the ground bump field to the contact, water and
// damaging ground stop the wheel and crash the aircraft. The spin follows
// the rolling speed and turns the drawn wheel about its axle.
#pragma once

#include <limits>

#include "dynamics/body.h"

// Final: its force pass then asks its own hooks directly, not through the
// table, in every substep.
class kxdwheel00 final : public kxdbody {
 public:
  static kxtype Type;

  kxdwheel00();

  void ComputeChange(kxdintegrable* change, int flag) override;
  void Integrate(kxdintegrable* change, int flag, float dt) override;
  void Analyse() override;
  void Prepare() override;
  void UpdateVisual() override;
  // On a free carrier the wheel takes its frame in its own force pass, and
  // in a clear frame only its place (its weight's arm): nothing else reads
  // its frame inside the substeps.
  bool PlacesItself() const override { return ParentBody && !ParentBody->ParentBody; }
  // A wheel held rigidly by its carrier needs its own frame only for the
  // contact query, which places it from the carrier's at once: it may be
  // folded (see kxdcompiled).
  bool FrameInSubsteps() const override { return false; }
  // Its tyre forces and weight are handed on at the end of its force pass.
  // Folded, that pass only asks for contacts or lets the spin decay: in a
  // clear frame the integration does the decay's part (see Integrate).
  int SubstepPasses(const kxdfold* fold) const override;

  // Rolling friction coefficient with the brake signal's share.
  float RollingFriction() const;
  // Whether the instance's clear sphere holds every point the tyre's
  // contact query could ask: then it would find nothing.
  bool Clear() const;
  float AskExtent() const override;

  const kxdkeytable& KeyTable() const override { return Keys; }
  static const kxdkeytable Keys;

  static kxdwheel00* As(kxnode* node);

  float* SignalIn;      // brake signal in [-1, 1]; null: no brake
  float Spin;           // rad/s; in the Change twin its derivative
  float Angle;          // rad about the axle; in the Change twin the spin
  int RotationEnable;   // non-zero: the drawn wheel turns with Angle
  float Kxr;            // rolling friction per newton of tyre load
  float Kyr;            // side friction per newton of tyre load
  float Kr;             // N/m, tyre spring rate
  float Dr;             // N s/m, tyre damping
  float Radius;         // m, measured from the mesh
  float Areas[3];       // m^2, the mesh seen along X, Y and Z

 private:
  // The contact query and the tyre's forces; twin: the Change twin or null.
  void Touch(kxdwheel00* twin);
  // The force pass of a folded wheel: the query only where the frame is
  // not clear, with the wheel placed from its carrier for it; its loads
  // and weight onto the carrier.
  void ActFoldedWheel(const kxdfold& fold, kxdwheel00* twin);
  // boxReach taken anew from the geometry's box.
  void MeasureBoxReach();

  // m, kxdground::BoxReach of the geometry's box, taken by Prepare and
  // once a frame; NaN until then (the wheel is never taken as clear).
  float boxReach = std::numeric_limits<float>::quiet_NaN();
};
