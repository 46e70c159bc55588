// Speed of the command language on the statements aircraft files are made of.
#include <benchmark/benchmark.h>

#include "core/arguments.h"
#include "core/hooks.h"
#include "core/interpreter.h"
#include "core/node.h"
#include "core/reference.h"

namespace {

class benchpart : public kxnode {
 public:
  static inline kxtype Type{"kxbenchpart", 0, kxcreate<benchpart>};
  benchpart() { type = &Type; }
  float Mass = 0;
  float R[4] = {};
  kxvalueptr GetMember(const char* m, const kxargs& args) override {
    if (std::string_view(m) == "Mass") return kxvalueptr(new kxrealref(&Mass));
    if (std::string_view(m) == "R") return kxvalueptr(new kxvectorref(R));
    return kxnode::GetMember(m, args);
  }
};

void Setup() {
  static bool done = false;
  if (done) return;
  done = true;
  kxscript::Init();
  kxtype::Register(&benchpart::Type);
}

void BM_AssignmentStatements(benchmark::State& state) {
  Setup();
  kxnode* node = benchpart::Type.Create();
  kxscript::Root()->AppendChild(node);
  for (auto _ : state) {
    kxscript::Execute("Mass = 2.5\nR    = kxvector4r(   0.1000,  -0.2000,   0.3000, 1 )", node);
  }
  benchmark::DoNotOptimize(static_cast<benchpart*>(node)->Mass);
  delete node;
}
BENCHMARK(BM_AssignmentStatements);

void BM_BuildComponentTree(benchmark::State& state) {
  Setup();
  for (auto _ : state) {
    kxnode* top = kxscript::Execute("Append kxnode Top", kxscript::Root());
    kxscript::Execute(
        "cd Top/;Append kxbenchpart A;cd A/;Mass = 1;cd ../;Append kxbenchpart B;cd B/;Mass = 2;cd ../",
        kxscript::Root());
    delete kxnode::Find("/Top/");
    benchmark::DoNotOptimize(top);
  }
}
BENCHMARK(BM_BuildComponentTree);

}  // namespace
