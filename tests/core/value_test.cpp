#include <clocale>

#include "core/output.h"
#include "test_support.h"

namespace {

using kxtest::coretest;
using kxtest::part;

TEST_F(coretest, ConversionsFollowTheValueKind) {
  kxintvalue seven(7);
  kxstringvalue fortyTwo(kxstring("42"));
  kxstringvalue words(kxstring("abc"));
  kxrealvalue real(2.7);
  kxnodevalue node(top);
  EXPECT_EQ(kxvalue::ToInt(&seven), 7);
  EXPECT_EQ(kxvalue::ToInt(&fortyTwo), 42);
  EXPECT_EQ(kxvalue::ToInt(&words), 0);
  EXPECT_EQ(kxvalue::ToInt(&real), 0);  // only ints and texts count
  EXPECT_EQ(kxvalue::ToInt(&node), 0);
  EXPECT_EQ(kxvalue::ToInt(nullptr), 0);

  EXPECT_FLOAT_EQ(kxvalue::ToReal(&real), 2.7f);
  EXPECT_FLOAT_EQ(kxvalue::ToReal(&seven), 7.0f);
  EXPECT_FLOAT_EQ(kxvalue::ToReal(&fortyTwo), 42.0f);
  EXPECT_FLOAT_EQ(kxvalue::ToReal(&words), 0.0f);

  EXPECT_STREQ(kxvalue::ToString(&seven).Text(), "7");
  EXPECT_STREQ(kxvalue::ToString(&real).Text(), "2.7");
  EXPECT_STREQ(kxvalue::ToString(&node).Text(), "T");
  EXPECT_STREQ(kxvalue::ToString(nullptr).Text(), "");

  EXPECT_EQ(kxvalue::ToNode(&node), top);
  EXPECT_EQ(kxvalue::ToNode(&seven), nullptr);
  kxnode* pointer = top;
  kxnodeptrref ref(&pointer);
  EXPECT_EQ(kxvalue::ToNode(&ref), top);
}

TEST_F(coretest, AssignmentsConvertOrRefuse) {
  int i = 5;
  float f = 1;
  kxstring s;
  kxintref iref(&i);
  kxrealref fref(&f);
  kxstringref sref(&s);

  EXPECT_EQ(iref.Assign(kxrealvalue(-2.9)), 1);
  EXPECT_EQ(i, -2);  // truncated toward zero
  EXPECT_EQ(iref.Assign(kxstringvalue(kxstring("12"))), 1);
  EXPECT_EQ(i, 12);
  EXPECT_EQ(iref.Assign(kxstringvalue(kxstring("twelve"))), 0);
  EXPECT_EQ(iref.Assign(kxrealvalue(1e12)), 0);
  EXPECT_EQ(i, 12);

  EXPECT_EQ(fref.Assign(kxintvalue(3)), 1);
  EXPECT_EQ(f, 3.0f);
  EXPECT_EQ(fref.Assign(kxrealvalue(1e300)), 0);  // not representable as a float
  EXPECT_EQ(fref.Assign(kxstringvalue(kxstring("nan"))), 0);
  EXPECT_EQ(f, 3.0f);

  EXPECT_EQ(sref.Assign(kxintvalue(4)), 1);
  EXPECT_STREQ(s.Text(), "4");
  EXPECT_EQ(sref.Assign(kxrealvalue(0.75)), 1);
  EXPECT_STREQ(s.Text(), "0.75");
  EXPECT_EQ(sref.Assign(kxnodevalue(top)), 1);
  EXPECT_STREQ(s.Text(), "T");
  EXPECT_EQ(sref.Assign(kxvoidvalue()), 0);

  float v[4] = {1, 2, 3, 4};
  kxvectorref vref(v);
  EXPECT_EQ(vref.Assign(kxstringvalue(kxstring("1 2 3"))), 0);
  EXPECT_EQ(v[3], 4.0f);

  kxnode* only = nullptr;
  kxnodeptrref typed(&only, &part::Type);
  EXPECT_EQ(typed.Assign(kxnodevalue(top)), 1);
  EXPECT_EQ(only, nullptr);  // not a part: stores null
}

TEST_F(coretest, ValuesPrintInTheirScriptForms) {
  kxout out;
  kxintvalue(3).Print(out);
  out.Printf(" ");
  kxrealvalue(0.00001).Print(out);
  out.Printf(" ");
  kxstringvalue(kxstring("say \"hi\"")).Print(out);
  out.Printf(" ");
  float v[4] = {0.1f, -0.2f, 0.3f, 1};
  kxvectorvalue(v, &kxvaluetypes::Vector4f).Print(out);
  EXPECT_EQ(out.Text(), "3 1e-05 \"say \\\"hi\\\"\" kxvector4f(   0.1000,  -0.2000,   0.3000,   1.0000 )");

  kxout nodeText;
  kxnodevalue(top).Print(nodeText);
  EXPECT_EQ(nodeText.Text(), "/T/");
}

TEST_F(coretest, ArgumentIndexesOutsideTheTableGiveMinusOne) {
  kxargs args;
  args.Add(kxvalueptr(new kxintvalue(4)));
  args.Add(kxvalueptr(new kxintvalue(64)));
  args.Add(kxvalueptr(new kxintvalue(-1)));
  EXPECT_EQ(args.Index(0, 64), 4);
  EXPECT_EQ(args.Index(1, 64), -1);
  EXPECT_EQ(args.Index(2, 64), -1);
  EXPECT_EQ(args.Index(3, 64), -1);
  EXPECT_EQ(args.Int(5), 0);
  EXPECT_STREQ(args.String(5).Text(), "");
  EXPECT_EQ(args.Node(0), nullptr);
}

}  // namespace
