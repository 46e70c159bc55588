// The airfoil database: titles, finding and loading, the file rules, the
// limits and the full-circle coefficient tables.
#include <cmath>
#include <filesystem>
#include <string>

#include "core/reference.h"
#include "dynamics/links.h"
#include "wings_support.h"

namespace {

using kxwtest::wingstest;

const char* const kSym =
    "[AIRFOIL]\n"
    "Name = \"Sym 10\"\n"
    "[DATASET]\n"
    "Re = 100000\n"
    "-20 -0.9 0.20 0.0\n"
    "-10 -1.0 0.03 0.0\n"
    "0 0.0 0.01 0.0\n"
    "10 1.0 0.03 0.0\n"
    "20 0.9 0.20 0.0\n"
    "[COORDINATES]\n"
    "1.0 0.0\n"
    "0.5 0.05\n"
    "0.0 0.0\n"
    "0.5 -0.05\n"
    "1.0 0.0\n";

std::string Plain(const char* title) { return std::string("[AIRFOIL]\nName = \"") + title + "\"\n"; }

class airfoilfiles : public wingstest {};
class airfoiltables : public wingstest {};

// --- titles

TEST_F(airfoilfiles, TitleRunsFromTheNinthCharacterToTheFirstQuote) {
  EXPECT_STREQ(kxdairfoiltitle("[AIRFOIL]", "Name = \"Plate 6\"").Text(), "Plate 6");
  EXPECT_STREQ(kxdairfoiltitle("[AIRFOIL]", "Title:  Open end").Text(), "Open end");
  EXPECT_STREQ(kxdairfoiltitle("[AIRFOIL]", "Name = \"").Text(), "");
  EXPECT_STREQ(kxdairfoiltitle("[AIRFOIL]", "").Text(), "");
  EXPECT_STREQ(kxdairfoiltitle(" [AIRFOIL]", "Name = \"X\"").Text(), "");
  EXPECT_STREQ(kxdairfoiltitle("[AIRFOIL] ", "Name = \"X\"").Text(), "");
  // From files: CR LF and CR lines read, a byte order mark is skipped.
  PutAirfoil("crlf", "[AIRFOIL]\r\nName = \"Cr Lf\"\r\n");
  PutAirfoil("cr", "[AIRFOIL]\rName = \"Cr\"\r");
  PutAirfoil("bom", "\xEF\xBB\xBF[AIRFOIL]\nName = \"Bom\"\n");
  EXPECT_STREQ(kxdairfoil::ReadTitle("crlf").Text(), "Cr Lf");
  EXPECT_STREQ(kxdairfoil::ReadTitle("cr").Text(), "Cr");
  EXPECT_STREQ(kxdairfoil::ReadTitle("bom").Text(), "Bom");
  EXPECT_STREQ(kxdairfoil::ReadTitle("missing").Text(), "");
}

// --- finding and loading

TEST_F(airfoilfiles, FindLoadsOnceAndReturnsTheSameNodeAfterwards) {
  PutAirfoil("sym10", kSym);
  kxdairfoil* a = kxdairfoil::Find("Sym 10");
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(kxdairfoil::Find("Sym 10"), a);
  EXPECT_EQ(Airfoils(), 1);
  EXPECT_EQ(log.Text(), "kxdairfoil: loading sym10 ok\n");
  EXPECT_EQ(a->parent, kxdynamics::Tree(kxdynamics::kxdtree::kAirfoil));
  EXPECT_STREQ(a->name.Text(), "Sym 10");
  EXPECT_STREQ(a->FileName.Text(), "sym10");
  EXPECT_EQ(a->DatasetCount, 1);
  EXPECT_EQ(a->RowCount[0], 5);
  EXPECT_FLOAT_EQ(a->Reynolds[0], 100000.0f);
  EXPECT_EQ(a->CoordCount, 5);
  EXPECT_FLOAT_EQ(a->CoordY[1], 0.05f);
  // Titles are case-sensitive; an unknown one gives null and no log line.
  EXPECT_EQ(kxdairfoil::Find("sym 10"), nullptr);
  EXPECT_EQ(kxdairfoil::Find("Nothing"), nullptr);
  EXPECT_EQ(Airfoils(), 1);
  EXPECT_EQ(log.Text(), "kxdairfoil: loading sym10 ok\n");
}

// Of equal titles the file first in byte order loads; a file without its
// "[AIRFOIL]" line answers only the empty title; a stem may hold a dot.
TEST_F(airfoilfiles, FilesAreFoundByTitleInByteOrder) {
  PutAirfoil("b", Plain("Twin"));
  PutAirfoil("a", Plain("Twin"));
  PutAirfoil("c", Plain("Twin"));
  kxdairfoil* a = kxdairfoil::Find("Twin");
  ASSERT_NE(a, nullptr);
  EXPECT_STREQ(a->FileName.Text(), "a");
  PutAirfoil("headless", "Name = \"Lost\"\n[DATASET]\n0 0 0.01 0\n4 0.4 0.01 0\n");
  EXPECT_EQ(kxdairfoil::Find("Lost"), nullptr);
  a = kxdairfoil::Find("");
  ASSERT_NE(a, nullptr);
  EXPECT_STREQ(a->FileName.Text(), "headless");
  EXPECT_EQ(a->RowCount[0], 2);
  PutAirfoil("naca.0012", Plain("Dotted") + "[DATASET]\n0 0 0.01 0\n5 0.5 0.01 0\n");
  a = kxdairfoil::Find("Dotted");
  ASSERT_NE(a, nullptr);
  EXPECT_STREQ(a->FileName.Text(), "naca.0012");
  EXPECT_TRUE(log.Contains("kxdairfoil: loading naca.0012 ok\n"));
}

TEST_F(airfoilfiles, FileThatCannotBeOpenedLogsFailedAndKeepsTheDefaultModel) {
  kxdairfoil* a = new kxdairfoil;
  ASSERT_NE(a, nullptr);
  scratch.AppendChild(a);
  a->FileName = "gone";
  a->Load();
  a->BuildTables();
  EXPECT_EQ(log.Text(), "kxdairfoil: loading gone failed\n");
  EXPECT_EQ(a->DatasetCount, 0);
  EXPECT_NEAR(a->ClTable[300], 1.3f, 1e-5f);
}

TEST_F(airfoilfiles, ListFilesFillsUpToCapacityEndsWithAnEmptyNameAndListsOncePerRun) {
  PutAirfoil("a", Plain("A"));
  PutAirfoil("b", Plain("B"));
  PutAirfoil("c.d", Plain("C"));
  kxstring names[8];
  EXPECT_EQ(kxdairfoil::ListFiles(names, 8), 3);
  EXPECT_STREQ(names[0].Text(), "c.d");
  EXPECT_STREQ(names[1].Text(), "b");
  EXPECT_STREQ(names[2].Text(), "a");
  EXPECT_STREQ(names[3].Text(), "");
  kxstring small[2];
  EXPECT_EQ(kxdairfoil::ListFiles(small, 2), 1);
  EXPECT_STREQ(small[1].Text(), "");
  PutAirfoil("e", Plain("E"));
  EXPECT_EQ(kxdairfoil::ListFiles(names, 8), 3);
  kxdairfoil::ForgetListing();
  EXPECT_EQ(kxdairfoil::ListFiles(names, 8), 4);
}

TEST_F(airfoilfiles, SectionAirfoilReferenceFindsByTextAndStoresNullForAnythingElse) {
  PutAirfoil("sym10", kSym);
  void* field = reinterpret_cast<void*>(&scratch);
  kxvalueptr ref = kxdlink::AirfoilRef(&field);
  kxstring title("Sym 10");
  kxstringref text(&title);
  ref->Assign(text);
  EXPECT_EQ(field, kxdairfoil::Find("Sym 10"));
  int number = 3;
  kxintref other(&number);
  ref->Assign(other);
  EXPECT_EQ(field, nullptr);
}

// --- file rules

TEST_F(airfoilfiles, HeadersAreExactAndOnlySpacesAreTrimmed) {
  PutAirfoil("rules",
             Plain("Rules") +
                 "0 9 9 9\n"               // before any header: ignored
                 "  [DATASET]  \n"          // spaces trimmed: a header
                 "  1 0.1 0.01 0  \n"
                 "[DATASET]\t\n"            // a tab is kept: an unknown header
                 "2 0.2 0.02 0\n"
                 "[dataset]\n"
                 "3 0.3 0.03 0\n"
                 "[COORDINATES]\n"
                 "0.1 0.1\n"
                 "[COORDINATES]\n"          // restarts the outline
                 "0.7 0.2\n"
                 "0.8\n"                    // missing y reads as 0
                 "\t0.9 0.3\n");            // control character first: skipped
  kxdairfoil* a = kxdairfoil::Find("Rules");
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(a->DatasetCount, 1);
  EXPECT_EQ(a->RowCount[0], 1);
  EXPECT_FLOAT_EQ(a->Alpha[0][0], 1.0f);
  EXPECT_EQ(a->CoordCount, 2);
  EXPECT_FLOAT_EQ(a->CoordX[0], 0.7f);
  EXPECT_FLOAT_EQ(a->CoordX[1], 0.8f);
  EXPECT_FLOAT_EQ(a->CoordY[1], 0.0f);
}

TEST_F(airfoilfiles, DatasetLinesWithoutAnyNumberAreNoRowsButShortRowsReadZeros) {
  PutAirfoil("rows",
             Plain("Rows") +
                 "[DATASET]\n"
                 "Re=150000\n"
                 "Re = 80000\n"
                 "Re = 90000\n"
                 "alpha cl cd cm\n"
                 "\n"
                 "4 0.4\n"
                 "-4 -0.4 0.02 -0.01\n"
                 "8.5-0.5,9\n");
  kxdairfoil* a = kxdairfoil::Find("Rows");
  ASSERT_NE(a, nullptr);
  EXPECT_FLOAT_EQ(a->Reynolds[0], 90000.0f);
  ASSERT_EQ(a->RowCount[0], 3);
  // Sorted by alpha.
  EXPECT_FLOAT_EQ(a->Alpha[0][0], -4.0f);
  EXPECT_FLOAT_EQ(a->Cm[0][0], -0.01f);
  EXPECT_FLOAT_EQ(a->Alpha[0][1], 4.0f);
  EXPECT_FLOAT_EQ(a->Cl[0][1], 0.4f);
  EXPECT_FLOAT_EQ(a->Cd[0][1], 0.0f);
  // Numbers end where they stop reading as one, as a scan would.
  EXPECT_FLOAT_EQ(a->Alpha[0][2], 8.5f);
  EXPECT_FLOAT_EQ(a->Cl[0][2], -0.5f);
  EXPECT_FLOAT_EQ(a->Cd[0][2], 0.0f);
}

TEST_F(airfoilfiles, TablesBeyondTheLimitsAreCutAndReportedAfterTheLoadingLine) {
  std::string text = Plain("Big");
  for (int d = 0; d < 10; ++d) text += "[DATASET]\n0 0 0.01 0\n1 0.1 0.01 0\n";
  text += "[DATASET]\n";
  for (int j = 0; j < 300; ++j) text += std::to_string(j) + " 0 0 0\n";
  text += "[COORDINATES]\n";
  for (int i = 0; i < 1100; ++i) text += "0.5 0.01\n";
  PutAirfoil("big", text);
  kxdairfoil* a = kxdairfoil::Find("Big");
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(a->DatasetCount, 8);
  EXPECT_EQ(a->CoordCount, 1024);
  EXPECT_EQ(log.Text(),
            "kxdairfoil: loading big ok\n"
            "kxdairfoil: big: beyond the limits, 3 datasets, 304 rows and 76 points left out\n");
}

// A row of values no measurement gives (not finite, a coefficient beyond a
// hundred, an angle beyond a turn) makes the file no airfoil: named with
// its line, once, and its title then finds nothing, as for a missing file.
TEST_F(airfoilfiles, ValuesNotFiniteOrAbsurdRefuseTheAirfoilNamingTheLine) {
  const char* const rows[] = {"nan 0 0 0",       "0 nan 0.01 0",  "5 3.4e38 0.01 0", "5 0.5 INF 0",
                              "5 0.5 0.01 1e39", "-400 0.5 0.01 0", "5 -150 0.01 0",  "0 0.1 -inf"};
  int n = 0;
  for (const char* row : rows) {
    SCOPED_TRACE(row);
    const std::string stem = "bad" + std::to_string(n), title = "Bad " + std::to_string(n++);
    PutAirfoil(stem, Plain(title.c_str()) + "[DATASET]\n0 0 0.01 0\n" + row + "\n10 1 0.03 0\n");
    log.Clear();
    EXPECT_EQ(kxdairfoil::Find(title.c_str()), nullptr);
    EXPECT_EQ(log.Text(), "kxdairfoil: loading " + stem + " failed\nkxdairfoil: aircraft/airfoil/" + stem +
                              ".kxa line 5: \"" + row +
                              "\" holds a value that is not finite or beyond airfoil data; the airfoil is not used\n");
    log.Clear();
    EXPECT_EQ(kxdairfoil::Find(title.c_str()), nullptr);
    EXPECT_EQ(log.Text(), "");
  }
  // A section naming such an airfoil is left without one, as for a missing
  // file.
  void* field = reinterpret_cast<void*>(&scratch);
  kxvalueptr ref = kxdlink::AirfoilRef(&field);
  kxstring title("Bad 2");
  ref->Assign(kxstringref(&title));
  EXPECT_EQ(field, nullptr);
}

TEST_F(airfoilfiles, TooManyRowsInOneDatasetAreCutAt256) {
  std::string text = Plain("Long") + "[DATASET]\n";
  for (int j = 0; j < 260; ++j) text += std::to_string(j) + " 0 0 0\n";
  PutAirfoil("long", text);
  kxdairfoil* a = kxdairfoil::Find("Long");
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(a->RowCount[0], 256);
  EXPECT_FLOAT_EQ(a->Alpha[0][255], 255.0f);
  EXPECT_TRUE(log.Contains("0 datasets, 4 rows and 0 points left out"));
}

// --- tables

TEST_F(airfoiltables, WithoutDatasetsTheDefaultModelFillsTheDirectionTables) {
  PutAirfoil("plain", Plain("Plain"));
  kxdairfoil* a = kxdairfoil::Find("Plain");
  ASSERT_NE(a, nullptr);
  struct { int n; float cl, cd; } expected[] = {
      {200, 0.0f, 0.1f},  {300, 1.3f, 0.9f},   {600, 0.0f, 1.7f},  {700, -0.7f, 0.9f},
      {1000, 0.0f, 0.1f}, {1100, 0.7f, 0.9f},  {1400, 0.0f, 1.7f}, {1500, -1.3f, 0.9f},
      {100, -1.3f, 0.9f}, {500, 1.3f, 0.9f},
  };
  for (const auto& e : expected) {
    EXPECT_NEAR(a->ClTable[e.n], e.cl, 1e-5f) << e.n;
    EXPECT_NEAR(a->CdTable[e.n], e.cd, 1e-5f) << e.n;
    EXPECT_EQ(a->CmTable[e.n], 0.0f) << e.n;
  }
  for (int n = kxdairfoil::kDirectionUsed; n < kxdairfoil::kDirectionEntries; ++n) {
    ASSERT_EQ(a->ClTable[n], 0.0f);
    ASSERT_EQ(a->CdTable[n], 0.0f);
    ASSERT_EQ(a->CmTable[n], 0.0f);
  }
}

TEST_F(airfoiltables, DatasetSetsItsHalfOpenRangeOverTheDefault) {
  PutAirfoil("range", Plain("Range") + "[DATASET]\n-10 -0.8 0.02 -0.05\n20 1.6 0.05 -0.02\n");
  kxdairfoil* a = kxdairfoil::Find("Range");
  ASSERT_NE(a, nullptr);
  const int zero = kxdairfoil::kHalfZero;
  EXPECT_FLOAT_EQ(a->ClHalf[zero - 20], -0.8f);
  EXPECT_NEAR(a->ClHalf[zero + 39], -0.8f + 2.4f * (29.5f / 30.0f), 1e-5f);
  EXPECT_NEAR(a->ClHalf[zero + 40], 1.3f * std::sin(40.0f * 3.14159265f / 180.0f), 1e-4f);
  EXPECT_NEAR(a->ClHalf[zero + 40], 0.836f, 1e-3f);
  EXPECT_NEAR(a->ClHalf[zero - 21], 1.3f * std::sin(-21.0f * 3.14159265f / 180.0f), 1e-4f);
  EXPECT_NEAR(a->CmHalf[zero], -0.05f + 0.03f / 3.0f, 1e-6f);
  // Entry 200 of the direction table is 0 degrees.
  EXPECT_NEAR(a->ClTable[200], a->ClHalf[zero], 1e-6f);
}

TEST_F(airfoiltables, FirstDatasetWinsWhereRangesOverlap) {
  PutAirfoil("two", Plain("Two") +
                        "[DATASET]\nRe = 50000\n0 0.0 0.01 0\n10 1.0 0.01 0\n"
                        "[DATASET]\nRe = 200000\n5 5.0 0.01 0\n15 5.0 0.01 0\n");
  kxdairfoil* a = kxdairfoil::Find("Two");
  ASSERT_NE(a, nullptr);
  const int zero = kxdairfoil::kHalfZero;
  EXPECT_NEAR(a->ClHalf[zero + 12], 0.6f, 1e-6f);   // 6 degrees: first dataset
  EXPECT_NEAR(a->ClHalf[zero + 24], 5.0f, 1e-6f);   // 12 degrees: only the second
  EXPECT_NEAR(a->ClHalf[zero + 20], 5.0f, 1e-6f);   // 10: end of the first, half-open
}

TEST_F(airfoiltables, RowOrderAndReynoldsNumbersChangeNoEntry) {
  PutAirfoil("ordered", Plain("Ordered") + "[DATASET]\nRe = 1\n-5 -0.5 0.02 0.01\n0 0 0.01 0\n5 0.5 0.02 -0.01\n");
  PutAirfoil("shuffled", Plain("Shuffled") + "[DATASET]\nRe = 9e6\n5 0.5 0.02 -0.01\n-5 -0.5 0.02 0.01\n0 0 0.01 0\n");
  kxdairfoil* a = kxdairfoil::Find("Ordered");
  kxdairfoil* b = kxdairfoil::Find("Shuffled");
  ASSERT_TRUE(a && b);
  for (int n = 0; n < kxdairfoil::kDirectionEntries; ++n) {
    ASSERT_EQ(a->ClTable[n], b->ClTable[n]) << n;
    ASSERT_EQ(a->CdTable[n], b->CdTable[n]) << n;
    ASSERT_EQ(a->CmTable[n], b->CmTable[n]) << n;
  }
}

TEST_F(airfoiltables, WholeDegreeAccessorReadsTheHalfDegreeTablesAndWrapsAt180) {
  PutAirfoil("sym10", kSym);
  kxdairfoil* a = kxdairfoil::Find("Sym 10");
  ASSERT_NE(a, nullptr);
  EXPECT_FLOAT_EQ(a->CoefficientAtDegree(kxdcoefficient::kLift, 10), 1.0f);
  EXPECT_FLOAT_EQ(a->CoefficientAtDegree(kxdcoefficient::kDrag, 0), 0.01f);
  EXPECT_FLOAT_EQ(a->CoefficientAtDegree(kxdcoefficient::kMoment, 5), 0.0f);
  EXPECT_EQ(a->CoefficientAtDegree(kxdcoefficient::kDrag, 180), a->CoefficientAtDegree(kxdcoefficient::kDrag, -180));
  EXPECT_NEAR(a->CoefficientAtDegree(kxdcoefficient::kDrag, 180), 0.1f, 1e-6f);
  EXPECT_EQ(a->CoefficientAtDegree(kxdcoefficient::kLift, 181), 0.0f);
}

}  // namespace

