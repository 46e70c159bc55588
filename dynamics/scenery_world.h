// The scenery's collision world as the simulation sees it: ground height,
// point and box contacts (static faces, billboard trees and moving objects)
// and the per-frame gather of the faces near each aircraft into its near set,
// which that aircraft's contact queries then read.
#pragma once

#include "dynamics/world.h"

struct kxcollision;

class kxdsceneryworld : public kxdworld {
 public:
  explicit kxdsceneryworld(kxcollision* world = nullptr) : world_(world) {}
  void Set(kxcollision* world) { world_ = world; }
  kxcollision* Collision() const { return world_; }

  // Where no face lies below the point the ground counts as height 0.
  float GroundHeight(const kxvector4r& point) const override;
  int Contacts(const kxvector4r* points, int count, kxdcontact* out, int max) const override;
  int NearContacts(const kxvector4r* points, int count, kxdcontact* out, int max,
                   const kxcollnear* near) const override;
  int BoxContacts(kxboxrecord* box, const kxmatrix& frame, int flag, kxdcontact* out, int max,
                  const kxcollnear* near) const override;
  void FrameQuery(const kxvector4r& centre, float radius, kxcollnear* near) override;
  // Empty when the gather of this frame found no face at all in the sphere.
  int Empty(const kxvector4r& centre, float radius, const kxcollnear* near) const override;

 private:
  kxcollision* world_;
};

namespace kxdynamics {
// Step against a collision world (null: no ground).
int Step(float frameTime, kxcollision* world, float sceneryExtent = 6000.0f, float cloudHeight = 200.0f);
}  // namespace kxdynamics
