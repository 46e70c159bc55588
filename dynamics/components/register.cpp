#include "dynamics/components/register.h"

#include "dynamics/aircraft.h"
#include "dynamics/components/gyro.h"
#include "dynamics/components/receiver.h"
#include "dynamics/components/servos.h"
#include "dynamics/registry.h"

namespace components {

void RegisterTypes() {
  kxdynamics::RegisterComponentType(&kxdreceiver00::Type);
  kxdynamics::RegisterComponentType(&kxdservo00::Type);
  kxdynamics::RegisterComponentType(&kxdservo01::Type);
  kxdynamics::RegisterComponentType(&kxdgyro00::Type);
  kxdaircraft::RegisterPlayerBinder("kxdreceiver00", kxdreceiver00::BindToPlayer);
}

}  // namespace components
