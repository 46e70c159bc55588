// Design objects on the sample trainer: the Objects menu, the page bar, the
// rule that keeps the open page between components of one type, and the
// edit cycle of a shown page.
#include <string>

#include "core/interpreter.h"
#include "designer/commands.h"
#include "designer/viewer_modes.h"
#include "designer/weight_page.h"
#include "designer_support.h"
#include "platform/codes.h"

namespace {

using designertest::designerfixture;
using designertest::testpage;

constexpr int kWingPages = 5;
constexpr int kFirstWingIcon = 40;

// Wings with five test pages, the fuselage with its weight page and one test page.
svdesignobject* WingObject(kxdbody* wing) {
  svdesignobject* object = new svdesignobject(wing);
  for (int i = 0; i < kWingPages; ++i) object->AddPage(new testpage(wing, kFirstWingIcon + i), "Dihedral");
  return object;
}

svdesignobject* FuselageObject(kxdbody* fuselage) {
  svdesignobject* object = new svdesignobject(fuselage);
  object->AddPage(new svdesignweightpage(fuselage), "Mass");
  object->AddPage(new testpage(fuselage, 0), "CenterOfGravity");
  return object;
}

class DesignObjectTest : public designerfixture {
 protected:
  void SetUp() override {
    designerfixture::SetUp();
    svdesign::RegisterObjectBuilder("kxdwing00", WingObject);
    svdesign::RegisterObjectBuilder("kxdfuselage00", FuselageObject);
  }
  static int PageIndex(const svdesignobject* o) {
    for (int i = 0; i < svdesignobject::kPages; ++i) {
      if (o->pages[i] == o->currentPage) return i;
    }
    return -1;
  }
};

TEST_F(DesignObjectTest, ObjectsMenuListsTheEditableComponentsWithTheirTranslatedNames) {
  ASSERT_EQ(kxscript::ReadFile(KX_TEST_DATA "/svgelanguage.kxd", &sim::Language()), 1);
  Enter();
  std::string menu;
  for (kxnode* c = State().menuObjects->firstChild; c; c = c->nextSibling) {
    const kxpopupitem* entry = static_cast<const kxpopupitem*>(c);
    menu += entry->Text.Str() + "=" + entry->OnPress.Str() + "\n";
  }
  EXPECT_EQ(menu,
            "Fuselage=DesignObjectActivate( \"Fuselage\" )\n"
            "Linker Fluegel=DesignObjectActivate( \"LeftWing\" )\n"
            "RightWing=DesignObjectActivate( \"RightWing\" )\n"
            "Stabilizer=DesignObjectActivate( \"Stabilizer\" )\n"
            "Fin=DesignObjectActivate( \"Fin\" )\n"
            "Motor=DesignObjectActivate( \"Motor\" )\n"
            "Propeller=DesignObjectActivate( \"Propeller\" )\n");
  // Joints, wheels, receiver and servos are objects too, without entries.
  EXPECT_EQ(static_cast<int>(State().objects.size()), State().aircraft->Template->ChildCount());
  EXPECT_STREQ(Object("Receiver")->titles[0].Text(), "Eigenschaften");
  Run("DesignObjectActivate( \"LeftWing\" )");
  EXPECT_EQ(State().currentObject, Object("LeftWing"));
  EXPECT_STREQ(State().currentObject->displayName.Text(), "Linker Fluegel");
}

TEST_F(DesignObjectTest, PageBarIsRightAlignedAndTheOpenPageStaysForTheSameType) {
  Enter();
  EXPECT_EQ(State().currentObject, State().aircraftObject);
  EXPECT_EQ(State().pageBar->W, 0);
  Run("DesignObjectActivate( \"LeftWing\" )");
  svdesignpanel* bar = State().pageBar;
  EXPECT_EQ(bar->X, 804);
  EXPECT_EQ(bar->W, 220);
  int i = 0;
  for (kxnode* c = bar->firstChild; c; c = c->nextSibling, ++i) {
    const svdesignbutton* b = static_cast<const svdesignbutton*>(c);
    EXPECT_EQ(b->X, 44 * i);
    EXPECT_EQ(b->iconIndex, kFirstWingIcon + i);
    EXPECT_STREQ(b->tooltip.Text(), "Dihedral");
  }
  EXPECT_EQ(i, kWingPages);
  EXPECT_EQ(PageIndex(Object("LeftWing")), 0);
  Run("DesignObjectPropertyOpen( 3 )");
  EXPECT_EQ(State().currentMode, &svdesign::Modes().objectProperty);
  Run("DesignObjectActivate( \"RightWing\" )");
  EXPECT_EQ(PageIndex(Object("RightWing")), 3);
  EXPECT_EQ(State().shownPage, Object("RightWing")->pages[3]);
  Run("DesignObjectActivate( \"Fuselage\" )");
  EXPECT_EQ(PageIndex(Object("Fuselage")), 0);
  EXPECT_EQ(bar->W, 88);
  Run("DesignObjectActivate( \"Nothing\" )");
  EXPECT_EQ(State().currentObject, Object("Fuselage"));
  svdesign::SwitchObject(nullptr);
  EXPECT_EQ(State().currentObject, State().aircraftObject);
  EXPECT_EQ(bar->firstChild, nullptr);
}

// The page bar owns the buttons it shows: the GUI may go before the design
// objects, and the objects' end then deletes nothing twice.
TEST_F(DesignObjectTest, PageButtonsBelongToThePageBarAlone) {
  Enter();
  Run("DesignObjectActivate( \"LeftWing\" )");
  EXPECT_EQ(State().pageBar->ChildCount(), kWingPages);
  Run("DesignObjectActivate( \"Fuselage\" )");
  EXPECT_EQ(State().pageBar->ChildCount(), 2);
  delete State().pageBar;  // the screen's tree goes first
  State().pageBar = nullptr;
  svdesign::Teardown();
  EXPECT_EQ(State().aircraft, nullptr);
}

TEST_F(DesignObjectTest, LeavingAPageStoresItsEditAndAnIndexOutsideOnlyHides) {
  Enter();
  kxdbody* wing = Object("LeftWing")->component;
  Run("DesignObjectActivate( \"LeftWing\" )");
  Run("DesignModeObjectSelect");
  testpage* page = static_cast<testpage*>(State().shownPage);
  ASSERT_EQ(kxgui::Focus, page->first);
  for (int k = 0; k < 12; ++k) Key(kxcode::kKeyBackspace);
  Type("321");
  Run("DesignObjectPropertyOpen( 16 )");
  EXPECT_FLOAT_EQ(wing->Mass, 0.321f);
  EXPECT_EQ(page->followUps, 1);
  EXPECT_EQ(State().shownPage, nullptr);
  EXPECT_EQ(State().currentMode, &svdesign::Modes().objectSelect);
  EXPECT_EQ(page->panel->parent, nullptr);
}

TEST_F(DesignObjectTest, NameWithQuotesAndBracketsStaysOneArgument) {
  ASSERT_EQ(kxdaircraftinstance::AircraftLoad("trainer", 0), 1);
  kxnode* fin = kxdaircraftinstance::Slot(0)->Template->FindChild("Fin");
  fin->name = "Fin \"A\" ); DesignGoBack; (";
  Enter(nullptr);
  const kxpopupitem* entry = static_cast<const kxpopupitem*>(State().menuObjects->firstChild->nextSibling->nextSibling->nextSibling->nextSibling);
  Run(entry->OnPress.Str());
  EXPECT_EQ(State().currentObject->component, fin);
  EXPECT_EQ(kxsystem::callbacks.pending, nullptr);
}

}  // namespace
