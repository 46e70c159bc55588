#include "designer/rotor_pages.h"

#include <cmath>

#include "core/maths.h"
#include "designer/clamp.h"
#include "designer/state.h"
#include "dynamics/body.h"
#include "graphics/geometric_object.h"

namespace {

constexpr int kRowX = 8, kRowY = 8;      // px
constexpr float kBladeSection = 0.75f;   // share of the radius where the pitch is measured
constexpr float kPitchMin = 0.5f;        // pitch range in radii
constexpr float kPitchMax = 2.0f;
constexpr float kLeastLength = 1e-6f;    // m; a blade nearer the centre has no radial axis
using kxmaths::kPi;

// The blades: direct children of the geometry that carry a mesh.
template <class Visit>
void ForEachBlade(kxgeometricobject* g, Visit visit) {
  if (!g) return;
  for (kxnode* c = g->firstChild; c; c = c->nextSibling) {
    if (!kxtype::IsDerivedFrom(c->type, &kxgeometricobject::Type)) continue;
    kxgeometricobject* blade = static_cast<kxgeometricobject*>(c);
    if (blade->mesh) visit(blade);
  }
}

float BladeAngle(float pitch, float radius) { return std::atan(pitch * 0.5f / kPi / kBladeSection / radius); }

/* The sense of the twist that steepens a blade. A right-handed turn about
   the radial axis raises the pitch of a blade of one hand only; the blades
   of the other hand (a propeller turning the other way, or a mesh drawn
   mirrored) need the opposite turn, and the analysis measures the pitch of
   either as a positive number. The blade's chord is taken from its two
   vertices farthest apart across the disc: +1 when a small right-handed
   turn tilts that chord further out of the disc plane, else -1. */
float SteepeningSense(const kxgeometricobject* blade, const kxvector4r& centre, const kxvector4r& radial,
                      const kxvector4r& shaft) {
  kxvector4r across;
  kxvector4r::Cross(across, radial, shaft);
  const kxmatrix& identity = kxmatrix::Identity();
  kxvector4r lowest = centre, highest = centre;
  float low = INFINITY, high = -INFINITY;
  for (int i = 0, n = blade->VertexCount(); i < n; ++i) {
    kxvector4r p;
    blade->TransformVertex(&p, i, identity);
    float t = (p.x - centre.x) * across.x + (p.y - centre.y) * across.y + (p.z - centre.z) * across.z;
    if (t < low) low = t, lowest = p;
    if (t > high) high = t, highest = p;
  }
  kxvector4r chord = {highest.x - lowest.x, highest.y - lowest.y, highest.z - lowest.z, 0.0f}, turned;
  kxvector4r::Cross(turned, radial, chord);
  return kxvector4r::Dot3(chord, shaft) * kxvector4r::Dot3(turned, shaft) < 0.0f ? -1.0f : 1.0f;
}

}  // namespace

// ---- diameter

svdesigndiameterpage::svdesigndiameterpage(pageicon picture, kxdbody* edited, const designradius& r, const char* unit,
                                           float radiusFactor)
    : svdesignhandlepage(picture, edited, r.radius), radius(r) {
  AddRow("Diameter", kRowX, kRowY, {svdesign::Plain(value, "%.1f", unit, 2.0f * radiusFactor)});
}

float svdesigndiameterpage::KeepRadius() const {
  return (radius.keepMember ? *radius.keepMember : 0.0f) + radius.keepExtra;
}

void svdesigndiameterpage::Apply(float v, float start, int commit) {
  float clamped = v;
  svdesign::ClampUpperThenLower(clamped, *radius.rangeMax, *radius.rangeMin);
  referenceRadius = start;
  float scale = clamped / referenceRadius;
  // A component whose analysis found no radius has nothing to scale from.
  if (!(referenceRadius > 0.0f) || !std::isfinite(scale)) {
    *value = start;
    return;
  }
  *value = clamped;
  kxgeometricobject* g = component->Geometry;
  const kxvector4r centre = component->B.R;
  const float keep = KeepRadius();
  kxmatrix unplaced;
  if (g && !commit) kxmatrix::Invert(g->Matrix, unplaced);
  ForEachBlade(g, [&](kxgeometricobject* blade) {
    blade->RestoreVertices();
    svdesign::ReshapeVertices(
        blade,
        [&](const kxvector4r& p) {
          kxvector4r d = {p.x - centre.x, p.y - centre.y, p.z - centre.z, p.w - centre.w};
          if (!(std::sqrt(d.x * d.x + d.y * d.y + d.z * d.z) > keep)) return p;
          return kxvector4r{centre.x + scale * d.x, centre.y + scale * d.y, centre.z + scale * d.z,
                            centre.w + scale * d.w};
        },
        commit);
    // Live, the blade is drawn in the rest shape's frame until the analysis
    // of the commit places it again.
    if (!commit) blade->Matrix = unplaced;
  });
}

