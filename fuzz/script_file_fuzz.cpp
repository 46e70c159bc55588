// Reads arbitrary description files, whole and by section, then checks that
// the values they left, written as a description file, read back the same.
#include <cstddef>
#include <cstdint>
#include <string>

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
  // The values the file left, written as a description file of their own,
  // read back the same.
  if (kxfuzznode* left = kxnode::As<kxfuzznode>(kxnode::Find("/Scratch/"))) {
    const std::string written = left->Describe();
    fuzzinput::file again("again.kxd", reinterpret_cast<const uint8_t*>(written.data()), written.size());
    kxfuzznode* fresh = static_cast<kxfuzznode*>(kxfuzznode::Type.Create());
    kxscript::Root()->AppendChild(fresh);
    if (again.Path() && kxscript::ReadFile(again.Path(), fresh)) kxfuzzcheckroundtrip(*left, *fresh);
  }
  kxscript::Root()->DeleteChildren();
  kxscript::SetCurrent(kxscript::Root());
  return 0;
}
