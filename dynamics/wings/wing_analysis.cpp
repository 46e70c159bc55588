#include "dynamics/wings/wing_analysis.h"

#include <cmath>

#include "core/hooks.h"
#include "dynamics/joint.h"
#include "dynamics/wings/wing.h"
#include "graphics/geometric_object.h"
#include "graphics/geometry_math.h"

namespace kxdwinganalysis {

namespace {

constexpr float kLiftPerWidth = 0.8f;
constexpr float kDragPerWidth = 1.7f;
constexpr float kDragExponent = 2.38f;
constexpr float kMomentFactor = 0.25f;

}  // namespace

int Cut(const kxgeometricobject* tree, const kxvector4r& point, const kxvector4r& normal, const kxmatrix& M,
        std::vector<kxvector4r>& cut) {
  cut.clear();
  if (!tree) return 0;
  return tree->CutByPlane(point, normal, cut, M);
}

int Extremes(const std::vector<kxvector4r>& cut, const kxvector4r& dir, kxvector4r* lo, kxvector4r* hi) {
  if (cut.empty()) return 0;
  // The search starts at +-1000 m; seed both with the first point so a
  // wing far from the origin still gets its pair.
  kxvector4r a = cut[0], b = cut[0];
  geometry::ExtremePoints(static_cast<int>(cut.size()), cut.data(), dir, &a, &b);
  *lo = a;
  *hi = b;
  return 1;
}

int ChordAngle(const kxgeometricobject* tree, const kxvector4r& point, const kxvector4r& s, const kxmatrix& W,
               const kxvector4r& probe, std::vector<kxvector4r>& cut, kxvector4r* c, float* angle) {
  Cut(tree, point, s, W, cut);
  kxvector4r lo, hi;
  if (!Extremes(cut, probe, &lo, &hi)) return 0;
  kxvector4r chord;
  kxvector4r::Subtract(chord, hi, lo);
  kxvector4r::Normalise(chord);
  if (chord.x == 0.0f || !Finite(chord)) return 0;
  kxvector4r u = Unit({0.0f, -s.z, s.y, 0.0f});
  if (u.z < 0.0f) u *= -1.0f;
  if (c) *c = chord;
  *angle = std::atan(kxvector4r::Dot(u, chord) / chord.x);
  return 1;
}

void PrincipalAxes(const kxgeometricobject* geometry, kxvector4r* first, kxvector4r* second) {
  kxmatrix identity;
  kxmatrix::SetIdentity(&identity);
  float unit[16];
  geometry->SurfaceInertia(unit, identity);
  *first = {0.0f, 0.0f, 1.0f, 0.0f};
  *second = {1.0f, 0.0f, 0.0f, 0.0f};
  kxvector4r third;
  geometry::PrincipalAxis(&third, second, unit, first);
}

kxvector4r Blend(float a, const kxvector4r& s, float b, const kxvector4r& t) {
  return {a * s.x + b * t.x, a * s.y + b * t.y, a * s.z + b * t.z, a * s.w + b * t.w};
}

float Distance(const kxvector4r& a, const kxvector4r& b) {
  kxvector4r d;
  kxvector4r::Subtract(d, a, b);
  return std::sqrt(kxvector4r::Dot(d, d));
}

kxvector4r Unit(kxvector4r v) {
  kxvector4r::Normalise(v);
  return v;
}

bool Finite(const kxvector4r& v) {
  return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z) && std::isfinite(v.w);
}

surfacefactors SurfaceFactors(int hits, float chordSum, float sectionChord, float effect) {
  surfacefactors f;
  f.width = static_cast<float>(hits) * kStationStep;
  float mean = hits > 0 ? chordSum / static_cast<float>(hits) : 0.0f;
  // A section without chord has no share to give.
  f.ratio = sectionChord > 0.0f && std::isfinite(sectionChord) ? mean / sectionChord : 0.0f;
  f.alpha = effect * f.ratio * f.width;
  f.cl = kLiftPerWidth * effect * f.width;
  f.cd = kDragPerWidth * f.width * std::pow(f.ratio, kDragExponent);
  f.cm = kMomentFactor * effect * (kLiftPerWidth * effect * f.width) * (f.ratio - 1.0f) * f.width;
  return f;
}

