// Force pass of the sectioned wings (kxdwing10, kxdwing11, kxdwing12): each
// section's flow through the air, its airfoil's coefficients shifted by the
// flap, and the lift, drag and pitching moment summed into the body.
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

template <class Frame>
void kxdwing10::SectionPass(const Frame& frame) {
  float delta = 0.0f;
  bool flap = LinkValue(FlapLink, delta);
  // A wing outside an aircraft feels no wash.
  kxvector4r wash = frame.Wash(Instance ? Instance->Slipstream : kxvector4r{0.0f, 0.0f, 0.0f, 0.0f});
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
    float a = flap ? -(dn - FlapRotation * SectionFlapAlpha[i] * delta) : -dn;
    kxdsectioncoefficients k = Lookup(SectionAirfoil[i], a, dc);
    if (flap) {
      k.cl += SectionFlapCl[i] * delta;
      k.cd += SectionFlapCd[i] * delta * delta;
      k.cm += SectionFlapCm[i] * delta;
    }
    k.cl *= 1.0f - ds * ds;
    k.cd += frame.Induced(k.cl, AspectRatio);
    frame.AddLoads(i, k, SectionArea[i], SectionChord[i], v, d, speed, n, dn, dc, s);
  }
}
