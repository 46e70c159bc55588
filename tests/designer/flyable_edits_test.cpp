// Edits that must leave the aircraft flyable: the travel of an elevator,
// rudder or flap servo keeps its sense, a text without a number keeps the
// value, and every page of every component family refuses zero and
// extreme values with ones the flight model can take. Each case leaves the
// designer and flies the edited aircraft.
#include <cmath>
#include <cstdio>
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

}  // namespace
