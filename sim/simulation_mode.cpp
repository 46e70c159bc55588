#include "sim/simulation_mode.h"

#include <cstring>
#include <optional>

#include "dynamics/component_sound.h"
#include "dynamics/driver.h"
#include "dynamics/instance.h"
#include "dynamics/scenery_world.h"
#include "graphics/texture_table.h"
#include "platform/callbacks.h"
#include "platform/codes.h"
#include "platform/event_nodes.h"
#include "platform/input_devices.h"
#include "platform/log.h"
#include "platform/reserves.h"
#include "platform/sound.h"
#include "platform/window.h"
#include "sim/contest.h"
#include "sim/exit.h"
#include "sim/frame_update.h"
#include "sim/keys.h"
#include "sim/menu_bar.h"
#include "sim/mouse.h"
#include "sim/particles.h"
#include "sim/placement.h"
#include "sim/player.h"
#include "sim/session.h"
#include "sim/view_modes.h"
#include "sim/views/display_lists.h"
#include "sim/views/frame.h"
#include "sim/views/gl_state.h"
#include "sim/views/reflection_maps.h"
#include "sim/views/render_to_texture.h"
#include "sim/views/shadow_prep.h"
#include "sim/views/sky.h"
#include "sim/world/scenery_mesh.h"
#include "sim/world/world.h"

