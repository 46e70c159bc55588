#include <cstdio>
#include <cstring>

#include "core/hooks.h"
#include "core/interpreter.h"
#include "dynamics/instance.h"
#include "graphics/font.h"
#include "graphics/texture_table.h"
#include "gui/gui.h"
#include "gui/window.h"
#include "platform/callbacks.h"
#include "platform/clock.h"
#include "platform/codes.h"
#include "platform/device_mapper.h"
#include "platform/files.h"
#include "platform/input_devices.h"
#include "platform/log.h"
#include "platform/music.h"
#include "platform/text.h"
#include "platform/usb_interface.h"
#include "platform/window.h"
#include "sim/app_hooks.h"
#include "sim/config_files.h"
#include "sim/device_nodes.h"
#include "sim/font_loading.h"
#include "sim/fonts.h"
#include "sim/hud_texts.h"
#include "sim/menu.h"
#include "sim/menu_bar.h"
#include "sim/notice.h"
#include "sim/player.h"
#include "sim/player_aircraft.h"
#include "sim/resources.h"
#include "sim/scenery.h"
#include "sim/session.h"
#include "sim/simulation_mode.h"
#include "sim/views/loading_screen.h"
#include "sim/views/shadow_prep.h"
#include "sim/windows/help_windows.h"
#include "sim/windows/notice_window.h"
#include "sim/windows/window_functions.h"
#include "sim/world/world.h"

