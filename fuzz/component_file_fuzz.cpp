// Runs arbitrary bytes as an aircraft component file, in its two passes,
// against an aircraft root with the dynamics and wing types registered.
#include <cstddef>
#include <cstdint>

#include "dynamics/component_file.h"
#include "dynamics/wings/register.h"
#include "fuzz/aircraft_roots.h"
#include "fuzz/input_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static bool ready = [] {
    fuzzaircraft::Init();
    wings::RegisterTypes();
    return true;
  }();
  (void)ready;
  fuzzinput::file input("component.kxd", data, size);
  if (!input.Path()) return 0;

  fuzzaircraft::roots scene = fuzzaircraft::Mount();
  kxdload::RunComponentFile(input.Path(), scene.aircraft);
  fuzzaircraft::Unmount(scene);
  return 0;
}
