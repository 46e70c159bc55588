// kxdwing: what the five wing classes share - the root and span values the
// analyses find, the eight-entry section record with its indexed keys, the
// turning of hinged parts from their rest axes, and the
// re-basing of the wing's mesh in its own frame when the simulation stops.
#pragma once

#include "core/matrix.h"
#include "dynamics/body.h"

class kxdairfoil;
class kxgeometricobject;
class kxout;
struct kxdsectionrows;

// Gives the core's total wing area the wing's WingArea field: the field
// hides the name in the wing classes, so the override lives one step below.
class kxdwingarea : public kxdbody {
 public:
  float WingArea() const final { return AreaM2(); }

 protected:
  virtual float AreaM2() const = 0;
};

class kxdwing : public kxdwingarea {
 public:
  static constexpr int kMaxSections = 8;

  // The node as one of the five wing classes, else null. The registry gives
  // every wing the base kxdbody, so the test is by exact type.
  static kxdwing* As(kxnode* node);

  // Restores the mesh of the wing's geometry object, expresses it in the
  // wing's frame and sets the object's Matrix to that frame; children first.
  void UpdateGraphics() override;

  // A wing's force pass works in its free carrier's axes when folded; its
  // own frame then serves only drawing.
  bool FrameInSubsteps() const override { return false; }
  // Folded, only the first wing of a segment works the sections.
  int SubstepPasses(const kxdfold* fold) const override;
  // The sections' force points and axes in the carrier's axes.
  void FoldSections(kxdfold& fold) const override;
  // A folded wing's share of its segment's pass (kxdsectionflow::RunSegment),
  // once, before its first substep: its rows' sections, wash shares,
  // factors and the links of its moving surfaces (kxdsectionrows). Without
  // a class of its own, no row puts a load on.
  virtual void FoldedRows(const kxdfold& fold, kxdsectionrows& rows);

  // Sections clamped to 0..kMaxSections: every loop runs over this.
  int SectionCount() const;
  // SectionCount of a wing, for the key tables' section rows.
  static int SectionsOf(const kxnode* wing);
  // The section keys every wing class answers, their lines and what a
  // clone gets of the sections in use; the values the analyses find.
  static const kxdkeytable SectionKeys;

  // 1 when two triangles touch at a corner (closer than 0.002 m).
  static int PointsCoincide(kxvector4r a0, kxvector4r a1, kxvector4r a2, kxvector4r b0, kxvector4r b1,
                            kxvector4r b2);

  kxvector4r RootR;          // m, wing axes; input of the analysis
  kxvector4r RootN;          // stored, written and copied only
  kxvector4r TipPoint;       // m; mesh vertex farthest along SpanDirection
  kxvector4r SpanDirection;  // from the root toward the tip, w 0
  float WingArea;            // m^2, from the analysis
  float WingSpan;            // m, from the analysis
  float AspectRatio;         // from the analysis; divides the induced drag
  float Dihedral;            // rad, from the analysis
  float Incidence;           // rad, from the analysis
  float RangeSpanMax;        // m, the designer's span range
  float RangeSpanMin;
  float PropWashFactor;      // share of the propeller wash in the section flow
  int Sections;              // sections in use; read through SectionCount()
  kxvector4r SectionR[kMaxSections];  // m, force point, w 1
  kxvector4r SectionX[kMaxSections];  // chord axis toward the leading edge
  kxvector4r SectionY[kMaxSections];  // span axis, axis of the moment
  kxvector4r SectionZ[kMaxSections];  // normal on the lifting side
  float SectionArea[kMaxSections];    // m^2
  float SectionChord[kMaxSections];   // m
  kxdairfoil* SectionAirfoil[kMaxSections];  // shared airfoil; null: no force
  int RestTaken;             // 1 once Prepare has captured the rest axes

 protected:
  kxdwing();
  float AreaM2() const override { return WingArea; }

  // The flat axes, or the upright ones (normal along y, span along -z).
  void ResetAxes(bool upright);
  // The opening of the measuring analyses: the geometry rebuilt, the axes
  // reset at the mesh's surface centroid, the mesh laid out in that frame
  // and owned by the wing. 0 without a meshed geometry or for a frame the
  // layout refuses.
  int StartAnalysis(bool upright);
  // The principal axes x, y, z into B when all are finite; then the
  // rebuilt geometry laid out again in the frame.
  void LayOutAgain(const kxvector4r& x, const kxvector4r& y, const kxvector4r& z);
  // The span direction the analyses start from: across the normal B.Z in
  // the y-z plane, pointing from RootR toward the centroid B.R.
  kxvector4r SpanAxis() const;
  // The tail of every analysis: unset span and mass ranges from WingSpan
  // and Mass, RootR.w := 1, and the joint holding the wing to RootR.
  void FinishAnalysis();
  // TipPoint, WingSpan, WingArea and AspectRatio of the laid-out geometry
  // (placed by W) along the span direction s, measured from RootR.
  void MeasureSpan(const kxvector4r& s, const kxmatrix& W);
  // Lays the geometry out in frame B and sets Inertia for Mass spread over
  // the surface, in B's axes about R; 0 (nothing changed) for a bad frame.
  int LayOut();

