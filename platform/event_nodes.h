// The event bindings under "/Panel/": the event controller steers with the
// keypad (values in a run of pinboard slots), and the display binding hands
// mouse, key and timer events to the GUI, which registers its handlers.
// Also the platform's mouse and key callbacks that feed both.
#pragma once

#include "platform/pinboard.h"

// Keypad steering. Value 1: NUM 8 / NUM 2 (up / down by Step); value 2:
// NUM 6 / NUM 4; NUM 5 centres both; NUM 1, 3, 7, 9 toggle values 4, 5, 6, 7
// between -1 and +1. Key-down only, so auto-repeat keeps moving the stick.
class kxeventcontroller : public kxeventbinding {
 public:
  static kxtype Type;
  static constexpr int kValues = 8;
  static constexpr float kDefaultStep = 0.1f;

  kxeventcontroller();
  // "Values( slot )" binds to "/Pinboard/" slots [slot, slot + 8); "Step".
  kxvalueptr GetMember(const char* member, const kxargs& args) override;
  void CopyTo(kxnode* other) override;
  void OnEvent(int code, int mods, int isKey) override;
  // 1, or 0 (logged) without a pinboard or when the run passes the last slot.
  int SetValues(kxpinboard* board, int slot);
  // The keypad as a flight starts: both sticks centred, the toggled values
  // (engine, collective pitch, switches) at their low end.
  void Rest();

  float* values = nullptr;  // into the pinboard's slots; null: no steering
  float Step = kDefaultStep;

 private:
  // The pinboard lives under the root, this node under "/Panel/": steering
  // stops when "/Pinboard/" is no longer the board values point into, so a
  // rebuilt pinboard is never written through a stale pointer.
  kxpinboard* board_ = nullptr;
};

// What the GUI registers to receive the panel's events.
struct kxdisplayhandlers {
  void (*mouse)(int code, int mods) = nullptr;
  void (*key)(int key, int mods) = nullptr;
  void (*hover)() = nullptr;  // on every timer event
};

class kxeventdisplay : public kxeventbinding {
 public:
  static kxtype Type;
  kxeventdisplay();
  void OnEvent(int code, int mods, int isKey) override;
};

namespace input {

void SetDisplayHandlers(const kxdisplayhandlers& handlers);

// The platform's callbacks: the mouse devices under "/Pinboard/" take the
// pointer, the keyboard devices the key, then the panel gets the event.
void OnMouse(int code, int mods);
void OnKey(int key, int mods);
// The key-up callback every mode installs: does nothing.
void OnKeyUp(int key, int mods);
// Rests every event controller under "/Panel/": what the keypad was left at
// belongs to the flight it was pressed in.
void RestKeypad();

}  // namespace input
