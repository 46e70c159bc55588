// The aerodynamic parts: a wing (lift and drag polynomials in the direction
// cosines of the local airflow, a control curve that changes camber, drag
// and incidence, a stall, and the flap and air brake it drives), the flap
// it swings and the fuselage's drag and cross force. All in body axes.
#include <algorithm>
#include <cmath>

#include "legacy/dynamics.h"
#include "legacy/part_operations.h"
#include "legacy/parts.h"

namespace dnsmodel {
namespace {

constexpr float kMinWingArea = 0.002f;      // m^2; at or below it a wing makes no force
constexpr float kBrakeThreshold = -0.2f;    // the air brake acts at channel values at or below it
constexpr float kFlapRadPerUnit = 0.4f;     // rad of flap swing per unit of input
constexpr float kCrossFlowEpsilon = 0.00001f;

// The airflow at a point with its speed and unit vector (zero for no flow).
struct airflow {
  v3 v;
  float speed;
  v3 unit;
};

airflow Flow(v3 v) {
  float s = Length(v);
  return {v, s, s > 0.0f ? v / s : v3{0, 0, 0}};
}

}  // namespace

void ComputeWing(object* part, dynamicsystem* ds, float) {
  wing& w = Self<wing>(part);
  float u = Cubic(w.C0, w.C1, w.C2, w.C3, ReadChannel(w.Channel));
  if (w.flapLink) *w.flapLink = u;
  if (w.brakeLink) {
    float b = ReadChannel(w.ChannelB);
    *w.brakeLink = b > kBrakeThreshold ? 0.0f : b;
  }
  if (!(w.Area > kMinWingArea)) return;
  w.Cw0 = w.Ccw * u * u + w.Cw00;
  w.Ca0 = w.Cca * u + w.Ca00;

  // Incidence change: a small-angle turn of the chord and the normal about Y.
  const v3 x = Load(part->X), y = Load(part->Y), z = Load(part->Z), r = Load(part->R);
  float a = u * w.Ccr, h = 0.5f * a * a;
  v3 x0 = x * (1.0f - h) + z * a;
  v3 z0 = x * a - z * (1.0f - h);
  Store(w.X0, x0);
  Store(w.Z0, z0);

  airflow f = Flow(PointAirflow(ds, r) + w.Factor * Load(ds->slipstream));
  Store(w.V, f.v);
  Store(w.Vn, f.unit);
  float a1 = Dot(x0, f.unit), a2 = Dot(y, f.unit), a3 = Dot(z0, f.unit);
  float a4 = std::fabs(a3), m = -a3;
  float cl = (1.0f + w.Ca6 * a2 * a2) * (1.0f + w.Ca5 * a1) *
             (w.Ca0 + m * (w.Ca1 + w.Ca2 * a4 + w.Ca3 * a4 * a4 + w.Ca4 * a4 * a4 * a4));
  float cd = w.Cw5 * cl * cl + (1.0f + w.Cw4 * m) * (w.Cw0 + w.Cw1 * a1 + w.Cw2 * a2 * a2 + w.Cw3 * a3 * a3);
  if (a4 > w.Edge) {
    float t = std::min((a4 - w.Edge) * w.Slope, 1.0f);
    cl *= 1.0f - t * w.Loss * std::fabs(a1);
  }
  float q = 0.5f * ds->density * w.Area;
  v3 drag = f.v * (-q * cd * f.speed);
  v3 lift = (z0 + m * f.unit) * (q * cl * f.speed * f.speed);
  if (w.brakeLink) {
    float b = *w.brakeLink;
    lift = lift * (1.0f + b * w.Bl);
    drag += f.v * (0.5f * ds->density * w.Bd * b * f.speed);
  }
  Store(w.L, lift);
  Store(w.D, drag);
  AddTo(ds->force, lift + drag);
  AddTo(ds->torque, Cross(Load(w.Rl), lift) + Cross(r, drag));
}

void ComputeFlap(object* part, dynamicsystem*, float) {
  flap& f = Self<flap>(part);
  float a = kFlapRadPerUnit * f.input, c = std::cos(a), s = std::sin(a);
  Store(part->X, Load(f.savedX) * c - Load(f.savedY) * s);
  Store(part->Y, Load(f.savedY) * c + Load(f.savedX) * s);
}

void ComputeFuselage(object* part, dynamicsystem* ds, float) {
  fuselage& b = Self<fuselage>(part);
  const v3 x = Load(part->X), r = Load(part->R);
  airflow f = Flow(PointAirflow(ds, r));
  Store(b.flow, f.v);
  Store(b.flowUnit, f.unit);
  float cx = Dot(x, f.unit), cy = Dot(Load(part->Y), f.unit), cz = Dot(Load(part->Z), f.unit);
  b.Cw = b.Cw0 + b.Cw1 * cy * cy + b.Cw2 * cz * cz;
  float q = std::fabs(cy) / (std::fabs(cz) + kCrossFlowEpsilon);
  b.Ca = b.Ca0 * cx * (1.0f + b.Ca1 * q / (q + 1.0f));
  float k = 0.5f * ds->density * b.Area;
  v3 drag = f.v * (-k * b.Cw * f.speed);
  v3 cross = (x - f.unit * cx) * (k * b.Ca * f.speed * f.speed);
  Store(b.drag, drag);
  Store(b.crossForce, cross);
  AddForce(ds, cross + drag, r);
}

}  // namespace dnsmodel
