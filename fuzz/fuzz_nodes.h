// A node class with members of every reference kind, for the script fuzzers.
#pragma once

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "core/arguments.h"
#include "core/function.h"
#include "core/hooks.h"
#include "core/interpreter.h"
#include "core/node.h"
#include "core/output.h"
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

  // The members as statements that set them again, as a writer would put
  // them in a file: numbers with every digit a float needs, the text quoted
  // as the writers quote user text. A text holding a line end cannot stand
  // on one line and is left out (ProblemsWith passes over it then).
  std::string Describe() const {
    kxout out;
    out.Printf("Count = %d\nValue = %.9g\n", Count, static_cast<double>(Value));
    for (int i = 0; i < 8; ++i) out.Printf("Table( %d ) = %.9g\n", i, static_cast<double>(Table[i]));
    out.Printf("Vector = kxvector4r( %.9g, %.9g, %.9g, %.9g )\n", static_cast<double>(Vector[0]),
               static_cast<double>(Vector[1]), static_cast<double>(Vector[2]), static_cast<double>(Vector[3]));
    out.Printf("Tensor = {");
    for (int i = 0; i < 16; ++i) out.Printf(i ? ", %.9g" : " %.9g", static_cast<double>(Tensor[i]));
    out.Printf(" }\n");
    if (OneLine()) {
      out.Printf("Text = ");
      out.PrintString(Text.Text());
      out.Printf("\n");
    }
    return out.Text();
  }
  // The members that differ from another node's; empty when none does.
  std::string ProblemsWith(const kxfuzznode& other) const {
    std::string problems;
    // By value: the members hold finite numbers only, and -0 reads back as 0.
    auto same = [](const float* a, const float* b, int n) { return std::equal(a, a + n, b); };
    if (Count != other.Count) problems += "Count ";
    if (!same(&Value, &other.Value, 1)) problems += "Value ";
    if (!same(Table, other.Table, 8)) problems += "Table ";
    if (!same(Vector, other.Vector, 4)) problems += "Vector ";
    if (!same(Tensor, other.Tensor, 16)) problems += "Tensor ";
    // As text: what a writer prints ends at a NUL the string may hold.
    if (OneLine() && std::strcmp(Text.Text(), other.Text.Text()) != 0) problems += "Text ";
    return problems;
  }

 private:
  bool OneLine() const { return std::strpbrk(Text.Text(), "\r\n") == nullptr; }
};

// Aborts, naming them, when the members of a node written out and read back
// differ from what was written: what a writer prints must read back the same.
inline void kxfuzzcheckroundtrip(const kxfuzznode& written, const kxfuzznode& read) {
  std::string problems = written.ProblemsWith(read);
  if (problems.empty()) return;
  std::fprintf(stderr, "round trip changed: %s\n%s", problems.c_str(), written.Describe().c_str());
  std::abort();
}

inline void kxfuzzsetup() {
  static bool done = false;
  if (done) return;
  done = true;
  kxcore::SetLogHandler([](const char*) {});
  kxscript::Init();
  kxtype::Register(&kxfuzznode::Type);
  kxfunction::Register("Run", [](const char* text) { kxscript::Execute(text); });
}
