// Geometry analyses of the sectioned wings: kxdwing10 (a tailplane) and
// kxdwing11 (a fin) take their normal from the mesh's principal axes,
// kxdwing12 keeps a fixed upright frame. Each finds span, area, aspect
// ratio, one section, the flap's share of span and chord and the flap's
// hinge frame, which the second flap part shares.
//
// As in the main wing's analysis, W (Geometry's Matrix) places the laid-out
// mesh in aircraft axes and the identity in wing axes.
#include <cmath>
#include <vector>

#include "dynamics/wings/sectioned_wing.h"
#include "dynamics/wings/wing_analysis.h"
#include "graphics/geometric_object.h"

using namespace kxdwinganalysis;
using kxvector4ops::Cross;

void kxdwing10::Analyse() {
  const bool upright = type != &kxdwing10::Type;
  AnalyseSectioned(true, !upright, upright, upright ? kFacingUpright : kFacingTail);
}

void kxdwing12::Analyse() { AnalyseSectioned(false, false, true, kFacingUpright); }

void kxdwing10::AnalyseSectioned(bool principalAxes, bool dihedral, bool upright, float facing) {
  if (!StartAnalysis(upright)) {
    FinishAnalysis();
    return;
  }
  if (principalAxes) {
    kxvector4r e1, e2;
    PrincipalAxes(Geometry, &e1, &e2);
    e1.w = 0.0f;
    kxvector4r z;
    kxmatrix::TransformVector4(&z, &B, &e1);
    kxvector4r x = {1.0f, 0.0f, 0.0f, 0.0f};
    kxvector4r y = Unit(Cross(z, x));
    x = Unit(Cross(y, z));
    LayOutAgain(x, y, z);
  }
  const kxmatrix& W = Geometry->Matrix;
  kxvector4r s = SpanAxis();
  kxvector4r unitSpan = Unit(s);
  if (Finite(unitSpan)) s = unitSpan;
  SpanDirection = s;
  if (dihedral && (s.y != 0.0f || s.z != 0.0f)) Dihedral = std::atan(s.z / std::fabs(s.y));

  MeasureSpan(s, W);
  if (!principalAxes) Incidence = 0.0f;
  Sections = 1;

  kxvector4r s0 = RootR, s1 = TipPoint;
  s0.w = s1.w = 1.0f;
  std::vector<kxvector4r> cut;
  float angle = 0.0f;
  // The chord one fifth of the way out; an empty cut or an upright chord
  // keeps the incidence the wing had.
  if (principalAxes &&
      ChordAngle(Geometry, Blend(kIncidenceStation, s1, 1.0f - kIncidenceStation, s0), s, W, B.X, cut, nullptr, &angle)) {
    Incidence = angle;
  }
  Cut(Geometry, Blend(0.5f, s1, 0.5f, s0), s, W, cut);
  kxvector4r lo, hi;
  kxvector4r chordAxis = B.X;
  kxmatrix inverse;
  Inverse(B, &inverse);
  if (Extremes(cut, B.X, &lo, &hi)) {
    kxvector4r c;
    kxvector4r::Subtract(c, hi, lo);
    kxvector4r::Normalise(c);
    kxvector4r x, y, n;
    if (principalAxes) {
      n = Cross(c, s);
      if ((upright ? n.y : n.z) < 0.0f) n *= -1.0f;
      n = Unit(n);
      y = Cross(n, c);
      x = c;
    } else {
      // The fixed frame's axes, whatever the cut's chord direction.
      x = B.X;
      y = B.Y;
      n = B.Z;
    }
    if (Finite(x) && Finite(y) && Finite(n)) {
      chordAxis = x;
      kxvector4r q = Blend(0.75f, hi, 0.25f, lo);
      q.w = 1.0f;
      SectionChord[0] = Distance(hi, lo);
      kxmatrix::TransformVector4(&SectionX[0], &inverse, &x);
      kxmatrix::TransformVector4(&SectionY[0], &inverse, &y);
      kxmatrix::TransformVector4(&SectionZ[0], &inverse, &n);
      kxmatrix::TransformVector4(&SectionR[0], &inverse, &q);
      kxvector4r normal = principalAxes ? n : kxvector4r{0.0f, 1.0f, 0.0f, 0.0f};
      SectionArea[0] = Geometry->ProjectedAreaBeyond(normal, s0, s, W) - Geometry->ProjectedAreaBeyond(normal, s1, s, W);
    }
  }

  int hits = 0;
  float chordSum = 0.0f;
  if (Flap) {
    kxmatrix place;
    kxmatrix::Multiply4x4(&place, &W, &Flap->Matrix);
    const kxvector4r probeAxis = principalAxes ? chordAxis : kxvector4r{1.0f, 0.0f, 0.0f, 0.0f};
    for (int k = 0; k < kStations; ++k) {
      float t = kStationStep * static_cast<float>(k);
      if (Cut(Flap, Blend(1.0f - t, s0, t, s1), s, place, cut) <= 0) continue;
      kxvector4r a, b;
      if (!Extremes(cut, probeAxis, &a, &b)) continue;
      chordSum += Distance(b, a);
      ++hits;
    }
  }
  StoreFactors(SurfaceFactors(hits, chordSum, SectionChord[0], 1.0f), 0, SectionFlapAlpha, SectionFlapCl,
               SectionFlapCd, SectionFlapCm);

  // The second flap part of kxdwing10 and kxdwing11 is turned with the
  // first, so it shares its frame; kxdwing12 leaves it alone.
  kxmatrix hingeInverse;
  if (Flap && HingePart(Flap, W, facing, &hingeInverse) && principalAxes && Flap1 && Flap1 != Flap) {
    RebaseMesh(Flap1, hingeInverse);
    Flap1->Matrix = Flap->Matrix;
  }
  FinishAnalysis();
}
