// The ground-height grid of a collision world: a square 2-D grid over the
// upward faces, built beside the cell tree, so that a ground-height query
// reads the short run of records of one cell instead of walking the tree and
// scanning whole leaves. Its answers are those of the ground rule applied to
// every face.
#pragma once

#include <cstdint>

struct kxcollface;

// One upward face as the ground rule reads it, in 48 bytes so that a cell's
// records fill few cache lines: the plane as a height over x, y and the
// three edges as lines of the horizontal plane.
struct kxgroundface {
  float plane[3];     // height z = plane[0] * x + plane[1] * y + plane[2], m
  float edges[3][3];  // edge i: a * x + b * y + c >= 0 inside; (a, b) a unit inward normal,
                      // c moved out by the face's edge tolerance
};

struct kxgroundgrid {
  float min[2];       // m, the low corner of cell (0, 0)
  float cell;         // m, side of the square cells
  float perCell;      // 1 / cell
  int32_t columns;    // 0 when there is no grid: the queries walk the tree
  int32_t rows;
  int32_t faceCount;  // upward faces
  int32_t entryCount; // entries over all cells (a face in several cells is in each)
  uint32_t* starts;   // columns * rows + 1 offsets into entries; cell (i, j) at j * columns + i
  uint32_t* entries;  // indices into records, ascending within a cell
  kxgroundface* records;  // the upward faces, ordered by the cell of their first corner, build order within a cell
  void* block;        // named block "kxcollground" holding the three arrays

  // Lists each upward face in every cell that holds a point its ground rule
  // takes. faces: the world's distinct faces in build order, each with its
  // three edge planes. 1, or 0 with no grid (nothing upward, or no memory)
  // after freeing the old one.
  static int Build(kxgroundgrid* g, const kxcollface* const* faces, int count);
  static void Free(kxgroundgrid* g);
  // The highest face under the ground rule at p (finite): 1 with its height
  // and the face's normal (when asked), 0 when none.
  static int Find(const kxgroundgrid* g, const float p[3], float* height, float* normal);

  // ---- the ground rule, shared by the grid, the tree walk and the tests' scan

  // The record of an upward face: 1, or 0 for a face that is no ground (it
  // faces down or sideways, or its numbers are too large for the rule).
  static int Record(const kxcollface* face, kxgroundface* out);
  // 1 with *z set when (p.x, p.y) lies on the face (within its tolerance)
  // and the face's height there is at or below p.z and above best.
  static inline int OnFace(const kxgroundface& f, const float p[3], float best, float* z) {
    for (const float* e : f.edges) {
      if (!(e[0] * p[0] + e[1] * p[1] + e[2] >= 0.0f)) return 0;
    }
    float h = f.plane[0] * p[0] + f.plane[1] * p[1] + f.plane[2];
    if (!(h <= p[2]) || !(h > best)) return 0;
    *z = h;
    return 1;
  }
  // The unit normal of the record's plane, pointing up.
  static void Normal(const kxgroundface& f, float normal[3]);
};
