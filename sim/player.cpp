#include "sim/player.h"

simplayer::simplayer() {
  kxmatrix::SetIdentity(&viewer);
  kxmatrix::SetIdentity(&saved_frame);
  kxmatrix::SetIdentity(&rec_pose);
  viewer_row_x = &viewer.X.x;
  viewer_row_y = &viewer.Y.x;
  viewer_row_z = &viewer.Z.x;
  viewer_position = &viewer.R.x;
  fov = &fov_fixed;
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
