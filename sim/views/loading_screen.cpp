#include "sim/views/loading_screen.h"

#include <GL/gl.h>

#include <cstdarg>
#include <cstdio>

#include "graphics/font.h"
#include "graphics/gl_frame.h"
#include "platform/log.h"
#include "platform/window.h"
#include "sim/fonts.h"
#include "sim/views/gl_state.h"
#include "sim/views/text.h"

namespace sim {
namespace {

constexpr int kLineChars = 512;
constexpr float kBandAlpha = 0.5f;

int cursor = 0;  // px from the bottom: the next loading line's baseline

void ClearBlack() {
  glClearColor(0, 0, 0, 1);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

void TextState() {
  glDisable(GL_DEPTH_TEST);
  glDisable(GL_LIGHTING);
  glDisable(GL_CULL_FACE);
  glEnable(GL_TEXTURE_2D);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
}

}  // namespace

int LoadingCursor() { return cursor; }

void DrawLoadingScreen(int clear, const char* format, ...) {
  if (!kxgl::HasContext()) return;
  const int w = kxsystem::display.window_width, h = kxsystem::display.window_height;
  kxglfont* previous = kxgl::currentFont;
  if (!previous) kxgl::SetFont(&small_font);
  const int lineHeight = kxgl::currentFont ? kxgl::currentFont->lineHeight : 0;
  WindowOrtho(w, h);
  if (clear) {
    ClearBlack();
    kxgl::SwapBuffers();
    ClearBlack();
    cursor = h - lineHeight;
  }
  if (format) {
    char line[kLineChars];
    va_list args;
    va_start(args, format);
    std::vsnprintf(line, sizeof line, format, args);
    va_end(args);
    TextState();
    glColor4f(1, 1, 1, 1);
    for (int buffer = 0; buffer < 2; ++buffer) {
      DrawTextAtBaseline(0, cursor, line);
      kxgl::SwapBuffers();
    }
    cursor -= lineHeight;
  }
  kxgl::SetFont(previous);
}

void DrawLogLines(int n) {
  if (!kxgl::HasContext() || n <= 0) return;
  const int w = kxsystem::display.window_width, h = kxsystem::display.window_height;
  kxglfont* previous = kxgl::currentFont;
  kxgl::SetFont(&small_font);
  const int lineHeight = small_font.lineHeight;
  // The history is one block: a line pointer sees the younger lines after
  // it, and the walk stops at the block's end however many lines it wanted.
  const char* begin = kxsystem::GetLogLine(1 << 30);
  const char* end = begin + kxsystem::kLogHistoryBytes;
  const char* line = kxsystem::GetLogLine(n);
  TextState();
  glDisable(GL_TEXTURE_2D);
  glColor4f(0, 0, 0, kBandAlpha);
  glRectf(0, static_cast<float>(h - n * lineHeight), static_cast<float>(w), static_cast<float>(h));
  glColor4f(1, 1, 1, 1);
  glEnable(GL_TEXTURE_2D);
  int y = h - lineHeight;
  for (int i = 0; i < n && line < end; ++i, y -= lineHeight) {
    DrawTextAtBaseline(0, y, line);
    while (line < end && *line) ++line;
    ++line;
  }
  kxgl::SetFont(previous);
}

}  // namespace sim
