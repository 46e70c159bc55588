#include "platform/events.h"

#include <vector>

#include <gtest/gtest.h>

#include "platform/codes.h"
#include "sdl_events.h"

namespace {

constexpr int kWidth = 800;
constexpr int kHeight = 600;

struct Seen {
  kxplatformevent::Kind kind;
  int code;
  int mods;
  bool operator==(const Seen& o) const { return kind == o.kind && code == o.code && mods == o.mods; }
};

void PrintTo(const Seen& s, std::ostream* os) { *os << "{" << s.kind << ", " << s.code << ", " << s.mods << "}"; }

class EventsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    kxsystem::ResetEventState();
    input::pointer = kxpointer();
  }
  void Feed(const SDL_Event& e) {
    kxplatformevent out[8];
    int n = kxsystem::TranslateEvent(e, kWidth, kHeight, kWidth, kHeight, out, 8);
    for (int i = 0; i < n; ++i) seen.push_back({out[i].kind, out[i].code, out[i].mods});
  }
  void Key(Uint32 type, SDL_Keycode sym, SDL_Scancode scancode, Uint16 mod = 0) {
    Feed(kxtest::KeyEvent(type, sym, scancode, mod));
  }
  void Press(SDL_Keycode sym, SDL_Scancode scancode, Uint16 mod = 0, const char* text = nullptr) {
    Key(SDL_KEYDOWN, sym, scancode, mod);
    if (text) Text(text);
  }
  void Text(const char* text) { Feed(kxtest::TextEvent(text)); }
  void Button(Uint32 type, Uint8 button, Uint8 clicks, int x, int y) {
    Feed(kxtest::ButtonEvent(type, button, clicks, x, y));
  }
  void Motion(int x, int y, int relX, int relY) { Feed(kxtest::MotionEvent(x, y, relX, relY)); }
  static Seen Down(int code, int mods = 0) { return {kxplatformevent::kKeyDown, code, mods}; }
  static Seen Mouse(int code) { return {kxplatformevent::kMouse, code, 0}; }
  std::vector<Seen> seen;
};

TEST_F(EventsTest, SpecialKeysGetTheirCodes) {
  Press(SDLK_ESCAPE, SDL_SCANCODE_ESCAPE);
  Press(SDLK_F1, SDL_SCANCODE_F1);
  Press(SDLK_F12, SDL_SCANCODE_F12);
  Press(SDLK_RETURN, SDL_SCANCODE_RETURN, 0, "\r");
  Press(SDLK_KP_ENTER, SDL_SCANCODE_KP_ENTER);
  Press(SDLK_UP, SDL_SCANCODE_UP);
  Press(SDLK_DELETE, SDL_SCANCODE_DELETE);
  Press(SDLK_TAB, SDL_SCANCODE_TAB, 0, "\t");
  EXPECT_EQ(seen, (std::vector<Seen>{Down(260), Down(271), Down(282), Down(269), Down(269), Down(256), Down(266),
                                     Down(263)}));
}

TEST_F(EventsTest, KeypadDigitsSendTheirCodeAndNotTheCharacter) {
  Press(SDLK_KP_8, SDL_SCANCODE_KP_8, KMOD_NUM, "8");
  Press(SDLK_KP_0, SDL_SCANCODE_KP_0, 0, "0");
  Press(SDLK_8, SDL_SCANCODE_8, 0, "8");
  EXPECT_EQ(seen, (std::vector<Seen>{Down(291), Down(283), Down('8')}));
}

// Characters come from the text with the modifiers of their key (anything
// but ASCII is dropped); with Ctrl no text follows, so the key symbol goes.
TEST_F(EventsTest, CharactersComeFromTextWithTheModifiersOfTheirKey) {
  Press(SDLK_a, SDL_SCANCODE_A, 0, "a");
  Press(SDLK_a, SDL_SCANCODE_A, KMOD_LSHIFT, "A");
  Press(SDLK_F1, SDL_SCANCODE_F1, KMOD_RSHIFT);
  Text("\xc3\xa9");
  Press(SDLK_r, SDL_SCANCODE_R, KMOD_LCTRL);
  Press(SDLK_r, SDL_SCANCODE_R, KMOD_LCTRL | KMOD_LSHIFT);
  EXPECT_EQ(seen, (std::vector<Seen>{Down('a'), Down('A', kxcode::kModShift), Down(271, kxcode::kModShift),
                                     Down('r', kxcode::kModCtrl), Down('r', kxcode::kModCtrl | kxcode::kModShift)}));
}

