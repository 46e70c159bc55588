// The GUI's drawing primitives: colours, filled rectangles, pixel lines,
// the title-bar gradient and text in the GUI font. Widgets draw only through
// these, so all of the GUI's OpenGL sits in paint.cpp and paint_image.cpp, and
// every call does nothing without a current context.
#pragma once

#include <string>

#include "gui/color.h"

namespace kxgui {

void SetColor(const kxcolor4& c);
void SetColor(float r, float g, float b, float a);
void SetPaletteColor(int entry);
// The rectangle from (x0, y0) to (x1, y1), pixels, y up.
void FillRect(int x0, int y0, int x1, int y1);
// A line through the centres of the two pixels.
void DrawLine(int x0, int y0, int x1, int y1);
// The edge lines of the rectangle from (x0, y0) to (x1, y1): left and top in
// light, bottom and right in dark (swap them for a sunken look).
void BevelEdges(int x0, int y0, int x1, int y1, const kxcolor4& light, const kxcolor4& dark);
// A quad whose colour runs from left at x0 to right at x1.
void GradientRect(int x0, int y0, int x1, int y1, const kxcolor4& left, const kxcolor4& right);

// Metrics of the current font: 0 without one, so layout works headless.
int LineHeight();
int TextWidth(const char* text);
// The text when it is at most width px wide, else its longest beginning
// followed by "..." that is (only "..." when nothing more fits).
std::string Shortened(const char* text, int width);
// The text with its first line box's lower-left at (x, y), in the current
// colour; texturing is on for the text only.
void DrawText(int x, int y, const char* text);

}  // namespace kxgui
