// The menu's record and the program's name: below the windows that show
// them and the modes that run the menu (menu.h).
#pragma once

#include <cstdint>

struct kxgeometry;
struct kxtexture;

namespace sim {

constexpr int kMenuButtons = 11;
constexpr int kRememberedDevices = 8;
extern const char kProductName[];             // "Skyvane Gold Edition"
extern const char kVersion[];                 // "1.8.0.17"
extern const char kLegacyPrefix[];            // "_alx_"

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

// Copies the loaded scenery's preview into the menu's scenery card, when
// both are there.
void UpdateSceneryCard();

}  // namespace sim
