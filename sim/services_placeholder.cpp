#include "sim/services_placeholder.h"

#include "sim/player.h"

namespace sim {

void SetViewMode(simplayer* player, int mode) {
  if (player) player->view_mode = mode;
}
void ResetAircraft(simplayer*, kxmatrix*, const float*) {}

void OnKey(int, int) {}
void OnMouse(int, int) {}

}  // namespace sim
