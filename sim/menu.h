// The menu mode: the start screen with the players' aircraft turning on a
// turntable over the background picture, eleven buttons down the left edge,
// the scenery card, and the GUI's windows over it.
#pragma once

#include <cstdint>

#include "graphics/font.h"

class kxgeometricobject;
struct kxgeometry;
struct kxtexture;

namespace sim {

constexpr int kMenuButtons = 11;
constexpr float kButtonLeft = 0.02f;          // of the window width
constexpr float kButtonWidth = 0.25f;         // drawn, of the width
constexpr float kButtonHitWidth = 0.208984375f;  // hit area, of the width
constexpr float kButtonHeight = 1.0f / 12.0f; // of the window height
constexpr float kTurntableSpeed = 15.0f;      // degrees per second
constexpr float kTurntableSlowFrame = 0.2f;   // s; a longer frame steps a fixed amount
constexpr float kTurntableSlowStep = 3.0f;    // degrees
constexpr float kMenuMinFps = 20.0f;
constexpr int kFpsFrames = 50;
constexpr int kRememberedDevices = 8;
extern const char kProductName[];             // "Skyvane Gold Edition"
extern const char kVersion[];                 // "1.8.0.17"
extern const char kLegacyPrefix[];            // "_alx_"

// Loads the legacy model named name ("_alx_" + stem) as player 1's aircraft,
// in place of player 1's component aircraft, and relinks player 2.
void LoadLegacyAircraft(const char* name);

// Bottom edge of button n as a fraction of the window height.
float ButtonBottom(int n);

// The menu's statics: they survive leaving and entering the menu.
struct menustate {
  kxtexture* buttons[kMenuButtons] = {};
  kxtexture* background[2] = {};        // svmap00 (upper two thirds), svmap01
  kxgeometry* card = nullptr;           // "objects/card.tgo"
  kxtexture* card_texture = nullptr;    // "scenerycard"
  int hot_button = -1;
  float turntable_angle = 0;            // degrees
  // Timer readings in microseconds; differences are taken unsigned, so the
  // 32-bit timer's wrap after 71 minutes costs no frame.
  uint32_t current_time = 0;
  uint32_t sample_time = 0;             // last frame-rate sample
  float frame_time = 0;                 // s, between the last two updates
  int frame_count = 0;
  int language = 1;                     // 1 English, 2 German, 3 French
  int notice_state = 0;                 // 0 none, 2 the no-device window shown
  int first_init = 1;
};

menustate& Menu();

// Runs action n (0..10); 1 when n is an action.
int MenuAction(int n);
// The GUI's fallback handlers while the menu is active.
void MenuMouse(int code, int modifiers);
void MenuKey(int key, int modifiers);
// Graphics init, per-frame update and draw of the menu.
void MenuInit();
void MenuIdle();
void DrawMenu();
// Copies the loaded scenery's preview into the menu's scenery card, when
// both are there.
void UpdateSceneryCard();
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