TEST_F(EventsTest, KeyUpSendsTheSameCodes) {
  Key(SDL_KEYUP, SDLK_ESCAPE, SDL_SCANCODE_ESCAPE);
  Key(SDL_KEYUP, SDLK_q, SDL_SCANCODE_Q);
  Key(SDL_KEYUP, SDLK_KP_5, SDL_SCANCODE_KP_5);
  std::vector<Seen> expected = {{kxplatformevent::kKeyUp, 260, 0}, {kxplatformevent::kKeyUp, 'q', 0},
                                {kxplatformevent::kKeyUp, 288, 0}};
  EXPECT_EQ(seen, expected);
}

TEST_F(EventsTest, ClickAndDoubleClickGiveWindowsOrder) {
  Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 1, 10, 10);
  Button(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, 1, 10, 10);
  Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 2, 10, 10);
  Button(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, 2, 10, 10);
  Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_RIGHT, 1, 10, 10);
  EXPECT_EQ(input::pointer.buttons, kxsystem::kPointerRight);
  Button(SDL_MOUSEBUTTONUP, SDL_BUTTON_RIGHT, 1, 10, 10);
  Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_MIDDLE, 1, 10, 10);
  Button(SDL_MOUSEBUTTONUP, SDL_BUTTON_MIDDLE, 1, 10, 10);
  EXPECT_EQ(seen, (std::vector<Seen>{Mouse(24), Mouse(23), Mouse(22), Mouse(23), Mouse(28), Mouse(27), Mouse(30),
                                     Mouse(29)}));
  EXPECT_EQ(input::pointer.buttons, 0);
}

TEST_F(EventsTest, PointerCountsFromTheBottomLeftPixel) {
  Motion(0, kHeight - 1, 3, -4);
  EXPECT_EQ(seen, std::vector<Seen>{Mouse(20)});
  EXPECT_EQ(input::pointer.x, 0);
  EXPECT_EQ(input::pointer.y, 0);
  EXPECT_EQ(input::pointer.dx, 3);
  EXPECT_EQ(input::pointer.dy, 4);
  EXPECT_EQ(input::pointer.moved, 1);
  EXPECT_EQ(static_cast<int>(kWidth * input::pointer.fx), 0);
  Motion(kWidth - 1, 0, 0, 0);
  EXPECT_EQ(input::pointer.x, kWidth - 1);
  EXPECT_EQ(input::pointer.y, kHeight - 1);
  EXPECT_EQ(static_cast<int>(kWidth * input::pointer.fx), kWidth - 1);
  EXPECT_EQ(static_cast<int>(kHeight * input::pointer.fy), kHeight - 1);
}

TEST_F(EventsTest, PointerScalesWindowCoordinatesToDrawablePixels) {
  SDL_Event e = kxtest::MotionEvent(100, 0);
  kxplatformevent out[1];
  kxsystem::TranslateEvent(e, 2 * kWidth, 2 * kHeight, kWidth, kHeight, out, 1);
  EXPECT_EQ(input::pointer.x, 200);
  EXPECT_EQ(input::pointer.y, 2 * kHeight - 1);
}

TEST_F(EventsTest, WheelLeaveExposureAndQuit) {
  SDL_Event e{};
  e.type = SDL_MOUSEWHEEL;
  e.wheel.y = 1;
  Feed(e);
  e.wheel.y = -2;
  Feed(e);
  e = SDL_Event{};
  e.type = SDL_WINDOWEVENT;
  e.window.event = SDL_WINDOWEVENT_LEAVE;
  Feed(e);
  e.window.event = SDL_WINDOWEVENT_EXPOSED;
  Feed(e);
  e = SDL_Event{};
  e.type = SDL_QUIT;
  Feed(e);
  EXPECT_EQ(seen, (std::vector<Seen>{Mouse(31), Mouse(32), Mouse(33), {kxplatformevent::kExposed, 0, 0},
                                     {kxplatformevent::kQuit, 0, 0}}));
}

}  // namespace
