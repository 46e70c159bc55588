// The property widgets: the value field's number reading, display and commit
// rules, the check box, and the airfoil selector.
#include <cstring>

#include "designer/airfoil_list.h"
#include "designer/check_box.h"
#include "designer/field.h"
#include "designer/weight_page.h"
#include "designer_support.h"
#include "dynamics/body.h"
#include "dynamics/wings/airfoil.h"
#include "gui/containers.h"
#include "gui/scroll.h"
#include "gui/text.h"
#include "platform/codes.h"

namespace {

using designertest::designerfixture;
using designertest::testpage;

TEST(LeadingNumberTest, ReadsTheLongestNumberAtTheStartAndIgnoresTheRest) {
  struct probe {
    const char* text;
    float number;
  } probes[] = {
      {"25", 25},      {"  12 in", 12},  {"-3.5e2x", -350}, {"1e", 1},       {"1e+", 1},   {".5", 0.5f},
      {"5.", 5},       {"+7cm", 7},      {"1.2.3", 1.2f},   {"\t-0.25 m", -0.25f},         {"2E-1", 0.2f},
      {".", 0},        {"abc", 0},       {"", 0},           {"nan", 0},      {"inf", 0},   {"-", 0},
      {"e5", 0},       {"1e40", 0},      {"- 3", 0},
  };
  for (const probe& p : probes) EXPECT_FLOAT_EQ(svdesign::LeadingNumber(p.text), p.number) << '"' << p.text << '"';
}

TEST_F(designerfixture, FieldShowsTheScaledValueWithItsUnitLiterally) {
  float value = 0.25f;
  struct probe {
    const char* format;
    const char* unit;
    float factor;
    float value;
    const char* shown;
  } probes[] = {
      {"%.1f", "cm", 100, 0.25f, "25.0 cm"},
      {"%.1f", "in", 39.370079f, 0.25f, "9.8 in"},
      {"%.0f", "%", 100, 0.35f, "35 %"},
      {"%.2f", "mOhm", 1000, 0.012f, "12.00 mOhm"},
      {"%.0f", "", 1, 12, "12 "},
  };
  for (const probe& p : probes) {
    value = p.value;
    svdesignfield field(0, 0, 80, 20, &value, p.format, p.unit, p.factor);
    field.Refresh();
    EXPECT_STREQ(field.text, p.shown);
    EXPECT_FALSE(field.Edited());
  }
  svdesignfield unbound(0, 0, 80, 20, nullptr, "%.1f", "cm", 100);
  std::strcpy(unbound.text, "5");
  unbound.Refresh();
  unbound.Apply();
  EXPECT_STREQ(unbound.text, "");
}

// Pages shown on a body of their own, as the designer shows them.
class PageTest : public designerfixture {
 protected:
  void SetUp() override {
    designerfixture::SetUp();
    body.Mass = 1.5f;
    body.RangeMassMin = 0.5f;
    body.RangeMassMax = 2.0f;
    // The commands act only while an aircraft is edited.
    State().aircraft = kxdaircraftinstance::Slot(0);
    kxgui::Visible = State().screen;
    kxgui::Visible->W = designertest::kWindowWidth;
    kxgui::Visible->H = designertest::kWindowHeight;
  }
  void TearDown() override {
    delete page;
    State().aircraft = nullptr;
    designerfixture::TearDown();
  }
  // Shows the page; its first field has the focus.
  svdesignfield* Show(svdesignpage* shown) {
    page = shown;
    page->Show();
    return dynamic_cast<svdesignfield*>(kxgui::Focus);
  }
  void Retype(const char* text) {
    for (int i = 0; i < 12; ++i) Key(kxcode::kKeyBackspace);
    Type(text);
  }
  kxdbody body;
  svdesignpage* page = nullptr;
};

TEST_F(PageTest, WeightReturnCommitsAndShowsTheClampedValue) {
  svdesignfield* field = Show(new svdesignweightpage(&body));
  ASSERT_NE(field, nullptr);
  EXPECT_STREQ(field->text, "1500.00 g");
  Retype("750 g");
  EXPECT_FLOAT_EQ(body.Mass, 1.5f);  // typing alone writes nothing
  Key(kxcode::kKeyReturn);
  EXPECT_FLOAT_EQ(body.Mass, 0.75f);
  Retype("5000");
  Key(kxcode::kKeyReturn);
  EXPECT_FLOAT_EQ(body.Mass, 2.0f);
  EXPECT_STREQ(field->text, "2000.00 g");
  body.RangeMassMin = 3.0f;  // crossed bounds: the lower one wins
  Retype("1");
  Key(kxcode::kKeyReturn);
  EXPECT_FLOAT_EQ(body.Mass, 3.0f);
}

TEST_F(PageTest, TypedUnitIsIgnoredAndAnEleventhCharacterRefused) {
  testpage* shown = new testpage(&body, 0);
  Show(shown);
  kxgui::Focus = shown->second;
  Retype("1234567890123");
  EXPECT_STREQ(shown->second->text, "1234567890");
  Retype("12 in");
  Key(kxcode::kKeyReturn);
  EXPECT_FLOAT_EQ(body.B.R.x, 0.12f);
  EXPECT_STREQ(shown->second->text, "12.0 cm");
  units::SetImperial();
  testpage imperial(&body, 0);
  imperial.Refresh();
  EXPECT_STREQ(imperial.first->text, "3.31 lb");
  EXPECT_STREQ(imperial.second->text, "4.7 in");
}

TEST_F(PageTest, TabCommitsOnceAndViewingStoresNothing) {
  body.Mass = 1.23456f;
  testpage* shown = new testpage(&body, 0);
  ASSERT_EQ(Show(shown), shown->first);
  shown->Hide();
  EXPECT_FLOAT_EQ(body.Mass, 1.23456f);  // shown as 1234.56 g, not rounded to it
  EXPECT_EQ(shown->followUps, 0);
  shown->Show();
  Retype("900");
  Key(kxcode::kKeyTab);
  EXPECT_EQ(kxgui::Focus, shown->second);
  EXPECT_FLOAT_EQ(body.Mass, 0.9f);
  EXPECT_STREQ(shown->first->text, "900.00 g");
  EXPECT_EQ(shown->followUps, 1);
  body.Mass = 1.0f;
  kxgui::Visible->Update();  // committed once: nothing is written again
  EXPECT_FLOAT_EQ(body.Mass, 1.0f);
  EXPECT_EQ(shown->followUps, 1);
}

TEST_F(designerfixture, CheckBoxWritesExactlyOneOrZero) {
  int flag = 7;
  svdesigncheck* box = new svdesigncheck(0, 0, 80, 20, &flag);
  box->Refresh();
  Add(box, 10, 10);  // the layout stores the tick
  EXPECT_EQ(flag, 1);
  Click(15, 15);
  EXPECT_EQ(flag, 0);
  Click(15, 15);
  EXPECT_EQ(flag, 1);
}

TEST_F(designerfixture, AirfoilSelectorOpensClosesAndChoosesByTitle) {
  kxdairfoil::ForgetListing();
  kxdairfoil* bound = nullptr;
  svdesignairfoillist* list = Add(new svdesignairfoillist(0, 0, 128, 32, &bound), 100, 100);
  kxcolumn* column = dynamic_cast<kxcolumn*>(list->dropDown->firstChild->firstChild);
  ASSERT_NE(column, nullptr);
  std::string titles;
  for (kxnode* c = column->firstChild; c; c = c->nextSibling) titles += static_cast<kxtext*>(c)->Text.Str() + ";";
  EXPECT_EQ(titles, "Camber 4;Outline 9;Plate 3;Sym 12;");
  Click(110, 110);
  EXPECT_TRUE(list->IsOpen());
  Click(110, 110);
  EXPECT_FALSE(list->IsOpen());
  // Escape closes the open list alone; the next one reaches the screen
  // (Escape leaves the designer).
  static int keys;
  keys = 0;
  kxgui::KeyHook = [](int, int) { ++keys; };
  Click(110, 110);
  Key(kxcode::kKeyEscape);
  EXPECT_FALSE(list->IsOpen());
  EXPECT_EQ(keys, 0);
  Key(kxcode::kKeyEscape);
  EXPECT_EQ(keys, 1);
  Click(110, 110);
  kxtext* sym = static_cast<kxtext*>(column->lastChild);
  // Where the entry lies on the screen, found as the pointer would find it.
  int x = 110, y = 0;
  for (; y < screen->H; ++y) {
    kxgui::Hot = nullptr;
    screen->HitTest(x, y);
    if (kxgui::Hot == sym) break;
  }
  Click(x, y);
  EXPECT_FALSE(list->IsOpen());
  ASSERT_NE(list->selection, nullptr);
  EXPECT_STREQ(list->selection->name.Text(), "Sym 12");
  // The pressed entry went with the list: the next key (Escape leaves the
  // designer) reaches the screen rather than the gone entry.
  Key(kxcode::kKeyEscape);
  kxgui::KeyHook = nullptr;
  EXPECT_EQ(keys, 2);
  list->Store();
  EXPECT_EQ(bound, list->selection);
  bound = nullptr;
  list->Refresh();
  EXPECT_EQ(list->selection, nullptr);
}

}  // namespace
