// Runs arbitrary bytes as an aircraft component file, in its two passes,
// against an aircraft root with the dynamics and wing types registered.
// Whatever tree it makes is written as a save writes it; that text, run
// into fresh roots and written again, must come out the same.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "core/output.h"
#include "dynamics/component_file.h"
#include "dynamics/instance.h"
#include "dynamics/wings/register.h"
#include "dynamics/writers.h"
#include "fuzz/aircraft_roots.h"
#include "fuzz/input_file.h"

namespace {

// The component file a save writes of the tree under the roots.
std::string Written(const fuzzaircraft::roots& r) {
  auto instance = std::make_unique<kxdaircraftinstance>();  // only what the writer reads
  instance->Name = "fuzz";
  instance->Template = r.aircraft;
  instance->GeometryTemplate = r.geometry;
  kxout out;
  kxdwriters::AircraftText(instance.get(), out);
  return out.Text();
}

}  // namespace

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
  const std::string first = Written(scene);
  fuzzaircraft::Unmount(scene);

  scene = fuzzaircraft::Mount();
  kxdload::RunComponentText("written.kxd", first, scene.aircraft);
  const std::string second = Written(scene);
  fuzzaircraft::Unmount(scene);
  if (first != second) {
    std::fprintf(stderr, "written, read and written again differs:\n%s\n----\n%s\n", first.c_str(), second.c_str());
    std::abort();
  }
  return 0;
}
