#include "sim/windows/notice_window.h"

#include <string>

#include "gui/gui.h"
#include "sim/notice.h"
#include "sim/windows/window_functions.h"
#include "tests/sim/windows/menu_support.h"

namespace {

class NoticeWindowTest : public menutest::menutest {};

TEST_F(NoticeWindowTest, NoticesShowOneAtATimeAndGiveTheMouseBackToTheWindowTheyInterrupted) {
  sim::PostNotice("first");
  sim::PostNotice("second");
  sim::PostNotice("first");  // the same text still waiting adds nothing
  sim::PostNotice("");
  kxwindow* keys = sim::KeysWindow();
  sim::ShowWindow(keys);
  sim::ShowWaitingNotice();
  EXPECT_TRUE(Shown(sim::kWndNotice));
  EXPECT_STREQ(sim::ShownNotice(), "first");
  EXPECT_EQ(kxgui::Capture, sim::MenuWindow(sim::kWndNotice));
  sim::ShowWaitingNotice();  // one at a time
  EXPECT_STREQ(sim::ShownNotice(), "first");
  Send(sim::kWndNotice, "Ok");
  EXPECT_FALSE(Shown(sim::kWndNotice));
  EXPECT_EQ(kxgui::Capture, keys);
  sim::ShowWaitingNotice();
  EXPECT_STREQ(sim::ShownNotice(), "second");
  // The interrupted window went meanwhile: nobody gets the mouse.
  keys->Hide();
  Send(sim::kWndNotice, "Ok");
  EXPECT_EQ(kxgui::Capture, nullptr);
  EXPECT_STREQ(sim::ShownNotice(), "");
  EXPECT_EQ(sim::NoticeWaiting(), 0);
}

}  // namespace
