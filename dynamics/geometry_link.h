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

// An object's Matrix is relative to its parent object; the geometry of one
// body may sit below another body's (a wing inside the fuselage). A body's
// own parts are its object and the descendants that no other body is drawn
// with.

// Marks the owner on the object and its own parts.
void SetOwner(kxgeometricobject* object, kxdbody* owner);
// Places the object at a world frame: MatrixDraw := frame, Matrix := the
// frame relative to the parent object's world frame.
void SetMatrix(kxgeometricobject* object, const kxmatrix& frame);
// Gives each own part below the body's geometry its parent's MatrixDraw
// times its Matrix for drawing.
void PlaceChildren(kxdbody* body);
// Restores the stored mesh of each own part and expresses it in the part's
// frame, the inverse of its Matrix chain from the root.
void RebaseMesh(kxgeometricobject* object);
// Expresses the object's mesh in the frame (children kept in place, as
// kxgeometricobject::ApplyFrame does) and places the object at the frame.
// 1, or 0 with nothing changed for a singular frame.
int ApplyFrame(kxgeometricobject* object, const kxmatrix& frame);
// Placement, inertia and contact points of the body from its own parts:
// the frame at the parts' centre (moved by massOffset, m, aircraft axes,
// where the mass lies off it), the inertia about that centre.
void AnalyseBody(kxdbody* body, const kxvector4r& massOffset = {0.0f, 0.0f, 0.0f, 0.0f});

}  // namespace kxdgeometry

namespace kxdgeometry {
// m^2; areas of the object's own parts projected along its X, Y, Z; 0
// without.
void ProjectedAreas(kxgeometricobject* object, float& ax, float& ay, float& az);
}  // namespace kxdgeometry

namespace kxdgeometry {
// Moves the object (and its child objects) by the frame, as the summary
// moves the fuselage's parts.
void MoveBy(kxgeometricobject* object, const kxmatrix& frame);
// A new geometry root for an aircraft (a geometric object when that type is
// registered, else a plain node that will hold no geometry); null on failure.
kxnode* NewRoot();
}  // namespace kxdgeometry

namespace kxdgeometry {
// Widens [min, max] by the extent of the object and its subtree along a
// direction of the root's frame.
void Extent(kxgeometricobject* object, const kxvector4r& direction, float* min, float* max);
}  // namespace kxdgeometry
