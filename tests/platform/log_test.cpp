#include "platform/log.h"

#include <cstring>
#include <string>
#include <vector>

#include "core/hooks.h"
#include "tests/temp_dir.h"

namespace {

class LogTest : public TempDirTest {
 protected:
  void SetUp() override {
    TempDirTest::SetUp();
    kxsystem::ClearLogHistory();
  }
  void TearDown() override {
    kxsystem::CloseLog();
    kxsystem::ClearLogHistory();
    kxcore::SetLogHandler(nullptr);
    kxcore::SetFatalHandler(nullptr);
    kxcore::SetPathResolver(nullptr);
    TempDirTest::TearDown();
  }
  // The lines from GetLogLine(n) onwards, as the on-screen log reads them.
  static std::vector<std::string> LinesFrom(int n) {
    std::vector<std::string> lines;
    const char* p = kxsystem::GetLogLine(n);
    const char* end = kxsystem::GetLogLine(1);
    while (true) {
      lines.emplace_back(p);
      if (p == end) break;
      p += std::strlen(p) + 1;
    }
    return lines;
  }
};

TEST_F(LogTest, PiecesCompletedByOkFormOneLineInFileAndHistory) {
  ASSERT_EQ(kxsystem::OpenLog("kx.log"), 1);
  kxsystem::Log("directsound:  register sound %s=", "sound/beep.wav");
  kxsystem::Log("ok\n");
  kxsystem::CloseLog();
  EXPECT_EQ(Read("kx.log"), "directsound:  register sound sound/beep.wav=ok\n");
  EXPECT_STREQ(kxsystem::GetLogLine(1), "directsound:  register sound sound/beep.wav=ok");
}

// Line numbers count from the newest, too many give the oldest; an
// unfinished piece is the newest line; an empty history gives "", never null.
TEST_F(LogTest, LineNumbersCountFromTheNewestAndTooManyGiveTheStart) {
  ASSERT_NE(kxsystem::GetLogLine(1), nullptr);
  EXPECT_STREQ(kxsystem::GetLogLine(1), "");
  kxsystem::Log("one\n");
  kxsystem::Log("two\n");
  kxsystem::Log("three\n");
  EXPECT_STREQ(kxsystem::GetLogLine(1), "three");
  EXPECT_STREQ(kxsystem::GetLogLine(2), "two");
  const char* second = kxsystem::GetLogLine(2);
  EXPECT_STREQ(second + std::strlen(second) + 1, "three");
  EXPECT_STREQ(kxsystem::GetLogLine(30), "one");
  EXPECT_STREQ(kxsystem::GetLogLine(3), "one");
  kxsystem::Log("sim:  writing screenshot %s=", "a.bmp");
  EXPECT_STREQ(kxsystem::GetLogLine(1), "sim:  writing screenshot a.bmp=");
  EXPECT_STREQ(kxsystem::GetLogLine(2), "three");
}

TEST_F(LogTest, HistoryKeepsOnlyWholeNewestLinesWithinItsSize) {
  std::string body(99, 'x');
  for (int i = 0; i < 300; ++i) kxsystem::Log("%04d%s\n", i, body.c_str());  // 30,300 bytes
  std::vector<std::string> lines = LinesFrom(1000);
  size_t total = 0;
  for (const std::string& line : lines) {
    EXPECT_EQ(line.size(), 103u);
    total += line.size() + 1;
  }
  EXPECT_LE(total, kxsystem::kLogHistoryBytes);
  EXPECT_EQ(lines.back().substr(0, 4), "0299");
  EXPECT_EQ(lines.size(), kxsystem::kLogHistoryBytes / 104);
  char first[8];
  std::snprintf(first, sizeof(first), "%04zu", 300 - lines.size());
  EXPECT_EQ(lines.front().substr(0, 4), first);
}

TEST_F(LogTest, OverlongLineKeepsItsStartAndLaterLinesStillArrive) {
  std::string huge(25000, 'h');
  kxsystem::Log("%s\n", huge.c_str());
  EXPECT_EQ(std::strlen(kxsystem::GetLogLine(1)), kxsystem::kLogHistoryBytes - 1);
  kxsystem::Log("after\n");
  EXPECT_STREQ(kxsystem::GetLogLine(1), "after");
  EXPECT_STREQ(kxsystem::GetLogLine(2), "after");  // the long line had to go
}

TEST_F(LogTest, TextLoggedBeforeOpenIsWrittenOnOpenAndOpenTruncates) {
  Write("kx.log", "stale contents\n");
  kxsystem::Log("early\n");
  ASSERT_EQ(kxsystem::OpenLog("kx.log"), 1);
  kxsystem::Log("late\n");
  kxsystem::CloseLog();
  EXPECT_EQ(Read("kx.log"), "early\nlate\n");
}

// The core's log goes through the installed handler without reformatting;
// its paths resolve with the case-blind fallback.
TEST_F(LogTest, CoreHandlersLogAndResolvePaths) {
  Write("Data/File.TXT", "x");
  kxsystem::InstallCoreHandlers(nullptr);
  kxcore::Log("kxcore:  %s\n", "100% done");
  EXPECT_STREQ(kxsystem::GetLogLine(1), "kxcore:  100% done");
  EXPECT_EQ(kxcore::ResolvePath("data/file.txt"), "Data/File.TXT");
}

TEST(LogDeathTest, FatalFlushesTheLogRunsCleanupAndExitsWithTheCode) {
  kxtest::tempdir folder;
  static std::string logPath;
  logPath = folder.Path("fatal.log");
  EXPECT_EXIT(
      {
        // What earlier tests logged without a file waits for one: not here.
        kxsystem::ClearLogHistory();
        kxsystem::OpenLog(logPath.c_str());
        kxsystem::InstallCoreHandlers([] { std::fputs("cleanup ran\n", stderr); });
        kxcore::Fatal(42);
      },
      ::testing::ExitedWithCode(42), "cleanup ran");
  EXPECT_EQ(folder.Read("fatal.log"), "kxsystem:  fatal error 42\n");
}

}  // namespace
