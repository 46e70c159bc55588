// Every key the property pages edit, through the whole round trip a user
// makes: each page of each sample committed with a new value, the aircraft
// saved and flown (the simulated clone made at the start of a flight holds
// the edited values), then loaded again from what was written. Runs on
// copies of the samples in a temporary folder.
#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "core/interpreter.h"
#include "core/output.h"
#include "core/value.h"
#include "designer/airfoil_list.h"
#include "designer/check_box.h"
#include "designer_support.h"
#include "dynamics/aircraft.h"
#include "dynamics/driver.h"
#include "dynamics/components/servos.h"
#include "dynamics/wings/multi_section_wing.h"
#include "dynamics/wings/wing.h"
#include "dynamics/world.h"
#include "gui/containers.h"
#include "tests/dynamics/all/samples_support.h"
#include "tests/temp_dir.h"

namespace {

using designertest::designerfixture;

// One page committed: the texts typed into its fields in panel order (null:
// left as shown), the airfoils chosen in its selectors left to right (null:
// left), and whether its check box is clicked.
struct edit {
  const char* component;
  int page;
  std::vector<const char*> typed;
  std::vector<const char*> airfoils = {};
  bool click = false;
};

// A value the pages edit: a key of the component's file lines, or a value
// the analysis measures from the saved mesh (read by member).
struct key {
  const char* component;
  const char* name;
  float relative = 1e-4f;   // of the value: the files keep at least six digits
  float absolute = 1e-6f;   // m, rad or the key's unit: four decimals, or what the analysis measures
  float (*measured)(kxnode*) = nullptr;
};

float Span(kxnode* n) { return static_cast<kxdwing*>(kxdbody::As(n))->WingSpan; }
float Dihedral(kxnode* n) { return static_cast<kxdwing*>(kxdbody::As(n))->Dihedral; }
float Incidence(kxnode* n) { return static_cast<kxdwing*>(kxdbody::As(n))->Incidence; }

// The trainer's wings have no flap: the left one gets a servo to drive one.
void AddFlapServo(kxdaircraftinstance* instance) {
  auto* servo = static_cast<kxdservo00*>(kxdbody::As(kxtype::Find("kxdservo00")->Create()));
  servo->name = "FlapServo";
  instance->Template->AppendChild(servo);
  static_cast<kxdwing00*>(kxdbody::As(instance->Template->FindChild("LeftWing")))->FlapLink = &servo->MechLink;
}

const struct {
  const char* sample;
  std::vector<edit> edits;
  std::vector<key> keys;
  void (*prepare)(kxdaircraftinstance*) = nullptr;
} kSamples[] = {
    {"trainer",
     {{"LeftWing", 0, {"70"}},
      {"LeftWing", 1, {"7"}},
      {"LeftWing", 2, {}, {"Sym 12", "Plate 3"}},
      {"LeftWing", 3, {"2"}},
      {"LeftWing", 4, {"160"}},
      {"LeftWing", 5, {"40"}},
      {"LeftWing", 6, {"20"}},
      {"LeftWing", 7, {"-10", "30"}},
      {"RightWing", 6, {"18"}},
      {"Stabilizer", 2, {}, {"Outline 9"}},
      {"Stabilizer", 4, {"60"}},
      {"Stabilizer", 5, {"25"}},
      {"Fin", 5, {"15"}},
      {"Motor", 0, {"1500", "30", "1.2", "250"}, {}, true},
      {"Motor", 1, {"12", "1.25", "50", "0.35"}},
      {"Motor", 2, {"2.5", "30"}},
      {"Propeller", 0, {"12"}},
      {"Propeller", 1, {"7"}},
      {"Propeller", 2, {"25"}},
      {"Fuselage", 0, {"800"}},
      {"Fuselage", 1, {"3", "0.5", "-1"}},
      {"Fuselage", 2, {"0.35"}},
      {"Fuselage", 3, {"0.9", "0.4"}},
      {"Fuselage", 4, {"1.1", "0.25"}}},
     {{"LeftWing", "semi-span", 0, 0.002f, Span},
      {"LeftWing", "dihedral", 0, 0.005f, Dihedral},
      {"LeftWing", "incidence", 0, 0.005f, Incidence},
      {"LeftWing", "SectionAirfoil(0)"},
      {"LeftWing", "SectionAirfoil(1)"},
      {"LeftWing", "Mass"},
      {"LeftWing", "PropWashFactor"},
      {"LeftAileronServo", "P1"},
      {"FlapServo", "P0"},
      {"FlapServo", "P1"},
      {"RightAileronServo", "P1"},
      {"Stabilizer", "SectionAirfoil(0)"},
      {"Stabilizer", "Mass"},
      {"Stabilizer", "PropWashFactor"},
      {"RudderServo", "P1"},
      {"Motor", "MotorNs"},
      {"Motor", "MotorRi"},
      {"Motor", "MotorI0"},
      {"Motor", "MotorMass"},
      {"Motor", "ConstantRPM"},
      {"Motor", "CellNum"},
      {"Motor", "CellVoltage"},
      {"Motor", "CellMass"},
      {"Motor", "CellRi"},
      {"Motor", "GearRatio"},
      {"Motor", "GearMass"},
      {"Propeller", "Radius", 0, 0.002f},
      {"Propeller", "Pitch", 0, 0.002f},
      {"Propeller", "Mass"},
      {"Fuselage", "Mass"},
      {"Fuselage", "CG", 0, 5e-5f},
      {"Fuselage", "Cdx"},
      {"Fuselage", "Cdy"},
      {"Fuselage", "Cly"},
      {"Fuselage", "Cdz"},
      {"Fuselage", "Clz"}},
     AddFlapServo},
    {"christeneagle",
     {{"Engine", 0, {"1.5", "80"}},
      {"Engine", 1, {"2500", "9000"}},
      {"Engine", 2, {"600"}},
      {"Engine", 3, {"2"}},
      {"Engine", 4, {"3"}}},
     {{"Engine", "PowerMax"},
      {"Engine", "TorqueFactor"},
      {"Engine", "RotationSpeedIdle"},
      {"Engine", "RotationSpeedMax"},
      {"Engine", "Mass"},
      {"Engine", "X", 0, 5e-5f}}},
    {"heli",
     {{"Rotor", 0, {"150"}},
      {"Rotor", 1, {"9.5"}},
      {"Rotor", 2, {"95"}},
      {"Rotor", 3, {"-3", "11", "7"}},
      {"Tail", 0, {"28"}},
      {"Tail", 1, {"4.5"}},
      {"Tail", 2, {"-8", "12"}},
      {"Tail", 3, {"55", "70", "10", "400"}, {}, true}},
     {{"Rotor", "Radius", 0, 0.002f},
      {"Rotor", "GearRatio"},
      {"Rotor", "BladeMass"},
      {"Rotor", "PitchMin"},
      {"Rotor", "PitchMax"},
      {"Rotor", "PitchCyclic"},
      {"Tail", "Radius", 0, 0.002f},
      {"Tail", "GearRatio"},
      {"Tail", "PitchMin"},
      {"Tail", "PitchMax"},
      {"Tail", "GyroGain"},
      {"Tail", "GyroRange"},
      {"Tail", "GyroZero"},
      {"Tail", "GyroSpeed"},
      {"Tail", "GyroLock"}}},
    {"jet", {{"Turbine", 0, {"45"}}}, {{"Turbine", "ThrustMax"}}},
};

// A value as numbers (a number, or a vector's x, y, z), else as its text.
struct reading {
  std::vector<float> numbers;
  std::string text;
};

reading Read(kxnode* tree, const key& k) {
  reading r;
  kxnode* n = tree ? tree->FindChild(k.component) : nullptr;
  if (!n) return r;
  if (k.measured) {
    r.numbers = {k.measured(n)};
    return r;
  }
  kxvalueptr v = kxscript::Evaluate(k.name, n);
  if (!v) return r;
  double number;
  float vector[4];
  if (v->GetNumber(number)) {
    r.numbers = {static_cast<float>(number)};
  } else if (v->GetVector(vector)) {
    r.numbers = {vector[0], vector[1], vector[2]};
  } else {
    kxout out;
    v->Print(out);
    r.text = out.Text();
  }
  return r;
}

bool Same(const reading& a, const reading& b, const key& k) {
  if (a.text != b.text || a.numbers.size() != b.numbers.size() || (a.numbers.empty() && a.text.empty())) return false;
  for (size_t i = 0; i < a.numbers.size(); ++i) {
    const float allowed = k.relative * std::fabs(a.numbers[i]) + k.absolute;
    if (!(std::fabs(a.numbers[i] - b.numbers[i]) <= allowed)) return false;
  }
  return true;
}

std::string Shown(const reading& r) {
  std::string out = r.text;
  for (float f : r.numbers) out += std::to_string(f) + " ";
  return out;
}

class SaveRoundTripTest : public designerfixture {
 protected:
  void SetUp() override {
    designerfixture::SetUp();
    folder = std::make_unique<kxtest::tempdir>(true);
    kxdtest::CopyFromData("aircraft/airfoil");
  }
  void TearDown() override {
    kxdynamics::Stop();
    designerfixture::TearDown();
    folder.reset();
  }
  // Types, chooses and clicks as the edit says, then commits the page.
  static void Make(const edit& e) {
    std::vector<svdesignfield*> fields = Open(e.component, e.page);
    ASSERT_GE(fields.size(), e.typed.size()) << e.component << " " << e.page;
    for (size_t i = 0; i < e.typed.size(); ++i) {
      if (e.typed[i]) std::snprintf(fields[i]->text, sizeof fields[i]->text, "%s", e.typed[i]);
    }
    std::vector<kxgraphic*> lists, boxes;
    for (kxnode* c = Object(e.component)->currentPage->panel->firstChild; c; c = c->nextSibling) {
      if (auto* l = dynamic_cast<svdesignairfoillist*>(c)) lists.push_back(l);
      if (auto* b = dynamic_cast<svdesigncheck*>(c)) boxes.push_back(b);
    }
    std::sort(lists.begin(), lists.end(), [](kxgraphic* a, kxgraphic* b) { return a->X < b->X; });
    ASSERT_GE(lists.size(), e.airfoils.size());
    for (size_t i = 0; i < e.airfoils.size(); ++i) {
      kxscript::Execute((std::string("SetAirfoil( \"") + e.airfoils[i] + "\" )").c_str(), lists[i]);
    }
    if (e.click) {
      ASSERT_EQ(boxes.size(), 1u);
      boxes[0]->OnLeftDown();
      boxes[0]->OnLeftUp();
    }
    Run("DesignPropertySetValues");
  }
  std::unique_ptr<kxtest::tempdir> folder;
  kxdflatground ground;
};

TEST_F(SaveRoundTripTest, EveryEditedKeyReachesTheFlightAndComesBackFromTheSavedFiles) {
  for (const auto& sample : kSamples) {
    SCOPED_TRACE(sample.sample);
    kxdtest::CopyFromData(std::string("aircraft/") + sample.sample);
    ASSERT_EQ(kxdaircraftinstance::AircraftLoad(sample.sample, 0), 1);
    if (sample.prepare) sample.prepare(kxdaircraftinstance::Slot(0));
    Enter(nullptr);
    kxdaircraftinstance* instance = State().aircraft;
    std::vector<reading> before, committed;
    for (const key& k : sample.keys) before.push_back(Read(instance->Template, k));
    for (const edit& e : sample.edits) Make(e);
    for (const key& k : sample.keys) committed.push_back(Read(instance->Template, k));
    Run("savesystem");
    svdesign::GoBack();

    kxdynamics::Start(&ground);
    for (size_t i = 0; i < sample.keys.size(); ++i) {
      const key& k = sample.keys[i];
      EXPECT_FALSE(Same(committed[i], before[i], k)) << k.component << " " << k.name << " not edited";
      reading flying = Read(instance->Clone, k);
      EXPECT_TRUE(Same(flying, committed[i], k))
          << k.component << " " << k.name << " flies " << Shown(flying) << ", committed " << Shown(committed[i]);
    }
    kxdynamics::Stop();

    kxdaircraftinstance::Unload(instance);
    ASSERT_EQ(kxdaircraftinstance::AircraftLoad(sample.sample, 0), 1);
    for (size_t i = 0; i < sample.keys.size(); ++i) {
      const key& k = sample.keys[i];
      reading loaded = Read(kxdaircraftinstance::Slot(0)->Template, k);
      EXPECT_TRUE(Same(loaded, committed[i], k))
          << k.component << " " << k.name << " loads " << Shown(loaded) << ", committed " << Shown(committed[i]);
    }
    kxdaircraftinstance::Unload(kxdaircraftinstance::Slot(0));
  }
}

}  // namespace
