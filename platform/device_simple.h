// The devices that stay when the device nodes are rebuilt: the mouse, the
// keyboard and the timer, each publishing a few slots on the pinboard.
//
// Mouse slots: x, y (fractions of the window, y up), left, right, middle
// (1 while held). Keyboard: last key code, its modifiers, key-down count.
// Timer: seconds since its first update, seconds since its last update; it
// posts the timer event to the panel every Interval seconds.
#pragma once

#include <cstdint>

#include "platform/pinboard.h"

class kxdevicemouse : public kxdevice {
 public:
  static kxtype Type;
  static constexpr int kChannels = 5;
  // The pointer record's button bits.
  static constexpr int kButtonLeft = 1, kButtonRight = 2, kButtonMiddle = 4;

  kxdevicemouse();
  // "Out": a real reference to the first slot, for a display's pointing
  // device; null until plugged in.
  kxvalueptr GetMember(const char* member, const kxargs& args) override;
  // Writes the slots; buttons holds kButton* bits.
  void Sample(float fx, float fy, int buttons);
};

class kxdevicekeyboard : public kxdevice {
 public:
  static kxtype Type;
  static constexpr int kChannels = 3;

  kxdevicekeyboard();
  void KeyDown(int key, int mods);

  int presses = 0;  // key-down events since creation
};

class kxdevicetimer : public kxdevice {
 public:
  static kxtype Type;
  static constexpr int kChannels = 2;
  static constexpr float kDefaultInterval = 0.1f;  // s

  kxdevicetimer();
  // "Interval" (s), then the device's members.
  kxvalueptr GetMember(const char* member, const kxargs& args) override;
  void CopyTo(kxnode* other) override;
  void Update() override;

  float Interval = kDefaultInterval;  // s between timer events

 private:
  bool started_ = false;
  uint32_t last_ = 0;        // µs, kxsystem::GetTime of the last update
  double elapsed_ = 0.0;     // s since the first update
  double sinceEvent_ = 0.0;  // s since the last timer event
};
