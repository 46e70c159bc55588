// Registration of the helicopter rotors with the component registry; the
// controls' registration calls it.
#include "dynamics/components/main_rotor.h"
#include "dynamics/components/register.h"
#include "dynamics/components/tail_rotor.h"
#include "dynamics/registry.h"

namespace components {

void RegisterRotorTypes() {
  kxdynamics::RegisterComponentType(&kxdmainrotor::Type);
  kxdynamics::RegisterComponentType(&kxdrotor00::Type, &kxdmainrotor::Type);
  kxdynamics::RegisterComponentType(&kxdrotor01::Type, &kxdmainrotor::Type);
  kxdynamics::RegisterComponentType(&kxdtailrotor00::Type);
}

}  // namespace components
