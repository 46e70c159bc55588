// The tow hook and the tow rope. A hook is a body whose R is the hook point;
// a rope joins two hooks, pulls (never pushes) when stretched past its
// length, and breaks when the pull exceeds what its strength allows. A hook
// whose signal rises above 0.5 lets its end go.
#pragma once

#include "dynamics/body.h"

class kxdrope00;

class kxdhook00 : public kxdbody {
 public:
  static kxtype Type;

  kxdhook00();

  // Without a rope on a free carrier the hook is a weight (and contact
  // points) only: it takes its frame in its own force pass, and in a clear
  // frame only its place (its weight's arm).
  bool PlacesItself() const override { return !Rope && ParentBody && !ParentBody->ParentBody; }
  // Only a rope reads the hook point inside the substeps: without one the
  // hook is a plain body and may be folded. Setting or clearing Rope counts
  // as a preparation, so that the driver's cache is made anew.
  bool FrameInSubsteps() const override { return Rope != nullptr; }
  bool WorksWhenFolded() const override { return Rope || Mass != 0.0f || (Contact && ContactCount > 0); }
  int SubstepPasses(const kxdfold* fold) const override { return BodyPasses(fold); }
  void ComputeChange(kxdintegrable* change, int flag) override;

  const kxdkeytable& KeyTable() const override { return Keys; }
  static const kxdkeytable Keys;

  static kxdhook00* As(kxnode* node);

  float* SignalIn;    // release signal; null: never released by the pilot
  kxdrope00* Rope;    // the rope on this hook, null when none
};

class kxdrope00 : public kxdintegrable {
 public:
  static kxtype Type;

  kxdrope00();

  void CopyTo(kxnode* other) override;
  void ComputeChange(kxdintegrable* change, int flag) override;

  static kxdrope00* As(kxnode* node);

  kxdhook00* Hooks[2];   // towing and towed end
  float Length;          // m, slack length
  float Strength;        // 0..1: breaks above (1 + 9 strength) x the towed weight
  int Active[2];         // 1 while the end is on its hook
  kxvector4r Ends[2];    // m, world, the end points for drawing
  float Tension;         // N, last substep
};

namespace kxdynamics {

// The first hook below node, depth first; null when none.
kxdhook00* FirstHook(kxnode* node);
// 1 when the first aircraft's clone and the second's both hold a tow hook.
int FindHookPair();
// A rope between the hooks of the two bodies' aircraft under the State tree
// (and its twin under Change); null when either has no hook.
kxdrope00* CreateTowRope(kxdbody* first, kxdbody* second, float length, float strength);
// Takes the rope out of the simulation: clears both hooks' link to it,
// deletes it and rebuilds the Change tree. The caller forgets its pointer.
void RebuildChange(kxdrope00* rope);

}  // namespace kxdynamics
