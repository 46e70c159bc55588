#include "sim/session.h"

#include "platform/music.h"
#include "sim/resources.h"

namespace sim {

simsession session;

// Shared by the views and the windows; LoadResources fills them.
kxglfont small_font;
kxglfont large_font;
kxglfont menu_font;

kxmusic& Music() {
  static kxmusic music;
  return music;
}

}  // namespace sim
