// One frame of the flight: the shadow pictures of the aircraft, one view or
// two (one above the other, player 1 below; or side by side, player 1 on
// the left) with a white seam, then across the window the status message,
// the tips box, the log band, the menu bar's band, the GUI and the pointer
// (fading out while the mouse rests), a requested screenshot (under the
// first number whose name is free) and the swap.
// The layout, the fades and the screenshot file are plain functions.
#pragma once

#include <cstddef>
#include <cstdint>

struct kxpointer;
struct simsession;

namespace sim {

enum class gametype : int;

// The simulation's draw callback.
void Draw();

// ---- layout

struct viewrect {
  int x, y, w, h;  // px in the window
};
// The player views of a game type in a W x H window (halves truncated):
// the count (0 for an unknown type), each view's rectangle and the aspect
// they share.
int SplitViews(gametype gameType, int W, int H, viewrect out[2], float* aspect);

// The tips box of lines of text at most textWidth wide: centred across the
// W x H window with its top line's base a fifth of the way up, and raised
// clear of each of the count rectangles it would cover (the players' flight
// information), so neither hides the other.
viewrect PlaceTipsBox(int W, int H, int textWidth, int lines, int lineHeight, const viewrect* keepClear, int count);

// ---- the status message

// The session's status text centred in a dark box at a fifth of the height
// while its time lasts, counted down by frameTime seconds; the menu shows
// it too. Expects the window's pixel projection with blending on.
void DrawStatusMessage(int W, int H, float frameTime);

// ---- fades

// One frame of the tips box: its fade grows while the tip's timer runs and
// shrinks from full strength at once after, the timer counts down. The
// alpha (fade / 2, at most 1), or -1 when no box shows; the timers stand
// still with tips off.
float StepTips(simsession& s);
// One frame of the GUI's fade: full while the mouse moves, fading at 0.33
// per second after 2 s of rest, full while a window has the focus. Clears
// the pointer's moved flag.
float GuiAlpha(float* restTimer, kxpointer* pointer, float simStep, int windowFocused);

// ---- screenshots

constexpr int kBmpHeaderBytes = 54;
// "screenshots/svgol-<aircraft>-<scenery>-NN.bmp" (three digits from 100),
// cut to the buffer; 0 when it was cut.
int ScreenshotPath(char* out, size_t size, const char* aircraft, const char* scenery, int number);
// The 14-byte file header and the 40-byte info header of a 24-bit
// bottom-up picture.
void BmpHeader(int width, int height, uint8_t out[kBmpHeaderBytes]);
// Writes the picture (width a multiple of 4, so rows need no padding) to a
// path that names no file yet: the file header first, then the info header
// and the rows appended in place. 1 when every byte got out.
int WriteScreenshot(const char* path, int width, int height, const uint8_t* pixels);

// The GUI's rest timer and the screenshot counter back to their start.
void ResetFrame();

}  // namespace sim
