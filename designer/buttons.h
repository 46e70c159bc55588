// The designer's button bars: svdesignpanel, a bar that draws a double line
// behind its buttons, and svdesignbutton, a 40 x 40 button showing a picture
// of the designer's icon sheet in a frame, with a tooltip once the pointer
// has rested on it for a second.
#pragma once

#include <cstdint>

#include "core/string.h"
#include "gui/button.h"

class svdesignpanel : public kxgraphic {
 public:
  static kxtype Type;  // made only by code
  static constexpr int kSize = 40;  // px, width and height by default

  svdesignpanel();
  void Draw(int ox, int oy) override;
};

// The tooltip rectangle on screen (px, y up).
struct tooltipbox {
  int x0, y0, x1, y1;
};

class svdesignbutton : public kxbutton {
 public:
  static kxtype Type;  // made only by code
  static constexpr int kSize = 40;             // px
  static constexpr uint32_t kTooltipAfter = 1000000;  // us of rest before the tooltip shows
  static constexpr uint32_t kTooltipUntil = 3000000;  // us of rest after which it goes

  int iconIndex = 0;       // cell of the icon sheet, row-major in its 8 x 8 grid
  uint32_t hoverStart = 0; // us, the last pointer movement over the button
  kxstring tooltip;

  // 40 x 40 at (0, 0); the label is kept as the button's Text.
  svdesignbutton(const char* command, const char* tooltipText, int icon, const char* label = "");

  void OnMove() override;
  // Picture and frame (only when both sheets are loaded), the tooltip, the
  // children.
  void Draw(int ox, int oy) override;

  // Where the tooltip of the button at screen corner (bx, by) stands at
  // time now (us); false while it is not shown.
  bool TooltipBox(int bx, int by, uint32_t now, tooltipbox* out);
};
