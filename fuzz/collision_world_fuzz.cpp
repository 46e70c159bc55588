// Collision world from arbitrary mesh data (a scenery file may hold any
// floats and indices): build, then every query at points from the input;
// the ground grid must answer as a scan over every face, and a box's
// contacts from the gathered near faces as those from the world's walk.
#include <GL/gl.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include "core/hooks.h"
#include "graphics/collision_contact.h"
#include "graphics/collision_near.h"
#include "graphics/collision_world.h"
#include "graphics/mesh.h"
#include "graphics/scenery_records.h"
#include "tests/graphics/collision_scan.h"

namespace {

struct reader {
  const uint8_t* data;
  size_t size;
  template <class T>
  T Take() {
    T v{};
    if (size >= sizeof v) {
      std::memcpy(&v, data, sizeof v);
      data += sizeof v;
      size -= sizeof v;
    }
    return v;
  }
};

// The same contact, bit for bit; a fixed face may come through another of
// its copies.
bool Same(const kxcontact& a, const kxcontact& b) {
  return !std::memcmp(&a.normal, &b.normal, sizeof a.normal) && !std::memcmp(&a.point, &b.point, sizeof a.point) &&
         !std::memcmp(&a.depth, &b.depth, sizeof a.depth) && a.surface == b.surface && a.face->id == b.face->id &&
         a.face->frame == b.face->frame;
}

// Both lists hold the same contacts, the deepest first. Contacts of equal
// depth may stand in another order: a face split over several cells is met
// first in another cell when the gathered sphere spans more of the tree.
bool SameContacts(const kxboxrecord& a, const kxboxrecord& b, int count) {
  bool used[kxboxrecord::kMaxContacts] = {};
  for (int i = 0; i < count; ++i) {
    if (std::memcmp(&a.list[i]->depth, &b.list[i]->depth, sizeof(float))) return false;
    bool found = false;
    for (int j = 0; j < count && !found; ++j) {
      if (!used[j] && Same(*a.list[i], *b.list[j])) used[j] = found = true;
    }
    if (!found) return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  kxcore::SetLogHandler([](const char*) {});
  reader in{data, size};
  int vertices = in.Take<uint8_t>() % 64;
  int triangles = in.Take<uint8_t>() % 64;
  float cell[3] = {in.Take<float>(), in.Take<float>(), in.Take<float>()};
  int maxTriangles = in.Take<int8_t>();
  kxgeometry* el = kxgeometry::Create(GL_V3F, vertices, triangles);
  if (!el) return 0;
  uint8_t flags = in.Take<uint8_t>();
  std::snprintf(el->name, sizeof el->name, "%s", (flags & 1) ? "x_damage" : "field_gras");
  for (int i = 0; i < vertices; ++i) {
    const float p[3] = {in.Take<float>(), in.Take<float>(), in.Take<float>()};
    kxgeometry::SetVertexPosition(el, i, p);
  }
  for (int i = 0; i < triangles * 3; ++i) el->triangles[i] = in.Take<uint8_t>();
  kxgeometry::UpdateBounds(el);
  kxgeometryobject entry{};
  entry.mesh = el;
  kxtransparentgeometry trees[2] = {};
  trees[0] = {(flags & 2) ? el : nullptr, 1, in.Take<float>(), in.Take<float>(), {in.Take<float>(), in.Take<float>(), in.Take<float>()}};
  auto w = std::make_unique<kxcollision>();
  const float sun[3] = {0, 0, 1};
  kxcollision::Build(w.get(), &entry, trees, cell, maxTriangles, sun);
  kxcollision::SetTrees(w.get(), 1, 1);
  kxboxrecord box{}, walked{}, narrowed{};
  const float lo[3] = {-0.5f, -0.5f, -0.5f}, hi[3] = {0.5f, 0.5f, 0.5f};
  kxboxrecord::Set(&box, lo, hi);
  kxboxrecord::Set(&walked, lo, hi);
  kxboxrecord::Set(&narrowed, lo, hi);
  std::vector<const kxcollface*> faces = kxcolltest::DistinctFaces(w.get());
  kxcollnear near, narrow;
  while (in.size >= 16) {
    const float p[3] = {in.Take<float>(), in.Take<float>(), in.Take<float>()};
    float r = in.Take<float>();
    float n[3];
    kxcollision::GroundHeight(w.get(), p, n);
    // The ground grid answers as a scan over every face.
    float h = -INFINITY, scanned = -INFINITY;
    int hit = kxcollision::FindGround(w.get(), p, &h, n);
    if (w->ground.columns && (hit != (kxcolltest::ScanGround(faces, p, &scanned) != nullptr) || (hit && h != scanned))) {
      __builtin_trap();
    }
    kxcollision::ViewerCollide(w.get(), p, r);
    kxcollision::GatherNear(w.get(), p, r, &near);
    float frame[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, p[0], p[1], p[2], 1};
    int flag = static_cast<int>(in.size & 1);
    int contacts = kxcollision::ContactShape(w.get(), frame, &box, flag, &near);
    if (contacts != kxcollision::ContactShape(w.get(), frame, &walked, flag)) __builtin_trap();
    if (!SameContacts(box, walked, contacts)) __builtin_trap();
    // A set narrowed about the same centre answers as the walk too.
    kxcollision::NarrowNear(&near, p, 0.5f * r, &narrow);
    if (kxcollision::ContactShape(w.get(), frame, &narrowed, flag, &narrow) != contacts) __builtin_trap();
    if (!SameContacts(narrowed, walked, contacts)) __builtin_trap();
  }
  kxcollision::FreeOctree(w.get());
  kxgeometry::Free(&el);
  return 0;
}