/* Outward along the grabbed blade. A fixed frame axis (the propeller's Y,
   the rotors' X) lies along the blades only where the meshes are drawn so:
   the frames here keep the shaft on Z and leave the blades where their
   meshes put them, and a grab on a blade across that axis would give a
   ratio of two tiny distances. The radial direction of the grab point in
   the disc plane is the same axis whenever the blade lies along it. A grab
   on the shaft has none: a zero axis, and the drag gives no value. */
kxvector4r svdesigndiameterpage::DragAxis() const {
  const kxmatrix& frame = component->B;
  kxvector4r out = {grabPoint.x - frame.R.x, grabPoint.y - frame.R.y, grabPoint.z - frame.R.z, 0.0f};
  kxvector4r shaft = frame.Z;
  shaft.w = 0.0f;
  kxvector4r::Normalise3(shaft);
  const float along = kxvector4r::Dot3(out, shaft);
  out = {out.x - along * shaft.x, out.y - along * shaft.y, out.z - along * shaft.z, 0.0f};
  if (!(kxvector4r::Normalise3(out) > kLeastLength)) return {0.0f, 0.0f, 0.0f, 0.0f};
  return out;
}

float svdesigndiameterpage::DragValue(const kxvector4r& q, float) const {
  return ScaledAlong(q, component->B.R, DragAxis());
}

// ---- pitch

svdesignpitchpage::svdesignpitchpage(pageicon picture, kxdbody* edited, float* pitch, const float* tipRadius)
    : svdesignhandlepage(picture, edited, pitch), radius(tipRadius) {
  AddRow("Pitch", kRowX, kRowY, {svdesign::Plain(value, "%.1f", "in", 39.370079f)});
}

void svdesignpitchpage::Apply(float v, float start, int commit) {
  const float r = *radius;
  float clamped = v;
  svdesign::ClampUpperThenLower(clamped, kPitchMax * r, kPitchMin * r);
  float change = BladeAngle(clamped, r) - BladeAngle(start, r);
  if (!(r > 0.0f) || !std::isfinite(change)) {
    *value = start;
    return;
  }
  *value = clamped;
  // The analysis turns the frame so that its Z axis is the shaft.
  const kxmatrix& frame = component->B;
  const kxvector4r centre = frame.R;
  ForEachBlade(component->Geometry, [&](kxgeometricobject* blade) {
    // The blade's position, kept in its placement, seen from the centre.
    kxvector4r at;
    kxmatrix::TransformVector4(&at, &frame, &blade->Matrix.R);
    kxvector4r u = {at.x - centre.x, at.y - centre.y, at.z - centre.z, 0.0f};
    if (!(kxvector4r::Normalise3(u) > kLeastLength)) return;
    blade->RestoreVertices();
    kxmatrix turn;
    kxmatrix::SetRotation(&turn, u, change * SteepeningSense(blade, centre, u, frame.Z));
    svdesign::ReshapeVertices(
        blade,
        [&](const kxvector4r& p) {
          kxvector4r d = {p.x - centre.x, p.y - centre.y, p.z - centre.z, 0.0f}, out;
          kxmatrix::TransformVector4(&out, &turn, &d);
          return kxvector4r{centre.x + out.x, centre.y + out.y, centre.z + out.z, p.w};
        },
        commit);
  });
}

// The press and each move read the pointer the viewer's mouse commands
// have just set, so the start is never a stale position.
int svdesignpitchpage::MouseDown(const designray& ray) {
  if (!svdesignhandlepage::MouseDown(ray)) return 0;
  grabMouseX = svdesign::State().pointer.x;
  return 1;
}

bool svdesignpitchpage::Dragged(const designray&, float* out) const {
  const float v = startValue * (1.0f + 2.0f * (svdesign::State().pointer.x - grabMouseX));
  if (!std::isfinite(v)) return false;
  *out = v;
  return true;
}
