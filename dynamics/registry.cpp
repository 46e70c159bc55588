#include "dynamics/registry.h"

#include <algorithm>

#include "core/interpreter.h"
#include "core/node.h"
#include "dynamics/aircraft.h"
#include "dynamics/body.h"
#include "dynamics/fuselage.h"
#include "dynamics/joint.h"
#include "dynamics/links.h"
#include "dynamics/load.h"
#include "dynamics/tow.h"

namespace {

kxnode* Child(kxnode* parent, const char* name) {
  if (!parent) return nullptr;
  if (kxnode* c = parent->FindChild(name)) return c;
  kxnode* c = new kxnode;
  if (!c) return nullptr;
  c->name = name;
  parent->AppendChild(c);
  return c;
}

}  // namespace

namespace kxdynamics {

namespace {
std::vector<kxtype*>& Registered() {
  static std::vector<kxtype*> types;
  return types;
}
}  // namespace

int RegisterComponentType(kxtype* type, kxtype* base) {
  if (!type) return 0;
  std::vector<kxtype*>& types = Registered();
  if (std::find(types.begin(), types.end(), type) == types.end()) types.push_back(type);
  return kxtype::RegisterDerived(type, base ? base : &kxdbody::Type);
}

const std::vector<kxtype*>& ComponentTypes() { return Registered(); }

void RegisterTypes() {
  kxtype::RegisterDerived(&kxdintegrable::Type, &kxnode::Type);
  RegisterComponentType(&kxdbody::Type, &kxdintegrable::Type);
  kxtype::RegisterDerived(&kxdaircraft::Type, &kxdintegrable::Type);
  RegisterComponentType(&kxdfuselage00::Type);
  RegisterComponentType(&kxdjoint00::Type);
  RegisterComponentType(&kxdhook00::Type);
  kxtype::RegisterDerived(&kxdrope00::Type, &kxdintegrable::Type);
  kxdlinktypes::Register();
  kxdlink::RegisterEngineType("kxdengine00");
  kxdlink::RegisterEngineType("kxdengine10");
  for (kxdtree t : {kxdtree::kInitial, kxdtree::kState, kxdtree::kChange, kxdtree::kAirfoil,
                    kxdtree::kTemplates, kxdtree::kInvisible}) {
    Tree(t);
  }
  RegisterLoadCommand();
}

kxnode* Tree(kxdtree which) {
  kxnode* root = kxscript::Root();
  if (!root) return nullptr;
  kxnode* simulation = Child(root, "Simulation");
  kxnode* dynamics = nullptr;
  kxnode* graphics = nullptr;
  switch (which) {
    case kxdtree::kInitial: dynamics = Child(simulation, "Dynamics"); return Child(dynamics, "Initial");
    case kxdtree::kState: dynamics = Child(simulation, "Dynamics"); return Child(dynamics, "State");
    case kxdtree::kChange: dynamics = Child(simulation, "Dynamics"); return Child(dynamics, "Change");
    case kxdtree::kAirfoil: dynamics = Child(simulation, "Dynamics"); return Child(dynamics, "Airfoil");
    case kxdtree::kTemplates: graphics = Child(simulation, "Graphics"); return Child(graphics, "Templates");
    case kxdtree::kInvisible: graphics = Child(simulation, "Graphics"); return Child(graphics, "Invisible");
  }
  return nullptr;
}

}  // namespace kxdynamics
