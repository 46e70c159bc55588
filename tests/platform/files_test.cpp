#include "platform/files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "core/hooks.h"
#include "platform/codes.h"
#include "platform/log.h"
#include "tests/temp_dir.h"

namespace {

using kxcode::kFileReadBinary;
using kxcode::kFileWriteBinary;
using kxcode::kFileWriteText;

class FilesTest : public TempDirTest {
 protected:
  void TearDown() override {
    kxsystem::SetDataFolder(nullptr);
    kxcore::SetLogHandler(nullptr);
    kxcore::SetFatalHandler(nullptr);
    kxcore::SetPathResolver(nullptr);
    kxcore::SetReadCheck(nullptr);
    TempDirTest::TearDown();
  }
  void Link(const std::string& to, const std::string& relative) {
    std::filesystem::create_directories(std::filesystem::path(dir_ + "/" + relative).parent_path());
    std::filesystem::create_symlink(to, dir_ + "/" + relative);
  }
  bool IsLink(const std::string& relative) { return std::filesystem::is_symlink(dir_ + "/" + relative); }
};

// A loop until the end sees every line, CR LF cut, and one empty line after
// a final line end; each open file keeps its own line buffer.
TEST_F(FilesTest, ReadLineGivesEveryLineThenOneEmptyWithABufferPerFile) {
  Write("a.txt", "a\r\nb");
  Write("b.txt", "x\ny\n");
  kxfile* a = kxsystem::OpenFile("a.txt", kFileReadBinary);
  kxfile* b = kxsystem::OpenFile("b.txt", kFileReadBinary);
  ASSERT_TRUE(a && b);
  std::vector<std::string> fromA, fromB;
  while (!kxsystem::IsEof(a) || !kxsystem::IsEof(b)) {
    if (!kxsystem::IsEof(a)) fromA.emplace_back(kxsystem::ReadLine(a));
    if (!kxsystem::IsEof(b)) fromB.emplace_back(kxsystem::ReadLine(b));
  }
  EXPECT_STREQ(kxsystem::ReadLine(a), "");  // past the end
  kxsystem::CloseFile(a);
  kxsystem::CloseFile(b);
  EXPECT_EQ(fromA, (std::vector<std::string>{"a", "b"}));
  EXPECT_EQ(fromB, (std::vector<std::string>{"x", "y", ""}));
}

// Lines are cut at 63999 characters, the rest skipped with one log line; a
// line of exactly the limit is no cut.
TEST_F(FilesTest, OverlongLineIsCutAndItsRestSkippedWithOneLogLine) {
  kxsystem::ClearLogHistory();
  Write("edge.txt", std::string(63999, 'e') + "\nnext\n");
  kxfile* edge = kxsystem::OpenFile("edge.txt", kFileReadBinary);
  ASSERT_NE(edge, nullptr);
  EXPECT_EQ(std::strlen(kxsystem::ReadLine(edge)), 63999u);
  EXPECT_STREQ(kxsystem::ReadLine(edge), "next");
  kxsystem::CloseFile(edge);
  EXPECT_STREQ(kxsystem::GetLogLine(1), "");
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

// A NUL in an over-long line does not hide its length: the rest of the
// line is skipped with it, never read as a line of its own.
TEST_F(FilesTest, RestOfAnOverlongLineIsSkippedWhateverItHolds) {
  std::string line = "scenery good" + std::string(1, '\0') + std::string(70000, 'q') + " scenery evil";
  Write("nul.txt", line + "\nnext\n");
  kxfile* f = kxsystem::OpenFile("nul.txt", kFileReadBinary);
  ASSERT_NE(f, nullptr);
  EXPECT_STREQ(kxsystem::ReadLine(f), "scenery good");
  EXPECT_STREQ(kxsystem::ReadLine(f), "next");
  kxsystem::CloseFile(f);
}

// Lines end at LF, CRLF or a lone CR; a UTF-8 mark at the start is skipped.
TEST_F(FilesTest, LinesEndAtAnyLineEndAndAByteOrderMarkIsSkipped) {
  Write("ends.txt", "\xEF\xBB\xBF" "a\rb\r\nc\nd\r\re");
  kxfile* f = kxsystem::OpenFile("ends.txt", kFileReadBinary);
  ASSERT_NE(f, nullptr);
  std::vector<std::string> lines;
  while (!kxsystem::IsEof(f)) lines.emplace_back(kxsystem::ReadLine(f));
  kxsystem::CloseFile(f);
  EXPECT_EQ(lines, (std::vector<std::string>{"a", "b", "c", "d", "", "e"}));
}

// An empty file and one in UTF-16 (either byte order) get one log line
// naming them; the UTF-16 one reads as ended.
TEST_F(FilesTest, EmptyAndUtf16FilesAreNamedInTheLog) {
  Write("empty.txt", "");
  Write("wide.txt", std::string("\xFF\xFE" "s\0c\0", 6));
  Write("wide2.txt", std::string("\xFE\xFF\0s\0c", 6));
  for (const char* name : {"empty.txt", "wide.txt", "wide2.txt"}) {
    kxsystem::ClearLogHistory();
    kxfile* f = kxsystem::OpenFile(name, kFileReadBinary);
    ASSERT_NE(f, nullptr);
    EXPECT_STREQ(kxsystem::ReadLine(f), "") << name;
    EXPECT_EQ(kxsystem::IsEof(f), 1) << name;
    EXPECT_STREQ(kxsystem::ReadLine(f), "") << name;
    kxsystem::CloseFile(f);
    std::string want =
        std::string("kxsystem:  ") + name + (name[0] == 'e' ? ": empty file" : ": UTF-16 text, not read");
    EXPECT_NE(std::strstr(kxsystem::GetLogLine(1), want.c_str()), nullptr) << kxsystem::GetLogLine(1);
    EXPECT_EQ(kxsystem::GetLogLine(2), kxsystem::GetLogLine(1)) << name;  // one line only
  }
}

TEST_F(FilesTest, NamesAndPathsThatLeaveTheirFolderAreTold) {
  const struct {
    const char* text;
    int plain, inside;
  } cases[] = {{"winzeln", 1, 1},        {"", 0, 0},          {".hidden", 0, 1},      {"a/b", 0, 1},
               {"a\\b", 0, 1},         {"../x", 0, 0},      {"a/../../x", 0, 0},     {"/etc/x", 0, 0},
               {"\\share\\x", 0, 0}, {"c:/x", 0, 0},      {"a..b/c", 0, 1},      {"sub/..x/y.obj", 0, 1},
               {"..", 0, 0},             {"x/..", 0, 0}};
  for (const auto& c : cases) {
    EXPECT_EQ(kxsystem::IsPlainName(c.text), c.plain) << c.text;
    EXPECT_EQ(kxsystem::StaysInside(c.text), c.inside) << c.text;
  }
  EXPECT_EQ(kxsystem::IsPlainName(nullptr), 0);
  EXPECT_EQ(kxsystem::StaysInside(nullptr), 0);
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
  kxsystem::ClearLogHistory();
  EXPECT_EQ(kxsystem::WriteWholeFile("keep.txt", "x", 1), 0);
  // Every later write fails the same way, so the log names the folder.
  EXPECT_STREQ(kxsystem::GetLogLine(1), "kxsystem:  keep.txt.tmp: a folder stands at its name, where a write puts its "
                                        "new bytes; not written");
  EXPECT_EQ(kxsystem::OpenFile("keep.txt", kFileWriteBinary), nullptr);
  EXPECT_EQ(Read("keep.txt"), "precious\n");
}

// A replaced file keeps its permissions, and one the user may not write is
// not replaced at all (the superuser may write every file).
TEST_F(FilesTest, ReplacingKeepsTheFilesPermissionsAndSparesAReadOnlyOne) {
  namespace fs = std::filesystem;
  Write("private.mcf", "old\n");
  fs::permissions(dir_ + "/private.mcf", fs::perms::owner_read | fs::perms::owner_write);
  ASSERT_EQ(kxsystem::WriteWholeFile("private.mcf", "new\n", 4), 1);
  kxfile* f = kxsystem::OpenFile("private.mcf", kFileWriteText);
  ASSERT_NE(f, nullptr);
  std::fputs("newer\n", f->stream);
  kxsystem::CloseFile(f);
  ASSERT_EQ(kxsystem::CopyFile("private.mcf", "copy.mcf"), 1);
  fs::permissions(dir_ + "/copy.mcf", fs::perms::owner_read | fs::perms::group_read);
  kxsystem::CopyFile("private.mcf", "copy.mcf");  // replaced by the superuser only
  EXPECT_EQ(Read("private.mcf"), "newer\n");
  EXPECT_EQ(fs::status(dir_ + "/private.mcf").permissions(), fs::perms::owner_read | fs::perms::owner_write);
  EXPECT_EQ(fs::status(dir_ + "/copy.mcf").permissions(), fs::perms::owner_read | fs::perms::group_read);
  if (::geteuid() == 0) return;
  EXPECT_EQ(kxsystem::WriteWholeFile("copy.mcf", "x", 1), 0);
  EXPECT_EQ(kxsystem::OpenFile("copy.mcf", kFileWriteText), nullptr);
  EXPECT_EQ(Read("copy.mcf"), "newer\n");
}

TEST_F(FilesTest, ReadProblemSaysWhyAFileCannotBeRead) {
  Write("text.txt", "a\n");
  Write("empty.txt", "");
  std::filesystem::create_directory(dir_ + "/folder.txt");
  std::filesystem::create_symlink("nowhere.txt", dir_ + "/link.txt");
  EXPECT_EQ(kxsystem::ReadProblem("text.txt"), "");
  EXPECT_EQ(kxsystem::ReadProblem("TEXT.TXT"), "");
  EXPECT_EQ(kxsystem::ReadProblem("missing.txt"), kxsystem::kNotFound);
  EXPECT_EQ(kxsystem::ReadProblem(""), kxsystem::kNotFound);
  EXPECT_EQ(kxsystem::ReadProblem("empty.txt"), "empty file");
  EXPECT_EQ(kxsystem::ReadProblem("folder.txt"), "a folder");
  EXPECT_EQ(kxsystem::ReadProblem("link.txt"), "not readable (No such file or directory)");
}

// A named pipe is refused by every way in, with a log line, instead of
// waiting for ever on a writer; a link to one too.
TEST_F(FilesTest, ANamedPipeIsNeverOpened) {
  std::filesystem::create_directories(dir_ + "/texture");
  ASSERT_EQ(::mkfifo((dir_ + "/texture/logo.bmp").c_str(), 0644), 0);
  Link("logo.bmp", "texture/link.bmp");
  // A writer with bytes waiting, so that a read that does go ahead fails
  // this test instead of hanging it.
  const int writer = ::open((dir_ + "/texture/logo.bmp").c_str(), O_RDWR | O_NONBLOCK);
  ASSERT_GE(writer, 0);
  const std::string waiting(32768, 'x');
  ASSERT_EQ(::write(writer, waiting.data(), waiting.size()), static_cast<ssize_t>(waiting.size()));
  kxsystem::InstallCoreHandlers(nullptr);
  for (const char* path : {"texture/logo.bmp", "texture/link.bmp"}) {
    SCOPED_TRACE(path);
    kxsystem::ClearLogHistory();
    char buffer[4];
    EXPECT_EQ(kxsystem::OpenFile(path, kFileReadBinary), nullptr);
    EXPECT_EQ(kxsystem::GetFileSize(path), -1);
    EXPECT_EQ(kxsystem::ReadWholeFile(path, buffer, sizeof buffer), -1);
    EXPECT_EQ(kxsystem::MayRead(path), 0);
    EXPECT_FALSE(kxcore::MayRead(kxcore::ResolvePath(path).c_str()));
    EXPECT_EQ(kxsystem::ReadProblem(path), kxsystem::kNotAFile);
    EXPECT_NE(std::strstr(kxsystem::GetLogLine(1), ": no regular file (a pipe or a device); not read"), nullptr)
        << kxsystem::GetLogLine(1);
  }
  ::close(writer);
}

// Once the data folder is set, a file that lies outside it once links are
// followed is not read (nor removed, renamed or made) by any way in, with a
// log line naming where it leads; what the folder's top-level links lead to
// is part of it.
TEST_F(FilesTest, NothingOutsideTheDataFolderIsReadOrChanged) {
  kxtest::tempdir outside;
  const std::string secret = outside.Write("secret.txt", "secret\n");
  outside.Write("shared/pic.bmp", "pict\n");
  Write("inside/real.txt", "real\n");
  Link(secret, "config/acft00.kxa");
  Link("../inside/real.txt", "texture/in.bmp");
  Link(outside.Path("shared"), "shared");
  Link(outside.path().string(), "aircraft/evil");
  const std::string upward = "../" + outside.path().filename().string() + "/secret.txt";
  const struct {
    std::string path;
    bool readable;
  } cases[] = {{"config/acft00.kxa", false}, {"CONFIG/ACFT00.KXA", false}, {"aircraft/evil/secret.txt", false},
               {upward, false},              {secret, false},            {"texture/in.bmp", true},
               {"shared/pic.bmp", true},     {"inside/real.txt", true}};
  kxsystem::InstallCoreHandlers(nullptr);  // the core's reads ask the same check
  kxsystem::SetDataFolder(dir_.c_str());
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    kxsystem::ClearLogHistory();
    char buffer[16] = {};
    kxfile* f = kxsystem::OpenFile(c.path.c_str(), kFileReadBinary);
    EXPECT_EQ(f != nullptr, c.readable);
    kxsystem::CloseFile(f);
    EXPECT_EQ(kxsystem::GetFileSize(c.path.c_str()) == 5, c.readable);
    EXPECT_EQ(kxsystem::ReadWholeFile(c.path.c_str(), buffer, sizeof buffer) == 5, c.readable);
    EXPECT_EQ(kxsystem::CopyFile(c.path.c_str(), "copy.txt"), c.readable ? 1 : 0);
    EXPECT_EQ(kxsystem::MayRead(c.path.c_str()), c.readable ? 1 : 0);
    EXPECT_EQ(kxcore::MayRead(kxcore::ResolvePath(c.path.c_str()).c_str()), c.readable);
    EXPECT_EQ(kxsystem::ReadProblem(c.path.c_str()), c.readable ? "" : kxsystem::kOutside);
    EXPECT_EQ(std::strstr(kxsystem::GetLogLine(1), "leads outside the data folder (to ") != nullptr, !c.readable)
        << kxsystem::GetLogLine(1);
  }
  EXPECT_EQ(kxsystem::ReadProblem("missing.txt"), kxsystem::kNotFound);
  // Nor is anything there removed, renamed or made.
  outside.Write("secret.txt.tmp", "left\n");
  EXPECT_EQ(kxsystem::RemoveUnfinishedWrite("aircraft/evil/secret.txt"), 0);
  EXPECT_EQ(kxsystem::DeleteFile("aircraft/evil/secret.txt"), 0);
  EXPECT_EQ(kxsystem::RenameFile("inside/real.txt", "aircraft/evil/real.txt"), 0);
  EXPECT_EQ(kxsystem::CreateDirectory("aircraft/evil/made"), 0);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(outside.path()), {}), 3);
  // Without a data folder (tools, tests) nothing is held back.
  kxsystem::SetDataFolder(nullptr);
  EXPECT_EQ(kxsystem::GetFileSize("config/acft00.kxa"), 7);
}

