// Internal links between the GUI's units: the destroy notification that keeps
// the global widget pointers sound, the clamped screen pointer, and the
// palette lookup with its fallback.
#pragma once

#include "gui/color.h"

class kxgraphic;
class kxpopup;

namespace kxgui {

// Called by every widget's destructor: forgets it wherever the GUI keeps it.
void WidgetDestroyed(kxgraphic* widget);
// Live pop-ups, whose command contexts the notification must clear too.
void AddPopup(kxpopup* popup);
void RemovePopup(kxpopup* popup);

// 1 when widget is a child of the visible screen. Compares addresses only,
// so a pointer to a widget that is gone may be asked about.
int IsOnScreen(const kxgraphic* widget);

// GetPointer clamped to [0, W - 1] x [0, H - 1] of the visible screen.
void ScreenPointer(int* x, int* y);

constexpr int kPaletteSize = 18;
// Palette entry i of "/DPY"; the built-in defaults while there is no display.
const kxcolor4& Palette(int i);

}  // namespace kxgui
