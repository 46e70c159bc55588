// The five translations shipped in "svgelanguage/": each runs against the
// text table without a failed line, sets every text the head-up display
// takes with the printf conversions of its English text, and after the
// switch (a copy over "svgelanguage.kxd") the next start shows it.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "core/interpreter.h"
#include "platform/files.h"
#include "sim/application.h"
#include "sim/hud_texts.h"
#include "sim/language_switch.h"
#include "sim/multilanguage.h"
#include "tests/dynamics/all/samples_support.h"
#include "tests/sim/sim_support.h"

namespace {

constexpr int kLanguages = 5;

class LanguageFilesTest : public simtest::languagetest {
 protected:
  void SetUp() override {
    languagetest::SetUp();
    kxdtest::CopyFromData("svgelanguage");
  }
  static std::string File(int n) { return "svgelanguage/language" + std::to_string(n) + ".kxd"; }
};

// Every entry of the table, with its English default.
template <class F>
void ForEachText(const multilanguage& l, const multilanguage& english, F f) {
  for (int i = 0; i < multilanguage::kControlFunctions; ++i) f(l.controlFunction[i], english.controlFunction[i]);
  for (int i = 0; i < multilanguage::kMenuTexts; ++i) f(l.menuText[i], english.menuText[i]);
  for (int i = 0; i < multilanguage::kTips; ++i)
    for (int k = 0; k < multilanguage::kTipLines; ++k) f(l.tipp[i][k], english.tipp[i][k]);
  for (int i = 0; i < multilanguage::kSingles; ++i) f(l.singles[i], english.singles[i]);
}

TEST_F(LanguageFilesTest, EveryTranslationSetsEveryHeadUpTextWithItsConversions) {
  const multilanguage english;
  for (int n = 1; n <= kLanguages; ++n) {
    SCOPED_TRACE(File(n));
    multilanguage& l = sim::Language();
    l.Reset();
    sim::ResetHudTexts();
    kxtest::logcapture log;
    ASSERT_NE(kxscript::ReadFile(File(n).c_str(), &l), 0);
    EXPECT_EQ(log.Text(), "");  // no line failed
    EXPECT_EQ(sim::ApplyLanguageToHudTexts(l), sim::kHudTexts);
    for (int k = 0; k < sim::kHudTexts; ++k) EXPECT_STRNE(sim::HudText(k), "") << k;
    // Texts that are no formats stay free of conversions; the translated
    // ones differ from the English defaults.
    int translated = 0;
    ForEachText(l, english, [&](const kxstring& text, const kxstring& original) {
      if (!std::strchr(original.Text(), '%')) {
        EXPECT_EQ(std::strchr(text.Text(), '%'), nullptr) << text.Text();
      }
      if (!(text == original)) ++translated;
    });
    EXPECT_GT(translated, 100);
    EXPECT_FALSE(l.objectTrans[0].Empty());
    EXPECT_STREQ(l.objectNames[0].Text(), "Fuselage");  // the fixed names stay
  }
}

TEST_F(LanguageFilesTest, TheSpeedLabelTellsGermanAndFrenchApart) {
  // The menu tells the language from the first head-up text.
  const char* const speed[] = {"Geschwindigkeit:", "Vitesse:"};
  for (int n = 1; n <= 2; ++n) {
    sim::Language().Reset();
    ASSERT_NE(kxscript::ReadFile(File(n).c_str(), &sim::Language()), 0);
    EXPECT_STREQ(sim::Language().simText[0].Text(), speed[n - 1]);
  }
}

TEST_F(LanguageFilesTest, AfterTheSwitchTheNextStartShowsThatLanguage) {
  for (int n = 1; n <= kLanguages; ++n) {
    SCOPED_TRACE(File(n));
    ASSERT_EQ(kxsystem::CopyFile(File(n).c_str(), sim::kLanguagePath), 1);
    sim::Language().Reset();
    sim::ResetHudTexts();
    ASSERT_EQ(sim::LoadLanguage(), 1);
    for (int k = 0; k < sim::kHudTexts; ++k)
      EXPECT_STREQ(sim::HudText(k), sim::Language().simText[sim::HudTextSource(k)].Text()) << k;
  }
  // English: the file is gone and the built-in texts stay.
  ASSERT_EQ(kxsystem::DeleteFile(sim::kLanguagePath), 1);
  sim::Language().Reset();
  sim::ResetHudTexts();
  EXPECT_EQ(sim::LoadLanguage(), 0);
  EXPECT_STREQ(sim::HudText(0), "Speed:");
  EXPECT_STREQ(sim::HudText(4), "RPM: %3drmin");
}

TEST_F(LanguageFilesTest, AnIndexOutsideItsTableChangesNothing) {
  Write("svgelanguage.kxd",
        "SimText( 128 ) = \"x\"\nControlFunction( -1 ) = \"x\"\nTipp( 3, 3 ) = \"x\"\nMenuText( 9 ) = \"Fliegen\"\n");
  const multilanguage english;
  kxtest::logcapture log;
  ASSERT_EQ(sim::LoadLanguage(), 1);
  EXPECT_STREQ(sim::Language().menuText[9].Text(), "Fliegen");
  int changed = 0;
  ForEachText(sim::Language(), english, [&](const kxstring& a, const kxstring& b) { changed += !(a == b); });
  for (int i = 0; i < multilanguage::kSimTexts; ++i) changed += !sim::Language().simText[i].Empty();
  EXPECT_EQ(changed, 1);
}

}  // namespace
