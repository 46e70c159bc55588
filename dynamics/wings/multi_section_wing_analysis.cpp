// Geometry analysis of the main wing kxdwing00: its frame from the mesh's
// principal axes, span, area, aspect ratio, dihedral, incidence and washout,
// two spanwise sections with the effects of the moving surfaces in them, and
// the hinge frames of the aileron and the flaps.
//
// The integrals leave the start object's own Matrix out, so "in aircraft
// axes" is the placement W = Geometry's Matrix and "in wing axes" the
// identity once the geometry is laid out in the wing's frame.
#include <cmath>
#include <vector>

#include "dynamics/wings/multi_section_wing.h"
#include "dynamics/wings/wing_analysis.h"
#include "graphics/geometric_object.h"
#include "graphics/geometry_math.h"

using namespace kxdwinganalysis;
using kxvector4ops::Cross;

namespace {

constexpr float kMinAxisX = 0.7f;         // below: the principal X is no chord axis
constexpr float kWashoutStation = 0.8f;   // share of the span at the washout cut
constexpr int kSpanSteps = 10;            // sub-cuts of a section's span axis

// The quarter-chord point of a cut along dir; 0 for an empty cut.
int QuarterChord(const std::vector<kxvector4r>& cut, const kxvector4r& dir, kxvector4r* q, float* chord) {
  kxvector4r lo, hi;
  if (!Extremes(cut, dir, &lo, &hi)) return 0;
  *q = Blend(0.75f, hi, 0.25f, lo);
  if (chord) *chord = Distance(hi, lo);
  return 1;
}

}  // namespace

