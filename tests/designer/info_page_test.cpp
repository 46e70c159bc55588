// The whole-aircraft object's info page: its lines in both unit systems, for
// an airplane and a rotorcraft built in code and for the samples.
#include <string>

#include "designer/aircraft_object.h"
#include "designer_support.h"
#include "dynamics/components/main_rotor.h"
#include "dynamics/wings/multi_section_wing.h"

namespace {

using designertest::designerfixture;

class InfoPageTest : public designerfixture {
 protected:
  void TearDown() override {
    delete instance.Template;
    designerfixture::TearDown();
  }
  // An aircraft of one body without geometry, a wing of that area and, for
  // a rotorcraft, a rotor of that radius.
  void Build(float mass, float area, float rotorRadius = 0.0f) {
    instance.Template = new kxdaircraft;
    kxdbody* body = new kxdbody;
    body->Mass = mass;
    instance.Template->AppendChild(body);
    kxdwing00* wing = new kxdwing00;
    wing->Mass = 0.0f;
    wing->WingArea = area;
    instance.Template->AppendChild(wing);
    if (rotorRadius > 0.0f) {
      kxdrotor00* rotor = new kxdrotor00;
      rotor->Mass = 0.0f;
      rotor->Radius = rotorRadius;
      instance.Template->AppendChild(rotor);
      instance.TypeWord = svdesigninfopage::kRotorcraftBit;
    }
  }
  // The page's lines, top row first, "|" between them.
  std::string Lines() {
    svdesigninfopage page(&instance);
    page.Refresh();
    std::string out;
    for (kxtext* label : {page.areaLabel, page.loadingLabel, page.lengthLabel, page.rotorLabel, page.massLabel,
                          page.spanLabel}) {
      if (label) out += label->Text.Str() + "|";
    }
    return out;
  }
  kxdaircraftinstance instance;
};

TEST_F(InfoPageTest, AirplaneLinesInBothUnitSystems) {
  Build(1.2f, 0.45f);
  EXPECT_EQ(Lines(),
            "Area:  45.0 qdm|Area loading:  26.7 g/qdm|Length:  -2000.0 cm|Gross weight:  1200.00 g|"
            "Wingspan:  -2000.0 cm|");
  units::SetImperial();
  EXPECT_EQ(Lines(),
            "Area:  697.5 sq in|Area loading:  8.7 oz/sq ft|Length:  -787.4 in|Gross weight:  2.65 lb|"
            "Wingspan:  -787.4 in|");
}

TEST_F(InfoPageTest, WeightWithoutWingAreaAndTheLanguagesWords) {
  Build(1.2345f, 0.0f);
  ASSERT_EQ(kxscript::ReadFile(KX_TEST_DATA "/svgelanguage.kxd", &sim::Language()), 1);
  EXPECT_EQ(Lines(),
            "Area:  0.0 qdm|Area loading:  0.0 g/qdm|Length:  -2000.0 cm|Abfluggewicht:  1234.50 g|"
            "Wingspan:  -2000.0 cm|");
  units::SetImperial();
  svdesigninfopage page(&instance);
  EXPECT_EQ(page.massLabel->X, 8);
  EXPECT_EQ(page.lengthLabel->X, 408);
  EXPECT_EQ(page.lengthLabel->Y, 28);
  page.Refresh();
  EXPECT_EQ(page.massLabel->Text, "Abfluggewicht:  2.72 lb");
}

TEST_F(InfoPageTest, RotorcraftShowsWeightAndRotorDiameterOnly) {
  Build(2.0f, 0.0f, 0.75f);
  EXPECT_EQ(Lines(), "Rotor diameter:  150.0 cm|Gross weight:  2000.00 g|");
  units::SetImperial();
  EXPECT_EQ(Lines(), "Rotor diameter:  59.1 in|Gross weight:  4.41 lb|");
}

TEST_F(designerfixture, SamplesShowTheirFiguresOnEntry) {
  auto lines = [] {
    std::string out;
    for (kxnode* c = State().shownPage->panel->firstChild; c; c = c->nextSibling) {
      out += static_cast<kxtext*>(c)->Text.Str() + "|";
    }
    return out;
  };
  Enter("trainer");
  EXPECT_EQ(lines(),
            "Gross weight:  2130.00 g|Area:  46.6 qdm|Area loading:  45.7 g/qdm|Wingspan:  160.0 cm|"
            "Length:  126.2 cm|");
  svdesign::GoBack();
  units::SetImperial();
  Enter("heli");
  EXPECT_EQ(lines(), "Gross weight:  6.83 lb|Rotor diameter:  55.1 in|");
}

}  // namespace
