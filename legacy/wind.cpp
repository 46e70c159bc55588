// The legacy runtime's air: one steady wind that grows with height and runs
// along the slope near the ground, and three thermal columns fixed in the
// world whose centres drift downwind with height.
#include <algorithm>
#include <cmath>

#include "legacy/records.h"
#include "legacy/vec3.h"

namespace dnsmodel {
namespace {

constexpr float kHeightScale = 250.0f;       // m: the wind doubles at this height
constexpr float kBlendRate = 0.005f;         // 1/m of height above the ground
constexpr float kFreeAirHeight = 427.0f;     // m above the ground: no terrain following at all
constexpr float kThermalFullHeight = 20.0f;  // m above the ground of full thermal strength
constexpr float kThermalRadiusSq = 10000.0f; // m^2 (radius 100 m)
constexpr float kThermalDrift = 0.4f;        // m downwind per metre of height
constexpr float kThermalTop = 247.0f;        // m: thermals fade above it ...
constexpr float kThermalFade = 0.02f;        // ... by this per metre, gone at 297 m
constexpr float kThermalLift = 3.0f;         // m/s per column
constexpr float kThermals[3][2] = {{-500.0f, 25.0f}, {400.0f, 1025.0f}, {280.0f, -15.0f}};  // m, world x, y

}  // namespace

void wind::Set(wind* w, float direction, float speed) {
  w->direction = direction;
  w->speed = speed;
  Store(w->windVector, {speed * std::sin(direction), speed * std::cos(direction), 0.0f});
}

v3 wind::Evaluate(wind* w, const dynamicsystem* model) {
  const v3 p = Load(model->position);
  const float hg = model->groundHeight;
  const v3 n = Load(model->groundNormal);
  const v3 scaled = (1.0f + p.z / kHeightScale) * Load(w->windVector);
  const v3 slope = scaled - n * Dot(n, scaled);
  Store(w->slopeWind, slope);
  float k = std::max(kBlendRate * hg, 0.0f);
  float f = hg > kFreeAirHeight ? 1.0f : k / (k + 1.0f);
  v3 term = f * scaled + (1.0f - f) * slope;

  float g = std::clamp(hg / kThermalFullHeight, 0.0f, 1.0f);
  float lift = 0.0f;
  for (const auto& base : kThermals) {
    float dx = p.x - base[0] + kThermalDrift * p.z * scaled.x;
    float dy = p.y - base[1] + kThermalDrift * p.z * scaled.y;
    lift += std::max(0.0f, g * (1.0f - (dx * dx + dy * dy) / kThermalRadiusSq));
  }
  if (p.z > kThermalTop) lift *= 1.0f + kThermalFade * (kThermalTop - p.z);
  lift = std::max(lift, 0.0f);
  term.z -= kThermalLift * lift;
  Store(w->windTerm, term);
  return term;
}

}  // namespace dnsmodel
