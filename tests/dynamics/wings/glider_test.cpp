// The sample glider end to end: it loads with its geometry, its wings are
// analysed, and after a hand launch in still air the fixed-step driver
// flies it in a steady glide that answers elevator and aileron.
#include <cmath>
#include <cstdio>
#include <filesystem>

#include "dynamics/air_model.h"
#include "dynamics/aircraft.h"
#include "dynamics/driver.h"
#include "dynamics/instance.h"
#include "dynamics/registry.h"
#include "dynamics/world.h"
#include "dynamics/wings/multi_section_wing.h"
#include "dynamics/wings/sectioned_wing.h"
#include "wings_support.h"

namespace {

namespace fs = std::filesystem;
using kxwtest::wingstest;

constexpr float kFrame = 1.0f / 60.0f;  // s
constexpr float kLaunchSpeed = 9.0f;    // m/s
constexpr float kLaunchHeight = 200.0f; // m
constexpr float kDegrees = 57.29578f;

class glider : public wingstest {
 protected:
  void SetUp() override {
    wingstest::SetUp();
    kxdynamics::Environment() = kxdenvironment{};
    kxdenvironment calm;
    calm.wind_thermic = 0.0f;
    kxdynamics::InitField(calm);
    kxdynamics::SetCurrentWorld(nullptr);
    // The committed sample and airfoils, copied into the test's data folder.
    fs::path data = fs::path(KX_TEST_DATA).lexically_normal().parent_path().parent_path().parent_path().parent_path() /
                    "data" / "aircraft";
    fs::create_directories("aircraft/glider");
    for (const char* file : {"glider.kxd", "glider.kxg", "glider.obj"}) {
      fs::copy_file(data / "glider" / file, fs::path("aircraft/glider") / file);
    }
    for (const auto& entry : fs::directory_iterator(data / "airfoil")) {
      fs::copy_file(entry.path(), fs::path("aircraft/airfoil") / entry.path().filename());
    }
  }
  void TearDown() override {
    kxdynamics::Stop();
    for (int i = 0; i < kxdaircraftinstance::kSlots; ++i) kxdaircraftinstance::Unload(kxdaircraftinstance::Slot(i));
    for (auto t : {kxdynamics::kxdtree::kInitial, kxdynamics::kxdtree::kState, kxdynamics::kxdtree::kChange,
                   kxdynamics::kxdtree::kTemplates, kxdynamics::kxdtree::kInvisible}) {
      kxdynamics::Tree(t)->DeleteChildren();
    }
    kxdynamics::SetCurrentWorld(nullptr);
    wingstest::TearDown();
  }
  // Loads, starts over deep ground and launches level at kLaunchSpeed; the
  // control links of the simulated wings point at the test's floats. The
  // sample has no servos: the links read radians, trailing edge down
  // positive, so nose-up elevator is a negative link and a right roll lifts
  // the right aileron's trailing edge.
  kxdaircraftinstance* Launch() {
    if (!kxdaircraftinstance::AircraftLoad("glider", 0)) return nullptr;
    kxdaircraftinstance* instance = kxdaircraftinstance::Loaded(0);
    kxdynamics::Start(&ground);
    kxmatrix pose;
    kxmatrix::SetIdentity(&pose);
    pose.R = {0.0f, 0.0f, kLaunchHeight, 1.0f};
    kxdaircraftinstance::PlaceAt(instance, pose, {kLaunchSpeed, 0.0f, 0.0f, 0.0f});
    auto* left = static_cast<kxdwing00*>(kxdwing::As(kxnode::Find("LeftWing", instance->Clone)));
    auto* right = static_cast<kxdwing00*>(kxdwing::As(kxnode::Find("RightWing", instance->Clone)));
    auto* tail = static_cast<kxdwing10*>(kxdwing::As(kxnode::Find("Stabilizer", instance->Clone)));
    if (!left || !right || !tail) return nullptr;
    left->AileronLink = &leftAileron;
    right->AileronLink = &rightAileron;
    tail->FlapLink = &elevator;
    return instance;
  }
  void Elevator(float noseUp) { elevator = -noseUp; }
  void Aileron(float rollRight) {
    leftAileron = rollRight;
    rightAileron = -rollRight;
  }
  static float Pitch(const kxdbody* b) { return std::asin(std::clamp(b->B.X.z, -1.0f, 1.0f)) * kDegrees; }
  // Positive with the right wing down.
  static float Bank(const kxdbody* b) { return std::asin(std::clamp(b->B.Y.z, -1.0f, 1.0f)) * kDegrees; }
  static bool Finite(const kxdbody* b) {
    for (int i = 0; i < 16; ++i) {
      if (!std::isfinite(b->B[i]) || !std::isfinite(b->D[i])) return false;
    }
    return true;
  }
  void Fly(float seconds) {
    for (int k = 0; k < static_cast<int>(std::lround(seconds / kFrame)); ++k) kxdynamics::Step(kFrame, &ground);
  }

