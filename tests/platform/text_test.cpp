#include "platform/text.h"

#include <gtest/gtest.h>

namespace {

TEST(TextTest, StartsNoCaseComparesLettersWithoutCaseAndNeedsTheWholePrefix) {
  EXPECT_EQ(kxsystem::StrStartsNoCase("WINDOW_WIDTH 800", "window_width "), 1);
  EXPECT_EQ(kxsystem::StrStartsNoCase("win", "window"), 0);
  EXPECT_EQ(kxsystem::StrStartsNoCase("x", ""), 1);
  EXPECT_EQ(kxsystem::StrStartsNoCase(nullptr, "a"), 0);
  EXPECT_EQ(kxsystem::StrStartsNoCase("[x", "{x"), 0);  // only A-Z fold
}

TEST(TextTest, EqualNoCaseIsOneWhenEqual) {
  EXPECT_EQ(kxsystem::StrEqualNoCase("PICCOLO", "piccolo"), 1);
  EXPECT_EQ(kxsystem::StrEqualNoCase("piccolo", "piccolos"), 0);
  EXPECT_EQ(kxsystem::StrEqualNoCase("a", nullptr), 0);
  EXPECT_EQ(kxsystem::StrEqualNoCase("@", "`"), 0);
}

TEST(TextTest, EqualIsExact) {
  EXPECT_EQ(kxsystem::StrEqual("abc", "abc"), 1);
  EXPECT_EQ(kxsystem::StrEqual("abc", "ABC"), 0);
  EXPECT_EQ(kxsystem::StrEqual(nullptr, "abc"), 0);
}

}  // namespace
