// The value field as the user types and reads it: with a layout pass after
// every key, as the designer's frames run one, a field left by Tab commits
// once and the next keeps what is typed into it until it is committed in
// turn; a value that rounds to zero reads without a sign.
#include <vector>

#include "designer_support.h"
#include "dynamics/components/engine10.h"
#include "platform/codes.h"

namespace {

using designertest::designerfixture;

class FieldEditTest : public designerfixture {
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

TEST_F(FieldEditTest, TabCommitsTheFieldOnceAndTheNextKeepsItsTyping) {
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

TEST_F(designerfixture, ValueRoundingToZeroReadsWithoutASign) {
  struct probe {
    const char* format;
    float factor;
    float value;
    const char* shown;
  } probes[] = {{"%.0f", -57.29578f, 0.0f, "0 deg"},    {"%.1f", 100, -0.0004f, "0.0 deg"},
                {"%.2f", 1, -0.004f, "0.00 deg"},      {"%.0f", -57.29578f, 0.1f, "-6 deg"},
                {"%.2f", 1, -0.005001f, "-0.01 deg"}};
  for (const probe& p : probes) {
    float value = p.value;
    svdesignfield field(0, 0, 80, 20, &value, p.format, "deg", p.factor);
    field.Refresh();
    EXPECT_STREQ(field.text, p.shown) << p.value;
  }
}

}  // namespace
