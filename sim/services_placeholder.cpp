#include "sim/services_placeholder.h"

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

}  // namespace sim
