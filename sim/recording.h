// Flight recording and playback. While a player records, the world pose of
// every drawn part of the aircraft is taken every 1/30 s of simulated time
// into the player's recording store; a recording held there plays back on a
// copy of the recorded aircraft beside the live one, blended between the two
// frames around the playback clock. Recordings are saved to and loaded from
// "recordings/<name>.rec".
#pragma once

#include <string>

class kxgeometricobject;
struct simplayer;

namespace sim {

// The recording clock of a player, once per frame of dt seconds unless
// paused: records a frame when one is due, or runs the playback clock.
void UpdateRecordingClock(simplayer* player, float dt);
// Places the playback aircraft and the playback pose at the clock; also
// while paused.
void UpdatePlaybackPose(simplayer* player, float dt);

// Writes one record (9 floats: X axis, Y axis, position, world) per part of
// the tree that has a mesh, children before their parent, into out.
// Returns the records written, or -1 with nothing written when more than
// capacity records would be needed.
long RecordParts(const kxgeometricobject* root, float* out, long capacity);
// The parts of the tree RecordParts writes a record for (those with a
// mesh): the records each frame of a recording of this aircraft holds.
long RecordedParts(const kxgeometricobject* root);
// Places each part of the tree that has a mesh, in the order RecordParts
// wrote them, at the blend of its records in a and b (blend 0 gives a, 1
// gives b); at most count records are used, parts beyond them stay.
void PlaybackParts(kxgeometricobject* root, const float* a, const float* b, long count, float blend);

// Saves the player's recording as "recordings/<name>.rec"; 1, or 0 when
// the name is unsafe or the file cannot be written, with why into problem
// when given ("<file>: <reason>", as kxsystem::WriteWholeFileProblem says).
int SaveRecording(const char* name, simplayer* player, std::string* problem = nullptr);
// Loads "recordings/<name>.rec" into the player's store and the recorded
// aircraft into the player's playback slot; 1 when the recording is
// playable (longer than 2 s, two frames at least, each holding a record for
// every part of the recorded aircraft). Only such a file replaces the
// recording held: any other (one that cannot be opened, too short, its
// aircraft missing) leaves it as it was, playable, savable and drawn; one
// whose records do not pair with the aircraft's parts is refused with a
// notice.
int LoadRecording(const char* name, simplayer* player);
// The last scenery named in "recordings/<name>.rec" ("" without one), or
// null when the file cannot be opened. Valid until the next call.
const char* CheckRecordingScenery(const char* name);
// Loads the player's recorded aircraft into its playback slot; 1, or 0 with
// the recording absent, idle and of length 0.
int LoadRecordedAircraft(simplayer* player);
// Loads aircraft into the player's playback slot as a copy that is only
// drawn (it registers no sounds); its drawn tree, or null when it does not
// load. Logs nothing of its own: the aircraft loader's lines come between.
kxgeometricobject* LoadPlaybackCopy(const simplayer* player, const char* aircraft);

}  // namespace sim
