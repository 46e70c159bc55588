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
  kxvector4r a = *lo, b = *hi;
  // The search starts at +-1000 m; seed both with the first point so a
  // wing far from the origin still gets its pair.
  a = b = cut[0];
  geometry::ExtremePoints(static_cast<int>(cut.size()), cut.data(), dir, &a, &b);
  *lo = a;
  *hi = b;
  return 1;
}

kxvector4r Blend(float a, const kxvector4r& s, float b, const kxvector4r& t) {
  return {a * s.x + b * t.x, a * s.y + b * t.y, a * s.z + b * t.z, a * s.w + b * t.w};
}

float Distance(const kxvector4r& a, const kxvector4r& b) {
  kxvector4r d;
  kxvector4r::Subtract(d, a, b);
  return std::sqrt(kxvector4r::Dot(d, d));
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

}  // namespace kxdwinganalysis

using namespace kxdwinganalysis;

void kxdwing::FinishAnalysis() {
  if (RangeSpanMax < kRangeUnset) {
    RangeSpanMax = 2.0f * WingSpan;
    RangeSpanMin = 0.5f * WingSpan;
  }
  if (RangeMassMax < kRangeUnset) {
    RangeMassMax = 2.0f * Mass;
    RangeMassMin = 0.5f * Mass;
  }
  RootR.w = 1.0f;
  if (kxdjoint00* joint = kxdjoint00::FindByBody1(parent, this)) joint->B.R = RootR;
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

const kxmatrix& kxdwing::Placement() const { return Geometry->Matrix; }
