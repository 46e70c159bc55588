// The wing classes in aircraft files: creation by type name, every key,
// the exact lines they write, write-read-write stability and the guards
// on section indexes and counts.
#include <string>

#include "core/output.h"
#include "core/reference.h"
#include "dynamics/links.h"
#include "dynamics/wings/aileron_wing.h"
#include "dynamics/wings/multi_section_wing.h"
#include "dynamics/wings/sectioned_wing.h"
#include "dynamics/write_links.h"
#include "wings_support.h"

namespace {

using kxwtest::wingstest;

// A servo's mechanical output as the links see it.
class servo : public kxnode {
 public:
  static inline kxtype Type{"kxwtestservo", 0, kxcreate<servo>};
  servo() { type = &Type; }
  float MechLink = 0.0f;
  kxvalueptr GetMember(const char* member, const kxargs& args) override {
    if (std::string(member) == "MechLink") return kxvalueptr(new kxrealref(&MechLink, &kxdlinktypes::MechLink));
    return kxnode::GetMember(member, args);
  }
  int GetMemberName(const void* position, kxstring& out) override {
    if (position != &MechLink) return 0;
    out = "MechLink";
    return 1;
  }
};

const char* const kSym =
    "[AIRFOIL]\nName = \"Sym 10\"\n[DATASET]\n-10 -1.0 0.03 0.0\n0 0.0 0.01 0.0\n10 1.0 0.03 0.0\n";

// An aircraft root with servos and a geometry root with a wing object and
// its parts, both bound to their aliases and writer roots.
class wingfiles : public wingstest {
 protected:
  void SetUp() override {
    wingstest::SetUp();
    PutAirfoil("sym10", kSym);
    aircraft = new kxnode;
    aircraft->name = "Plane";
    scratch.AppendChild(aircraft);
    geometry = Part("Geo");
    kxgeometricobject* wing = Part("Wing", geometry);
    for (const char* p : {"Aileron", "Flap", "Flap1", "Airbrake", "Left", "Right"}) Part(p, wing);
    for (const char* s : {"S1", "S2", "S3", "S4"}) {
      servo* sv = new servo;
      sv->name = s;
      aircraft->AppendChild(sv);
    }
    kxscript::SetAlias("Aircraft", aircraft);
    kxscript::SetAlias("Geometry", geometry);
    kxdwrite::SetRoots(aircraft, geometry);
  }
  void TearDown() override {
    kxscript::ClearAlias("Aircraft");
    kxscript::ClearAlias("Geometry");
    kxdwrite::SetRoots(nullptr, nullptr);
    wingstest::TearDown();
  }
  // Appends a component of that type and runs the lines in it.
  kxnode* Make(const char* type, const char* name, const std::string& lines) {
    std::string text = std::string("Append ") + type + " " + name + "\ncd " + name + "/\n" + lines + "cd ../\n";
    kxscript::Execute(text.c_str(), aircraft);
    return aircraft->FindChild(name);
  }
  static std::string Text(kxnode* node) {
    kxout out;
    if (kxdintegrable* i = kxdintegrable::As(node)) i->Write(out);
    return out.Text();
  }
  // The body lines a body with that frame (by default the identity) writes.
  static std::string BodyLines(const kxmatrix& frame = Identity()) {
    kxdbody body;
    body.B = frame;
    kxout out;
    body.Write(out);
    return out.Text();
  }
  static kxmatrix Identity() {
    kxmatrix identity;
    kxmatrix::SetIdentity(&identity);
    return identity;
  }
  // Writes, reads the text into a new wing of the same type, writes again.
  void ExpectStable(kxnode* wing) {
    std::string first = Text(wing);
    kxnode* copy = Make(wing->type->Name(), "Copy", first);
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(Text(copy), first);
  }

