#include "sim/settings.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "core/numbers.h"
#include "dynamics/air_model.h"
#include "graphics/texture_table.h"
#include "platform/codes.h"
#include "platform/files.h"
#include "platform/log.h"
#include "platform/text.h"
#include "platform/usb_interface.h"
#include "platform/window.h"
#include "sim/code_number.h"
#include "sim/notice.h"
#include "sim/player.h"
#include "sim/session.h"
#include "sim/world/world.h"

namespace sim {

const char kMainSettingsPath[] = "config/main.mcf";
const char kPlayerSettingsPath[2][20] = {"config/player1.mcf", "config/player2.mcf"};

namespace {

constexpr settingsrow::kind S = settingsrow::kString, I = settingsrow::kInt, F = settingsrow::kFloat;

settingsrow Row(settingsrow::kind type, void* variable, float number, const char* key) {
  return {type, 1, variable, number, "", key};
}
settingsrow Row(settingsrow::kind type, void* variable, float number, const char* key, float minimum,
                float maximum) {
  return {type, 1, variable, number, "", key, minimum, maximum};
}
settingsrow Text(char* variable, const char* text, const char* key) { return {S, 1, variable, 0, text, key}; }
// A 3-vector: the key's row and two continuation rows with their separators.
settingsrow Vector(float* variable, float number, const char* key) { return {F, 3, variable, number, "", key}; }
settingsrow Next(float* variable, float number, const char* separator) { return {F, 0, variable, number, "", separator}; }
// A code row: the file keeps the code's number, which may name no code of
// today (the reader takes any int as before); the variable is only ever
// touched through its own type.
template <class T>
int GetCode(const void* variable) {
  return CodeNumber(*static_cast<const T*>(variable));
}
template <class T>
void SetCode(void* variable, int number) {
  *static_cast<T*>(variable) = CodeFromNumber<T>(number);
}
template <class T>
constexpr settingscode kCodeAccess = {&GetCode<T>, &SetCode<T>};
template <class T>
settingsrow Code(T* variable, T defaultCode, const char* key) {
  const float number = static_cast<float>(CodeNumber(defaultCode));
  // The kind spelled out: gcc 12 stops on the class's using-enum name inside a template.
  return {settingsrow::kind::kCode, 1, variable, number, "", key, 0, 0, &kCodeAccess<T>};
}
constexpr settingsrow kEndRow = {settingsrow::kEnd, 0, nullptr, 0, "", ""};

/* The ranges of the values read. Where an option window sets a value, its
   slider's range; where a value sizes a texture or a count, what the code
   using it can take without overflow; the overlay cameras' places and sizes
   stay within the largest window, and the view puts a camera outside its
   own view back at the default place. Other rows take any value. */
constexpr float kSpeedLow = 0.3f, kSpeedHigh = 2.0f;     // simulation and playback speed, 30-200 %
constexpr float kFovLow = 0.01f, kFovHigh = 3.13f;       // rad, inside (0, pi)
constexpr float kFogDensityHigh = 0.1f;                  // the fog slider's end
constexpr float kSmokeDensityLow = 0.2f;                 // the smoke slider's start
constexpr float kLargestWindow = 16384.0f;               // px
constexpr float kTextureLow = 16.0f, kTextureHigh = 4096.0f;  // px, procedural and shadow textures
constexpr float kMaxTextureHigh = 16384.0f;              // px
constexpr float kPulseHigh = 1e6f;                       // the USB decoder's pulse bounds
constexpr float kMulHigh = 100.0f;                       // the USB decoders' scale factors
constexpr float kPauseHigh = 10000.0f;                   // tenths of a millisecond
constexpr float kPadPilotHigh = 65535.0f;                // raw axis values

}  // namespace

const settingsrow* MainSettings() {
  sessionsettings& s = session.settings;
  kxdisplaysettings& d = kxsystem::display;
  kxdenvironment& e = kxdynamics::Environment();
  usbinterface::decodersettings& u = usbinterface::settings;
  static const settingsrow table[] = {
      Row(I, &d.window_width, 640, "window_width "),
      Row(I, &d.window_height, 480, "window_height "),
      Row(I, &d.window_fullscreen, 0, "window_fullscreen "),
      Row(I, &d.monitor_frequency, 0, "monitor_frequency "),
      Text(s.scenery, kDefaultScenery, "scenery "),
      Text(s.aircraft0, "christeneagle", "aircraft0 "),
      Text(s.aircraft1, "", "aircraft1 "),
      Row(F, &e.wind_speed, 0, "wind_speed "),
      Row(F, &e.wind_turbulence, 0, "wind_turbulence "),
      Row(F, &e.wind_thermic, 0.5f, "wind_thermic "),
      Row(F, &e.wind_direction, 270, "wind_direction "),
      Row(F, &e.surface_roughness, 0.5f, "surface_roughness "),
      Row(F, &e.transmitter_reliability, 1, "transmitter_reliability "),
      Row(I, &s.sound, 1, "sound "),
      Row(F, &s.sound_volume, 0.6f, "sound_volume "),
      Row(I, &s.music, 0, "music "),
      Row(I, &s.music_restartcrash, 0, "music_restartcrash "),
      Row(I, &s.music_title, 0, "music_title "),
      Row(F, &s.music_volume, 0.8f, "music_volume "),
      Row(F, &s.simulation_speed, 1, "simulation_speed ", kSpeedLow, kSpeedHigh),
      Row(F, &s.playback_speed, 1, "playback_speed ", kSpeedLow, kSpeedHigh),
      Row(I, &s.show_trees, 1, "show_trees "),
      Row(I, &s.show_smoke, 0, "show_smoke "),
      Row(I, &s.show_exhaust, 1, "show_exhaust "),
      Row(I, &s.show_tips, 1, "show_tips "),
      Row(I, &s.tree_collision, 1, "tree_collision "),
      Row(I, &s.use_vsync, 0, "use_vsync "),
      Row(I, &s.show_log, 0, "show_log "),
      Code(&s.units, kUnitsMetric, "units "),
      Code(&s.cloud_type, kCloudsFair, "cloud_type "),
      Row(F, &s.smoke_color_red, 1, "smoke_color_red "),
      Row(F, &s.smoke_color_green, 1, "smoke_color_green "),
      Row(F, &s.smoke_color_blue, 1, "smoke_color_blue "),
      Row(F, &s.smoke_density, 1, "smoke_density ", kSmokeDensityLow, 1),
      Row(I, &s.smoke_particles, 700, "smoke_particles ", 0, simplayer::kSmokePool),
      Row(F, &s.exhaust_density, 1, "exhaust_density ", 0, 1),
      Row(F, &s.tree_density, 1, "tree_density ", 0, 1),
      Row(F, &s.distance_viewer_aircraft, 3, "distance_viewer_aircraft "),
      Row(F, &s.viewer_change_angle, 1.5f, "viewer_change_angle "),
      Row(F, &s.viewer_change_height, 0.15f, "viewer_change_height "),
      Row(F, &s.viewer_distance_min, 2, "viewer_distance_min "),
      Row(F, &s.viewer_distance_max, 4000, "viewer_distance_max "),
      Row(F, &s.cockpit_min_height, -2, "cockpit_min_height "),
      Row(F, &s.cockpit_max_height, 2, "cockpit_max_height "),
      Row(F, &s.autozoom_speed, 0.5f, "autozoom_speed "),
      Row(F, &s.autozoom_distance, 100, "autozoom_distance "),
      Row(F, &s.autozoom_min_distance, 12, "autozoom_min_distance "),
      Row(F, &s.autozoom_max_distance, 200, "autozoom_max_distance "),
      Row(F, &s.autozoom_factor, 1.5f, "autozoom_factor "),
      Row(F, &s.contest_start_distance, 4, "contest_start_distance "),
      Row(I, &s.contest_balloonpop_time, 180, "contest_balloonpop_time ", 30, 600),
      Row(I, &s.contest_pylon_rounds, 3, "contest_pylon_rounds ", 1, 16),
      Row(F, &s.fschlepp_rope_length, 20, "fschlepp_rope_length "),
      Row(F, &s.fschlepp_rope_strength, 0.5f, "fschlepp_rope_strength "),
      Row(F, &s.crashtime, 3, "crashtime ", 1, 60),
      Code(&s.game_type, kGameSingle, "game_type "),
      Row(I, &s.gl_aircraft_reflections, 1, "gl_aircraft_reflections "),
      Row(I, &s.gl_sun_blend, 1, "gl_sun_blend "),
      Row(I, &kxgl::textureCompression, 1, "gl_texture_compression "),
      Row(I, &kxgl::textureQuality, 0, "gl_texture_quality "),
      Row(I, &s.gl_fog, 0, "gl_fog "),
      Row(F, &s.fog_density, 0.01f, "fog_density ", 0, kFogDensityHigh),
      Vector(&s.fog_color[0], 0.6f, "fog_color "),
      Next(&s.fog_color[1], 0.6f, " "),
      Next(&s.fog_color[2], 0.6f, "\n"),
      Row(I, &s.gl_procedural_texture_size, 256, "gl_procedural_texture_size ", kTextureLow, kTextureHigh),
      Row(I, &kxgl::maxTextureSize, 2048, "gl_max_texture_size ", kTextureLow, kMaxTextureHigh),
      Row(I, &s.gl_shadow_texture_size, 512, "gl_shadow_texture_size ", kTextureLow, kTextureHigh),
      Row(I, &u.pulse_min, 2750, "usb_pulse_min ", 0, kPulseHigh),
      Row(I, &u.pulse_max, 13650, "usb_pulse_max ", 0, kPulseHigh),
      Row(I, &u.pulse_mul, 6, "usb_pulse_mul ", 1, kMulHigh),
      Row(I, &u.pause_len, 55, "usb_pause_len ", 1, kPauseHigh),
      Row(I, &u.padpilot_min, 0, "usb_padpilot_min ", 0, kPadPilotHigh),
      Row(I, &u.padpilot_max, 21845, "usb_padpilot_max ", 0, kPadPilotHigh),
      Row(I, &u.padpilot_mul, 3, "usb_padpilot_mul ", 1, kMulHigh),
      kEndRow,
  };
  return table;
}

const settingsrow* PlayerSettings() {
  simplayer& p = staging_player;
  static const settingsrow table[] = {
      Code(&p.view_mode, kViewFixed, "view_mode "),
      Row(F, &p.fov_fixed, 0.55f, "fov_fixed ", kFovLow, kFovHigh),
      Row(F, &p.fov_follow, 0.25f, "fov_follow ", kFovLow, kFovHigh),
      Row(F, &p.fov_cockpit, 0.2f, "fov_cockpit ", kFovLow, kFovHigh),
      Row(F, &p.cockpit_height, 0.1f, "cockpit_height "),
      Row(F, &p.pilot_view_delayy, 1, "pilot_view_delayy "),
      Row(F, &p.pilot_view_delayx, 0, "pilot_view_delayx "),
      Row(F, &p.follow_time_distance, 0.8f, "follow_time_distance "),
      Row(I, &p.hud.show_velocity, 1, "show_velocity "),
      Row(I, &p.hud.show_height, 1, "show_height "),
      Row(I, &p.hud.show_heightmsl, 1, "show_heightmsl "),
      Row(I, &p.hud.show_heading, 1, "show_heading "),
      Row(I, &p.hud.show_rpm, 1, "show_rpm "),
      Row(I, &p.hud.show_fps, 1, "show_fps "),
      Row(I, &p.camera[0].on, 1, "camera0_on "),
      Code(&p.camera[0].type, cameraview(kCameraFlightInfo), "camera0_type "),
      Row(I, &p.camera[0].x, -1, "camera0_x ", -1, kLargestWindow),
      Row(I, &p.camera[0].y, -1, "camera0_y ", -1, kLargestWindow),
      Row(I, &p.camera[1].on, 0, "camera1_on "),
      Code(&p.camera[1].type, cameraview(kCameraContest), "camera1_type "),
      Row(I, &p.camera[1].x, -1, "camera1_x ", -1, kLargestWindow),
      Row(I, &p.camera[1].y, -1, "camera1_y ", -1, kLargestWindow),
      Row(I, &p.camera[2].on, 0, "camera2_on "),
      Code(&p.camera[2].type, cameraview(kCameraAircraft), "camera2_type "),
      Row(I, &p.camera[2].width, 192, "camera2_width ", 1, kLargestWindow),
      Row(I, &p.camera[2].height, 180, "camera2_height ", 1, kLargestWindow),
      Row(I, &p.camera[2].x, 1, "camera2_x ", -1, kLargestWindow),
      Row(I, &p.camera[2].y, -1, "camera2_y ", -1, kLargestWindow),
      Vector(&p.camera[2].position[0], 40, "camera2_position "),
      Next(&p.camera[2].position[1], 40, " "),
      Next(&p.camera[2].position[2], 40, "\n"),
      Row(F, &p.camera[2].fov, 0.3f, "camera2_fov ", kFovLow, kFovHigh),
      kEndRow,
  };
  return table;
}

namespace {

// The bounded copy every string setting goes through: the buffers hold 127
// characters and the terminator, whatever a file or a caller hands in.
void SetString(void* variable, const char* text, size_t length) {
  char* out = static_cast<char*>(variable);
  size_t n = length < kSettingStringChars - 1 ? length : kSettingStringChars - 1;
  std::memcpy(out, text, n);
  out[n] = 0;
}

const char* SkipWord(const char* p) {
  while (*p && *p != ' ') ++p;
  return p;
}
const char* SkipBlanks(const char* p) {
  while (*p == ' ') ++p;
  return p;
}

bool Ranged(const settingsrow& row) { return row.minimum < row.maximum; }

std::string Shown(int v) { return std::to_string(v); }
std::string Shown(float v) { return kxnumber::FormatG(v); }

// A number outside the row's range is held at its nearer end, with a log line.
template <class T>
T Hold(const settingsrow& row, T v, const char* key) {
  if (!Ranged(row)) return v;
  const T low = static_cast<T>(row.minimum), high = static_cast<T>(row.maximum);
  if (v >= low && v <= high) return v;
  const T held = v < low ? low : high;
  kxsystem::Log("sim:  setting %s%s outside %s..%s; %s taken\n", key, Shown(v).c_str(), Shown(low).c_str(),
                Shown(high).c_str(), Shown(held).c_str());
  return held;
}

// A value that gives no number the row can hold (not a number, not finite,
// beyond an int) leaves the variable as it is, with a log line as a value
// out of range gets; the word is shown cut to a sane length.
constexpr size_t kShownWordChars = 40;
constexpr size_t kShownLineChars = 80;  // of a line that names no setting
int Refuse(const settingsrow& row, std::string_view word, const char* key) {
  const bool real = row.type == settingsrow::kFloat;
  const std::string kept = real ? Shown(*static_cast<const float*>(row.variable))
                           : row.type == settingsrow::kCode ? Shown(row.code->get(row.variable))
                                                            : Shown(*static_cast<const int*>(row.variable));
  const std::string shown(word.substr(0, kShownWordChars));
  kxsystem::Log("sim:  setting %s%s not a %s; %s kept\n", key, shown.c_str(),
                real ? "finite number" : "whole number in range", kept.c_str());
  return 0;
}

// Parses the value at the front of a word as "%d", "%f" or "%s" would, but
// in the C locale whatever the process's, and never stores a number that is
// out of range or not finite. 1 when it stored a value; unchanged when
// nothing parses. key: the row's key, or its vector's for a continuation row.
int ParseValue(const settingsrow& row, const char* word, const char* key) {
  const char* end = SkipWord(word);
  if (end == word) return 0;
  if (row.type == settingsrow::kString) {
    SetString(row.variable, word, static_cast<size_t>(end - word));
    return 1;
  }
  const std::string_view text(word, static_cast<size_t>(end - word));
  if (row.type == settingsrow::kInt || row.type == settingsrow::kCode) {
    long long v = 0;
    if (!kxnumber::ReadLeadingInt(text, v) || v < INT32_MIN || v > INT32_MAX) return Refuse(row, text, key);
    const int held = Hold(row, static_cast<int>(v), key);
    if (row.type == settingsrow::kCode) row.code->set(row.variable, held);
    else *static_cast<int*>(row.variable) = held;
    return 1;
  }
  if (row.type == settingsrow::kFloat) {
    float v = 0;
    if (!kxnumber::ReadLeading(text, v)) return Refuse(row, text, key);
    *static_cast<float*>(row.variable) = Hold(row, v, key);
    return 1;
  }
  return 0;
}

// The files the reading kept in place because they could not be read and
// could not be moved aside: they are not written over during this run.
std::vector<std::string>& KeptFiles() {
  static std::vector<std::string> kept;
  return kept;
}

bool Kept(const char* path) {
  const std::vector<std::string>& kept = KeptFiles();
  return std::find(kept.begin(), kept.end(), path) != kept.end();
}

// A settings file that is there but gave no setting: the user's, so it is
// moved aside (or kept) rather than overwritten with defaults at exit.
void SetAside(const char* path, const std::string& problem) {
  const std::string bad = std::string(path) + ".bad";
  std::string done;
  // A link that leads out of the data folder is left alone: neither
  // followed nor moved, and nothing is written over it.
  if (problem != kxsystem::kOutside && kxsystem::RenameFile(path, bad.c_str())) {
    kxsystem::Log("sim:  %s (%s) moved to %s; default settings used\n", path, problem.c_str(), bad.c_str());
    done = "It was moved to " + bad + " and the default settings are used.";
  } else {
    // Once: a run may read the same file again (each player's staging read).
    if (!Kept(path)) KeptFiles().push_back(path);
    kxsystem::Log("sim:  %s (%s) kept; default settings used and not saved over it\n", path, problem.c_str());
    done = "It was left as it is; the default settings are used and are not saved over it.";
  }
  PostNotice("The settings file " + std::string(path) + " could not be read (" + problem + "). " + done);
}

void FormatValue(std::string& out, const settingsrow& row) {
  out += ' ';
  switch (row.type) {
    case settingsrow::kString: {
      const char* text = static_cast<const char*>(row.variable);
      out.append(text, strnlen(text, kSettingStringChars - 1));
      break;
    }
    case settingsrow::kInt: out += std::to_string(*static_cast<const int*>(row.variable)); break;
    case settingsrow::kCode: out += std::to_string(row.code->get(row.variable)); break;
    default: out += kxnumber::FormatFixed(*static_cast<const float*>(row.variable), 0, 5); break;
  }
}

}  // namespace

void ResetSettings(const settingsrow* table) {
  for (const settingsrow* row = table; row->type != settingsrow::kEnd; ++row) {
    switch (row->type) {
      case settingsrow::kString: SetString(row->variable, row->default_text, std::strlen(row->default_text)); break;
      case settingsrow::kInt: *static_cast<int*>(row->variable) = static_cast<int>(row->default_number); break;
      case settingsrow::kCode: row->code->set(row->variable, static_cast<int>(row->default_number)); break;
      case settingsrow::kFloat: *static_cast<float*>(row->variable) = row->default_number; break;
      default: break;
    }
  }
}

namespace {

// ReadSettingsLine, and whether the line's first word is a key of the table:
// a line that names none is not written again.
int ReadNamedLine(const char* text, const settingsrow* table, bool* named) {
  // Files edited by hand separate with tabs as often as with blanks, and
  // indent lines with either.
  std::string copy(text);
  std::replace(copy.begin(), copy.end(), '\t', ' ');
  const char* line = SkipBlanks(copy.c_str());
  int set = 0;
  *named = false;
  const settingsrow* row = table;
  while (row->type != settingsrow::kEnd) {
    if (row->count <= 0 || !kxsystem::StrStartsNoCase(line, row->key)) {
      ++row;
      continue;
    }
    *named = true;
    // The key is the first word; each value is the word after the one before,
    // and a vector's later values go to its continuation rows.
    const char* key = row->key;
    const char* p = line;
    for (int v = 0, n = row->count; v < n && row->type != settingsrow::kEnd; ++v, ++row) {
      p = SkipBlanks(SkipWord(p));
      set += ParseValue(*row, p, key);
    }
  }
  return set;
}

bool Blank(const char* line) {
  while (*line == ' ' || *line == '\t') ++line;
  return !*line;
}

}  // namespace

int ReadSettingsLine(const char* text, const settingsrow* table) {
  bool named = false;
  return ReadNamedLine(text, table, &named);
}

/* The result line is written whole at the end: the file reader's own lines
   (another encoding, an over-long line) come before it, never inside it.
   A line that names no setting (a comment, an unknown key) is said only when
   the file gives settings: only then is it written over from the table,
   and the line lost; a file that gives none is set aside whole. */
int ReadSettingsFile(const char* path, const settingsrow* table, const char* kind) {
  ResetSettings(table);
  std::string problem = kxsystem::ReadProblem(path);
  int set = 0;
  std::vector<std::string> dropped;
  if (problem.empty()) {
    if (kxfile* file = kxsystem::OpenFile(path, kxcode::kFileReadBinary)) {
      for (int number = 1; !kxsystem::IsEof(file); ++number) {
        const char* line = kxsystem::ReadLine(file);
        bool named = false;
        set += ReadNamedLine(line, table, &named);
        if (!named && !Blank(line))
          dropped.push_back("line " + std::to_string(number) + " \"" +
                            std::string(line).substr(0, kShownLineChars) + "\"");
      }
      kxsystem::CloseFile(file);
    }
    if (!set) problem = "no setting in it";
  }
  if (set)
    for (const std::string& line : dropped)
      kxsystem::Log("sim:  %s: %s is no setting; it is not kept when the settings are written again\n", path,
                    line.c_str());
  kxsystem::Log("loading %sconfigfile %s=%s\n", kind, path, set ? "ok" : "fail");
  // Nothing to keep of a file that is not there or holds no byte.
  if (!set && problem != kxsystem::kNotFound && problem != "empty file") SetAside(path, problem);
  return set ? 1 : 0;
}

std::string FormatSettings(const settingsrow* table) {
  std::string out;
  for (const settingsrow* row = table; row->type != settingsrow::kEnd; ++row) {
    if (row->count >= 1) out += row->key;
    FormatValue(out, *row);
    if (row->count == 0) out += row->key;
    if (row->count == 1) out += '\n';
  }
  return out;
}

int WriteSettingsFile(const char* path, const settingsrow* table, const char* kind) {
  if (Kept(path)) {
    kxsystem::Log("saving %sconfigfile %s=fail (the unreadable file is kept)\n", kind, path);
    return 0;
  }
  kxsystem::Log("saving %sconfigfile %s=", kind, path);
  std::string text = FormatSettings(table);
  kxfile* file = kxsystem::OpenFile(path, kxcode::kFileWriteText);
  bool ok = file && std::fwrite(text.data(), 1, text.size(), file->stream) == text.size();
  kxsystem::CloseFile(file);
  // CloseFile renames the finished file over the old one only when every
  // byte got out; a failed write leaves the old settings in place.
  ok = ok && kxsystem::GetFileSize(path) == static_cast<long>(text.size());
  kxsystem::Log(ok ? "ok\n" : "fail\n");
  return ok ? 1 : 0;
}

void CopyPlayerSettings(const simplayer& from, simplayer& to) {
  const char* base = reinterpret_cast<const char*>(&staging_player);
  for (const settingsrow* row = PlayerSettings(); row->type != settingsrow::kEnd; ++row) {
    ptrdiff_t offset = static_cast<const char*>(row->variable) - base;
    char* target = reinterpret_cast<char*>(&to) + offset;
    const char* source = reinterpret_cast<const char*>(&from) + offset;
    if (row->type == settingsrow::kCode) {
      row->code->set(target, row->code->get(source));
      continue;
    }
    size_t bytes = row->type == settingsrow::kString ? kSettingStringChars : sizeof(int);
    std::memcpy(target, source, bytes);
  }
}

void ForgetKeptFiles() { KeptFiles().clear(); }

void LoadConfigFiles() {
  ForgetKeptFiles();
  // A save killed at its rename left its temporary beside the file.
  kxsystem::RemoveUnfinishedWrite(kMainSettingsPath);
  for (const char* path : kPlayerSettingsPath) kxsystem::RemoveUnfinishedWrite(path);
  ReadSettingsFile(kMainSettingsPath, MainSettings(), "");
  kxsystem::FitWindowSize(kxsystem::display);
  for (int i = 0; i < kPlayers; ++i) {
    CopyPlayerSettings(players[i], staging_player);
    ReadSettingsFile(kPlayerSettingsPath[i], PlayerSettings(), "player ");
    CopyPlayerSettings(staging_player, players[i]);
  }
}

void SaveConfigFiles() {
  WriteSettingsFile(kMainSettingsPath, MainSettings(), "");
  for (int i = 0; i < kPlayers; ++i) {
    // Without a second aircraft its file keeps the settings of its last flight.
    if (i > 0 && !players[i].flight_state) break;
    CopyPlayerSettings(players[i], staging_player);
    WriteSettingsFile(kPlayerSettingsPath[i], PlayerSettings(), "player ");
  }
}

}  // namespace sim
