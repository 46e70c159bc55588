// kxdworld: what the simulation asks of the scenery: the ground height below
// a point and the contact of a point with the ground. The collision world of
// the graphics layer answers through an adapter; kxdflatground is the level
// plane the tests and benchmarks use.
#pragma once

#include <algorithm>

#include "core/matrix.h"
#include "core/vector.h"

struct kxboxrecord;
struct kxcollnear;

// Surface codes of a contact.
constexpr int kSurfaceGround = 0;
constexpr int kSurfaceWater = 1;
constexpr int kSurfaceDamage = 8;

struct kxdcontact {
  kxvector4r normal;  // unit, pointing out of the surface
  kxvector4r point;   // a point of the surface plane, w 1
  float depth;        // m, deepest tested point below the plane (> 0 in contact)
  int surface;        // kSurface...
  int moving;         // 1: the face belongs to a moving object
};

class kxdworld {
 public:
  virtual ~kxdworld() = default;
  // m; height of the surface at or below the point.
  virtual float GroundHeight(const kxvector4r& point) const = 0;
  // The surfaces that some of the points (world, at most 8) lie below, one
  // record per surface; returns the count written (at most max).
  virtual int Contacts(const kxvector4r* points, int count, kxdcontact* out, int max) const = 0;
  // The same for the points of one aircraft, whose surroundings FrameQuery
  // gathered into near this frame (null: none); a world may answer from them.
  virtual int NearContacts(const kxvector4r* points, int count, kxdcontact* out, int max,
                           const kxcollnear* near) const {
    (void)near;
    return Contacts(points, count, out, max);
  }
  // The surfaces a collision box placed by frame touches with its six face
  // centres (flag 1) or its eight corners (flag 0); each record's point is
  // the foot of the frame's origin on the surface plane. By default the
  // placed points are asked of NearContacts.
  virtual int BoxContacts(kxboxrecord* box, const kxmatrix& frame, int flag, kxdcontact* out, int max,
                          const kxcollnear* near) const;
  // Once per frame and aircraft before the substeps: what lies within the
  // sphere (m) into the aircraft's near set.
  virtual void FrameQuery(const kxvector4r& centre, float radius, kxcollnear* near) {
    (void)centre, (void)radius, (void)near;
  }
  // 1 when no surface lies within the sphere for the rest of the frame, as
  // far as the world can tell cheaply after FrameQuery filled near (null:
  // none); 0 when it may.
  virtual int Empty(const kxvector4r& centre, float radius, const kxcollnear* near) const {
    (void)centre, (void)radius, (void)near;
    return 0;
  }
};

class kxdflatground : public kxdworld {
 public:
  explicit kxdflatground(float height = 0.0f, int surface = kSurfaceGround) : height_(height), surface_(surface) {}
  float GroundHeight(const kxvector4r&) const override { return height_; }
  int Contacts(const kxvector4r* points, int count, kxdcontact* out, int max) const override {
    float deepest = 0.0f;
    for (int i = 0; i < count; ++i) deepest = std::max(deepest, height_ - points[i].z);
    if (!(deepest > 0.0f) || max < 1) return 0;
    out[0] = {{0.0f, 0.0f, 1.0f, 0.0f}, {points[0].x, points[0].y, height_, 1.0f}, deepest, surface_, 0};
    return 1;
  }
  int Empty(const kxvector4r& centre, float radius, const kxcollnear*) const override {
    return centre.z - radius > height_;
  }

 private:
  float height_;  // m
  int surface_;
};

namespace kxdynamics {
// The world of the frame being stepped; null while none is set (no contacts).
kxdworld* CurrentWorld();
void SetCurrentWorld(kxdworld* world);
}  // namespace kxdynamics
