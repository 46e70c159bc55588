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
#include "graphics/geometry_math.h"

using namespace kxdwinganalysis;

namespace {

constexpr float kIncidenceStation = 0.2f;  // share of the span at the incidence cut

kxvector4r Unit(kxvector4r v) {
  kxvector4r::Normalise(v);
  return v;
}

kxvector4r CrossOf(const kxvector4r& a, const kxvector4r& b) {
  kxvector4r c;
  kxvector4r::Cross(c, a, b);
  return c;
}

bool Finite(const kxvector4r& v) {
  return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z) && std::isfinite(v.w);
}

}  // namespace

// The hinge faces are read in the wing's own frame, where the span of an
// upright wing runs along y as for a flat one; so every class takes the
// hinge X against that frame's normal z (against y a fin's hinge would
// leave no X at all).
constexpr kxvector4r kHingeReference = {0.0f, 0.0f, 1.0f, 0.0f};

void kxdwing10::Analyse() {
  const bool upright = type != &kxdwing10::Type;
  AnalyseSectioned(true, !upright, upright, upright ? kFacingUpright : kFacingTail, kHingeReference);
}

void kxdwing12::Analyse() { AnalyseSectioned(false, false, true, kFacingUpright, kHingeReference); }

void kxdwing10::AnalyseSectioned(bool principalAxes, bool dihedral, bool upright, float facing,
                                 const kxvector4r& reference) {
  if (!Geometry || !Geometry->mesh) {
    FinishAnalysis();
    return;
  }
  kxmatrix identity;
  kxmatrix::SetIdentity(&identity);
  Geometry->Rebuild();
  B.X = {1.0f, 0.0f, 0.0f, 0.0f};
  B.Y = upright ? kxvector4r{0.0f, 0.0f, -1.0f, 0.0f} : kxvector4r{0.0f, 1.0f, 0.0f, 0.0f};
  B.Z = upright ? kxvector4r{0.0f, 1.0f, 0.0f, 0.0f} : kxvector4r{0.0f, 0.0f, 1.0f, 0.0f};
  kxvector4r centroid;
  if (Geometry->SurfaceCentroid(&centroid, identity) > 0.0f) B.R = centroid;
  B.R.w = 1.0f;
  if (!LayOut()) {
    FinishAnalysis();
    return;
  }
  Geometry->SetOwner(this);
  if (principalAxes) {
    // Unit-mass inertia: a zero Mass cannot stall the iteration.
    float unit[16];
    Geometry->SurfaceInertia(unit, identity);
    kxvector4r e1 = {0.0f, 0.0f, 1.0f, 0.0f}, e2 = {1.0f, 0.0f, 0.0f, 0.0f}, third;
    geometry::PrincipalAxis(&third, &e2, unit, &e1);
    e1.w = 0.0f;
    kxvector4r z;
    kxmatrix::TransformVector4(&z, &B, &e1);
    kxvector4r x = {1.0f, 0.0f, 0.0f, 0.0f};
    kxvector4r y = Unit(CrossOf(z, x));
    x = Unit(CrossOf(y, z));
    if (Finite(x) && Finite(y) && Finite(z)) {
      B.X = x;
      B.Y = y;
      B.Z = z;
    }
    Geometry->Rebuild();
    LayOut();
  }
  const kxmatrix& W = Geometry->Matrix;
  kxvector4r s = {0.0f, B.Z.z, -B.Z.y, 0.0f};
  kxvector4r toCentre;
  kxvector4r::Subtract(toCentre, B.R, RootR);
  if (kxvector4r::Dot(toCentre, s) < 0.0f) s *= -1.0f;
  kxvector4r unitSpan = Unit(s);
  if (Finite(unitSpan)) s = unitSpan;
  SpanDirection = s;
  if (dihedral && (s.y != 0.0f || s.z != 0.0f)) Dihedral = std::atan(s.z / std::fabs(s.y));

  Geometry->FarthestVertex(s, &TipPoint, W);
  kxvector4r rootToTip;
  kxvector4r::Subtract(rootToTip, TipPoint, RootR);
  WingSpan = kxvector4r::Dot(rootToTip, s);
  WingArea = Geometry->ProjectedAreaBeyond(B.Z, RootR, s, W);
  if (WingArea > 0.0f) AspectRatio = 2.0f * WingSpan * WingSpan / WingArea;
  if (!principalAxes) Incidence = 0.0f;
  Sections = 1;

  kxvector4r s0 = RootR, s1 = TipPoint;
  s0.w = s1.w = 1.0f;
  std::vector<kxvector4r> cut;
  kxvector4r lo = {0.0f, 0.0f, 0.0f, 0.0f}, hi = lo;
  if (principalAxes) {
    // The chord one fifth of the way out; an empty cut or an upright chord
    // keeps the incidence the wing had.
    Cut(Geometry, Blend(kIncidenceStation, s1, 1.0f - kIncidenceStation, s0), s, W, cut);
    if (Extremes(cut, B.X, &lo, &hi)) {
      kxvector4r c;
      kxvector4r::Subtract(c, hi, lo);
      kxvector4r::Normalise(c);
      kxvector4r u = Unit({0.0f, -s.z, s.y, 0.0f});
      if (u.z < 0.0f) u *= -1.0f;
      if (c.x != 0.0f && Finite(c)) Incidence = std::atan(kxvector4r::Dot(u, c) / c.x);
    }
  }
  Cut(Geometry, Blend(0.5f, s1, 0.5f, s0), s, W, cut);
  kxvector4r chordAxis = B.X;
  kxmatrix inverse;
  Inverse(B, &inverse);
  if (Extremes(cut, B.X, &lo, &hi)) {
    kxvector4r c;
    kxvector4r::Subtract(c, hi, lo);
    kxvector4r::Normalise(c);
    kxvector4r x, y, n;
    if (principalAxes) {
      n = CrossOf(c, s);
      if ((upright ? n.y : n.z) < 0.0f) n *= -1.0f;
      n = Unit(n);
      y = CrossOf(n, c);
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
  surfacefactors f = SurfaceFactors(hits, chordSum, SectionChord[0], 1.0f);
  SectionFlapAlpha[0] = f.alpha;
  SectionFlapCl[0] = f.cl;
  SectionFlapCd[0] = f.cd;
  SectionFlapCm[0] = f.cm;

  kxmatrix H, hingeInverse;
  if (Flap && Flap->mesh && FindHingeFrame(Flap, facing, reference, &H) && HingeInverse(W, H, &hingeInverse)) {
    RebaseMesh(Flap, hingeInverse);
    Flap->Matrix = H;
    // The second flap part of kxdwing10 and kxdwing11 is turned with the
    // first, so it shares its frame; kxdwing12 leaves it alone.
    if (principalAxes && Flap1 && Flap1 != Flap) {
      RebaseMesh(Flap1, hingeInverse);
      Flap1->Matrix = H;
    }
  }
  FinishAnalysis();
}