// A write to a link goes to the file it names and the link stays; a link
// that leads out of the data folder is not written through or over.
TEST_F(FilesTest, ALinkIsWrittenThroughAndOneOutOfTheDataFolderIsLeftAlone) {
  kxtest::tempdir outside;
  const std::string theirs = outside.Write("theirs.mcf", "theirs\n");
  Write("config/mine.mcf", "old\n");
  Write("source.mcf", "copied\n");
  Link("mine.mcf", "config/main.mcf");
  Link(theirs, "config/out.mcf");
  kxsystem::SetDataFolder(dir_.c_str());
  ASSERT_EQ(kxsystem::WriteWholeFile("config/main.mcf", "whole\n", 6), 1);
  EXPECT_EQ(Read("config/mine.mcf"), "whole\n");
  kxfile* f = kxsystem::OpenFile("config/main.mcf", kFileWriteText);
  ASSERT_NE(f, nullptr);
  std::fputs("stream\n", f->stream);
  kxsystem::CloseFile(f);
  EXPECT_EQ(Read("config/mine.mcf"), "stream\n");
  ASSERT_EQ(kxsystem::CopyFile("source.mcf", "config/main.mcf"), 1);
  EXPECT_EQ(Read("config/mine.mcf"), "copied\n");
  Write("config/main.mcf.new", "set\n");
  ASSERT_EQ(kxsystem::ReplaceFiles({{"config/main.mcf.new", "config/main.mcf"}}), 1);
  EXPECT_EQ(Read("config/mine.mcf"), "set\n");
  EXPECT_TRUE(IsLink("config/main.mcf"));

  kxsystem::ClearLogHistory();
  EXPECT_EQ(kxsystem::WriteWholeFile("config/out.mcf", "x", 1), 0);
  EXPECT_NE(std::strstr(kxsystem::GetLogLine(1), "kxsystem:  config/out.mcf: leads outside the data folder (to "),
            nullptr);
  EXPECT_NE(std::strstr(kxsystem::GetLogLine(1), "; not written over"), nullptr);
  EXPECT_EQ(kxsystem::OpenFile("config/out.mcf", kFileWriteText), nullptr);
  EXPECT_EQ(kxsystem::AppendFile("config/out.mcf", "x", 1), 0);
  EXPECT_EQ(kxsystem::CopyFile("source.mcf", "config/out.mcf"), 0);
  Write("config/out.mcf.new", "set\n");
  EXPECT_EQ(kxsystem::ReplaceFiles({{"config/out.mcf.new", "config/out.mcf"}}), 0);
  EXPECT_EQ(outside.Read("theirs.mcf"), "theirs\n");
  EXPECT_TRUE(IsLink("config/out.mcf"));
  EXPECT_EQ(Read("config/out.mcf.tmp"), "<missing>");
}

