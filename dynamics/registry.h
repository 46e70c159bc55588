// The component type registry and the simulation's trees. The core types
// register here; the wing and component libraries register theirs through
// RegisterComponentType from their own folders, so this library never needs
// their headers.
#pragma once

#include <vector>

class kxnode;
struct kxtype;

namespace kxdynamics {

// The simulation's fixed nodes.
enum class kxdtree { kInitial, kState, kChange, kAirfoil, kTemplates, kInvisible };

// Registers a component type with its base (kxdbody when null). 1 on success.
int RegisterComponentType(kxtype* type, kxtype* base = nullptr);
// Every component type registered so far, first registration first; the
// abstract bases among them have no factory.
const std::vector<kxtype*>& ComponentTypes();
// Core component types, link value types, "/Simulation/" with its nodes and
// the AircraftLoad command. Needs kxscript::Init first; a second call only
// rebuilds missing nodes.
void RegisterTypes();
// "/Simulation/Dynamics/Initial/" and the others; null before RegisterTypes.
kxnode* Tree(kxdtree which);

}  // namespace kxdynamics
