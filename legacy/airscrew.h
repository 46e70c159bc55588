// Momentum theory shared by the propeller and the rotor.
#pragma once

#include <cmath>

namespace dnsmodel {

// Induced velocity (m/s) of a disc of air density times area rhoA (kg/m)
// holding thrust t (N) in the axial flow va (m/s); its sign follows the
// thrust.
inline float InducedVelocity(float t, float va, float rhoA) {
  float root = std::sqrt(0.25f * va * va + 0.5f * std::fabs(t) / rhoA);
  return t >= 0.0f ? -0.5f * va + root : 0.5f * va - root;
}

// The blades are driven by the flow (windmilling) when the inflow ratio
// passes their pitch on the side of its own sign.
inline bool DrivenByFlow(float inflow, float pitch) {
  return (inflow > 0.0f && pitch < inflow) || (inflow < 0.0f && inflow < pitch);
}

// A thrust coefficient that saturates with the blades' angle of attack.
inline float ThrustCoefficient(float ct0, float ct1, float attack) {
  return ct0 * attack / (std::fabs(attack) * ct1 + 1.0f);
}

}  // namespace dnsmodel
