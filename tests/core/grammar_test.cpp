// Runs whole files of every line form the program writes and reads against
// small node classes and checks what each line did.
#include <string>

#include "test_support.h"

namespace {

using kxtest::controls;
using kxtest::coretest;
using kxtest::part;
using kxtest::receiver;
using kxtest::servo;
using kxtest::texts;

std::string Fixture(const char* name) { return std::string(KX_TEST_DATA) + "/" + name; }

TEST_F(coretest, AircraftFileBuildsComponentsAndLinks) {
  kxscript::Execute("Append kxnode Geometry;cd Geometry/;Append kxnode Wing;cd Wing/;Append kxnode Flap;"
                    "cd /T/;Append kxnode Aircraft", top);
  kxnode* aircraft = kxnode::Find("Aircraft", top);
  kxnode* geometry = kxnode::Find("Geometry", top);
  kxscript::SetAlias("Aircraft", aircraft);
  kxscript::SetAlias("Geometry", geometry);
  ASSERT_EQ(kxscript::ReadFile(Fixture("aircraft.kxd").c_str(), aircraft), 1);
  kxscript::ClearAlias("Aircraft");
  kxscript::ClearAlias("Geometry");

  auto* wing = static_cast<part*>(kxnode::Find("Wing", aircraft));
  auto* s = static_cast<servo*>(kxnode::Find("Servo00", aircraft));
  auto* r = static_cast<receiver*>(kxnode::Find("Receiver", aircraft));
  ASSERT_NE(wing, nullptr);
  EXPECT_EQ(wing->X[0], 1.0f);
  EXPECT_EQ(wing->Geometry, kxnode::Find("Wing", geometry));
  EXPECT_EQ(wing->Mass, 0.75f);
  EXPECT_EQ(wing->Inertia[5], 0.2f);
  EXPECT_EQ(wing->Inertia[15], 1.0f);
  EXPECT_EQ(wing->RootR[1], -0.2f);
  EXPECT_EQ(wing->Flap, kxnode::Find("Wing/Flap", geometry));
  EXPECT_EQ(wing->FlapLink, &s->MechLink);
  EXPECT_EQ(wing->SignalIn, &r->Out[2]);
  EXPECT_EQ(wing->Body, kxnode::Find("Fuselage", aircraft));
  EXPECT_STREQ(wing->Label.Text(), "say \"hi\" \\ there");
  EXPECT_EQ(wing->SectionR[1][1], 1.0f);
  EXPECT_EQ(wing->SectionArea[1], 0.125f);
  EXPECT_STREQ(wing->SectionAirfoil[1].Text(), "naca2412");

  // The unknown component's block is skipped; the file goes on after it.
  EXPECT_EQ(kxnode::Find("Missing", aircraft), nullptr);
  EXPECT_NE(kxnode::Find("After", aircraft), nullptr);
  EXPECT_EQ(kxnode::Find("After", wing), nullptr);
  EXPECT_TRUE(log.Contains("(38): unknown type \"kxdnothing\""));
  EXPECT_TRUE(log.Contains("(39): no node \"cd Missing/\""));
  EXPECT_TRUE(log.Contains("1 statements skipped"));
  // Fuselage "Mass", "Kn", "GyroLock", "SoundRPMIdle": members these test
  // nodes do not have, counted in one line.
  EXPECT_TRUE(log.Contains("4 statements name nothing known here"));
  EXPECT_EQ(log.Lines(), 4) << kxtest::logcapture::Text();
}

TEST_F(coretest, LanguageFileFillsTheTextTable) {
  kxscript::Execute("Append kxtesttexts MultiLanguage", top);
  auto* table = static_cast<texts*>(kxnode::Find("MultiLanguage", top));
  ASSERT_EQ(kxscript::ReadFile(Fixture("language.kxd").c_str(), table), 1);
  EXPECT_STREQ(table->SimText[0].Text(), "Speed:");
  EXPECT_STREQ(table->SimText[1].Text(), "Height:");
  EXPECT_STREQ(table->SimText[70].Text(), "RPM: %3drmin");
  EXPECT_STREQ(table->Tipp[1][2].Text(), "behaviour are not available with these models.");
}

}  // namespace
