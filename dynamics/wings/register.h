// Set-up of the wing library: the five wing component types and the airfoil
// lookup behind the "kxdairfoil*" link type. Call after
// kxdynamics::RegisterTypes, which builds the Airfoil node.
#pragma once

namespace wings {

void RegisterTypes();

}  // namespace wings
