#include "designer/buttons.h"

#include <algorithm>

#include "designer/state.h"
#include "gui/gui.h"
#include "gui/paint.h"
#include "gui/paint_image.h"
#include "platform/clock.h"

kxtype svdesignpanel::Type("svdesignpanel", sizeof(svdesignpanel));
kxtype svdesignbutton::Type("svdesignbutton", sizeof(svdesignbutton));

namespace {

// The icon sheet: 8 x 8 cells of 32 texels; the picture is inset by 4 px.
constexpr int kIconColumns = 8;
constexpr float kIconCell = 0.125f;
constexpr int kIconInset = 4;
// The frame sheet: the normal and the pressed frame side by side at the top.
constexpr float kFrameCell = 0.15625f;
// The tooltip: 2 px from the screen edges, 20 px high, its bottom 38 px
// below the pointer (the pointer counted at most 16 px into the button).
constexpr int kScreenMargin = 2;
constexpr int kTipPadding = 4;
constexpr int kTipHeight = 20;
constexpr int kTipBelow = 38;
constexpr int kTipPointerTop = 16;
const kxcolor4 kTipColour = {1.0f, 1.0f, 0.9f, 1.0f};
// The panel's line runs between the first and the last button.
constexpr int kLineInset = 40;

}  // namespace

svdesignpanel::svdesignpanel() : kxgraphic(0, 0, kSize, kSize) { type = &Type; }

void svdesignpanel::Draw(int ox, int oy) {
  int x = ox + X, y = oy + Y;
  if (W > 2 * kLineInset) {
    kxgui::SetColor(kxgui::kWhite);
    kxgui::DrawLine(x + kLineInset, y + H / 2, x + W - kLineInset, y + H / 2);
    kxgui::DrawLine(x + kLineInset, y + H / 2 - 1, x + W - kLineInset, y + H / 2 - 1);
  }
  DrawChildren(x, y);
}

svdesignbutton::svdesignbutton(const char* command, const char* tooltipText, int icon, const char* label)
    : kxbutton(label, 0, 0, kSize, kSize), iconIndex(icon), tooltip(tooltipText) {
  type = &Type;
  OnPress = command;
}

void svdesignbutton::OnMove() {
  hoverStart = kxsystem::GetTime();
  kxbutton::OnMove();
}

bool svdesignbutton::TooltipBox(int bx, int by, uint32_t now, tooltipbox* out) {
  uint32_t rest = now - hoverStart;  // unsigned: the clock wraps
  if (kxgui::Hot != this || rest <= kTooltipAfter || rest >= kTooltipUntil) return false;
  int px = 0, py = 0;
  ToLocal(&px, &py);
  py = std::min(py, kTipPointerTop);
  int w = kxgui::TextWidth(tooltip.Text()) + kTipPadding;
  int left = px - w / 2;
  if (bx + left < kScreenMargin) left = kScreenMargin - bx;
  int right = bx + left + w;
  int screen = kxgui::Visible ? kxgui::Visible->W : 0;
  if (right > screen - kScreenMargin) {
    left = screen - bx - w - kScreenMargin;
    right = screen - kScreenMargin;
  }
  out->x0 = bx + left;
  out->y0 = by + py - kTipBelow;
  out->x1 = right;
  out->y1 = out->y0 + kTipHeight;
  return true;
}

void svdesignbutton::Draw(int ox, int oy) {
  int x = ox + X, y = oy + Y;
  const svdesign::designstate& s = svdesign::State();
  if (s.buttonFrames && s.buttonIcons) {
    float s0 = kIconCell * static_cast<float>(iconIndex % kIconColumns);
    float t0 = kIconCell * static_cast<float>(iconIndex / kIconColumns);
    kxgui::SetColor(kxgui::kWhite);
    kxgui::TexturedRect(s.buttonIcons, x + kIconInset, y + kIconInset, x + kSize - kIconInset, y + kSize - kIconInset,
                        {s0, t0 + kIconCell, s0 + kIconCell, t0});
    float f0 = state == kPressed ? kFrameCell : 0.0f;
    kxgui::TexturedRect(s.buttonFrames, x, y, x + kSize, y + kSize, {f0, kFrameCell, f0 + kFrameCell, 0.0f});
  }
  tooltipbox tip;
  if (TooltipBox(x, y, kxsystem::GetTime(), &tip)) {
    kxgui::SetColor(kTipColour);
    kxgui::FillRect(tip.x0, tip.y0, tip.x1, tip.y1);
    kxgui::SetColor(kxgui::kBlack);
    kxgui::DrawLine(tip.x0, tip.y0, tip.x1, tip.y0);
    kxgui::DrawLine(tip.x1, tip.y0, tip.x1, tip.y1);
    kxgui::DrawLine(tip.x1, tip.y1, tip.x0, tip.y1);
    kxgui::DrawLine(tip.x0, tip.y1, tip.x0, tip.y0);
    kxgui::DrawText(tip.x0 + kScreenMargin, tip.y0 + kScreenMargin, tooltip.Text());
  }
  DrawChildren(x, y);
}