  kxdflatground ground{-10000.0f};
  float leftAileron = 0.0f, rightAileron = 0.0f, elevator = 0.0f;
};

TEST_F(glider, LoadsAndAnalysesEveryWing) {
  ASSERT_EQ(kxdaircraftinstance::AircraftLoad("glider", 0), 1) << kxtest::logcapture::Text();
  kxdaircraftinstance* instance = kxdaircraftinstance::Loaded(0);
  auto* left = static_cast<kxdwing00*>(kxdwing::As(kxnode::Find("LeftWing", instance->Template)));
  auto* right = static_cast<kxdwing00*>(kxdwing::As(kxnode::Find("RightWing", instance->Template)));
  auto* tail = static_cast<kxdwing10*>(kxdwing::As(kxnode::Find("Stabilizer", instance->Template)));
  auto* fin = static_cast<kxdwing10*>(kxdwing::As(kxnode::Find("Fin", instance->Template)));
  ASSERT_TRUE(left && right && tail && fin);
  EXPECT_EQ(left->Sections, 2);
  EXPECT_NEAR(left->WingSpan, 0.9f, 0.01f);
  EXPECT_NEAR(right->WingSpan, 0.9f, 0.01f);
  EXPECT_GT(left->SpanDirection.y, 0.9f);
  EXPECT_LT(right->SpanDirection.y, -0.9f);
  EXPECT_NEAR(left->Dihedral, 4.0f / kDegrees, 0.01f);
  EXPECT_NEAR(right->Dihedral, 4.0f / kDegrees, 0.01f);
  EXPECT_GT(left->AspectRatio, 8.0f);
  EXPECT_GT(left->SectionAileronCl[1], 0.5f);  // the outer section holds the aileron
  EXPECT_NEAR(left->SectionAileronCl[0], 0.0f, 1e-6f);
  EXPECT_NE(left->SectionAirfoil[0], nullptr);
  EXPECT_NEAR(tail->WingSpan, 0.5f, 0.01f);
  EXPECT_GT(tail->SectionFlapCl[0], 0.7f);
  EXPECT_NEAR(std::fabs(tail->Flap->Matrix.Y.y), 1.0f, 1e-3f);
  EXPECT_GT(fin->SpanDirection.z, 0.99f);
  EXPECT_GT(fin->SectionFlapCl[0], 0.5f);
  // The rudder hinge runs up the swept hinge line: along y of the fin's frame.
  EXPECT_GT(std::fabs(fin->Flap->Matrix.Y.y), 0.9f);
  EXPECT_GT(std::fabs(fin->Flap->Matrix.Y.x), 0.03f);  // sweep less taper: about 0.065
  std::printf("glider: wing AR %.2f area %.4f incidence %.4f; tail incidence %.4f AR %.2f\n", left->AspectRatio,
              left->WingArea, left->Incidence, tail->Incidence, tail->AspectRatio);
}

TEST_F(glider, HandLaunchSettlesIntoASteadyGlide) {
  kxdaircraftinstance* instance = Launch();
  ASSERT_NE(instance, nullptr) << kxtest::logcapture::Text();
  kxdbody* body = instance->SimMainBody;
  Fly(5.0f);
  ASSERT_TRUE(Finite(body));
  kxvector4r start = body->B.R;
  float worstPitch = 0.0f, worstBank = 0.0f;
  for (int second = 0; second < 20; ++second) {
    Fly(1.0f);
    ASSERT_TRUE(Finite(body)) << second;
    worstPitch = std::max(worstPitch, std::fabs(Pitch(body)));
    worstBank = std::max(worstBank, std::fabs(Bank(body)));
  }
  kxvector4r end = body->B.R;
  float distance = std::hypot(end.x - start.x, end.y - start.y);
  float drop = start.z - end.z;
  float sink = drop / 20.0f;
  float ratio = drop > 0.0f ? distance / drop : 0.0f;
  std::printf("glider: glide ratio %.2f, sink %.3f m/s, speed %.2f m/s, worst pitch %.1f deg, bank %.1f deg\n",
              ratio, sink, distance / 20.0f, worstPitch, worstBank);
  EXPECT_GT(ratio, 6.0f);
  EXPECT_LT(ratio, 25.0f);
  EXPECT_GT(sink, 0.3f);
  EXPECT_LT(sink, 1.5f);
  EXPECT_LT(worstPitch, 30.0f);
  EXPECT_LT(worstBank, 30.0f);
}

TEST_F(glider, ElevatorRaisesTheNoseAndAileronRollsWithinASecond) {
  kxdaircraftinstance* instance = Launch();
  ASSERT_NE(instance, nullptr);
  kxdbody* body = instance->SimMainBody;
  Fly(8.0f);
  float pitch = Pitch(body);
  Elevator(0.15f);
  Fly(1.0f);
  float raised = Pitch(body);
  std::printf("glider: pitch %.2f -> %.2f deg after 1 s of up elevator\n", pitch, raised);
  EXPECT_GT(raised, pitch + 2.0f);
  Elevator(0.0f);
  Fly(8.0f);
  float bank = Bank(body);
  Aileron(0.15f);
  Fly(1.0f);
  float rolled = Bank(body);
  std::printf("glider: bank %.2f -> %.2f deg after 1 s of right aileron\n", bank, rolled);
  EXPECT_GT(rolled, bank + 5.0f);
  EXPECT_TRUE(Finite(body));
}

}  // namespace
