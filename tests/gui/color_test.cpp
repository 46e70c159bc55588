// kxcolor4 values and references, and the members of the display root.
#include "gui/color.h"

#include "core/interpreter.h"
#include "core/output.h"
#include "core/reference.h"
#include "gui/display.h"
#include "gui_support.h"

namespace {

class ColorTest : public kxtest::guitest {
 protected:
  const kxcolor4& Black() { return kxgui::Display->palette[0]; }
};

TEST_F(ColorTest, ColourMemberTakesAColourValueWhole) {
  kxscript::Execute("/DPY/ColorBlack = kxcolor4( 0.25, 0.5, 0.75, 0.5 )");
  EXPECT_FLOAT_EQ(Black().r, 0.25f);
  EXPECT_FLOAT_EQ(Black().g, 0.5f);
  EXPECT_FLOAT_EQ(Black().b, 0.75f);
  EXPECT_FLOAT_EQ(Black().a, 0.5f);
}

TEST_F(ColorTest, RealSetsOnlyTheAlpha) {
  kxscript::Execute("/DPY/ColorBlack = 0.5");
  EXPECT_FLOAT_EQ(Black().r, 0.0f);
  EXPECT_FLOAT_EQ(Black().a, 0.5f);
}

TEST_F(ColorTest, OtherValuesLeaveTheColourUnchanged) {
  kxscript::Execute("/DPY/ColorBlack = 3");
  kxscript::Execute("/DPY/ColorBlack = \"red\"");
  kxscript::Execute("/DPY/ColorBlack = kxvector4f( 1, 1, 1, 1 )");
  EXPECT_FLOAT_EQ(Black().r, 0.0f);
  EXPECT_FLOAT_EQ(Black().a, 1.0f);
}

TEST_F(ColorTest, ColourPrintsInItsConstructorForm) {
  kxcolor4 c{1, 0.5f, 0, 1};
  kxcolor4ref ref(&c);
  kxout out;
  ref.Print(out);
  EXPECT_EQ(out.Text(), "kxcolor4( 1, 0.5, 0, 1 )");
}

TEST_F(ColorTest, SetAlphaSkipsTheLightBackgroundsAndSelectionColours) {
  kxvalueptr result = kxscript::Evaluate("/DPY/seta( 0.25 )");
  ASSERT_NE(result, nullptr);
  int one = 0;
  EXPECT_TRUE(result->GetInt(one));
  EXPECT_EQ(one, 1);
  for (int i = 0; i < kxgui::kPaletteSize; ++i) {
    bool kept = i == 2 || i == 3 || i == 9 || i == 16 || i == 17;
    EXPECT_FLOAT_EQ(kxgui::Display->palette[i].a, kept ? 1.0f : 0.25f) << "entry " << i;
  }
}

TEST_F(ColorTest, VisibleMemberTakesOnlyWidgets) {
  kxscript::Execute("/DPY/Visible = /Display/Invisible/");
  EXPECT_EQ(kxgui::Visible, kxgui::Invisible);
  kxscript::Execute("/DPY/Visible = /Display/");
  EXPECT_EQ(kxgui::Visible, kxnode::Find("/Display/"));
  kxgui::Visible = screen;
  kxnode* plain = new kxnode;
  plain->name = "Plain";
  kxscript::Root()->AppendChild(plain);
  kxscript::Execute("/DPY/Visible = /Plain/");
  EXPECT_EQ(kxgui::Visible, screen);
  EXPECT_TRUE(LogHas("Visible must be a widget"));
  delete plain;
}

// Stands in for the pinboard: consecutive floats x, y, button.
class slots : public kxnode {
 public:
  float values[3] = {0.25f, 0.5f, 1.0f};
  kxvalueptr GetMember(const char* member, const kxargs& args) override {
    if (std::string(member) == "Mouse") return kxvalueptr(new kxrealref(&values[0]));
    return kxnode::GetMember(member, args);
  }
};

TEST_F(ColorTest, PointingDeviceMemberPointsAtPublishedSlots) {
  slots* board = new slots;
  board->name = "Board";
  kxscript::Root()->AppendChild(board);
  kxscript::Execute("/DPY/PointingDevice = /Board/Mouse");
  EXPECT_EQ(kxgui::PointingDevice, &board->values[0]);
  int x = 0, y = 0;
  kxgui::GetPointer(&x, &y);
  EXPECT_EQ(x, 160);
  EXPECT_EQ(y, 240);
  kxgui::PointingDevice = device;
  delete board;
}

TEST_F(ColorTest, RootsExistAfterRegistration) {
  EXPECT_NE(dynamic_cast<kxdisplay*>(kxnode::Find("/DPY/")), nullptr);
  EXPECT_EQ(kxnode::Find("/Display/Invisible/"), kxgui::Invisible);
  EXPECT_EQ(kxgui::Display->W, 640);
  EXPECT_EQ(kxgui::Display->H, 480);
  kxgui::RegisterTypes();  // a second run finds the same roots
  EXPECT_EQ(kxnode::Find("/Display/Invisible/"), kxgui::Invisible);
  EXPECT_EQ(kxscript::Root()->ChildCount(), 2);
}

}  // namespace
