#include "sim/scenery.h"

#include <cstdio>
#include <string>

#include "core/hooks.h"
#include "core/string.h"
#include "sim/notice.h"
#include "sim/session.h"
#include "sim/world/world.h"

namespace sim {

int LoadScenery(const char* name, world* w) {
  if (!w) return 1;
  const sceneryloaded loaded = ReadScenery(name, w, session.media.balloon_shadow_texture);
  session.run.current_contest = nullptr;
  session.run.selected_contest = 0;
  if (loaded.named) std::snprintf(session.settings.scenery, sizeof session.settings.scenery, "%s", loaded.name.c_str());
  return 1;
}

/* Without ground a flight would fall for ever, so a scenery that gives
   none is replaced by the default one. The setting keeps the user's choice:
   the scenery may be back (a folder mounted again) at the next start. */
int LoadSceneryOrDefault(const char* name, world* w) {
  if (!w) return 0;
  const std::string chosen = name ? name : "";
  const std::string setting = session.settings.scenery;
  LoadScenery(chosen.c_str(), w);
  if (HasGround(w)) return 1;
  if (chosen != kDefaultScenery) {
    kxcore::Log("sim:  scenery %s has nothing to stand on; %s loaded instead\n", kxexcerpt(chosen).c_str(),
                kDefaultScenery);
    PostNotice("The scenery " + kxexcerpt(chosen) + " could not be loaded (see the log); the scenery " +
               kDefaultScenery + " is loaded instead.");
    LoadScenery(kDefaultScenery, w);
    std::snprintf(session.settings.scenery, sizeof session.settings.scenery, "%s", setting.c_str());
    if (HasGround(w)) return 1;
  }
  kxcore::Log("sim:  scenery %s has nothing to stand on; no flight is possible\n", kDefaultScenery);
  return 0;
}

}  // namespace sim
