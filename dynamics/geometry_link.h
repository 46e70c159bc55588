// What a body asks of its drawn geometry object, in one place: the type test
// of a geometry link, the owner mark, placing the object and its parts for
// drawing, re-basing the mesh and the mass analysis from the mesh.
#pragma once

#include "core/matrix.h"
#include "core/node.h"

class kxgeometricobject;
class kxdbody;

namespace kxdgeometry {

// The descriptor geometry links are checked against; never null (an
// unregistered descriptor matches no node).
const kxtype* Type();
// The field as the node-pointer field a reference assigns.
kxnode** Field(kxgeometricobject** field);
// The node as a geometric object, else null.
kxgeometricobject* From(kxnode* node);
kxnode* AsNode(kxgeometricobject* object);

void SetOwner(kxgeometricobject* object, kxdbody* owner);
// The object's Matrix := frame.
void SetMatrix(kxgeometricobject* object, const kxmatrix& frame);
// Gives each direct child object of the body's geometry the product of the
// two matrices for drawing.
void PlaceChildren(kxdbody* body);
// Restores the stored mesh and expresses it in the object's own frame.
void RebaseMesh(kxgeometricobject* object);
// Placement, inertia and contact points of the body from its mesh.
void AnalyseBody(kxdbody* body);

}  // namespace kxdgeometry

namespace kxdgeometry {
// m^2; areas of the object's mesh projected along its X, Y, Z; 0 without.
void ProjectedAreas(kxgeometricobject* object, float& ax, float& ay, float& az);
}  // namespace kxdgeometry

namespace kxdgeometry {
// Moves the object (and its child objects) by the frame, as the summary
// moves the fuselage's parts.
void MoveBy(kxgeometricobject* object, const kxmatrix& frame);
// A new geometry root for an aircraft (a geometric object when that type is
// registered, else a plain node that will hold no geometry); null on failure.
kxnode* NewRoot();
// Clears the mesh of every child object of the object (rotating parts drawn
// by their components).
void ClearChildMeshes(kxgeometricobject* object);
}  // namespace kxdgeometry

namespace kxdgeometry {
// Widens [min, max] by the object's extent along a world direction.
void Extent(kxgeometricobject* object, const kxvector4r& direction, float* min, float* max);
}  // namespace kxdgeometry
