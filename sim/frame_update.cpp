#include "sim/frame_update.h"

#include <algorithm>
#include <cmath>

#include "core/maths.h"
#include "dynamics/component_sound.h"
#include "dynamics/scenery_world.h"
#include "graphics/collision_world.h"
#include "platform/clock.h"
#include "platform/codes.h"
#include "platform/input_devices.h"
#include "platform/music.h"
#include "platform/sound.h"
#include "platform/usb_interface.h"
#include "sim/app_hooks.h"
#include "sim/contest.h"
#include "sim/menu.h"
#include "sim/multilanguage.h"
#include "sim/particles.h"
#include "sim/placement.h"
#include "sim/player.h"
#include "sim/recording.h"
#include "sim/session.h"
#include "sim/vec3.h"
#include "sim/view_modes.h"
#include "sim/viewer.h"
#include "sim/views/transparent_list.h"
#include "sim/wind.h"
#include "sim/windows/notice_window.h"
#include "sim/world/world.h"

namespace sim {

namespace {

using kxmaths::kPi;
constexpr float kTipIndoorTime = 6.0f;    // s
constexpr float kTipLegacyTime = 6.0f;    // s
constexpr float kTipGliderTime = 10.0f;   // s
// m across the ground: an aircraft farther from its indoor start (stepped to
// another start, lined up for a contest, flown off) has left it. Two
// players stand 4 m to either side of a start.
constexpr float kIndoorStartReach = 10.0f;

kxcollision* Collision() { return &TheWorld()->collision; }

bool Paused() { return session.run.pause != 0; }

// ---- timing

void Timing() {
  simsession& s = session;
  frametiming& t = FrameTiming();
  uint32_t now = kxsystem::GetTime();
  s.run.last_time = s.run.now;
  s.run.now = static_cast<float>(now) / 1e6f;
  s.run.frame_time = ClampedFrameTime(t.last_us, now);
  t.last_us = now;
  s.run.sim_time_step = s.run.frame_time * s.settings.simulation_speed;
  if (++t.fps_frames >= kFpsFrames) {
    float span = s.run.now - t.fps_since;
    if (span > 0.0f) s.run.fps = static_cast<float>(kFpsFrames) / span;
    t.fps_frames = 0;
    t.fps_since = s.run.now;
  }
}

void PollUsb() {
  for (kxinputdevice* d = kxinput::FirstDevice(); d && d->kind == kxcode::kDeviceUsb; d = d->next) usbinterface::Poll(d);
}

// ---- the world's step

void StepWorld() {
  simsession& s = session;
  world& w = *TheWorld();
  const sessionsettings& set = s.settings;
  kxcollision::SetTrees(Collision(), TreeCount(w, set.show_trees, set.tree_density), set.tree_collision);
  simplayer& first = players[0];
  if (first.legacy && first.flight_state && !first.flight_state->crash) {
    if (Hooks().legacy_step) Hooks().legacy_step(s.settings.sound, s.run.sim_time_step, first.flight_state, &first.hud.speed);
  }
  for (simplayer* p = &first; p; p = p->next) {
    if (!p->flight_state) continue;
    const float* at = p->flight_state->position();
    float probe[3] = {at[0], at[1], at[2] + kTerrainProbe};
    p->flight_state->below_terrain = kxcollision::GroundHeight(Collision(), probe, nullptr) > at[2] ? 1 : 0;
  }
  const float size = static_cast<float>(w.scenery_size), clouds = static_cast<float>(w.cloud_height);
  kxdynamics::Step(s.run.sim_time_step, Collision(), size, clouds);
  if (s.run.current_contest && s.run.current_contest->running) UpdateContest(s.run.current_contest);
  UpdateWind(&w);
}

// ---- per player

void FlightValues(simplayer* p) {
  const kxdflightstate& st = *p->flight_state;
  p->hud.height_above_ground = st.position()[2] - kxcollision::GroundHeight(Collision(), st.position(), nullptr);
  const float* v = st.velocity;
  p->hud.speed = (v[0] == 0.0f && v[1] == 0.0f && v[2] == 0.0f) ? 0.0f : vec3::Length4(v);
  p->hud.heading = HeadingOf(st.row_x());
}

void Trace(simplayer* p) {
  if (!p->trace.view) return;
  const kxdflightstate& st = *p->flight_state;
  const int i = p->trace.index;
  float d[3] = {st.position()[0] - p->trace.position[i][0], st.position()[1] - p->trace.position[i][1],
                st.position()[2] - p->trace.position[i][2]};
  if (!(vec3::Dot(d, d) > kTraceStep || vec3::Dot(p->trace.axis[i], st.row_y()) < kTraceTurn)) return;
  p->trace.max_speed = *std::max_element(p->trace.speed, p->trace.speed + simplayer::kTraceLength);
  const int n = (i + 1) % simplayer::kTraceLength;
  p->trace.index = n;
  vec3::Copy(p->trace.position[n], st.position());
  vec3::Copy(p->trace.axis[n], st.row_y());
  p->trace.speed[n] = p->hud.speed;
  p->trace.height[n] = p->hud.height_above_ground;
  p->trace.time[n] = session.run.now;
}

bool OtherStillFlies(const simplayer* p) {
  for (const simplayer* o = &players[0]; o; o = o->next)
    if (o != p && o->flight_state && !o->flight_state->crash) return true;
  return false;
}

void CrashTiming(simplayer* p) {
  simsession& s = session;
  const kxdflightstate& st = *p->flight_state;
  if (st.crash && p->crash_timer == 0.0f) {
    p->crash_timer += s.run.sim_time_step;
    const float still[3] = {};
    kxsound* sound = st.crash_kind == kxdflightstate::kCrashWater ? s.media.splash_sound : s.media.crash_sound;
    if (sound) directsound::PlaySound3D(sound, kxcode::kSoundOnce, st.position(), still, s.settings.sound);
  }
  if (p->crash_timer <= 0.0f) return;
  p->crash_timer += s.run.sim_time_step;
  if (p->crash_timer <= s.settings.crashtime) return;
  if (!s.run.current_contest || !s.run.current_contest->running) {
    kxmatrix frame = p->saved_frame;
    const float still[4] = {};
    ResetAircraft(p, &frame, still);
    SetViewMode(p, p->view_mode);
  } else if (!OtherStillFlies(p)) {
    SetupContest(s.run.current_contest, 0);
    s.run.current_contest->running = 1;
  }
  p->crash_timer = 0.0f;
  if (s.settings.music_restartcrash) Music().Stop();
}

void Viewers(simplayer* p) {
  const simsession& s = session;
  const kxdflightstate& st = *p->flight_state;
  simcamera& cam = p->camera[2];
  const kxmatrix* target = &st.frame;
  if (IsRecordedView(cam.type) && p->recording.present) {
    target = &p->recording.pose;
  } else if (IsRecordedView(cam.type)) {
    cam.type = kCameraAircraft;
  }
  vec3::Copy(p->viewer_target, &target->R.x);
  if (cam.on) {
    if (s.run.player_count == 2 && s.settings.game_type == kGameSingle) {
      for (simplayer* o = &players[0]; o; o = o->next)
        if (o != p && o->flight_state) target = &o->flight_state->frame;
    }
    UpdateViewer(cam.type, p, *target, cam.position, cam.velocity, cam.accel, cam.axis_x, cam.axis_y, cam.axis_z);
  }
  target = &st.frame;
  if (IsRecordedView(p->view_mode) && p->recording.present) {
    target = &p->recording.pose;
  } else if (IsRecordedView(p->view_mode)) {
    SetViewMode(p, LiveView(p->view_mode));
  }
  vec3::Copy(p->viewer_target, &target->R.x);
  UpdateViewer(p->view_mode, p, *target, p->viewer_position(), p->viewer_velocity, p->viewer_accel, p->viewer_row_x(),
               p->viewer_row_y(), p->viewer_row_z());
}

void UpdatePlayer(simplayer* p) {
  const float dt = session.run.sim_time_step;
  FlightValues(p);
  if (!Paused()) {
    Trace(p);
    UpdateRecordingClock(p, dt);
    CrashTiming(p);
    UpdateExhaust(p, dt);
    UpdateSmoke(p, dt);
  }
  UpdatePlaybackPose(p, dt);
  Viewers(p);
}

// ---- tips

// Player 1's aircraft stands at the current start position, and that one
// is indoor: the condition of the indoor tip, for as long as it shows.
bool AtIndoorStart(const kxdflightstate* st) {
  const world& w = *TheWorld();
  int i = w.start_index;
  if (!st || i < 0 || i >= world::kMaxStarts || !(w.start_flags[i] & world::kStartIndoor)) return false;
  const float dx = st->position()[0] - w.start_aircraft[i][0], dy = st->position()[1] - w.start_aircraft[i][1];
  return dx * dx + dy * dy <= kIndoorStartReach * kIndoorStartReach;
}

void ShowTip(int i, float time, int lines) {
  sessionrun& s = session.run;
  s.tip_time = time;
  s.tip_lines = lines;
  s.tip_elapsed = 0.0f;
  for (int k = 0; k < sessionrun::kTipLines; ++k) s.tip_text[k] = Language().tipp[i][k].Text();
  s.tip_shown[i] = 1;
  s.tip_pending[i] = 0;
}

void Tips() {
  simsession& s = session;
  if (!s.settings.show_tips) return;
  const simplayer& first = players[0];
  const kxdflightstate* st = first.flight_state;
  const int flags = st ? st->flags : 0;
  if (s.run.tip_time < 0.0f && s.run.tip_elapsed < 0.0f) {
    for (int& shown : s.run.tip_shown) shown = 0;
    int legacyFlag = Hooks().legacy_state_flag ? Hooks().legacy_state_flag() : 0;
    if (s.run.tip_pending[0] && AtIndoorStart(st) && !(flags & kxdflightstate::kIndoor)) {
      ShowTip(0, kTipIndoorTime, 2);
    } else if (s.run.tip_pending[1] && first.legacy && legacyFlag == 0) {
      ShowTip(1, kTipLegacyTime, 3);
    } else if (s.run.tip_pending[2] && st && st->ground_contact && (flags & kxdflightstate::kTowed)) {
      ShowTip(2, kTipGliderTime, 3);
    }
  }
  frametiming& t = FrameTiming();
  if (s.run.tip_shown[0] && !AtIndoorStart(st)) {
    s.run.tip_shown[0] = 0;
    s.run.tip_time = 0.0f;
  }
  if (s.run.tip_shown[2]) {
    if (!(st && st->ground_contact)) ++t.tip_glider_frames;
    if (t.tip_glider_frames > kTipGliderFrames) {
      s.run.tip_shown[2] = 0;
      t.tip_glider_frames = 0;
      s.run.tip_time = 0.0f;
    }
  }
}

// ---- sounds

void Listener() {
  const simplayer& first = players[0];
  const float* f = first.viewer_row_x();
  const float* u = first.viewer_row_z();
  float top[3] = {-u[0], -u[1], -u[2]};
  directsound::SetListener(first.viewer_position(), first.viewer_velocity, f, top);
}

void GliderSounds() {
  const simsession& s = session;
  const kxdflightstate* st = players[0].flight_state;
  if (!s.media.glider_sound || !s.media.glider2_sound || !st || !(st->flags & kxdflightstate::kTowed)) return;
  const float speed = vec3::Length4(st->velocity);
  kxsound* sounds[2] = {s.media.glider_sound, s.media.glider2_sound};
  for (int i = 0; i < 2; ++i) {
    kxsound* sound = sounds[i];
    vec3::Copy(sound->position, st->position());
    vec3::Copy(sound->velocity, st->velocity);
    sound->frequency = kGliderFrequency + speed * 10000.0f / 20.0f;
    float strength = std::sqrt(std::clamp((speed - 2.0f) / 20.0f, 0.0f, 1.0f));
    float hearing = std::max(0.0f, (kGliderHearing - sound->distance) / kGliderHearing);
    float volume = strength * hearing;
    if (i == 1) volume *= st->control_value;
    sound->volume = std::min(volume, 1.0f);
    directsound::UpdateSound(sound, sound->position, sound->velocity, s.run.sim_time_step);
  }
}

}  // namespace

frametiming& FrameTiming() {
  static frametiming timing;
  return timing;
}

float ClampedFrameTime(uint32_t previousUs, uint32_t nowUs) {
  const float d = static_cast<float>(static_cast<uint32_t>(nowUs - previousUs)) / 1e6f;
  return d > kMaxFrameTime ? kMaxFrameTime : d < kMinFrameTime ? kMinFrameTime : d;
}

float HeadingOf(const float X[3]) {
  const float r = std::sqrt(X[0] * X[0] + X[1] * X[1]);
  if (!(r > 0.0f)) return 0.0f;
  const float a = X[0] / r, b = -X[1] / r;
  if (a > 0.0f) return b > 0.0f ? std::atan(b / a) : std::atan(b / a) + 2.0f * kPi;
  if (a < 0.0f) return std::atan(b / a) + kPi;
  return b > 0.0f ? kPi / 2.0f : 3.0f * kPi / 2.0f;
}

void Update() {
  simsession& s = session;
  Timing();
  PollUsb();
  if (!Paused()) StepWorld();
  for (simplayer* p = &players[0]; p; p = p->next)
    if (p->flight_state) UpdatePlayer(p);
  Tips();
  FrameTiming().elapsed_sim_time += s.run.sim_time_step;
  if (s.settings.music) Music().ScanSongs();
  Listener();
  GliderSounds();
  kxdsoundqueue::Run(s.run.sim_time_step);
  ShowWaitingNotice();
}

}  // namespace sim
