// Reads arbitrary description files, whole and by section.
#include <cstddef>
#include <cstdint>

#include "fuzz/fuzz_nodes.h"
#include "fuzz/input_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  kxfuzzsetup();
  fuzzinput::file input("script.kxd", data, size);
  if (!input.Path()) return 0;

  kxnode* scratch = kxfuzznode::Type.Create();
  scratch->name = "Scratch";
  kxscript::Root()->AppendChild(scratch);
  kxscript::ReadFile(input.Path(), scratch, size % 2 ? "section" : nullptr);
  kxscript::Root()->DeleteChildren();
  kxscript::SetCurrent(kxscript::Root());
  return 0;
}
