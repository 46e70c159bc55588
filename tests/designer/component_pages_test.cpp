// The component pages on the samples: page sets with icons and titles, the
// limits of every Store, the typed values that reshape meshes, and the
// servo travel pages.
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "core/interpreter.h"
#include "designer/engine_pages.h"
#include "designer/airfoil_list.h"
#include "designer/component_objects.h"
#include "designer/wing_pages.h"
#include "gui/containers.h"
#include "dynamics/wings/airfoil.h"
#include "dynamics/wings/multi_section_wing.h"
#include "dynamics/wings/sectioned_wing.h"
#include "designer_support.h"
#include "dynamics/components/engine00.h"
#include "dynamics/components/engine10.h"
#include "dynamics/components/main_rotor.h"
#include "dynamics/components/propeller.h"
#include "dynamics/components/servos.h"
#include "dynamics/components/tail_rotor.h"
#include "dynamics/components/turbines.h"
#include "dynamics/fuselage.h"
#include "dynamics/wings/wing.h"
#include "sim/player.h"
#include "sim/session.h"
#include "sim/views/shadow_prep.h"

namespace {

using designertest::designerfixture;

constexpr float kDeg = units::kDegToRad;

class ComponentPageTest : public designerfixture {
 protected:
  void TearDown() override {
    sim::players[svdesign::kDesignedPlayer].flight_state = nullptr;
    designerfixture::TearDown();
  }
  // Enters the designer with the sample unless it is already being edited.
  void Use(const char* sample) {
    if (loaded == sample) return;
    if (!loaded.empty()) svdesign::GoBack();
    Enter(sample);
    loaded = sample;
  }
  std::string loaded;
  template <class T>
  T* Component(const char* name) {
    return static_cast<T*>(Object(name)->component);
  }
  static std::string Icons(const svdesignobject* o) {
    std::string out;
    for (int i = 0; i < o->pageCount; ++i) out += std::to_string(o->pages[i]->icon) + " ";
    return out;
  }
};

TEST_F(ComponentPageTest, EveryComponentTypeShowsItsPagesWithIconsAndTitles) {
  struct probe {
    const char* sample;
    const char* component;
    const char* icons;
    const char* firstTitleKey;
    const char* lastTitleKey;
  } probes[] = {
      {"trainer", "LeftWing", "52 54 33 53 34 57 42 55 ", "SemiSpan", "FlapDeflection"},
      {"trainer", "Stabilizer", "43 41 33 40 34 35 42 ", "SemiSpan", "Deflection"},
      {"trainer", "Fin", "45 33 44 34 38 42 ", "SemiSpan", "Deflection"},
      {"trainer", "Motor", "29 30 31 ", "ElectricMotor", "ElectricGear"},
      {"trainer", "Propeller", "48 49 34 ", "Diameter", "Mass"},
      {"trainer", "Fuselage", "34 32 46 36 37 ", "Mass", "LiftDragTop"},
      {"christeneagle", "Engine", "59 58 34 51 50 ", "Power", "DownThrust"},
      {"heli", "Rotor", "62 31 34 63 ", "Diameter", "Control"},
      {"heli", "Tail", "60 31 63 27 ", "Diameter", "Gyro"},
  };
  for (const probe& p : probes) {
    Use(p.sample);
    const svdesignobject* o = Object(p.component);
    ASSERT_NE(o, nullptr) << p.component;
    EXPECT_EQ(Icons(o), p.icons) << p.component;
    EXPECT_STREQ(o->titles[0].Text(), sim::Language().Text(p.firstTitleKey)) << p.component;
    EXPECT_STREQ(o->titles[o->pageCount - 1].Text(), sim::Language().Text(p.lastTitleKey)) << p.component;
  }
  Use("jet");
  bool turbine = false;
  for (const svdesignobject* o : State().objects) {
    if (o->component && kxtype::IsDerivedFrom(o->component->type, &kxdturbine00::Type)) {
      EXPECT_EQ(Icons(o), "26 ");
      turbine = true;
    }
  }
  EXPECT_TRUE(turbine);
}

// The flap condition: a kxdwing10 or kxdwing11 needs a flap drive, a
// kxdwing12 also a flap mesh.
TEST_F(ComponentPageTest, DeflectionPageFollowsTheFlapConditionOfEachClass) {
  Enter();
  kxdaircraft* components = State().aircraft->Template;
  kxdwing* fin = Component<kxdwing>("Fin");
  float* link = static_cast<kxdwing10*>(static_cast<kxdbody*>(fin))->FlapLink;
  ASSERT_NE(link, nullptr);
  struct probe {
    const char* type;
    bool flapMesh;
    int pages;
  } probes[] = {{"kxdwing10", false, 7}, {"kxdwing11", false, 6}, {"kxdwing12", false, 3}, {"kxdwing12", true, 4}};
  for (const probe& p : probes) {
    kxdwing10* wing = static_cast<kxdwing10*>(kxdbody::As(kxtype::Find(p.type)->Create()));
    components->AppendChild(wing);
    wing->FlapLink = link;
    wing->Flap = p.flapMesh ? fin->Geometry : nullptr;
    svdesignobject* o = svdesign::Wing10Object(wing);
    if (std::strcmp(p.type, "kxdwing11") == 0) o = (delete o, svdesign::Wing11Object(wing));
    if (std::strcmp(p.type, "kxdwing12") == 0) o = (delete o, svdesign::Wing12Object(wing));
    EXPECT_EQ(o->pageCount, p.pages) << p.type << p.flapMesh;
    EXPECT_EQ(o->pages[o->pageCount - 1]->icon, p.pages == 3 ? 38 : 42);
    delete o;
    delete wing;
  }
}

TEST_F(ComponentPageTest, StoresKeepTheirLimits) {
  struct probe {
    const char* sample;
    const char* component;
    int page;
    std::initializer_list<const char*> typed;
    float (*member)(kxdbody*);
    float expected;
  } probes[] = {
      {"trainer", "LeftWing", 5, {"150"}, [](kxdbody* c) { return static_cast<kxdwing*>(c)->PropWashFactor; }, 1.0f},
      {"trainer", "LeftWing", 5, {"-5"}, [](kxdbody* c) { return static_cast<kxdwing*>(c)->PropWashFactor; }, 0.0f},
      {"trainer", "Fuselage", 1, {"80"}, [](kxdbody* c) { return static_cast<kxdfuselage00*>(c)->CG.x; }, 0.5f},
      {"trainer", "Fuselage", 1, {nullptr, nullptr, "-30"}, [](kxdbody* c) { return static_cast<kxdfuselage00*>(c)->CG.z; }, -0.2f},
      {"trainer", "Fuselage", 2, {"-1"}, [](kxdbody* c) { return static_cast<kxdfuselage00*>(c)->Cdx; }, 0.0f},
      {"trainer", "Fuselage", 3, {"0.5", "3.5"}, [](kxdbody* c) { return static_cast<kxdfuselage00*>(c)->Cly; }, 2.0f},
      {"trainer", "Fuselage", 4, {"2.5", "0.25"}, [](kxdbody* c) { return static_cast<kxdfuselage00*>(c)->Cdz; }, 2.0f},
      {"trainer", "Motor", 0, {nullptr, "15"}, [](kxdbody* c) { return static_cast<kxdengine10*>(c)->MotorRi; }, 0.015f},
      {"christeneagle", "Engine", 0, {"0"}, [](kxdbody* c) { return static_cast<kxdengine00*>(c)->PowerMax; }, 100.0f},
      {"christeneagle", "Engine", 0, {"25"}, [](kxdbody* c) { return static_cast<kxdengine00*>(c)->PowerMax; }, 20000.0f},
      {"christeneagle", "Engine", 0, {nullptr, "150"}, [](kxdbody* c) { return static_cast<kxdengine00*>(c)->TorqueFactor; }, 1.0f},
      {"christeneagle", "Engine", 1, {"150"}, [](kxdbody* c) { return static_cast<kxdengine00*>(c)->RotationSpeedIdle; }, 200.0f / units::kRadPerSecToRpm},
      {"christeneagle", "Engine", 1, {"0", "40000"}, [](kxdbody* c) { return static_cast<kxdengine00*>(c)->RotationSpeedMax; }, 35000.0f / units::kRadPerSecToRpm},
      {"christeneagle", "Engine", 1, {"3000", "1000"}, [](kxdbody* c) { return static_cast<kxdengine00*>(c)->RotationSpeedMax; }, 6000.0f / units::kRadPerSecToRpm},
      {"heli", "Rotor", 1, {"0"}, [](kxdbody* c) { return static_cast<kxdmainrotor*>(c)->GearRatio; }, 1.0f},
      {"heli", "Rotor", 1, {"80"}, [](kxdbody* c) { return static_cast<kxdmainrotor*>(c)->GearRatio; }, 50.0f},
      {"heli", "Rotor", 3, {"5", "3", "20"}, [](kxdbody* c) { return static_cast<kxdmainrotor*>(c)->PitchMin; }, 2.0f * kDeg},
      {"heli", "Rotor", 3, {"5", "3", "20"}, [](kxdbody* c) { return static_cast<kxdmainrotor*>(c)->PitchMax; }, 4.0f * kDeg},
      {"heli", "Rotor", 3, {"5", "3", "20"}, [](kxdbody* c) { return static_cast<kxdmainrotor*>(c)->PitchCyclic; }, 10.0f * kDeg},
      {"heli", "Tail", 2, {"5", "-5"}, [](kxdbody* c) { return static_cast<kxdtailrotor00*>(c)->PitchMin; }, 0.0f},
      {"heli", "Tail", 2, {"5", "-5"}, [](kxdbody* c) { return static_cast<kxdtailrotor00*>(c)->PitchMax; }, 0.0f},
      {"heli", "Tail", 3, {"150"}, [](kxdbody* c) { return static_cast<kxdtailrotor00*>(c)->GyroGain; }, 1.0f},
      {"heli", "Tail", 3, {"90"}, [](kxdbody* c) { return static_cast<kxdtailrotor00*>(c)->GyroGain; }, 0.9f},
      {"heli", "Tail", 3, {nullptr, nullptr, "-70"}, [](kxdbody* c) { return static_cast<kxdtailrotor00*>(c)->GyroZero; }, -0.5f},
      {"heli", "Tail", 3, {nullptr, nullptr, nullptr, "2000"}, [](kxdbody* c) { return static_cast<kxdtailrotor00*>(c)->GyroSpeed; }, 1440.0f * kDeg},
  };
  for (const probe& p : probes) {
    Use(p.sample);
    Commit(p.component, p.page, p.typed);
    float got = p.member(Object(p.component)->component);
    EXPECT_NEAR(got, p.expected, 1e-4f * std::fmax(1.0f, std::fabs(p.expected))) << p.component << " " << p.page;
  }
}

TEST_F(ComponentPageTest, TurbineThrustIsClampedAndTheEngineReanalysed) {
  Enter("jet");
  for (svdesignobject* o : State().objects) {
    if (!o->component || !kxtype::IsDerivedFrom(o->component->type, &kxdturbine00::Type)) continue;
    kxdturbine00* t = static_cast<kxdturbine00*>(o->component);
    for (auto [typed, expected] : {std::pair{"5", 10.0f}, std::pair{"800", 500.0f}}) {
      Commit(o->name.Text(), 0, {typed});
      EXPECT_FLOAT_EQ(t->ThrustMax, expected);
    }
    return;
  }
  FAIL() << "no turbine";
}

// Semi-span, dihedral and incidence reshape the wing and its direct
// children; the analysis then measures the typed value back.
TEST_F(ComponentPageTest, TypedWingValuesReshapeTheMeshWithinTheirRanges) {
  Enter();
  kxdwing* left = Component<kxdwing>("LeftWing");
  const float span = left->WingSpan;
  ASSERT_GT(span, 0.0f);
  EXPECT_FLOAT_EQ(left->RangeSpanMax, 2.0f * span);
  char typed[32];
  std::snprintf(typed, sizeof typed, "%.1f", 300.0f * span);  // cm: three times the span
  Commit("LeftWing", 0, {typed});
  EXPECT_NEAR(left->WingSpan, 2.0f * span, 0.01f * span);
  Commit("LeftWing", 1, {"40"});
  EXPECT_NEAR(left->Dihedral, 25.0f * kDeg, 0.5f * kDeg);
  Commit("LeftWing", 3, {"-15"});
  EXPECT_NEAR(left->Incidence, -10.0f * kDeg, 0.5f * kDeg);
  kxdwing* stabilizer = Component<kxdwing>("Stabilizer");
  Commit("Stabilizer", 1, {"60"});
  EXPECT_NEAR(stabilizer->Dihedral, 45.0f * kDeg, 0.5f * kDeg);
  Commit("Stabilizer", 1, {"-20"});
  EXPECT_NEAR(stabilizer->Dihedral, -10.0f * kDeg, 0.5f * kDeg);
  Commit("Stabilizer", 3, {"15"});
  EXPECT_NEAR(stabilizer->Incidence, 10.0f * kDeg, 0.5f * kDeg);
}

// The flight's ground shadow is measured again when the designer is left:
// twice the span casts a wider one.
TEST_F(ComponentPageTest, LeavingTheDesignerMakesTheGroundShadowAgain) {
  Enter();
  simplayer& p = sim::players[svdesign::kDesignedPlayer];
  p.legacy = 0;
  p.flight_state = kxdaircraftinstance::FlightStateOf(svdesign::kDesignedPlayer);
  std::snprintf(sim::session.settings.aircraft0, sizeof sim::session.settings.aircraft0, "trainer");
  sim::GenerateShadow(svdesign::kDesignedPlayer);
  const float reach = p.flight_state->shadow.max[0];
  const float span = Component<kxdwing>("LeftWing")->WingSpan;
  ASSERT_GT(reach, 0.5f * span);
  char typed[32];
  std::snprintf(typed, sizeof typed, "%.1f", 200.0f * span);  // cm: twice the span
  Commit("LeftWing", 0, {typed});
  svdesign::GoBack();
  EXPECT_GT(p.flight_state->shadow.max[0], reach + 0.75f * span);
  EXPECT_FLOAT_EQ(p.flight_state->bounds_max[0], p.flight_state->shadow.max[0]);
}

TEST_F(ComponentPageTest, SpanOfAWingNeverAnalysedIsRefused) {
  Enter();
  kxdwing* left = Component<kxdwing>("LeftWing");
  svdesignwingspanpage page(pageicon::kMainWingSpan, left);
  kxvector4r before;
  left->Geometry->TransformVertex(&before, 0, kxmatrix::Identity());
  left->WingSpan = 0.5f;
  page.Apply(0.5f, 0.0f, 1);
  EXPECT_FLOAT_EQ(left->WingSpan, 0.0f);
  kxvector4r after;
  left->Geometry->TransformVertex(&after, 0, kxmatrix::Identity());
  EXPECT_EQ(after, before);
}

TEST_F(ComponentPageTest, DiameterScalesTheBladesOutsideTheHubAndPitchStaysWithinItsRange) {
  Enter();
  kxdpropeller00* p = Component<kxdpropeller00>("Propeller");
  const float radius = p->Radius;
  ASSERT_GT(radius, 0.0f);
  Commit("Propeller", 0, {"100"});  // in: beyond twice the radius
  EXPECT_NEAR(p->Radius, 2.0f * radius, 0.01f * radius);
  Commit("Propeller", 0, {"0"});
  EXPECT_NEAR(p->Radius, 0.5f * radius, 0.01f * radius);
  const float r = p->Radius;
  Commit("Propeller", 1, {"1000"});
  EXPECT_NEAR(p->Pitch, 2.0f * r, 1e-4f * r);
  Commit("Propeller", 1, {"0"});
  EXPECT_NEAR(p->Pitch, 0.5f * r, 1e-4f * r);
}

TEST_F(ComponentPageTest, RotorDiameterIsShownInTheLengthUnitAndClamped) {
  Enter("heli");
  kxdmainrotor* rotor = Component<kxdmainrotor>("Rotor");
  std::vector<svdesignfield*> fields = Open("Rotor", 0);
  ASSERT_EQ(fields.size(), 1u);
  char shown[32];
  std::snprintf(shown, sizeof shown, "%.1f cm", 200.0f * rotor->Radius);
  EXPECT_STREQ(fields[0]->text, shown);
  const float max = rotor->RangeRadiusMax;
  Commit("Rotor", 0, {"100000"});
  EXPECT_NEAR(rotor->Radius, max, 0.01f * max);
}

// Right thrust turns the axis's heading, down thrust its elevation; the
// frame stays orthonormal, the mesh moves with it and a pusher stays one.
TEST_F(ComponentPageTest, ThrustAnglesTurnTheEngineFrameAndKeepAPusherPushing) {
  Enter("christeneagle");
  kxdengine00* engine = Component<kxdengine00>("Engine");
  // The sample's engine has no mesh of its own: the fuselage's stands in.
  if (!engine->Geometry) engine->Geometry = Object("Fuselage")->component->Geometry;
  ASSERT_NE(engine->Geometry, nullptr);
  std::vector<svdesignfield*> fields = Open("Engine", 3);
  EXPECT_STREQ(fields[0]->text, "0 deg");
  kxvector4r before;
  engine->Geometry->TransformVertex(&before, 0, kxmatrix::Identity());
  Commit("Engine", 3, {"7"});
  const kxmatrix& b = engine->B;
  EXPECT_NEAR(-std::atan(b.X.y / b.X.x), 5.0f * kDeg, 1e-5f);
  EXPECT_NEAR(kxvector4r::Dot3(b.X, b.Y), 0.0f, 1e-5f);
  EXPECT_NEAR(b.Y.z, 0.0f, 1e-6f);
  EXPECT_STREQ(Open("Engine", 3)[0]->text, "5 deg");
  kxvector4r after;
  engine->Geometry->TransformVertex(&after, 0, kxmatrix::Identity());
  EXPECT_NE(after, before);
  Commit("Engine", 4, {"3"});
  EXPECT_NEAR(std::asin(engine->B.X.z), -3.0f * kDeg, 1e-5f);
  EXPECT_NEAR(-std::atan(engine->B.X.y / engine->B.X.x), 5.0f * kDeg, 1e-4f);

  engine->B.X = {-1.0f, 0.0f, 0.0f, 0.0f};
  engine->B.Y = {0.0f, -1.0f, 0.0f, 0.0f};
  Commit("Engine", 3, {"2"});
  EXPECT_LT(engine->B.X.x, 0.0f);
  EXPECT_NEAR(-std::atan(engine->B.X.y / engine->B.X.x), 2.0f * kDeg, 1e-5f);
  engine->B.X = {0.0f, 0.0f, 1.0f, 0.0f};  // straight up: no heading to set
  const kxmatrix vertical = engine->B;
  Commit("Engine", 3, {"3"});
  EXPECT_EQ(engine->B.X, vertical.X);
  EXPECT_EQ(engine->B.Y, vertical.Y);
}

TEST_F(ComponentPageTest, DeflectionAndFlapTravelWriteTheirServo) {
  Enter();
  kxdwing* left = Component<kxdwing>("LeftWing");
  kxdservo00* aileron = svdesign::DriveServo(left, static_cast<kxdwing00*>(static_cast<kxdbody*>(left))->AileronLink);
  ASSERT_NE(aileron, nullptr);
  const float sign = left->B.R.y > 0.0f ? 1.0f : -1.0f;
  Commit("LeftWing", 6, {"75"});
  EXPECT_NEAR(aileron->P1, sign * 60.0f * kDeg, 1e-5f);
  Commit("LeftWing", 6, {"-15"});
  EXPECT_FLOAT_EQ(aileron->P1, 0.0f);
  // The trainer's wings have no flap drive: the flap page shows nothing.
  EXPECT_STREQ(Open("LeftWing", 7)[0]->text, "");

  kxdservo00 servo;
  // The last servo travels negatively: its ends are shown as those of its
  // travel, and its sense stays.
  struct probe {
    float senseP1;  // the servo's P1 before
    const char* up;
    const char* down;
    float p0, p1;  // deg
    const char* shownUp;
    const char* shownDown;
  } probes[] = {{1.0f, "10", "50", 20, 20, "0 deg", "40 deg"},
                {1.0f, "-30", "-5", -10, 10, "-20 deg", "0 deg"},
                {-0.0f, "-10", "20", 5, -15, "-10 deg", "20 deg"}};
  for (const probe& p : probes) {
    servo.P1 = p.senseP1;
    svdesignwingflappage page(left, &servo);
    page.Refresh();
    std::vector<svdesignfield*> fields;
    for (kxnode* c = page.panel->firstChild; c; c = c->nextSibling) {
      if (svdesignfield* f = dynamic_cast<svdesignfield*>(c)) fields.push_back(f);
    }
    ASSERT_EQ(fields.size(), 2u);
    std::strcpy(fields[0]->text, p.up);
    std::strcpy(fields[1]->text, p.down);
    page.Store();
    page.Refresh();
    EXPECT_NEAR(servo.P0, p.p0 * kDeg, 1e-5f);
    EXPECT_NEAR(servo.P1, p.p1 * kDeg, 1e-5f);
    EXPECT_STREQ(fields[0]->text, p.shownUp);
    EXPECT_STREQ(fields[1]->text, p.shownDown);
  }
}

TEST_F(ComponentPageTest, AirfoilPageListsAndSetsTheRootAirfoil) {
  Enter();
  Open("Stabilizer", 2);
  svdesignairfoillist* list = nullptr;
  for (kxnode* c = Object("Stabilizer")->pages[2]->panel->firstChild; c; c = c->nextSibling) {
    if (auto* l = dynamic_cast<svdesignairfoillist*>(c)) list = l;
  }
  ASSERT_NE(list, nullptr);
  kxdwing* wing = Component<kxdwing>("Stabilizer");
  EXPECT_EQ(list->selection, wing->SectionAirfoil[0]);
  list->OnLeftDown();
  ASSERT_TRUE(list->IsOpen());
  kxtext* sym = static_cast<kxtext*>(list->dropDown->firstChild->firstChild->lastChild);
  kxscript::Execute(sym->onLeftDown.Text(), sym);
  ASSERT_NE(list->selection, nullptr);
  EXPECT_STREQ(list->selection->name.Text(), "Sym 12");
  Run("DesignPropertySetValues");
  EXPECT_EQ(wing->SectionAirfoil[0], list->selection);
}

}  // namespace
