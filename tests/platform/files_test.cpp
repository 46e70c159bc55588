#include "platform/files.h"

#include <sys/stat.h>

#include <cstring>
#include <string>

#include "platform/codes.h"
#include "platform/log.h"
#include "tests/temp_dir.h"

namespace {

using kxcode::kFileReadBinary;
using kxcode::kFileWriteBinary;
using kxcode::kFileWriteText;

class FilesTest : public TempDirTest {};

TEST_F(FilesTest, ReadLineCutsCrLfAndGivesAFinalEmptyLine) {
  Write("a.txt", "a\r\nb");
  kxfile* f = kxsystem::OpenFile("a.txt", kFileReadBinary);
  ASSERT_NE(f, nullptr);
  EXPECT_STREQ(kxsystem::ReadLine(f), "a");
  EXPECT_EQ(kxsystem::IsEof(f), 0);
  EXPECT_STREQ(kxsystem::ReadLine(f), "b");
  EXPECT_STREQ(kxsystem::ReadLine(f), "");
  EXPECT_EQ(kxsystem::IsEof(f), 1);
  kxsystem::CloseFile(f);
}

TEST_F(FilesTest, WhileNotEofLoopSeesEveryLineThenOneEmpty) {
  Write("a.txt", "x\ny\n");
  kxfile* f = kxsystem::OpenFile("a.txt", kFileReadBinary);
  ASSERT_NE(f, nullptr);
  std::vector<std::string> lines;
  while (!kxsystem::IsEof(f)) lines.emplace_back(kxsystem::ReadLine(f));
  kxsystem::CloseFile(f);
  EXPECT_EQ(lines, (std::vector<std::string>{"x", "y", ""}));
}

TEST_F(FilesTest, OverlongLineIsCutAndItsRestSkippedWithOneLogLine) {
  kxsystem::ClearLogHistory();
  Write("long.txt", std::string(70000, 'q') + "\nnext\n" + std::string(64500, 'r') + "\nlast\n");
  kxfile* f = kxsystem::OpenFile("long.txt", kFileReadBinary);
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(std::strlen(kxsystem::ReadLine(f)), 63999u);
  EXPECT_STREQ(kxsystem::ReadLine(f), "next");
  EXPECT_EQ(std::strlen(kxsystem::ReadLine(f)), 63999u);
  EXPECT_STREQ(kxsystem::ReadLine(f), "last");
  kxsystem::CloseFile(f);
  EXPECT_NE(std::strstr(kxsystem::GetLogLine(1), "line longer than 63999 characters cut"), nullptr);
  EXPECT_EQ(kxsystem::GetLogLine(2), kxsystem::GetLogLine(1));  // one line only
}

TEST_F(FilesTest, LineOfExactlyTheLimitIsNotReportedAsCut) {
  kxsystem::ClearLogHistory();
  Write("edge.txt", std::string(63999, 'e') + "\nnext\n");
  kxfile* f = kxsystem::OpenFile("edge.txt", kFileReadBinary);
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(std::strlen(kxsystem::ReadLine(f)), 63999u);
  EXPECT_STREQ(kxsystem::ReadLine(f), "next");
  kxsystem::CloseFile(f);
  EXPECT_STREQ(kxsystem::GetLogLine(1), "");
}

TEST_F(FilesTest, EachFileHasItsOwnLineBuffer) {
  Write("one.txt", "first\n");
  Write("two.txt", "second\n");
  kxfile* a = kxsystem::OpenFile("one.txt", kFileReadBinary);
  kxfile* b = kxsystem::OpenFile("two.txt", kFileReadBinary);
  const char* lineA = kxsystem::ReadLine(a);
  const char* lineB = kxsystem::ReadLine(b);
  EXPECT_STREQ(lineA, "first");
  EXPECT_STREQ(lineB, "second");
  kxsystem::CloseFile(a);
  kxsystem::CloseFile(b);
}

TEST_F(FilesTest, OpenRefusesEmptyPathUnknownModeMissingFileAndDirectory) {
  Write("d/x", "");
  EXPECT_EQ(kxsystem::OpenFile("", kFileReadBinary), nullptr);
  EXPECT_EQ(kxsystem::OpenFile(nullptr, kFileReadBinary), nullptr);
  EXPECT_EQ(kxsystem::OpenFile("d/x", 33), nullptr);
  EXPECT_EQ(kxsystem::OpenFile("missing.txt", kFileReadBinary), nullptr);
  EXPECT_EQ(kxsystem::OpenFile("d", kFileReadBinary), nullptr);
  EXPECT_EQ(kxsystem::IsEof(nullptr), 1);
  kxsystem::CloseFile(nullptr);
}

TEST_F(FilesTest, ReadFallsBackToACaseBlindMatchAndBackslashes) {
  Write("Aircraft/Airfoil/NACA.kxa", "data\n");
  kxfile* f = kxsystem::OpenFile("aircraft\\airfoil\\naca.KXA", kFileReadBinary);
  ASSERT_NE(f, nullptr);
  EXPECT_STREQ(kxsystem::ReadLine(f), "data");
  kxsystem::CloseFile(f);
  EXPECT_EQ(kxsystem::GetFileSize("AIRCRAFT/airfoil/naca.kxa"), 5);
}

TEST_F(FilesTest, WrittenFileAppearsOnlyWhenClosed) {
  Write("config/main.mcf", "old\n");
  kxfile* f = kxsystem::OpenFile("config/main.mcf", kFileWriteText);
  ASSERT_NE(f, nullptr);
  std::fputs("new\n", f->stream);
  EXPECT_EQ(Read("config/main.mcf"), "old\n");
  kxsystem::CloseFile(f);
  EXPECT_EQ(Read("config/main.mcf"), "new\n");
  EXPECT_EQ(Read("config/main.mcf.tmp"), "<missing>");
}

TEST_F(FilesTest, WriteReplacesAnExistingFileOfOtherCaseInsteadOfAddingOne) {
  Write("Config/Main.MCF", "old\n");
  ASSERT_EQ(kxsystem::WriteWholeFile("config/main.mcf", "new\n", 4), 1);
  EXPECT_EQ(Read("Config/Main.MCF"), "new\n");
  EXPECT_EQ(Read("Config/main.mcf"), "<missing>");
}

TEST_F(FilesTest, FailedWriteKeepsTheOldFile) {
  Write("keep.txt", "precious\n");
  // A directory in the temporary file's place makes the write fail.
  std::filesystem::create_directory(dir_ + "/keep.txt.tmp");
  EXPECT_EQ(kxsystem::WriteWholeFile("keep.txt", "x", 1), 0);
  EXPECT_EQ(kxsystem::OpenFile("keep.txt", kFileWriteBinary), nullptr);
  EXPECT_EQ(Read("keep.txt"), "precious\n");
}

TEST_F(FilesTest, WholeFileReadRespectsCapacityAndMissingGivesMinusOne) {
  Write("w.bin", "0123456789");
  char buffer[16] = {};
  EXPECT_EQ(kxsystem::ReadWholeFile("w.bin", buffer, sizeof(buffer)), 10);
  EXPECT_EQ(std::string(buffer, 10), "0123456789");
  char small[4] = {};
  EXPECT_EQ(kxsystem::ReadWholeFile("w.bin", small, sizeof(small)), 4);
  EXPECT_EQ(std::string(small, 4), "0123");
  EXPECT_EQ(kxsystem::ReadWholeFile("nope", buffer, sizeof(buffer)), -1);
  EXPECT_EQ(kxsystem::ReadWholeFile("", buffer, sizeof(buffer)), -1);
}

TEST_F(FilesTest, FileSizeIsMinusOneForEmptyPathDirectoryAndMissing) {
  Write("d/f", "abc");
  EXPECT_EQ(kxsystem::GetFileSize("d/f"), 3);
  EXPECT_EQ(kxsystem::GetFileSize("d"), -1);
  EXPECT_EQ(kxsystem::GetFileSize("missing"), -1);
  EXPECT_EQ(kxsystem::GetFileSize(""), -1);
}

TEST_F(FilesTest, AppendCreatesThenAppends) {
  EXPECT_EQ(kxsystem::AppendFile("rec.txt", "ab", 2), 1);
  EXPECT_EQ(kxsystem::AppendFile("rec.txt", "cd", 2), 1);
  EXPECT_EQ(Read("rec.txt"), "abcd");
  EXPECT_EQ(kxsystem::AppendFile("nodir/rec.txt", "ab", 2), 0);
}

TEST_F(FilesTest, DeleteRemovesFilesToleratesMissingAndSparesDirectories) {
  Write("gone.txt", "x");
  Write("dir/inner", "x");
  EXPECT_EQ(kxsystem::DeleteFile("gone.txt"), 1);
  EXPECT_EQ(Read("gone.txt"), "<missing>");
  EXPECT_EQ(kxsystem::DeleteFile("gone.txt"), 1);
  EXPECT_EQ(kxsystem::DeleteFile("dir"), 0);
  EXPECT_EQ(Read("dir/inner"), "x");
}

TEST_F(FilesTest, CopyOverwritesAndCopyOntoItselfLeavesTheFileIntact) {
  Write("src.kxd", "aircraft\n");
  Write("dst.kxd", "older and longer\n");
  EXPECT_EQ(kxsystem::CopyFile("src.kxd", "dst.kxd"), 1);
  EXPECT_EQ(Read("dst.kxd"), "aircraft\n");
  EXPECT_EQ(kxsystem::CopyFile("src.kxd", "SRC.KXD"), 1);
  EXPECT_EQ(Read("src.kxd"), "aircraft\n");
  EXPECT_EQ(kxsystem::CopyFile("missing", "x"), 0);
  EXPECT_EQ(Read("x"), "<missing>");
}

TEST_F(FilesTest, CreateDirectoryReportsOnlyANewDirectory) {
  EXPECT_EQ(kxsystem::CreateDirectory("screenshots/"), 1);
  EXPECT_TRUE(std::filesystem::is_directory(dir_ + "/screenshots"));
  EXPECT_EQ(kxsystem::CreateDirectory("screenshots"), 0);
  EXPECT_EQ(kxsystem::CreateDirectory("a/b/c"), 0);
}

}  // namespace
