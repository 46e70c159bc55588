// What the interpreter knows before any subsystem registers its own types and
// commands: the core value types, the node class and the cd command.
#include "core/function.h"
#include "core/interpreter.h"
#include "core/node.h"

namespace kxscript {

namespace {

// The interpreter handles cd itself within a run (so that a failed cd can
// skip what belongs to the missing node); this form serves callers that
// invoke the command directly.
void ChangeCurrent(const char* path) {
  kxnode* target = path && *path ? kxnode::Find(path, Current()) : Root();
  if (target) SetCurrent(target);
}

}  // namespace

void RegisterBuiltins() {
  kxvaluetypes::Register();
  kxtype::Register(&kxnode::Type);
  kxfunction::Register("cd", ChangeCurrent);
}

}  // namespace kxscript
