#include "sim/player.h"

simplayer::simplayer() {
  kxmatrix::SetIdentity(&viewer);
  kxmatrix::SetIdentity(&saved_frame);
  kxmatrix::SetIdentity(&rec_pose);
}

namespace sim {

simplayer players[kPlayers];
simplayer staging_player;

simplayer* Player(int index) { return index >= 0 && index < kPlayers ? &players[index] : nullptr; }

int PlayerIndex(const simplayer* player) {
  for (int i = 0; i < kPlayers; ++i)
    if (player == &players[i]) return i;
  return -1;
}

}  // namespace sim
