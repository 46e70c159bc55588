// Force pass of the main wing kxdwing00: the sectioned wing's flow and table
// lookup, corrected for aileron, both flaps and airbrake, sideslip, the
// fuselage ahead of the root section and induced drag.
#include <algorithm>
#include <cmath>

#include "dynamics/instance.h"
#include "dynamics/wings/airfoil.h"
#include "dynamics/wings/multi_section_wing.h"
#include "dynamics/wings/section_flow.h"

using namespace kxdsectionflow;

namespace {

constexpr float kFlapLiftFactor = 0.4f;
constexpr float kFlapDragFactor = 1.6f;

// Adds one surface's increments for deflection x.
void AddSurface(kxdsectioncoefficients& k, float x, float cl, float cd, float cm, float liftFactor, float dragFactor) {
  k.cl += liftFactor * cl * x;
  k.cd += dragFactor * cd * x * x;
  k.cm += cm * x;
}

// The moving surfaces' link values, read once a pass.
struct surfacelinks {
  float aileron = 0.0f, flap = 0.0f, flap1 = 0.0f, brake = 0.0f;
  bool hasAileron, hasFlap, hasFlap1, hasBrake;

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

// Section i's coefficients for a flow with parts dn, dc and ds along its
// normal, chord and span: the table at the surfaces' shifted direction, the
// surfaces' increments, sideslip, the fuselage ahead of the root, and the
// induced drag induced(cl) of a flow from ahead.
template <class Induced>
kxdsectioncoefficients SectionCoefficients(const kxdwing00& w, int i, const surfacelinks& s, float dn, float dc,
                                           float ds, Induced induced) {
  float shifted = dn;
  if (s.hasAileron) shifted -= w.SectionAileronAlpha[i] * s.aileron;
  if (s.hasFlap) shifted -= w.SectionFlapAlpha[i] * s.flap;
  if (s.hasFlap1) shifted -= w.SectionFlap1Alpha[i] * s.flap1;
  kxdsectioncoefficients k = Lookup(w.SectionAirfoil[i], -shifted, dc);
  if (s.hasAileron) {
    AddSurface(k, s.aileron, w.SectionAileronCl[i], w.SectionAileronCd[i], w.SectionAileronCm[i], 1.0f, 1.0f);
  }
  if (s.hasFlap) {
    AddSurface(k, s.flap, w.SectionFlapCl[i], w.SectionFlapCd[i], w.SectionFlapCm[i], kFlapLiftFactor,
               kFlapDragFactor);
  }
  if (s.hasFlap1) {
    AddSurface(k, s.flap1, w.SectionFlap1Cl[i], w.SectionFlap1Cd[i], w.SectionFlap1Cm[i], kFlapLiftFactor,
               kFlapDragFactor);
  }
  if (s.hasBrake) {
    float t = (s.brake + 1.0f) * 0.5f;
    float kb = 1.0f - w.SectionAirbrakeCl[i] * t;
    k.cl *= kb;
    k.cm *= kb;
    k.cd += w.SectionAirbrakeCd[i] * t;
  }
  k.cl *= 1.0f - w.Cly * ds * ds;
  if (i == 0 && w.SpanDirection.y * ds < 0.0f) {
    k.cl *= std::max(0.0f, 1.0f - std::fabs(ds) * w.FuselageInterference);
  }
  if (dc > 0.0f) {
    k.cd += induced(k.cl);
    k.cd *= 1.0f - ds * ds;
  }
  return k;
}

}  // namespace

void kxdwing00::ComputeChange(kxdintegrable* change, int flag) {
  RunSectionPass(this);
  kxdbody::ComputeChange(change, flag);
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
    kxdsectioncoefficients k =
        SectionCoefficients(*this, i, links, dn, dc, ds, [&frame, aspect](float cl) { return frame.Induced(cl, aspect); });
    frame.AddLoads(i, k, SectionArea[i], SectionChord[i], v, d, speed, n, dn, dc, s);
    SectionR[i].w = 1.0f;
  }
}

void kxdwing00::FoldedWash(const kxdfold& fold, kxdsectionrows& rows, const kxvector4r& wash) {
  // Only the root section sits in the propeller's wash.
  if (std::min(SectionCount(), fold.sections) < 1 || !SectionAirfoil[0]) return;
  rows.SubtractWash(fold.firstRow, wash, PropWashFactor);
}

void kxdwing00::FoldedCoefficients(const kxdfold& fold, kxdsectionrows& rows, float* area, float* chord) {
  surfacelinks links(*this);
  const int count = std::min(SectionCount(), fold.sections);
  const float induced = fold.induced;
  for (int i = 0; i < fold.sections; ++i) {
    const int r = fold.firstRow + i;
    area[i] = SectionArea[i];
    chord[i] = SectionChord[i];
    // A broken motion or air field gives the section no force at all.
    rows.active[r] = i < count && SectionAirfoil[i] && std::isfinite(rows.speed[r]);
    if (!rows.active[r]) continue;
    kxdsectioncoefficients k = SectionCoefficients(*this, i, links, rows.dn[r], rows.dc[r], rows.ds[r],
                                                   [induced](float cl) { return cl * cl * induced; });
    rows.cl[r] = k.cl, rows.cd[r] = k.cd, rows.cm[r] = k.cm;
    SectionR[i].w = 1.0f;
  }
}
