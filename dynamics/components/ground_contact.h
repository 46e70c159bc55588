// The ground contacts of a wheel's or skid's collision box: one record per
// touched surface with its unit normal, the foot of the frame's origin on
// the surface plane and the surface code, whichever world the simulation
// runs against. Also the strike test of rotor and propeller blades.
#pragma once

#include "core/matrix.h"
#include "dynamics/world.h"

class kxgeometricobject;
class kxnode;
struct kxboxrecord;
class kxdaircraftinstance;

namespace kxdground {

constexpr int kMaxContacts = 16;    // surfaces asked for per query
constexpr int kSurfaceMask = 0x1F;  // surface code bits of a contact
constexpr int kSurfaceGrass = 3;
constexpr int kSurfaceHighGrass = 4;
constexpr int kSurfaceDirt = 5;
constexpr int kSurfaceMeadow = 6;
constexpr int kSurfaceHardRoll = 7;

// Contacts of the object's box record placed by frame: its six face centres
// (flag 1) or eight corners (flag 0). 0 without a world, an object or mesh
// bounds. The instance's near set answers when it covers the box.
int ShapeContacts(kxgeometricobject* object, const kxmatrix& frame, int flag, kxdcontact* out, int max,
                  const kxdaircraftinstance* instance);

// A strike: the six face centres of the box placed by frame asked of the
// world; 1 with the first contact in *hit, 0 without a world, mesh bounds
// or a contact.
int FacesStrike(const kxboxrecord& box, const kxmatrix& frame, kxdcontact* hit, const kxdaircraftinstance* instance);

// The first child object of g, placed by frame and its own Matrix, whose
// faces strike; null when none does.
kxgeometricobject* StruckChild(kxgeometricobject* g, const kxmatrix& frame, kxdcontact* hit,
                               const kxdaircraftinstance* instance);

// How far a box reaches from its frame's origin, summed over the axes (m):
// every turn of the frame keeps the box's points within its longest axis
// times it.
float BoxReach(const kxboxrecord& box);

// How far the strike boxes of g's child objects reach from g's origin as
// they stand (m, summed over the axes, so every turn of a frame keeps each
// point a strike test places within the frame's longest axis times it);
// NaN when not finite.
float StrikeReach(kxgeometricobject* g);

// Whether a query that reaches reach (m, as StrikeReach measures it)
// times frame's longest axis from origin lies inside the instance's clear
// sphere: then no child placed by frame (turned or not) about origin can
// strike.
bool ClearWithin(float reach, const kxmatrix& frame, const kxvector4r& origin, const kxdaircraftinstance* instance);

// The extent of a box's asks about frame's origin, as ClearWithin gives
// ClearAround; negative for a box without bounds, which asks nothing.
float BoxAskExtent(const kxboxrecord& box, const kxmatrix& frame);
// The wider of two asks' extents (AskExtent): negative when neither asks,
// NaN when either is unknown.
float WiderAsk(float a, float b);
// The extent of a strike test's asks that reach reach (StrikeReach) about
// frame's origin.
float StrikeAskExtent(float reach, const kxmatrix& frame);

// The instance a component belongs to: its own, else that of the nearest
// aircraft node above it; null outside an aircraft.
kxdaircraftinstance* InstanceOf(kxnode* component, kxdaircraftinstance* own);

}  // namespace kxdground
