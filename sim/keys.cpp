#include "sim/keys.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "core/interpreter.h"
#include "core/maths.h"
#include "core/string.h"
#include "dynamics/component_sound.h"
#include "dynamics/driver.h"
#include "dynamics/scenery_world.h"
#include "graphics/collision_world.h"
#include "platform/codes.h"
#include "platform/event_nodes.h"
#include "platform/music.h"
#include "platform/sound.h"
#include "platform/text.h"
#include "platform/window.h"
#include "sim/contest.h"
#include "sim/hud_texts.h"
#include "sim/menu.h"
#include "sim/menu_bar_actions.h"
#include "sim/modes.h"
#include "sim/mouse.h"
#include "sim/placement.h"
#include "sim/player.h"
#include "sim/player_aircraft.h"
#include "sim/session.h"
#include "sim/simulation_mode.h"
#include "sim/vec3.h"
#include "sim/view_modes.h"
#include "sim/viewer.h"
#include "sim/views/shadow_prep.h"
#include "sim/world/world.h"

namespace sim {

namespace {

constexpr float kLaunchLow = 2.0f;      // m, G
constexpr float kLaunchHigh = 48.0f;    // m, H
constexpr float kLaunchClimb = 15.0f;   // m, J
constexpr float kBehindUp = 0.1f;       // m, Shift+X
constexpr float kViewerProbe = 2.0f;    // m above the viewer, Shift+X
constexpr float kViewerAboveGround = 1.0f;  // m
constexpr float kDropDistance = 4.0f;   // m from the viewer, Shift+D
constexpr float kDropProbe = 2.0f;      // m
constexpr float kDropAboveGround = 1.0f;  // m

// Status texts of the head-up table.
constexpr int kTextSoundOn = 46;
constexpr int kTextSoundOff = 47;
constexpr int kTextMusicOn = 48;
constexpr int kTextMusicOff = 49;
constexpr int kTextNoSoundcard = 50;
constexpr int kTextPauseOn = 51;
constexpr int kTextPauseOff = 52;
constexpr int kTextPositionSaved = 53;

constexpr float kStatusLong = 5.0f;  // s, for a failure the user must read
// The name is cut so the whole line fits the status text.
const char kReloadFailed[] = "%.64s could not be loaded; Esc returns to the menu";

const char kKeyHelp[] = "/Display/Invisible/wndKeys/Open;/Menu/Invisible/wndKeys/Open";

// A language text may be longer than the status line: it is cut there.
void Status(int text, float seconds) {
  std::snprintf(session.run.status_text, sizeof session.run.status_text, "%s", HudText(text));
  session.run.status_time = seconds;
}

// Runs a command of the views and recordings with the player's index.
void Command(const char* name, int player) {
  kxstring text;
  text.Format("%s(%d)", name, player);
  kxscript::Execute(text.Text());
}

const kxcollision* Collision() { return &TheWorld()->collision; }

simplayer* Other(const simplayer* p) {
  for (simplayer* o = &players[0]; o; o = o->next)
    if (o != p && o->flight_state) return o;
  return nullptr;
}

bool TwoOnOneScreen() { return session.run.player_count == 2 && session.settings.game_type == kGameSingle; }

bool IsFixed(viewmode mode) { return mode == kViewFixed || mode == kViewFixedAutozoom || mode == kViewRecordFixed; }
bool IsFollow(viewmode mode) { return mode == kViewFollow || mode == kViewRecordFollow; }
bool IsCockpit(viewmode mode) {
  return mode == kViewCockpit || mode == kViewCockpitInstruments || mode == kViewRecordCockpit;
}

// ---- launching and placing

void Launch(simplayer* p, float raise, float noseUpDegrees) {
  const kxdflightstate& st = *p->flight_state;
  if (!(st.position()[2] < static_cast<float>(TheWorld()->cloud_height) + kLaunchCeiling)) return;
  kxmatrix frame = st.frame;
  if (noseUpDegrees != 0.0f) {
    const float c = std::cos(noseUpDegrees * kxmaths::kRadiansPerDegree), s = std::sin(noseUpDegrees * kxmaths::kRadiansPerDegree);
    kxvector4r X = frame.X, Z = frame.Z;
    frame.X = {X.x * c + Z.x * s, X.y * c + Z.y * s, X.z * c + Z.z * s, 0.0f};
    frame.Z = {Z.x * c - X.x * s, Z.y * c - X.y * s, Z.z * c - X.z * s, 0.0f};
  }
  frame.R.z += raise;
  const float velocity[4] = {kLaunchSpeed * frame.X.x, kLaunchSpeed * frame.X.y, kLaunchSpeed * frame.X.z, 0.0f};
  SetAircraftPose(p, frame, velocity);
}

void StepStart(simplayer* p, int next, int placeViewer) {
  world& w = *TheWorld();
  w.start_index = PlaceAtStart(w.start_index + next, p, placeViewer);
}

void SavePosition(simplayer* p) {
  const kxdflightstate& st = *p->flight_state;
  p->saved_frame = st.frame;
  for (int k = 0; k < 4; ++k) p->saved_velocity[k] = st.velocity[k];
  vec3::Copy(p->saved_viewer_position, p->viewer_position());
  p->kept_position = 1;
  Status(kTextPositionSaved, kStatusShort);
}

void RestorePosition(simplayer* p) {
  kxmatrix frame = p->saved_frame;
  ResetAircraft(p, &frame, p->saved_velocity);
  vec3::Copy(p->viewer_position(), p->saved_viewer_position);
  SetViewMode(p, p->view_mode);
  session.run.current_contest = nullptr;
}

// ---- sound, music, pause

void ToggleSound() {
  sessionsettings& s = session.settings;
  s.sound = !s.sound;
  kxdsound::SetEnabled(s.sound);
  int device = s.sound ? directsound::ResumeAll() : directsound::StopAll(kxcode::kStopKeepMark);
  Status(device ? (s.sound ? kTextSoundOn : kTextSoundOff) : kTextNoSoundcard, kStatusShort);
}

void ToggleMusic() {
  if (Music().IsPaused()) {
    Music().Resume();
    Status(kTextMusicOn, kStatusShort);
  } else {
    Music().Pause();
    Status(kTextMusicOff, kStatusShort);
  }
}

void TogglePause() {
  simsession& s = session;
  s.run.pause = !s.run.pause;
  if (s.run.pause) {
    if (s.settings.sound) directsound::StopAll(kxcode::kStopKeepMark);
    if (s.settings.music) Music().Pause();
  } else {
    if (s.settings.sound) directsound::ResumeAll();
    if (s.settings.music) Music().Resume();
  }
  Status(s.run.pause ? kTextPauseOn : kTextPauseOff, kStatusPause);
}

// ---- views

void SplitScreen() {
  simsession& s = session;
  if (s.run.player_count != 2) return;
  const int W = kxsystem::display.window_width, H = kxsystem::display.window_height;
  if (s.settings.game_type == kGameSingle) {
    s.settings.game_type = kGameSplitAbove;
    s.run.viewport_width = W;
    s.run.viewport_height = H / 2;
  } else if (s.settings.game_type == kGameSplitAbove) {
    s.settings.game_type = kGameSplitSide;
    s.run.viewport_width = W / 2;
    s.run.viewport_height = H;
  } else {
    s.settings.game_type = kGameSingle;
    s.run.viewport_width = W;
    s.run.viewport_height = H;
  }
  CheckViewports(0);
  for (simplayer* p = &players[0]; p; p = p->next)
    if (p->flight_state) SetViewMode(p, p->view_mode);
}

void ContestKey() {
  sessionrun& s = session.run;
  if (s.selected_contest >= 1) {
    contestrec* c = TheWorld()->first_contest;
    for (int i = 1; c && i < s.selected_contest; ++i) c = c->next;
    if (!c) return;
    s.current_contest = c;
    StartContest(c);
  } else if (s.current_contest) {
    s.current_contest->running = 0;
  }
}

void ViewerKey(simplayer* p, int key) {
  const sessionsettings& s = session.settings;
  if (TheWorld()->photo) return;
  const viewmode mode = p->view_mode;
  float* v = p->viewer_position();
  const float turn = s.viewer_change_angle * kxmaths::kRadiansPerDegree;
  switch (key) {
    case kxcode::kKeyLeft: MoveViewer(v, p->viewer_target, 0, turn, 0); break;
    case kxcode::kKeyRight: MoveViewer(v, p->viewer_target, 0, -turn, 0); break;
    case kxcode::kKeyUp:
    case kxcode::kKeyDown: {
      const int step = key == kxcode::kKeyUp ? 1 : -1;
      if (IsFixed(mode)) MoveViewer(v, p->viewer_target, step, 0.0f, 0);
      else if (IsFollow(mode))
        p->follow_time_distance = std::clamp(p->follow_time_distance + static_cast<float>(step) * kFollowTimeStep, 0.0f, 1.0f);
      break;
    }
    case kxcode::kKeyPageUp:
      if (IsFixed(mode)) MoveViewer(v, p->viewer_target, 0, 0.0f, 1);
      else if (IsFollow(mode) && p->follow_height < kFollowHeightLimit) p->follow_height += kHeightStep;
      else if (IsCockpit(mode) && p->cockpit_height < s.cockpit_max_height) p->cockpit_height += kHeightStep;
      break;
    case kxcode::kKeyPageDown:
      if (IsFixed(mode)) MoveViewer(v, p->viewer_target, 0, 0.0f, -1);
      else if (IsFollow(mode) && p->follow_height > -kFollowHeightLimit) p->follow_height -= kHeightStep;
      else if (IsCockpit(mode) && p->cockpit_height > s.cockpit_min_height) p->cockpit_height -= kHeightStep;
      break;
    default: break;
  }
}

// '+' and '-' grow and shrink camera 2; they act with or without Shift,
// since a '+' is typed with Shift on many layouts.
bool PanelSizeKey(simplayer* p, int key) {
  simcamera& c = p->camera[2];
  if (key == '+') {
    if (c.width < session.run.viewport_width / 3) {
      c.width += kPanelStep;
      c.height += kPanelStep;
      c.x -= kPanelStep;
      c.y -= kPanelStep;
    }
    return true;
  }
  if (key == '-') {
    if (c.width > kPanelMin) {
      c.width -= kPanelStep;
      c.height -= kPanelStep;
      c.x += kPanelStep;
      c.y += kPanelStep;
    }
    return true;
  }
  return false;
}

// Shift+F12: player 1's aircraft loaded again from its files, an older-format
// model through its own loader, placed at the current start with the keypad
// at rest, as a new flight starts. A load that fails leaves player 1 without
// an aircraft and says so; the session keys still act.
void ReloadFirstAircraft() {
  simsession& s = session;
  simplayer& p = players[0];
  FSchleppDetach();  // the reload frees the rope with the aircraft it hangs on
  input::RestKeypad();
  directsound::StopAll(kxcode::kStopClearMark);
  kxdynamics::Stop();
  if (kxsystem::StrStartsNoCase(s.settings.aircraft0, kLegacyPrefix)) {
    LoadLegacyAircraft(s.settings.aircraft0);
  } else {
    if (LoadPlayerAircraft(0, s.settings.aircraft0)) PrepareAircraftGraphics(0);
  }
  directsound::LoadSounds();
  kxdynamics::Start(&SceneryWorld());
  BuildPlayerLists();  // the aircraft's parts may differ from those loaded before
  if (s.settings.sound) directsound::ResumeAll();
  if (p.flight_state) {
    PlaceAtStart(TheWorld()->start_index, &p, 1);
  } else {
    std::snprintf(s.run.status_text, sizeof s.run.status_text, kReloadFailed, s.settings.aircraft0);
    s.run.status_time = kStatusLong;
  }
}

// Keys of the session, not of an aircraft: they act whether or not the
// player has one, so a flight whose aircraft failed to load can always be
// left. True when the key was one of them.
bool SessionKey(int key, int modifiers) {
  simsession& s = session;
  if (modifiers & kxcode::kModShift) {
    if (key == kxcode::kKeyF1) s.settings.show_log = !s.settings.show_log;
    else if (key == kxcode::kKeyF12) ReloadFirstAircraft();
    else return false;
    return true;
  }
  switch (key) {
    case 'M': ToggleMusic(); return true;
    case 'P': TogglePause(); return true;
    case 'Q': ToggleSound(); return true;
    case kxcode::kKeyEscape: LeaveToMenu(); return true;
    case kxcode::kKeyF1: kxscript::Execute(kKeyHelp); return true;
    case kxcode::kKeyF1 + 1: LeaveToDesigner(); return true;
    case kxcode::kKeyF1 + 10: s.run.screenshot_request = 1; return true;
    default: return false;
  }
}

void PlainKey(simplayer* p, int index, int key) {
  float& fov = *p->fov();
  switch (key) {
    case ' ': StepStart(p, 1, 1); break;
    case 'A': fov = std::min(fov + kFovStep, 1.0f); break;
    case 'B': StepStart(p, 0, 0); break;
    case 'C': Command("TraceClear", index); break;
    case 'F': Command("FSchleppStart", index); break;
    case 'G': Launch(p, kLaunchLow, 0.0f); break;
    case 'H': Launch(p, kLaunchHigh, 0.0f); break;
    case 'J': Launch(p, kLaunchClimb, kLaunchNoseUp); break;
    case 'R':
      Command(players[0].recording.state == kRecording ? "RecordFlightStop" : "RecordFlightOn", index);
      break;
    case 'S': SplitScreen(); break;
    case 'T':
      Command(!p->trace.on ? "TraceStart" : p->trace.view ? "TraceStop" : "TraceView", index);
      break;
    case 'W':
      if (players[0].recording.state == kRecordPlaying) Command("RecordFlightStop", index);
      else if (players[0].recording.present) Command("RecordFlightPlay", index);
      break;
    case 'Y':
    case 'Z': fov = std::max(fov - kFovStep, 0.0f); break;
    case kxcode::kKeyReturn: ContestKey(); break;
    case kxcode::kKeyF1 + 2: SavePosition(p); break;
    case kxcode::kKeyF1 + 3: RestorePosition(p); break;
    case kxcode::kKeyF1 + 4: Command("ViewFixed", index); break;
    case kxcode::kKeyF1 + 5: Command("ViewFixedAZ", index); break;
    case kxcode::kKeyF1 + 6: Command("ViewFollow", index); break;
    case kxcode::kKeyF1 + 7:
      Command(p->view_mode == kViewCockpit ? "ViewCockpitInstruments" : "ViewCockpit", index);
      break;
    case kxcode::kKeyF1 + 8: Command("InfoOnOff", index); break;
    case kxcode::kKeyF1 + 9: Command("CameraOnOff", index); break;
    default: break;
  }
  ViewerKey(p, key);
}

// ---- the Shift table

void ViewerBehind(simplayer* p) {
  const kxdflightstate& st = *p->flight_state;
  float* v = p->viewer_position();
  vec3::AddScaled(v, st.position(), -session.settings.distance_viewer_aircraft, st.row_x());
  v[2] += kBehindUp;
  float probe[3] = {v[0], v[1], v[2] + kViewerProbe};
  v[2] = std::max(v[2], kxcollision::GroundHeight(Collision(), probe, nullptr) + kViewerAboveGround);
}

void DropBeforeViewer(simplayer* p) {
  const float* v = p->viewer_position();
  float d[3] = {p->flight_state->position()[0] - v[0], p->flight_state->position()[1] - v[1],
                p->flight_state->position()[2] - v[2]};
  if (!vec3::Normalise(d)) return;
  float side[3] = {-d[1], d[0], 0.0f};
  if (!vec3::Normalise(side)) return;
  kxmatrix frame;
  kxmatrix::SetIdentity(&frame);
  float at[3];
  vec3::AddScaled(at, v, kDropDistance, d);
  float probe[3] = {at[0], at[1], at[2] + kDropProbe};
  const float ground = kxcollision::GroundHeight(Collision(), probe, nullptr);
  const float still[4] = {};
  if (probe[2] < ground + kDropAboveGround) {
    float level[3] = {d[0], d[1], 0.0f};
    vec3::Normalise(level);
    frame.X = {level[0], level[1], 0.0f, 0.0f};
    frame.Y = {-level[1], level[0], 0.0f, 0.0f};
    frame.Z = {0.0f, 0.0f, 1.0f, 0.0f};
    frame.R = {at[0], at[1], ground + kDropAboveGround, 1.0f};
    ResetAircraft(p, &frame, still);
    return;
  }
  float up[3];
  vec3::Cross(up, d, side);
  frame.X = {d[0], d[1], d[2], 0.0f};
  frame.Y = {side[0], side[1], side[2], 0.0f};
  frame.Z = {up[0], up[1], up[2], 0.0f};
  frame.R = {at[0], at[1], at[2], 1.0f};
  SetAircraftPose(p, frame, still);
}

// Shift with camera 2 a fixed camera: its keys move it; true when taken.
bool FixedCameraKey(simplayer* p, int key) {
  simcamera& c = p->camera[2];
  if (c.type != kViewFixed && c.type != kViewRecordFixed) return false;
  if (TheWorld()->photo) return false;
  float target[3];
  if (c.type == kViewRecordFixed) {
    vec3::Copy(target, &p->recording.pose.R.x);
  } else {
    simplayer* other = TwoOnOneScreen() ? Other(p) : nullptr;
    vec3::Copy(target, (other ? other : p)->flight_state->position());
  }
  const float turn = session.settings.viewer_change_angle * kxmaths::kRadiansPerDegree;
  switch (key) {
    case kxcode::kKeyUp: MoveViewer(c.position, target, 1, 0.0f, 0); return true;
    case kxcode::kKeyDown: MoveViewer(c.position, target, -1, 0.0f, 0); return true;
    case kxcode::kKeyLeft: MoveViewer(c.position, target, 0, turn, 0); return true;
    case kxcode::kKeyRight: MoveViewer(c.position, target, 0, -turn, 0); return true;
    case kxcode::kKeyPageUp: MoveViewer(c.position, target, 0, 0.0f, 1); return true;
    case kxcode::kKeyPageDown: MoveViewer(c.position, target, 0, 0.0f, -1); return true;
    case 'X': ViewerBehind(p); return true;
    case 'D': DropBeforeViewer(p); return true;
    default: return false;
  }
}

void ShiftKey(simplayer* p, int index, int key) {
  if (FixedCameraKey(p, key)) return;
  simcamera& c = p->camera[2];
  switch (key) {
    case kxcode::kKeyF1 + 4: c.type = kCameraAircraft; break;
    case kxcode::kKeyF1 + 5: c.type = kViewFixed; break;
    case kxcode::kKeyF1 + 7: c.type = kCameraWind; break;
    case kxcode::kKeyF1 + 6: {
      Command("View2Follow", index);
      simplayer& first = players[0];
      simplayer& second = players[1];
      if (TwoOnOneScreen() && first.camera[2].type == kViewFollow && second.flight_state) {
        // The side offset takes X.y once, not three times as the other
        // follow cameras do.
        const kxdflightstate& st = *second.flight_state;
        vec3::Set(first.camera[2].position, st.position()[0] - kFollowBack * st.row_x()[0],
                  st.position()[1] - st.row_x()[1], st.position()[2] + kFollowUp);
        vec3::Copy(first.camera[2].velocity, st.velocity);
      }
      break;
    }
    case 'A': c.fov = std::min(c.fov + kFovStep, 1.0f); break;
    case 'Y':
    case 'Z': c.fov = std::max(c.fov - kFovStep, 0.0f); break;
    default: break;
  }
}

}  // namespace

void OnKey(int key, int modifiers) {
  if (key >= 'a' && key <= 'z') key += 'A' - 'a';
  const int index = (modifiers & kxcode::kModCtrl) ? 1 : 0;
  simplayer* p = &players[index];
  if (SessionKey(key, modifiers)) return;
  if (!p->flight_state) return;
  if (PanelSizeKey(p, key)) return;
  if (modifiers & kxcode::kModShift) ShiftKey(p, index, key);
  else PlainKey(p, index, key);
}

}  // namespace sim
