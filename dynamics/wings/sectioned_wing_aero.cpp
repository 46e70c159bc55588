// Force pass of the sectioned wings (kxdwing10, kxdwing11, kxdwing12): each
// section's flow through the air, its airfoil's coefficients shifted by the
// flap, and the lift, drag and pitching moment summed into the body.
#include <algorithm>
#include <cmath>

#include "dynamics/instance.h"
#include "dynamics/wings/airfoil.h"
#include "dynamics/wings/section_flow.h"
#include "dynamics/wings/sectioned_wing.h"

using namespace kxdsectionflow;

void kxdwing10::ComputeChange(kxdintegrable* change, int flag) {
  RunSectionPass(this);
  kxdbody::ComputeChange(change, flag);
}

// Section i's coefficients for a flow with parts dn and ds along its normal
// and span: the table at the flap's shifted direction, the flap's
// increments, sideslip and the induced drag induced(cl).
template <class Induced>
kxdsectioncoefficients kxdwing10::Coefficients(int i, bool flap, float delta, float dn, float dc, float ds,
                                               Induced induced) const {
  float a = flap ? -(dn - FlapRotation * SectionFlapAlpha[i] * delta) : -dn;
  kxdsectioncoefficients k = Lookup(SectionAirfoil[i], a, dc);
  if (flap) {
    k.cl += SectionFlapCl[i] * delta;
    k.cd += SectionFlapCd[i] * delta * delta;
    k.cm += SectionFlapCm[i] * delta;
  }
  k.cl *= 1.0f - ds * ds;
  k.cd += induced(k.cl);
  return k;
}

template <class Frame>
void kxdwing10::SectionPass(const Frame& frame) {
  float delta = 0.0f;
  bool flap = LinkValue(FlapLink, delta);
  // A wing outside an aircraft feels no wash.
  kxvector4r wash = frame.Wash(Instance ? Instance->Slipstream : kxvector4r{0.0f, 0.0f, 0.0f, 0.0f});
  float aspect = AspectRatio;
  for (int i = 0; i < frame.Count(SectionCount()); ++i) {
    if (!SectionAirfoil[i]) continue;
    SectionR[i].w = 1.0f;
    kxvector4r v = frame.Flow(i);
    SubtractWash(v, wash, PropWashFactor);
    kxvector4r d;
    float speed = SpeedAndDirection(v, &d);
    // A broken motion or air field gives the section no force at all.
    if (!std::isfinite(speed)) continue;
    kxvector4r c = frame.Chord(i), s = frame.Span(i), n = frame.Normal(i);
    float dc = kxvector4r::Dot(d, c), ds = kxvector4r::Dot(d, s), dn = kxvector4r::Dot(d, n);
    kxdsectioncoefficients k =
        Coefficients(i, flap, delta, dn, dc, ds, [&frame, aspect](float cl) { return frame.Induced(cl, aspect); });
    frame.AddLoads(i, k, SectionArea[i], SectionChord[i], v, d, speed, n, dn, dc, s);
  }
}

void kxdwing10::FoldedWash(const kxdfold& fold, kxdsectionrows& rows, const kxvector4r& wash) {
  const int count = std::min(SectionCount(), fold.sections);
  for (int i = 0; i < count; ++i) {
    if (!SectionAirfoil[i]) continue;
    rows.SubtractWash(fold.firstRow + i, wash, PropWashFactor);
  }
}

void kxdwing10::FoldedCoefficients(const kxdfold& fold, kxdsectionrows& rows, float* area, float* chord) {
  float delta = 0.0f;
  bool flap = LinkValue(FlapLink, delta);
  const int count = std::min(SectionCount(), fold.sections);
  const float induced = fold.induced;
  for (int i = 0; i < fold.sections; ++i) {
    const int r = fold.firstRow + i;
    area[i] = SectionArea[i];
    chord[i] = SectionChord[i];
    rows.active[r] = 0;
    if (i >= count || !SectionAirfoil[i]) continue;
    SectionR[i].w = 1.0f;
    // A broken motion or air field gives the section no force at all.
    if (!std::isfinite(rows.speed[r])) continue;
    kxdsectioncoefficients k = Coefficients(i, flap, delta, rows.dn[r], rows.dc[r], rows.ds[r],
                                            [induced](float cl) { return cl * cl * induced; });
    rows.cl[r] = k.cl, rows.cd[r] = k.cd, rows.cm[r] = k.cm;
    rows.active[r] = 1;
  }
}
