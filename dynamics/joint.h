// kxdjoint00: a hinge between two bodies. Body1 is carried by Body0 (the
// main body when unset); a linked servo output turns Body1's relative frame
// about Axis through the joint's anchor (its R) by Angle, and about z by
// AngleZ, scaled by (link + 1) / 2, so a link at +1 turns fully (retracted).
#pragma once

#include "dynamics/body.h"

class kxdjoint00 : public kxdbody {
 public:
  static kxtype Type;

  kxdjoint00();

  void Prepare() override;
  // A joint is read for its anchor when prepared, never while stepping.
  bool FrameInSubsteps() const override { return false; }
  // Folded, a joint has only the body's pass: weight and contact points.
  bool WorksWhenFolded() const override { return Mass != 0.0f || (Contact && ContactCount > 0); }
  int SubstepPasses(const kxdfold* fold) const override { return BodyPasses(fold); }

  // The frame Body1 takes in its carrier's frame for the link's present value.
  void TurnRelative(const kxmatrix& relative, kxmatrix& out) const;

  // The first (or with last, the last) child of node deriving from
  // kxdjoint00 whose Body1 is body; null when none.
  static kxdjoint00* FindByBody1(kxnode* node, const kxdbody* body, bool last = false);
  const kxdkeytable& KeyTable() const override { return Keys; }
  static const kxdkeytable Keys;

  static kxdjoint00* As(kxnode* node);

  kxdbody* Body0;       // carrier of Body1; null: the main body
  kxdbody* Body1;       // the turned body; null: the joint turns nothing
  kxvector4r Axis;      // hinge direction, aircraft axes, w 0
  float Angle;          // degrees about Axis at full link
  float AngleZ;         // degrees about z at full link
  float* Link;          // servo output in [-1, 1]; null: the joint stays at rest
  kxvector4r AnchorLocal;  // anchor in the carrier's frame, taken by Prepare
  kxvector4r AxisLocal;    // Axis in the carrier's frame, taken by Prepare

 private:
  // A servo rests far more often than it moves: the last turned frame is
  // kept with the link value and relative frame it was made from, so the
  // rotation is rebuilt only when one of them changed.
  mutable float turnedShare;     // NaN: nothing kept
  mutable kxmatrix turnedFrom;
  mutable kxmatrix turnedOut;
};
