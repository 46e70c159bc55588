#include "sim/player_aircraft.h"

#include "dynamics/instance.h"
#include "sim/app_hooks.h"
#include "sim/player.h"

namespace sim {

void DropLegacyAircraft() {
  simplayer& first = players[0];
  if (!first.legacy) return;
  if (Hooks().legacy_unload) Hooks().legacy_unload();
  first.flight_state = nullptr;
  first.legacy = 0;
}

int LoadPlayerAircraft(int player, const char* name) {
  if (player < 0 || player >= kPlayers) return 0;
  if (player == 0) DropLegacyAircraft();
  simplayer& p = players[player];
  const int loaded = kxdaircraftinstance::AircraftLoad(name, player);
  kxdaircraftinstance* slot = kxdaircraftinstance::Slot(player);
  p.flight_state = loaded && slot && slot->IsLoaded() ? kxdaircraftinstance::FlightStateOf(player) : nullptr;
  return p.flight_state ? 1 : 0;
}

}  // namespace sim
