// The faces near one aircraft for one frame: what the per-frame gather finds
// around it (fixed scenery, the billboard trees in use, moving objects),
// copied out of the collision world into flat arrays of planes and edge
// planes. The contact queries of the frame's substeps read these instead of
// walking the cell tree, as long as the gathered sphere covers them.
#pragma once

#include <cstdint>
#include <vector>

struct kxcollface;
struct kxcollision;

struct kxnearface {
  float normal[3];          // unit, out of the solid; the moving object's own frame when frame is set
  float d;                  // plane: normal . X = d, same frame
  float centre[3];          // bounding sphere, same frame
  float radius;             // m
  float lo[3], hi[3];       // the box a point may touch it in (kxcollbuild::ContactBox), same frame
  int32_t firstEdge;        // index of its first edge plane in kxcollnear::edges
  int32_t edgeCount;        // 3 for a triangle, 4 for a tree's side
  const float* frame;       // null for fixed scenery and trees, else the moving object's column-major matrix
  const kxcollface* face;   // the world's record, handed on with a contact
};

struct kxnearedge {
  float normal[3];          // unit, pointing into the face
  float distance;           // normal . point on the edge
};

// The planes and bounding spheres of four faces of a set side by side:
// normal x of each, then y, z and d; the spheres' centres and radii; moving
// has bit k set when the k-th is a moving face (its plane and sphere lie in
// its object's frame).
struct alignas(16) kxnearplanes {
  float x[4], y[4], z[4], d[4];
  float cx[4], cy[4], cz[4], radius[4];
  uint32_t moving;
};

struct kxcollnear {
  std::vector<kxnearface> faces;   // in the order the world's walk meets them: fixed, trees, moving
  std::vector<kxnearedge> edges;
  // faces[4k .. 4k+3]'s planes and spheres in planes[k], for one test of a
  // query's points against four fixed faces (filled with the faces by the
  // gather and the narrowing); the lanes of moving faces and past the end
  // are unused.
  std::vector<kxnearplanes> planes;
  const kxcollision* world = nullptr;  // the world gathered from
  float centre[3] = {0.0f, 0.0f, 0.0f};  // m, the gathered sphere
  float radius = 0.0f;                   // m
  // 1 while the faces are every face that can touch a point inside the
  // sphere; 0 before a gather, after a full query list, and once the frame
  // is over: then the queries walk the world.
  int32_t valid = 0;
  // The set this one was narrowed from (kxcollision::NarrowNear): a query
  // this one does not cover asks it next. Null for a gathered set.
  const kxcollnear* wider = nullptr;
  // m: the farthest from centre any query asked of this set reached (its
  // points' sphere grown by its depth reach), valid or not, since it was
  // last cleared; what a narrower set must cover for the same queries.
  mutable float reached = 0.0f;
};
