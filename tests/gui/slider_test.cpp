// Slider value mapping, clicks, drags with the centre snap, and keys.
#include "gui/slider.h"
#include "gui/text_format.h"

#include <utility>

#include "widget_support.h"

namespace {

using kxtest::Ran;

class SliderTest : public kxtest::widgettest {
 protected:
  // Track 100 px from x 0 of the screen.
  kxslider* MakeSlider(float minimum, float centre, float maximum) {
    kxslider* s = new kxslider(0, 0, 106, 12);
    s->minimum = minimum, s->centre = centre, s->maximum = maximum;
    s->command = "Count";
    s->PlaceKnob();
    return Add(s, 0, 100);
  }
};

TEST_F(SliderTest, ClickOnTheTrackSetsTheValueOfThatPosition) {
  kxslider* s = MakeSlider(-1, 0, 1);
  Mouse(kxcode::kMouseLeftDown, 75, 105);
  EXPECT_FLOAT_EQ(s->value, 0.5f);
  EXPECT_EQ(s->knob, 75);
  EXPECT_EQ(Ran().size(), 1u);
}

TEST_F(SliderTest, EachHalfOfTheTrackSpansItsSideOfTheCentre) {
  kxslider* s = MakeSlider(0, 10, 100);
  Mouse(kxcode::kMouseLeftDown, 25, 105);
  EXPECT_FLOAT_EQ(s->value, 5.0f);
  Mouse(kxcode::kMouseLeftUp, 25, 105);
  Mouse(kxcode::kMouseLeftDown, 75, 105);
  EXPECT_FLOAT_EQ(s->value, 55.0f);
  EXPECT_FLOAT_EQ(s->Fraction(10), 0.5f);
  EXPECT_FLOAT_EQ(s->ValueAt(200), 100.0f);  // clamped
  EXPECT_FLOAT_EQ(s->ValueAt(-50), 0.0f);
}

TEST_F(SliderTest, ClickOnTheKnobStartsADragWithoutAJump) {
  kxslider* s = MakeSlider(-1, 0, 1);
  ASSERT_EQ(s->knob, 50);
  Mouse(kxcode::kMouseLeftDown, 52, 105);
  EXPECT_TRUE(Ran().empty());
  EXPECT_EQ(s->dragging, 1);
  EXPECT_EQ(s->grab, 2);
  Mouse(kxcode::kMouseMove, 77, 105);
  EXPECT_EQ(s->knob, 75);
  EXPECT_FLOAT_EQ(s->value, 0.5f);
  EXPECT_EQ(Ran().size(), 1u);  // once, though focus and hot both hear the move
  Mouse(kxcode::kMouseLeftUp, 77, 105);
  Mouse(kxcode::kMouseMove, 90, 105);
  EXPECT_EQ(s->knob, 75);
}

TEST_F(SliderTest, SnapHoldsTheKnobAtTheCentreUntilItCrosses) {
  kxslider* s = MakeSlider(-1, 0, 1);
  s->snapEnable = 1;
  Mouse(kxcode::kMouseLeftDown, 20, 105);  // value of x 20, grab 0
  Mouse(kxcode::kMouseMove, 30, 105);      // outside the zone, left
  EXPECT_EQ(s->snapSide, 1);
  Mouse(kxcode::kMouseMove, 45, 105);      // inside, from the left: held
  EXPECT_FLOAT_EQ(s->value, 0.0f);
  EXPECT_EQ(s->knob, 50);
  Mouse(kxcode::kMouseMove, 55, 105);      // crossed the middle: free
  EXPECT_EQ(s->knob, 55);
  Mouse(kxcode::kMouseMove, 48, 105);      // back inside on the left, now free
  EXPECT_EQ(s->knob, 48);
}

TEST_F(SliderTest, KeysStepAndJumpWithoutRunningTheCommand) {
  kxslider* s = MakeSlider(-1, 0, 1);
  s->keyStep = 0.75f;
  s->OnKey(0, kxcode::kKeyRight);
  EXPECT_FLOAT_EQ(s->value, 0.75f);
  s->OnKey(0, kxcode::kKeyRight);
  EXPECT_FLOAT_EQ(s->value, 1.0f);
  s->OnKey(0, kxcode::kKeyHome);
  EXPECT_FLOAT_EQ(s->value, -1.0f);
  EXPECT_EQ(s->knob, 0);
  s->OnKey(0, kxcode::kKeyEnd);
  EXPECT_EQ(s->knob, 100);
  EXPECT_TRUE(Ran().empty());
}

TEST_F(SliderTest, CentreOutsideTheRangeBecomesTheMean) {
  kxslider* s = MakeSlider(0, 100, 100);  // centre at the maximum
  s->value = 25;
  EXPECT_FLOAT_EQ(s->Fraction(25), 0.25f);
  s->NormaliseCentre();
  EXPECT_FLOAT_EQ(s->centre, 50.0f);
}

// A value stored beyond the range (a rope of 20 m on a 2-8 m slider) shows
// as it is, with the knob at the track's end rather than outside the window.
TEST_F(SliderTest, AValueBeyondTheRangeKeepsTheKnobOnTheTrack) {
  kxslider* s = MakeSlider(2, -1, 8);
  for (auto [v, knob] : {std::pair{20.0f, 100}, std::pair{-5.0f, 0}, std::pair{5.0f, 50}}) {
    s->value = v;
    s->PlaceKnob();
    EXPECT_EQ(s->knob, knob) << v;
    EXPECT_EQ(s->value, v);
  }
}

TEST_F(SliderTest, DegenerateRangesAndTracksNeverDivideByZero) {
  kxslider* s = MakeSlider(1, 1, 1);
  s->value = 1;
  s->PlaceKnob();
  EXPECT_EQ(s->knob, 0);
  EXPECT_FLOAT_EQ(s->ValueAt(50), 1.0f);
  s->minimum = -1;
  s->W = 3;  // no track at all
  EXPECT_FLOAT_EQ(s->ValueAt(10), -1.0f);
  s->PlaceKnob();
  EXPECT_EQ(s->knob, 0);
}

TEST(SliderValueFormat, OnlyOneRealConversionIsUsed) {
  EXPECT_EQ(kxgui::IsRealFormat("%.2f"), 1);
  EXPECT_EQ(kxgui::IsRealFormat("%5.1f %%"), 1);
  EXPECT_EQ(kxgui::IsRealFormat("%s"), 0);
  EXPECT_EQ(kxgui::IsRealFormat("%f %f"), 0);
  EXPECT_EQ(kxgui::IsRealFormat("%*f"), 0);
  kxslidervalue s(0, 0, 106, 12);
  s.value = 0.5f;
  EXPECT_STREQ(s.ValueText().Text(), "0.50");
  s.format = "%.1f m";
  EXPECT_STREQ(s.ValueText().Text(), "0.5 m");
  s.format = "%s%n";
  EXPECT_STREQ(s.ValueText().Text(), "0.50");
  // A format without a conversion is a word shown in place of the number.
  for (auto [format, shown] : {std::pair{"high", "high"}, std::pair{"100 %%", "100 %"}, std::pair{"", ""}}) {
    s.format = format;
    EXPECT_STREQ(s.ValueText().Text(), shown) << format;
  }
  s.format = "high%";  // a "%" at the end is no conversion at all
  EXPECT_STREQ(s.ValueText().Text(), "0.50");
}

}  // namespace
