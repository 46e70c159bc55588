// Edits that must leave the aircraft flyable: the travel of an elevator,
// rudder or flap servo keeps its sense, a text without a number keeps the
// value, and every page of every component family refuses zero and
// extreme values with ones the flight model can take. Each case leaves the
// designer and flies the edited aircraft.
#include <cmath>
#include <cstdio>
#include <ostream>
#include <string>
#include <vector>

#include "designer_support.h"
#include "dynamics/aircraft.h"
#include "dynamics/components/servos.h"
#include "dynamics/driver.h"
#include "dynamics/wings/wing.h"
#include "dynamics/world.h"
#include "tests/dynamics/dynamics_support.h"

namespace {

using designertest::designerfixture;

constexpr float kDeg = units::kDegToRad;
constexpr float kFrame = 1.0f / 60.0f;  // s
constexpr float kStartHeight = 50.0f;   // m
constexpr int kElevator = 4;            // the samples' receiver output for the elevator

class FlyableEditTest : public designerfixture {
 protected:
  void SetUp() override {
    designerfixture::SetUp();
    kxdtest::ResetSimulation();
    std::fill(std::begin(slots), std::end(slots), 0.0f);
    kxdaircraft::SetPinboardSlots(slots);
  }
  void TearDown() override {
    kxdynamics::Stop();
    kxdaircraft::SetPinboardSlots(nullptr);
    designerfixture::TearDown();
    kxdtest::ClearSimulation();
  }
  // Player 1's control function, -1..1.
  void Set(int function, float value) { kxdaircraft::PlayerChannels(slots, 0)[function] = value; }

  // Leaves the designer and starts the edited aircraft level at speed (m/s).
  kxdaircraftinstance* Launch(float speed) {
    kxdaircraftinstance* instance = State().aircraft;
    svdesign::GoBack();
    kxdynamics::Start(&ground);
    kxdtest::PlaceLevel(instance, {0.0f, 0.0f, kStartHeight, 1.0f}, {speed, 0.0f, 0.0f, 0.0f});
    return instance;
  }
  void Fly(float seconds) {
    for (int k = 0; k < static_cast<int>(std::lround(seconds / kFrame)); ++k) kxdynamics::Step(kFrame, &ground);
  }
  // The first body of the simulated clone whose frame or motion is not
  // finite; "" when every one is.
  static std::string NotFinite(kxnode* node) {
    for (kxnode* c = node->firstChild; c; c = c->nextSibling) {
      if (const kxdbody* b = kxdbody::As(c)) {
        for (int i = 0; i < 16; ++i) {
          if (!std::isfinite(b->B[i]) || !std::isfinite(b->D[i])) return b->name.Str();
        }
      }
      std::string deeper = NotFinite(c);
      if (!deeper.empty()) return deeper;
    }
    return "";
  }
  static float PitchDeg(const kxdbody* b) { return std::asin(std::clamp(b->B.X.z, -1.0f, 1.0f)) / kDeg; }
  template <class T>
  static T* Part(const char* name) {
    return static_cast<T*>(State().aircraft->Template->FindChild(name));
  }

