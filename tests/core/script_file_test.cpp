#include <cstdint>
#include <filesystem>

#include "test_support.h"
#include "tests/temp_dir.h"

namespace {

using kxtest::controls;
using kxtest::coretest;

class scriptfiletest : public coretest {
 protected:
  std::string Write(const char* name, const std::string& text) { return folder.Write(name, text); }
  kxtest::tempdir folder;
};

TEST_F(scriptfiletest, ControlFileRunsEveryLineAndCountsUnknownNames) {
  kxscript::Execute("Append kxtestcontrols C", top);
  auto* c = static_cast<controls*>(kxnode::Find("C", top));
  std::string path = Write("controls.kxa",
                           "Text = \"mine@@ADV\"\nDual( 4 ) = 0.75\nDual( 70 ) = 1\nBogus = 3\n"
                           "Invert( 4 ) = 1\nExpo( 4 ) = 0\nEasy = 1\n");
  EXPECT_EQ(kxscript::ReadFile(path.c_str(), c), 1);
  EXPECT_EQ(c->Dual[4], 0.75f);
  EXPECT_EQ(c->Invert[4], 1.0f);
  EXPECT_EQ(c->Easy, 1);
  EXPECT_EQ(log.Lines(), 1) << kxtest::logcapture::Text();
  EXPECT_TRUE(log.Contains(": 3 statements name nothing known here"));
  EXPECT_EQ(kxscript::Current(), kxscript::Root());

  c->Easy = 7;
  EXPECT_EQ(kxscript::ReadFile("/nonexistent/controls.kxa", c), 0);
  EXPECT_EQ(c->Easy, 7);
}

// A file kept to its node never leaves it: a cd above the node, or to a
// node elsewhere, stops at the node with one log line, so what the file
// appends stays below it.
TEST_F(scriptfiletest, AFileReadWithinItsNodeStaysBelowIt) {
  kxscript::Execute("Append kxnode Mine\nAppend kxnode Other", top);
  kxnode* mine = kxnode::Find("Mine", top);
  std::string path = Write("kept.kxg",
                           "Append kxnode A\ncd ../Other/\nAppend kxnode B\ncd ../\nAppend kxnode C\n"
                           "../Other/Append kxnode E\n/T/Other/Append kxnode F\n");
  EXPECT_EQ(kxscript::ReadFileWithin(path.c_str(), mine), 1);
  std::string names;
  for (kxnode* c = mine->firstChild; c; c = c->nextSibling) names += c->name.Str();
  EXPECT_EQ(names, "ABC");
  EXPECT_EQ(kxnode::Find("Other", top)->firstChild, nullptr);
  EXPECT_EQ(log.Lines(), 3) << kxtest::logcapture::Text();
  EXPECT_TRUE(log.Contains("kept.kxg:2: cd ../Other/ would leave Mine; stays there\n"));
  EXPECT_TRUE(log.Contains("kept.kxg(6): outside the node the file is kept to \"../Other/Append kxnode E\""));
  // Read as any file, it goes where it says.
  EXPECT_EQ(kxscript::ReadFile(path.c_str(), mine), 1);
  EXPECT_NE(kxnode::Find("Other", top)->firstChild, nullptr);
}

// A node meant to take one line of a control file reads it without the
// count of the lines it does not know; a fault of the file is still named.
TEST_F(scriptfiletest, APartReadPassesOverUnknownLinesButNamesSyntaxErrors) {
  kxscript::Execute("Append kxtestcontrols C", top);
  auto* c = static_cast<controls*>(kxnode::Find("C", top));
  std::string path = Write("part.kxa", "Text = \"mine@@ADV\"\nAssign( 4, 1001 )\nEasy = 0\n");
  EXPECT_EQ(kxscript::ReadFilePart(path.c_str(), c), 1);
  EXPECT_EQ(c->Easy, 0);
  EXPECT_EQ(log.Lines(), 0) << kxtest::logcapture::Text();
  std::string bad = Write("bad.kxa", "Easy = 1\nText = \"open\n");
  EXPECT_EQ(kxscript::ReadFilePart(bad.c_str(), c), 1);
  EXPECT_EQ(c->Easy, 1);
  EXPECT_TRUE(log.Contains("bad.kxa(2): syntax error"));
  EXPECT_EQ(kxscript::ReadFilePart("/nonexistent/part.kxa", c), 0);
}

TEST_F(scriptfiletest, SyntaxErrorsNameFileAndLine) {
  std::string path = Write("bad.kxd", "Append kxnode A\nName = \"open\n");
  EXPECT_EQ(kxscript::ReadFile(path.c_str(), top), 1);
  EXPECT_TRUE(log.Contains("(2): syntax error \"Name = \"open\""));
  EXPECT_NE(kxnode::Find("A", top), nullptr);
}

TEST_F(scriptfiletest, SectionsRunAloneAndCrLfAndBomAreAccepted) {
  std::string path = Write("display.kxd",
                           "\xEF\xBB\xBF" "Append kxnode Whole\r\n"
                           "[kxwindowobjectedit]\r\n"
                           "Append kxnode Edit\r\n"
                           "  [other]\r\n"
                           "Append kxnode Other\r\n");
  EXPECT_EQ(kxscript::ReadFile(path.c_str(), top, "kxwindowobjectedit"), 1);
  EXPECT_NE(kxnode::Find("Edit", top), nullptr);
  EXPECT_EQ(kxnode::Find("Whole", top), nullptr);
  EXPECT_EQ(kxnode::Find("Other", top), nullptr);
  EXPECT_EQ(kxscript::ReadFile(path.c_str(), top, "missing"), 0);

  kxnode* all = new kxnode;
  top->AppendChild(all);
  EXPECT_EQ(kxscript::ReadFile(path.c_str(), all), 1);
  EXPECT_EQ(all->ChildCount(), 3);
  EXPECT_EQ(log.Lines(), 0) << kxtest::logcapture::Text();
}

// A file saved with lone CRs runs line by line, its numbers counted alike.
TEST_F(scriptfiletest, LoneCarriageReturnsEndLines) {
  std::string path = Write("mac.kxd", "Append kxnode A\rAppend kxnode B\r\rName = \"open\r");
  EXPECT_EQ(kxscript::ReadFile(path.c_str(), top), 1);
  EXPECT_NE(kxnode::Find("A", top), nullptr);
  EXPECT_NE(kxnode::Find("B", top), nullptr);
  EXPECT_TRUE(log.Contains("mac.kxd(4): syntax error \"Name = \"open\"")) << kxtest::logcapture::Text();
}

// An empty file and one in UTF-16 run nothing and say so in one line each.
TEST_F(scriptfiletest, EmptyAndUtf16FilesAreNamedInOneLine) {
  std::string empty = Write("empty.kxd", "");
  std::string wide = Write("wide.kxd", std::string("\xFF\xFE" "A\0p\0p\0", 8));
  EXPECT_EQ(kxscript::ReadFile(empty.c_str(), top), 1);
  EXPECT_EQ(kxscript::ReadFile(wide.c_str(), top), 1);
  EXPECT_EQ(top->firstChild, nullptr);
  EXPECT_EQ(log.Lines(), 2) << kxtest::logcapture::Text();
  EXPECT_TRUE(log.Contains(("kxscript:  " + empty + ": empty file\n").c_str()));
  EXPECT_TRUE(log.Contains(("kxscript:  " + wide + ": UTF-16 text, not read\n").c_str()));
}

// A file of more than 64 MB is no description file: it is refused with one
// line before anything is read, not read whole into memory.
TEST_F(scriptfiletest, AFileTooLargeForADescriptionIsNotRead) {
  std::string path = Write("huge.kxa", "Append kxnode Huge\n");
  std::filesystem::resize_file(path, (std::uintmax_t{64} << 20) + 1);  // sparse: takes no disk
  EXPECT_EQ(kxscript::ReadFile(path.c_str(), top), 0);
  EXPECT_EQ(top->firstChild, nullptr);
  EXPECT_EQ(log.Lines(), 1) << kxtest::logcapture::Text();
  EXPECT_TRUE(log.Contains(("kxscript:  " + path + ": 67108865 bytes, more than a description file holds; not read\n").c_str()))
      << kxtest::logcapture::Text();
}

TEST_F(scriptfiletest, RunsAgainstTheCurrentNodeWhenGivenNone) {
  std::string path = Write("here.kxd", "Append kxnode Here");
  kxscript::SetCurrent(top);
  EXPECT_EQ(kxscript::ReadFile(path.c_str()), 1);
  EXPECT_NE(kxnode::Find("Here", top), nullptr);
  EXPECT_EQ(kxscript::Current(), top);
}

TEST_F(scriptfiletest, LongLinesHaveNoLimit) {
  std::string name(100000, 'n');
  std::string path = Write("long.kxd", "Append kxnode " + name + "\n");
  EXPECT_EQ(kxscript::ReadFile(path.c_str(), top), 1);
  ASSERT_NE(top->firstChild, nullptr);
  EXPECT_EQ(top->firstChild->name.Length(), 100000u);
}

}  // namespace
