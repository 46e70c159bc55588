#include "dynamics/wings/register.h"

#include "dynamics/links.h"
#include "dynamics/registry.h"
#include "dynamics/wings/aileron_wing.h"
#include "dynamics/wings/airfoil.h"
#include "dynamics/wings/multi_section_wing.h"
#include "dynamics/wings/sectioned_wing.h"

namespace wings {

// Every wing type gets the registry base kxdbody, although kxdwing11 and
// kxdwing12 derive from kxdwing10 in code: a type test for kxdwing10 (the
// total wing area) must not count the fins.
void RegisterTypes() {
  for (kxtype* t : {&kxdwing00::Type, &kxdwing20::Type, &kxdwing10::Type, &kxdwing11::Type, &kxdwing12::Type}) {
    kxdynamics::RegisterComponentType(t);
  }
  kxdlink::SetAirfoilFinder([](const char* title) -> void* { return kxdairfoil::Find(title); });
  kxdynamics::Tree(kxdynamics::kxdtree::kAirfoil);
}

}  // namespace wings
