// Runs arbitrary command texts against a scratch tree, then checks that
// the values they left, written out as statements, run back the same.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz_nodes.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  kxfuzzsetup();
  kxnode* scratch = kxfuzznode::Type.Create();
  scratch->name = "Scratch";
  kxscript::Root()->AppendChild(scratch);
  kxscript::SetAlias("Aircraft", scratch);
  std::string text(reinterpret_cast<const char*>(data), size);
  kxscript::Execute(text.c_str(), scratch);
  if (kxnode* again = kxnode::Find("/Scratch/")) {
    kxnode* copy = again->Clone(nullptr);
    delete copy;
  }
  // Whatever the text left in the scratch node, written out as statements,
  // runs into the same values.
  if (kxfuzznode* left = kxnode::As<kxfuzznode>(kxnode::Find("/Scratch/"))) {
    kxfuzznode* fresh = static_cast<kxfuzznode*>(kxfuzznode::Type.Create());
    kxscript::Root()->AppendChild(fresh);
    kxscript::Execute(left->Describe().c_str(), fresh);
    kxfuzzcheckroundtrip(*left, *fresh);
  }
  // The text may have moved or renamed the scratch node: remove whatever it left.
  kxscript::Root()->DeleteChildren();
  kxscript::SetCurrent(kxscript::Root());
  return 0;
}
