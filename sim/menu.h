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

// The language the texts are in: read from the loaded texts at start, or
// set by the language switch (prepared translation n gives n + 1, so 4 to 6
// are translations without a button of their own).
enum class menulanguage : int {
  kEnglish = 1,
  kGerman = 2,
  kFrench = 3,
};

// The missing-device notice: whether the menu shows its window.
enum class noticestate : int {
  kNone = 0,
  kNoDeviceShown = 2,
};

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
  menulanguage language = menulanguage::kEnglish;
  noticestate notice_state = noticestate::kNone;
  int first_init = 1;
};

menustate& Menu();

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
