// Push buttons, check boxes and option buttons driven through the mouse
// dispatch.
#include "gui/button.h"
#include "gui/check_box.h"
#include "graphics/texture_table.h"
#include "gui/gui.h"
#include "gui/text.h"
#include "widget_support.h"

namespace {

using kxtest::Ran;

class ButtonTest : public kxtest::widgettest {
 protected:
  kxbutton* MakeButton() {
    kxbutton* b = new kxbutton("Go", 100, 100, 80, 26);
    b->OnPress = "Note( \"press\" )";
    return Add(b, 100, 100);
  }
};

// Hover follows the pointer; a press and release runs OnPress once; a press
// dragged off before the release runs nothing.
TEST_F(ButtonTest, StateFollowsThePointerAndAReleaseOnTheButtonRunsOnPress) {
  kxbutton* b = MakeButton();
  Mouse(kxcode::kMouseMove, 120, 110);
  EXPECT_EQ(b->state, kxbutton::kHover);
  Mouse(kxcode::kMouseMove, 20, 20);
  EXPECT_EQ(b->state, kxbutton::kIdle);
  Mouse(kxcode::kMouseLeftDown, 110, 110);
  EXPECT_EQ(b->state, kxbutton::kPressed);
  Mouse(kxcode::kMouseMove, 300, 300);
  EXPECT_EQ(b->state, kxbutton::kIdle);
  Mouse(kxcode::kMouseMove, 110, 110);
  Mouse(kxcode::kMouseLeftUp, 110, 110);
  EXPECT_TRUE(Ran().empty());
  Mouse(kxcode::kMouseLeftDown, 110, 110);
  Mouse(kxcode::kMouseLeftUp, 110, 110);
  ASSERT_EQ(Ran().size(), 1u);
  EXPECT_EQ(Ran()[0], "press");
  EXPECT_EQ(b->state, kxbutton::kIdle);
}

TEST_F(ButtonTest, DisabledButtonIgnoresClicksAndAnswersOnlyText) {
  kxbutton* b = MakeButton();
  b->name = "B";
  b->disabled = 1;
  Click(110, 110);
  EXPECT_TRUE(Ran().empty());
  EXPECT_NE(b->GetMember("Text", kxargs::None()), nullptr);
  EXPECT_EQ(b->GetMember("OnPress", kxargs::None()), nullptr);
  EXPECT_EQ(b->GetMember("X", kxargs::None()), nullptr);
  kxscript::Execute("/Display/Visible/B/Text = \"Stop\"");
  EXPECT_STREQ(b->Text.Text(), "Stop");
}

TEST_F(ButtonTest, LeftDownAndDoubleCommandsRun) {
  kxbutton* b = MakeButton();
  b->OnLeftDownText = "Note( \"down\" )";
  b->OnLeftDoubleText = "Note( \"double\" )";
  Mouse(kxcode::kMouseLeftDown, 110, 110);
  Mouse(kxcode::kMouseLeftDouble, 110, 110);
  ASSERT_EQ(Ran().size(), 2u);
  EXPECT_EQ(Ran()[0], "down");
  EXPECT_EQ(Ran()[1], "double");
}

TEST_F(ButtonTest, TextureButtonTakesTheRegionOfItsStateAndItsMembersFromScript) {
  kxbuttontexture* b = new kxbuttontexture;
  b->S = 0.25f, b->T = 0.5f, b->SHigh = 0.5f, b->THigh = 0.25f, b->SPressed = 0.75f, b->TPressed = 0;
  float s, t;
  b->StateCorner(&s, &t);
  EXPECT_FLOAT_EQ(s, 0.25f);
  EXPECT_FLOAT_EQ(t, 0.5f);
  b->state = kxbutton::kHover;
  b->StateCorner(&s, &t);
  EXPECT_FLOAT_EQ(s, 0.5f);
  EXPECT_FLOAT_EQ(t, 0.75f);
  b->state = kxbutton::kPressed;
  b->StateCorner(&s, &t);
  EXPECT_FLOAT_EQ(s, 0.75f);
  EXPECT_FLOAT_EQ(t, 1.0f);
  delete b;
  // Made by script it takes its members there.
  kxscript::Execute("cd /Display/Invisible/; Append kxbuttontexture Pic; cd Pic/; SDelta = 0.5; TPressed = 0.125; "
                    "OnPress = \"Count\"");
  b = dynamic_cast<kxbuttontexture*>(kxnode::Find("/Display/Invisible/Pic/"));
  ASSERT_NE(b, nullptr);
  EXPECT_FLOAT_EQ(b->SDelta, 0.5f);
  EXPECT_FLOAT_EQ(b->TPressed, 0.125f);
  EXPECT_STREQ(b->OnPress.Text(), "Count");
  EXPECT_EQ(b->W, 80);
  EXPECT_EQ(b->H, 26);
}

// The picture is the button's own: a second "Texture" and the button's end
// each give back what they held, a clone holds its own reference.
TEST_F(ButtonTest, TextureButtonReleasesItsPicture) {
  int before = kxgl::TexturesInUse();
  kxscript::Execute("cd /Display/Invisible/; Append kxbuttontexture Pic; cd Pic/; "
                    "Texture( \"texture/svgebuttonea.bmp\" ); Texture( \"texture/svgebuttonex.bmp\" )");
  auto* b = dynamic_cast<kxbuttontexture*>(kxnode::Find("/Display/Invisible/Pic/"));
  ASSERT_NE(b, nullptr);
  ASSERT_NE(b->texture, nullptr);
  EXPECT_EQ(kxgl::TexturesInUse(), before + 1);
  auto* copy = dynamic_cast<kxbuttontexture*>(b->Clone(kxgui::Invisible));
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(copy->texture, b->texture);
  delete b;
  EXPECT_EQ(kxgl::TexturesInUse(), before + 1);  // the clone's reference keeps it
  delete copy;
  EXPECT_EQ(kxgl::TexturesInUse(), before);
}

class CheckBoxTest : public kxtest::widgettest {};

// Clicks toggle it with a command and a change notification each; a press
// dragged off disarms it.
TEST_F(CheckBoxTest, ClicksToggleItAndADragOffDisarmsIt) {
  struct counted : kxcheckbox {
    int changes = 0;
    void Changed() override { ++changes; }
  };
  counted* box = Add(new counted, 50, 50);
  box->OnCheck = "Note( \"on\" )";
  box->OnUncheck = "Note( \"off\" )";
  Click(55, 55);
  EXPECT_EQ(box->checked, 1);
  Click(55, 55);
  EXPECT_EQ(box->checked, 0);
  ASSERT_EQ(Ran().size(), 2u);
  EXPECT_EQ(Ran()[0], "on");
  EXPECT_EQ(Ran()[1], "off");
  EXPECT_EQ(box->changes, 2);
  Mouse(kxcode::kMouseLeftDown, 55, 55);
  EXPECT_EQ(box->armed, 1);
  Mouse(kxcode::kMouseMove, 200, 200);
  Mouse(kxcode::kMouseLeftUp, 200, 200);
  EXPECT_EQ(box->checked, 0);
}

class OptionButtonTest : public kxtest::widgettest {};

TEST_F(OptionButtonTest, SelectingOneClearsItsSiblingsOnly) {
  kxgraphic* groupA = Add(new kxgraphic(0, 0, 200, 100), 0, 0);
  kxgraphic* groupB = Add(new kxgraphic(0, 0, 200, 100), 300, 0);
  kxiconbutton* a1 = new kxiconbutton(10, 10, 16, 16);
  kxiconbutton* a2 = new kxiconbutton(10, 40, 16, 16);
  kxiconbutton* b1 = new kxiconbutton(10, 10, 16, 16);
  groupA->AppendChild(a1);
  groupA->AppendChild(a2);
  groupB->AppendChild(b1);
  groupA->AppendChild(new kxtext("label", 50, 10));
  a2->OnPress = "Note( \"a2\" )";
  b1->selected = 1;
  a1->selected = 1;
  Click(15, 45);
  EXPECT_EQ(a2->selected, 1);
  EXPECT_EQ(a1->selected, 0);
  EXPECT_EQ(b1->selected, 1);
  ASSERT_EQ(Ran().size(), 1u);
  EXPECT_EQ(Ran()[0], "a2");
  a1->disabled = 1;  // a disabled one cannot be selected
  Click(15, 15);
  EXPECT_EQ(a1->selected, 0);
}

}  // namespace
