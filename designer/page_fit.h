// Fitting a page's widgets into a small window. The pages are laid out for
// a wide screen; at 640 pixels the page bar, right-aligned above the
// panel's upper row, covers the right end of that row, and the widest rows
// run past the window's right edge. Where a label and its widgets would be
// covered or cut off, they move to the nearest free place of the panel:
// closer to their label, along their own row, or into the other row. Every
// fit starts again from the page's own places, so a wider window shows the
// page as it was laid out.
#pragma once

#include <vector>

class kxgraphic;

namespace svdesign {

// A rectangle in the panel's coordinates, lower-left corner, y up.
struct fitbox {
  int x = 0, y = 0, w = 0, h = 0;
  bool Overlaps(const fitbox& o) const { return x < o.x + o.w && o.x < x + w && y < o.y + o.h && o.y < y + h; }
  bool Inside(const fitbox& o) const { return x >= o.x && y >= o.y && x + w <= o.x + o.w && y + h <= o.y + o.h; }
};

// The room a page has: the window and the page bar, in the panel's
// coordinates.
struct fitroom {
  fitbox window;
  fitbox bar;  // w 0: no bar
};

// Each widget's own place on the page, in child order.
struct fithome {
  kxgraphic* widget;
  int x, y;
};

// The widgets of the panel at their own places.
std::vector<fithome> HomesOf(kxgraphic* panel);
// Puts the widgets back at their own places, then moves every label with
// its widgets that the bar covers or the window cuts off to the nearest
// free place; a group that finds none stays where it is.
void FitPanel(const std::vector<fithome>& homes, const fitroom& room);
// The box a widget takes on the screen (an airfoil selector is drawn at
// its own fixed size).
fitbox BoxOf(const kxgraphic* widget);

}  // namespace svdesign
