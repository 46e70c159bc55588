#include "core/numbers.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <cstring>
#include <string>

#include "core/output.h"

namespace {

// Switches the process to a decimal-comma numeric locale when one is
// installed, and back to "C" afterwards.
class CommaLocale : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "fr_FR.utf8",
                             "it_IT.UTF-8", "nl_NL.UTF-8", "ru_RU.UTF-8", "de_DE", "fr_FR"}) {
      if (std::setlocale(LC_ALL, name) && std::strcmp(std::localeconv()->decimal_point, ",") == 0) {
        return;
      }
    }
    std::setlocale(LC_ALL, "C");
    GTEST_SKIP() << "no decimal-comma locale installed";
  }
  void TearDown() override { std::setlocale(LC_ALL, "C"); }
};

struct RoundTrip {
  float value;
  const char* text;
};
constexpr RoundTrip kRoundTrips[] = {{0.75f, "0.75"}, {1.0f, "1"}, {0.00001f, "1e-05"},
                                     {-2.5f, "-2.5"}, {1234567.0f, "1.23457e+06"}};

void ExpectRoundTrips() {
  for (const RoundTrip& trip : kRoundTrips) {
    kxout out;
    EXPECT_EQ(out.Printf("%g", trip.value), static_cast<int>(std::strlen(trip.text)));
    EXPECT_EQ(out.Text(), trip.text);
    EXPECT_EQ(kxnumber::FormatG(trip.value), trip.text);
    if (trip.value == 1234567.0f) continue;  // six digits cannot hold it
    float back = -99.0f;
    ASSERT_TRUE(kxnumber::Parse(out.Text(), back)) << trip.text;
    EXPECT_EQ(back, trip.value) << trip.text;
    double wide = -99.0;
    ASSERT_TRUE(kxnumber::Parse(out.Text(), wide)) << trip.text;
    EXPECT_EQ(static_cast<float>(wide), trip.value) << trip.text;
  }
}

TEST(NumberText, GFormatReadsBackToTheSameFloat) { ExpectRoundTrips(); }

TEST_F(CommaLocale, GFormatReadsBackToTheSameFloat) {
  char probe[16];
  std::snprintf(probe, sizeof probe, "%g", 0.5);
  ASSERT_STREQ(probe, "0,5");  // the locale really is in effect
  ExpectRoundTrips();
  kxout out;
  out.Printf("%8.4f|%s|%d", 0.1, "a,b", 3);
  EXPECT_EQ(out.Text(), "  0.1000|a,b|3");
}

TEST(NumberText, FormattingMatchesPrintfInTheCLocale) {
  const double values[] = {0.0,     -0.0,   1e-5,     1e-4,      0.1,    100000.0, 1e6,
                           123456.5, 1e21,  -3.25e-7, 2.0 / 3.0, 1e300,  5e-324,   0.5,
                           1.5,      2.5,   -1234.5678, 999999.5, 0.00012345678};
  char expected[512];
  for (double value : values) {
    std::snprintf(expected, sizeof expected, "%g", value);
    EXPECT_EQ(kxnumber::FormatG(value), expected) << value;
    std::snprintf(expected, sizeof expected, "%8.4f", value);
    EXPECT_EQ(kxnumber::FormatFixed(value, 8, 4), expected) << value;
  }
}

TEST(NumberText, AcceptsEveryFormOfTheGrammar) {
  const struct {
    const char* text;
    double value;
  } cases[] = {{"0", 0.0},   {"+3", 3.0},        {"-3", -3.0},       {"1.", 1.0},
               {".5", 0.5},  {"-.5", -0.5},      {"2.25", 2.25},     {"1e3", 1000.0},
               {"1E+2", 100.0}, {"2.5e-1", 0.25}, {"-0.0000", 0.0},  {"007", 7.0}};
  for (const auto& item : cases) {
    double value = -1.0;
    EXPECT_TRUE(kxnumber::Parse(item.text, value)) << item.text;
    EXPECT_EQ(value, item.value) << item.text;
  }
}

TEST(NumberText, RejectsAnythingElseAndKeepsTheOutput) {
  for (const char* text : {"", "+", "-", ".", "e5", "1e", "1e+", "nan", "NaN", "inf", "-inf",
                           "infinity", "0x10", "1.5.2", "1,5", " 1", "1 ", "1f", "++1", "+-1",
                           "1e400", "-1e400", "1..", "--1"}) {
    double value = 42.0;
    EXPECT_FALSE(kxnumber::Parse(text, value)) << '"' << text << '"';
    EXPECT_EQ(value, 42.0) << text;
  }
  float narrow = 42.0f;
  EXPECT_FALSE(kxnumber::Parse("1e39", narrow));  // finite in double, not in float
  EXPECT_EQ(narrow, 42.0f);
}