  // Section entry i to the defaults of a new wing.
  void ResetSection(int i);

  // Rest frames of the moving parts, taken by Prepare: a part's axes, its
  // position; nothing for a null part or one without those pointers.
  static void TakeAxes(const kxgeometricobject* part, kxvector4r& x, kxvector4r& y, kxvector4r& z);
  static void TakePosition(const kxgeometricobject* part, kxvector4r& rest);
  // The moves UpdateVisual makes from the rest frames by a link's value;
  // none happens before Prepare took the rest frames, without a part, or
  // without a link giving a finite value.
  //
  // The rest axes turned about the rest y by the value (radians) into the
  // part's axes; 1 when they were written.
  int TurnByLink(kxgeometricobject* part, const kxvector4r& x, const kxvector4r& y, const kxvector4r& z,
                 const float* link) const;
  // The turn, then the rest position r moved by the value times displacement.
  void TurnAndSlideByLink(kxgeometricobject* part, const kxvector4r& x, const kxvector4r& y, const kxvector4r& z,
                          const kxvector4r& r, const kxvector4r& displacement, const float* link) const;
  // The rest position r moved along z by (value + 1) / 2 times displacement
  // (m): -1 is retracted, +1 fully out.
  void SlideOutByLink(kxgeometricobject* part, const kxvector4r& r, float displacement, const float* link) const;
  // The value a link points at, when there is a link and a finite value.
  static bool LinkValue(const float* link, float& value);

};

// Rows the two main wings (kxdwing00, kxdwing20) share: the head of their
// files, and the effect values of their common layout that a clone gets.
template <class W>
struct kxdmainwingkeys {
  static constexpr int kSections = kxdwing::kMaxSections;
  static constexpr kxdkey head[] = {
      kxdkeys::Count("Sections ", KXD_AT(W, Sections), kSections, kxdkeys::kNamed),
      KXD_KEY(W, RootR, kxdkeys::kVector4f, kxdkeys::kCopy, kxdkeys::kNamed),
      KXD_KEY(W, RootN, kxdkeys::kVector4f, kxdkeys::kCopy, kxdkeys::kNamed),
      KXD_KEY(W, PropWashFactor, kxdkeys::kReal, kxdkeys::kCopy, kxdkeys::kNamed),
      KXD_KEY(W, FuselageInterference, kxdkeys::kReal, kxdkeys::kCopy, kxdkeys::kNamed),
      KXD_KEY(W, Cly, kxdkeys::kReal, kxdkeys::kCopy, kxdkeys::kNamed),
      // The designer's ranges stay with the template.
      KXD_KEY(W, RangeSpanMax, kxdkeys::kReal, kxdkeys::kNone, kxdkeys::kNamed),
      KXD_KEY(W, RangeSpanMin, kxdkeys::kReal, kxdkeys::kNone, kxdkeys::kNamed),
  };
#define KXD_SECTIONS(member) \
  kxdkeys::Field(kxdkeys::kCopy, KXD_EACH(W, member), sizeof(float), kSections, kxdwing::SectionsOf)
  static constexpr kxdkey layout[] = {
      KXD_SECTIONS(SectionAileronAlpha), KXD_SECTIONS(SectionAileronCl), KXD_SECTIONS(SectionAileronCd),
      KXD_SECTIONS(SectionAileronCm),    KXD_SECTIONS(SectionFlapAlpha), KXD_SECTIONS(SectionFlapCl),
      KXD_SECTIONS(SectionFlapCd),       KXD_SECTIONS(SectionFlapCm),    KXD_SECTIONS(SectionAirbrakeCl),
      KXD_SECTIONS(SectionAirbrakeCd),
      kxdkeys::Field(kxdkeys::kCopy, KXD_AT(W, Washout), sizeof(float)),
      kxdkeys::Field(kxdkeys::kCopy, KXD_AT(W, SpanDirection), sizeof(kxvector4r)),
  };
#undef KXD_SECTIONS
  static constexpr kxdkeytable Head{head};
  static constexpr kxdkeytable Layout{layout};
};
