#include "gui/slider.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "gui/gui.h"
#include "gui/paint.h"
#include "gui/text_format.h"
#include "platform/codes.h"

kxtype kxslider::Type("kxslider", sizeof(kxslider), kxcreate<kxslider>);
kxtype kxslidervalue::Type("kxslidervalue", sizeof(kxslidervalue), kxcreate<kxslidervalue>);

namespace {
constexpr float kHalf = 0.5f;
constexpr int kValueGap = 4;  // px between the track's end and the printed value
// px added before the knob position is truncated: a value taken from a
// position maps back a hair short of it in floats, which would lose a pixel.
constexpr float kRoundingSlack = 1.0e-3f;
}  // namespace

kxslider::kxslider() { type = &Type; }
kxslider::kxslider(int x, int y, int w, int h) : kxgraphic(x, y, w, h) { type = &Type; }

void kxslider::CopyTo(kxnode* other) {
  kxgraphic::CopyTo(other);
  if (kxslider* s = dynamic_cast<kxslider*>(other)) {
    s->command = command, s->keyStep = keyStep, s->minimum = minimum, s->maximum = maximum;
    s->centre = centre, s->value = value, s->snapEnable = snapEnable, s->snapZone = snapZone;
    s->PlaceKnob();
  }
}

void kxslider::NormaliseCentre() {
  if (!(centre > minimum && centre < maximum)) centre = (minimum + maximum) * kHalf;
}

float kxslider::Fraction(float v) const {
  // The centre is normalised before it divides, so an empty side can never
  // be a zero denominator; an empty range maps everything to the left end.
  if (!(maximum > minimum)) return 0.0f;
  float c = centre > minimum && centre < maximum ? centre : (minimum + maximum) * kHalf;
  float f = v >= c ? kHalf + kHalf * (v - c) / (maximum - c) : kHalf * (v - minimum) / (c - minimum);
  return std::isfinite(f) ? f : 0.0f;
}

float kxslider::ValueAt(int x) const {
  int track = Track();
  if (track <= 0 || !(maximum > minimum)) return minimum;
  float c = centre > minimum && centre < maximum ? centre : (minimum + maximum) * kHalf;
  float t = static_cast<float>(x) / static_cast<float>(track);
  float v = t >= kHalf ? c + 2.0f * (t - kHalf) * (maximum - c) : minimum + 2.0f * t * (c - minimum);
  return std::clamp(v, minimum, maximum);
}

void kxslider::PlaceKnob() {
  // A value beyond the range (a setting stored outside it) keeps its knob at
  // the track's end, inside the window; the value itself is left alone.
  const float track = static_cast<float>(std::max(Track(), 0));
  float k = track * Fraction(value) + kRoundingSlack;
  knob = std::isfinite(k) ? static_cast<int>(std::clamp(k, 0.0f, track)) : 0;
}

void kxslider::OnLeftDown() {
  int x = 0, y = 0;
  ToLocal(&x, &y);
  if (x <= knob || x >= knob + kKnobWidth) {
    value = ValueAt(x);
    PlaceKnob();
    RunCommand(command);
  }
  dragging = 1;
  grab = x - knob;
  snapSide = 0;
}

int kxslider::SnapPosition(int position) {
  if (!snapEnable) return position;
  int middle = Track() / 2;
  int d = position - middle;
  if (d < -snapZone) {
    snapSide = 1;
  } else if (d > snapZone) {
    snapSide = 2;
  } else if (d < 0) {
    if (snapSide == 1) return middle;
    snapSide = 0;
  } else if (d > 0) {
    if (snapSide == 2) return middle;
    snapSide = 0;
  }
  return position;
}

void kxslider::OnMove() {
  if (!dragging || moveSerial_ == kxgui::EventSerial) return;
  moveSerial_ = kxgui::EventSerial;
  int x = 0, y = 0;
  ToLocal(&x, &y);
  value = ValueAt(SnapPosition(x - grab));
  PlaceKnob();
  RunCommand(command);
}

void kxslider::OnLeftUp() {
  dragging = 0;
  snapSide = 0;
}

void kxslider::OnKey(int character, int code) {
  switch (code) {
    case kxcode::kKeyRight:
      value = std::min(value + keyStep, maximum);
      break;
    case kxcode::kKeyLeft:
      value = std::max(value - keyStep, minimum);
      break;
    case kxcode::kKeyHome:
      value = minimum;
      break;
    case kxcode::kKeyEnd:
      value = maximum;
      break;
    default:
      break;
  }
  PlaceKnob();
  kxgraphic::OnKey(character, code);
}

void kxslider::Draw(int ox, int oy) {
  int ax = ox + X, ay = oy + Y;
  kxgui::SetColor(kxgui::kWhite);
  kxgui::DrawLine(ax, ay + H / 2 - 1, ax + W, ay + H / 2 - 1);
  kxgui::SetColor(kxgui::kBlack);
  kxgui::DrawLine(ax, ay + H / 2, ax + W, ay + H / 2);
  NormaliseCentre();
  PlaceKnob();
  int k = ax + knob;
  kxgui::SetPaletteColor(10);
  kxgui::FillRect(k, ay, k + kKnobWidth, ay + H);
  kxgui::BevelEdges(k, ay, k + kKnobWidth, ay + H, kxgui::kWhite, kxgui::kBlack);
  DrawChildren(ax, ay);
}

// ---- kxslidervalue -----------------------------------------------------------

kxslidervalue::kxslidervalue() { type = &Type; }
kxslidervalue::kxslidervalue(int x, int y, int w, int h) : kxslider(x, y, w, h) { type = &Type; }

void kxslidervalue::CopyTo(kxnode* other) {
  kxslider::CopyTo(other);
  if (kxslidervalue* s = dynamic_cast<kxslidervalue*>(other)) s->format = format;
}

kxstring kxslidervalue::ValueText() const {
  return kxgui::FormatReal(format.Text(), static_cast<double>(value));
}

void kxslidervalue::Draw(int ox, int oy) {
  kxgui::SetColor(kxgui::kBlack);
  kxgui::DrawText(ox + X + W + kValueGap, oy + Y + H / 2 - kxgui::LineHeight() / 2, ValueText().Text());
  kxslider::Draw(ox, oy);
}
