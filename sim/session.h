// simsession: the session record in three parts. The main settings are what
// the settings code binds to the main settings file's keys under the keys'
// names; the shared media are the sounds, pictures, meshes and reflection
// maps loaded once at the start and freed at exit; the run state is what a
// flight starts from afresh (`session.run = {}`), from the pause and the
// contest to the frame timing, the status line and the tips.
#pragma once

struct contestrec;  // a contest of the loaded scenery (sim/world)
struct kxgeometry;
struct kxsound;
struct kxtexture;
class kxdrope00;

namespace sim {

// Game types: how many players and how the screen is split.
enum class gametype : int {
  kGameSingle = 10,          // one view; a second player shares it
  kGameSplitAbove = 11,      // two views, one above the other
  kGameSplitSide = 12,       // two views side by side
};
using enum gametype;

// Values of the `units` setting.
enum class unitsystem : int {
  kUnitsMetric = 1,
  kUnitsImperial = 2,
};
using enum unitsystem;

// Cloud types.
enum class cloudtype : int {
  kCloudsNone = 80,
  kCloudsFair = 81,
  kCloudsRain = 82,
};
using enum cloudtype;

}  // namespace sim

// The main settings: the defaults of the settings table (ResetSettings sets
// them again), written back at exit. The game type is among them: it is
// stored, and entering a flight fits it to the number of players.
struct sessionsettings {
  static constexpr int kNameChars = 128;  // text settings, with the terminator

  char scenery[kNameChars] = {};
  char aircraft0[kNameChars] = {};        // player 1's aircraft ("_alx_" + stem: legacy)
  char aircraft1[kNameChars] = {};        // player 2's; empty: none
  int sound = 1;
  float sound_volume = 0.6f;
  int music = 0;
  int music_restartcrash = 0;
  int music_title = 0;
  float music_volume = 0.8f;
  float simulation_speed = 1;
  float playback_speed = 1;
  int show_trees = 1;
  int show_smoke = 0;
  int show_exhaust = 1;
  int show_tips = 1;
  int tree_collision = 1;
  int use_vsync = 0;
  int show_log = 0;
  sim::unitsystem units = sim::kUnitsMetric;          // kUnits...
  sim::cloudtype cloud_type = sim::kCloudsFair;      // kClouds...
  float smoke_color_red = 1, smoke_color_green = 1, smoke_color_blue = 1;
  float smoke_density = 1;
  int smoke_particles = 700;
  float exhaust_density = 1;
  float tree_density = 1;
  float distance_viewer_aircraft = 3;     // m
  float viewer_change_angle = 1.5f;
  float viewer_change_height = 0.15f;
  float viewer_distance_min = 2, viewer_distance_max = 4000;  // m
  float cockpit_min_height = -2, cockpit_max_height = 2;      // m
  float autozoom_speed = 0.5f;
  float autozoom_distance = 100;          // m
  float autozoom_min_distance = 12, autozoom_max_distance = 200;  // m
  float autozoom_factor = 1.5f;
  float contest_start_distance = 4;       // m
  int contest_balloonpop_time = 180;      // s
  int contest_pylon_rounds = 3;
  float fschlepp_rope_length = 20;        // m
  float fschlepp_rope_strength = 0.5f;
  float crashtime = 3;                    // s
  sim::gametype game_type = sim::kGameSingle;  // kGame...
  int gl_aircraft_reflections = 1;
  int gl_sun_blend = 1;
  int gl_fog = 0;
  float fog_density = 0.01f;
  float fog_color[3] = {0.6f, 0.6f, 0.6f};
  int gl_procedural_texture_size = 256;   // px
  int gl_shadow_texture_size = 512;       // px
};

// What every mode shares: loaded once at the start, freed at exit.
struct sessionmedia {
  static constexpr int kInstruments = 7;

  // --- shared sounds
  kxsound* beep_sound = nullptr;
  kxsound* balloon_sound = nullptr;
  kxsound* crash_sound = nullptr;
  kxsound* splash_sound = nullptr;
  kxsound* glider_sound = nullptr;
  kxsound* glider2_sound = nullptr;

  // --- shared pictures and meshes
  kxtexture* logo_texture = nullptr;
  kxtexture* smoke_texture = nullptr;
  kxtexture* exhaust_texture = nullptr;
  kxtexture* circle_texture = nullptr;
  kxtexture* balloon_shadow_texture = nullptr;
  kxtexture* backlight_texture = nullptr;
  kxtexture* compass_texture = nullptr;
  kxtexture* about_texture = nullptr;    // "texture/about.bmp", 512 x 512, the upper 420 rows used
  // airspeed, altimeter, variometer, indicator, compass, compass indicator, horizon
  kxtexture* instrument_textures[kInstruments] = {};
  kxtexture* cubemap_textures[3] = {};
  kxgeometry* horizon_mesh = nullptr;
  kxgeometry* pylon_mesh = nullptr;
  void* reflection_maps1 = nullptr;       // reserve "reflmaps1"
  void* reflection_maps2 = nullptr;       // reserve "reflmaps2"
  int cube_size = 0;                      // px, edge of a reflection cube face
};

// The run state: every field's start value is what a flight starts from.
// The menu shares the frame rate and the status line; which contest is
// chosen and which tips were given outlive a flight (entering the next one
// carries them over).
struct sessionrun {
  static constexpr int kTips = 3;
  static constexpr int kTipLines = 3;
  // The tips shown once per aircraft rather than once per flight.
  static constexpr int kTipOncePerAircraft[kTips] = {0, 1, 0};

  // --- pause, contest, tow rope, players
  int pause = 0;
  contestrec* current_contest = nullptr;  // running or last started contest
  int selected_contest = 0;               // 1-based, 0 none
  kxdrope00* rope = nullptr;              // the tow rope while a glider is towed
  int player_count = 0;                   // flying players, counted on entering the simulation
  int mouse_look = 0;                     // right button turns player 1's viewer

  // --- frame timing
  float now = 0, last_time = 0;           // s, timer readings
  float frame_time = 0;                   // s, clamped to 0.001..0.1
  float sim_time_step = 0;                // s, frame_time x simulation_speed
  float fps = 0;                          // sampled every 50 frames

  // --- view geometry
  int viewport_width = 0, viewport_height = 0;  // px, one player's view
  int menu_bar_height = 22;               // px kept free at the top

  // --- status line, screenshots, tips
  char status_text[sessionsettings::kNameChars] = {};
  float status_time = 0;                  // s still shown
  int screenshot_request = 0;
  int tip_shown[kTips] = {};
  int tip_pending[kTips] = {1, 1, 1};
  float tip_time = 0, tip_elapsed = 0;    // s
  int tip_lines = 0;
  const char* tip_text[kTipLines] = {};
  char last_aircraft0[sessionsettings::kNameChars] = {};
};

struct simsession {
  sessionsettings settings;
  sessionmedia media;
  sessionrun run;
};

class kxmusic;

namespace sim {

extern simsession session;
// The session's music player.
kxmusic& Music();

}  // namespace sim
