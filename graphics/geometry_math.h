// Geometry helpers of the mesh analyses: extreme points along a direction,
// principal axes by power iteration, the axes of a wing or blade section
// from its cut segments, and the segment-triangle test used by picking.
#pragma once

#include "core/vector.h"

namespace geometry {

constexpr int kMaxPowerRounds = 1000;        // per vector
constexpr float kPowerTolerance = 1e-6f;     // change at which the iteration stops
constexpr float kSectionSampleStep = 0.001f; // m between section samples
constexpr int kMaxSectionSamples = 100000;   // per segment

// Among count points, the one with the smallest projection on dir.xyz into
// min and the largest into max (starts 1000 / -1000, strict comparisons).
// Writes nothing with count < 1 or where no point beats the start value.
void ExtremePoints(int count, const kxvector4r* pts, const kxvector4r& dir, kxvector4r* min, kxvector4r* max);

// Power iteration on the 3x3 part of M (16 floats): first becomes the
// dominant eigenvector, second the next one (first's component removed),
// third := second x first. A zero or non-finite product keeps the vector it
// started from. 1, or 0 when an iteration hit the round cap.
int PrincipalAxis(kxvector4r* third, kxvector4r* second, const float M[16], kxvector4r* first);

// Axes of a section given as n segments (pairs of points): samples them,
// builds the second moment about their mean in inertia form and runs
// PrincipalAxis with c first, b second and a third. Nothing changes for n <= 0.
int SectionAxes(int n, const kxvector4r* segs, kxvector4r* a, kxvector4r* b, kxvector4r* c);

// One-sided: a hit needs the segment to meet the counter-clockwise front of
// ABC, (s1 - s0) . ((B - A) x (C - A)) < 0. 1 and hit (w 1), else 0.
int IntersectSegmentTriangle(kxvector4r* hit, const kxvector4r& s0, const kxvector4r& s1, const kxvector4r& A,
                             const kxvector4r& B, const kxvector4r& C);

}  // namespace geometry
