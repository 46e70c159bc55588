// kxdisplay: the display root "/DPY". It holds the 18-entry colour palette
// every widget takes its colours from, and the hover counter of the timer
// dispatch.
#pragma once

#include "gui/color.h"
#include "gui/graphic.h"
#include "gui/gui_state.h"

namespace kxgui {
// The palette entries that stand for the named colours of lists.
constexpr int kColorText = 0;
constexpr int kColorListBackground = 9;
constexpr int kColorSelection = 16;
constexpr int kColorSelectionText = 17;
}  // namespace kxgui

class kxdisplay : public kxgraphic {
 public:
  static kxtype Type;

  kxcolor4 palette[kxgui::kPaletteSize];
  int hoverCount = 0;  // timer events since the pointer last changed widget or a button went down

  kxdisplay();
  ~kxdisplay() override;

  // "Visible", "PointingDevice", "ColorBlack", "seta", then the base names.
  kxvalueptr GetMember(const char* member, const kxargs& args) override;
  // Sets the alpha of every palette entry but the light backgrounds and the
  // selection colours (2, 3, 9, 16, 17); the children keep theirs.
  void SetAlpha(float alpha) override;
  void OnHover(int) override {}
  // The palette, size and hover count it was made with.
  void Reset();

  static const kxcolor4 kDefaultPalette[kxgui::kPaletteSize];
};
