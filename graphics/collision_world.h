// The collision world of a scenery: every ground and object triangle as a
// face with its plane and edge planes, sorted into a binary cell tree, plus
// billboard tree colliders and the moving (dynamic) objects. It answers the
// ground height below a point, the faces near the viewer, the faces near a
// moving aircraft (the static gather followed by the near-object pass) and
// the contacts of a geometric object's box.
//
// The records are plain so the older model runtime can walk the tree, the
// faces and the edge planes read-only and write the query fields itself.
#pragma once

#include <cstdint>

#include "core/matrix.h"
#include "graphics/ground_grid.h"

struct kxgeometry;
struct kxgeometryobject;
struct kxgeometrydynobject;
struct kxtransparentgeometry;
struct kxboxrecord;
struct kxcpair;
struct kxcollision;
struct kxcollnear;
struct kxcontact;

// A plane bounding a face along one edge: points X of the face have
// normal . X - distance >= 0.
struct kxcolledge {
  float point[3];           // a corner of the face on this edge, in the face's own frame
  float normal[3];          // unit, in the face plane, pointing into the face
  float distance;           // normal . point
  kxcolledge* next;
};

struct kxcollface {
  float normal[3];          // unit, out of the solid (counter-clockwise winding)
  float d;                  // plane: normal . X = d
  float radius;             // m, bounding sphere about centre
  float centre[3];
  kxcolledge* edges;        // head of the edge planes
  int32_t surface;          // surface code, 1 water ... 8 damage
  const float* frame;       // null for fixed scenery, else the moving object's column-major matrix
  float sunDot;             // normal . sun direction at the build
  kxcollface* next;         // next face of the same leaf (or object)
  int32_t id;               // index of the triangle in its world or object: copies in several leaves share it
};

struct kxcollnode {
  float min[3];             // m, cell box
  float max[3];
  kxcollnode* first;        // both null on a leaf, both set on an inner node
  kxcollnode* second;
  kxcollface* faces;        // leaf only
};

// A moving object's faces, kept in the object's own frame.
struct kxcolldynamic {
  kxcollface* faces;        // named block "kxcolldynfaces"
  kxcolledge* edges;        // named block "kxcolldynedges"
  int32_t faceCount;
  const kxmatrix* frame;    // the scenery entry's frame (rows X, Y, Z, position)
  kxcolldynamic* next;

  // One object per entry of the list, faces from its mesh. 1, or 0 after a
  // log line (objects built so far stay in the world).
  static int Build(kxcollision* w, const kxgeometrydynobject* first);
  // Releases both blocks of every object, then the list; the pointer becomes null.
  static void Free(kxcollision* w);
};

struct kxcollision {
  static constexpr int kNearFaces = 4096 + 1;   // capacity of nearFaces, the null included
  static constexpr int kMaxDepth = 40;          // cell tree depth limit
  static constexpr int kDefaultMaxTriangles = 200;
  static constexpr float kDefaultMinCell = 100.0f;  // m
  static constexpr float kRootPadding = 1.0f;       // m around all faces

  kxcollnode* root;
  float rootMin[3];
  float rootMax[3];
  void* faceBlock;          // named block "kxcollfaces": faces, their copies, edge planes, tree colliders
  void* nodeBlock;          // named block "kxcollnodes": cells and the query marks
  int32_t faceCount;        // distinct triangles
  int32_t cellCount;        // leaves
  uint32_t* marks;          // per distinct face: the query that last reported it
  uint32_t query;           // current query number

  // The query list: faces near the last query, null-terminated.
  kxcollface* nearFaces[kNearFaces];
  int32_t nearCursor;       // next write position
  float boxMin[3];          // last query box
  float boxMax[3];
  float centre[3];          // last query centre
  float radius;             // last query radius, m

  kxgroundgrid ground;      // the upward faces by x, y for the ground height; built with the tree

  kxcolldynamic* dynamics;  // moving objects (block "kxcolldynamic")
  void* dynamicBlock;

