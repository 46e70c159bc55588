// The sample aircraft end to end: each loads from data/aircraft with its
// generated mesh, saves byte-stable, and from an air start under full
// throttle through the receiver accelerates and climbs; the sample glider's
// servos answer the elevator and aileron channels.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

#include "dynamics/components/propeller.h"
#include "dynamics/components/servos.h"
#include "dynamics/components/wheel.h"
#include "dynamics/wings/multi_section_wing.h"
#include "dynamics/wings/sectioned_wing.h"
#include "dynamics/writers.h"
#include "samples_support.h"

namespace {

using namespace kxdtest;

constexpr float kStartHeight = 50.0f;   // m
constexpr float kFlight = 10.0f;        // s
constexpr float kClMax = 1.2f;          // the sample airfoils' usable maximum lift
constexpr float kAirDensity = 1.225f;   // kg/m^3
constexpr float kGravity = 9.81f;       // m/s^2
constexpr float kDegrees = 57.29578f;

const char* const kPowered[] = {"christeneagle", "trainer", "jet"};

// Over deep ground: the flights never touch it.
class sampleaircraft : public samples {
 protected:
  sampleaircraft() : samples(-10000.0f) {}
  void SetUp() override {
    samples::SetUp();
    CopySamples({"christeneagle", "trainer", "jet", "glider", "airfoil"});
  }
  // Loads the sample and starts it level at speed (m/s) kStartHeight up over
  // deep ground.
  kxdaircraftinstance* Start(const char* name, float speed) {
    if (!kxdaircraftinstance::AircraftLoad(name, 0)) return nullptr;
    kxdaircraftinstance* instance = kxdaircraftinstance::Loaded(0);
    Place(instance, kStartHeight, speed);
    return instance;
  }
  // From the main wings' area and the whole mass, at the samples' CLmax.
  static float StallSpeed(const char* name) {
    if (!kxdaircraftinstance::AircraftLoad(name, 0)) return NAN;
    kxdaircraftinstance* instance = kxdaircraftinstance::Loaded(0);
    float area = 0.0f;
    for (kxnode* n = instance->Template->firstChild; n; n = n->nextSibling) {
      if (n->type == &kxdwing00::Type) area += static_cast<kxdwing00*>(n)->WingArea;
    }
    float mass = kxdaircraftinstance::TotalMass(instance);
    if (area <= 0.0f) return NAN;
    return std::sqrt(2.0f * mass * kGravity / (kAirDensity * area * kClMax));
  }
  static float Pitch(const kxdbody* b) { return PitchRad(b) * kDegrees; }
  static float Bank(const kxdbody* b) { return BankRad(b) * kDegrees; }
};

TEST_F(sampleaircraft, EverySampleLoadsWithItsPartsAndSavesByteStable) {
  for (const char* name : {"christeneagle", "trainer", "jet", "glider"}) {
    SCOPED_TRACE(name);
    ASSERT_EQ(kxdaircraftinstance::AircraftLoad(name, 0), 1) << kxtest::logcapture::Text();
    kxdaircraftinstance* instance = kxdaircraftinstance::Loaded(0);
    ASSERT_NE(instance->Template->FindChild("Receiver"), nullptr);
    ASSERT_NE(instance->Template->FindChild("ElevatorServo"), nullptr);
    EXPECT_GT(kxdaircraftinstance::TotalMass(instance), 0.3f);
    ASSERT_EQ(kxdwriters::WriteAircraftFile(instance), 1);
    std::string path = std::string("aircraft/") + name + "/" + name + ".kxd";
    std::string first = Get(path);
    EXPECT_NE(first.find("SignalIn = ~Aircraft/Receiver/Out(1)\n"), std::string::npos);
    ASSERT_EQ(kxdaircraftinstance::AircraftLoad(name, 0), 1);
    ASSERT_EQ(kxdwriters::WriteAircraftFile(kxdaircraftinstance::Loaded(0)), 1);
    EXPECT_EQ(Get(path), first);
  }
}

TEST_F(sampleaircraft, PoweredSamplesStandOnThreeMeasuredWheels) {
  for (const char* name : kPowered) {
    SCOPED_TRACE(name);
    ASSERT_EQ(kxdaircraftinstance::AircraftLoad(name, 0), 1) << kxtest::logcapture::Text();
    kxnode* root = kxdaircraftinstance::Loaded(0)->Template;
    for (const char* wheel : {"Wheel1", "Wheel2", "Wheel3"}) {
      kxnode* n = root->FindChild(wheel);
      ASSERT_NE(n, nullptr) << wheel;
      ASSERT_EQ(n->type, &kxdwheel00::Type) << wheel;
      float radius = static_cast<kxdwheel00*>(n)->Radius;
      EXPECT_GT(radius, 0.015f) << wheel;
      EXPECT_LT(radius, 0.06f) << wheel;
    }
  }
}

TEST_F(sampleaircraft, PropellersAreMeasuredFromTheirGeneratedBlades) {
  for (const char* name : {"christeneagle", "trainer"}) {
    SCOPED_TRACE(name);
    ASSERT_EQ(kxdaircraftinstance::AircraftLoad(name, 0), 1) << kxtest::logcapture::Text();
    kxnode* n = kxdaircraftinstance::Loaded(0)->Template->FindChild("Propeller");
    ASSERT_NE(n, nullptr);
    auto* prop = static_cast<kxdpropeller00*>(n);
    EXPECT_EQ(prop->Blades, 2);
    EXPECT_GT(prop->Radius, 0.1f);
    EXPECT_GT(prop->Pitch, 0.08f);
    std::printf("%s: propeller radius %.3f m, pitch %.3f m\n", name, prop->Radius, prop->Pitch);
  }
}

// Full throttle from an air start at 1.5 times the stall speed: over ten
// seconds the aircraft flies faster than it started (mean of its speed at
// each second) and gains height.
TEST_F(sampleaircraft, FullThrottleFromAnAirStartAcceleratesAndClimbs) {
  for (const char* name : kPowered) {
    SCOPED_TRACE(name);
    float stall = StallSpeed(name);
    ASSERT_TRUE(std::isfinite(stall)) << kxtest::logcapture::Text();
    float start = 1.5f * stall;
    slots[kThrottle] = 1.0f;
    kxdaircraftinstance* instance = Start(name, start);
    ASSERT_NE(instance, nullptr) << kxtest::logcapture::Text();
    kxdbody* body = instance->SimMainBody;
    ASSERT_NE(body, nullptr);
    float peak = 0.0f, sum = 0.0f, worstPitch = 0.0f, worstBank = 0.0f;
    bool finite = true;
    for (int second = 0; second < static_cast<int>(kFlight); ++second) {
      Fly(1.0f);
      finite = finite && Finite(body);
      if (!finite) break;
      peak = std::max(peak, Speed(body));
      sum += Speed(body);
      worstPitch = std::max(worstPitch, std::fabs(Pitch(body)));
      worstBank = std::max(worstBank, std::fabs(Bank(body)));
    }
    ASSERT_TRUE(finite);
    float climb = (body->B.R.z - kStartHeight) / kFlight;
    float end = Speed(body);
    float mean = sum / kFlight;
    std::printf("%s: stall %.1f m/s, start %.1f m/s, end %.1f m/s, mean %.1f m/s, peak %.1f m/s, mean climb %.2f m/s, "
                "worst pitch %.0f deg, bank %.0f deg, rpm %.0f\n",
                name, stall, start, end, mean, peak, climb, worstPitch, worstBank, instance->RPMValue);
    EXPECT_GT(mean, start);
    EXPECT_GT(climb, 0.0f);
    EXPECT_EQ(instance->Crash, 0);
    kxdynamics::Stop();
  }
}

// The glider's servos follow the receiver: up elevator on channel 1 raises
// the nose, right aileron on channel 0 rolls right.
TEST_F(sampleaircraft, GliderAnswersElevatorAndAileronChannels) {
  float stall = StallSpeed("glider");
  ASSERT_TRUE(std::isfinite(stall));
  kxdaircraftinstance* instance = Start("glider", 1.3f * stall);
  ASSERT_NE(instance, nullptr) << kxtest::logcapture::Text();
  kxdbody* body = instance->SimMainBody;
  Fly(6.0f);
  float pitch = Pitch(body);
  slots[kElevator] = 0.5f;
  Fly(1.0f);
  auto* elevator = static_cast<kxdservo00*>(instance->Clone->FindChild("ElevatorServo"));
  ASSERT_NE(elevator, nullptr);
  EXPECT_NEAR(elevator->MechLink, -0.15f, 1e-3f);
  float raised = Pitch(body);
  std::printf("glider: pitch %.2f -> %.2f deg after 1 s of half up elevator\n", pitch, raised);
  EXPECT_GT(raised, pitch + 2.0f);
  slots[kElevator] = 0.0f;
  Fly(6.0f);
  float bank = Bank(body);
  slots[kAileron] = 0.6f;
  Fly(1.0f);
  float rolled = Bank(body);
  std::printf("glider: bank %.2f -> %.2f deg after 1 s of right aileron\n", bank, rolled);
  EXPECT_GT(rolled, bank + 5.0f);
  EXPECT_TRUE(Finite(body));
}

}  // namespace
