// Reads arbitrary description files, whole and by section.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "fuzz_nodes.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  kxfuzzsetup();
  static std::string path = "/tmp/kxfuzz_script_" + std::to_string(::getpid()) + ".kxd";
  FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return 0;
  std::fwrite(data, 1, size, file);
  std::fclose(file);

  kxnode* scratch = kxfuzznode::Type.Create();
  scratch->name = "Scratch";
  kxscript::Root()->AppendChild(scratch);
  kxscript::ReadFile(path.c_str(), scratch, size % 2 ? "section" : nullptr);
  kxscript::Root()->DeleteChildren();
  kxscript::SetCurrent(kxscript::Root());
  return 0;
}
