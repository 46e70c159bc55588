// Stand-ins for the contests, recordings, particles and wind until they
// exist: each does nothing. Same names and signatures as the real ones.
#pragma once

struct contestrec;
struct kxmatrix;
struct simplayer;
struct world;

namespace sim {

// Contest set-up (placeViewers 1 lines the players up), start and stop.
void SetupContest(contestrec* contest, int placeViewers);
void StartContest(contestrec* contest);
void StopContest();
// Judges the running contest once per frame.
void UpdateContest(contestrec* contest);

// Ocean, clouds and wind wheels moved by the wind.
void UpdateWind(world* w);

// A player's exhaust puffs and smoke particles over one frame of dt seconds.
void UpdateExhaust(simplayer* player, float dt);
void UpdateSmoke(simplayer* player, float dt);

// A player's recording clock (records a frame when one is due) and the
// playback pose of the recorded flight; run by the frame update per player.
void UpdateRecordingClock(simplayer* player, float dt);
void UpdatePlaybackPose(simplayer* player, float dt);

// Aircraft placement and view modes (simulation mode). The stand-in of
// SetViewMode only records the mode; the real one also places the viewer
// and points the field of view.
void SetViewMode(simplayer* player, int mode);
// Puts the player's aircraft on the ground at the frame with the velocity.
void ResetAircraft(simplayer* player, kxmatrix* frame, const float velocity[4]);

// The simulation's key handler and its handler for clicks on no widget
// (simulation keys and mouse).
void OnKey(int key, int modifiers);
void OnMouse(int code, int modifiers);

// Recording files in "recordings/" (flight recording). Save: 1 when written.
// Load: 1 when loaded and playable. Check: the scenery the file names, null
// when it cannot be read.
int SaveRecording(const char* name, simplayer* player);
int LoadRecording(const char* name, simplayer* player);
const char* CheckRecordingScenery(const char* name);

}  // namespace sim