namespace sim {

namespace {

// The joystick record's input word 12 (the last axis) starts at its low end.
constexpr int kJoystickStartAxis = 7;

struct viewporttriple {
  int width = kNoLastViewport, height = kNoLastViewport;
  std::optional<gametype> game_type;
};

viewporttriple& LastViewport() {
  static viewporttriple last;
  return last;
}

void InstallCallbacks() {
  static constexpr kxmodecallbacks kSimulation = {.key_down = OnKey,
                                                  .key_up = input::OnKeyUp,
                                                  .mouse = OnMouse,
                                                  .update = Update,
                                                  .after_create = Resume,
                                                  .draw = Draw,
                                                  .graphics_init = InitGL,
                                                  .exit = Exit};
  kxsystem::InstallMode(kSimulation);
  kxsystem::callbacks.request = kxcode::kRequestRun;
  kxsystem::callbacks.pending = nullptr;
}

/* A flight starts from a fresh run. Three things carry over from before it:
   the contest chosen (set up below; the choice holds until another one or
   another scenery), the tips given (some show once per aircraft, and a new
   aircraft arms them again), and the frame rate last measured (the head-up
   display shows it until the flight's first sample of its own). The tow
   rope and the pause went as the last flight was left. */
void StartRun() {
  sessionrun& r = session.run;
  const sessionrun before = r;
  r = {};
  r.selected_contest = before.selected_contest;
  r.fps = before.fps;
  const char* aircraft = session.settings.aircraft0;
  const bool newAircraft = std::strcmp(aircraft, before.last_aircraft0) != 0;
  for (int i = 0; i < sessionrun::kTips; ++i)
    if (sessionrun::kTipOncePerAircraft[i] && !newAircraft) r.tip_pending[i] = before.tip_pending[i];
  std::memcpy(r.last_aircraft0, aircraft, sizeof r.last_aircraft0);
}

// The list is always headed by player 1's record, flying or not.
void LinkPlayers() {
  sessionrun& s = session.run;
  s.player_count = 0;
  players[0].next = nullptr;
  for (int i = 0; i < kPlayers; ++i) {
    simplayer& p = players[i];
    if (p.legacy) {
      p.flight_state = &p.legacy_state;
    } else {
      kxdaircraftinstance* slot = kxdaircraftinstance::Slot(i);
      p.flight_state = slot && slot->IsLoaded() ? kxdaircraftinstance::FlightStateOf(i) : nullptr;
    }
    if (p.flight_state) {
      for (float& v : p.flight_state->velocity) v = 0.0f;
      ++s.player_count;
      if (i > 0) players[i - 1].next = &p;
      p.next = nullptr;
    }
    ResetSmoke(&p);
  }
}

void FixGameType() {
  simsession& s = session;
  if (s.run.player_count == 1) s.settings.game_type = kGameSingle;
  else if (s.settings.game_type == kGameSingle) s.settings.game_type = kGameSplitAbove;
}

void PlacePlayers() {
  for (simplayer* p = &players[0]; p; p = p->next) {
    p->recording.state = kRecordIdle;
    p->recording.time = 0.0f;
    p->recording.frame = 1;
    p->record_store.write = p->record_store.positions;
    if (!p->flight_state) continue;
    StartWithLiveViews(p);
    PlaceAtStart(TheWorld()->start_index, p, 1);
    for (int k = 0; k < 3; ++k) p->saved_viewer_position[k] = p->viewer_position()[k];
  }
}

contestrec* SelectedContest() {
  world& w = *TheWorld();
  int n = session.run.selected_contest;
  if (n < 1 || n > w.contest_count) return nullptr;
  contestrec* c = w.first_contest;
  for (int i = 1; c && i < n; ++i) c = c->next;
  return c;
}

void StartGliderSounds() {
  const sessionmedia& s = session.media;
  if (!s.glider_sound) return;
  s.glider_sound->volume = 0.0f;
  if (s.glider2_sound) s.glider2_sound->volume = 0.0f;
  const kxdflightstate* st = players[0].flight_state;
  const float origin[3] = {};
  const int on = session.settings.sound;
  kxsound* both[2] = {s.glider_sound, s.glider2_sound};
  for (kxsound* sound : both) {
    if (!sound) continue;
    if (st && (st->flags & kxdflightstate::kTowed)) directsound::PlaySound3D(sound, kxcode::kSoundLoop, origin, origin, on);
    else directsound::StopSound(sound);
  }
}

void BalloonShadows(world& w) {
  kxtexture* texture = session.media.balloon_shadow_texture;
  bool first = true;
  for (contestrec* c = w.first_contest; c; c = c->next) {
    if (c->kind != kContestBalloonPop) continue;
    for (balloonrec* b = c->first_balloon; b; b = b->next) {
      // A balloon without a mesh would measure the whole scenery.
      if (!b->mesh) {
        b->shadow = shadowquad();
        continue;
      }
      CollectBounds(nullptr, b->mesh, &b->shadow);
      if (first) RenderToTexture(&b->shadow, texture, b->mesh);
      first = false;
      b->shadow.texture = texture;
    }
  }
}

}  // namespace

kxdsceneryworld& SceneryWorld() {
  static kxdsceneryworld adapter;
  return adapter;
}

void ForgetViewports() { LastViewport() = viewporttriple(); }

void Viewports() {
  sessionrun& s = session.run;
  const gametype game_type = session.settings.game_type;
  s.viewport_width = kxsystem::display.window_width;
  s.viewport_height = kxsystem::display.window_height;
  if (game_type == kGameSplitAbove) s.viewport_height = kxsystem::display.window_height / 2;
  if (game_type == kGameSplitSide) s.viewport_width = kxsystem::display.window_width / 2;
  viewporttriple& last = LastViewport();
  const bool same = last.width == s.viewport_width && last.height == s.viewport_height && last.game_type == game_type;
  CheckViewports(same ? 1 : 0);
  last = {s.viewport_width, s.viewport_height, game_type};
  UpdateMenuState();
}

void BuildPlayerLists() {
  int next = kFirstAircraftList;
  for (int i = 0; i < kPlayers; ++i)
    if (players[i].flight_state) BuildAircraftLists(&players[i], &next);
}

void InitGL() {
  world& w = *TheWorld();
  SetupGL();
  if (w.name[0]) {
    if (w.cloud_texture) w.cloud_texture->uploaded = 0;
    if (w.cloud_low_texture) w.cloud_low_texture->uploaded = 0;
    BuildSky(&w);
  }
  // The object lists are built with or without a ground mesh: a scenery
  // whose land is an object marked as ground has none, and would otherwise
  // be drawn with the lists of the scenery loaded before it.
  BuildSceneryLists();
  BalloonShadows(w);
  BuildPlayerLists();
  if (players[0].flight_state) BuildReflectionMaps(&w);
}

void Resume() {
  directsound::LoadSounds();
  if (session.settings.sound) directsound::ResumeAll();
  Viewports();
}

void EnterSimulationMode() {
  sessionsettings& s = session.settings;
  kxsystem::Log("sim:  switching to simulation mode...\n");
  InstallCallbacks();
  StartRun();
  // What the keypad was left at belongs to the flight it was pressed in:
  // each flight starts with the engine at idle and the sticks centred.
  input::RestKeypad();
  for (kxinputdevice* d = kxinput::FirstDevice(); d; d = d->next)
    if (d->kind == kxcode::kDeviceJoystick) d->raw[kJoystickStartAxis] = -kxinput::kJoystickRange;
  // Before the start clones the drawn trees, which copy the discs.
  for (int i = 0; i < kPlayers; ++i) PrepareFlightGraphics(i);
  SceneryWorld().Set(&TheWorld()->collision);
  kxdynamics::Start(&SceneryWorld());
  kxdsound::SetEnabled(s.sound);
  LinkPlayers();
  FixGameType();
  Viewports();
  InitGL();
  PlacePlayers();
  if (contestrec* c = SelectedContest()) SetupContest(c, 1);
  ActivateMenu();
  StartGliderSounds();
  kxsystem::Log("sim:  %d memory blocks using %ld bytes\n", kxsystem::ReserveCount(), kxsystem::ReserveBytes());
}

}  // namespace sim
