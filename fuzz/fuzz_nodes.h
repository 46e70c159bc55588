// A node class with members of every reference kind, for the script fuzzers.
#pragma once

#include <cstring>

#include "core/arguments.h"
#include "core/function.h"
#include "core/hooks.h"
#include "core/interpreter.h"
#include "core/node.h"
#include "core/reference.h"

class kxfuzznode : public kxnode {
 public:
  static inline kxtype Type{"kxfuzznode", 0, kxcreate<kxfuzznode>};
  kxfuzznode() { type = &Type; }
  int Count = 0;
  float Value = 0;
  float Table[8] = {};
  float Vector[4] = {};
  float Tensor[16] = {};
  float* Link = nullptr;
  kxnode* Other = nullptr;
  kxstring Text;

  static int AsFloat(const kxvalue& from, void** out) { return kxconvertfloatlink(from, &kxvaluetypes::Real, out); }

  kxvalueptr GetMember(const char* m, const kxargs& args) override {
    if (!std::strcmp(m, "Count")) return kxvalueptr(new kxintref(&Count));
    if (!std::strcmp(m, "Value")) return kxvalueptr(new kxrealref(&Value));
    if (!std::strcmp(m, "Table")) {
      int i = args.Index(0, 8);
      return i < 0 ? nullptr : kxvalueptr(new kxrealref(&Table[i]));
    }
    if (!std::strcmp(m, "Vector")) return kxvalueptr(new kxvectorref(Vector));
    if (!std::strcmp(m, "Tensor")) return kxvalueptr(new kxfloatsref(Tensor, 16));
    if (!std::strcmp(m, "Link")) return kxvalueptr(new kxpointerref(&Link, &kxvaluetypes::RealPtr, AsFloat));
    if (!std::strcmp(m, "Other")) return kxvalueptr(new kxnodeptrref(&Other));
    if (!std::strcmp(m, "Text")) return kxvalueptr(new kxstringref(&Text));
    return kxnode::GetMember(m, args);
  }
};

inline void kxfuzzsetup() {
  static bool done = false;
  if (done) return;
  done = true;
  kxcore::SetLogHandler([](const char*) {});
  kxscript::Init();
  kxtype::Register(&kxfuzznode::Type);
  kxfunction::Register("Run", [](const char* text) { kxscript::Execute(text); });
}
