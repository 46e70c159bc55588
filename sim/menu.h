// The menu mode: the start screen with the players' aircraft turning on a
// turntable over the background picture, eleven buttons down the left edge,
// the scenery card, and the GUI's windows over it.
#pragma once

#include "graphics/font.h"
#include "sim/menu_state.h"

class kxgeometricobject;

namespace sim {

constexpr float kButtonLeft = 0.02f;          // of the window width
constexpr float kButtonWidth = 0.25f;         // drawn, of the width
constexpr float kButtonHitWidth = 0.208984375f;  // hit area, of the width
constexpr float kButtonHeight = 1.0f / 12.0f; // of the window height
constexpr float kTurntableSpeed = 15.0f;      // degrees per second
constexpr float kTurntableSlowFrame = 0.2f;   // s; a longer frame steps a fixed amount
constexpr float kTurntableSlowStep = 3.0f;    // degrees
constexpr float kMenuMinFps = 20.0f;
constexpr int kFpsFrames = 50;

// Loads the legacy model named name ("_alx_" + stem) as player 1's aircraft,
// in place of player 1's component aircraft, and relinks player 2.
void LoadLegacyAircraft(const char* name);

// The menu's buttons top to bottom; the number is the button's place, its
// function key (F1 to F7 for the first seven) and its tip's MenuText entry.
enum class menubutton : int {
  kAircraft1 = 0,
  kAircraft2 = 1,
  kRemoveAircraft2 = 2,
  kScenery = 3,
  kCalibrate = 4,
  kControls = 5,
  kEditAircraft = 6,
  kOptions = 7,
  kHelp = 8,
  kFly = 9,
  kExit = 10,
};

// Bottom edge of button n as a fraction of the window height.
float ButtonBottom(int n);

// Runs action n (0..10, a menubutton); 1 when n is an action.
int MenuAction(int n);
int MenuAction(menubutton button);
// The GUI's fallback handlers while the menu is active.
void MenuMouse(int code, int modifiers);
void MenuKey(int key, int modifiers);
// Graphics init, per-frame update and draw of the menu.
void MenuInit();
void MenuIdle();
void DrawMenu();
// The button under a pointer at (x, y) pixels of a W x H window (y up); -1 none.
int ButtonAt(float x, float y, int width, int height);
// The turntable's next angle after a frame of frameTime seconds.
float TurntableStep(float angle, float frameTime);

// The geometry the turntable shows for a player: the aircraft as loaded,
// as the designer draws it; null without one or for an old-format model.
kxgeometricobject* TurntableModel(int player);
// A player's aircraft tree drawn in three passes: opaque meshes with
// material, transparent ones, and every mesh plain (shadows).
void DrawModelOpaque(kxgeometricobject* node, int player);
void DrawModelTransparent(kxgeometricobject* node, int player);
void DrawModelPlain(kxgeometricobject* node, int player);

}  // namespace sim
