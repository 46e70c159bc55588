// How a legacy model touches the scenery: only through line segments. The
// body and each wheel and tip own points of the model's contact table, each
// holding one segment in world coordinates; once per frame the faces near
// the model are gathered from the scenery's collision world, and once per
// substep the segments are roughened by a small bump pattern and crossed
// with those faces, up to two contacts per segment.
#pragma once

#include "legacy/records.h"

struct kxcollision;

namespace dnsmodel {

constexpr float kGatherRadius = 5.0f;   // m, half-size of the box gathered around the model

// Fills the world's nearFaces with the static faces of the cells under nine
// probe points of the box c +- r (moved into the world's box) that lie
// within r of c, each face once,
// then the moving objects' faces through the world's near-object hook.
// Null terminated; bounded by the list's capacity.
void GatherScenery(kxcollision* world, const float c[3], float r);

// Lowers both points of every segment of the list by the bump height under
// its first point and sets the point's normalOffset from the bump's slope.
void ApplyBumps(interaction* table);

// The contacts of every point of the list with the gathered faces: where a
// segment strictly crosses a face plane inside its edges, the first two in
// list order. A null world finds nothing.
void QueryContacts(const kxcollision* world, contactpoint* first);
// The same with the scenery's current world.
void QueryWorldContacts(contactpoint* first);

// The contact a part reacts to: the deepest, the first on ties. Call only
// with contactCount > 0.
int ChosenContact(const contactpoint& point);

// The ground below the model's reference point into the record's
// groundLevel and terrainNormal; 1 when found. With no ground below, the
// previous values stay.
int FindGroundBelow(dnsstate* record, const kxcollision* world);
// The same below the point p (world), where the model is about to be placed.
int FindGroundBelowPoint(dnsstate* record, const kxcollision* world, const float p[3]);

}  // namespace dnsmodel
