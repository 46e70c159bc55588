#include "core/hooks.h"
#include "graphics/mesh.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  kxcore::SetLogHandler([](const char*) {});
  kxgeometry* list = kxgl::ReadTextMesh(reinterpret_cast<const char*>(data), size);
  for (kxgeometry* el = list; el; el = el->next) {
    for (int t = 0; t < el->triangleCount * 3; ++t)
      if (el->triangles[t] >= static_cast<uint32_t>(el->vertexCount)) __builtin_trap();
  }
  kxgeometry::Free(&list);
  return 0;
}
