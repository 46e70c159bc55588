#include "sim/exit.h"

#include "dynamics/instance.h"
#include "graphics/mesh.h"
#include "graphics/texture_table.h"
#include "platform/reserves.h"
#include "sim/app_hooks.h"
#include "sim/menu_bar_actions.h"
#include "sim/menu_state.h"
#include "sim/placement.h"
#include "sim/player.h"
#include "sim/resources.h"
#include "sim/session.h"
#include "sim/settings.h"
#include "sim/world/world.h"

namespace sim {

void Exit() {
  sessionmedia& s = session.media;
  FSchleppDetach();  // the unloads below free the rope with its aircraft
  for (simplayer& p : players)
    if (p.flight_state && p.flight_state->collision_body_count > 0) FreeRotatingBodies(p.flight_state);
  if (players[0].legacy && Hooks().legacy_unload) Hooks().legacy_unload();
  // The players keep their flight-state pointers (the slots' records are
  // static): the settings below still see who had an aircraft.
  // The playback copies a recording loaded go with them, and the records
  // forget the recording (their share of the store stays): nothing of the
  // simulation outlives its exit.
  for (int slot = 0; slot < kxdaircraftinstance::kSlots; ++slot)
    kxdaircraftinstance::Unload(kxdaircraftinstance::Slot(slot));
  for (simplayer& p : players) p.recording = {};
  FreeScenery(TheWorld());
  kxgeometry::Free(&s.pylon_mesh);
  kxgeometry::Free(&s.horizon_mesh);
  kxsystem::Release(&s.reflection_maps1);
  kxsystem::Release(&s.reflection_maps2);
  // The menu's card and the fonts go too: whichever mode the program ends
  // in, nothing it loaded stays held.
  kxgeometry::Free(&Menu().card);
  kxgl::FreeAllTextures();
  // The fonts' textures went with the table; their pictures are reserves of
  // their own.
  kxsystem::Release(reinterpret_cast<void**>(&small_font.pixels));
  kxsystem::Release(reinterpret_cast<void**>(&large_font.pixels));
  kxsystem::Release(reinterpret_cast<void**>(&menu_font.pixels));
  SaveConfigFiles();
}

}  // namespace sim
