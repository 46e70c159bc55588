// The wing classes in aircraft files: what they leave out of the file when
// a section's airfoil or a link cannot be named.
#include <string>

#include "core/output.h"
#include "dynamics/wings/sectioned_wing.h"
#include "dynamics/load.h"
#include "dynamics/write_links.h"
#include "wings_support.h"

namespace {

using kxwtest::wingstest;

const char* const kSym =
    "[AIRFOIL]\nName = \"Sym 10\"\n[DATASET]\n-10 -1.0 0.03 0.0\n0 0.0 0.01 0.0\n10 1.0 0.03 0.0\n";

// A tail written below an aircraft root of its own.
class wingfiles : public wingstest {
 protected:
  void SetUp() override {
    wingstest::SetUp();
    PutAirfoil("sym10", kSym);
    aircraft = new kxnode;
    aircraft->name = "Plane";
    scratch.AppendChild(aircraft);
    tail = new kxdwing10;
    tail->name = "Tail";
    aircraft->AppendChild(tail);
    kxdwrite::SetRoots(aircraft, nullptr);
  }
  void TearDown() override {
    kxdwrite::SetRoots(nullptr, nullptr);
    wingstest::TearDown();
  }
  std::string Text() {
    kxout out;
    tail->Write(out);
    return out.Text();
  }
  kxnode* aircraft = nullptr;
  kxdwing10* tail = nullptr;
};

TEST_F(wingfiles, UnknownAirfoilLeavesTheSectionEmptyAndWritesNoAirfoilLine) {
  kxscript::Execute("SectionAirfoil(0) = \"No Such\"\n", tail);
  EXPECT_EQ(tail->SectionAirfoil[0], nullptr);
  EXPECT_EQ(Text().find("SectionAirfoil"), std::string::npos);
}

// A title no airfoil file carries (misspelt, or its file empty, unreadable
// or garbled, which then has no title) is said with the wing and section,
// and kept for the notice of the aircraft's load.
TEST_F(wingfiles, AnAirfoilThatIsNotFoundIsSaidWithItsWingAndSection) {
  PutAirfoil("empty", "");
  PutAirfoil("garbled", std::string("\xFF\xFE[\0A\0", 6));
  kxdload::AddLoadProblem("");  // what a load starts with is not this test's
  const size_t before = kxdload::LoadProblems().size();
  kxscript::Execute("SectionAirfoil(0) = \"Sym 10\"\nSectionAirfoil(1) = \"Sym12\"\n", tail);
  EXPECT_NE(tail->SectionAirfoil[0], nullptr);
  EXPECT_EQ(tail->SectionAirfoil[1], nullptr);
  EXPECT_TRUE(log.Contains("kxdwing10:  Tail: SectionAirfoil(1) = \"Sym12\" names no airfoil file in "
                           "aircraft/airfoil/; that section has no lift\n"))
      << log.Text();
  EXPECT_FALSE(log.Contains("SectionAirfoil(0)"));
  ASSERT_EQ(kxdload::LoadProblems().size(), before + 1);
  EXPECT_EQ(kxdload::LoadProblems().back(), "Tail SectionAirfoil(1): no airfoil \"Sym12\"");
}

TEST_F(wingfiles, LinkOutsideTheAircraftIsLeftOutWithALogLine) {
  float stray = 0.0f;
  tail->FlapLink = &stray;
  EXPECT_EQ(Text().find("FlapLink"), std::string::npos);
  EXPECT_TRUE(log.Contains("FlapLink points outside ~Aircraft"));
}

}  // namespace
