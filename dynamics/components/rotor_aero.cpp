// The small laws of the main rotor model: clutch, inflow and ground effect
// (the blade and paddle coefficients are inline in main_rotor.h).
#include <cmath>

#include "dynamics/components/main_rotor.h"

namespace {

constexpr float kClutchStiffness = 10.0f;   // N m per rad/s of slip, engaged
constexpr float kClutchFade = 0.01f;        // per rad/s below the engagement speed
constexpr float kGroundEffectReach = 1.2f;  // in rotor diameters of hub height

}  // namespace

namespace kxdrotoraero {

float ClutchFactor(float engineSpeed, float engagementSpeed) {
  float g = kClutchStiffness;
  if (engineSpeed < engagementSpeed) g = kClutchStiffness * (1.0f - (engagementSpeed - engineSpeed) * kClutchFade);
  return g > 0.0f ? g : 0.0f;
}

float DriveTorque(float clutch, float engineSpeed, float gearRatio, float rotorSpeed) {
  // A gear ratio of 0 would divide by zero: no drive then.
  if (!(gearRatio > 0.0f)) return 0.0f;
  float t = clutch * (engineSpeed / gearRatio - rotorSpeed);
  return t > 0.0f && std::isfinite(t) ? t : 0.0f;
}

float InducedFactor(float mu) {
  if (mu > -1.0f) return 0.5f * (std::sqrt(mu * mu + 4.0f) - mu);
  if (mu >= -2.0f) return -3.52361f * mu - 0.505576f - 1.4f * mu * mu;
  return -0.5f * (std::sqrt(mu * mu - 4.0f) + mu);
}

float GroundEffect(float hubHeight, float radius) {
  if (!(radius > 0.0f)) return 1.0f;
  float q = hubHeight / radius * 0.5f;
  if (!(q < kGroundEffectReach)) return 1.0f;
  float d = kGroundEffectReach - q;
  return 1.0f - 0.5f * d * d;
}

}  // namespace kxdrotoraero
