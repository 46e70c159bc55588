// simplayer: the record of one player - the aircraft flown, the viewer and
// its settings, the head-up display, the overlay cameras, the flight trace,
// the particles, the contest state and the recording store. Two records
// (player 1 and player 2) and a staging copy for the settings code exist for
// the whole run; a player starts afresh by assignment of a new record.
#pragma once

#include "core/matrix.h"
#include "dynamics/flight_state.h"
#include "sim/particle.h"

class kxgeometricobject;
struct kxtexture;
struct pylonrec;  // a pylon gate of the contest record (sim/world)

namespace sim {

// View modes of a player's main view; overlay camera 2 shows a scene with
// the same codes. 55 to 57 look at the recorded flight.
enum class viewmode : int {
  kViewFixed = 50,
  kViewFixedAutozoom = 51,
  kViewFollow = 52,
  kViewCockpit = 53,
  kViewCockpitInstruments = 54,
  kViewRecordFixed = 55,
  kViewRecordFollow = 56,
  kViewRecordCockpit = 57,
};
using enum viewmode;

// Overlay camera types besides the scene views above.
enum class cameratype : int {
  kCameraFlightInfo = 60,
  kCameraAircraft = 61,
  kCameraWind = 62,       // wind and variometer
  kCameraContest = 63,
};
using enum cameratype;

// What an overlay camera shows: an overlay of its own, or (camera 2) a scene
// view. The two families' numbers do not overlap, so the player file keeps
// one number for either; a number naming neither shows nothing.
class cameraview {
 public:
  constexpr cameraview() = default;
  constexpr cameraview(cameratype type) : code_(static_cast<int>(type)) {}
  constexpr cameraview(viewmode mode) : code_(static_cast<int>(mode)) {}
  friend constexpr bool operator==(cameraview, cameraview) = default;

  // The number the player file keeps.
  constexpr int Code() const { return code_; }
  static constexpr cameraview FromCode(int code) {
    cameraview v;
    v.code_ = code;
    return v;
  }
  // The scene view or the overlay by its number; the other family's number
  // names none of the enum's codes, so a switch over one passes it by.
  constexpr viewmode Scene() const { return static_cast<viewmode>(code_); }
  constexpr cameratype Overlay() const { return static_cast<cameratype>(code_); }

 private:
  int code_ = 0;
};

// Recording states.
enum class recordstate : int {
  kRecordIdle = 70,
  kRecording = 71,
  kRecordPlaying = 72,
};
using enum recordstate;

// Contest phases of a player; kContestNoPhase before any.
enum class contestphase : int {
  kContestNoPhase = 0,
  kContestFlying = 21,
  kContestFinished = 22,
  kContestFalseStart = 23,
  kContestTimeOver = 25,
};
using enum contestphase;

}  // namespace sim

// An overlay view drawn in a corner of a player's view.
struct simcamera {
  int on = 0;
  sim::cameraview type;      // kCamera... or a scene view kView...
  int x = -1, y = -1;        // px in the player's view; negative: the default place
  int width = 0, height = 0; // px
  float position[3] = {};    // m, eye position in the world
  float axis_x[3] = {}, axis_y[3] = {}, axis_z[3] = {};  // viewing frame: forward, left, up
  float fov = 0.3f;          // field of view
  float velocity[3] = {};    // m/s, camera 2's follow spring
  float accel[3] = {};       // m/s^2, camera 2's follow spring
};

// A player's exhaust puffs and smoke trail. Each exhaust row is chained in
// order from the start; the smoke code chains the pool. A copy links its own
// records as the original links its, so the record can be assigned whole.
//
// The smoke pool (half a megabyte) lives on the heap, owned by the record:
// held inside, it made the player record too large to build as a temporary
// on the stack, which a reset by value does. A move hands the pools over
// whole - the records stay where they are, so the chain and the pointers
// into it stay right - and a reset costs one allocation and no copy.
struct playerparticles {
  static constexpr int kExhaustRows = 4;         // one per exhaust point
  static constexpr int kExhaustRowLength = 20;   // puffs per row
  static constexpr int kSmokePool = 8096;        // smoke particle records

