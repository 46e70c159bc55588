#include "legacy/dns_reader.h"

#include <cstring>
#include <string>
#include <vector>

#include "legacy/dns_scramble.h"
#include "legacy/schema.h"
#include "tests/legacy/legacy_support.h"

namespace {

using namespace dnsmodel;

// A member as the file sees it, through the member table: an int, a float
// as %g, the text, or a vector as "x y z".
std::string Show(const object* part, const char* member) {
  const memberinfo* m = FindType(part->GetTypeName())->Find(member);
  if (!m) return "<no member>";
  const unsigned char* field = reinterpret_cast<const unsigned char*>(part) + m->offset;
  std::string type = m->typeText;
  if (type == "char") return reinterpret_cast<const char*>(field);
  char text[64];
  if (type == "int") {
    int32_t v;
    std::memcpy(&v, field, sizeof v);
    return std::to_string(v);
  }
  float v[3] = {};
  std::memcpy(v, field, type == "vector" ? sizeof v : sizeof v[0]);
  if (type == "float") std::snprintf(text, sizeof text, "%g", v[0]);
  else std::snprintf(text, sizeof text, "%g %g %g", v[0], v[1], v[2]);
  return text;
}

class DnsReaderTest : public kxltest::legacytest {
 protected:
  void TearDown() override {
    FreeParts(list_);
    EXPECT_EQ(CurrentPool()->used, 0) << "every part and buffer returned";
    legacytest::TearDown();
  }
  // Reads the text as a file; the list stays owned by the fixture.
  object* Read(const std::string& text) {
    FreeParts(list_);
    list_ = ReadDnsFile(WriteFile("model.dns", text).c_str());
    return list_;
  }
  object* Part(int i) const {
    object* p = list_;
    while (p && i-- > 0) p = p->next;
    return p;
  }
  std::string Names() const {
    std::string names;
    for (object* p = list_; p; p = p->next) names += std::string(names.empty() ? "" : " ") + p->Name;
    return names;
  }
  object* list_ = nullptr;
};

TEST_F(DnsReaderTest, ReadsPartsAndTheirMembers) {
  object* list = Read(
      "// DNS FILE\r\n"
      "// a comment line: wing Hidden;\r\n"
      "wing W1;\r\n"
      "W1.Area\t=\t0.35;\r\n"
      "W1.39 = 0.5\r\n"          // the index of Area: the later statement wins
      "W1.Channel = 3;\r\n"
      "W1.R = ( 1.5, -2, 3e-1 );\r\n"
      "strcpy( W1.Flap, \"Aileron\" );\r\n"
      "engine Eng;\xA0\x81\n"     // any run of bytes outside 32..126 is one break
      "strcpy( Eng.SoundFile,\n\"engine\" );\n"  // a statement may run on
      "Eng.Max = 1600\n"
      "Eng.Min = -\n");           // no number: 0
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(Names(), "W1 Eng");
  object* w = Part(0);
  EXPECT_STREQ(w->GetTypeName(), "wing");
  EXPECT_EQ(Show(w, "Area"), "0.5");
  EXPECT_EQ(Show(w, "Channel"), "3");
  EXPECT_EQ(Show(w, "R"), "1.5 -2 0.3");
  EXPECT_EQ(Show(w, "Flap"), "Aileron");
  object* e = Part(1);
  EXPECT_EQ(Show(e, "SoundFile"), "engine");
  EXPECT_EQ(Show(e, "Max"), "1600");
  EXPECT_EQ(Show(e, "Min"), "0");
  EXPECT_EQ(Log(), "");
}

// Edge cases of single statements: the text after a wing W declared first,
// and what one member reads afterwards.
TEST_F(DnsReaderTest, StatementFormsTable) {
  struct row {
    const char* statements;
    const char* member;
    const char* expected;  // as text: an int, a float (%g), a text, or "x y z"
    const char* said = nullptr;  // the log line a value no float holds gets
  } rows[] = {
      {"W.Channel = 3;", "Channel", "3"},
      {"W.Channel = -12abc", "Channel", "-12"},
      {"W.Channel = 99999999999", "Channel", "0"},
      {"W.Channel = x3", "Channel", "0"},
      {"W.Area = 0.35,", "Area", "0.35"},
      {"W.Area = -.5e1;", "Area", "-5"},
      {"W.Area = 2.e", "Area", "2"},
      {"W.Area = 1e99", "Area", "0", "model.dns: W.Area = 1e99 is no finite number; 0 used\n"},
      {"W.Area = inf", "Area", "0", "model.dns: W.Area = inf is no finite number; 0 used\n"},
      {"W.Rl = ( 1 nan 3 )", "Rl", "1 0 3", "model.dns: W.Rl = nan is no finite number; 0 used\n"},
      {"W.Area = 0x10", "Area", "0"},
      {"W.Area + 0.2", "Area", "0.2"},  // the "=" is not examined
      {"W.39 = 0.25", "Area", "0.25"},
      {"W.039 = 0.25", "Area", "0"},
      {"W.Rl = ( 1, 2, 3 );", "Rl", "1 2 3"},
      {"W.Rl = (1, 2, 3);\nW.Area = 4", "Rl", "2 3 0"},  // the bracket must stand alone
      {"strcpy( W.Brake, \"Br\" );", "Brake", "Br"},
      {"strcpy( W.Brake, \"Br\");", "Brake", "Br\")"},
      {"strcpy( W.Brake, \"\" );", "Brake", ""},
      {"strcpy( W.Flap, \"1234567890123456789012345678901\" );", "Flap", "1234567890123456789012345678901"},
      {"strcpy( W.Flap, \"12345678901234567890123456789012\" );", "Flap", ""},
      {"strcpy( W.Name, \"Renamed\" );\nRenamed.Area = 3", "Area", "3"},
      {"  W.Area = 5", "Area", "5"},
      {"  // W.Area = 5", "Area", "0"},
      {"X.Area = 5", "Area", "0"},
      {"W.Area\n=\n6", "Area", "6"},
  };
  for (const row& r : rows) {
    SCOPED_TRACE(r.statements);
    capture_.Clear();
    object* w = Read(std::string("// DNS FILE\nwing W;\n") + r.statements + "\n");
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(Show(w, r.member), r.expected);
    if (r.said) {
      EXPECT_NE(Log().find(r.said), std::string::npos) << Log();
    }
  }
}

TEST_F(DnsReaderTest, DeclarationsTable) {
  struct row {
    const char* text;
    const char* names;  // of the parts read
    const char* log;    // a piece of the one log line, or "" for none
  } rows[] = {
      {"wing W1;", "W1", ""},
      {"wing W1 ;", "W", ""},
      {"wing\nW1;", "W1", ""},
      {"Wing W1;", "", ""},
      {"wing A;\nwing A;\nA.Area = 2", "A A", ""},
      {"wing A;\n \t \nwing B;", "A B", "blanks only"},
      {"sound S;\nwing A;", "A", "is a record"},
      {"wing 1234567890123456789012345678901;", "1234567890123456789012345678901", ""},
      {"wing 12345678901234567890123456789012;", "", "longer than 31"},
      {"wing A;\nwing", "A", "runs past the end"},
      {"wing A;\nA.R = ( 1 2", "A", "runs past the end"},
      {"wing A;\nstrcpy(", "A", "runs past the end"},
      {"wing A;\nstrcpy( A.Flap, \"", "A", "shorter than its quotes"},
      {"wing A;\nstrcpy( A.Flap, \"12345678901234567890123456789012\" );", "A", "longer than 31"},
      {"wing A;\nB.Area = 1\nwing B;", "A B", ""},
  };
  for (const row& r : rows) {
    SCOPED_TRACE(r.text);
    capture_.Clear();
    Read(std::string("// DNS FILE\n") + r.text + "\n");
    EXPECT_EQ(Names(), r.names);
    if (*r.log) {
      EXPECT_NE(Log().find(r.log), std::string::npos) << Log();
      EXPECT_EQ(capture_.Lines(), 1) << Log();
    } else {
      EXPECT_EQ(Log(), "");
    }
  }
  // A name declared twice: statements reach the first part.
  Read("// DNS FILE\nwing A;\nwing A;\nA.Area = 2\n");
  EXPECT_EQ(Show(Part(0), "Area"), "2");
  EXPECT_EQ(Show(Part(1), "Area"), "0");
}

TEST_F(DnsReaderTest, FilesThatGiveNoParts) {
  EXPECT_EQ(ReadDnsFile(Path("missing.dns").c_str()), nullptr);
  EXPECT_NE(Log().find("dnsmodel:  read "), std::string::npos);
  capture_.Clear();
  EXPECT_EQ(Read("// DNS FILE\n"), nullptr);
  EXPECT_EQ(Read("// DNS FILE\nW.Area = 1\n"), nullptr);
  EXPECT_EQ(Log(), "");
  // An empty file and one in UTF-16 say so in one line each.
  EXPECT_EQ(Read(""), nullptr);
  EXPECT_EQ(Read(std::string("\xFF\xFE/\0/\0", 6)), nullptr);
  EXPECT_EQ(Log(), "dnsmodel:  " + Path("model.dns") + ": empty file\ndnsmodel:  " + Path("model.dns") +
                       ": UTF-16 text, not read\n");
}

// A plain file saved with a byte-order mark, or with lone CRs, reads as the
// same file without.
TEST_F(DnsReaderTest, AByteOrderMarkAndLoneCarriageReturnsReadAsPlainText) {
  for (const char* text :
       {"\xEF\xBB\xBF// DNS FILE\nwing W;\nW.Area = 0.16\n", "// DNS FILE\rwing W;\rW.Area = 0.16\r"}) {
    object* w = Read(text);
    ASSERT_NE(w, nullptr) << text;
    EXPECT_EQ(Names(), "W");
    EXPECT_EQ(Show(w, "Area"), "0.16");
  }
  EXPECT_EQ(Log(), "");
}

TEST_F(DnsReaderTest, StopsAtTheTableSizesAndKeepsWhatItRead) {
  std::string lines = "// DNS FILE\ndummy A;\n";
  for (int line = 2; line < 2100; ++line) lines += "A.M = " + std::to_string(line) + "\n";
  Read(lines);
  ASSERT_NE(list_, nullptr);
  EXPECT_EQ(Show(list_, "M"), "1998") << "the last line read, counted from 0";
  EXPECT_NE(Log().find("more than 1999 lines or 9999 tokens"), std::string::npos);

  capture_.Clear();
  std::string tokens = "// DNS FILE\nwing A;\nA.Area = 1 ";
  for (int i = 0; i < kTokenTableEntries; ++i) tokens += "x ";
  tokens += "\nwing B;\n";
  Read(tokens);
  EXPECT_EQ(Names(), "A");
  EXPECT_EQ(Show(Part(0), "Area"), "1");
  EXPECT_EQ(capture_.Lines(), 1);
}

TEST_F(DnsReaderTest, APoolThatRunsOutKeepsThePartsMadeSoFar) {
  std::string text = "// DNS FILE\n";
  for (int i = 0; i < 1000; ++i) text += "rotor R" + std::to_string(i) + ";\n";
  Read(text);
  int made = PartCount(list_);
  EXPECT_GT(made, 100);
  EXPECT_LT(made, 1000);
  EXPECT_NE(Log().find("no room in the pool for part R" + std::to_string(made)), std::string::npos);

  capture_.Clear();
  EXPECT_EQ(Read(std::string(kPoolBytes, ' ')), nullptr);
  EXPECT_NE(Log().find("no room in the pool to read"), std::string::npos);
}

TEST_F(DnsReaderTest, ScrambleIsReversedByteForByteAndKeepsZeros) {
  std::vector<char> plain(600);
  for (size_t i = 0; i < plain.size(); ++i) plain[i] = static_cast<char>(i * 7 % 256);
  std::vector<char> text = plain;
  Scramble(text.data(), text.size());
  for (size_t i = 0; i < plain.size(); ++i) {
    if (plain[i] == 0) EXPECT_EQ(text[i], 0) << i;
    else EXPECT_NE(text[i], plain[i]) << i;
  }
  Descramble(text.data(), text.size());
  EXPECT_EQ(text, plain);
}

TEST_F(DnsReaderTest, AScrambledFileReadsAsItsPlainOriginal) {
  std::string plain = "// DNS FILE\nwing W;\nW.Area = 0.16\nstrcpy( W.Flap, \"F\" );\n";
  std::string scrambled = plain;
  Scramble(scrambled.data(), scrambled.size());
  ASSERT_NE(scrambled.compare(0, 11, kPlainHeader), 0);
  object* w = Read(scrambled);
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(Names(), "W");
  EXPECT_EQ(Show(w, "Area"), "0.16");
  EXPECT_EQ(Show(w, "Flap"), "F");
}

}  // namespace
