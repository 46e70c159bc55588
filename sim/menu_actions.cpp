#include <cmath>
#include <cstring>

#include "core/interpreter.h"
#include "dynamics/instance.h"
#include "platform/callbacks.h"
#include "platform/codes.h"
#include "platform/events.h"
#include "platform/log.h"
#include "platform/sound.h"
#include "platform/window.h"
#include "sim/menu.h"
#include "sim/menu_bar.h"
#include "sim/menu_bar_actions.h"
#include "sim/modes.h"
#include "sim/notice.h"
#include "sim/player.h"
#include "sim/session.h"
#include "sim/simulation_mode.h"
#include "sim/windows/main_options_window.h"
#include "sim/windows/window_functions.h"
#include "sim/world/world.h"

namespace sim {

namespace {

constexpr float kButtonBottoms[kMenuButtons] = {0.92f, 0.85f, 0.78f, 0.69f, 0.60f, 0.53f,
                                                0.46f, 0.37f, 0.30f, 0.21f, 0.12f};

// The script actions; null where the action is code. The scenery window's
// first path names an older place and fails harmlessly.
constexpr const char* kButtonCommands[kMenuButtons] = {
    "/Display/Invisible/LoadAircraft/Open(0)",
    "/Display/Invisible/LoadAircraft/Open(1)",
    nullptr,
    "/Display/Invisible/wndLoadScenery/Open;/Menu/Invisible/wndLoadScenery/Open",
    "/Display/Invisible/InputDevices/Open",
    "/Display/Invisible/AircraftControlSettings/Open",
    nullptr, nullptr, nullptr, nullptr, nullptr,
};

void RemoveSecondAircraft() {
  FSchleppDetach();
  kxdaircraftinstance::Unload(kxdaircraftinstance::Slot(1));
  players[1].flight_state = nullptr;
  session.settings.aircraft1[0] = 0;
}

}  // namespace

float ButtonBottom(int n) { return n >= 0 && n < kMenuButtons ? kButtonBottoms[n] : 0.0f; }

int MenuAction(int n) {
  if (n < 0 || n >= kMenuButtons) return 0;
  if (kButtonCommands[n]) {
    kxscript::Execute(kButtonCommands[n]);
    return 1;
  }
  switch (static_cast<menubutton>(n)) {
    case menubutton::kRemoveAircraft2: RemoveSecondAircraft(); break;
    case menubutton::kEditAircraft: MenuToDesigner(); break;
    case menubutton::kOptions: FillDisplayModeList(OptionsWindow()); break;
    case menubutton::kHelp: ShowWindow(KeysWindow()); break;
    case menubutton::kFly:
      if (RequestFly()) directsound::LoadSounds();
      break;
    case menubutton::kExit: kxsystem::callbacks.request = kxcode::kRequestQuit; break;
    default: break;
  }
  return 1;
}

int MenuAction(menubutton button) { return MenuAction(static_cast<int>(button)); }

int ButtonAt(float x, float y, int width, int height) {
  float w = static_cast<float>(width), h = static_cast<float>(height);
  if (x < kButtonLeft * w || x > (kButtonLeft + kButtonHitWidth) * w) return -1;
  for (int n = 0; n < kMenuButtons; ++n) {
    if (y >= kButtonBottoms[n] * h && y <= (kButtonBottoms[n] + kButtonHeight) * h) return n;
  }
  return -1;
}

void MenuMouse(int code, int) {
  menustate& m = Menu();
  if (code == kxcode::kMouseMove) {
    m.hot_button = ButtonAt(static_cast<float>(input::pointer.x), static_cast<float>(input::pointer.y),
                            kxsystem::display.window_width, kxsystem::display.window_height);
  } else if (code == kxcode::kMouseLeftUp) {
    if (m.hot_button >= 0) MenuAction(m.hot_button);
    m.hot_button = -1;
  }
}

void MenuKey(int key, int modifiers) {
  if (key == kxcode::kKeyF1 && (modifiers & kxcode::kModShift)) {
    session.settings.show_log = !session.settings.show_log;
  } else if (key >= kxcode::kKeyF1 && key <= kxcode::kKeyF1 + static_cast<int>(menubutton::kEditAircraft)) {
    MenuAction(key - kxcode::kKeyF1);
  } else if (key == kxcode::kKeyReturn) {
    MenuAction(menubutton::kFly);
  }
}

float TurntableStep(float angle, float frameTime) {
  float step = frameTime <= kTurntableSlowFrame ? kTurntableSpeed * frameTime : kTurntableSlowStep;
  // Kept within one turn so the angle never loses precision over a long run.
  return std::fmod(angle + step, 360.0f);
}

}  // namespace sim
