// Loads arbitrary bytes as a scenery description file in a data folder with
// one small object mesh, the balloon mesh and a cloud picture: every line is
// applied to the world, whose balloons and lights come out finite, and
// freeing the scenery must give back every reserve and texture.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

#include "core/hooks.h"
#include "fuzz/input_file.h"
#include "graphics/image.h"
#include "graphics/mesh.h"
#include "graphics/texture_table.h"
#include "platform/reserves.h"
#include "sim/world/world.h"

namespace {

// A closed tetrahedron serves as both the scenery object and the balloon.
constexpr const char* kMesh =
    "v 0 0 0\nv 1 0 0\nv 0 1 0\nv 0 0 1\n"
    "g wall\nf 1 3 2\nf 1 2 4\ng T__glass\nkx_transparent 1\nf 1 4 3\ng bbrd1\nkx_transparent 1\nf 2 3 4\n";

bool EnterDataFolder() {
  std::error_code error;
  if (!fuzzinput::EnterFolder() || !std::filesystem::create_directories("scenery", error) ||
      !std::filesystem::create_directories("objects", error))
    return false;
  kxcore::SetLogHandler([](const char*) {});
  const auto* mesh = reinterpret_cast<const uint8_t*>(kMesh);
  size_t length = std::char_traits<char>::length(kMesh);
  kximage clouds;
  clouds.width = clouds.height = 8;
  clouds.channels = 1;
  clouds.pixels.assign(64, 128);
  return fuzzinput::WriteInput("scenery/box.obj", mesh, length) &&
         fuzzinput::WriteInput("objects/balloon.obj", mesh, length) &&
         std::filesystem::create_directories("texture", error) && kxgl::WriteKxt("texture/clouds.kxt", clouds);
}

void Check(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static bool ready = EnterDataFolder();
  if (!ready) return 0;
  int reserves = kxsystem::ReserveCount(), textures = kxgl::TexturesInUse();
  fuzzinput::file input("scenery/fuzz.geo", data, size);
  if (!input.Path()) return 0;
  world& w = *sim::TheWorld();
  sim::ReadScenery("fuzz", &w, nullptr);
  Check(w.start_count >= 0 && w.start_count <= world::kMaxStarts);
  Check(w.contest_count >= 0 && w.contest_count <= world::kMaxContests);
  for (int i = 0; i < w.contest_count; ++i) {
    const contestrec& c = w.contests[i];
    Check(c.pylon_count >= 0 && c.pylon_count <= contestrec::kMaxPylons);
    Check(c.balloon_count >= 0 && c.balloon_count < contestrec::kMaxBalloons);
    for (const balloonrec* b = c.first_balloon; b; b = b->next) {
      Check(std::isfinite(b->radius));
      for (const kxgeometry* el = b->mesh; el; el = el->next)
        for (int k = 0; k < 3; ++k) Check(std::isfinite(el->boundsMin[k]) && std::isfinite(el->boundsMax[k]));
    }
  }
  Check(w.viewer_probe_step > 0 && w.scenery_size > 0 && w.octree_max_triangles > 0);
  for (int i = 0; i < world::kLights; ++i)
    for (float v : w.light_position[i]) Check(std::isfinite(v));
  for (const kxgeometryobject* o = w.objects; o; o = o->next)
    for (const kxgeometry* el = o->mesh; el; el = el->next)
      for (int k = 0; k < 3; ++k) Check(!(el->boundsMin[k] > el->boundsMax[k]));
  sim::FreeScenery(&w);
  Check(kxsystem::ReserveCount() == reserves && kxgl::TexturesInUse() == textures);
  return 0;
}
