// SDL events built the way the window system delivers them, for the tests
// that feed the event translation directly or through SDL's queue.
#pragma once

#include <SDL2/SDL.h>

#include <cstring>

namespace kxtest {

inline SDL_Event KeyEvent(Uint32 type, SDL_Keycode sym, SDL_Scancode scancode, Uint16 mod = 0) {
  SDL_Event e{};
  e.type = type;
  e.key.keysym.sym = sym;
  e.key.keysym.scancode = scancode;
  e.key.keysym.mod = mod;
  return e;
}

inline SDL_Event TextEvent(const char* text) {
  SDL_Event e{};
  e.type = SDL_TEXTINPUT;
  std::strncpy(e.text.text, text, sizeof(e.text.text) - 1);
  return e;
}

inline SDL_Event ButtonEvent(Uint32 type, Uint8 button, Uint8 clicks, int x, int y) {
  SDL_Event e{};
  e.type = type;
  e.button.button = button;
  e.button.clicks = clicks;
  e.button.x = x;
  e.button.y = y;
  return e;
}

inline SDL_Event MotionEvent(int x, int y, int relX = 0, int relY = 0) {
  SDL_Event e{};
  e.type = SDL_MOUSEMOTION;
  e.motion.x = x;
  e.motion.y = y;
  e.motion.xrel = relX;
  e.motion.yrel = relY;
  return e;
}

}  // namespace kxtest
