#include <clocale>
#include <cmath>
#include <vector>

#include "core/function.h"
#include "core/output.h"
#include "test_support.h"

namespace {

using kxtest::controls;
using kxtest::coretest;
using kxtest::part;
using kxtest::texts;

// What the test commands saw.
struct calls {
  std::vector<std::string> seen;
};
calls& Seen() {
  static calls c;
  return c;
}

void FooCommand(int v) { Seen().seen.push_back("command " + std::to_string(v)); }
void PropertyCommand(int v) { Seen().seen.push_back("property " + std::to_string(v)); }
kxvalueptr Color(float r, float g, float b, float a) {
  float v[4] = {r, g, b, a};
  return kxvalueptr(new kxvectorvalue(v, &kxvaluetypes::Vector4f));
}

// A widget-like node recording the arguments of its members.
class recorder : public kxnode {
 public:
  static inline kxtype Type{"kxtestrecorder", 0, kxcreate<recorder>};
  recorder() { type = &Type; }
  kxvalueptr GetMember(const char* member, const kxargs& args) override {
    std::string m = member;
    if (m == "Foo" || m == "Select" || m == "Invert" || m == "X" || m == "Open" || m == "Selection") {
      std::string text = "member " + m + "(";
      for (size_t i = 0; i < args.Count(); ++i) {
        if (i) text += ",";
        if (kxnode* n = args.Node(i)) {
          text += "node:" + n->name.Str();
        } else {
          text += args.String(i).Str();
        }
      }
      Seen().seen.push_back(text + ")");
      return kxvoid();
    }
    return kxnode::GetMember(member, args);
  }
};

class interpretertest : public coretest {
 protected:
  static void SetUpTestSuite() {
    coretest::SetUpTestSuite();
    kxtype::Register(&recorder::Type);
    kxfunction::Register("Foo", FooCommand);
    kxfunction::Register("DesignObjectProperty", PropertyCommand);
    kxfunction::Register("kxtestcolor", Color);
  }
  void SetUp() override {
    coretest::SetUp();
    Seen().seen.clear();
  }
  std::string Seen0() const { return Seen().seen.empty() ? "" : Seen().seen[0]; }
};

TEST_F(interpretertest, CommandsComeBeforeMembers) {
  kxscript::Execute("Append kxtestrecorder W;cd W/;Append kxtestrecorder Child", top);
  kxnode* child = kxnode::Find("W/Child", top);
  kxscript::Execute("Foo(3)", child);
  kxscript::Execute("../Foo(3)", child);
  kxscript::Execute("DesignObjectProperty", child);
  ASSERT_EQ(Seen().seen.size(), 3u);
  EXPECT_EQ(Seen().seen[0], "command 3");
  EXPECT_EQ(Seen().seen[1], "member Foo(3)");
  EXPECT_EQ(Seen().seen[2], "property 0");

  kxvalueptr color = kxscript::Evaluate("kxtestcolor( 1, 0.5, 0, 1 )");
  ASSERT_NE(color, nullptr);
  float v[4];
  ASSERT_TRUE(color->GetVector(v));
  EXPECT_EQ(v[1], 0.5f);
  kxvalueptr vector = kxscript::Evaluate("kxvector4r( 1, 2 )");
  ASSERT_NE(vector, nullptr);
  ASSERT_TRUE(vector->GetVector(v));
  EXPECT_EQ(v[0], 1.0f);
  EXPECT_EQ(v[2], 0.0f);
}

TEST_F(interpretertest, ArgumentsAreResolvedRelativeToTheRunningNode) {
  kxscript::Execute(
      "Append kxtestrecorder Window;cd Window/;Append kxnode List;cd List/;Append kxnode 4;cd 4/;"
      "Append kxnode cessna",
      top);
  kxnode* window = kxnode::Find("Window", top);
  kxnode* tile = kxnode::Find("Window/List/4/cessna", top);
  ASSERT_NE(tile, nullptr);
  kxscript::Execute("../../../Select( Name )", tile);
  kxscript::Execute("../../../X( ../../, 0 )", tile);
  kxscript::Execute("../../../Invert( ../Name )", tile);
  kxscript::Execute("/T/Window/Open( \"say \\\"hi\\\"\", 0 )", tile);
  ASSERT_EQ(Seen().seen.size(), 4u);
  EXPECT_EQ(Seen().seen[0], "member Select(cessna)");
  EXPECT_EQ(Seen().seen[1], "member X(node:List,0)");
  EXPECT_EQ(Seen().seen[2], "member Invert(4)");
  EXPECT_EQ(Seen().seen[3], "member Open(say \"hi\",0)");
  kxvalueptr name = kxscript::Evaluate("../Name", kxnode::Find("4", kxnode::Find("List", window)));
  EXPECT_EQ(kxvalue::ToInt(name.get()), 0);
  EXPECT_EQ(log.Lines(), 0) << kxtest::logcapture::Text();
}

TEST_F(interpretertest, FailingStatementLogsOnceAndTheRestRuns) {
  kxscript::Execute("Append kxnode A", top);
  kxscript::Execute("/Display/Invisible/wndX/Open;/T/A/Name = \"Z\"", top);
  EXPECT_NE(kxnode::Find("Z", top), nullptr);
  EXPECT_EQ(log.Lines(), 1);
  EXPECT_TRUE(log.Contains("kxscript:  no node \"/Display/Invisible/wndX/Open\""));

  log.Clear();
  kxscript::Execute("Append kxtestrecorder R", top);
  kxscript::Execute("Selection( \"a;b\" );Open( x; y )", kxnode::Find("R", top));
  EXPECT_EQ(Seen0(), "member Selection(a;b)");
  EXPECT_EQ(log.Lines(), 1);  // "( x; y )" is one statement and fails as a whole
  log.Clear();
  kxscript::Execute("( \"text\" )", top);
  kxscript::Execute("4", top);
  kxscript::Execute("// comment; Append kxnode Never", top);
  EXPECT_EQ(kxnode::Find("Never", top), nullptr);
  EXPECT_EQ(log.Lines(), 0) << kxtest::logcapture::Text();
}

TEST_F(interpretertest, MalformedStatementsAreSyntaxErrors) {
  kxscript::Execute("Append kxtestpart P", top);
  kxnode* p = kxnode::Find("P", top);
  const char* bad[] = {"Mass = ", "Mass = \"unterminated", "Mass = (", "Mass(1 = 2", "= 3",
                       "Mass = 1 2",  "Label = {1,", ")", "Mass = {1}}", "X = kxvector4r( 1, 2, 3, 4, 5 )"};
  for (const char* line : bad) {
    log.Clear();
    kxscript::Execute(line, p);
    EXPECT_EQ(log.Lines(), 1) << line << ": " << kxtest::logcapture::Text();
  }
  EXPECT_EQ(static_cast<part*>(p)->Mass, 0.0f);
}

// A hostile line of a megabyte stays one short line of the log.
TEST_F(interpretertest, FailureLinesQuoteAtMostAFewHundredCharacters) {
  std::string huge = "Mass = (" + std::string(1 << 20, '7');
  kxscript::Execute(huge.c_str(), top);
  std::string text = kxtest::logcapture::Text();
  EXPECT_EQ(log.Lines(), 1);
  EXPECT_LT(text.size(), kExcerptChars + 100);
  EXPECT_EQ(text.rfind("kxscript:  syntax error \"Mass = (777", 0), 0u) << text.substr(0, 100);
  EXPECT_EQ(text.substr(text.size() - 6), "7...\"\n");
}

TEST_F(interpretertest, TextTableWorksByAbsolutePathAndAsCurrentNode) {
  kxscript::Execute("Append kxtesttexts MultiLanguage", top);
  auto* table = static_cast<texts*>(kxnode::Find("MultiLanguage", top));
  kxscript::Execute("/T/MultiLanguage/SimText( 70 ) = \"RPM: %3drmin\"", kxscript::Root());
  EXPECT_STREQ(table->SimText[70].Text(), "RPM: %3drmin");
  kxscript::Execute("cd /T/MultiLanguage/\nSimText( 0 ) = \"Speed:\"\nTipp( 1, 2 ) = \"abc\"", top);
  EXPECT_STREQ(table->SimText[0].Text(), "Speed:");
  EXPECT_STREQ(table->Tipp[1][2].Text(), "abc");
  kxscript::Execute("Tipp( 1, 9 ) = \"past the table\"", table);
  EXPECT_TRUE(log.Contains("unknown"));
}

TEST_F(interpretertest, VectorsListsAndRunsOfBlanks) {
  kxscript::Execute("Append kxtestpart P", top);
  auto* p = static_cast<part*>(kxnode::Find("P", top));
  kxscript::Execute(
      "RootR = kxvector4f(   0.1000,  -0.2000,   0.3000,   1.0000 )\n"
      "X    = kxvector4r(   1.0000,   0.0000,   0.0000, 0 )\n"
      "Inertia = { 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16 }\n"
      "Mass = 1e-05",
      p);
  EXPECT_EQ(p->RootR[0], 0.1f);
  EXPECT_EQ(p->RootR[1], -0.2f);
  EXPECT_EQ(p->RootR[2], 0.3f);
  EXPECT_EQ(p->RootR[3], 1.0f);
  EXPECT_EQ(p->X[0], 1.0f);
  EXPECT_EQ(p->Inertia[15], 16.0f);
  EXPECT_EQ(p->Mass, 1e-05f);
  EXPECT_EQ(log.Lines(), 0) << kxtest::logcapture::Text();

  std::string big = "Inertia = {";
  for (int i = 0; i < 257; ++i) big += i ? ", 9" : " 9";
  big += " }";
  kxscript::Execute(big.c_str(), p);
  EXPECT_EQ(p->Inertia[0], 1.0f);
  EXPECT_EQ(log.Lines(), 1);

  log.Clear();
  kxscript::Execute("Inertia = { 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17 }", p);
  kxscript::Execute("Mass = nan", p);
  kxscript::Execute("Mass = 1e999", p);
  EXPECT_EQ(p->Inertia[0], 1.0f);
  EXPECT_EQ(p->Mass, 1e-05f);
  EXPECT_EQ(log.Lines(), 3);
  kxscript::Execute("Mass = 99999999999", p);  // too long for an int: a real
  EXPECT_EQ(p->Mass, 99999999999.0f);
  kxscript::Execute("Mass = -0", p);  // a negative zero as "%g" writes it keeps its sign
  EXPECT_TRUE(p->Mass == 0.0f && std::signbit(p->Mass));
  // A number a double holds but a float does not is refused in a list too.
  log.Clear();
  kxscript::Execute("Inertia = { 1, 1e39, 3 }", p);
  EXPECT_EQ(p->Inertia[1], 2.0f);
  EXPECT_EQ(log.Lines(), 1);
}

TEST_F(interpretertest, UnknownTypeSkipsItsBlockUntilCdBack) {
  kxscript::Execute(
      "Append kxdnothing W\ncd W/\nMass = 5\nAppend kxnode Inner\ncd Inner/\ncd ../\ncd ../\nAppend kxnode V",
      top);
  EXPECT_NE(kxnode::Find("V", top), nullptr);
  EXPECT_EQ(kxnode::Find("Inner", top), nullptr);
  EXPECT_TRUE(log.Contains("unknown type \"kxdnothing\""));
  EXPECT_TRUE(log.Contains("2 statements skipped"));

  // An absolute cd ends the skipping as well.
  log.Clear();
  kxscript::Execute("cd Missing/\nAppend kxnode Lost\ncd /T/\nAppend kxnode Found", top);
  EXPECT_EQ(kxnode::Find("Lost", top), nullptr);
  EXPECT_NE(kxnode::Find("Found", top), nullptr);
}

kxnode* recursionTarget = nullptr;
int recursionCount = 0;
void RunSelf() {
  ++recursionCount;
  kxscript::Execute("RunSelf", recursionTarget);
}

TEST_F(interpretertest, SelfRunningCommandStopsAtTheNestingLimit) {
  kxfunction::Register("RunSelf", RunSelf);
  recursionTarget = top;
  recursionCount = 0;
  kxscript::Execute("RunSelf", top);
  EXPECT_EQ(recursionCount, kxscript::kMaxNesting);
  EXPECT_TRUE(log.Contains("nesting too deep"));
  EXPECT_EQ(kxscript::Current(), kxscript::Root());
}

kxnode* doomed = nullptr;
void DeleteDoomed() { delete doomed; }

TEST_F(interpretertest, DestroyingTheCurrentNodeMidRunFailsSafely) {
  kxfunction::Register("DeleteDoomed", DeleteDoomed);
  kxscript::Execute("Append kxnode D;cd D/;Append kxnode Child", top);
  doomed = kxnode::Find("D", top);
  kxnode* result = kxscript::Execute("DeleteDoomed;Append kxnode After;Name = \"x\";cd /T/;Append kxnode Safe", doomed);
  EXPECT_EQ(kxnode::Find("D", top), nullptr);
  EXPECT_NE(kxnode::Find("Safe", top), nullptr);
  EXPECT_EQ(result, top);
  EXPECT_EQ(kxscript::Current(), kxscript::Root());  // the saved node is gone
}

TEST_F(interpretertest, AliasesResolveAndAreForgottenWithTheirNode) {
  kxscript::Execute("Append kxnode Plane;cd Plane/;Append kxnode Wing", top);
  kxnode* plane = kxnode::Find("Plane", top);
  kxscript::SetAlias("Aircraft", plane);
  EXPECT_EQ(kxnode::Find("~Aircraft/Wing"), kxnode::Find("Wing", plane));
  EXPECT_EQ(kxnode::Find("~Aircraft"), plane);
  delete plane;
  EXPECT_EQ(kxscript::Alias("Aircraft"), nullptr);
  EXPECT_EQ(kxnode::Find("~Aircraft/Wing"), nullptr);
}

TEST_F(interpretertest, QuoteSurvivesARoundTrip) {
  kxscript::Execute("Append kxtestrecorder R", top);
  const char* nasty = "a \"quoted\"; \\ path";
  std::string command = "Selection( " + kxscript::Quote(nasty).Str() + " )";
  kxscript::Execute(command.c_str(), kxnode::Find("R", top));
  EXPECT_EQ(Seen0(), std::string("member Selection(") + nasty + ")");
}

}  // namespace

