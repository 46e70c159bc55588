#include "dynamics/all/register_all.h"

#include "dynamics/components/register.h"
#include "dynamics/registry.h"
#include "dynamics/wings/register.h"

namespace kxdynamics {

void RegisterAll() {
  RegisterTypes();
  wings::RegisterTypes();
  components::RegisterTypes();
}

}  // namespace kxdynamics
