#include "platform/file_lists.h"

#include <string>
#include <vector>

#include "tests/temp_dir.h"

namespace {

using Names = std::vector<std::string>;

class FileListsTest : public TempDirTest {
 protected:
  void SetUp() override {
    TempDirTest::SetUp();
    Write("aircraft/airfoil/b.kxa", "");
    Write("aircraft/airfoil/A.KXA", "");
    Write("aircraft/airfoil/c.d.kxa", "");
    Write("aircraft/airfoil/readme.txt", "");
    Write("aircraft/Trainer/t.kxd", "");
    Write("aircraft/.hidden/x", "");
    Write("aircraft/.profile", "");
    Write("aircraft/notes.txt", "");
  }
};

TEST_F(FileListsTest, PatternMatchesWithoutCaseAndCutsAtTheFirstDot) {
  EXPECT_EQ(kxsystem::ListFiles("aircraft/airfoil/*.kxa", 0, 1), (Names{"A", "b", "c"}));
  EXPECT_EQ(kxsystem::ListFiles("aircraft/airfoil/*.kxa", 0, 0), (Names{"c", "b", "A"}));
  EXPECT_EQ(kxsystem::ListFiles("aircraft/airfoil/*.kxa", 1, 1), (Names{"A.KXA", "b.kxa", "c.d.kxa"}));
}

TEST_F(FileListsTest, DirectoryPartFallsBackToCaseBlindMatch) {
  EXPECT_EQ(kxsystem::ListFiles("Aircraft\\AIRFOIL\\?.kxa", 1, 1), (Names{"A.KXA", "b.kxa"}));
}

TEST_F(FileListsTest, DirectoriesAreListedWithFilesButDotNamesNeverBecomeEmpty) {
  EXPECT_EQ(kxsystem::ListFiles("aircraft/*", 0, 1), (Names{"Trainer", "airfoil", "notes"}));
  EXPECT_EQ(kxsystem::ListFiles("aircraft/*", 1, 1),
            (Names{".hidden", ".profile", "Trainer", "airfoil", "notes.txt"}));
}

TEST_F(FileListsTest, FindFilesLeavesTheListAloneWhenNothingMatches) {
  Names out{"kept"};
  EXPECT_EQ(kxsystem::FindFiles("aircraft/airfoil/*.none", out, 0, 1), 0);
  EXPECT_EQ(out, Names{"kept"});
  EXPECT_EQ(kxsystem::FindFiles("aircraft/missing/*", out, 0, 1), 0);
  EXPECT_EQ(kxsystem::FindFiles("aircraft/airfoil/b*", out, 0, 0), 1);
  EXPECT_EQ(out, Names{"b"});
}

TEST_F(FileListsTest, ListDirectoriesSkipsFilesAndDotDirectories) {
  EXPECT_EQ(kxsystem::ListDirectories("aircraft/*", 1), (Names{"Trainer", "airfoil"}));
  EXPECT_EQ(kxsystem::ListDirectories("aircraft/*", 0), (Names{"airfoil", "Trainer"}));
}

TEST_F(FileListsTest, PatternWithoutDirectoryListsTheCurrentOne) {
  Write("top.cfg", "");
  EXPECT_EQ(kxsystem::ListFiles("*.CFG", 1, 1), Names{"top.cfg"});
}

}  // namespace
