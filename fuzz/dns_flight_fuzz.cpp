// Loads arbitrary bytes as a legacy model and flies it: set down on level
// ground, then launched and stepped with the sticks moving. Whatever the
// coefficients, links, channels and counts of the file, loading, placing and
// stepping end, the published pose and velocity stay finite, and unloading
// returns every block to the pool.
#include <GL/gl.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "core/hooks.h"
#include "fuzz/input_file.h"
#include "graphics/collision_world.h"
#include "graphics/mesh.h"
#include "graphics/scenery_records.h"
#include "legacy/contacts.h"
#include "legacy/dynamics.h"
#include "legacy/loader.h"
#include "legacy/model_state.h"
#include "legacy/pool.h"
#include "platform/sound.h"

namespace {

// Two triangles of level ground, 200 m square.
kxcollision* Ground() {
  static kxcollision world{};
  static kxgeometry* mesh = [] {
    kxgeometry* el = kxgeometry::Create(GL_V3F, 4, 2);
    const float corners[4][3] = {{-100, -100, 0}, {100, -100, 0}, {100, 100, 0}, {-100, 100, 0}};
    for (int i = 0; i < 4; ++i) kxgeometry::SetVertexPosition(el, i, corners[i]);
    const uint32_t triangles[6] = {0, 1, 2, 0, 2, 3};
    std::memcpy(el->triangles, triangles, sizeof triangles);
    return el;
  }();
  static kxgeometryobject entry{0, 0, mesh, "", nullptr};
  static bool built = [] {
    const float cell[3] = {50, 50, 50}, sun[3] = {0, 0, 1};
    return kxcollision::Build(&world, &entry, nullptr, cell, 200, sun) == 1;
  }();
  return built ? &world : nullptr;
}

void Place(float z, float speed) {
  dnsmodel::dnsstate& s = dnsmodel::Runtime().state;
  const float pose[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, z, 0, 0, 0, 1};
  std::memcpy(s.pose, pose, sizeof pose);
  s.velocity[0] = speed;
  const float at[3] = {0, 0, z};
  dnsmodel::GatherScenery(Ground(), at, dnsmodel::kGatherRadius);
  if (speed < 1.0f) dnsmodel::PlaceOnGround(&dnsmodel::Runtime().root, &s);
  else dnsmodel::ResetDynamics(&dnsmodel::Runtime().root, &s);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static bool ready = [] {
    kxcore::SetLogHandler([](const char*) {});
    directsound::suppress_registration = 1;
    std::error_code error;
    if (!fuzzinput::EnterFolder()) return false;
    std::filesystem::create_directories("airlark/aircraft", error);
    return !error && Ground();
  }();
  if (!ready) return 0;
  fuzzinput::file input("airlark/aircraft/fuzz.dns", data, size);
  if (!input.Path()) return 0;
  dnsmodel::ResetRuntime();
  dnsmodel::InitPool();
  kxcollision::SetCurrent(Ground());
  dnsmodel::dnsstate& s = dnsmodel::Runtime().state;
  std::strcpy(s.name, "fuzz");
  dnsmodel::LoadActive(&s);
  Place(1.0f, 0.0f);
  Place(20.0f, 15.0f);
  for (int frame = 0; frame < 10; ++frame) {
    for (int c = 0; c < dnsmodel::kControlCount; ++c) s.controls[c] = (frame + c) % 3 - 1.0f;
    dnsmodel::GatherScenery(Ground(), dnsmodel::Runtime().root->position, dnsmodel::kGatherRadius);
    dnsmodel::FindGroundBelow(&s, Ground());
    s.dt = 0.02f;
    dnsmodel::StepDynamics(&dnsmodel::Runtime().root, &s);
    for (float v : s.pose) {
      if (!std::isfinite(v)) std::abort();
    }
    for (float v : s.velocity) {
      if (!std::isfinite(v)) std::abort();
    }
  }
  dnsmodel::Unload();
  if (dnsmodel::CurrentPool()->used != 0) std::abort();
  kxcollision::SetCurrent(nullptr);
  return 0;
}
