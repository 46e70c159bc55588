#include "sim/views/text.h"

#include <cstdarg>
#include <cstdio>

#include "graphics/draw.h"
#include "graphics/font.h"

namespace sim {

void FormatHud(char (&out)[hudline::kChars], const char* format, ...) {
  va_list args;
  va_start(args, format);
  std::vsnprintf(out, hudline::kChars, format, args);
  va_end(args);
}

void DrawTextAtBaseline(int x, int y, const char* text) {
  const kxglfont* font = kxgl::currentFont;
  if (!font || !text) return;
  kxgl::DrawText(x, y - (font->lineHeight - font->ascent), text);
}

}  // namespace sim
