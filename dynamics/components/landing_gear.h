// Registration of the ground-contact components: wheel, landing-gear leg
// and skid. Called by components::RegisterTypes.
#pragma once

namespace components {

void RegisterLandingGear();

}  // namespace components
