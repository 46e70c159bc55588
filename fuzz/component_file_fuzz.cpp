// Runs arbitrary bytes as an aircraft component file, in its two passes,
// against an aircraft root with the dynamics types registered.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "dynamics/component_file.h"
#include "fuzz/aircraft_roots.h"
#include "fuzz/input_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzzaircraft::Init();
  static std::string path = "/tmp/kxfuzz_component_" + std::to_string(::getpid()) + ".kxd";
  if (!fuzzinput::WriteInput(path.c_str(), data, size)) return 0;

  fuzzaircraft::roots scene = fuzzaircraft::Mount();
  kxdload::RunComponentFile(path.c_str(), scene.aircraft);
  fuzzaircraft::Unmount(scene);
  return 0;
}
