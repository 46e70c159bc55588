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

kxdsectionfactors kxdwing10::Factors(int i, bool flap, float delta) const {
  kxdsectionfactors f;
  if (flap) {
    f.shift = FlapRotation * SectionFlapAlpha[i] * delta;
    f.addCl = SectionFlapCl[i] * delta;
    f.addCd = SectionFlapCd[i] * delta * delta;
    f.addCm = SectionFlapCm[i] * delta;
  }
  // Sideslip takes ds^2 of the lift; the induced drag is always added.
  f.sideslip = 1.0f;
  return f;
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
    kxdsectionfactors f = Factors(i, flap, delta);
    kxdsectioncoefficients k = Corrected(Lookup(SectionAirfoil[i], -(dn - f.shift), dc), f, dc, ds,
                                         [&frame, aspect](float cl) { return frame.Induced(cl, aspect); });
    frame.AddLoads(i, k, SectionArea[i], SectionChord[i], v, d, speed, n, dn, dc, s);
  }
}

void kxdwing10::FoldedRows(const kxdfold& fold, kxdsectionrows& rows) {
  const int count = std::min(SectionCount(), fold.sections);
  for (int i = 0; i < fold.sections; ++i) {
    const int r = fold.firstRow + i;
    const kxdairfoil* foil = i < count ? SectionAirfoil[i] : nullptr;
    // Every section with an airfoil sits in the propeller's wash.
    rows.Set(r, foil, SectionArea[i], SectionChord[i], foil ? PropWashFactor : 0.0f, Factors(i, false, 0.0f));
    rows.SetSurface(r, 0, FlapLink, FlapRotation * SectionFlapAlpha[i], SectionFlapCl[i], SectionFlapCd[i],
                    SectionFlapCm[i]);
    if (foil) SectionR[i].w = 1.0f;
  }
}
