// Turns window-system events into the system's key and mouse codes and keeps
// the pointer record that the input devices, the GUI and the viewer read.
#pragma once

#include <SDL2/SDL_events.h>

// The pointer in drawable pixels with y up from the bottom row.
struct kxpointer {
  int x = 0, y = 0;      // pixels; the bottom-left pixel is (0, 0)
  int dx = 0, dy = 0;    // last movement in pixels, y up
  float fx = 0, fy = 0;  // pixel centre as a fraction of the width and height
  int buttons = 0;       // bit 0 left, 1 right, 2 middle
  int moved = 0;         // set by a movement; the simulation's draw clears it
  float fade = 1.0f;     // drawn pointer opacity, 0..1
};

namespace input {

extern kxpointer pointer;

}  // namespace input

// One event in the system's terms.
struct kxplatformevent {
  // kExposed: the window's picture was lost (uncovered, restored) and must
  // be drawn again.
  enum Kind { kNone, kKeyDown, kKeyUp, kMouse, kQuit, kFocus, kBlur, kExposed };
  Kind kind = kNone;
  int code = 0;
  int mods = 0;
};

namespace kxsystem {

constexpr int kPointerLeft = 1;
constexpr int kPointerRight = 2;
constexpr int kPointerMiddle = 4;

// Translates one SDL event; a key press whose character comes from the text
// event that follows it yields kNone. The pointer record is updated before
// returning. drawable and window sizes convert window to drawable pixels.
// Returns the number of events written to out (at most outCount); a text
// event may carry several characters.
int TranslateEvent(const SDL_Event& event, int drawableWidth, int drawableHeight, int windowWidth,
                   int windowHeight, kxplatformevent* out, int outCount);

// Hands one translated event to the callbacks of the active mode.
void DispatchEvent(const kxplatformevent& event);

// Forgets the translator's state between key and text events (tests).
void ResetEventState();

}  // namespace kxsystem
