// The ground-height grid of a collision world: a square 2-D grid over the
// upward faces, built beside the cell tree, so that a ground-height query
// reads the short list of one cell instead of walking the tree and scanning
// whole leaves. Its answers are those of a scan over every face.
#pragma once

#include <cstdint>

struct kxcollface;

// One upward face as the ground query tests it: its horizontal circle,
// plane and edge planes copied into one record, so a query follows no list.
struct kxgroundface {
  float centre[2];    // m, x and y of the face's bounding-sphere centre
  float radius2;      // m^2, bounding-sphere radius squared
  float normal[3];    // unit, z > 0
  float d;            // plane: normal . X = d
  float edges[3][4];  // inward edge-plane normal (x, y, z) and distance
};

struct kxgroundgrid {
  float min[2];       // m, the low corner of cell (0, 0)
  float cell;         // m, side of the square cells
  float perCell;      // 1 / cell
  int32_t columns;    // 0 when there is no grid: the queries walk the tree
  int32_t rows;
  int32_t faceCount;  // upward faces
  uint32_t* starts;   // columns * rows + 1 offsets into entries; cell (i, j) at j * columns + i
  uint32_t* entries;  // indices into faces, ascending within a cell (build order)
  kxgroundface* faces;
  void* block;        // named block "kxcollground" holding the three arrays

  // Lists each upward face in every cell its ground rule can answer for.
  // faces: the world's distinct faces in build order, each with its three
  // edge planes. 1, or 0 with no grid (nothing upward, or no memory) after
  // freeing the old one.
  static int Build(kxgroundgrid* g, const kxcollface* const* faces, int count);
  static void Free(kxgroundgrid* g);
  // The highest face under the ground rule at p (finite): 1 with its height
  // and the face's normal (when asked), 0 when none.
  static int Find(const kxgroundgrid* g, const float p[3], float* height, float* normal);
};
