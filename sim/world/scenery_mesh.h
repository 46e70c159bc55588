// Mesh operations of the scenery loader and the aircraft preparation beyond
// the geometry library: placing a scenery object, the enclosed volume and
// centre of volume of a closed mesh, the photo panorama's sphere, the box of
// an object tree with its ground shadow quad, and the near-object pass and
// release of the collision world's moving objects.
#pragma once

#include "dynamics/flight_state.h"

class kxgeometricobject;
struct kxcollision;
struct kxgeometry;
struct kxgeometryobject;

namespace sim {

// Every vertex position of the object's mesh: v := (R v + position) times
// scale per axis, R = Rz(-c) Ry(-b) Rx(-a) for rotation (a, b, c) in
// degrees; a null rotation is the identity. The scale follows the
// translation, so it scales the offset too. Normals and the rest copy stay.
void TransformObject(kxgeometryobject* object, const float position[3], const float rotation[3],
                     const float scale[3]);

// Enclosed volume (m^3) and centre of volume of one closed, outward-wound
// element. A flat or open element (volume about 0) gives its vertex-box
// centre and volume 0.
void ElementVolume(const kxgeometry* el, float* volume, float centre[3]);
// The same over a list; with recentre every element is moved by minus the
// centre (positions, rest copy and hull), except when the volume is about 0.
// Returns 1 when the list was moved.
int CenterOfVolume(kxgeometry* first, int recentre, float centre[3], float* volume);

// Vertices (u, v, x, y, z) of a panorama of 360 / tileWidth by 180 /
// tileHeight tiles on a sphere about the origin: each tile one serpentine
// strip of 2 x columns x rows vertices, tiles by falling longitude, then
// rising polar angle. Returns the vertex count, 0 when it would not fit the
// capacity or the arguments make no grid.
int BuildPhotoSphere(int columns, int rows, float radius, float tileWidth, float tileHeight, float stepX,
                     float stepY, float (*vertices)[5], int capacity);

// The box of an object tree (every frame applied), else of an element list,
// else of every object of the loaded scenery, as a ground quad. An empty box
// gives zeros. The quad's texture is the caller's.
void CollectBounds(const kxgeometricobject* object, const kxgeometry* list, shadowquad* quad);

// The collision world's moving objects: their faces near the last query,
// appended after the static ones (installed as the world's near-object pass).
void NearObjectPass(kxcollision* w);
void FreeDynamicObjects(kxcollision* w);

}  // namespace sim