// A link standing at a write's temporary name (or at a new file of a set)
// is never written through nor renamed into place: the write makes its own
// file, and the file the link names stays as it was.
TEST_F(FilesTest, ALinkAtATemporaryNameIsRemovedNeverFollowed) {
  kxtest::tempdir outside;
  const std::string victim = outside.Write("victim.txt", "theirs\n");
  Write("source.mcf", "copied\n");
  kxsystem::SetDataFolder(dir_.c_str());
  const struct {
    const char* how;
    int (*write)(const char* path);
  } writes[] = {
      {"whole", [](const char* path) { return kxsystem::WriteWholeFile(path, "copied\n", 7); }},
      {"stream",
       [](const char* path) {
         kxfile* f = kxsystem::OpenFile(path, kFileWriteText);
         if (f) std::fputs("copied\n", f->stream);
         kxsystem::CloseFile(f);
         return f ? 1 : 0;
       }},
      {"copy", [](const char* path) { return kxsystem::CopyFile("source.mcf", path); }},
  };
  for (const auto& w : writes) {
    SCOPED_TRACE(w.how);
    Write("config/main.mcf", "old\n");
    Link(victim, "config/main.mcf.tmp");
    EXPECT_EQ(w.write("config/main.mcf"), 1);
    EXPECT_EQ(outside.Read("victim.txt"), "theirs\n");
    EXPECT_FALSE(IsLink("config/main.mcf"));
    EXPECT_EQ(Read("config/main.mcf"), "copied\n");
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(dir_ + "/config/main.mcf.tmp")));
  }
  Link("../source.mcf", "config/main.mcf.new");
  EXPECT_EQ(kxsystem::ReplaceFiles({{"config/main.mcf.new", "config/main.mcf"}}), 0);
  EXPECT_FALSE(IsLink("config/main.mcf"));
  // A set's new file is made as a temporary is: the link at its name is
  // replaced, and the file it names inside the data folder stays.
  EXPECT_EQ(kxsystem::WriteNewFiles({{"config/main.mcf.new", "newer\n"}}), "");
  EXPECT_FALSE(IsLink("config/main.mcf.new"));
  EXPECT_EQ(Read("config/main.mcf.new"), "newer\n");
  EXPECT_EQ(Read("source.mcf"), "copied\n");
}

