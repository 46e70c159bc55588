#include "dynamics/wings/section_flow.h"

#include <algorithm>
#include <cmath>

#include "dynamics/body.h"
#include "dynamics/frame_transform.h"
#include "dynamics/instance.h"
#include "dynamics/wings/airfoil.h"

namespace kxdsectionflow {

namespace {

// The table's coefficients a share t of the way from entry k to k + 1.
kxdsectioncoefficients Entry(const kxdairfoil& airfoil, int k, float t) {
  const kxdairfoil::directionpair& e = airfoil.Direction[k];
  float u = 1.0f - t;
  return {e.at[0] * u + e.next[0] * t, e.at[1] * u + e.next[1] * t, e.at[2] * u + e.next[2] * t};
}

}  // namespace

kxdsectioncoefficients Lookup(const kxdairfoil* airfoil, float a, float b) {
  float x = DirectionIndex(a, b);
  if (!airfoil || x < 0.0f) return {};
  // The quadrant rules keep x within 100..1500; the clamp only guards the
  // table against rounding at the quadrant edges.
  int k = std::clamp(static_cast<int>(x), 0, kxdairfoil::kDirectionUsed - 2);
  return Entry(*airfoil, k, x - static_cast<float>(k));
}

kxvector4r PointFlow(const kxdbody* body, const kxvector4r& p, kxvector4r* world) {
  kxvector4r u = kxdframe::Transform(body->D, p);
  *world = kxdframe::Transform(body->B, p);
  kxvector4r air = kxdaircraftinstance::AirVelocityAt(body->Instance, *world);
  kxvector4r v;
  kxvector4r::Subtract(v, u, air);
  return v;
}

void SubtractWash(kxvector4r& v, const kxvector4r& wash, float share) {
  v.x -= share * wash.x;
  v.y -= share * wash.y;
  v.z -= share * wash.z;
  v.w -= share * wash.w;
}

float SpeedAndDirection(const kxvector4r& v, kxvector4r* d) {
  float speed = std::sqrt(kxvector4r::Dot(v, v));
  *d = {0.0f, 0.0f, 0.0f, 0.0f};
  if (std::isfinite(speed) && speed != 0.0f) {
    *d = v;
    *d *= 1.0f / speed;
  }
  return speed;
}

float InducedDrag(float cl, float aspectRatio) {
  if (!(aspectRatio > 0.0f) || !std::isfinite(aspectRatio)) return 0.0f;
  return (kInducedFactor * cl * cl) / (kInducedAspectFactor * aspectRatio);
}

void SectionForce(const kxdsectioncoefficients& k, float area, float chord, const kxvector4r& v, const kxvector4r& d,
                  float speed, const kxvector4r& n, float dn, float dc, kxvector4r* f, float* m) {
  float q = kHalfAirDensity * area;
  float lift = k.cl * q * speed * speed;
  kxvector4r l = {(n.x - dn * d.x) * lift, (n.y - dn * d.y) * lift, (n.z - dn * d.z) * lift,
                  (n.w - dn * d.w) * lift};
  if (dc < 0.0f) l *= -1.0f;
  float drag = -kHalfAirDensity * area * k.cd * speed;
  *m = q * chord * k.cm * speed * speed;
  *f = {drag * v.x + l.x, drag * v.y + l.y, drag * v.z + l.z, drag * v.w + l.w};
}

void AddSectionLoads(kxdbody* body, const kxdsectioncoefficients& k, float area, float chord, const kxvector4r& p,
                     const kxvector4r& v, const kxvector4r& d, float speed, const kxvector4r& n, float dn, float dc,
                     const kxvector4r& s) {
  kxvector4r f;
  float m;
  SectionForce(k, area, chord, v, d, speed, n, dn, dc, &f, &m);
  kxvector4r arm = p;
  arm.w = 0.0f;
  kxvector4r r = kxdframe::Transform(body->B, arm);
  kxvector4r::Add(body->Force, body->Force, f);
  kxvector4r rf;
  kxvector4r::Cross(rf, r, f);
  body->Torque.x += rf.x - m * s.x;
  body->Torque.y += rf.y - m * s.y;
  body->Torque.z += rf.z - m * s.z;
  body->Torque.w += -m * s.w;
}

kxvector4r ownframe::Turned(const kxvector4r& v) const {
  kxvector4r out;
  out = kxdframe::Transform(body->B, v);
  return out;
}

}  // namespace kxdsectionflow
