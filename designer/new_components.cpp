#include "designer/new_components.h"

#include <cstdio>

#include "core/type.h"
#include "designer/state.h"
#include "dynamics/aircraft.h"
#include "dynamics/body.h"
#include "dynamics/instance.h"
#include "platform/log.h"

namespace svdesign {

namespace {

bool NameTaken(const kxnode* parent, const char* name) {
  for (const kxnode* c = parent->firstChild; c; c = c->nextSibling) {
    if (c->name.Equal(name)) return true;
  }
  return false;
}

}  // namespace

void FreeName(const kxnode* parent, const char* stem, char* out, int capacity) {
  // Each child blocks at most one candidate, so this ends.
  for (int n = 0;; ++n) {
    std::snprintf(out, capacity, "%s%02d", stem, n);
    if (!parent || !NameTaken(parent, out)) return;
  }
}

kxdbody* NewComponent(const char* typeName, const char* stem, int first) {
  designstate& s = State();
  kxdaircraft* components = s.aircraft ? s.aircraft->Template : nullptr;
  kxtype* type = kxtype::Find(typeName);
  if (!components || !type) return nullptr;
  kxnode* made = type->Create();
  kxdbody* component = kxdbody::As(made);
  if (!component) {
    delete made;
    kxsystem::Log("svdesign:  cannot make a new %s\n", typeName);
    return nullptr;
  }
  char name[64];
  FreeName(components, stem, name, sizeof name);
  component->name = name;
  component->Instance = s.aircraft;
  if (first) components->AddChild(component);
  else components->AppendChild(component);
  return component;
}

}  // namespace svdesign
