// Registration of the controls and powerplants: the component types with
// the dynamics core's registry, the receiver's player binding and the engine
// types an Engine link accepts. Call after kxdynamics::RegisterTypes.
#pragma once

namespace components {

void RegisterTypes();
// The helicopter rotors; RegisterTypes calls it.
void RegisterRotorTypes();

}  // namespace components
