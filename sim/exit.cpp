#include "sim/exit.h"

#include "dynamics/instance.h"
#include "graphics/mesh.h"
#include "graphics/texture_table.h"
#include "platform/reserves.h"
#include "sim/app_hooks.h"
#include "sim/menu.h"
#include "sim/player.h"
#include "sim/resources.h"
#include "sim/session.h"
#include "sim/settings.h"
#include "sim/world/world.h"

namespace sim {

void Exit() {
  simsession& s = session;
  if (players[0].legacy && Hooks().legacy_unload) Hooks().legacy_unload();
  // The players keep their flight-state pointers (the slots' records are
  // static): the settings below still see who had an aircraft.
  for (int slot = 0; slot < kPlayers; ++slot) kxdaircraftinstance::Unload(kxdaircraftinstance::Slot(slot));
  FreeScenery(TheWorld());
  kxgeometry::Free(&s.pylon_mesh);
  kxgeometry::Free(&s.horizon_mesh);
  kxsystem::Release(&s.reflection_maps1);
  kxsystem::Release(&s.reflection_maps2);
  // The menu's card and the fonts go too: whichever mode the program ends
  // in, nothing it loaded stays held.
  kxgeometry::Free(&Menu().card);
  kxgl::FreeAllTextures();
  for (kxglfont* font : {&menu_font, &large_font, &small_font}) kxgl::FreeFont(font);
  SaveConfigFiles();
}

}  // namespace sim
