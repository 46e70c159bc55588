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

}  // namespace

void kxdwing00::ComputeChange(kxdintegrable* change, int flag) {
  RunSectionPass(this);
  kxdbody::ComputeChange(change, flag);
}

template <class Frame>
void kxdwing00::SectionPass(const Frame& frame) {
  float aileron = 0.0f, flap = 0.0f, flap1 = 0.0f, brake = 0.0f;
  bool hasAileron = LinkValue(AileronLink, aileron);
  bool hasFlap = LinkValue(FlapLink, flap);
  bool hasFlap1 = LinkValue(Flap1Link, flap1);
  bool hasBrake = LinkValue(AirbrakeLink, brake);
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
    float shifted = dn;
    if (hasAileron) shifted -= SectionAileronAlpha[i] * aileron;
    if (hasFlap) shifted -= SectionFlapAlpha[i] * flap;
    if (hasFlap1) shifted -= SectionFlap1Alpha[i] * flap1;
    kxdsectioncoefficients k = Lookup(SectionAirfoil[i], -shifted, dc);
    if (hasAileron) AddSurface(k, aileron, SectionAileronCl[i], SectionAileronCd[i], SectionAileronCm[i], 1.0f, 1.0f);
    if (hasFlap) AddSurface(k, flap, SectionFlapCl[i], SectionFlapCd[i], SectionFlapCm[i], kFlapLiftFactor, kFlapDragFactor);
    if (hasFlap1) {
      AddSurface(k, flap1, SectionFlap1Cl[i], SectionFlap1Cd[i], SectionFlap1Cm[i], kFlapLiftFactor, kFlapDragFactor);
    }
    if (hasBrake) {
      float t = (brake + 1.0f) * 0.5f;
      float kb = 1.0f - SectionAirbrakeCl[i] * t;
      k.cl *= kb;
      k.cm *= kb;
      k.cd += SectionAirbrakeCd[i] * t;
    }
    k.cl *= 1.0f - Cly * ds * ds;
    if (i == 0 && SpanDirection.y * ds < 0.0f) {
      k.cl *= std::max(0.0f, 1.0f - std::fabs(ds) * FuselageInterference);
    }
    if (dc > 0.0f) {
      k.cd += frame.Induced(k.cl, AspectRatio);
      k.cd *= 1.0f - ds * ds;
    }
    frame.AddLoads(i, k, SectionArea[i], SectionChord[i], v, d, speed, n, dn, dc, s);
    SectionR[i].w = 1.0f;
  }
}
