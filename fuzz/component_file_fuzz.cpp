// Runs arbitrary bytes as an aircraft component file, in its two passes,
// against an aircraft root with the dynamics types registered.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "core/hooks.h"
#include "core/interpreter.h"
#include "dynamics/aircraft.h"
#include "dynamics/component_file.h"
#include "dynamics/registry.h"
#include "graphics/geometric_object.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static bool ready = [] {
    kxcore::SetLogHandler([](const char*) {});
    kxscript::Init();
    kxgraphics::RegisterTypes();
    kxdynamics::RegisterTypes();
    return true;
  }();
  (void)ready;
  static std::string path = "/tmp/kxfuzz_component_" + std::to_string(::getpid()) + ".kxd";
  FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return 0;
  std::fwrite(data, 1, size, file);
  std::fclose(file);

  kxdaircraft* root = new kxdaircraft;
  root->name = "Aircraft0";
  kxnode* geometry = new kxgeometricobject;
  geometry->name = "Geometry0";
  kxscript::Root()->AppendChild(root);
  kxscript::Root()->AppendChild(geometry);
  kxscript::SetAlias("Aircraft", root);
  kxscript::SetAlias("Geometry", geometry);
  kxdload::RunComponentFile(path.c_str(), root);
  kxscript::ClearAlias("Aircraft");
  kxscript::ClearAlias("Geometry");
  delete root;
  delete geometry;
  kxscript::SetCurrent(kxscript::Root());
  return 0;
}
