#include "gui/group_frame.h"

#include <cstring>

#include "core/reference.h"
#include "gui/gui_state.h"
#include "gui/paint.h"

kxtype kxlabel::Type("kxlabel", sizeof(kxlabel), kxcreate<kxlabel>);

namespace {
constexpr int kCaptionLeft = 10;  // px
constexpr int kGapLeft = 8;       // px where the top line stops before the caption
constexpr int kGapRight = 12;     // px past the caption where it resumes
const kxcolor4 kShade = {0.5f, 0.5f, 0.5f, 1};
}  // namespace

kxlabel::kxlabel() { type = &Type; }
kxlabel::kxlabel(const char* text, int x, int y, int w, int h) : kxgraphic(x, y, w, h), Text(text) {
  type = &Type;
}

kxvalueptr kxlabel::GetMember(const char* member, const kxargs& args) {
  if (std::strcmp(member, "Text") == 0) return kxvalueptr(new kxstringref(&Text));
  return kxgraphic::GetMember(member, args);
}

void kxlabel::CopyTo(kxnode* other) {
  kxgraphic::CopyTo(other);
  if (kxlabel* l = dynamic_cast<kxlabel*>(other)) l->Text = Text;
}

void kxlabel::Draw(int ox, int oy) {
  int ax = ox + X, ay = oy + Y;
  int line = kxgui::LineHeight();
  int top = ay + H - line / 2;
  int g = Text.Empty() ? -4 : kxgui::TextWidth(Text.Text());
  kxgui::SetPaletteColor(1);
  kxgui::DrawLine(ax, ay, ax + W - 1, ay);
  kxgui::DrawLine(ax + W - 1, ay, ax + W - 1, top);
  kxgui::DrawLine(ax + 1, ay, ax + 1, top);
  kxgui::DrawLine(ax + 1, top - 2, ax + kGapLeft, top - 2);
  kxgui::DrawLine(ax + g + kGapRight, top - 2, ax + W - 1, top - 2);
  kxgui::SetColor(kShade);
  kxgui::DrawLine(ax + 1, ay + 1, ax + W - 2, ay + 1);
  kxgui::DrawLine(ax + W - 2, ay + 1, ax + W - 2, top);
  kxgui::DrawLine(ax, ay + 1, ax, top);
  kxgui::DrawLine(ax, top - 1, ax + kGapLeft, top - 1);
  kxgui::DrawLine(ax + g + kGapRight, top - 1, ax + W - 2, top - 1);
  kxgui::SetColor(kxgui::kBlack);
  kxgui::DrawText(ax + kCaptionLeft, ay + H - line, Text.Text());
  DrawChildren(ax, ay);
}
