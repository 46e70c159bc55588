// The shipped samples end to end: each loads from data/aircraft with its
// generated mesh, reads the control functions of a control configuration,
// and saves byte-stable; through player 1's control mapper the trimmed
// powered samples fly hands-off at half throttle, and the glider's servos
// answer elevator and ailerons.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "dynamics/components/propeller.h"
#include "dynamics/components/receiver.h"
#include "dynamics/components/servos.h"
#include "dynamics/components/wheel.h"
#include "dynamics/writers.h"
#include "graphics/mesh.h"
#include "samples_support.h"

namespace {

using namespace kxdtest;

constexpr float kStartHeight = 50.0f;  // m
constexpr float kDegrees = 57.29578f;
// Figures a wrong model moves: each sample flight keeps them within this
// share of what the samples gave when the bands were set.
constexpr float kBand = 0.15f;
// m/s: the throttle curves put level flight at half stick.
constexpr float kLevel = 0.3f;
constexpr float kGliderElevatorPitch = 18.2f;  // deg gained in 1 s of half up elevator

struct wire {
  const char* part;  // a servo or a wheel
  int function;      // the receiver output its signal link reads
};

const std::vector<wire> kAirplaneWires = {{"ThrottleServo", kEngine1},        {"ElevatorServo", kElevator},
                                          {"RudderServo", kRudder},           {"LeftAileronServo", kLeftAileron},
                                          {"RightAileronServo", kRightAileron}, {"Wheel1", kWheelBrake},
                                          {"Wheel2", kWheelBrake},            {"Wheel3", kWheelBrake}};
const std::vector<wire> kGliderWires = {{"ElevatorServo", kElevator},
                                        {"RudderServo", kRudder},
                                        {"LeftAileronServo", kLeftAileron},
                                        {"RightAileronServo", kRightAileron}};
const std::vector<wire> kHelicopterWires = {{"Collective", kCollective}, {"Nick", kCyclicPitch}, {"Roll", kRoll},
                                            {"Rudder", kTailRotor},      {"Throttle", kEngine}};

struct shipped {
  const char* name;
  const std::vector<wire>* wires;
  bool propeller;  // measured from its generated blades
};

const shipped kShipped[] = {{"christeneagle", &kAirplaneWires, true}, {"trainer", &kAirplaneWires, true},
                            {"jet", &kAirplaneWires, false},          {"glider", &kGliderWires, false},
                            {"heli", &kHelicopterWires, false},       {"heli01", &kHelicopterWires, false}};

// Over deep ground: the flights never touch it.
class sampleaircraft : public samples {
 protected:
  sampleaircraft() : samples(-10000.0f) {}
  void SetUp() override {
    samples::SetUp();
    CopySamples({"christeneagle", "trainer", "jet", "glider", "heli", "heli01", "airfoil"});
  }
  // Loads the sample and starts it level at speed (m/s) kStartHeight up.
  kxdaircraftinstance* Start(const char* name, float speed) {
    if (!kxdaircraftinstance::AircraftLoad(name, 0)) return nullptr;
    kxdaircraftinstance* instance = kxdaircraftinstance::Loaded(0);
    Place(instance, kStartHeight, speed);
    return instance;
  }
  static float Pitch(const kxdbody* b) { return PitchRad(b) * kDegrees; }
  static float Bank(const kxdbody* b) { return BankRad(b) * kDegrees; }
  // The receiver output a servo or wheel reads, -1 when it reads none.
  static int Function(kxnode* root, const char* part) {
    auto* receiver = static_cast<kxdreceiver00*>(root->FindChild("Receiver"));
    kxnode* n = root->FindChild(part);
    if (!receiver || !n) return -1;
    const float* signal = n->type == &kxdwheel00::Type ? static_cast<kxdwheel00*>(n)->SignalIn
                                                       : kxdservo::As(n) ? kxdservo::As(n)->SignalIn : nullptr;
    long at = signal ? signal - receiver->Out : -1;
    return at >= 0 && at < kxdreceiver00::kOutputs ? static_cast<int>(at) : -1;
  }
};

TEST_F(sampleaircraft, EverySampleReadsTheControlFunctionsAndSavesByteStable) {
  for (const shipped& s : kShipped) {
    SCOPED_TRACE(s.name);
    ASSERT_EQ(kxdaircraftinstance::AircraftLoad(s.name, 0), 1) << kxtest::logcapture::Text();
    kxdaircraftinstance* instance = kxdaircraftinstance::Loaded(0);
    for (const wire& w : *s.wires) EXPECT_EQ(Function(instance->Template, w.part), w.function) << w.part;
    if (s.propeller) {
      auto* prop = static_cast<kxdpropeller00*>(instance->Template->FindChild("Propeller"));
      ASSERT_NE(prop, nullptr);
      EXPECT_EQ(prop->Blades, 2);
      EXPECT_GT(prop->Radius, 0.1f);
      EXPECT_GT(prop->Pitch, 0.08f);
    }
    ASSERT_EQ(kxdwriters::WriteAircraftFile(instance), 1);
    std::string path = std::string("aircraft/") + s.name + "/" + s.name + ".kxd";
    std::string first = Get(path);
    ASSERT_EQ(kxdaircraftinstance::AircraftLoad(s.name, 0), 1);
    ASSERT_EQ(kxdwriters::WriteAircraftFile(kxdaircraftinstance::Loaded(0)), 1);
    EXPECT_EQ(Get(path), first);
  }
}

// The selection window tells each sample's weight from its description: it
// is the weight of the aircraft as built, within a tenth.
TEST_F(sampleaircraft, EveryDescriptionGivesTheWeightOfTheAircraftAsBuilt) {
  for (const shipped& s : kShipped) {
    SCOPED_TRACE(s.name);
    kxdaircraftinstance* instance = Start(s.name, 0.0f);
    ASSERT_NE(instance, nullptr);
    const std::string text = Get(std::string("aircraft/") + s.name + "/preview-" + s.name + ".txt");
    const size_t at = text.find("Weight: about ");
    ASSERT_NE(at, std::string::npos);
    const float told = std::strtof(text.c_str() + at + std::strlen("Weight: about "), nullptr);
    const float built = instance->SimMainBody->SystemMass;
    EXPECT_NEAR(told, built, 0.1f * built) << "built " << built << " kg";
  }
}

// Each generated sample balances where its parts are drawn: loading puts
// the centre of gravity on the fuselage's CG without moving the fuselage
// away from its mesh in the file.
TEST_F(sampleaircraft, EveryGeneratedSampleBalancesWithItsFuselageWhereItIsDrawn) {
  for (const char* name : {"christeneagle", "trainer", "jet", "glider"}) {
    SCOPED_TRACE(name);
    const std::string text = Get(std::string("aircraft/") + name + "/" + name + ".obj");
    kxgeometry* list = kxgl::ReadTextMesh(text.data(), text.size());
    ASSERT_NE(list, nullptr);
    double area = 0.0, sum[3] = {};
    for (const kxgeometry* el = list; el; el = el->next) {
      if (std::strcmp(el->group, "Fuselage") != 0) continue;
      for (int t = 0; t < el->triangleCount; ++t) {
        float v[3][3];
        for (int k = 0; k < 3; ++k) kxgeometry::GetVertexPosition(el, static_cast<int>(el->triangles[3 * t + k]), v[k]);
        double u[3], w[3];
        for (int k = 0; k < 3; ++k) u[k] = v[1][k] - v[0][k], w[k] = v[2][k] - v[0][k];
        const double c[3] = {u[1] * w[2] - u[2] * w[1], u[2] * w[0] - u[0] * w[2], u[0] * w[1] - u[1] * w[0]};
        const double a = 0.5 * std::sqrt(c[0] * c[0] + c[1] * c[1] + c[2] * c[2]);
        area += a;
        for (int k = 0; k < 3; ++k) sum[k] += a * (v[0][k] + v[1][k] + v[2][k]) / 3.0;
      }
    }
    kxgeometry::Free(&list);
    ASSERT_GT(area, 0.0);
    ASSERT_EQ(kxdaircraftinstance::AircraftLoad(name, 0), 1) << kxtest::logcapture::Text();
    const kxdbody* fuselage = kxdbody::As(kxdaircraftinstance::Loaded(0)->Template->FindChild("Fuselage"));
    ASSERT_NE(fuselage, nullptr);
    EXPECT_NEAR(fuselage->B.R.x, sum[0] / area, 0.002);
    EXPECT_NEAR(fuselage->B.R.y, sum[1] / area, 0.002);
    EXPECT_NEAR(fuselage->B.R.z, sum[2] / area, 0.002);
  }
}

// Trimmed, with half throttle and the sticks centred, each holds its
// attitude from a level start near its trimmed speed and stays up.
TEST_F(sampleaircraft, HandsOffAtHalfThrottleEachFliesTwentySecondsNearLevel) {
  struct trimmed {
    const char* name;
    float speed;  // m/s at the start
  };
  for (const trimmed& t : {trimmed{"christeneagle", 15.0f}, trimmed{"trainer", 12.0f}}) {
    SCOPED_TRACE(t.name);
    Set(kEngine1, 0.0f);
    kxdaircraftinstance* instance = Start(t.name, t.speed);
    ASSERT_NE(instance, nullptr) << kxtest::logcapture::Text();
    kxdbody* body = instance->SimMainBody;
    float worstPitch = 0.0f, worstBank = 0.0f, lowest = kStartHeight;
    float late = NAN;  // height five seconds before the end
    for (int k = 0; k < 80 && Finite(body); ++k) {
      if (k == 60) late = body->B.R.z;
      Fly(0.25f);
      worstPitch = std::fmax(worstPitch, std::fabs(Pitch(body)));
      worstBank = std::fmax(worstBank, std::fabs(Bank(body)));
      lowest = std::fmin(lowest, body->B.R.z);
    }
    ASSERT_TRUE(Finite(body));
    float climb = (body->B.R.z - late) / 5.0f;
    std::printf("%s: worst pitch %.1f deg, bank %.1f deg, lowest %.1f m, end speed %.1f m/s, climb %.2f m/s\n", t.name,
                worstPitch, worstBank, lowest, Speed(body), climb);
    EXPECT_NEAR(climb, 0.0f, kLevel);
    EXPECT_LT(worstPitch, 20.0f);
    EXPECT_LT(worstBank, 30.0f);
    EXPECT_GT(lowest, kStartHeight - 10.0f);
    EXPECT_EQ(instance->Crash, 0);
    kxdynamics::Stop();
  }
}

// Up elevator raises the glider's nose, right aileron rolls it right.
TEST_F(sampleaircraft, GliderAnswersElevatorAndAilerons) {
  kxdaircraftinstance* instance = Start("glider", 9.0f);
  ASSERT_NE(instance, nullptr) << kxtest::logcapture::Text();
  kxdbody* body = instance->SimMainBody;
  Fly(6.0f);
  float pitch = Pitch(body);
  Set(kElevator, 0.5f);
  Fly(1.0f);
  auto* elevator = static_cast<kxdservo00*>(instance->Clone->FindChild("ElevatorServo"));
  ASSERT_NE(elevator, nullptr);
  EXPECT_NEAR(elevator->MechLink, 0.02f - 0.15f, 1e-3f);  // its down trim, then half of the travel up
  float raised = Pitch(body);
  std::printf("glider: pitch %.2f -> %.2f deg after 1 s of half up elevator\n", pitch, raised);
  EXPECT_NEAR(raised - pitch, kGliderElevatorPitch, kBand * kGliderElevatorPitch);
  Set(kElevator, 0.0f);
  Fly(6.0f);
  float bank = Bank(body);
  Set(kLeftAileron, 0.6f);
  Set(kRightAileron, 0.6f);
  Fly(1.0f);
  float rolled = Bank(body);
  std::printf("glider: bank %.2f -> %.2f deg after 1 s of right aileron\n", bank, rolled);
  EXPECT_GT(rolled, bank + 5.0f);
  EXPECT_TRUE(Finite(body));
}

}  // namespace
