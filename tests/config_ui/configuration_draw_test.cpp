// The configuration windows drawn under a real OpenGL context (a hidden
// window; skipped without a display): the easy window's input monitor shows
// each input's slot as a red level over a grey track, and the advanced
// editor takes the typed travel and expo before it draws.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include "gui/gui.h"
#include "tests/config_ui/config_support.h"
#include "tests/gui/gl_gui_support.h"

namespace {

constexpr int kWidth = 700, kHeight = 520;  // px

using kxtest::pixel;
using kxtest::ReadPixel;

class ConfigurationDrawTest : public kxtest::glguitest<configtest::cabletest, kWidth, kHeight> {};

TEST_F(ConfigurationDrawTest, TheInputMonitorShowsEverySlotAsALevel) {
  AddCable();
  Search();
  auto* easy = Get<svconfigurationeasy>("ConfigurationEasy");
  easy->Open("acft00", 1);
  ASSERT_EQ(easy->monitor->base, 1000);
  board->slots[1000] = -1.0f;
  board->slots[1001] = 1.0f;
  board->slots[201] = 0.0f;  // bar 12, NUM 2 / 8
  kxgui::Frame();
  kxinputmonitor* m = easy->monitor;
  auto at = [&](int bar, int height) {
    return ReadPixel(easy->X + m->X + kxinputmonitor::kPitch * bar + kxinputmonitor::kBarWidth / 2,
                     easy->Y + m->Y + height);
  };
  auto red = [](const pixel& p) { return p.r > 240 && p.g < 20 && p.b < 20; };
  auto grey = [](const pixel& p) { return p.r == 204 && p.g == 204 && p.b == 204; };
  EXPECT_TRUE(grey(at(0, 30))) << "bar 0 at -1 is empty";
  EXPECT_TRUE(red(at(1, 30)));
  EXPECT_TRUE(red(at(1, 85))) << "bar 1 at +1 is full";
  EXPECT_TRUE(red(at(12, 30)));
  EXPECT_TRUE(grey(at(12, 70))) << "bar 12 at 0 is half full";
}

TEST_F(ConfigurationDrawTest, TheEditorAppliesTypedFieldsWhenItDraws) {
  Put("config/jet.kxa", "Text = \"Jet@@ADV\"\nAssign( 4, 1001 )\nEasy = 0\n");
  auto* editor = Get<svconfigurationeditor>("ConfigurationEditor");
  editor->Open("jet");
  editor->travel[4]->SetText("40");
  editor->expo[4]->SetText("10");
  kxgui::Frame();
  EXPECT_FLOAT_EQ(editor->mapper->Dual[4], 0.4f);
  EXPECT_FLOAT_EQ(editor->mapper->Expo[4], 0.1f);
}

}  // namespace