  kxcollface* trees;        // 5 faces per billboard tree
  int32_t treeTotal;        // billboards built
  int32_t treeCount;        // billboards taking part: index below this
  int32_t treeCollision;    // 0: trees take no part

  float sun[3];             // unit sun direction of the build
  // Appends moving faces after a static gather; set by the scenery loader.
  void (*nearObjectPass)(kxcollision* w);

  // --- building (collision_world.cpp)
  // One face per non-degenerate triangle of every non-billboard element of
  // the chain, one collider per billboard of the transparent list, then the
  // cell tree. The elements of ocean (the ocean mesh heading the chain, may
  // be null) are water. Non-positive cell sizes or counts take the defaults.
  static int Build(kxcollision* w, const kxgeometryobject* chain, const kxtransparentgeometry* transparent,
                   const float minCell[3], int maxTriangles, const float sun[3], const kxgeometry* ocean = nullptr);
  // Frees the tree, both blocks and the ground grid (not the moving
  // objects); pointers become null.
  static void FreeOctree(kxcollision* w);
  // The first count billboards collide while enabled is set.
  static void SetTrees(kxcollision* w, int count, int enabled);
  // Surface code of an element name: the first case-insensitive match.
  static int SurfaceCode(const char* elementName);

  // --- queries (collision_query.cpp)
  static void SetCurrent(kxcollision* w);
  static kxcollision* Current();
  // Height of the highest upward face at or below p along the vertical; its
  // normal into normal (3 floats) when not null; -1 when there is none.
  static float GroundHeight(const kxcollision* w, const float p[3], float* normal);
  // The same with a found flag, since -1 is also a height: 1 when found.
  static int FindGround(const kxcollision* w, const float p[3], float* height, float* normal);
  // Static faces whose bounding sphere meets the box p +- half, into nearFaces.
  static int ViewerCollide(kxcollision* w, const float p[3], float half);
  // Static faces near the sphere (c, r), then the near-object pass.
  static int Gather(kxcollision* w, const float c[3], float r);
  // Gather, then every face that may touch a point within the sphere (the
  // gathered fixed faces, the trees in use and the moving faces near it)
  // copied into near for one frame's contact queries. Returns near->valid:
  // 0 (queries walk the world) when the query list was full.
  static int GatherNear(kxcollision* w, const float c[3], float r, kxcollnear* near);
  // The faces of a valid gathered set (from) that may touch a point within
  // the sphere (c, r), which lies inside from's, copied into out in the same
  // order; out answers the queries it covers exactly as from would, and
  // hands the others to from. Returns out->valid.
  static int NarrowNear(const kxcollnear* from, const float c[3], float r, kxcollnear* out);
  // Appends the moving objects' faces near the query centre and radius.
  static void NearObjectPass(kxcollision* w);
  // Appends a face at the cursor; 0 when the list is full.
  static int AppendNear(kxcollision* w, kxcollface* face);

  // --- contacts (collision_contact.cpp)
  // Tests the box's six points (flag 1) or eight corners (flag 0), placed by
  // frame, against the world; fills box->list. Returns the contact count.
  // With a near set that covers the points only its faces are read.
  static int ContactShape(const kxcollision* w, const float frame[16], kxboxrecord* box, int flag,
                          const kxcollnear* near = nullptr);
  // The same for count world points (at most 8; w unread): the reach below a face
  // is the diagonal of the box lo..hi (null: the points' own box), each
  // contact's point the foot of origin on the face plane; the deepest max
  // (at most 16) into out.
  static int ContactPoints(const kxcollision* w, const kxcollnear* near, const float (*points)[4], int count,
                           const float lo[3], const float hi[3], const float origin[3], kxcontact* out, int max);

  // --- convex bodies (convex_body.cpp)
  // Signed distance of the pair's bodies into pair->distance: negative when
  // they overlap (minus the penetration depth). 1, or 0 for an incomplete pair.
  static int AircraftContacts(kxcpair* pair);
};
