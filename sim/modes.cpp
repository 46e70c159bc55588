#include "sim/modes.h"

#include <cstdio>

#include "core/function.h"
#include "core/node.h"
#include "dynamics/driver.h"
#include "dynamics/flight_state.h"
#include "dynamics/instance.h"
#include "graphics/mesh.h"
#include "gui/graphic.h"
#include "gui/gui.h"
#include "platform/callbacks.h"
#include "platform/codes.h"
#include "platform/event_nodes.h"
#include "platform/log.h"
#include "platform/music.h"
#include "platform/reserves.h"
#include "platform/sound.h"
#include "platform/window.h"
#include "sim/app_hooks.h"
#include "sim/exit.h"
#include "sim/menu.h"
#include "sim/menu_bar.h"
#include "sim/menu_bar_actions.h"
#include "sim/notice.h"
#include "sim/player.h"
#include "sim/resources.h"
#include "sim/session.h"
#include "sim/settings.h"
#include "sim/simulation_mode.h"
#include "sim/windows/window_functions.h"
#include "sim/world/world.h"

namespace sim {

namespace {

constexpr char kNoAircraftNotice[] = "No aircraft to fly: choose one with Aircraft I";
constexpr float kNoticeSeconds = 4.0f;

// A screen node when it is a widget; the menu draws its own screen without.
kxgraphic* Screen(const char* path) { return kxnode::As<kxgraphic>(kxnode::Find(path)); }

// The designer edits component aircraft only: a model of the older format
// gets a notice instead of a key or button that does nothing.
void RefuseOldModel() {
  kxsystem::Log("sim:  %s is a model of the older format and cannot be edited\n", session.settings.aircraft0);
  ShowWindow(OldModelWindow());
}

// A pause belongs to the flight it was taken in: a next flight that started
// paused would show nothing moving and say nothing about why. The music the
// pause held plays on.
void EndPause() {
  simsession& s = session;
  if (!s.run.pause) return;
  s.run.pause = 0;
  if (s.settings.music) Music().Resume();
}

// Leaving the flight takes its rope down first: stopping the dynamics
// rebuilds the aircraft and frees the rope with them, and a session that
// still named it would hand the freed rope to the next detach. The rest of
// the run is not reset here but as the next flight starts: this runs inside
// a frame whose update and draw go on, and the menu shares the frame rate
// and the status line.
void StopForSwitch() {
  FSchleppDetach();
  EndPause();
  session.run.status_time = 0.0f;  // what the flight last said is not for the next mode
  directsound::StopAll(kxcode::kStopClearMark);
  SaveConfigFiles();
  kxdynamics::Stop();
}

// The menu's turntable draws the aircraft's drawn tree in its own frame;
// a flight leaves that tree where the aircraft last flew, far outside the
// turntable's view. The clones are made anew from the templates, as loaded.
// This runs as the menu is entered, between frames: done as the simulation
// is left, the rest of that frame's update would step the fresh clones.
void RestoreLoadedPoses() {
  for (int p = 0; p < kPlayers; ++p) {
    kxdaircraftinstance* instance = kxdaircraftinstance::Loaded(p);
    if (!instance) continue;
    kxdaircraftinstance::RebuildClones(instance);
    kxdynamics::Publish(instance, 0.0f);
  }
}

void OpenDesigner(designerreturn back) {
  if (Hooks().designer_open) Hooks().designer_open(back);
  else kxsystem::Log("sim:  no designer in this program\n");
}

}  // namespace

void EnterMenuMode() {
  static constexpr kxmodecallbacks kMenu = {.key_down = input::OnKey,
                                            .key_up = input::OnKeyUp,
                                            .mouse = input::OnMouse,
                                            .update = MenuIdle,
                                            .draw = DrawMenu,
                                            .graphics_init = MenuInit,
                                            .exit = MenuExit};
  kxsystem::InstallMode(kMenu);
  kxsystem::callbacks.pending = nullptr;

  kxgui::Visible = Screen("/Display/Visible/");
  kxgui::Invisible = Screen("/Display/Invisible/");
  kxgui::KeyHook = MenuKey;
  kxgui::MouseHook = MenuMouse;
  kxgui::Focus = kxgui::Visible;
  if (kxgui::Visible) {
    kxgui::Visible->W = kxsystem::display.window_width;
    kxgui::Visible->H = kxsystem::display.window_height;
  }
  Menu().hot_button = -1;
  RestoreLoadedPoses();
}

int CanFly() {
  for (int i = 0; i < kPlayers; ++i) {
    const kxdaircraftinstance* slot = kxdaircraftinstance::Slot(i);
    if (players[i].legacy || (slot && slot->IsLoaded())) return 1;
  }
  return 0;
}

/*
 * Keyboard, keypad and mouse are always there, so a flight needs no listed
 * input device: a function whose device is missing reads its safe value.
 * What a flight needs is an aircraft; without one the simulation would show
 * empty views that no key leaves. And ground: without it the aircraft would
 * fall for ever.
 */
int RequestFly() {
  if (!CanFly()) {
    kxsystem::Log("sim:  no aircraft to fly; staying in the menu\n");
    std::snprintf(session.run.status_text, sizeof session.run.status_text, "%s", kNoAircraftNotice);
    session.run.status_time = kNoticeSeconds;
    return 0;
  }
  if (!HasGround(TheWorld())) {
    kxsystem::Log("sim:  no scenery with ground is loaded; no flight\n");
    PostNotice("No scenery with ground is loaded, so there is nothing to fly over. Choose another scenery.");
    return 0;
  }
  kxsystem::callbacks.pending = EnterSimulationMode;
  return 1;
}

void LeaveToMenu() {
  StopForSwitch();
  kxsystem::callbacks.pending = EnterMenuMode;
  kxsystem::callbacks.request = kxcode::kRequestSwitch;
}

void LeaveToDesigner() {
  if (players[0].legacy) return RefuseOldModel();
  StopForSwitch();
  EditFromSimulation();
}

void EditFromSimulation() {
  OpenDesigner(designerreturn::kSimulation);
}

void MenuToDesigner() {
  if (players[0].legacy) return RefuseOldModel();
  OpenDesigner(designerreturn::kMenu);
}

void RestartSounds() { Resume(); }

void MenuExit() { Exit(); }

void RegisterModeCommands() {
  static bool done = false;
  if (done) return;
  done = true;
  kxfunction::Register("GoMainMenu", LeaveToMenu);
  kxfunction::Register("GoEditAcft", LeaveToDesigner);
}

}  // namespace sim
