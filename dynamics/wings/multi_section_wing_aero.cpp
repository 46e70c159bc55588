// Force pass of the main wing kxdwing00: the sectioned wing's flow and table
// lookup, corrected for aileron, both flaps and airbrake, sideslip, the
// fuselage ahead of the root section and induced drag.
#include <algorithm>
#include <array>
#include <cmath>

#include "dynamics/instance.h"
#include "dynamics/wings/airfoil.h"
#include "dynamics/wings/multi_section_wing.h"
#include "dynamics/wings/section_flow.h"

using namespace kxdsectionflow;

namespace {

constexpr float kFlapLiftFactor = 0.4f;
constexpr float kFlapDragFactor = 1.6f;

// A surface's effects on a section per unit of its link value: shift of
// the normal flow, increments of cl, cd (per square) and cm, with the
// surface's lift and drag factors.
struct surfaceunit {
  float alpha, cl, cd, cm;
};

// Section i's aileron, flap and second flap.
std::array<surfaceunit, 3> SurfaceUnits(const kxdwing00& w, int i) {
  return {{{w.SectionAileronAlpha[i], w.SectionAileronCl[i], w.SectionAileronCd[i], w.SectionAileronCm[i]},
           {w.SectionFlapAlpha[i], kFlapLiftFactor * w.SectionFlapCl[i], kFlapDragFactor * w.SectionFlapCd[i],
            w.SectionFlapCm[i]},
           {w.SectionFlap1Alpha[i], kFlapLiftFactor * w.SectionFlap1Cl[i], kFlapDragFactor * w.SectionFlap1Cd[i],
            w.SectionFlap1Cm[i]}}};
}

// Adds one surface's effects for deflection x.
void AddSurface(kxdsectionfactors& f, float x, const surfaceunit& u) {
  f.shift += u.alpha * x;
  f.addCl += u.cl * x;
  f.addCd += u.cd * x * x;
  f.addCm += u.cm * x;
}

// The moving surfaces' link values, read once a pass.
struct surfacelinks {
  float aileron = 0.0f, flap = 0.0f, flap1 = 0.0f, brake = 0.0f;
  bool hasAileron, hasFlap, hasFlap1, hasBrake;

  // No surface linked.
  surfacelinks() : hasAileron(false), hasFlap(false), hasFlap1(false), hasBrake(false) {}
  explicit surfacelinks(const kxdwing00& w)
      : hasAileron(Read(w.AileronLink, aileron)),
        hasFlap(Read(w.FlapLink, flap)),
        hasFlap1(Read(w.Flap1Link, flap1)),
        hasBrake(Read(w.AirbrakeLink, brake)) {}

  // A link's value when there is a link and a finite value (as every
  // hinged part reads it).
  static bool Read(const float* link, float& value) {
    if (!link || !std::isfinite(*link)) return false;
    value = *link;
    return true;
  }
};

// What section i's moving surfaces and the main wing's corrections make of
// its table coefficients: the surfaces' shift and increments, the
// airbrake's loss of lift, sideslip, the fuselage ahead of the root, and
// the induced drag of a flow from ahead.
kxdsectionfactors SectionFactors(const kxdwing00& w, int i, const surfacelinks& s) {
  kxdsectionfactors f;
  const std::array<surfaceunit, 3> units = SurfaceUnits(w, i);
  if (s.hasAileron) AddSurface(f, s.aileron, units[0]);
  if (s.hasFlap) AddSurface(f, s.flap, units[1]);
  if (s.hasFlap1) AddSurface(f, s.flap1, units[2]);
  if (s.hasBrake) {
    float t = (s.brake + 1.0f) * 0.5f;
    f.scale = 1.0f - w.SectionAirbrakeCl[i] * t;
    f.addCd += w.SectionAirbrakeCd[i] * t;
  }
  f.sideslip = w.Cly;
  if (i == 0) {
    f.rootSide = w.SpanDirection.y;
    f.rootLoss = w.FuselageInterference;
  }
  f.aheadOnly = 1.0f;
  return f;
}

}  // namespace

void kxdwing00::ComputeChange(kxdintegrable* change, int flag) {
  RunSectionPass(this);
  // Folded, the body's pass has work only for an unweighed mass or contact
  // points outside a clear frame.
  if (const kxdfold* fold = kxdcompiled::FoldOf(this)) {
    ActFoldedIfNeeded(*fold);
  } else {
    kxdbody::ComputeChange(change, flag);
  }
}

template <class Frame>
void kxdwing00::SectionPass(const Frame& frame) {
  surfacelinks links(*this);
  kxvector4r wash = frame.Wash(Instance ? Instance->Slipstream : kxvector4r{0.0f, 0.0f, 0.0f, 0.0f});
  for (int i = 0; i < frame.Count(SectionCount()); ++i) {
    if (!SectionAirfoil[i]) continue;
    kxvector4r v = frame.Flow(i);
    if (i == 0) {
      // Only the root section sits in the propeller's wash.
      SubtractWash(v, wash, PropWashFactor);
    }
    kxvector4r d;
    float speed = SpeedAndDirection(v, &d);
    // A broken motion or air field gives the section no force at all.
    if (!std::isfinite(speed)) continue;
    kxvector4r n = frame.Normal(i), s = frame.Span(i), c = frame.Across(i, s, n);
    float dc = kxvector4r::Dot3(c, d), ds = kxvector4r::Dot(s, d), dn = kxvector4r::Dot(n, d);
    float aspect = AspectRatio;
    kxdsectionfactors f = SectionFactors(*this, i, links);
    kxdsectioncoefficients k = Corrected(Lookup(SectionAirfoil[i], -(dn - f.shift), dc), f, dc, ds,
                                         [&frame, aspect](float cl) { return frame.Induced(cl, aspect); });
    frame.AddLoads(i, k, SectionArea[i], SectionChord[i], v, d, speed, n, dn, dc, s);
    SectionR[i].w = 1.0f;
  }
}

void kxdwing00::FoldedRows(const kxdfold& fold, kxdsectionrows& rows) {
  const int count = std::min(SectionCount(), fold.sections);
  const surfacelinks none;
  for (int i = 0; i < fold.sections; ++i) {
    const int r = fold.firstRow + i;
    const kxdairfoil* foil = i < count ? SectionAirfoil[i] : nullptr;
    // Only the root section sits in the propeller's wash.
    rows.Set(r, foil, SectionArea[i], SectionChord[i], i == 0 && foil ? PropWashFactor : 0.0f,
             SectionFactors(*this, i, none));
    const std::array<surfaceunit, 3> units = SurfaceUnits(*this, i);
    const float* links[3] = {AileronLink, FlapLink, Flap1Link};
    static_assert(kxdsectionrows::kSurfaces == 3);
    for (int k = 0; k < 3; ++k) {
      rows.SetSurface(r, k, links[k], units[k].alpha, units[k].cl, units[k].cd, units[k].cm);
    }
    rows.SetBrake(r, AirbrakeLink, SectionAirbrakeCl[i], SectionAirbrakeCd[i]);
    if (foil) SectionR[i].w = 1.0f;
  }
}