namespace {

class sampleairfoils : public kxwtest::wingstest {};

TEST_F(sampleairfoils, ShippedAirfoilsLoadWithTheirDatasetsAndOutlines) {
  std::string source = KX_TEST_DATA;
  source.resize(source.rfind("/tests/"));
  for (const auto& file : std::filesystem::directory_iterator(source + "/data/aircraft/airfoil")) {
    std::filesystem::copy(file.path(), "aircraft/airfoil");
  }
  struct { const char* title; int datasets; } expected[] = {
      {"Sym 12", 1}, {"Camber 4", 2}, {"Plate 3", 1}, {"Outline 9", 0}};
  for (const auto& e : expected) {
    kxdairfoil* a = kxdairfoil::Find(e.title);
    ASSERT_NE(a, nullptr) << e.title;
    EXPECT_EQ(a->DatasetCount, e.datasets) << e.title;
    EXPECT_GT(a->CoordCount, 40) << e.title;
    // Lift rises through zero incidence; drag is least near it.
    EXPECT_GT(a->CoefficientAtDegree(kxdcoefficient::kLift, 4), a->CoefficientAtDegree(kxdcoefficient::kLift, -4));
    EXPECT_LT(a->CoefficientAtDegree(kxdcoefficient::kDrag, 0), a->CoefficientAtDegree(kxdcoefficient::kDrag, 15));
  }
  EXPECT_GT(kxdairfoil::Find("Camber 4")->CoefficientAtDegree(kxdcoefficient::kLift, 0), 0.2f);
  EXPECT_EQ(log.Lines(), 4);
}

}  // namespace
