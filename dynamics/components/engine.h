// kxdengine: the shaft every Engine link reaches, shared by the combustion
// engine and the electric motor. A driven part (propeller, rotor) reads the
// shaft speed, subtracts its load torque from the load accumulator, adds its
// inertia to the rotating inertia in its Prepare, and sets the strike flag
// when its blades hit something. The engine body's frame and accumulators
// take the driven part's forces.
//
// The shaft's step is the same for both: each force pass the engine's own
// drive torque and the load give dW/dt, the block feels the reaction about
// its X axis, and each integration moves W and decays the start ramp.
#pragma once

#include "dynamics/body.h"

class kxdengine : public kxdbody {
 public:
  static kxtype Type;  // abstract base: has no factory

  // The shaft's force pass, then the body's.
  void ComputeChange(kxdintegrable* change, int flag) override;
  // The shaft's step, then the body's.
  void Integrate(kxdintegrable* change, int flag, float dt) override;
  // rpm of the shaft.
  float GetRPM() override;
  // An engine held rigidly by its carrier feels its reaction about an axis
  // fixed in the carrier's: it may be folded (see kxdcompiled). A driven
  // part that reads its frame then works in the carrier's axes too.
  bool FrameInSubsteps() const override { return false; }
  // Folded, its force pass puts its reaction on the carrier itself, and
  // driven parts push the carrier, not the engine.
  int SubstepPasses(const kxdfold* fold) const override { return fold ? kAllPasses | kOwnHandOver : kAllPasses; }
  // The shaft angle a rotor may wrap; null for an engine without one.
  virtual float* ShaftAngle() { return nullptr; }

  // The engine a node is, when its type is one of the engine classes.
  static kxdengine* As(kxnode* node);

  float Load = 0.0f;             // N m; load torques since the engine's last force pass
  float RotatingInertia = 0.0f;  // kg m^2; the shaft's, plus the driven parts' from Prepare
  float W = 0.0f;                // rad/s, shaft speed; in the Change twin dW/dt
  int Strike = 0;                // a driven blade hit something; cleared by ResetState
  float Start = 0.0f;            // 1 after a reset with the start ramp, falls to 0 at startDecay/s

 protected:
  explicit kxdengine(float startDecayPerSecond) : startDecay(startDecayPerSecond) {}
  // N m the engine drives the shaft with in this pass; *reaction gets the
  // torque (N m) the block feels against its X axis.
  virtual float DriveTorque(float* reaction) = 0;
  // N m s: how much the drive torque falls per rad/s the shaft gains, at
  // the speed of the last force pass; 0 for a drive that does not fall.
  virtual float DriveDamping() const { return 0.0f; }
  // W by the twin's dW/dt (kept when that is not finite) and the start
  // ramp decayed.
  void StepShaft(kxdintegrable* change, float dt);
  // A reset's part of the shaft: the strike cleared and the start ramp set
  // when the aircraft's type asks for it.
  void ResetShaft();

 private:
  float startDecay;  // 1/s
};
