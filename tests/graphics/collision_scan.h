// Brute-force references of the collision queries, shared by the collision
// tests and the collision world's fuzz target: the world's distinct faces,
// and the ground rule applied to every one of them.
#pragma once

#include <cmath>
#include <vector>

#include "graphics/collision_face.h"
#include "graphics/collision_world.h"

namespace kxcolltest {

// The world's distinct faces in build order, from the copies in the leaves.
inline std::vector<const kxcollface*> DistinctFaces(const kxcollision* w) {
  std::vector<const kxcollface*> faces(w->faceCount, nullptr);
  std::vector<const kxcollnode*> pending;
  if (w->root) pending.push_back(w->root);
  while (!pending.empty()) {
    const kxcollnode* n = pending.back();
    pending.pop_back();
    if (n->first) {
      pending.insert(pending.end(), {n->first, n->second});
      continue;
    }
    for (const kxcollface* f = n->faces; f; f = f->next) faces[f->id] = f;
  }
  return faces;
}

// The face the ground rule picks at p among all faces (the first of equal
// heights) with its height in *height and its record's normal in normal
// (when not null); null when none holds.
inline const kxcollface* ScanGround(const std::vector<const kxcollface*>& faces, const float p[3], float* height,
                                    float* normal = nullptr) {
  if (!std::isfinite(p[0]) || !std::isfinite(p[1]) || !std::isfinite(p[2])) return nullptr;
  const kxcollface* best = nullptr;
  kxgroundface record{}, bestRecord{};
  float z = -INFINITY;
  for (const kxcollface* f : faces) {
    if (kxgroundgrid::Record(f, &record) && kxgroundgrid::OnFace(record, p, z, &z)) {
      best = f;
      bestRecord = record;
    }
  }
  if (best) *height = z;
  if (best && normal) kxgroundgrid::Normal(bestRecord, normal);
  return best;
}

}  // namespace kxcolltest