  playerparticles();
  playerparticles(const playerparticles& other);
  playerparticles& operator=(const playerparticles& other);
  playerparticles& operator=(playerparticles&& other) noexcept;  // swaps the pools
  ~playerparticles();

  particle exhaust_particles[kExhaustRows][kExhaustRowLength] = {};  // [row][0] is the newest puff
  particle* smoke_pool;                       // kSmokePool zeroed records, owned
  particle* smoke_list = nullptr;             // first of the chained pool entries
  particle* smoke_newest = nullptr;
  float smoke_clock = 0, smoke_last_emit = 0; // s

 private:
  // The exhaust rows, their links and the smoke clocks of other.
  void CopyExhaust(const playerparticles& other);
  // Where q points into other's exhaust rows, the same place in this
  // record's; any other link stays as it is.
  particle* RelinkExhaust(particle* q, const playerparticles& other);
};

// What the head-up display shows: the switches of its lines (kept in the
// player settings file) and the flight values, set every frame.
struct playerhud {
  int show_velocity = 1, show_height = 1, show_heightmsl = 1, show_heading = 1, show_rpm = 1, show_fps = 1;
  float speed = 0;                            // m/s
  float height_above_ground = 0;              // m
  float heading = 0;                          // rad
};

// A player's flight trace: its switches and the ring of samples taken as the
// aircraft moves on. `p.trace = {}` forgets a trace whole.
struct playertrace {
  static constexpr int kLength = 600;         // samples of the ring

  playertrace();

  int on = 0;                                 // sampling
  int view = 0;                               // drawn
  int index = 0;                              // the newest sample
  float position[kLength][3] = {};            // m, world
  float axis[kLength][3] = {};                // the aircraft's Y axis
  float speed[kLength] = {};                  // m/s
  float height[kLength] = {};                 // m above the ground
  float time[kLength];                        // s; -1 for an empty sample
  float max_speed = 0;                        // m/s
};

// A player's part in the running contest. The set-up starts each player
// afresh with `p.contest = {}`; nothing in it points into the player.
struct playercontest {
  float position[3] = {}, last_position[3] = {};  // m
  int score = 0;
  int time = 0;                       // ms
  sim::contestphase phase = sim::kContestNoPhase;  // kContest... phase
  int last_points = -100;             // -100 nothing to show, -1 invalid
  pylonrec* pylon = nullptr;          // the gate to pass next, null when finished
  int rounds_left = 0;
  int hint = 0;
  int gate_flags = 0;                 // 1 plane A passed, 2 plane B passed, 4 plane A cut
  int penalty_display = 0;            // ms
  float gate_distance = 0;            // m, signed distance to plane A
  int pylons_missed = 0;
};

// What a recording file's header says: the aircraft and scenery recorded,
// the length and the aircraft's size. Loading a file starts from an empty
// header, so nothing of the recording before is taken for what the file
// leaves out.
struct recordingheader {
  static constexpr int kNameChars = 128;
  char aircraft[kNameChars] = {};
  char scenery[kNameChars] = {};
  float length = 0;                    // s
  float radius = 0;                    // m
  float bbmin[3] = {}, bbmax[3] = {};  // m
};

// A player's recording and its playback. Nothing in it points into the
// player, and the store it is written into lives apart (playerrecordstore),
// so `p.recording = {}` forgets a recording without losing the store.
struct playerrecording {
  playerrecording() { kxmatrix::SetIdentity(&pose); }

  int present = 0;
  sim::recordstate state = sim::kRecordIdle;  // kRecord...
  int frame = 0;
  float time = 0;                     // s
  float blend = 0;
  kxmatrix pose;                      // blended pose of the first recorded part
  recordingheader header;
  kxgeometricobject* instance = nullptr;  // playback aircraft's geometry root; null when none
};

// A player's share of the recording store, given once when the record is
// made, with the cursor into it, and the recorded aircraft's shadow texture.
struct playerrecordstore {
  recordframe* frames = nullptr;        // simplayer::kRecordFrameEntries entries
  float* positions = nullptr;           // simplayer::kRecordPositions records of 9 floats
  float* write = nullptr;               // write or read cursor into positions
  kxtexture* shadow_texture = nullptr;  // "recacft%dshadow"
};

