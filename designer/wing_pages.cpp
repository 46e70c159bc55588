#include "designer/wing_pages.h"

#include <cmath>

#include "designer/clamp.h"
#include "dynamics/components/servos.h"
#include "dynamics/wings/wing.h"
#include "graphics/geometric_object.h"
#include "sim/units.h"

namespace {

constexpr int kRowX = 8, kRowY = 8;              // px
constexpr int kSecondRowX = 408;                 // px, the flap page's down field
constexpr float kDeg = units::kDegToRad;
constexpr float kIncidenceLimit = 10.0f * kDeg;  // rad
constexpr float kDeflectionLimit = 60.0f * kDeg;
constexpr float kFlapUpLimit = -20.0f * kDeg;
constexpr float kFlapDownLimit = 40.0f * kDeg;

using kxvector4ops::Difference;

// A wing's span, dihedral and incidence are what its analysis measures on
// its own mesh (a new wing is given one), and only the mesh carries them
// through a Save and a load. A wing without one has no shape to give them:
// its pages bind nothing, so their fields stay empty and take no value that
// a Save would lose.
bool Shaped(const kxdwing* wing) { return wing->Geometry && wing->Geometry->mesh; }

// Restores the wing's mesh tree from its rest shape, then runs op over the
// geometry's own mesh and each direct child's; deeper objects keep the
// rest shape.
template <class Op>
void ReshapeWing(kxdwing* wing, Op op, int commit) {
  kxgeometricobject* g = wing->Geometry;
  if (!g) return;
  g->Rebuild();
  svdesign::ReshapeVertices(g, op, commit);
  for (kxnode* c = g->firstChild; c; c = c->nextSibling) {
    if (kxtype::IsDerivedFrom(c->type, &kxgeometricobject::Type)) {
      svdesign::ReshapeVertices(static_cast<kxgeometricobject*>(c), op, commit);
    }
  }
}

// p turned right-handedly by angle about the unit axis through origin; w kept.
kxvector4r TurnAbout(const kxvector4r& p, const kxvector4r& origin, const kxvector4r& axis, float angle) {
  kxmatrix turn;
  kxmatrix::SetRotation(&turn, axis, angle);
  kxvector4r d = Difference(p, origin), out;
  d.w = 0.0f;
  kxmatrix::TransformVector4(&out, &turn, &d);
  return {origin.x + out.x, origin.y + out.y, origin.z + out.z, p.w};
}

kxdwing* Wing(kxdbody* component) { return static_cast<kxdwing*>(component); }

// An angle page's apply step: the value clamped, the mesh turned about the
// axis through the root by the change since start (forward: +change, else
// -change), the clamped value stored.
void TurnWing(kxdwing* wing, float* value, float v, float start, float upper, float lower, const kxvector4r& axis,
              bool forward, int commit) {
  if (!Shaped(wing)) return;
  float clamped = v;
  svdesign::ClampUpperThenLower(clamped, upper, lower);
  float change = clamped - start;
  if (!std::isfinite(change)) {
    *value = start;
    return;
  }
  float angle = forward ? change : -change;
  const kxvector4r root = wing->RootR;
  ReshapeWing(wing, [&](const kxvector4r& p) { return TurnAbout(p, root, axis, angle); }, commit);
  *value = clamped;
}

}  // namespace

// ---- semi-span

svdesignwingspanpage::svdesignwingspanpage(pageicon picture, kxdwing* wing)
    : svdesignhandlepage(picture, wing, Shaped(wing) ? &wing->WingSpan : nullptr) {
  AddRow("SemiSpan", kRowX, kRowY, {svdesign::Quantity(value, "%.1f", units::Current().length)});
}

void svdesignwingspanpage::Apply(float v, float start, int commit) {
  kxdwing* wing = Wing(component);
  if (!Shaped(wing)) return;
  float clamped = v;
  svdesign::ClampUpperThenLower(clamped, wing->RangeSpanMax, wing->RangeSpanMin);
  float ratio = clamped / start;
  // A wing never analysed has no span to scale from.
  if (!(start > 0.0f) || !std::isfinite(ratio)) {
    *value = start;
    return;
  }
  // The analysis leaves the span direction in the y-z plane, a little short
  // of unit length when the wing is swept: scaled up, the stretch is the ratio.
  const kxvector4r root = wing->RootR;
  kxvector4r axis = wing->SpanDirection;
  axis.w = 0.0f;
  kxvector4r::Normalise3(axis);
  ReshapeWing(
      wing,
      [&](const kxvector4r& p) {
        float along = kxvector4r::Dot3(Difference(p, root), axis) * (ratio - 1.0f);
        return kxvector4r{p.x + axis.x * along, p.y + axis.y * along, p.z + axis.z * along, p.w};
      },
      commit);
  *value = clamped;
}

kxvector4r svdesignwingspanpage::DragAxis() const { return Wing(component)->SpanDirection; }

float svdesignwingspanpage::DragValue(const kxvector4r& q, float) const {
  const kxdwing* wing = Wing(component);
  return ScaledAlong(q, wing->RootR, wing->SpanDirection);
}

// ---- dihedral

svdesignwingdihedralpage::svdesignwingdihedralpage(pageicon picture, kxdwing* wing, float lowest, float highest)
    : svdesignhandlepage(picture, wing, Shaped(wing) ? &wing->Dihedral : nullptr), lowest_(lowest), highest_(highest) {
  AddRow("Dihedral", kRowX, kRowY, {svdesign::Quantity(value, "%.1f", units::Current().angle)});
}

