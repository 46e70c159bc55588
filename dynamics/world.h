// kxdworld: what the simulation asks of the scenery: the ground height below
// a point and the contact of a point with the ground. The collision world of
// the graphics layer answers through an adapter; kxdflatground is the level
// plane the tests and benchmarks use.
#pragma once

#include "core/vector.h"

// Surface codes of a contact.
constexpr int kSurfaceGround = 0;
constexpr int kSurfaceWater = 1;
constexpr int kSurfaceDamage = 8;

struct kxdcontact {
  kxvector4r normal;  // unit, pointing out of the surface
  float depth;        // m below the surface along the normal, > 0 in contact
  int surface;        // kSurface...
};

class kxdworld {
 public:
  virtual ~kxdworld() = default;
  // m; height of the surface below (x, y).
  virtual float GroundHeight(float x, float y) const = 0;
  // 1 and the contact when the point lies below the surface, else 0.
  virtual int Contact(const kxvector4r& point, kxdcontact& out) const = 0;
};

class kxdflatground : public kxdworld {
 public:
  explicit kxdflatground(float height = 0.0f, int surface = kSurfaceGround) : height_(height), surface_(surface) {}
  float GroundHeight(float, float) const override { return height_; }
  int Contact(const kxvector4r& point, kxdcontact& out) const override {
    if (!(point.z < height_)) return 0;
    out.normal = {0.0f, 0.0f, 1.0f, 0.0f};
    out.depth = height_ - point.z;
    out.surface = surface_;
    return 1;
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
