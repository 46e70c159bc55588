// A level field in the loaded world: a scenery with ground below its
// starts, for tests of what needs one without reading a scenery.
#pragma once

#include <GL/gl.h>

#include "graphics/collision_world.h"
#include "sim/world/world.h"
#include "tools/meshgen/meshgen.h"

namespace simtest {

class flatground {
 public:
  // size (m): side of the square at height 0, centred at the origin.
  explicit flatground(::world* w, float size = 2000.0f) : w_(w) {
    mesh_ = meshgen::ToElement(meshgen::Ground(size, 4, 0.0f), "field_gras", "", GL_N3F_V3F);
    entry_.mesh = mesh_;
    const float cell[3] = {100.0f, 100.0f, 100.0f}, sun[3] = {0.0f, 0.0f, 1.0f};
    kxcollision::Build(&w_->collision, &entry_, nullptr, cell, 200, sun);
    w_->ground = mesh_;
  }
  ~flatground() {
    w_->ground = nullptr;
    kxcollision::FreeOctree(&w_->collision);
    kxgeometry::Free(&mesh_);
  }
  flatground(const flatground&) = delete;
  flatground& operator=(const flatground&) = delete;

 private:
  ::world* w_;
  kxgeometry* mesh_ = nullptr;
  kxgeometryobject entry_{};
};

}  // namespace simtest
