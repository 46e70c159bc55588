// The kxdwing00 pages the user reaches on a sample: the root and tip
// airfoil selectors, the aileron travel of a wing on the side whose
// travel is negative (y <= 0), shown and typed as a positive angle, and the
// shape pages of a wing without a mesh.
#include <cmath>
#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

#include "core/interpreter.h"
#include "designer/airfoil_list.h"
#include "designer/component_objects.h"
#include "designer/wing_pages.h"
#include "designer_support.h"
#include "dynamics/components/servos.h"
#include "dynamics/wings/airfoil.h"
#include "dynamics/wings/wing.h"
#include "gui/containers.h"

namespace {

using designertest::designerfixture;

constexpr float kDeg = units::kDegToRad;

class WingPagesTest : public designerfixture {
 protected:
  // The selectors of the shown airfoil page, left to right.
  static std::vector<svdesignairfoillist*> Selectors(const svdesignpage* page) {
    std::vector<svdesignairfoillist*> lists;
    for (kxnode* c = page->panel->firstChild; c; c = c->nextSibling) {
      if (auto* l = dynamic_cast<svdesignairfoillist*>(c)) lists.push_back(l);
    }
    std::sort(lists.begin(), lists.end(), [](auto* a, auto* b) { return a->X < b->X; });
    return lists;
  }
  // Opens the selector's list and presses the entry with that title.
  static void Choose(svdesignairfoillist* list, const char* title) {
    list->OnLeftDown();
    ASSERT_TRUE(list->IsOpen());
    for (kxnode* e = list->dropDown->firstChild->firstChild->firstChild; e; e = e->nextSibling) {
      kxtext* entry = static_cast<kxtext*>(e);
      if (entry->Text.Equal(title)) {
        kxscript::Execute(entry->onLeftDown.Text(), entry);
        return;
      }
    }
    FAIL() << "no entry " << title;
  }
};

// The tip selector shows and writes the second section's airfoil, the
// root selector the first's.
TEST_F(WingPagesTest, RootAndTipSelectorsWriteTheirOwnSections) {
  Enter();
  kxdwing* wing = static_cast<kxdwing*>(Object("LeftWing")->component);
  kxdairfoil* plate = kxdairfoil::Find("Plate 3");
  ASSERT_NE(plate, nullptr);
  kxdairfoil* root = wing->SectionAirfoil[0];
  wing->SectionAirfoil[1] = plate;
  Open("LeftWing", 2);
  std::vector<svdesignairfoillist*> lists = Selectors(Object("LeftWing")->currentPage);
  ASSERT_EQ(lists.size(), 2u);
  EXPECT_EQ(lists[0]->selection, root);
  EXPECT_EQ(lists[1]->selection, plate);
  Choose(lists[0], "Sym 12");
  Choose(lists[1], "Outline 9");
  Run("DesignPropertySetValues");
  ASSERT_NE(wing->SectionAirfoil[0], nullptr);
  ASSERT_NE(wing->SectionAirfoil[1], nullptr);
  EXPECT_STREQ(wing->SectionAirfoil[0]->name.Text(), "Sym 12");
  EXPECT_STREQ(wing->SectionAirfoil[1]->name.Text(), "Outline 9");
}

// On a wing at y < 0, and at y = 0, the aileron servo's travel is negative:
// the page shows its size, a typed size is stored negated, and the limits
// are 0..-60 degrees.
TEST_F(WingPagesTest, AileronTravelOfAWingAtYNotAboveZeroIsNegative) {
  Enter();
  kxdbody* right = static_cast<kxdbody*>(Object("RightWing")->component);
  kxdbody* left = static_cast<kxdbody*>(Object("LeftWing")->component);
  ASSERT_LT(right->B.R.y, 0.0f);
  left->B.R.y = 0.0f;  // on the centre line: built afresh below
  std::unique_ptr<svdesignobject> central(svdesign::Wing00Object(left));
  struct probe {
    svdesignobject* object;
    const char* typed;
    float travel;  // deg, stored
    const char* shown;
  } probes[] = {{Object("RightWing"), "20", -20, "20 deg"}, {Object("RightWing"), "75", -60, "60 deg"},
                {Object("RightWing"), "-15", 0, "0 deg"},   {central.get(), "20", -20, "20 deg"},
                {central.get(), "75", -60, "60 deg"},       {central.get(), "-15", 0, "0 deg"}};
  for (const probe& p : probes) {
    auto* page = dynamic_cast<svdesignwingdeflectionpage*>(p.object->pages[6]);
    ASSERT_NE(page, nullptr);
    ASSERT_NE(page->servo, nullptr);
    page->Refresh();
    svdesignfield* field = nullptr;
    for (kxnode* c = page->panel->firstChild; c; c = c->nextSibling) {
      if (auto* f = dynamic_cast<svdesignfield*>(c)) field = f;
    }
    ASSERT_NE(field, nullptr);
    std::snprintf(field->text, sizeof field->text, "%s", p.typed);
    page->Store();
    page->Refresh();
    EXPECT_NEAR(page->servo->P1, p.travel * kDeg, 1e-6f) << p.typed;
    EXPECT_STREQ(field->text, p.shown) << p.typed;
  }
  // Shown as read: the right aileron servo's -0.25 rad as its size.
  kxdservo00* servo = static_cast<svdesignwingdeflectionpage*>(Object("RightWing")->pages[6])->servo;
  servo->P1 = -0.25f;
  std::vector<svdesignfield*> fields = Open("RightWing", 6);
  ASSERT_EQ(fields.size(), 1u);
  EXPECT_STREQ(fields[0]->text, "14 deg");
}

// Only a mesh keeps a wing's span, dihedral and incidence through a Save:
// without one, their pages show nothing and take nothing.
TEST_F(WingPagesTest, AWingWithoutAMeshHasNoShapeForItsPagesToTake) {
  ASSERT_EQ(kxdaircraftinstance::AircraftLoad("trainer", 0), 1);
  auto* wing = static_cast<kxdwing*>(kxdaircraftinstance::Slot(0)->Template->FindChild("LeftWing"));
  wing->Geometry = nullptr;
  Enter(nullptr);
  const float before[3] = {wing->WingSpan, wing->Dihedral, wing->Incidence};
  for (int page : {0, 1, 3}) {
    Commit("LeftWing", page, {"7"});
    EXPECT_STREQ(Open("LeftWing", page)[0]->text, "") << page;
  }
  EXPECT_EQ(wing->WingSpan, before[0]);
  EXPECT_EQ(wing->Dihedral, before[1]);
  EXPECT_EQ(wing->Incidence, before[2]);
}

}  // namespace