  float slots[4096] = {};
  kxdflatground ground{-10000.0f};
};

// The glider's elevator servo travels negatively: the size typed keeps that
// sense, and up elevator still raises the nose. A rudder servo of the
// positive sense keeps its own; a negative size is no travel.
TEST_F(FlyableEditTest, DeflectionPageKeepsTheSenseOfTheServo) {
  Enter("glider");
  auto* elevator = Part<kxdservo00>("ElevatorServo");
  auto* rudder = Part<kxdservo00>("RudderServo");
  ASSERT_LT(elevator->P1, 0.0f);
  std::vector<svdesignfield*> fields = Open("Stabilizer", 6);
  ASSERT_EQ(fields.size(), 1u);
  EXPECT_STREQ(fields[0]->text, "17 deg");
  Commit("Stabilizer", 6, {"17"});
  EXPECT_NEAR(elevator->P1, -0.2967f, 1e-4f);
  EXPECT_STREQ(fields[0]->text, "17 deg");
  Commit("Stabilizer", 6, {"75"});
  EXPECT_NEAR(elevator->P1, -60.0f * kDeg, 1e-5f);
  // A travel of 0 keeps the sense for the next one, also when the page is
  // left and opened again in between.
  Commit("Stabilizer", 6, {"0"});
  EXPECT_TRUE(std::signbit(elevator->P1));
  Commit("Stabilizer", 6, {"17"});
  EXPECT_NEAR(elevator->P1, -0.2967f, 1e-4f);
  Commit("Stabilizer", 6, {"0"});
  Open("Stabilizer", 0);
  Commit("Stabilizer", 6, {"12"});
  EXPECT_NEAR(elevator->P1, -12.0f * kDeg, 1e-5f);
  Commit("Fin", 5, {"20"});
  EXPECT_NEAR(rudder->P1, 20.0f * kDeg, 1e-5f);
  Commit("Fin", 5, {"-20"});
  EXPECT_FLOAT_EQ(rudder->P1, 0.0f);
  Commit("Fin", 5, {"20"});
  EXPECT_NEAR(rudder->P1, 20.0f * kDeg, 1e-5f);  // a servo at rest takes the positive sense
  Commit("Stabilizer", 6, {"17"});

  kxdaircraftinstance* glider = Launch(9.0f);
  kxdbody* body = glider->SimMainBody;
  Fly(2.0f);
  float level = PitchDeg(body);
  Set(kElevator, 0.5f);
  Fly(1.0f);
  EXPECT_GT(PitchDeg(body), level + 10.0f) << "half up elevator for a second, from " << level << " deg";
}

// A text without a number changes nothing and shows the value again.
TEST_F(FlyableEditTest, TextWithoutANumberKeepsTheValue) {
  Enter("trainer");
  const kxdbody* wing = Part<kxdbody>("LeftWing");
  std::vector<svdesignfield*> span = Open("LeftWing", 0);
  const std::string shown = span[0]->text;
  const float before = static_cast<const kxdwing*>(wing)->WingSpan;
  for (const char* typed : {"abc", "", " cm", "-", "."}) {
    Commit("LeftWing", 0, {typed});
    EXPECT_FLOAT_EQ(static_cast<const kxdwing*>(wing)->WingSpan, before) << '"' << typed << '"';
    EXPECT_EQ(span[0]->text, shown) << '"' << typed << '"';
  }
}

// A component family of a sample: its types and the speed it starts at.
struct family {
  const char* sample;
  std::vector<const char*> types;
  float speed;  // m/s
};

const family kFamilies[] = {
    {"trainer", {"kxdwing00"}, 16.0f},
    {"trainer", {"kxdwing10", "kxdwing11", "kxdwing12"}, 16.0f},
    {"trainer", {"kxdengine10"}, 16.0f},
    {"trainer", {"kxdpropeller00"}, 16.0f},
    {"heli", {"kxdfuselage00"}, 0.0f},
    {"christeneagle", {"kxdengine00"}, 30.0f},
    {"jet", {"kxdturbine00"}, 30.0f},
    {"heli", {"kxdrotor00"}, 0.0f},
    {"heli", {"kxdtailrotor00"}, 0.0f},
};

class PageFamilyTest : public FlyableEditTest, public ::testing::WithParamInterface<family> {
 protected:
  // The objects of the edited aircraft whose component is of the family.
  static std::vector<svdesignobject*> Members(const family& f) {
    std::vector<svdesignobject*> out;
    for (svdesignobject* o : State().objects) {
      for (const char* t : f.types) {
        if (o->component && o->component->type == kxtype::Find(t)) out.push_back(o);
      }
    }
    return out;
  }
  // Whether the main body stayed within reach of a one-second flight:
  // finite, and neither kilometres away nor faster than sound.
  static std::string Flown(kxdaircraftinstance* instance) {
    std::string bad = NotFinite(instance->Clone);
    if (!bad.empty()) return bad + " is not finite";
    const kxdbody* b = instance->SimMainBody;
    float away = std::hypot(b->B.R.x, b->B.R.y, b->B.R.z - kStartHeight);
    float speed = std::hypot(b->D.R.x, b->D.R.y, b->D.R.z);
    if (!(away < kReach) || !(speed < kSpeedOfSound)) return "main body " + std::to_string(away) + " m away at " + std::to_string(speed) + " m/s";
    return "";
  }
  static constexpr float kReach = 1000.0f;        // m
  static constexpr float kSpeedOfSound = 340.0f;  // m/s
};

// Every field of every page of the family takes "abc", 0 and both
// extremes in turn; each shows a finite value afterwards and the aircraft
// flies a second within reach.
TEST_P(PageFamilyTest, RefusesZeroAndExtremeValues) {
  const family& f = GetParam();
  for (const char* typed : {"abc", "0", "1e30", "-1e30"}) {
    SCOPED_TRACE(std::string("typed \"") + typed + "\"");
    Enter(f.sample);
    std::vector<svdesignobject*> members = Members(f);
    ASSERT_FALSE(members.empty());
    for (svdesignobject* o : members) {
      for (int i = 0; i < o->pageCount; ++i) {
        std::vector<svdesignfield*> fields = Open(o->name.Text(), i);
        std::vector<std::string> before;
        for (svdesignfield* field : fields) {
          before.push_back(field->text);
          std::snprintf(field->text, sizeof field->text, "%s", typed);
        }
        Run("DesignPropertySetValues");
        for (size_t k = 0; k < fields.size(); ++k) {
          double shown = 0.0;
          if (!fields[k]->value) continue;
          EXPECT_TRUE(svdesign::TypedNumber(fields[k]->text, &shown) && std::isfinite(shown))
              << o->name.Text() << " page " << i << ": " << fields[k]->text;
          if (std::string(typed) == "abc") {
            EXPECT_EQ(fields[k]->text, before[k]) << o->name.Text() << " page " << i;
          }
        }
      }
    }
    kxdaircraftinstance* instance = Launch(f.speed);
    Fly(1.0f);
    EXPECT_EQ(Flown(instance), "");
    kxdynamics::Stop();
  }
}

void PrintTo(const family& f, std::ostream* out) { *out << f.sample << " " << f.types[0]; }

std::string FamilyName(const ::testing::TestParamInfo<family>& info) {
  return std::string(info.param.sample) + "_" + (info.param.types[0] + 3);
}

INSTANTIATE_TEST_SUITE_P(Samples, PageFamilyTest, ::testing::ValuesIn(kFamilies), FamilyName);

// The motor's fields that feed a divisor or a rate, each alone at its
// ends, at full throttle: the drive refuses what it cannot run, and what it
// keeps flies.
TEST_F(FlyableEditTest, MotorFieldsAloneAtTheirEndsFly) {
  struct probe {
    int page, field;
    const char* typed;
    const char* shown;
  } probes[] = {
      {0, 0, "0", "1 "},         // speed constant, rpm per volt
      {0, 0, "1e30", "20000 "},  //
      {0, 1, "0", "1.00 mOhm"},  // motor resistance
      {1, 0, "0", "1 "},         // cells
      {1, 1, "1e30", "10.00 V"}, // volts per cell
      {2, 0, "0", "0.010 "},     // gear ratio
      {2, 0, "1e30", "10.000 "},
  };
  Set(0, 1.0f);  // throttle
  for (const probe& p : probes) {
    SCOPED_TRACE(std::to_string(p.page) + "/" + std::to_string(p.field) + " \"" + p.typed + "\"");
    Enter("trainer");
    std::vector<svdesignfield*> fields = Open("Motor", p.page);
    std::snprintf(fields[p.field]->text, sizeof fields[p.field]->text, "%s", p.typed);
    Run("DesignPropertySetValues");
    EXPECT_STREQ(fields[p.field]->text, p.shown);
    kxdaircraftinstance* instance = Launch(16.0f);
    Fly(1.0f);
    EXPECT_EQ(NotFinite(instance->Clone), "");
    EXPECT_LT(std::fabs(instance->SimMainBody->B.R.z - kStartHeight), 100.0f);
    kxdynamics::Stop();
  }
}
}  // namespace
