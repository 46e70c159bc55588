// The handlers behind the simulator's menu entries, each bound to a script
// command of the same name by the menu bar. Most change one setting or one
// field of a player's record, which the next frame obeys; the simulation's
// keys call the same functions, so a key and its menu entry can never act
// differently. None writes the settings files: leaving the simulation does.
//
// The handlers that take an int take the player index (0 the first player);
// an index that names no flying player does nothing and logs one line.
#pragma once

struct kxmatrix;
struct simplayer;
struct world;

namespace sim {

// `units` 1 or 2 and the display units to match.
void UnitMetric();
void UnitEnglish();

// Recording for every flying player: start (loading the aircraft's copy for
// playback when the recorded one differs), play, stop (kept only when longer
// than kMinRecording), clear.
void RecordFlightOn(int player);
void RecordFlightPlay(int player);
void RecordFlightStop(int player);
void RecordFlightClear(int player);
constexpr float kMinRecording = 2.0f;  // s; a shorter recording is dropped at the stop

// Main view modes 50-57.
void ViewFixed(int player);
void ViewFixedAZ(int player);
void ViewFollow(int player);
void ViewCockpit(int player);
void ViewCockpitInstruments(int player);
void ViewRecordR(int player);
void ViewRecordF(int player);
void ViewRecordC(int player);

// The second view: on and off, and what it shows.
void CameraOnOff(int player);
void View2Acft(int player);
void View2Wind(int player);
void View2Follow(int player);
void View2Fixed(int player);
void View2RecordR(int player);
void View2RecordF(int player);
void View2RecordC(int player);

// The flight-info box and its six lines.
void InfoOnOff(int player);
void InfoVelocity(int player);
void InfoHeight(int player);
void InfoHeightMSL(int player);
void InfoHeading(int player);
void InfoRPM(int player);
void InfoFPS(int player);

// The flight trace.
void TraceView(int player);
void TraceStart(int player);
void TraceStop(int player);
void TraceClear(int player);

// Contests of the loaded scenery, numbered from 1; 0 turns contests off.
void ContestStart();
void ContestStop();
void ContestSelect(int contest);

// Aerotow: the two aircraft lined up at the first start, the towed one a
// rope length behind, and the rope between their hooks; detaching drops it.
void FSchleppStart();
void FSchleppDetach();

// Cloud types 80-82; the sky is built again at once.
void SetCloudsNone();
void SetCloudsNice();
void SetCloudsRain();

// Toggles of settings; vertical sync also goes to the swap interval.
void ToogleTrees();
void ToogleTreeCollision();
void ToogleSmoke();
void ToogleExhaust();
void ToogleAircraftRefl();
void ToogleSunBlend();
void ToogleFog();
void ToogleVSYNC();
void ShowTips();

// The square box the recorded aircraft's shadow is drawn over: x and y
// stretched to the largest of |min.x|, |max.x|, |min.y|, |max.y| on both
// sides, z as it is.
void SquareRecordingBounds(float min[3], float max[3]);

// The aerotow line-up at the world's first start: frames[i] for player i,
// the towed one (player 0 when towedFirst, else player 1) moved back by the
// rope length along the heading.
void TowLineUp(const world& w, float ropeLength, int towedFirst, kxmatrix frames[2]);

// The player an indexed command addresses: 0 the first, 1 the second while
// it flies. Null, with one log line naming the command, for any other.
simplayer* LinkedPlayer(int index, const char* command);

}  // namespace sim