namespace sim {

namespace {

constexpr int kSearchMode = kxinput::kSearchEnumerate | kxinput::kSearchRequery;

void Loading(int clear, const char* format, const char* argument) { DrawLoadingScreen(clear, format, argument); }

void TakeStartFrame(simplayer& p) {
  if (p.flight_state) p.saved_frame = p.flight_state->frame;
}

void LoadAircraft(int i) {
  sessionsettings& s = session.settings;
  simplayer& p = players[i];
  const char* setting = i == 0 ? s.aircraft0 : s.aircraft1;
  p.legacy = 0;
  if (!setting[0]) return;
  if (kxsystem::StrStartsNoCase(setting, kLegacyPrefix)) {
    Loading(0, "loading al aircraft model %s", setting + std::strlen(kLegacyPrefix));
    LoadLegacyAircraft(setting);
    return;
  }
  kxstring line;
  line.Format("loading aircraft %d %s", i + 1, setting);
  Loading(0, "%s", line.Text());
  kxsystem::Log("sim:  loading aircraft %d %s...\n", i + 1, setting);
  if (LoadPlayerAircraft(i, setting)) PostAircraftProblems(setting);
  TakeStartFrame(p);
}


void FirstInit() {
  sessionsettings& s = session.settings;
  menustate& m = Menu();
  kxsystem::DestroySplash();
  Loading(1, "Initializing %s...", kProductName);
  Loading(0, "version: %s", kVersion);
  Loading(0, "%s", "searching usb interface...");
  kxinput::SearchDevices(kSearchMode);
  kxinput::SearchDevices(kSearchMode);
  kxsystem::callbacks.after_message = nullptr;
  const char* speed = HudText(0);
  m.language = std::strcmp(speed, "Geschwindigkeit:") == 0 ? menulanguage::kGerman
               : std::strcmp(speed, "Vitesse:") == 0        ? menulanguage::kFrench
                                                            : menulanguage::kEnglish;
  LoadFontOrBuiltin("texture/arial20b.kxf", &large_font, kLargeFontLine);
  Loading(0, "loading scenery %s", s.scenery);
  LoadSceneryOrDefault(s.scenery, TheWorld());
  for (int i = 0; i < kPlayers; ++i) LoadAircraft(i);
  for (int i = 0; i < kPlayers; ++i)
    if (players[i].flight_state) PrepareAircraftGraphics(i);
  UpdateSceneryCard();
  m.first_init = 0;
}

// The transmitter calibration window, while it is on screen.
signaldisplay* ShownRadioWindow() {
  return dynamic_cast<signaldisplay*>(kxnode::Find("/Display/Visible/DeviceRadio/"));
}

void PollDevices() {
  menustate& m = Menu();
  kxinputdevice* first = kxinput::FirstDevice();
  if (!first || first->kind != kxcode::kDeviceUsb) return;
  if (!usbinterface::Poll(first)) {
    if (m.notice_state == noticestate::kNoDeviceShown) HideWindow(NoDeviceWindow());
    m.notice_state = noticestate::kNone;
    kxinput::SearchDevices(kSearchMode);
    return;
  }
  for (kxinputdevice* d = first->next; d; d = d->next)
    if (d->kind == kxcode::kDeviceUsb) usbinterface::Poll(d);
}

enum class missinginput { kNone, kSignal, kDevice };

// What the missing-signal notice has to tell: a lone cable that sees no
// transmitter, or a device that player 1's control assignment reads and
// that was not found (also when no device at all was found: the keypad
// assignment flies without one, and then nothing is missing).
missinginput MissingInput() {
  const kxinputdevice* first = kxinput::FirstDevice();
  if (first && first->kind == kxcode::kDeviceUsb && !first->next && first->channel_count == 0)
    return missinginput::kSignal;
  const kxdevicemapper* mapper = input::playermapper[0];
  return mapper && mapper->ReadsMissingDevice() ? missinginput::kDevice : missinginput::kNone;
}

void UpdateNotice() {
  menustate& m = Menu();
  const missinginput missing = MissingInput();
  if (m.notice_state == noticestate::kNone && missing != missinginput::kNone) {
    // Without a device the menu stays usable: the keypad assignment is
    // chosen with it, and a flight can start all the same.
    const bool signal = missing == missinginput::kSignal;
    SayWhatDeviceIsMissing(NoDeviceWindow(), signal ? 1 : 0);
    signal ? OpenWindow(NoDeviceWindow()) : OpenNotice(NoDeviceWindow());
    m.notice_state = noticestate::kNoDeviceShown;
  } else if (m.notice_state == noticestate::kNoDeviceShown && missing == missinginput::kNone) {
    HideWindow(NoDeviceWindow());
    m.notice_state = noticestate::kNone;
  }
}

void UpdateTiming() {
  menustate& m = Menu();
  uint32_t now = kxsystem::GetTime();
  m.frame_time = static_cast<float>(now - m.current_time) / 1e6f;
  m.current_time = now;
  if (++m.frame_count >= kFpsFrames) {
    float span = static_cast<float>(m.current_time - m.sample_time) / 1e6f;
    if (span > 0) session.run.fps = static_cast<float>(kFpsFrames) / span;
    m.frame_count = 0;
    m.sample_time = m.current_time;
  }
  if (!(session.run.fps >= kMenuMinFps)) session.run.fps = kMenuMinFps;
}

}  // namespace

void LoadLegacyAircraft(const char* setting) {
  sessionsettings& s = session.settings;
  const char* stem = setting + std::strlen(kLegacyPrefix);
  bool quiet = IsLegacyFolderModel(stem);
  if (!quiet) kxsystem::Log("\nLOAD AL\n");
  kxdaircraftinstance::Unload(kxdaircraftinstance::Slot(0));
  // A legacy model always flies as player 1; a name too long for the
  // setting is cut rather than written past it.
  if (setting != s.aircraft0) std::snprintf(s.aircraft0, sizeof s.aircraft0, "%s", setting);
  int loaded = 0, out = 0;
  if (Hooks().legacy_load) loaded = Hooks().legacy_load(stem, &out);
  else kxsystem::Log("sim:  no legacy runtime in this program\n");
  simplayer& p1 = players[0];
  simplayer& p2 = players[1];
  p1.legacy = loaded ? 1 : 0;
  p1.flight_state = loaded ? &p1.legacy_state : nullptr;
  if (loaded) p1.legacy_state.flags = out;
  TakeStartFrame(p1);
  kxdaircraftinstance* second = kxdaircraftinstance::Slot(1);
  if (second && second->IsLoaded()) {
    p1.next = &p2;
    p2.flight_state = kxdaircraftinstance::FlightStateOf(1);
  } else {
    p1.next = nullptr;
    p2.flight_state = nullptr;
  }
  if (p1.flight_state) PrepareAircraftGraphics(0);
  if (!quiet) kxsystem::Log("ENDLOAD AL\n\n");
}

void MenuInit() {
  sessionsettings& s = session.settings;
  kxgl::SetFont(&small_font);
  InitGL();
  kxgl::UploadTexture(small_font.texture);
  if (Menu().first_init) FirstInit();
  BuildDeviceNodes();
  if (!CreateMappers()) kxcore::Fatal(kExitNoInputRoots);
  LoadPlayerConfigurations();
  for (kxnode* child = kxscript::Root()->firstChild; child; child = child->nextSibling) child->Refresh();
  kxgui::Frame();
  kxgl::UploadAllTextures();
  Music().SetMode(s.music, s.music_volume, &s.music_title);
}

void MenuIdle() {
  for (kxnode* child = kxscript::Root()->firstChild; child; child = child->nextSibling) child->Update();
  // A window that holds the input (opened by a key or a click) takes the
  // pointer's moves from the menu: a button lit before it opened would
  // keep its highlight and tip over it.
  if (kxgui::Capture) Menu().hot_button = -1;
  kxinputdevice* first = kxinput::FirstDevice();
  if (!first || first->kind != kxcode::kDeviceUsb) ForgetSignalCounts();
  CheckSignal(ShownRadioWindow());
  UpdateTiming();
  PollDevices();
  UpdateNotice();
  ShowWaitingNotice();
  if (session.settings.music > 0) Music().ScanSongs();
}

}  // namespace sim
