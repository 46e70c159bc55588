// kxdengine: the shaft every Engine link reaches, shared by the combustion
// engine and the electric motor. A driven part (propeller, rotor) reads the
// shaft speed, subtracts its load torque from the load accumulator, adds its
// inertia to the rotating inertia in its Prepare, and sets the strike flag
// when its blades hit something. The engine body's frame and accumulators
// take the driven part's forces.
#pragma once

#include "dynamics/body.h"

class kxdengine : public kxdbody {
 public:
  static kxtype Type;  // abstract base: has no factory

  // rpm of the shaft.
  float GetRPM() override;
  // The shaft angle a rotor may wrap; null for an engine without one.
  virtual float* ShaftAngle() { return nullptr; }

  // The engine a node is, when its type is one of the engine classes.
  static kxdengine* As(kxnode* node);

  float Load = 0.0f;             // N m; load torques since the engine's last force pass
  float RotatingInertia = 0.0f;  // kg m^2; the shaft's, plus the driven parts' from Prepare
  float W = 0.0f;                // rad/s, shaft speed; in the Change twin dW/dt
  int Strike = 0;                // a driven blade hit something; cleared by ResetState
};
