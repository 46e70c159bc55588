#include "core/output.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(Output, PrintfAppendsAndCountsCharacters) {
  kxout out;
  EXPECT_EQ(out.Printf("Mass = %g\n", 1.5), 11);
  EXPECT_EQ(out.Printf("Assign( %d, %d )\n", 2, 3), 15);
  EXPECT_EQ(out.Text(), "Mass = 1.5\nAssign( 2, 3 )\n");
  out.Clear();
  EXPECT_EQ(out.Text(), "");
  EXPECT_EQ(out.Printf("%s", ""), 0);
  EXPECT_EQ(out.Text(), "");
}

TEST(Output, PrintfHasNoLengthLimit) {
  std::string line(100000, 'x');
  kxout out;
  EXPECT_EQ(out.Printf("%s|%s", line.c_str(), line.c_str()), 200001);
  EXPECT_EQ(out.Text().size(), 200001u);
  EXPECT_EQ(out.Text()[100000], '|');
  EXPECT_EQ(out.Text().back(), 'x');
}

TEST(Output, VectorLinesUseFixedFormat) {
  kxout out;
  out.Printf("RootR = kxvector4f( %8.4f, %8.4f, %8.4f, %8.4f )", 0.1, -0.2, 0.3, 1.0);
  EXPECT_EQ(out.Text(), "RootR = kxvector4f(   0.1000,  -0.2000,   0.3000,   1.0000 )");
}

TEST(Output, PrintStringEscapesQuotesAndBackslashes) {
  kxout out;
  out.PrintString("plain");
  out.PrintString("say \"hi\"");
  out.PrintString("C:\\dir\\");
  out.PrintString("");
  out.PrintString(nullptr);
  EXPECT_EQ(out.Text(), "\"plain\"\"say \\\"hi\\\"\"\"C:\\\\dir\\\\\"\"\"\"\"");
}

TEST(Output, PrintStringOfUserTextCannotEndTheStatement) {
  kxout out;
  out.Printf("Text = ");
  out.PrintString("a\"; cd /; Bad = \"1");
  EXPECT_EQ(out.Text(), "Text = \"a\\\"; cd /; Bad = \\\"1\"");
}

}  // namespace
