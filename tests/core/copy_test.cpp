#include "core/node_copy.h"
#include "test_support.h"

namespace {

using kxtest::coretest;
using kxtest::part;
using kxtest::receiver;
using kxtest::servo;

class copytest : public coretest {
 protected:
  void SetUp() override {
    coretest::SetUp();
    kxscript::Execute(
        "Append kxnode Aircraft;Append kxnode Geometry;"
        "cd Geometry/;Append kxnode Wing;cd Wing/;Append kxnode Flap;cd /T/Aircraft/;"
        "Append kxtestservo Servo00;Append kxtestreceiver Receiver;Append kxnode Fuselage;"
        "Append kxtestpart Wing",
        top);
    aircraft = kxnode::Find("Aircraft", top);
    geometry = kxnode::Find("Geometry", top);
    kxscript::SetAlias("Aircraft", aircraft);
    kxscript::SetAlias("Geometry", geometry);
    wing = static_cast<part*>(kxnode::Find("Wing", aircraft));
  }
  void TearDown() override {
    kxscript::ClearAlias("Aircraft");
    kxscript::ClearAlias("Geometry");
    coretest::TearDown();
  }
  kxnode* aircraft = nullptr;
  kxnode* geometry = nullptr;
  part* wing = nullptr;
};

TEST_F(copytest, LinksAreAssignedByPath) {
  ASSERT_NE(wing, nullptr);
  kxscript::Execute(
      "FlapLink = ~Aircraft/Servo00/MechLink\n"
      "SignalIn = ~Aircraft/Receiver/Out(2)\n"
      "Flap = ~Geometry/Wing/Flap\n"
      "Body = ../Fuselage/",
      wing);
  auto* s = static_cast<servo*>(kxnode::Find("Servo00", aircraft));
  auto* r = static_cast<receiver*>(kxnode::Find("Receiver", aircraft));
  EXPECT_EQ(wing->FlapLink, &s->MechLink);
  EXPECT_EQ(wing->SignalIn, &r->Out[2]);
  EXPECT_EQ(wing->Flap, kxnode::Find("Wing/Flap", geometry));
  EXPECT_EQ(wing->Body, kxnode::Find("Fuselage", aircraft));
  EXPECT_EQ(log.Lines(), 0) << kxtest::logcapture::Text();

  // A link of the wrong type is refused and the field kept.
  kxscript::Execute("FlapLink = ~Aircraft/Receiver/Out(1)", wing);
  EXPECT_EQ(wing->FlapLink, &s->MechLink);
  EXPECT_TRUE(log.Contains("cannot assign"));
}

TEST_F(copytest, PointerToPathNamesNodesAndMembersAndRoundTrips) {
  auto* s = static_cast<servo*>(kxnode::Find("Servo00", aircraft));
  auto* r = static_cast<receiver*>(kxnode::Find("Receiver", aircraft));
  kxstring path;
  ASSERT_EQ(kxnode::PointerToPath(&s->MechLink, aircraft, path), 1);
  EXPECT_STREQ(path.Text(), "Servo00/MechLink");
  ASSERT_EQ(kxnode::PointerToPath(&r->Out[2], aircraft, path), 1);
  EXPECT_STREQ(path.Text(), "Receiver/Out(2)");
  ASSERT_EQ(kxnode::PointerToPath(kxnode::Find("Fuselage", aircraft), aircraft, path), 1);
  EXPECT_STREQ(path.Text(), "Fuselage");
  ASSERT_EQ(kxnode::PointerToPath(kxnode::Find("Wing/Flap", geometry), geometry, path), 1);
  EXPECT_STREQ(path.Text(), "Wing/Flap");

  float outside = 0;
  EXPECT_EQ(kxnode::PointerToPath(&outside, aircraft, path), 0);
  EXPECT_TRUE(path.Empty());
  EXPECT_EQ(kxnode::PointerToPath(&s->Position, aircraft, path), 0);  // unnamed member

  // Writing the path and reading it back restores the same pointer.
  kxnode::PointerToPath(&r->Out[2], aircraft, path);
  std::string line = "SignalIn = ~Aircraft/" + path.Str();
  kxscript::Execute(line.c_str(), wing);
  EXPECT_EQ(wing->SignalIn, &r->Out[2]);
}

TEST_F(copytest, CloneRemapsPointersIntoTheCopy) {
  auto* s = static_cast<servo*>(kxnode::Find("Servo00", aircraft));
  float outside = 1;
  wing->FlapLink = &s->MechLink;
  wing->Outside = &outside;
  wing->Body = nullptr;
  wing->Mass = 2.5f;

  kxnode* copy = aircraft->Clone(top);
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(copy->parent, top);
  EXPECT_STREQ(copy->name.Text(), "Aircraft");
  auto* wingCopy = static_cast<part*>(kxnode::Find("Wing", copy));
  auto* servoCopy = static_cast<servo*>(kxnode::Find("Servo00", copy));
  ASSERT_NE(wingCopy, nullptr);
  ASSERT_NE(servoCopy, nullptr);
  EXPECT_NE(wingCopy, wing);
  EXPECT_EQ(wingCopy->FlapLink, &servoCopy->MechLink);
  EXPECT_EQ(wingCopy->Outside, &outside);
  EXPECT_EQ(wingCopy->Body, nullptr);
  EXPECT_EQ(wingCopy->Mass, 2.5f);
  EXPECT_EQ(kxnode::RemapPointer(&outside), &outside);  // no copy under way
}

TEST_F(copytest, TreesClonedInOneMapPointAcrossEachOther) {
  wing->Flap = kxnode::Find("Wing/Flap", geometry);
  kxnode* aircraftCopy;
  kxnode* geometryCopy;
  {
    kxclonemap map;
    aircraftCopy = aircraft->Clone(top);
    geometryCopy = geometry->Clone(top);
  }
  auto* wingCopy = static_cast<part*>(kxnode::Find("Wing", aircraftCopy));
  EXPECT_EQ(wingCopy->Flap, kxnode::Find("Wing/Flap", geometryCopy));
}

TEST_F(copytest, NodesWithoutFactoryAreLeftOutOfTheCopy) {
  static kxtype bare("kxtestbare", sizeof(kxnode));
  kxnode* odd = new kxnode;
  odd->type = &bare;
  odd->name = "Odd";
  aircraft->AppendChild(odd);
  kxnode* copy = aircraft->Clone(top);
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(kxnode::Find("Odd", copy), nullptr);
  EXPECT_NE(kxnode::Find("Servo00", copy), nullptr);
  EXPECT_TRUE(log.Contains("cannot clone \"Odd\""));
}

}  // namespace
