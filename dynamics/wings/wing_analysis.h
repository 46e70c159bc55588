// Building blocks of the wing geometry analyses: the corner-contact test of
// two triangles, the hinge frame of a control surface found from its
// forward-facing hinge face, plane cuts with their extreme points, and the
// control-surface effect factors. The analyses run on the main thread, never
// inside a simulation step.
#pragma once

#include <initializer_list>
#include <vector>

#include "core/matrix.h"

class kxgeometricobject;

namespace kxdwinganalysis {

// Corners closer than this (m, over four components, strictly) touch.
constexpr float kCoincide = 0.002f;
// Facing thresholds of the hinge face: x of the unit normal must exceed it.
constexpr float kFacingMain = 0.707f;       // kxdwing00
constexpr float kFacingTail = 0.7071f;      // kxdwing10
constexpr float kFacingUpright = 0.5f;      // kxdwing11, kxdwing12, kxdwing20
constexpr int kAxisRounds = 4;              // power-iteration rounds of the hinge axis
constexpr float kThird = 0.333333f;         // centroid factor of a triangle
constexpr int kStations = 100;              // spanwise probes of a control surface
constexpr float kStationStep = 0.01f;
constexpr float kRangeUnset = 0.001f;       // a range maximum below this is unset
constexpr float kIncidenceStation = 0.2f;   // share of the span at the incidence cut

// The hinge faces are read in the wing's own frame, where the span of an
// upright wing runs along y as for a flat one; so every class takes the
// hinge X against that frame's normal z (against y a fin's hinge would
// leave no X at all).
constexpr kxvector4r kHingeReference = {0.0f, 0.0f, 1.0f, 0.0f};

// 1 when some corner of triangle a lies strictly closer than kCoincide to
// some corner of triangle b; a NaN distance is no contact.
int PointsCoincide(const kxvector4r& a0, const kxvector4r& a1, const kxvector4r& a2, const kxvector4r& b0,
                   const kxvector4r& b1, const kxvector4r& b2);

// The hinge frame of a part read through its own Matrix: origin at the
// area centroid of the largest corner-connected patch of triangles whose
// unit normal has x > facing (the first such patch on ties), Y its long
// axis after four power rounds from (0, 1, 0), X = Y x reference
// normalised, Z = X x Y. 0 (H untouched) when there is no such patch or no
// usable axis.
int FindHingeFrame(const kxgeometricobject* part, float facing, const kxvector4r& reference, kxmatrix* H);

// (W H)^-1 computed in doubles; 0 when singular or not finite.
int HingeInverse(const kxmatrix& W, const kxmatrix& H, kxmatrix* inverse);

// The part's rest mesh multiplied by inverse (no pile-up on repeated runs).
void RebaseMesh(kxgeometricobject* part, const kxmatrix& inverse);

// Gives a part the hinge frame H found against kHingeReference: its rest
// mesh re-based by (W H)^-1, which goes into inverse, and H as its Matrix.
// 0 (nothing changed) without a mesh or a usable frame.
int HingePart(kxgeometricobject* part, const kxmatrix& W, float facing, kxmatrix* inverse);

// HingePart for each listed part that is a direct child of geometry (W its
// Matrix), in child order, so a part listed twice is done once. With
// firstChild, a hinged part's first child object is re-based alike and
// gets the identity Matrix.
void HingeParts(kxgeometricobject* geometry, std::initializer_list<const kxgeometricobject*> parts, float facing,
                bool firstChild);

// The frame inverse in doubles; 0 (identity written) when singular.
int Inverse(const kxmatrix& F, kxmatrix* inverse);

// Cuts the tree by the plane through point with the given normal (tree
// placed by M) into cut (cleared first). Returns the cut triangle count.
int Cut(const kxgeometricobject* tree, const kxvector4r& point, const kxvector4r& normal, const kxmatrix& M,
        std::vector<kxvector4r>& cut);

// The extreme cut points along dir into lo and hi; nothing written for an
// empty cut. 1 when written.
int Extremes(const std::vector<kxvector4r>& cut, const kxvector4r& dir, kxvector4r* lo, kxvector4r* hi);

// The unit chord direction c (when not null) of the cut of tree (placed by
// W) by the plane through point across s, its ends searched along probe,
// and its angle (rad) above the chord plane: atan(u . c / c.x) with u the
// unit normal of s in the y-z plane, pointing up. 0 for an empty cut or a
// chord without a finite forward part.
int ChordAngle(const kxgeometricobject* tree, const kxvector4r& point, const kxvector4r& s, const kxmatrix& W,
               const kxvector4r& probe, std::vector<kxvector4r>& cut, kxvector4r* c, float* angle);

// The first two principal axes of the unit-mass surface inertia of the
// laid-out geometry in wing axes, from the start guesses z and x; a zero
// Mass in the file cannot stall the iteration.
void PrincipalAxes(const kxgeometricobject* geometry, kxvector4r* first, kxvector4r* second);

// a s + b t over four components.
kxvector4r Blend(float a, const kxvector4r& s, float b, const kxvector4r& t);

// Distance over four components.
float Distance(const kxvector4r& a, const kxvector4r& b);

// v normalised over its four components (kxvector4r::Normalise); callers
// test the result with Finite.
kxvector4r Unit(kxvector4r v);
// All four components finite.
bool Finite(const kxvector4r& v);

// The control-surface factors of one section from the probe results:
// width w = hits / 100 of the section, chord ratio r = mean surface chord /
// section chord (0 when either is 0), effect scale e (1 but for the flaps
// of the main wing).
struct surfacefactors {
  float width = 0.0f;
  float ratio = 0.0f;
  float alpha = 0.0f;
  float cl = 0.0f;
  float cd = 0.0f;
  float cm = 0.0f;
};
surfacefactors SurfaceFactors(int hits, float chordSum, float sectionChord, float effect);
// Entry i of a surface's four per-section effect arrays from f.
void StoreFactors(const surfacefactors& f, int i, float* alpha, float* cl, float* cd, float* cm);

}  // namespace kxdwinganalysis