namespace {

TEST_F(interpretertest, NumbersReadTheSameInADecimalCommaLocale) {
  std::string saved = std::setlocale(LC_ALL, nullptr);
  if (!std::setlocale(LC_ALL, "de_DE.UTF-8") && !std::setlocale(LC_ALL, "de_DE.utf8")) {
    GTEST_SKIP() << "no decimal-comma locale installed";
  }
  kxscript::Execute("Append kxtestpart P", top);
  auto* p = static_cast<part*>(kxnode::Find("P", top));
  kxscript::Execute("Mass = 0.75;RootR = kxvector4f( 1e-05, 1, -0.5, 1 )", p);
  kxvalueptr mass = kxscript::Evaluate("Mass", p);
  kxout out;
  mass->Print(out);
  std::setlocale(LC_ALL, saved.c_str());
  EXPECT_EQ(p->Mass, 0.75f);
  EXPECT_EQ(p->RootR[0], 1e-05f);
  EXPECT_EQ(out.Text(), "0.75");
}

}  // namespace

namespace {

std::string lastText;
int lastA = -1, lastB = -1;
kxnode* lastNode = nullptr;
void TakeText(const char* text) { lastText = text; }
void TakeTwo(int a, int b) {
  lastA = a;
  lastB = b;
}
void TakeNode(kxnode* node) { lastNode = node; }

TEST_F(interpretertest, AdaptorsConvertTheScriptArguments) {
  static kxfunction named("kxtesttext");
  named.Bind(TakeText);
  kxfunction::Register(&named);
  kxfunction::Register(&named);  // twice: still one entry, no loop
  kxfunction::Register("kxtesttwo", TakeTwo);
  kxfunction::Register("kxtestnode", TakeNode);
  int captured = 0;
  kxfunction::RegisterHandler("kxtestcount", [&captured](const kxargs& args) {
    captured = static_cast<int>(args.Count());
    return kxvoid();
  });

  kxscript::Execute("kxtesttext( \"hello\" );kxtesttwo( 3, \"4\" );kxtestnode( ../ );kxtestcount 1 2 3", top);
  EXPECT_EQ(lastText, "hello");
  EXPECT_EQ(lastA, 3);
  EXPECT_EQ(lastB, 4);
  EXPECT_EQ(lastNode, kxscript::Root());
  EXPECT_EQ(captured, 3);
  kxscript::Execute("kxtesttwo", top);  // run bare: defaults
  EXPECT_EQ(lastA, 0);
  EXPECT_EQ(log.Lines(), 0) << kxtest::logcapture::Text();

  // The newest command of a name wins.
  kxfunction::Register("kxtesttext", TakeNode);
  EXPECT_NE(kxfunction::Find("kxtesttext"), &named);
}

TEST_F(interpretertest, FromValueChecksTheNodeType) {
  kxscript::Execute("Append kxtestpart P;Append kxnode N", top);
  kxnodevalue partValue(kxnode::Find("P", top));
  kxnodevalue plainValue(kxnode::Find("N", top));
  kxintvalue number(1);
  EXPECT_NE(kxnode::FromValue<part>(&partValue), nullptr);
  EXPECT_EQ(kxnode::FromValue<part>(&plainValue), nullptr);
  EXPECT_EQ(kxnode::FromValue<part>(&number), nullptr);
  EXPECT_NE(kxnode::FromValue<kxnode>(&plainValue), nullptr);
}

}  // namespace
