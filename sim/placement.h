// Putting a player's aircraft into the scenery: at a start position when the
// simulation is entered or the player steps to the next one, back onto the
// ground after a crash or a reset (the ground rule), or anywhere in the air;
// and the collision bodies of its rotating parts with their pairs against
// the balloons of the scenery's balloon-pop contests.
#pragma once

#include "core/matrix.h"

class kxgeometricobject;
struct kxdflightstate;
struct simplayer;

namespace sim {

constexpr float kPlayerSpacing = 4.0f;        // m either side of the start position with two players
constexpr float kGroundRuleHeight = 1.0f;     // m; a lowest point nearer the ground is put onto it
constexpr float kStartViewerHeight = 1.8f;    // m above the aircraft
constexpr float kHeliViewerBack = 5.0f;       // m behind a helicopter
constexpr float kHeliViewerSide = 0.5f;       // m to its left
constexpr int kRotatingPairs = 1024;          // part-balloon pair records per aircraft

// A level frame at position whose nose (X) is turned by heading degrees
// from +x towards -y, as the scenery's start and contest headings are given.
kxmatrix HeadingFrame(float headingDegrees, const float position[3]);
// Places aircraft (and with placeViewer the viewer) at the first start
// position from index on that admits the aircraft's kind; searches at most
// start_count entries, then takes entry 0. Returns the index used.
int PlaceAtStart(int index, simplayer* player, int placeViewer);
// The ground rule, then SetAircraftPose. frame's height may be changed.
void ResetAircraft(simplayer* player, kxmatrix* frame, const float velocity[4]);
// Places the aircraft as given (frame, velocity m/s) and rebuilds its
// rotating-part bodies and balloon pairs.
void SetAircraftPose(simplayer* player, const kxmatrix& frame, const float velocity[4]);
// Appends the leaves below and including object that are meshed parts of a
// rotor or propeller with a convex hull: their mesh and the frame their body
// follows. At most 32; a part beyond is logged once per call and left out.
// shapes is the same tree in the aircraft's geometry template (or null): the
// drawn tree's rotor and propeller parts have no mesh of their own (their
// components draw them), so a part without one takes its counterpart's.
void CollectRotatingParts(kxgeometricobject* object, void** meshes, float** frames, int* count,
                          const kxgeometricobject* shapes = nullptr);
// Frees the flight state's rotating-part bodies.
void FreeRotatingBodies(kxdflightstate* state);

}  // namespace sim
