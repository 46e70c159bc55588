#include <string>

#include "core/interpreter.h"
#include "sim/application.h"
#include "sim/hud_texts.h"
#include "sim/language_switch.h"
#include "sim/menu.h"
#include "sim/multilanguage.h"
#include "sim_support.h"

namespace {

class LanguageTest : public simtest::languagetest {};

TEST_F(LanguageTest, DefaultsAreEnglishAndIndexedKeysReachTheirEntries) {
  multilanguage& l = sim::Language();
  EXPECT_STREQ(sim::HudText(4), "RPM: %3drmin");
  EXPECT_STREQ(l.controlFunction[27].Text(), "Nozzle Rotation");
  EXPECT_STREQ(l.controlFunction[40].Text(), "");
  EXPECT_STREQ(l.Text("NoOpenGL"), "Warning: No OpenGL graphics card driver found!!!");
  kxscript::Execute("Tipp( 1, 2 ) = \"x\"; ControlFunction( 40 ) = \"Spare\"; GyroLock = \"HH\"", &l);
  EXPECT_STREQ(l.tipp[1][2].Text(), "x");
  EXPECT_STREQ(l.controlFunction[40].Text(), "Spare");
  EXPECT_STREQ(l.Text("GyroLock"), "HH");
  EXPECT_EQ(kxscript::Evaluate("MenuText( 16 )", &l), nullptr);
  EXPECT_EQ(kxscript::Evaluate("Tipp( 8, 0 )", &l), nullptr);
}

TEST_F(LanguageTest, LanguageFileReplacesOnlySetTextsWithMatchingFormats) {
  Write("svgelanguage.kxd", ::simtest::Fixture("svgelanguage.kxd"));
  ASSERT_EQ(sim::LoadLanguage(), 1);
  EXPECT_STREQ(sim::HudText(0), "Geschwindigkeit:");
  EXPECT_STREQ(sim::HudText(3), "Richtung: %3dGrad");
  EXPECT_STREQ(sim::HudText(4), "RPM: %3drmin");  // "%s" where "%d" is drawn
  EXPECT_STREQ(sim::HudText(45), "Simulationsgeschwindigkeit %.0f%%");
  EXPECT_STREQ(sim::HudText(1), "Height:");      // not set: stays English
  EXPECT_STREQ(sim::Language().menuText[9].Text(), "Fliegen");
  EXPECT_STREQ(sim::Language().tipp[1][2].Text(), "dritte Zeile");
}

// The file runs against the table; it may also name the table by its path
// or change into it first, as the start-up appends it under the root.
TEST_F(LanguageTest, LinesMayNameTheTableOrChangeIntoItFirst) {
  kxscript::Root()->AppendChild(&sim::Language());
  Write("svgelanguage.kxd",
        "/MultiLanguage/SimText( 1 ) = \"Hoehe:\"\n"
        "cd /\ncd MultiLanguage/\nSimText( 2 ) = \"Hoehe NN:\"\nNoOpenGL = \"Kein OpenGL\"\n");
  ASSERT_EQ(sim::LoadLanguage(), 1);
  sim::Language().Unlink();
  EXPECT_STREQ(sim::HudText(1), "Hoehe:");
  EXPECT_STREQ(sim::HudText(2), "Hoehe NN:");
  EXPECT_STREQ(sim::Language().Text("NoOpenGL"), "Kein OpenGL");
}

TEST_F(LanguageTest, WithoutLanguageFileTheHeadUpTextsStayEnglish) {
  EXPECT_EQ(sim::LoadLanguage(), 0);
  EXPECT_STREQ(sim::HudText(4), "RPM: %3drmin");
}

TEST_F(LanguageTest, HeadUpTextsMapOntoTheirSimTexts) {
  const int expected[][2] = {{0, 0}, {3, 3}, {4, 70}, {5, 4}, {32, 31}, {33, 40}, {44, 51}, {45, 60},
                             {47, 62}, {48, 64}, {49, 65}, {50, 63}, {51, 66}, {53, 68}, {54, -1}};
  for (const auto& e : expected) EXPECT_EQ(sim::HudTextSource(e[0]), e[1]) << e[0];
}

TEST_F(LanguageTest, ConversionsMatchByTypeNotByWidth) {
  EXPECT_TRUE(sim::SameConversions("Zeit: %d s %02d", "Time: %dsec%02d"));
  EXPECT_TRUE(sim::SameConversions("100%% %s", "%s"));
  EXPECT_FALSE(sim::SameConversions("%d %d", "%d"));
  EXPECT_FALSE(sim::SameConversions("%f", "%d"));
  EXPECT_FALSE(sim::SameConversions("%*d", "%*d"));
  EXPECT_FALSE(sim::SameConversions("%n", "%n"));
  EXPECT_FALSE(sim::SameConversions("%", "%"));
}

// Kept on purpose: a language number with no translation file (outside
// 0-5) is refused with a log line and changes nothing, instead of storing a
// language number that no file stands behind and reporting success.
TEST_F(LanguageTest, ANumberOutsideTheTranslationsIsRefusedWithALogLine) {
  Write("svgelanguage/language5.kxd", "five");
  ASSERT_EQ(sim::SwitchLanguage(5), 1);
  EXPECT_EQ(sim::Menu().language, sim::menulanguage{6});
  for (int n : {6, -1, 99}) {
    EXPECT_EQ(sim::SwitchLanguage(n), 0) << n;
    EXPECT_TRUE(inputtest::Logged(("copy language " + std::to_string(n) + " file=fail\n").c_str())) << n;
    EXPECT_EQ(sim::Menu().language, sim::menulanguage{6});
    EXPECT_EQ(Read("svgelanguage.kxd"), "five");
  }
  sim::Menu().language = sim::menulanguage::kEnglish;
}

}  // namespace
