// The plain console shown while a scenery or an aircraft loads - white
// lines on black growing down from the top - and the band of recent log
// lines at the top of the window.
#pragma once

namespace sim {

// clear 1: both buffers black and the cursor back to the top line. With a
// format: the line drawn into both buffers at the cursor, which then moves
// one line height down (lines past the bottom are drawn off screen).
void DrawLoadingScreen(int clear, const char* format, ...) __attribute__((format(printf, 2, 3)));

// The last n log lines, oldest at the top, over a half-dark band across the
// top of the window, in the small font, under the caller's window-sized
// orthographic projection.
void DrawLogLines(int n);

// The console cursor: the next line's baseline (pixels from the bottom).
int LoadingCursor();

}  // namespace sim
