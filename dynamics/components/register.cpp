#include "dynamics/components/register.h"

#include "dynamics/aircraft.h"
#include "dynamics/components/engine00.h"
#include "dynamics/components/engine10.h"
#include "dynamics/components/gyro.h"
#include "dynamics/components/landing_gear.h"
#include "dynamics/components/propeller.h"
#include "dynamics/components/receiver.h"
#include "dynamics/components/servos.h"
#include "dynamics/components/turbines.h"
#include "dynamics/links.h"
#include "dynamics/registry.h"

namespace components {

void RegisterTypes() {
  kxdynamics::RegisterComponentType(&kxdreceiver00::Type);
  kxdynamics::RegisterComponentType(&kxdservo00::Type);
  kxdynamics::RegisterComponentType(&kxdservo01::Type);
  kxdynamics::RegisterComponentType(&kxdgyro00::Type);
  kxdynamics::RegisterComponentType(&kxdengine::Type);
  kxdynamics::RegisterComponentType(&kxdengine00::Type, &kxdengine::Type);
  kxdynamics::RegisterComponentType(&kxdengine10::Type, &kxdengine::Type);
  kxdynamics::RegisterComponentType(&kxdpropeller00::Type);
  kxdynamics::RegisterComponentType(&kxdturbine00::Type);
  kxdynamics::RegisterComponentType(&kxdturbine10::Type);
  RegisterRotorTypes();
  RegisterLandingGear();
  // An Engine link accepts exactly these two types.
  kxdlink::RegisterEngineType("kxdengine00");
  kxdlink::RegisterEngineType("kxdengine10");
  kxdaircraft::RegisterPlayerBinder("kxdreceiver00", kxdreceiver00::BindToPlayer);
}

}  // namespace components