void svdesignwingdihedralpage::Apply(float v, float start, int commit) {
  // A turn about +x raises a tip on the +y side; the other side turns back.
  const kxvector4r xAxis = {1.0f, 0.0f, 0.0f, 0.0f};
  TurnWing(Wing(component), value, v, start, highest_, lowest_, xAxis, Wing(component)->SpanDirection.y > 0.0f,
           commit);
}

// Straight above or below the root there is no elevation to take.
float svdesignwingdihedralpage::DragValue(const kxvector4r& q, float) const {
  const kxvector4r root = Wing(component)->RootR;
  const float slope = (q.z - root.z) / std::fabs(q.y - root.y);
  return std::isfinite(slope) ? std::atan(slope) : NAN;
}

// ---- incidence

svdesignwingincidencepage::svdesignwingincidencepage(pageicon picture, kxdwing* wing)
    : svdesignhandlepage(picture, wing, Shaped(wing) ? &wing->Incidence : nullptr) {
  AddRow("Incidence", kRowX, kRowY, {svdesign::Quantity(value, "%.1f", units::Current().angle)});
}

void svdesignwingincidencepage::Apply(float v, float start, int commit) {
  // The span axes of the two halves point apart: turning each the opposite
  // way about its own axis pitches both leading edges the same way.
  const kxvector4r axis = Wing(component)->SpanDirection;
  TurnWing(Wing(component), value, v, start, kIncidenceLimit, -kIncidenceLimit, axis, axis.y < 0.0f, commit);
}

float svdesignwingincidencepage::DragValue(const kxvector4r&, float t) const { return startValue + t; }

// ---- deflection and flap travel

svdesignwingdeflectionpage::svdesignwingdeflectionpage(kxdwing* wing, kxdservo00* drive, sense senseKept)
    : svdesignpage(pageicon::kDeflection, wing), servo(drive), kept(senseKept) {
  const units::displayunit& angle = units::Current().angle;
  float* shown = nullptr;
  float factor = angle.factor;
  if (servo && kept == sense::servo) shown = &size;
  else if (servo) shown = &servo->P1;
  if (kept == sense::minus) factor = -factor;
  AddRow("Deflection", kRowX, kRowY, {svdesign::Plain(shown, "%.0f", angle.name.Text(), factor)});
  if (kept == sense::minus) AddLimit(shown, svdesign::Fixed(0.0f), svdesign::Fixed(-kDeflectionLimit));
  else AddLimit(shown, svdesign::Fixed(kDeflectionLimit), svdesign::Fixed(0.0f));
}

void svdesignwingdeflectionpage::Refresh() {
  if (servo && kept == sense::servo) size = std::fabs(servo->P1);
  svdesignpage::Refresh();
}

void svdesignwingdeflectionpage::FollowUp() {
  RunLimits();
  if (servo && kept == sense::servo) servo->P1 = svdesign::ServoTravel(size, servo->P1);
}

svdesignwingflappage::svdesignwingflappage(kxdwing* wing, kxdservo00* drive) : svdesignpage(pageicon::kFlap, wing), servo(drive) {
  const units::displayunit& angle = units::Current().angle;
  AddRow("FlapUp", kRowX, kRowY, {svdesign::Quantity(servo ? &up : nullptr, "%.0f", angle)});
  AddRow("FlapDown", kSecondRowX, kRowY, {svdesign::Quantity(servo ? &down : nullptr, "%.0f", angle)});
  AddLimit(&up, svdesign::Fixed(0.0f), svdesign::Fixed(kFlapUpLimit));
  AddLimit(&down, svdesign::Fixed(kFlapDownLimit), svdesign::Fixed(0.0f));
}

// A servo of the negative sense reaches the down end at the signal's -1:
// the ends shown are the travel's, whichever end of the signal gives them.
void svdesignwingflappage::Refresh() {
  if (servo) {
    const float half = std::fabs(servo->P1);
    up = servo->P0 - half;
    down = servo->P0 + half;
  }
  svdesignpage::Refresh();
}

void svdesignwingflappage::FollowUp() {
  if (!servo) return;
  RunLimits();
  servo->P0 = 0.5f * (up + down);
  servo->P1 = svdesign::ServoTravel(0.5f * (down - up), servo->P1);
}

namespace svdesign {

/* The sense is the servo's: which way the surface moves for a signal
   depends on how the servo is linked, which no page knows. It is the sign
   of P1, a zero's sign included, so a travel of 0 is stored as -0 on a
   servo of the negative sense and a later travel has that sense again; the
   file keeps it ("-0"). A servo whose P1 is +0 takes the positive sense. */
float ServoTravel(float size, float p1) { return std::copysign(std::fabs(size), p1); }

kxdservo00* DriveServo(const kxdwing* wing, const float* link) {
  if (!wing || !link || !wing->parent) return nullptr;
  for (kxnode* c = wing->parent->firstChild; c; c = c->nextSibling) {
    if (!kxtype::IsDerivedFrom(c->type, &kxdservo00::Type)) continue;
    kxdservo00* servo = static_cast<kxdservo00*>(c);
    if (&servo->MechLink == link) return servo;
  }
  return nullptr;
}

}  // namespace svdesign
