#include "gui/display.h"

#include <cmath>
#include <cstring>

#include "core/arguments.h"
#include "core/hooks.h"
#include "core/reference.h"
#include "gui/gui.h"

kxtype kxdisplay::Type("kxdisplay", sizeof(kxdisplay), kxcreate<kxdisplay>);

const kxcolor4 kxdisplay::kDefaultPalette[kxgui::kPaletteSize] = {
    {0, 0, 0, 1},          {1, 1, 1, 1},          {0.9f, 0.9f, 0.9f, 1},    {0.7f, 0.7f, 0.7f, 1},
    {1, 0, 0, 1},          {0, 1, 0, 1},          {0, 0, 1, 1},             {1, 1, 0, 1},
    {0.9f, 0.9f, 0.9f, 1}, {1, 1, 1, 1},          {0.8f, 0.8f, 0.8f, 1},    {0.8f, 0.8f, 0.8f, 1},
    {0.5f, 0.5f, 0.5f, 1}, {0, 0, 0.5f, 1},       {0.75f, 0.75f, 0.75f, 1}, {0.65f, 0.8f, 0.95f, 1},
    {0.33f, 0.45f, 0.7f, 1}, {1, 1, 1, 1}};

namespace {

constexpr int kDisplayWidth = 640;   // px until the first frame pass sizes the screen
constexpr int kDisplayHeight = 480;  // px

// The visible screen as a member: only a widget is stored, anything else is
// refused and leaves the screen as it was.
class screenref : public kxvalue {
 public:
  kxtype* GetType() const override { return &kxvaluetypes::NodePtr; }
  kxnode* GetNode() const override { return kxgui::Visible; }
  void* GetAddress() const override { return &kxgui::Visible; }
  int Assign(const kxvalue& from) override {
    kxgraphic* widget = kxgraphic::Of(kxvalue::ToNode(&from));
    if (!widget) {
      kxcore::Log("kxgui:  Visible must be a widget; unchanged\n");
      return 0;
    }
    kxgui::Visible = widget;
    return 1;
  }
};

}  // namespace

kxdisplay::kxdisplay() : kxgraphic(0, 0, kDisplayWidth, kDisplayHeight) {
  type = &Type;
  std::memcpy(palette, kDefaultPalette, sizeof(palette));
}

void kxdisplay::Reset() {
  std::memcpy(palette, kDefaultPalette, sizeof(palette));
  X = Y = 0;
  W = kDisplayWidth;
  H = kDisplayHeight;
  hoverCount = 0;
}

kxdisplay::~kxdisplay() {
  if (kxgui::Display == this) kxgui::Display = nullptr;
}

kxvalueptr kxdisplay::GetMember(const char* member, const kxargs& args) {
  if (std::strcmp(member, "Visible") == 0) return kxvalueptr(new screenref);
  if (std::strcmp(member, "PointingDevice") == 0) return kxvalueptr(new kxrealptrref(&kxgui::PointingDevice));
  if (std::strcmp(member, "ColorBlack") == 0) return kxvalueptr(new kxcolor4ref(&palette[0]));
  if (std::strcmp(member, "seta") == 0) {
    float alpha = args.Real(0);
    if (!std::isfinite(alpha)) return nullptr;
    SetAlpha(alpha);
    return kxvalueptr(new kxintvalue(1));
  }
  return kxgraphic::GetMember(member, args);
}

void kxdisplay::SetAlpha(float alpha) {
  static const int entries[] = {0, 1, 4, 5, 6, 7, 8, 10, 11, 12, 13, 14, 15};
  for (int i : entries) palette[i].a = alpha;
}