// The temporary that a killed write left beside its file (or beside the
// file a link names) goes, with a log line; nothing else is touched.
TEST_F(FilesTest, TheTemporaryOfAWriteThatNeverFinishedIsRemoved) {
  Write("config/player1.mcf.tmp", "half");
  Write("config/mine.mcf.tmp", "half");
  Write("config/main.mcf.tmp", "older run");
  Write("config/mine.mcf", "kept\n");
  Link("mine.mcf", "config/main.mcf");
  std::filesystem::create_directory(dir_ + "/config/player2.mcf.tmp");
  Link("../outside.txt", "config/player3.mcf.tmp");
  kxsystem::ClearLogHistory();
  EXPECT_EQ(kxsystem::RemoveUnfinishedWrite("config/player1.mcf"), 1);
  EXPECT_STREQ(kxsystem::GetLogLine(1), "kxsystem:  config/player1.mcf.tmp: left by a write that never finished; removed");
  EXPECT_EQ(kxsystem::RemoveUnfinishedWrite("config/main.mcf"), 1);
  EXPECT_EQ(kxsystem::RemoveUnfinishedWrite("config/player2.mcf"), 0);
  EXPECT_EQ(kxsystem::RemoveUnfinishedWrite("config/player1.mcf"), 0);
  EXPECT_EQ(kxsystem::RemoveUnfinishedWrite("config/player3.mcf"), 1);
  EXPECT_FALSE(IsLink("config/player3.mcf.tmp"));
  for (const char* gone : {"config/player1.mcf.tmp", "config/mine.mcf.tmp", "config/main.mcf.tmp"})
    EXPECT_EQ(Read(gone), "<missing>") << gone;
  EXPECT_EQ(Read("config/mine.mcf"), "kept\n");
  EXPECT_TRUE(std::filesystem::is_directory(dir_ + "/config/player2.mcf.tmp"));
}

