#include "sim/session.h"

#include "platform/music.h"

namespace sim {

simsession session;

kxmusic& Music() {
  static kxmusic music;
  return music;
}

}  // namespace sim
