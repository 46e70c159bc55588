#include "sim/scenery.h"

#include <cstdio>
#include <string>
#include <vector>

#include "core/hooks.h"
#include "core/string.h"
#include "platform/file_lists.h"
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

namespace {

// The sceneries to fall back on, in the order they are tried: the default
// one first, then every other in name order; never the one that failed.
std::vector<std::string> Fallbacks(const std::string& failed) {
  std::vector<std::string> names = {kDefaultScenery};
  for (const std::string& n : kxsystem::ListFiles("scenery/*.geo", 0, 1))
    if (n != kDefaultScenery) names.push_back(n);
  std::erase(names, failed);
  return names;
}

}  // namespace

/* Without ground a flight would fall for ever, so a scenery that gives
   none is replaced by the first other one that does: the default scenery,
   else any in the folder (the default one may be the broken one). The
   setting keeps the user's choice: the scenery may be back (a folder
   mounted again) at the next start. */
int LoadSceneryOrDefault(const char* name, world* w) {
  if (!w) return 0;
  const std::string chosen = name ? name : "";
  const std::string setting = session.settings.scenery;
  LoadScenery(chosen.c_str(), w);
  if (HasGround(w)) return 1;
  if (NamesGround(w))
    kxcore::Log("sim:  scenery %s: its ground lies below none of its start positions\n", kxexcerpt(chosen).c_str());
  kxcore::Log("sim:  scenery %s has nothing to stand on\n", kxexcerpt(chosen).c_str());
  for (const std::string& other : Fallbacks(chosen)) {
    LoadScenery(other.c_str(), w);
    std::snprintf(session.settings.scenery, sizeof session.settings.scenery, "%s", setting.c_str());
    if (!HasGround(w)) continue;
    kxcore::Log("sim:  scenery %s has nothing to stand on; %s loaded instead\n", kxexcerpt(chosen).c_str(),
                other.c_str());
    PostNotice("The scenery " + kxexcerpt(chosen) + " could not be loaded (see the log); the scenery " + other +
               " is loaded instead.");
    return 1;
  }
  kxcore::Log("sim:  no scenery has anything to stand on; no flight is possible\n");
  return 0;
}

}  // namespace sim
