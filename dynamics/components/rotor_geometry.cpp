// Measuring the rotors from their meshes: the main rotor's blades (count,
// frames, hinge radius, radius, chord, inertia about the axis) and flybar,
// and the tail rotor's frame and inertia; the designer's ranges after.
#include <cmath>
#include <cstring>
#include <limits>

#include "core/hooks.h"
#include "dynamics/components/main_rotor.h"
#include "dynamics/components/tail_rotor.h"
#include "graphics/geometric_object.h"

namespace {

constexpr float kRangeUp = 1.25f;
constexpr float kRangeDown = 0.75f;
constexpr float kRangeUnset = 0.001f;
constexpr float kExtentStart = 100.0f;  // m; the extent query widens from +-this

using kxvector4ops::Length3;

bool HasMesh(kxgeometricobject* g) {
  kxvector4r c;
  return g && g->SurfaceCentroid(&c, kxmatrix::Identity()) > 0.0f;
}

void FillRange(float* max, float* min, float value) {
  if (*max < kRangeUnset) {
    *max = kRangeUp * value;
    *min = kRangeDown * value;
  }
}

// The object's mesh re-expressed in the frame that places it in the world:
// its Matrix becomes that frame seen from the parent frame.
void Reframe(kxgeometricobject* o, const kxmatrix& world, const kxmatrix& parentInverse) {
  kxmatrix inverse;
  if (kxmatrix::Invert(world, inverse) != 0) return;
  o->Transform(inverse);
  kxmatrix::Multiply4x4(&o->Matrix, &parentInverse, &world);
  o->UpdateBounds();
}

}  // namespace

// ---- main rotor

int kxdmainrotor::MeasureBlades() {
  kxgeometricobject* g = Geometry;
  if (!g) return 0;
  // From the rest shape, so the analysis can run again after every edit.
  g->Rebuild();
  strikeReach = std::numeric_limits<float>::quiet_NaN();  // the parts move: measured again when placed
  if (!HasMesh(g)) return 0;
  g->SetOwner(this);
  kxempty("%s: name \"%s\"\n", Tag, g->name.Text());
  kxempty("%s: geometry: vertices %d\n", Tag, g->VertexCount());
  int n = 0;
  kxgeometricobject* found[kMaxBlades] = {};
  for (kxnode* c = g->firstChild; c; c = c->nextSibling) {
    if (!kxtype::IsDerivedFrom(c->type, &kxgeometricobject::Type)) continue;
    if (std::strncmp(c->name.Text(), "Blade", 5) != 0) continue;
    if (n >= MaxBlades) {
      kxcore::Log("%s:  %s: blade %s beyond %d blades ignored\n", Tag, name.Text(), c->name.Text(), MaxBlades);
      continue;
    }
    found[n++] = static_cast<kxgeometricobject*>(c);
  }
  kxempty("%s: %d blades\n", Tag, n);
  if (n == 0) {
    // No hub to measure from: the keys stay as they are.
    kxcore::Log("%s:  %s has no blade; measures kept\n", Tag, name.Text());
    Blades = 0;
    return 0;
  }
  kxvector4r hub = {0.0f, 0.0f, 0.0f, 0.0f};
  for (int i = 0; i < n; ++i) {
    hub.x += BladeHinge[i].x / n;
    hub.y += BladeHinge[i].y / n;
    hub.z += BladeHinge[i].z / n;
  }
  hub.w = 1.0f;
  kxmatrix frame;
  frame.X = {BladeHinge[0].x - hub.x, BladeHinge[0].y - hub.y, BladeHinge[0].z - hub.z, 0.0f};
  float h = Length3(frame.X);
  if (!(h > 0.0f) || !std::isfinite(h)) {
    kxcore::Log("%s:  %s: blade hinges coincide with the hub; measures kept\n", Tag, name.Text());
    return 0;
  }
  kxvector4r::Normalise3(frame.X);
  frame.Z = {0.0f, 0.0f, 1.0f, 0.0f};
  kxvector4r::Cross(frame.Y, frame.Z, frame.X);
  if (!(kxvector4r::Normalise3(frame.Y) > 0.0f)) {
    kxcore::Log("%s:  %s: hinges lie along the vertical; measures kept\n", Tag, name.Text());
    return 0;
  }
  kxvector4r::Cross(frame.Z, frame.X, frame.Y);
  frame.R = hub;
  if (!g->ApplyFrame(frame)) return 0;
  B = frame;
  kxempty("%s: x %7.4f %7.4f %7.4f\n", Tag, B.X.x, B.X.y, B.X.z);
  kxempty("%s: y %7.4f %7.4f %7.4f\n", Tag, B.Y.x, B.Y.y, B.Y.z);
  kxempty("%s: z %7.4f %7.4f %7.4f\n", Tag, B.Z.x, B.Z.y, B.Z.z);
  kxempty("%s: r %7.4f %7.4f %7.4f\n", Tag, B.R.x, B.R.y, B.R.z);
  HingeRadius = h;
  kxempty("%s: hinge radius %.4f\n", Tag, HingeRadius);
  kxmatrix inverse;
  kxmatrix::Invert(frame, inverse);
  Blades = n;
  for (int i = 0; i < n; ++i) {
    BladeObject[i] = found[i];
    kxvector4r d = {BladeHinge[i].x - hub.x, BladeHinge[i].y - hub.y, BladeHinge[i].z - hub.z, 0.0f};
    if (!(kxvector4r::Normalise3(d) > 0.0f)) d = frame.X;
    kxmatrix world;
    world.X = d;
    kxvector4r::Cross(world.Y, frame.Z, d);
    kxvector4r::Normalise3(world.Y);
    world.Z = frame.Z;
    world.R = {BladeHinge[i].x, BladeHinge[i].y, BladeHinge[i].z, 1.0f};
    Reframe(found[i], world, inverse);
    BladeRows[i].X = found[i]->Matrix.X;
    BladeRows[i].Y = found[i]->Matrix.Y;
    BladeRows[i].Z = found[i]->Matrix.Z;
    BladeRows[i].R = {0.0f, 0.0f, 0.0f, 1.0f};
  }
  // Blade 0 along the rotor's X axis, in the rotor frame.
  float min = kExtentStart, max = -kExtentStart;
  found[0]->ExtentAlong({1.0f, 0.0f, 0.0f, 0.0f}, &min, &max, found[0]->Matrix);
  kxempty("%s: tip   %.4f\n", Tag, max);
  kxempty("%s: hinge %.4f\n", Tag, min);
  if (!(max > min)) {
    kxcore::Log("%s:  %s: blade %s has no extent; radius and chord kept\n", Tag, name.Text(), found[0]->name.Text());
    return 1;
  }
  Radius = max;
  kxempty("%s: radius %.4f\n", Tag, Radius);
  float area = found[0]->ProjectedArea({0.0f, 0.0f, 1.0f, 0.0f}, found[0]->Matrix);
  if (area > 0.0f && std::isfinite(area)) Chord = area / (max - min);
  kxempty("%s: blade chord %.4f\n", Tag, Chord);
  kxempty("%s: blade mass  %.4f\n", Tag, BladeMass);
  float izz = ((max - min) * (max - min) * 0.083333336f + (max + min) * (max + min) * 0.25f) * n * BladeMass;
  if (std::isfinite(izz)) Inertia[10] = izz;
  kxempty("%s: inertia %.4f\n", Tag, Inertia[10]);
  if (kxgeometricobject* f = BellHillerGeometry) {
    // The flybar lies along the aircraft's axes at its pivot.
    kxmatrix world;
    kxmatrix::SetIdentity(&world);
    kxvector4r pivot = BellHillerR;
    pivot.w = 1.0f;
    kxmatrix::TransformVector4(&world.R, &frame, &pivot);
    world.R.w = 1.0f;
    Reframe(f, world, inverse);
    Flybar = f->Matrix;
  }
  return 1;
}

