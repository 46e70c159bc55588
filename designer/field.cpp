#include "designer/field.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <string_view>

#include "core/numbers.h"
#include "designer/page.h"
#include "designer/state.h"
#include "gui/gui.h"
#include "gui/paint.h"

kxtype svdedit::Type("svdedit", sizeof(svdedit), kxcreate<svdedit>);
kxtype svdesignfield::Type("svdesignfield", sizeof(svdesignfield));

namespace {
constexpr char kSetValuesCommand[] = "DesignPropertySetValues";
constexpr int kFrameGap = 2;  // px between the field and its sunken frame

// A number that rounds to zero reads 0, not -0: a negative factor (the
// travel of a servo on the right) or a tiny negative value would show the
// sign of nothing.
void DropSignOfZero(char* number) {
  if (number[0] != '-') return;
  for (const char* p = number + 1; *p; ++p) {
    if (*p != '0' && *p != '.') return;
  }
  std::memmove(number, number + 1, std::strlen(number));
}
}  // namespace

svdedit::svdedit() {
  type = &Type;
  rightAlign = 1;
  tabNavigation = 1;
}

svdedit::svdedit(int x, int y, int w, int h) : svdedit() {
  X = x, Y = y, W = w, H = h;
}

svdesignfield::svdesignfield(int x, int y, int w, int h, float* bound, const char* numberFormat,
                             const char* unitName, float displayFactor)
    : svdedit(x, y, w, h), value(bound), factor(displayFactor), format(numberFormat), unit(unitName) {
  type = &Type;
  maxLength = kMaxChars;
  OnReturn = kSetValuesCommand;
  background = kxgui::kWhite;
}

void svdesignfield::Refresh() {
  std::string shown;
  if (value) {
    char number[64];
    std::snprintf(number, sizeof number, format.Text(), static_cast<double>(factor * *value));
    DropSignOfZero(number);
    shown = number;
    shown += ' ';
    shown += unit.Str();
  }
  // Written whole: the length limit is for typing, not for what is shown.
  size_t n = std::min(shown.size(), static_cast<size_t>(kMaxText));
  std::memcpy(text, shown.data(), n);
  text[n] = 0;
  cursor = static_cast<int>(n);
  shown_ = text;
}

/* A typed number beyond the float range is kept at the range's end, where
   the page's limits take it to the nearest value the component can use;
   read as 0 it would land on the wrong limit (a huge gear ratio at 1). */
void svdesignfield::Apply() {
  double typed = 0.0;
  if (!value || !svdesign::TypedNumber(text, &typed)) return;
  double stored = typed / static_cast<double>(factor);
  if (std::isnan(stored)) return;
  constexpr double kLargest = std::numeric_limits<float>::max();
  *value = static_cast<float>(std::clamp(stored, -kLargest, kLargest));
}

bool svdesignfield::Edited() const { return std::strcmp(text, shown_.Text()) != 0; }

void svdesignfield::Update() {
  svdedit::Update();
  if (kxgui::Focus == this) {
    hadFocus = 1;
    return;
  }
  if (!hadFocus) return;
  hadFocus = 0;
  if (svdesignpage* page = svdesign::State().shownPage) {
    page->Store();
    page->Refresh();
  }
  Refresh();
}

void svdesignfield::Draw(int ox, int oy) {
  int x = ox + X, y = oy + Y, g = kFrameGap;
  kxgui::SetColor(kxgui::kBlack);
  kxgui::DrawLine(x - g, y - g, x - g, y + H + g - 1);
  kxgui::DrawLine(x - g, y + H + g - 1, x + W + g - 1, y + H + g - 1);
  kxgui::SetColor(kxgui::kWhite);
  kxgui::DrawLine(x - g, y - g, x + W + g - 1, y - g);
  kxgui::DrawLine(x + W + g - 1, y - g, x + W + g - 1, y + H + g - 1);
  svdedit::Draw(ox, oy);
}

namespace svdesign {

namespace {
const char* SkipBlanks(const char* p) {
  while (*p == ' ' || *p == '\t') ++p;
  return p;
}
}  // namespace

float LeadingNumber(const char* text) {
  if (!text) return 0.0f;
  float number = 0.0f;
  return kxnumber::ReadLeading(SkipBlanks(text), number) ? number : 0.0f;
}

bool TypedNumber(const char* text, double* out) {
  return text && kxnumber::ReadLeading(SkipBlanks(text), *out) > 0;
}

}  // namespace svdesign
