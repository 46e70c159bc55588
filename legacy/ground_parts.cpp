// The ground-contact parts: a steerable, retractable wheel on a spring and
// damper with rolling, sliding and sticking friction; a tip (wing tip,
// nose, skid end) with impact damping, a spring and damper and viscous
// friction; and the air brake's drawn part. Wheels and tips write their
// contact segments at the end of every Update and Compute and react to what
// the query found along them one substep later.
#include <cmath>

#include "legacy/contacts.h"
#include "legacy/dynamics.h"
#include "legacy/part_operations.h"
#include "legacy/parts.h"

namespace dnsmodel {
namespace {

constexpr int32_t kSurfaceBits = 0xF;
constexpr int32_t kSurfaceWater = 1;
constexpr int32_t kSurfaceDamage = 8;
constexpr float kStickSpeed = 0.01f;   // m/s: a slower wheel sticks to the ground
constexpr int32_t kFree = 0, kRolling = 1, kSticking = 2;

// The contact point of index i, or null for a part that claimed none.
contactpoint* Point(dynamicsystem* ds, int32_t i) {
  return i >= 0 && i < kContactPoints ? &ds->interaction.contacts[i] : nullptr;
}

void SetSegment(contactpoint* p, v3 a, v3 b) {
  if (!p) return;
  Store(p->pointA, a);
  Store(p->pointB, b);
}

// The normal of the chosen contact with the bump slope, made unit.
v3 ContactNormal(const contactpoint& p, int k) { return Normalised(Load(p.normal[k]) + Load(p.normalOffset)); }

// Water sinks the model, a damage surface crashes it.
void TouchSurface(dynamicsystem* ds, int32_t surface) {
  if ((surface & kSurfaceBits) == kSurfaceWater) ds->status = kStatusInWater;
  if ((surface & kSurfaceBits) == kSurfaceDamage) ds->status = kStatusCrashed;
}

// Friction of a wheel, by its state; returns the force on the wheel.
v3 WheelFriction(wheel& w, const dynamicsystem* ds, v3 p, v3 u, v3 n, float fn) {
  v3 r = Normalised(Cross(n, Load(w.base.Y)));
  v3 s = Cross(n, r);
  Store(w.rolling, r);
  Store(w.side, s);
  if (w.frictionState == kFree) w.frictionState = kRolling;
  if (w.frictionState == kRolling) {
    float fr = Dot(u, r) > 0.0f ? -w.KRoll * fn : w.KRoll * fn;
    float fs = Dot(u, s) > 0.0f ? -w.KSlip * fn : w.KSlip * fn;
    if (!(Length(u) < kStickSpeed)) return n * fn + s * fs + r * fr;
    w.frictionState = kSticking;
    Store(w.anchor, p);
  }
  v3 d = ToBody(ds, Load(w.anchor) - p);
  float fr = w.Kz * Dot(d, r) - w.Dz * Dot(u, r);
  float fs = w.Kz * Dot(d, s) - w.Dz * Dot(u, s);
  // Beyond the static limits the wheel slides again from the next substep.
  if (std::fabs(fr) > w.KSRoll * fn || std::fabs(fs) > w.KSSlip * fn) w.frictionState = kRolling;
  return n * fn + s * fs + r * fr;
}

}  // namespace

// ---- wheel ---------------------------------------------------------------------

void UpdateWheel(object* part, dynamicsystem* ds) {
  wheel& w = Self<wheel>(part);
  w.frictionState = kFree;
  SetSegment(Point(ds, w.contact), WorldPoint(ds, Load(w.S)), WorldPoint(ds, Load(part->R)));
}

void ComputeWheel(object* part, dynamicsystem* ds, float) {
  wheel& w = Self<wheel>(part);
  float a = w.C0 * ReadChannel(3), c = std::cos(a), s = std::sin(a);
  Store(part->X, Load(w.savedX) * c + Load(w.savedY) * s);
  Store(part->Y, Load(w.savedY) * c - Load(w.savedX) * s);
  contactpoint* cp = Point(ds, w.contact);
  if (!cp) return;
  const v3 r = Load(part->R);
  Store(w.force, {0, 0, 0});
  if (cp->contactCount == 0 || !(w.Retract < ReadChannel(5))) {
    w.frictionState = kFree;
  } else {
    int k = ChosenContact(*cp);
    TouchSurface(ds, cp->surface[k]);
    v3 p = WorldPoint(ds, r);
    v3 u = PointVelocity(ds, r);
    v3 n = ToBody(ds, -ContactNormal(*cp, k));
    float fn = std::fmax(w.Kz * cp->depth[k] - w.Dz * Dot(u, n), 0.0f);
    Store(w.worldR, p);
    Store(w.pointVelocity, u);
    Store(w.normal, n);
    w.normalForce = fn;
    v3 f = WheelFriction(w, ds, p, u, n, fn);
    Store(w.force, f);
    AddForce(ds, f, r);
    if (!(ds->status & kStatusCrashed)) ds->status = kStatusOnWheels;
  }
  SetSegment(cp, WorldPoint(ds, Load(w.S)), WorldPoint(ds, r));
}

// ---- tip -----------------------------------------------------------------------

void UpdateTip(object* part, dynamicsystem* ds) {
  tip& t = Self<tip>(part);
  v3 wp = WorldPoint(ds, Load(part->R));
  Store(t.current, wp);
  Store(t.previous, wp);
  SetSegment(Point(ds, t.contactA), wp, wp);
  SetSegment(Point(ds, t.contactB), wp, Load(ds->position));
}

void ComputeTip(object* part, dynamicsystem* ds, float) {
  tip& t = Self<tip>(part);
  const v3 r = Load(part->R);
  const v3 u = PointVelocity(ds, r);
  v3 f{0, 0, 0};
  contactpoint* swept = Point(ds, t.contactA);
  contactpoint* ray = Point(ds, t.contactB);
  if (t.freeFlag == 1 && swept && swept->contactCount > 0) {
    int k = ChosenContact(*swept);
    TouchSurface(ds, swept->surface[k]);
    v3 n = ToBody(ds, ContactNormal(*swept, k));
    Store(t.normal, n);
    f = n * (-t.Kc * Dot(u, n));
  }
  if (ray && ray->contactCount > 0) {
    int k = ChosenContact(*ray);
    v3 n = ToBody(ds, -ContactNormal(*ray, k));
    Store(t.normal, n);
    float fn = std::fmax(t.Kz * ray->depth[k] - t.Dz * Dot(u, n), 0.0f);
    f += n * fn - t.Kd * u;
    t.freeFlag = 0;
  } else {
    t.freeFlag = 1;
  }
  if (Length(f) > t.Max) ds->status |= kStatusCrashed;
  Store(t.force, f);
  AddForce(ds, f, r);
  v3 wp = WorldPoint(ds, r);
  Store(t.current, wp);
  SetSegment(swept, wp, Load(t.previous));
  SetSegment(ray, wp, Load(ds->position));
  Store(t.previous, wp);
}

// ---- brake ---------------------------------------------------------------------

void ComputeBrake(object* part, dynamicsystem*, float) {
  brake& b = Self<brake>(part);
  part->R[2] = b.rest - b.input * b.Shift;
}

}  // namespace dnsmodel
