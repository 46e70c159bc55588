// The section flow shared by the wing force passes: the motion of a section
// point through the air, and the coefficients an airfoil's direction tables
// give for a flow split into its chord (b) and reversed normal (a) parts.
#pragma once

#include <algorithm>
#include <cfloat>
#include <cmath>

#include "core/matrix.h"
#include "dynamics/air_model.h"
#include "dynamics/compiled.h"

class kxdairfoil;
class kxdbody;

struct kxdsectioncoefficients {
  float cl = 0.0f;  // lift
  float cd = 0.0f;  // drag
  float cm = 0.0f;  // moment about the span axis, nose up positive
};

namespace kxdsectionflow {

using kxdynamics::kHalfAirDensity;
// Induced drag cl^2 * 1.2 / (3.1415 * aspect ratio): the divisor's factor
// of the aspect ratio is the formula's own, close to pi but not pi.
constexpr float kInducedFactor = 1.2f;
constexpr float kInducedAspectFactor = 3.1415f;

// The helpers of the section passes are always inlined: they run once a
// section, and the folded rows' pass (kxdsectionflow::RunSegment) works
// four sections in each of their steps.
#define KXD_ROW_INLINE [[gnu::always_inline]] inline

// Direction index of the flow (a = -normal, b = chord) without any
// trigonometry: four quarter turns of atan2(a, b), each +-45 degrees wide,
// centred on 200, 600, 1000 and 1400. -1 on the diagonals |a| = |b|
// (a = b = 0 among them) and for a non-finite part: no table entry then.
// Written without branches, as the folded rows' pass works it four
// sections at a time (the same steps, so the same results).
KXD_ROW_INLINE float DirectionIndex(float a, float b) {
  constexpr float kIndexScale = 100.0f;
  constexpr float kAhead = 200.0f, kBelow = 600.0f, kBehind = 1000.0f, kAbove = 1400.0f;
  const float fa = __builtin_fabsf(a), fb = __builtin_fabsf(b);
  // Nearer the chord than the normal: a / b about ahead or behind; else
  // -b / a about below or above.
  const bool chordwise = fa < fb;
  const float num = chordwise ? a : -b;
  const float centre = chordwise ? (b > 0.0f ? kAhead : kBehind) : (a > 0.0f ? kBelow : kAbove);
  const bool some = fa != fb && fa <= FLT_MAX && fb <= FLT_MAX;
  const float den = chordwise ? b : a;
  const float index = (num / (some ? den : 1.0f)) * kIndexScale + centre;
  return some ? index : -1.0f;
}

// The coefficients k a table gave for a section, corrected as its factors
// f say (kxdsectionfactors) for a flow with parts dc and ds along chord and
// span; induced(cl) is the induced drag.
template <class Induced>
KXD_ROW_INLINE kxdsectioncoefficients Corrected(kxdsectioncoefficients k, const kxdsectionfactors& f, float dc, float ds,
                                        Induced induced) {
  float cl = (k.cl + f.addCl) * f.scale;
  float cm = (k.cm + f.addCm) * f.scale;
  float cd = k.cd + f.addCd;
  cl *= 1.0f - f.sideslip * ds * ds;
  const float loss = 1.0f - __builtin_fabsf(ds) * f.rootLoss;
  const float root = loss > 0.0f ? loss : 0.0f;
  cl *= f.rootSide * ds < 0.0f ? root : 1.0f;
  const bool ahead = f.aheadOnly != 0.0f;
  const float withInduced = (cd + induced(cl)) * (ahead ? 1.0f - ds * ds : 1.0f);
  cd = !ahead || dc > 0.0f ? withInduced : cd;
  return {cl, cd, cm};
}

// Interpolated table coefficients at the direction of (a, b); all zero when
// DirectionIndex gives -1 or there is no airfoil.
kxdsectioncoefficients Lookup(const kxdairfoil* airfoil, float a, float b);

// Velocity of a body point p (body axes, w 1 for a point) through the air:
// the point's velocity minus the owner's air velocity there. world receives
// the point in world axes.
kxvector4r PointFlow(const kxdbody* body, const kxvector4r& p, kxvector4r* world);

// Takes share times the propeller's wash off the section flow v.
void SubtractWash(kxvector4r& v, const kxvector4r& wash, float share);

// The flow's speed (m/s), and its unit direction into d: zero for still
// air. A non-finite speed means a broken motion or air field; d is then
// meaningless.
float SpeedAndDirection(const kxvector4r& v, kxvector4r* d);

// Induced drag coefficient; 0 for an aspect ratio that is not positive and
// finite (a wing the analysis never saw).
float InducedDrag(float cl, float aspectRatio);

// The loads of coefficients k on a section of area (m^2) and chord (m) at
// point p (body axes) into the body's accumulators: lift across the flow
// direction d on the normal n's side (dn = n . d), turned over for a flow
// from behind (dc < 0); drag against the flow v (m/s) at speed; and the
// moment about the span axis s. n, s, v and d are in world axes.
void AddSectionLoads(kxdbody* body, const kxdsectioncoefficients& k, float area, float chord, const kxvector4r& p,
                     const kxvector4r& v, const kxvector4r& d, float speed, const kxvector4r& n, float dn, float dc,
                     const kxvector4r& s);
// The force of those loads (into f, the axes of v, d and n) and the moment
// (N m, about the span axis) that AddSectionLoads applies.
void SectionForce(const kxdsectioncoefficients& k, float area, float chord, const kxvector4r& v, const kxvector4r& d,
                  float speed, const kxvector4r& n, float dn, float dc, kxvector4r* f, float* m);

// A wing's force pass in world axes, from the wing's own frame and section
// records: the section flow, the section axes, the wash, and a section's
// loads on the wing's body. A folded wing is worked in its segment
// (RunSegment) instead.
struct ownframe {
  kxdbody* body;
  const kxvector4r* point;  // SectionR
  const kxvector4r* chord;  // SectionX
  const kxvector4r* span;   // SectionY
  const kxvector4r* normal; // SectionZ