void StoreFactors(const surfacefactors& f, int i, float* alpha, float* cl, float* cd, float* cm) {
  alpha[i] = f.alpha;
  cl[i] = f.cl;
  cd[i] = f.cd;
  cm[i] = f.cm;
}

}  // namespace kxdwinganalysis

using namespace kxdwinganalysis;

void kxdwing::ResetAxes(bool upright) {
  B.X = {1.0f, 0.0f, 0.0f, 0.0f};
  B.Y = upright ? kxvector4r{0.0f, 0.0f, -1.0f, 0.0f} : kxvector4r{0.0f, 1.0f, 0.0f, 0.0f};
  B.Z = upright ? kxvector4r{0.0f, 1.0f, 0.0f, 0.0f} : kxvector4r{0.0f, 0.0f, 1.0f, 0.0f};
}

int kxdwing::StartAnalysis(bool upright) {
  if (!Geometry || !Geometry->mesh) return 0;
  kxmatrix identity;
  kxmatrix::SetIdentity(&identity);
  Geometry->Rebuild();
  ResetAxes(upright);
  kxvector4r centroid;
  if (Geometry->SurfaceCentroid(&centroid, identity) > 0.0f) B.R = centroid;
  B.R.w = 1.0f;
  if (!LayOut()) return 0;
  Geometry->SetOwner(this);
  return 1;
}

void kxdwing::LayOutAgain(const kxvector4r& x, const kxvector4r& y, const kxvector4r& z) {
  if (Finite(x) && Finite(y) && Finite(z)) {
    B.X = x;
    B.Y = y;
    B.Z = z;
  }
  Geometry->Rebuild();
  LayOut();
}

kxvector4r kxdwing::SpanAxis() const {
  kxvector4r s = {0.0f, B.Z.z, -B.Z.y, 0.0f};
  kxvector4r toCentre;
  kxvector4r::Subtract(toCentre, B.R, RootR);
  if (kxvector4r::Dot(toCentre, s) < 0.0f) s *= -1.0f;
  return s;
}

void kxdwing::FinishAnalysis() {
  if (RangeSpanMax < kRangeUnset) {
    RangeSpanMax = 2.0f * WingSpan;
    RangeSpanMin = 0.5f * WingSpan;
  }
  FillMassRange();
  RootR.w = 1.0f;
  if (kxdjoint00* joint = kxdjoint00::FindByBody1(parent, this)) joint->B.R = RootR;
}

void kxdwing::MeasureSpan(const kxvector4r& s, const kxmatrix& W) {
  Geometry->FarthestVertex(s, &TipPoint, W);
  kxvector4r rootToTip;
  kxvector4r::Subtract(rootToTip, TipPoint, RootR);
  WingSpan = kxvector4r::Dot(rootToTip, s);
  WingArea = Geometry->ProjectedAreaBeyond(B.Z, RootR, s, W);
  if (WingArea > 0.0f) AspectRatio = 2.0f * WingSpan * WingSpan / WingArea;
}

int kxdwing::PointsCoincide(kxvector4r a0, kxvector4r a1, kxvector4r a2, kxvector4r b0, kxvector4r b1,
                            kxvector4r b2) {
  return kxdwinganalysis::PointsCoincide(a0, a1, a2, b0, b1, b2);
}

int kxdwing::LayOut() {
  if (!Geometry || !Geometry->ApplyFrame(B)) return 0;
  kxmatrix identity;
  kxmatrix::SetIdentity(&identity);
  float unit[16];
  if (!(Geometry->SurfaceInertia(unit, identity) > 0.0f)) return 1;
  for (float v : unit) {
    if (!std::isfinite(v)) return 1;
  }
  for (int i = 0; i < 16; ++i) Inertia[i] = Mass * unit[i];
  // The body keeps its mass in element 15.
  Inertia[15] = Mass;
  return 1;
}