  kxnode* aircraft = nullptr;
  kxgeometricobject* geometry = nullptr;
};

const char* const kNewSectionedWing =
    "Sections = 1\n"
    "RootR = kxvector4f(   0.0000,   0.0000,   0.0000,   0.0000 )\n"
    "RootN = kxvector4f(   0.0000,   0.0000,   0.0000,   0.0000 )\n"
    "FlapRotation = 1\n"
    "PropWashFactor = 0\n"
    "RangeSpanMax = 0\n"
    "RangeSpanMin = 0\n"
    "// start section 0\n"
    "SectionR(0)     = kxvector4f(   0.0000,   0.0000,   0.0000,   1.0000 )\n"
    "SectionArea(0)  =   0.1000\n"
    "SectionChord(0) =   0.2000\n";

TEST_F(wingfiles, AllFiveTypesAreMadeByName) {
  for (const char* t : {"kxdwing00", "kxdwing20", "kxdwing10", "kxdwing11", "kxdwing12"}) {
    kxnode* w = Make(t, t, "");
    ASSERT_NE(w, nullptr) << t;
    EXPECT_STREQ(w->type->Name(), t);
    EXPECT_EQ(kxtype::Find(t)->base, &kxdbody::Type) << t;
  }
}

// The first lines a new kxdwing00 or kxdwing20 writes.
const std::string kZeroVector = "kxvector4f(   0.0000,   0.0000,   0.0000,   0.0000 )\n";
const std::string kNewMainWingHead = "Sections = 2\nRootR = " + kZeroVector + "RootN = " + kZeroVector +
                                     "PropWashFactor = 0\nFuselageInterference = 0\nCly = 0.7\nRangeSpanMax = 0\n"
                                     "RangeSpanMin = 0\n";

TEST_F(wingfiles, NewSectionedWingWritesItsDefaultLinesThenTheBody) {
  kxnode* w = Make("kxdwing10", "Tail", "");
  EXPECT_EQ(Text(w), kNewSectionedWing + BodyLines());
  kxmatrix upright = Identity();
  upright.Y = {0.0f, 0.0f, -1.0f, 0.0f};
  upright.Z = {0.0f, 1.0f, 0.0f, 0.0f};
  EXPECT_EQ(Text(Make("kxdwing11", "Fin", "")), kNewSectionedWing + BodyLines(upright));
  EXPECT_EQ(Text(Make("kxdwing12", "Fin2", "")), kNewSectionedWing + BodyLines(upright));
}

TEST_F(wingfiles, NewMultiSectionWingWritesItsDefaultLines) {
  std::string expected = kNewMainWingHead + "IncidenceOffset = 0\nFlapEffect = 1\nFlapDisplacement = " +
                         kZeroVector + "Flap1Displacement = " + kZeroVector +
                         "AirbrakeDisplacement = 0\nAirbrakeCl = 1\nAirbrakeCd = 1\n";
  for (int i = 0; i < 2; ++i) {
    expected += "// start section " + std::to_string(i) + "\nSectionR(" + std::to_string(i) +
                ")     = kxvector4f(   0.0000,   0.0000,   0.0000,   1.0000 )\nSectionArea(" +
                std::to_string(i) + ")  =   0.1000\nSectionChord(" + std::to_string(i) + ") =   0.2000\n";
  }
  EXPECT_EQ(Text(Make("kxdwing00", "Wing", "")), expected + BodyLines());
}

TEST_F(wingfiles, NewAileronWingWritesNoSectionLines) {
  std::string expected = kNewMainWingHead + "AirbrakeDisplacement = 0\nAirbrakeCl = 1\nAirbrakeCd = 1\n";
  EXPECT_EQ(Text(Make("kxdwing20", "Ailerons", "")), expected + BodyLines());
}

TEST_F(wingfiles, SectionedWingKeysAssignAndReadBackByteForByte) {
  auto* w = static_cast<kxdwing10*>(Make("kxdwing10", "Tail",
                                         "Sections = 2\n"
                                         "RootR = kxvector4f( 0.1, 0.2, 0.3, 1 )\n"
                                         "RootN = kxvector4f( 0, 1, 0, 0 )\n"
                                         "Flap = ~Geometry/Wing/Flap\n"
                                         "Flap1 = ~Geometry/Wing/Flap1\n"
                                         "FlapLink = ~Aircraft/S1/MechLink\n"
                                         "FlapRotation = 0.8\n"
                                         "PropWashFactor = 0.25\n"
                                         "RangeSpanMax = 1.5\n"
                                         "RangeSpanMin = 0.4\n"
                                         "SectionR(1)     = kxvector4f( 0.05, 0.3, 0, 1 )\n"
                                         "SectionArea(1)  = 0.07\n"
                                         "SectionChord(1) = 0.15\n"
                                         "SectionAirfoil(1) = \"Sym 10\"\n"
                                         "Geometry( \"~Geometry/Wing/\" )\n"
                                         "Mass = 0.3\n"));
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(w->Sections, 2);
  EXPECT_FLOAT_EQ(w->RootR.z, 0.3f);
  EXPECT_EQ(w->Flap, geometry->FindChild("Wing")->FindChild("Flap"));
  EXPECT_EQ(w->Flap1, geometry->FindChild("Wing")->FindChild("Flap1"));
  EXPECT_EQ(w->FlapLink, &static_cast<servo*>(aircraft->FindChild("S1"))->MechLink);
  EXPECT_FLOAT_EQ(w->FlapRotation, 0.8f);
  EXPECT_FLOAT_EQ(w->SectionR[1].y, 0.3f);
  EXPECT_FLOAT_EQ(w->SectionArea[1], 0.07f);
  EXPECT_FLOAT_EQ(w->SectionChord[1], 0.15f);
  EXPECT_EQ(w->SectionAirfoil[1], kxdairfoil::Find("Sym 10"));
  std::string text = Text(w);
  EXPECT_NE(text.find("Flap = ~Geometry/Wing/Flap\nFlap1 = ~Geometry/Wing/Flap1\nFlapLink = ~Aircraft/S1/MechLink\n"
                      "FlapRotation = 0.8\n"),
            std::string::npos)
      << text;
  EXPECT_NE(text.find("SectionChord(1) =   0.1500\nSectionAirfoil(1) = \"Sym 10\"\n"), std::string::npos) << text;
  ExpectStable(w);
}

TEST_F(wingfiles, MultiSectionWingKeysAssignAndReadBackByteForByte) {
  auto* w = static_cast<kxdwing00*>(Make("kxdwing00", "Wing",
                                         "Sections = 3\n"
                                         "Cly = 0.6\nFuselageInterference = 0.2\nIncidenceOffset = 0.01\n"
                                         "FlapEffect = 0.9\nPropWashFactor = 0.5\n"
                                         "Aileron = ~Geometry/Wing/Aileron\nAileronLink = ~Aircraft/S1/MechLink\n"
                                         "Flap = ~Geometry/Wing/Flap\nFlapLink = ~Aircraft/S2/MechLink\n"
                                         "FlapDisplacement = kxvector4f( -0.01, 0, -0.005, 0 )\n"
                                         "Flap1 = ~Geometry/Wing/Flap1\nFlap1Link = ~Aircraft/S3/MechLink\n"
                                         "Flap1Displacement = kxvector4f( -0.02, 0, 0, 0 )\n"
                                         "Airbrake = ~Geometry/Wing/Airbrake\nAirbrakeLink = ~Aircraft/S4/MechLink\n"
                                         "AirbrakeDisplacement = 0.03\nAirbrakeCl = 0.5\nAirbrakeCd = 2\n"
                                         "SectionAirfoil(0) = \"Sym 10\"\nSectionAirfoil(2) = \"Sym 10\"\n"
                                         "SectionArea(2) = 0.05\n"));
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(w->Sections, 3);
  EXPECT_FLOAT_EQ(w->Cly, 0.6f);
  EXPECT_FLOAT_EQ(w->FlapDisplacement.z, -0.005f);
  EXPECT_EQ(w->Airbrake, geometry->FindChild("Wing")->FindChild("Airbrake"));
  EXPECT_EQ(w->AirbrakeLink, &static_cast<servo*>(aircraft->FindChild("S4"))->MechLink);
  EXPECT_FLOAT_EQ(w->AirbrakeCd, 2.0f);
  EXPECT_NE(w->SectionAirfoil[2], nullptr);
  ExpectStable(w);
}

TEST_F(wingfiles, AileronWingKeysAssignButItsSectionsAreNotWritten) {
  auto* w = static_cast<kxdwing20*>(Make("kxdwing20", "Ailerons",
                                         "Sections = 3\n"
                                         "LeftAileron = ~Geometry/Wing/Left\nLeftAileronLink = ~Aircraft/S1/MechLink\n"
                                         "RightAileron = ~Geometry/Wing/Right\nRightAileronLink = ~Aircraft/S2/MechLink\n"
                                         "Flap = ~Geometry/Wing/Flap\nFlapLink = ~Aircraft/S3/MechLink\n"
                                         "Airbrake = ~Geometry/Wing/Airbrake\nAirbrakeLink = ~Aircraft/S4/MechLink\n"
                                         "AirbrakeDisplacement = 0.02\nCly = 0.5\n"
                                         "SectionArea(1) = 0.3\nSectionAirfoil(1) = \"Sym 10\"\n"));
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(w->RightAileron, geometry->FindChild("Wing")->FindChild("Right"));
  EXPECT_FLOAT_EQ(w->SectionArea[1], 0.3f);
  std::string text = Text(w);
  EXPECT_EQ(text.find("Section"), text.find("Sections = 3"));
  EXPECT_EQ(text.find("// start section"), std::string::npos);
  EXPECT_NE(text.find("RightAileron = ~Geometry/Wing/Right\nRightAileronLink = ~Aircraft/S2/MechLink\n"),
            std::string::npos);
  ExpectStable(w);
  auto* copy = static_cast<kxdwing20*>(aircraft->FindChild("Copy"));
  EXPECT_EQ(copy->Sections, 3);
  EXPECT_FLOAT_EQ(copy->SectionArea[1], 0.1f);
  EXPECT_EQ(copy->SectionAirfoil[1], nullptr);
}

TEST_F(wingfiles, UnknownAirfoilLeavesTheSectionEmptyAndWritesNoAirfoilLine) {
  auto* w = static_cast<kxdwing10*>(Make("kxdwing10", "Tail", "SectionAirfoil(0) = \"No Such\"\n"));
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(w->SectionAirfoil[0], nullptr);
  EXPECT_EQ(Text(w).find("SectionAirfoil"), std::string::npos);
}

TEST_F(wingfiles, SectionIndexOutsideTheTableOrMissingGivesNoMember) {
  auto* w = static_cast<kxdwing10*>(Make("kxdwing10", "Tail", ""));
  ASSERT_NE(w, nullptr);
  kxargs nine;
  int n = 9;
  nine.Add(kxvalueptr(new kxintref(&n)));
  EXPECT_EQ(w->GetMember("SectionR", nine), nullptr);
  EXPECT_EQ(w->GetMember("SectionArea", kxargs::None()), nullptr);
  kxargs minus;
  int m = -1;
  minus.Add(kxvalueptr(new kxintref(&m)));
  EXPECT_EQ(w->GetMember("SectionChord", minus), nullptr);
  kxargs seven;
  int s = 7;
  seven.Add(kxvalueptr(new kxintref(&s)));
  kxvalueptr ref = w->GetMember("SectionChord", seven);
  ASSERT_NE(ref, nullptr);
  EXPECT_EQ(ref->GetAddress(), &w->SectionChord[7]);
}

TEST_F(wingfiles, SectionsOutsideZeroToEightAreClampedWithOneLogLine) {
  auto* w = static_cast<kxdwing00*>(Make("kxdwing00", "Wing", "Sections = 12\n"));
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(w->Sections, 8);
  EXPECT_TRUE(log.Contains("kxdwing00:  Wing: Sections 12 outside 0..8, 8 used\n")) << log.Text();
  log.Clear();
  kxscript::Execute("Sections = -3\n", w);
  EXPECT_EQ(w->Sections, 0);
  EXPECT_EQ(log.Lines(), 1);
  EXPECT_EQ(Text(w).find("// start section"), std::string::npos);
}

TEST_F(wingfiles, LinkOutsideTheAircraftIsLeftOutWithALogLine) {
  servo stray;
  auto* w = static_cast<kxdwing10*>(Make("kxdwing10", "Tail", ""));
  w->FlapLink = &stray.MechLink;
  EXPECT_EQ(Text(w).find("FlapLink"), std::string::npos);
  EXPECT_TRUE(log.Contains("FlapLink points outside ~Aircraft"));
}

TEST_F(wingfiles, PointersIntoWingMembersNameTheirKeyAndIndex) {
  auto* w = static_cast<kxdwing00*>(Make("kxdwing00", "Wing", ""));
  kxstring path;
  ASSERT_EQ(kxnode::PointerToPath(&w->SectionArea[1], aircraft, path), 1);
  EXPECT_STREQ(path.Text(), "Wing/SectionArea(1)");
  ASSERT_EQ(kxnode::PointerToPath(&w->AirbrakeCd, aircraft, path), 1);
  EXPECT_STREQ(path.Text(), "Wing/AirbrakeCd");
  ASSERT_EQ(kxnode::PointerToPath(&w->Mass, aircraft, path), 1);
  EXPECT_STREQ(path.Text(), "Wing/Mass");
  EXPECT_EQ(kxdwing::As(w), w);
  EXPECT_EQ(kxdwing::As(aircraft), nullptr);
}

}  // namespace
