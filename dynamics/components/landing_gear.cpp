#include "dynamics/components/landing_gear.h"

#include "dynamics/components/gear.h"
#include "dynamics/components/skid.h"
#include "dynamics/components/wheel.h"
#include "dynamics/registry.h"

namespace components {

void RegisterLandingGear() {
  kxdynamics::RegisterComponentType(&kxdwheel00::Type);
  kxdynamics::RegisterComponentType(&kxdgear00::Type);
  kxdynamics::RegisterComponentType(&kxdskid00::Type);
}

}  // namespace components
