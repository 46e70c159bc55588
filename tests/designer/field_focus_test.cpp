// The edit cycle as the user types, with a layout pass after every key as
// the designer's frames run one: a field left by Tab commits once, and the
// next field keeps what is typed into it until it is committed in turn.
#include <vector>

#include "designer_support.h"
#include "dynamics/components/engine10.h"
#include "platform/codes.h"

namespace {

using designertest::designerfixture;

class FieldFocusTest : public designerfixture {
 protected:
  static void Frame() { kxgui::Visible->Update(); }
  void Press(int key) {
    Key(key);
    Frame();
  }
  void Retype(const char* text) {
    for (int i = 0; i < svdesignfield::kMaxChars + 2; ++i) Press(kxcode::kKeyBackspace);
    for (const char* c = text; *c; ++c) Press(static_cast<unsigned char>(*c));
  }
};

TEST_F(FieldFocusTest, TabCommitsTheFieldOnceAndTheNextKeepsItsTyping) {
  Enter();
  // The battery page: cells, then the voltage per cell.
  std::vector<svdesignfield*> fields = Open("Motor", 1);
  ASSERT_GE(fields.size(), 2u);
  auto* motor = static_cast<kxdengine10*>(Object("Motor")->component);
  ASSERT_EQ(kxgui::Focus, fields[0]);
  Retype("4");
  Press(kxcode::kKeyTab);
  ASSERT_EQ(kxgui::Focus, fields[1]);
  EXPECT_FLOAT_EQ(motor->CellNum, 4.0f);
  EXPECT_STREQ(fields[0]->text, "4 ");
  Retype("3.85");
  EXPECT_STREQ(fields[1]->text, "3.85");
  Press(kxcode::kKeyReturn);
  EXPECT_FLOAT_EQ(motor->CellVoltage, 3.85f);
  EXPECT_STREQ(fields[1]->text, "3.85 V");
  EXPECT_FLOAT_EQ(motor->CellNum, 4.0f);
}

}  // namespace
