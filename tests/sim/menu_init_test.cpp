// The menu's start and idle frames through the program's own loop: the
// missing-signal notice over a silent cable, and the menu's language taken
// from the texts the program loaded.
#include <fstream>

#include "gui/gui.h"
#include "gui/window.h"
#include "program_support.h"
#include "sim/menu.h"
#include "sim/menu_bar.h"

namespace {

class MenuNotice : public simtest::transmittertest {
 protected:
  static bool NoticeShown() {
    const kxwindow* notice = sim::NoDeviceWindow();
    return notice && kxgui::Visible && notice->parent == kxgui::Visible;
  }
};

// The cable is found but its transmitter is off: the notice opens and stays,
// once; the first channels take it down and it stays down while they come.
TEST_F(MenuNotice, TheNoticeStandsWhileTheCableIsSilentAndGoesWithItsFirstChannels) {
  enum { kSilent, kSending, kDone } phase = kSilent;
  int frames = 0, shownSilent = 0, shownSending = 0, openings = 0;
  bool before = false;
  window_.beforeEvent = [&] {
    if (kxsystem::callbacks.update != &sim::MenuIdle) return true;
    const bool shown = NoticeShown();
    openings += shown && !before;
    before = shown;
    ++frames;
    if (phase == kSilent) {
      shownSilent += shown;
      if (frames == 20) phase = kSending;
    } else if (phase == kSending) {
      Send(0.0f, 0.0f, -1.0f, 0.0f, -1.0f);
      shownSending += shown;
      if (frames == 60) phase = kDone;
    }
    return phase != kDone;
  };
  EXPECT_EQ(Run(), 0);
  EXPECT_EQ(frames, 60);
  EXPECT_GE(shownSilent, 18);  // from the first idle frames on
  EXPECT_LE(shownSending, 5);  // down as soon as the cable reports channels
  EXPECT_FALSE(NoticeShown());
  EXPECT_EQ(openings, 1);
}

// The speed label of the head-up texts names the language the menu offers.
class MenuLanguage : public simtest::programtest,
                     public ::testing::WithParamInterface<std::pair<const char*, int>> {};

TEST_P(MenuLanguage, TheMenuTakesItsLanguageFromTheLoadedSpeedLabel) {
  const auto& [label, language] = GetParam();
  std::ofstream(dir_ / "svgelanguage.kxd") << "SimText( 0 ) = \"" << label << "\"\n";
  sim::Menu().language = sim::menulanguage{0};
  EXPECT_EQ(Run(), 0);
  EXPECT_EQ(sim::Menu().language, sim::menulanguage{language});
}

INSTANTIATE_TEST_SUITE_P(Labels, MenuLanguage,
                         ::testing::Values(std::pair<const char*, int>{"Geschwindigkeit:", 2},
                                           std::pair<const char*, int>{"Vitesse:", 3},
                                           std::pair<const char*, int>{"Velocidad:", 1}));

}  // namespace
