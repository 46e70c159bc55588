#include "dynamics/wings/section_flow.h"

#include <algorithm>
#include <cmath>

#include "dynamics/body.h"
#include "dynamics/instance.h"
#include "dynamics/wings/airfoil.h"

namespace kxdsectionflow {

namespace {

constexpr float kIndexScale = 100.0f;
constexpr float kAhead = 200.0f;
constexpr float kBelow = 600.0f;
constexpr float kBehind = 1000.0f;
constexpr float kAbove = 1400.0f;

}  // namespace

float DirectionIndex(float a, float b) {
  if (!std::isfinite(a) || !std::isfinite(b)) return -1.0f;
  if (a < b && a > -b) return (a / b) * kIndexScale + kAhead;
  if (a > b && a > -b) return (-b / a) * kIndexScale + kBelow;
  if (a > b && a < -b) return (a / b) * kIndexScale + kBehind;
  if (a < b && a < -b) return (-b / a) * kIndexScale + kAbove;
  return -1.0f;
}

kxdsectioncoefficients Lookup(const kxdairfoil* airfoil, float a, float b) {
  kxdsectioncoefficients c;
  float x = DirectionIndex(a, b);
  if (!airfoil || x < 0.0f) return c;
  // The quadrant rules keep x within 100..1500; the clamp only guards the
  // table against rounding at the quadrant edges.
  int k = std::clamp(static_cast<int>(x), 0, kxdairfoil::kDirectionUsed - 2);
  float t = x - static_cast<float>(k);
  c.cl = airfoil->ClTable[k] * (1.0f - t) + airfoil->ClTable[k + 1] * t;
  c.cd = airfoil->CdTable[k] * (1.0f - t) + airfoil->CdTable[k + 1] * t;
  c.cm = airfoil->CmTable[k] * (1.0f - t) + airfoil->CmTable[k + 1] * t;
  return c;
}

kxvector4r PointFlow(const kxdbody* body, const kxvector4r& p, kxvector4r* world) {
  kxvector4r u;
  kxmatrix::TransformVector4(&u, &body->D, &p);
  kxmatrix::TransformVector4(world, &body->B, &p);
  kxvector4r air = kxdaircraftinstance::AirVelocityAt(body->Instance, *world);
  kxvector4r v;
  kxvector4r::Subtract(v, u, air);
  return v;
}

float InducedDrag(float cl, float aspectRatio) {
  if (!(aspectRatio > 0.0f) || !std::isfinite(aspectRatio)) return 0.0f;
  return (kInducedFactor * cl * cl) / (kPi * aspectRatio);
}

void AddSectionLoad(kxdbody* body, const kxvector4r& f, const kxvector4r& r, float m, const kxvector4r& s) {
  kxvector4r::Add(body->Force, body->Force, f);
  kxvector4r rf;
  kxvector4r::Cross(rf, r, f);
  body->Torque.x += rf.x - m * s.x;
  body->Torque.y += rf.y - m * s.y;
  body->Torque.z += rf.z - m * s.z;
  body->Torque.w += -m * s.w;
}

}  // namespace kxdsectionflow
