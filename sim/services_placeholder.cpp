#include "sim/services_placeholder.h"

#include "sim/player.h"

namespace sim {

void SetupContest(contestrec*, int) {}
void StartContest(contestrec*) {}
void StopContest() {}
void UpdateContest(contestrec*) {}

void UpdateWind(world*) {}

void UpdateExhaust(simplayer*, float) {}
void UpdateSmoke(simplayer*, float) {}

void UpdateRecordingClock(simplayer*, float) {}
void UpdatePlaybackPose(simplayer*, float) {}

void SetViewMode(simplayer* player, int mode) {
  if (player) player->view_mode = mode;
}
void ResetAircraft(simplayer*, kxmatrix*, const float*) {}

void OnKey(int, int) {}
void OnMouse(int, int) {}

int SaveRecording(const char*, simplayer*) { return 0; }
int LoadRecording(const char*, simplayer*) { return 0; }
const char* CheckRecordingScenery(const char*) { return nullptr; }

}  // namespace sim
