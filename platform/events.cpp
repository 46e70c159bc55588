#include "platform/events.h"

#include "platform/callbacks.h"
#include "platform/codes.h"

kxpointer input::pointer;

namespace kxsystem {
namespace {

// The modifiers of the last key press, for the text event it produces: text
// events carry none, and the live keyboard state lags behind queued events.
int lastKeyMods = 0;
// A keypad digit was sent as its own code; its text event must not follow
// as a character.
int dropNextText = 0;

int Mods(Uint16 sdlMods) {
  int mods = 0;
  if (sdlMods & KMOD_SHIFT) mods |= kxcode::kModShift;
  if (sdlMods & KMOD_CTRL) mods |= kxcode::kModCtrl;
  return mods;
}

// Keypad digits by scancode, so they steer whether NumLock is on or not.
int KeypadCode(SDL_Scancode scancode) {
  // SDL numbers the keypad 1..9 in a row and 0 after them.
  if (scancode == SDL_SCANCODE_KP_0) return kxcode::kKeyPad0;
  if (scancode >= SDL_SCANCODE_KP_1 && scancode <= SDL_SCANCODE_KP_9) {
    return kxcode::kKeyPad0 + 1 + static_cast<int>(scancode - SDL_SCANCODE_KP_1);
  }
  return 0;
}

int SpecialCode(SDL_Keycode key) {
  switch (key) {
    case SDLK_UP: return kxcode::kKeyUp;
    case SDLK_DOWN: return kxcode::kKeyDown;
    case SDLK_LEFT: return kxcode::kKeyLeft;
    case SDLK_RIGHT: return kxcode::kKeyRight;
    case SDLK_ESCAPE: return kxcode::kKeyEscape;
    case SDLK_PAGEUP: return kxcode::kKeyPageUp;
    case SDLK_PAGEDOWN: return kxcode::kKeyPageDown;
    case SDLK_TAB: return kxcode::kKeyTab;
    case SDLK_BACKSPACE: return kxcode::kKeyBackspace;
    case SDLK_INSERT: return kxcode::kKeyInsert;
    case SDLK_DELETE: return kxcode::kKeyDelete;
    case SDLK_HOME: return kxcode::kKeyHome;
    case SDLK_END: return kxcode::kKeyEnd;
    case SDLK_RETURN:
    case SDLK_KP_ENTER: return kxcode::kKeyReturn;
    default: break;
  }
  if (key >= SDLK_F1 && key <= SDLK_F12) return kxcode::kKeyF1 + static_cast<int>(key - SDLK_F1);
  return 0;
}

bool IsCharacter(SDL_Keycode key) { return key >= kxcode::kKeyFirstChar && key < kxcode::kKeyLastChar; }

void UpdatePointer(int windowX, int windowY, int relX, int relY, int width, int height, int windowWidth,
                   int windowHeight) {
  if (width <= 0 || height <= 0) return;
  // Window coordinates differ from drawable pixels on scaled displays.
  double sx = windowWidth > 0 ? static_cast<double>(windowX) * width / windowWidth : windowX;
  double sy = windowHeight > 0 ? static_cast<double>(windowY) * height / windowHeight : windowY;
  int px = static_cast<int>(sx);
  int py = static_cast<int>(sy);
  if (px < 0) px = 0;
  if (px > width - 1) px = width - 1;
  if (py < 0) py = 0;
  if (py > height - 1) py = height - 1;
  kxpointer& p = input::pointer;
  p.x = px;
  p.y = height - 1 - py;
  p.fx = (static_cast<float>(px) + 0.5f) / static_cast<float>(width);
  p.fy = (static_cast<float>(height - 1 - py) + 0.5f) / static_cast<float>(height);
  double scaleX = windowWidth > 0 ? static_cast<double>(width) / windowWidth : 1.0;
  double scaleY = windowHeight > 0 ? static_cast<double>(height) / windowHeight : 1.0;
  p.dx = static_cast<int>(relX * scaleX);
  p.dy = -static_cast<int>(relY * scaleY);
}

int ButtonBit(Uint8 button) {
  switch (button) {
    case SDL_BUTTON_LEFT: return kPointerLeft;
    case SDL_BUTTON_RIGHT: return kPointerRight;
    case SDL_BUTTON_MIDDLE: return kPointerMiddle;
    default: return 0;
  }
}

int Emit(kxplatformevent* out, int outCount, kxplatformevent::Kind kind, int code, int mods) {
  if (outCount < 1) return 0;
  out[0].kind = kind;
  out[0].code = code;
  out[0].mods = mods;
  return 1;
}

}  // namespace

int TranslateEvent(const SDL_Event& event, int drawableWidth, int drawableHeight, int windowWidth,
                   int windowHeight, kxplatformevent* out, int outCount) {
  switch (event.type) {
    case SDL_QUIT: return Emit(out, outCount, kxplatformevent::kQuit, 0, 0);
    case SDL_KEYDOWN:
    case SDL_KEYUP: {
      const SDL_Keysym& sym = event.key.keysym;
      int mods = Mods(sym.mod);
      bool down = event.type == SDL_KEYDOWN;
      auto kind = down ? kxplatformevent::kKeyDown : kxplatformevent::kKeyUp;
      if (down) {
        lastKeyMods = mods;
        dropNextText = 0;
      }
      if (int code = KeypadCode(sym.scancode)) {
        if (down) dropNextText = 1;
        return Emit(out, outCount, kind, code, mods);
      }
      if (int code = SpecialCode(sym.sym)) return Emit(out, outCount, kind, code, mods);
      if (!IsCharacter(sym.sym)) return 0;
      // A press without Ctrl becomes a character through its text event; with
      // Ctrl there is none, so the key's own symbol is sent.
      if (down && !(mods & kxcode::kModCtrl)) return 0;
      return Emit(out, outCount, kind, static_cast<int>(sym.sym), mods);
    }
    case SDL_TEXTINPUT: {
      if (dropNextText) {
        dropNextText = 0;
        return 0;
      }
      int count = 0;
      for (const char* c = event.text.text; *c && count < outCount; ++c) {
        unsigned char ch = static_cast<unsigned char>(*c);
        if (ch < kxcode::kKeyFirstChar || ch >= kxcode::kKeyLastChar) continue;
        count += Emit(out + count, outCount - count, kxplatformevent::kKeyDown, ch, lastKeyMods);
      }
      return count;
    }
    case SDL_MOUSEMOTION: {
      UpdatePointer(event.motion.x, event.motion.y, event.motion.xrel, event.motion.yrel, drawableWidth,
                    drawableHeight, windowWidth, windowHeight);
      input::pointer.moved = 1;
      return Emit(out, outCount, kxplatformevent::kMouse, kxcode::kMouseMove, Mods(SDL_GetModState()));
    }
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: {
      const SDL_MouseButtonEvent& b = event.button;
      bool down = event.type == SDL_MOUSEBUTTONDOWN;
      UpdatePointer(b.x, b.y, 0, 0, drawableWidth, drawableHeight, windowWidth, windowHeight);
      int bit = ButtonBit(b.button);
      if (!bit) return 0;
      if (down) input::pointer.buttons |= bit;
      else input::pointer.buttons &= ~bit;
      // The second press of a double click reports the double click instead.
      bool dbl = down && b.clicks >= 2 && b.clicks % 2 == 0;
      int code = 0;
      if (bit == kPointerLeft) code = !down ? kxcode::kMouseLeftUp : dbl ? kxcode::kMouseLeftDouble : kxcode::kMouseLeftDown;
      if (bit == kPointerRight) code = !down ? kxcode::kMouseRightUp : dbl ? kxcode::kMouseRightDouble : kxcode::kMouseRightDown;
      if (bit == kPointerMiddle) code = down ? kxcode::kMouseMiddleDown : kxcode::kMouseMiddleUp;
      return Emit(out, outCount, kxplatformevent::kMouse, code, Mods(SDL_GetModState()));
    }
    case SDL_MOUSEWHEEL: {
      int y = event.wheel.y;
      if (event.wheel.direction == SDL_MOUSEWHEEL_FLIPPED) y = -y;
      if (y == 0) return 0;
      int code = y > 0 ? kxcode::kMouseWheelUp : kxcode::kMouseWheelDown;
      return Emit(out, outCount, kxplatformevent::kMouse, code, Mods(SDL_GetModState()));
    }
    case SDL_WINDOWEVENT:
      switch (event.window.event) {
        case SDL_WINDOWEVENT_LEAVE:
          return Emit(out, outCount, kxplatformevent::kMouse, kxcode::kMouseLeave, 0);
        case SDL_WINDOWEVENT_FOCUS_GAINED: return Emit(out, outCount, kxplatformevent::kFocus, 0, 0);
        case SDL_WINDOWEVENT_FOCUS_LOST: return Emit(out, outCount, kxplatformevent::kBlur, 0, 0);
        case SDL_WINDOWEVENT_EXPOSED: return Emit(out, outCount, kxplatformevent::kExposed, 0, 0);
        default: return 0;
      }
    default: return 0;
  }
}

void DispatchEvent(const kxplatformevent& event) {
  kxcallbacks& cb = callbacks;
  switch (event.kind) {
    case kxplatformevent::kKeyDown:
      if (cb.key_down) cb.key_down(event.code, event.mods);
      break;
    case kxplatformevent::kKeyUp:
      if (cb.key_up) cb.key_up(event.code, event.mods);
      break;
    case kxplatformevent::kMouse:
      if (cb.mouse) cb.mouse(event.code, event.mods);
      break;
    case kxplatformevent::kQuit: cb.request = kxcode::kRequestQuit; break;
    default: break;
  }
}

void ResetEventState() {
  lastKeyMods = 0;
  dropNextText = 0;
}

}  // namespace kxsystem