  int Count(int sections) const { return sections; }
  kxvector4r Wash(const kxvector4r& wash) const { return wash; }
  kxvector4r Flow(int i) const {
    kxvector4r world;
    return PointFlow(body, point[i], &world);
  }
  kxvector4r Chord(int i) const { return Turned(chord[i]); }
  kxvector4r Span(int i) const { return Turned(span[i]); }
  kxvector4r Normal(int i) const { return Turned(normal[i]); }
  kxvector4r Across(int, const kxvector4r& s, const kxvector4r& n) const {
    kxvector4r c;
    kxvector4r::Cross(c, s, n);
    return c;
  }
  float Induced(float cl, float aspectRatio) const { return InducedDrag(cl, aspectRatio); }
  kxvector4r Turned(const kxvector4r& v) const;
  void AddLoads(int i, const kxdsectioncoefficients& k, float area, float chord, const kxvector4r& v,
                const kxvector4r& d, float speed, const kxvector4r& n, float dn, float dc, const kxvector4r& s) const {
    AddSectionLoads(body, k, area, chord, point[i], v, d, speed, n, dn, dc, s);
  }
};

// The sections of a segment of folded wings in their free carrier's axes:
// the links read, then one pass over the rows four at a time: the flow
// less the wash, speed, direction and its table entry, the table read, the
// coefficients corrected by the rows' factors, the loads on the carrier.
void RunSegment(kxdsectionsegment& segment);

// A wing's section pass in the axes the driver has it in: its free
// carrier's while it is folded (with the other wings of its segment), the
// world's otherwise.
template <class Wing>
[[gnu::noinline]] void RunOwnFrame(Wing* wing) {
  wing->SectionPass(ownframe{wing, wing->SectionR, wing->SectionX, wing->SectionY, wing->SectionZ});
}

// The own-frame pass is kept out of line: inlined, its room on the stack
// and saved registers would be paid by every folded wing, which only
// starts its segment.
template <class Wing>
void RunSectionPass(Wing* wing) {
  if (const kxdfold* fold = kxdcompiled::FoldOf(wing)) {
    // The first wing of a segment works the sections of all of them.
    if (fold->leads) RunSegment(*fold->segment);
  } else {
    RunOwnFrame(wing);
  }
}

}  // namespace kxdsectionflow