void kxdmainrotor::Analyse() {
  MeasureBlades();
  kxempty("\n");
  Sound.Load();
  FillRange(&RangeRadiusMax, &RangeRadiusMin, Radius);
  FillRange(&RangeBladeMassMax, &RangeBladeMassMin, BladeMass);
  kxdintegrable::Analyse();
}

// ---- tail rotor

void kxdtailrotor00::Analyse() {
  kxgeometricobject* g = Geometry;
  if (g) g->Rebuild();
  if (HasMesh(g)) {
    kxempty("kxdtailrotor00: name \"%s\"\n", g->name.Text());
    kxempty("kxdtailrotor00: geometry: %d vertices\n", g->VertexCount());
    kxmatrix frame;
    frame.X = {0.0f, 0.0f, 1.0f, 0.0f};
    frame.Y = {1.0f, 0.0f, 0.0f, 0.0f};
    frame.Z = {0.0f, 1.0f, 0.0f, 0.0f};
    g->SurfaceCentroid(&frame.R, kxmatrix::Identity());
    frame.R.w = 1.0f;
    g->SetOwner(this);
    if (g->ApplyFrame(frame)) {
      B = frame;
      float inertia[16];
      if (g->SurfaceInertia(inertia, kxmatrix::Identity()) > 0.0f) {
        for (int i = 0; i < 16; ++i) {
          float v = inertia[i] * Mass;
          if (std::isfinite(v)) Inertia[i] = v;
        }
        Inertia[15] = Mass;
      }
      kxempty("kxdtailrotor00: x %7.4f %7.4f %7.4f\n", B.X.x, B.X.y, B.X.z);
      kxempty("kxdtailrotor00: r %7.4f %7.4f %7.4f\n", B.R.x, B.R.y, B.R.z);
      kxempty("kxdtailrotor00: mass %.4f\n", Mass);
      for (int c = 0; c < 3; ++c) {
        kxempty("kxdtailrotor00: inertia %7.4f %7.4f %7.4f\n", Inertia[c], Inertia[4 + c], Inertia[8 + c]);
      }
    }
  }
  kxempty("\n");
  FillRange(&RangeRadiusMax, &RangeRadiusMin, Radius);
  kxdintegrable::Analyse();
}