void kxdwing00::Analyse() {
  if (!StartAnalysis(false)) {
    FinishAnalysis();
    return;
  }
  kxvector4r z, x;
  PrincipalAxes(Geometry, &z, &x);
  z.w = x.w = 0.0f;
  kxvector4r y = Unit(Cross(z, x));
  x = Unit(Cross(y, z));
  if (x.x < kMinAxisX) {
    y = {0.0f, 1.0f, 0.0f, 0.0f};
    x = Unit(Cross(y, z));
    y = Unit(Cross(z, x));
  }
  LayOutAgain(x, y, z);
  const kxmatrix& W = Geometry->Matrix;

  kxvector4r s = SpanAxis();
  SpanDirection = s;
  if (s.y != 0.0f || s.z != 0.0f) Dihedral = std::atan(s.z / std::fabs(s.y));

  MeasureSpan(s, W);

  // Incidence and washout from the chord at 20 % and 80 % of the span. The
  // chord search starts along the wing's X: the third principal axis lies
  // along the span, where every cut point projects alike.
  std::vector<kxvector4r> cut;
  kxvector4r t = B.X, c;
  float angle = 0.0f;
  if (ChordAngle(Geometry, Blend(kIncidenceStation, TipPoint, 1.0f - kIncidenceStation, RootR), s, W, t, cut, &c,
                 &angle)) {
    t = c;
    Incidence = angle - IncidenceOffset;
  }
  if (ChordAngle(Geometry, Blend(kWashoutStation, TipPoint, 1.0f - kWashoutStation, RootR), s, W, t, cut, &c,
                 &angle)) {
    Washout = Incidence - angle;
  }

  kxmatrix inverse;
  Inverse(B, &inverse);
  Sections = 2;
  kxvector4r bounds[3] = {RootR, Blend(0.5f, RootR, 0.5f, TipPoint), TipPoint};
  bounds[0].w = bounds[1].w = bounds[2].w = 1.0f;
  for (int i = 0; i < 2; ++i) {
    kxvector4r centre = Blend(0.5f, bounds[i], 0.5f, bounds[i + 1]);
    Cut(Geometry, centre, s, W, cut);
    // An empty centre cut leaves the section as it was.
    if (cut.empty()) continue;
    kxvector4r a = {1.0f, 0.0f, 0.0f, 0.0f}, b = {0.0f, 0.0f, 1.0f, 0.0f}, cc = {0.0f, -1.0f, 0.0f, 0.0f};
    geometry::SectionAxes(static_cast<int>(cut.size() / 2), cut.data(), &a, &b, &cc);
    // The chord axis points forward, so the quarter chord lies behind the nose.
    if (a.x < 0.0f) a *= -1.0f;
    a.z -= IncidenceOffset;
    kxvector4r r;
    float chord = SectionChord[i];
    QuarterChord(cut, a, &r, &chord);
    kxvector4r sum = {0.0f, 0.0f, 0.0f, 0.0f};
    for (int k = 0; k < kSpanSteps; ++k) {
      float t0 = 0.1f * static_cast<float>(k), t1 = 0.1f * static_cast<float>(k + 1);
      kxvector4r q0, q1;
      Cut(Geometry, Blend(1.0f - t0, bounds[i], t0, bounds[i + 1]), s, W, cut);
      if (!QuarterChord(cut, a, &q0, nullptr)) continue;
      Cut(Geometry, Blend(1.0f - t1, bounds[i], t1, bounds[i + 1]), s, W, cut);
      if (!QuarterChord(cut, a, &q1, nullptr)) continue;
      sum.x += q1.x - q0.x;
      sum.y += q1.y - q0.y;
      sum.z += q1.z - q0.z;
    }
    if (sum.y < 0.0f) sum *= -1.0f;
    kxvector4r ys = Unit(sum);
    kxvector4r n = Unit(Cross(a, ys));
    kxvector4r xs = Unit(Cross(ys, n));
    if (!Finite(ys) || !Finite(n) || !Finite(xs)) continue;
    SectionChord[i] = chord;
    kxmatrix::TransformVector4(&SectionX[i], &inverse, &xs);
    kxmatrix::TransformVector4(&SectionY[i], &inverse, &ys);
    kxmatrix::TransformVector4(&SectionZ[i], &inverse, &n);
    r.w = 1.0f;
    kxmatrix::TransformVector4(&SectionR[i], &inverse, &r);
    SectionArea[i] = Geometry->ProjectedAreaBeyond(n, bounds[i], s, W) -
                     Geometry->ProjectedAreaBeyond(n, bounds[i + 1], s, W);

    // Spanwise probes of each moving surface, in aircraft axes.
    kxgeometricobject* parts[4] = {Aileron, Flap, Flap1, Airbrake};
    int hits[4] = {0, 0, 0, 0};
    float chordSum[4] = {0.0f, 0.0f, 0.0f, 0.0f};
    for (int k = 0; k < kStations; ++k) {
      float f = kStationStep * static_cast<float>(k);
      kxvector4r q = Blend(1.0f - f, bounds[i], f, bounds[i + 1]);
      for (int p = 0; p < 4; ++p) {
        if (!parts[p]) continue;
        kxmatrix place;
        kxmatrix::Multiply4x4(&place, &W, &parts[p]->Matrix);
        if (Cut(parts[p], q, s, place, cut) <= 0) continue;
        ++hits[p];
        kxvector4r plo, phi;
        if (p < 3 && Extremes(cut, xs, &plo, &phi)) chordSum[p] += Distance(phi, plo);
      }
    }
    StoreFactors(SurfaceFactors(hits[0], chordSum[0], SectionChord[i], 1.0f), i, SectionAileronAlpha,
                 SectionAileronCl, SectionAileronCd, SectionAileronCm);
    StoreFactors(SurfaceFactors(hits[1], chordSum[1], SectionChord[i], FlapEffect), i, SectionFlapAlpha,
                 SectionFlapCl, SectionFlapCd, SectionFlapCm);
    StoreFactors(SurfaceFactors(hits[2], chordSum[2], SectionChord[i], FlapEffect), i, SectionFlap1Alpha,
                 SectionFlap1Cl, SectionFlap1Cd, SectionFlap1Cm);
    float brakeWidth = kStationStep * static_cast<float>(hits[3]);
    SectionAirbrakeCl[i] = AirbrakeCl * brakeWidth;
    float brakeArea = 0.0f;
    if (Airbrake) {
      kxmatrix place;
      kxmatrix::Multiply4x4(&place, &W, &Airbrake->Matrix);
      brakeArea = Airbrake->ProjectedArea({1.0f, 0.0f, 0.0f, 0.0f}, place);
    }
    SectionAirbrakeCd[i] = SectionArea[i] > 0.0f ? AirbrakeCd * brakeArea / SectionArea[i] : 0.0f;
  }
  AnalyseMesh();
  FinishAnalysis();
}

void kxdwing00::AnalyseMesh() {
  // A part without a usable hinge frame keeps its mesh and Matrix.
  if (Geometry) HingeParts(Geometry, {Aileron, Flap, Flap1}, kFacingMain, true);
}