TEST_F(FilesTest, RenameNeverReplacesAFile) {
  Write("a.mcf", "a");
  Write("b.mcf", "b");
  EXPECT_EQ(kxsystem::RenameFile("a.mcf", "b.mcf"), 0);
  EXPECT_EQ(kxsystem::RenameFile("a.mcf", "c.mcf"), 1);
  EXPECT_EQ(kxsystem::RenameFile("a.mcf", "d.mcf"), 0);
  EXPECT_EQ(Read("b.mcf"), "b");
  EXPECT_EQ(Read("c.mcf"), "a");
}

TEST_F(FilesTest, WholeFileReadAndSizeRespectCapacityAndMissingGivesMinusOne) {
  Write("w.bin", "0123456789");
  char buffer[16] = {};
  EXPECT_EQ(kxsystem::ReadWholeFile("w.bin", buffer, sizeof(buffer)), 10);
  EXPECT_EQ(std::string(buffer, 10), "0123456789");
  char small[4] = {};
  EXPECT_EQ(kxsystem::ReadWholeFile("w.bin", small, sizeof(small)), 4);
  EXPECT_EQ(std::string(small, 4), "0123");
  EXPECT_EQ(kxsystem::ReadWholeFile("nope", buffer, sizeof(buffer)), -1);
  EXPECT_EQ(kxsystem::ReadWholeFile("", buffer, sizeof(buffer)), -1);
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