// Words written as numbers no real holds are told from names and remarks,
// so the readers can refuse them for that reason.
TEST(NumberText, WordsNamingNoFiniteNumberAreToldApart) {
  for (const char* word : {"nan", "NaN", "-nan", "+INF", "inf", "Infinity", "1e400", "-1e400"}) {
    EXPECT_TRUE(kxnumber::IsNonFiniteText(word)) << word;
    EXPECT_TRUE(kxnumber::IsNonFiniteFloatText(word)) << word;
  }
  for (const char* word : {"", "1e39", "3.4e38", "0", "nano", "info", "Mass", "nan(1)", "1.5-2"}) {
    EXPECT_FALSE(kxnumber::IsNonFiniteText(word)) << word;
  }
  EXPECT_TRUE(kxnumber::IsNonFiniteFloatText("1e39"));
  EXPECT_FALSE(kxnumber::IsNonFiniteFloatText("3.4e38"));
}

TEST(NumberText, ParseReadsNoMoreThanTheViewGives) {
  std::string_view text("2.5e7", 3);  // "2.5" inside a longer buffer
  double value = 0.0;
  ASSERT_TRUE(kxnumber::Parse(text, value));
  EXPECT_EQ(value, 2.5);
}

TEST(NumberText, IntegersTakeSignAndDigitsOnly) {
  long long value = 0;
  EXPECT_TRUE(kxnumber::ParseInt("42", value));
  EXPECT_EQ(value, 42);
  EXPECT_TRUE(kxnumber::ParseInt("+7", value));
  EXPECT_EQ(value, 7);
  EXPECT_TRUE(kxnumber::ParseInt("-9223372036854775808", value));
  EXPECT_EQ(value, INT64_MIN);
  value = 5;
  for (const char* text : {"", "+", "-", "1.0", "1e3", "0x1", " 1", "1 ", "+-1",
                           "9223372036854775808", "abc"}) {
    EXPECT_FALSE(kxnumber::ParseInt(text, value)) << '"' << text << '"';
    EXPECT_EQ(value, 5) << text;
  }
}

// The number at the front of a text, and how many characters it took.
TEST(NumberText, LeadingNumbersTakeTheLongestFrontInTheGrammar) {
  const struct {
    const char* text;
    size_t used;
    double value;
  } reals[] = {{"0.75 rest", 4, 0.75}, {"-12x", 3, -12},   {"+.5", 3, 0.5},      {"5.", 2, 5},
               {"5.e3", 4, 5000},      {"2e", 1, 2},       {"2e+", 1, 2},        {"2E-2;", 4, 0.02},
               {"1.5.3", 3, 1.5},      {"0x10", 1, 0},     {".", 0, 0},          {"-", 0, 0},
               {"+-5", 0, 0},          {" 5", 0, 0},       {"nan", 0, 0},        {"inf", 0, 0},
               {"1e400", 0, 0},        {"", 0, 0}};
  for (const auto& r : reals) {
    double value = -1.0;
    EXPECT_EQ(kxnumber::ReadLeading(r.text, value), r.used) << '"' << r.text << '"';
    EXPECT_EQ(value, r.used ? r.value : -1.0) << '"' << r.text << '"';
  }
  float narrow = -1.0f;
  EXPECT_EQ(kxnumber::ReadLeading("1e39", narrow), 0u);  // finite in double, not in float
  EXPECT_EQ(narrow, -1.0f);
  const struct {
    const char* text;
    size_t used;
    long long value;
  } ints[] = {{"42;", 2, 42}, {"-7.5", 2, -7}, {"+3", 2, 3},
              {"+-1", 0, 0},  {"x1", 0, 0},    {"99999999999999999999", 0, 0}};
  for (const auto& i : ints) {
    long long value = -1;
    EXPECT_EQ(kxnumber::ReadLeadingInt(i.text, value), i.used) << '"' << i.text << '"';
    EXPECT_EQ(value, i.used ? i.value : -1) << '"' << i.text << '"';
  }
}

// The fields and system files read as atoi and atof read them: blanks first,
// 0 for no number, and too many digits clamped rather than undefined.
TEST(NumberText, LeadingWholeNumbersAndRealsReadAsTheCLibraryDoes) {
  const struct {
    const char* text;
    long long value;
  } ints[] = {{"  42%", 42},  {"\t-7", -7},         {"+3x", 3},
              {"", 0},        {"  ", 0},            {"x1", 0},
              {"- 1", 0},     {"99999999999999999999", INT64_MAX}, {" -99999999999999999999", INT64_MIN}};
  for (const auto& i : ints) EXPECT_EQ(kxnumber::LeadingWholeNumber(i.text), i.value) << '"' << i.text << '"';
  const struct {
    const char* text;
    double value;
  } reals[] = {{" 2400.125\n", 2400.125}, {"\t-1.5e2 MHz", -150}, {"", 0}, {"nan", 0}, {"1e400", 0}, {"MHz", 0}};
  for (const auto& r : reals) EXPECT_EQ(kxnumber::LeadingReal(r.text), r.value) << '"' << r.text << '"';
}

}  // namespace