// A record is assigned whole, and `players[i] = simplayer{}` starts a player
// afresh. flight_state may name the record's own legacy_state: a fresh record
// names none, and the code that gives a player its aircraft sets it.
struct simplayer {
  static constexpr int kTraceLength = playertrace::kLength;
  static constexpr int kExhaustRows = playerparticles::kExhaustRows;
  static constexpr int kExhaustRowLength = playerparticles::kExhaustRowLength;
  static constexpr int kSmokePool = playerparticles::kSmokePool;
  static constexpr int kCameras = 3;
  static constexpr int kNameChars = recordingheader::kNameChars;  // recording name buffers
  static constexpr int kRecordFrames = 21600;    // recorded frames per player
  static constexpr int kRecordFrameEntries = kRecordFrames + 1;  // and the end mark after a full recording
  static constexpr long kRecordPositions = 1296000;  // 9-float records per player
  static constexpr int kRecordFloats = 9;
  enum class fovchoice : int { kFovFixed = 0, kFovFollow = 1, kFovCockpit = 2 };  // fov_choice
  using enum fovchoice;

  simplayer();

  // --- the aircraft
  int legacy = 0;                             // flies a legacy airLark model
  kxdflightstate legacy_state;                // published state of the legacy model
  int legacy_position_flag = 0;               // the legacy runtime's position fields
  float legacy_frames[2][16] = {};
  kxdflightstate* flight_state = nullptr;     // null while the player has no aircraft
  simplayer* next = nullptr;                  // next flying player; the list starts at player 1

  // --- viewer
  kxmatrix viewer;                            // the viewer's frame
  // The four rows of viewer, computed so that the record holds no pointer
  // into itself.
  float* viewer_row_x() { return &viewer.X.x; }
  float* viewer_row_y() { return &viewer.Y.x; }
  float* viewer_row_z() { return &viewer.Z.x; }
  float* viewer_position() { return &viewer.R.x; }
  const float* viewer_row_x() const { return &viewer.X.x; }
  const float* viewer_row_y() const { return &viewer.Y.x; }
  const float* viewer_row_z() const { return &viewer.Z.x; }
  const float* viewer_position() const { return &viewer.R.x; }
  float viewer_velocity[3] = {};              // m/s
  float viewer_accel[3] = {};                 // m/s^2
  kxmatrix saved_frame;                       // the aircraft's start frame, or the F3 store
  float saved_velocity[4] = {};               // m/s
  float saved_viewer_position[3] = {};        // m
  float crash_timer = 0;                      // s since a crash
  int kept_position = 0;                      // F3 stored a position

  // --- head-up display
  playerhud hud;

  // --- view settings (player settings file)
  sim::viewmode view_mode = sim::kViewFixed;  // kView...
  fovchoice fov_choice = kFovFixed;           // which of the three below the view mode zooms
  float* fov() {
    return fov_choice == kFovFollow ? &fov_follow : fov_choice == kFovCockpit ? &fov_cockpit : &fov_fixed;
  }
  float fov_fixed = 0.55f, fov_follow = 0.25f, fov_cockpit = 0.2f;
  float cockpit_height = 0.1f;                // m
  float pilot_view_delayx = 0, pilot_view_delayy = 1;
  float follow_time_distance = 0.8f;          // s
  float follow_height = 0;                    // m, -3..3 in steps of 0.2
  float viewer_target[3] = {};                // m, where the fixed viewer looks
  simcamera camera[kCameras];

  // --- main view zoom
  float view_zoom = 1, autozoom_blend = 0, autozoom_from = 1, autozoom_to = 1;

  // --- display lists of the aircraft, built by the views
  int list_textured = 0, list_plain = 0, list_shadow = 0;

  // --- flight trace
  playertrace trace;

  // --- particles
  playerparticles particles;

  // --- contest
  playercontest contest;

  // --- recording and playback
  playerrecording recording;
  playerrecordstore record_store;
};

namespace sim {

constexpr int kPlayers = 2;

// Player 1 and player 2.
extern simplayer players[kPlayers];
// The staging copy the settings code reads and writes player files through.
extern simplayer staging_player;

// Player 0 or 1; null for any other index.
simplayer* Player(int index);
// 0 for player 1's record, 1 for player 2's, -1 for any other.
int PlayerIndex(const simplayer* player);

}  // namespace sim
