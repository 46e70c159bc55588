// Texts placed by their baseline: the font draws a line box from its
// lower-left corner, so the baseline lies lineHeight - ascent above it. And
// the head-up lines the views work out before drawing them.
#pragma once

namespace sim {

// One line of a head-up text with its colour (red, green, blue).
struct hudline {
  static constexpr int kChars = 160;
  char text[kChars];
  float colour[3];
};

// Formats into a line's text, truncated to fit. The head-up texts that a
// language file may replace are used as formats: the text table admits only
// replacements that convert the same arguments as the English text.
void FormatHud(char (&out)[hudline::kChars], const char* format, ...);

// The text in the current font and colour with its first baseline at y
// (pixels, y up); nothing without a font or a context.
void DrawTextAtBaseline(int x, int y, const char* text);

}  // namespace sim
