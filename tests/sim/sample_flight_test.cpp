// The samples flown from their start on the default scenery through player
// 1's control mapper, the brakes left without a source as the keypad
// assignment leaves them: each airplane runs straight, lifts off at the
// speed of its kind, climbs hands-off and answers its elevator and
// ailerons; the jet keeps to the runway with rudder and ailerons held on its
// take-off run; from level flight at full throttle each airplane loops, the
// biplane rolls and the trainer pulled hard goes on without a spin; each
// helicopter lifts off level just above its hover setting; the glider
// stands nearly level on a tip skid; and the trainer tows the glider off
// the runway to 50 m.
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "dynamics/body.h"
#include "dynamics/scenery_world.h"
#include "dynamics/tow.h"
#include "platform/device_mapper.h"
#include "platform/pinboard.h"
#include "sim/menu_bar_actions.h"
#include "sim/placement.h"
#include "sim/scenery.h"
#include "sim/views/shadow_prep.h"
#include "tests/sim/flight_support.h"

namespace {

namespace fs = std::filesystem;

constexpr float kFrame = 1.0f / 60.0f;  // s
constexpr float kDegrees = 57.29578f;
constexpr float kKmh = 3.6f;            // km/h per m/s
// Control functions the samples' receivers read.
constexpr int kThrottle = 0, kElevator = 4, kRudder = 8, kLeftAileron = 10, kRightAileron = 11;
constexpr int kCollective = 16;
constexpr int kSources = 3000;  // slot of function f's source: kSources + f

constexpr float kRunwayHalfWidth = 8.0f;   // m, winzeln's runway either side of its centre line
constexpr float kAirborne = 0.5f;          // s without ground contact that counts as flying
constexpr float kTakeOffLimit = 10.0f;     // s of full throttle to leave the ground
constexpr float kHoldAfterLiftOff = 2.0f;  // s the take-off elevator is held into the climb
constexpr float kClimb = 10.0f;            // s of the hands-off climb
constexpr float kPulse = 1.0f;             // s of 0.3 up elevator
constexpr float kSettle = 5.0f;            // s at half throttle before the aileron
constexpr float kRoll = 0.7f;              // s of 0.3 aileron
constexpr float kRollWatch = 4.0f;         // s the bank is watched after the aileron

float Pitch(const kxdbody* b) { return std::asin(std::clamp(b->B.X.z, -1.0f, 1.0f)) * kDegrees; }
float Bank(const kxdbody* b) { return std::asin(std::clamp(b->B.Y.z, -1.0f, 1.0f)) * kDegrees; }
float Heading(const kxdbody* b) { return std::atan2(b->B.X.y, b->B.X.x) * kDegrees; }
float Speed(const kxdbody* b) { return std::sqrt(kxvector4r::Dot3(b->D.R, b->D.R)); }

class SampleFlightTest : public simtest::flighttest {
 protected:
  void SetUp() override {
    flighttest::SetUp();
    const fs::path data = (fs::path(KX_TEST_DATA) / "../../../data").lexically_normal();
    for (const auto& e : fs::directory_iterator(data / "scenery"))
      fs::create_symlink(e.path(), fs::path("scenery") / e.path().filename());
    for (const char* part : {"objects", "texture"}) fs::create_symlink(data / part, part);
    ASSERT_EQ(sim::LoadScenery("winzeln", sim::TheWorld()), 1);
    board_ = new kxpinboard;
    board_->name = "Pinboard";
    kxscript::Root()->AppendChild(board_);
    mapper_ = new kxdevicemapper;
    mapper_->name = "Player1";
    board_->AppendChild(mapper_);
    ASSERT_EQ(mapper_->PlugIn(2000, 0), 1);
    for (int f = 0; f < kxdevicemapper::kConfiguredFunctions; ++f) mapper_->Assign(f, kSources + f);
    // The committed transmitter and keypad assignments leave the wheel
    // brakes without a source and work the helicopters' engine with the
    // collective stick.
    mapper_->source[23] = kxdevicemapper::kNoSource;
    mapper_->Assign(20, kSources + kCollective);
  }
  void TearDown() override {
    flighttest::TearDown();
    delete board_;
  }

  void Set(int function, float value) { board_->slots[kSources + function] = value; }
  // Loads the sample as the player's aircraft and stands it at the
  // scenery's first start.
  kxdaircraftinstance* Start(const char* name, int player = 0) {
    simplayer* p = LoadSample(name, player);
    if (!p) return nullptr;
    sim::GenerateShadow(player);
    return kxdaircraftinstance::Loaded(player);
  }
  void Begin() {
    sim::SceneryWorld().Set(&sim::TheWorld()->collision);
    kxdynamics::Start(&sim::SceneryWorld());
    for (simplayer* p = &sim::players[0]; p; p = p->next) sim::PlaceAtStart(0, p, 0);
  }
  static void Step() { kxdynamics::Step(kFrame, &sim::SceneryWorld()); }
  static bool OnGround(const kxdaircraftinstance* i) { return i->WheelContact || i->GroundContact; }

  kxpinboard* board_ = nullptr;
  kxdevicemapper* mapper_ = nullptr;
};

// ---- airplanes

struct airplane {
  const char* name;
  float elevator;       // held on the take-off run: the trim a pilot would hold
  float liftOffMin;     // km/h
  float liftOffMax;     // km/h
  bool rollsBack;       // dihedral rolls it back toward level
};

const airplane kAirplanes[] = {{"christeneagle", 0.2f, 35.0f, 60.0f, false},
                               {"trainer", 0.0f, 35.0f, 60.0f, true},
                               {"jet", 0.2f, 35.0f, 90.0f, false}};

void PrintTo(const airplane& a, std::ostream* out) { *out << a.name; }

class SampleAirplaneTest : public SampleFlightTest, public ::testing::WithParamInterface<airplane> {};

// From its start, full throttle and the take-off elevator held until 2 s
// after lift-off; then hands-off for the climb; 0.3 up elevator for a
// second; half throttle, then 0.3 right aileron for 0.7 s and hands-off.
TEST_P(SampleAirplaneTest, TakesOffStraightClimbsHandsOffAndAnswersItsControls) {
  const airplane& a = GetParam();
  kxdaircraftinstance* instance = Start(a.name);
  ASSERT_NE(instance, nullptr) << kxtest::logcapture::Text();
  Begin();
  const kxdbody* m = instance->SimMainBody;

  Set(kThrottle, 1.0f);
  Set(kElevator, a.elevator);
  float worstHeading = 0.0f, lowestPitch = 90.0f, widest = 0.0f, liftOffSpeed = 0.0f;
  int frames = 0, airborne = 0;
  for (; frames * kFrame < kTakeOffLimit && airborne * kFrame < kAirborne; ++frames) {
    if (OnGround(instance)) {
      airborne = 0;
      worstHeading = std::max(worstHeading, std::fabs(Heading(m)));
      lowestPitch = std::min(lowestPitch, Pitch(m));
      widest = std::max(widest, std::fabs(m->B.R.y));
      liftOffSpeed = Speed(m);
    } else {
      ++airborne;
    }
    Step();
    ASSERT_EQ(instance->Crash, 0) << "crashed on the take-off run after " << frames * kFrame << " s";
  }
  ASSERT_GE(airborne * kFrame, kAirborne) << "no lift-off in " << kTakeOffLimit << " s";
  const float liftOffAt = (frames - airborne) * kFrame;

  for (int k = 0; k < static_cast<int>((kHoldAfterLiftOff - kAirborne) / kFrame); ++k) Step();
  Set(kElevator, 0.0f);
  float climbLow = 90.0f, climbHigh = -90.0f;
  for (int k = 0; k < static_cast<int>(kClimb / kFrame); ++k) {
    Step();
    climbLow = std::min(climbLow, Pitch(m));
    climbHigh = std::max(climbHigh, Pitch(m));
  }

  const float beforePulse = Pitch(m);
  Set(kElevator, 0.3f);
  for (int k = 0; k < static_cast<int>(kPulse / kFrame); ++k) Step();
  const float pulse = Pitch(m) - beforePulse;
  Set(kElevator, 0.0f);

  Set(kThrottle, 0.0f);
  for (int k = 0; k < static_cast<int>(kSettle / kFrame); ++k) Step();
  Set(kLeftAileron, 0.3f);
  Set(kRightAileron, 0.3f);
  for (int k = 0; k < static_cast<int>(kRoll / kFrame); ++k) Step();
  Set(kLeftAileron, 0.0f);
  Set(kRightAileron, 0.0f);
  const float rolled = Bank(m);
  float drift = 0.0f;  // largest change of the bank in the first 3 s
  for (int k = 0; k < static_cast<int>(kRollWatch / kFrame); ++k) {
    Step();
    if (k * kFrame < 3.0f) drift = std::max(drift, std::fabs(Bank(m) - rolled));
  }
  const float after = Bank(m);
  ASSERT_TRUE(std::isfinite(after));
  std::printf("%s: heading within %.1f deg, lowest pitch %.1f deg on the run, lift-off after %.2f s at %.1f km/h; "
              "climb pitch %.1f..%.1f deg; 0.3 up elevator 1 s: %+.1f deg; 0.3 aileron 0.7 s: bank %.1f deg, "
              "%.1f deg 4 s later\n",
              a.name, worstHeading, lowestPitch, liftOffAt, liftOffSpeed * kKmh, climbLow, climbHigh, pulse, rolled,
              after);

  EXPECT_LE(worstHeading, 10.0f);
  EXPECT_GT(lowestPitch, -10.0f);  // never on its nose
  EXPECT_LT(widest, kRunwayHalfWidth);
  EXPECT_GE(liftOffSpeed * kKmh, a.liftOffMin);
  EXPECT_LE(liftOffSpeed * kKmh, a.liftOffMax);
  EXPECT_GE(climbLow, 5.0f);
  EXPECT_LE(climbHigh, 30.0f);
  EXPECT_GE(pulse, 10.0f);
  EXPECT_LE(pulse, 40.0f);
  // Right aileron banks it right.
  EXPECT_GE(rolled, 5.0f);
  EXPECT_LE(rolled, 45.0f);
  if (a.rollsBack) {
    EXPECT_LT(after, rolled - 2.0f);
    EXPECT_GT(after, -5.0f);
  } else {
    EXPECT_LE(drift, 15.0f);
  }
  EXPECT_EQ(instance->Crash, 0);
}

INSTANTIATE_TEST_SUITE_P(Samples, SampleAirplaneTest, ::testing::ValuesIn(kAirplanes),
                         [](const ::testing::TestParamInfo<airplane>& info) { return std::string(info.param.name); });

// A keypad pilot's rudder and aileron keys are one stick: three presses
// held through the jet's take-off run swing it, but it stays on the runway
// and on its wheels.
TEST_F(SampleFlightTest, JetKeepsToTheRunwayWithRudderAndAileronsHeldOnTheRun) {
  kxdaircraftinstance* instance = Start("jet");
  ASSERT_NE(instance, nullptr) << kxtest::logcapture::Text();
  Begin();
  const kxdbody* m = instance->SimMainBody;
  Set(kThrottle, 1.0f);
  Set(kElevator, 0.2f);
  for (int f : {kRudder, kLeftAileron, kRightAileron}) Set(f, 0.3f);
  float widest = 0.0f, steepest = 0.0f, heading = 0.0f;
  int frames = 0, airborne = 0;
  for (; frames * kFrame < kTakeOffLimit && airborne * kFrame < kAirborne; ++frames) {
    if (OnGround(instance)) {
      airborne = 0;
      widest = std::max(widest, std::fabs(m->B.R.y));
      steepest = std::max(steepest, std::fabs(Bank(m)));
      heading = std::max(heading, std::fabs(Heading(m)));
    } else {
      ++airborne;
    }
    Step();
  }
  std::printf("jet with rudder and ailerons at 0.3: %.1f m off the centre line, bank under %.1f deg, heading %.1f "
              "deg on the run\n",
              widest, steepest, heading);
  EXPECT_GE(airborne * kFrame, kAirborne);
  EXPECT_LT(widest, kRunwayHalfWidth);
  EXPECT_LT(steepest, 20.0f);
  EXPECT_EQ(instance->Crash, 0);
}

// ---- aerobatics

constexpr float kShowHeight = 80.0f;    // m above the start: room for a loop and the way out of a stall
constexpr float kLevelFor = 5.0f;       // s held level at full throttle before the manoeuvre
constexpr float kLoopLimit = 12.0f;     // s to go round
constexpr float kFlying = 30.0f;        // deg: the most the nose may point off the flight path while it flies
constexpr float kWingsLevel = 30.0f;    // deg: the most the wing may turn away from where it pointed
constexpr float kRollLimit = 2.0f;      // s for a full roll
constexpr float kRollHeading = 30.0f;   // deg the heading may change through the roll
constexpr float kHardPull = 0.6f;       // up elevator that takes a trainer to the stall
constexpr float kHardPullWatch = 3.0f;  // s

// Angle between two unit vectors, degrees.
float Between(const kxvector4r& a, const kxvector4r& b) {
  return std::acos(std::clamp(kxvector4r::Dot3(a, b), -1.0f, 1.0f)) * kDegrees;
}

// An angle (degrees) followed frame by frame and unwound: how far it has
// turned in all since the first.
struct winding {
  float last;
  float total = 0.0f;
  void Follow(float angle) {
    float step = angle - last;
    total += step - 360.0f * std::round(step / 360.0f);
    last = angle;
  }
};

struct aerobat {
  const char* name;
  float cruise;    // m/s, launched at about its hands-off speed
  float elevator;  // up elevator held for the loop
};

const aerobat kAerobats[] = {{"christeneagle", 15.0f, 0.5f}, {"trainer", 13.5f, 0.5f}, {"jet", 19.5f, 0.3f}};

void PrintTo(const aerobat& a, std::ostream* out) { *out << a.name; }

class SampleAerobaticsTest : public SampleFlightTest {
 protected:
  // Launched level kShowHeight above its start at its hands-off speed, it
  // is held level at full throttle for kLevelFor, as a pilot levels off
  // before a manoeuvre: the elevator answers the climb rate and damps the
  // pitch rate.
  const kxdbody* LevelAtFullThrottle(const aerobat& a) {
    kxdaircraftinstance* instance = Start(a.name);
    if (!instance) return nullptr;
    Begin();
    simplayer* p = &sim::players[0];
    kxmatrix launch = p->saved_frame;
    launch.R.z += kShowHeight;
    const float velocity[4] = {a.cruise * launch.X.x, a.cruise * launch.X.y, a.cruise * launch.X.z, 0.0f};
    sim::SetAircraftPose(p, launch, velocity);
    const kxdbody* m = instance->SimMainBody;
    constexpr float kClimbGain = 0.05f, kClimbIntegral = 0.05f, kRateGain = 0.3f;  // per m/s, per m, per rad/s
    Set(kThrottle, 1.0f);
    float trim = 0.0f, pitch = Pitch(m);
    for (int k = 0; k < static_cast<int>(kLevelFor / kFrame); ++k) {
      float rate = (Pitch(m) - pitch) / kDegrees / kFrame;
      pitch = Pitch(m);
      trim = std::clamp(trim - kClimbIntegral * m->D.R.z * kFrame, -1.0f, 1.0f);
      Set(kElevator, std::clamp(trim - kClimbGain * m->D.R.z - kRateGain * rate, -1.0f, 1.0f));
      Step();
    }
    instance_ = instance;
    return m;
  }
  kxdaircraftinstance* instance_ = nullptr;
};

class SampleLoopTest : public SampleAerobaticsTest, public ::testing::WithParamInterface<aerobat> {};

// From level flight at full throttle, the sample's up elevator held: the
// nose goes round through 360 degrees while the wings keep their
// direction and the nose follows the flight path, never falling through.
TEST_P(SampleLoopTest, LoopsFromLevelFlightAtFullThrottle) {
  const aerobat& a = GetParam();
  const kxdbody* m = LevelAtFullThrottle(a);
  ASSERT_NE(m, nullptr) << kxtest::logcapture::Text();
  const float entry = Speed(m), entryHeight = m->B.R.z;
  const kxvector4r wing = m->B.Y;
  kxvector4r ahead = {m->B.X.x, m->B.X.y, 0.0f, 0.0f};
  kxvector4r::Normalise(ahead);
  // The nose's angle in the vertical plane of the entry.
  auto nose = [&] { return std::atan2(m->B.X.z, kxvector4r::Dot3(m->B.X, ahead)) * kDegrees; };
  winding turned{nose()};
  Set(kElevator, a.elevator);
  float slowest = entry, top = entryHeight, offPath = 0.0f, wingOff = 0.0f;
  int frames = 0;
  for (; frames * kFrame < kLoopLimit && turned.total < 360.0f; ++frames) {
    Step();
    turned.Follow(nose());
    const float v = Speed(m);
    slowest = std::min(slowest, v);
    top = std::max(top, m->B.R.z);
    if (v > 0.0f) {
      const kxvector4r path = {m->D.R.x / v, m->D.R.y / v, m->D.R.z / v, 0.0f};
      offPath = std::max(offPath, Between(m->B.X, path));
    }
    wingOff = std::max(wingOff, Between(m->B.Y, wing));
  }
  std::printf("%s: loop at %.2f up from %.1f km/h: %.0f deg round in %.1f s, slowest %.1f km/h, top %.1f m above "
              "the entry, nose up to %.1f deg off the path, wing up to %.1f deg off\n",
              a.name, a.elevator, entry * kKmh, turned.total, frames * kFrame, slowest * kKmh, top - entryHeight, offPath,
              wingOff);
  EXPECT_GE(turned.total, 360.0f);
  EXPECT_LE(offPath, kFlying);
  EXPECT_LE(wingOff, kWingsLevel);
  EXPECT_EQ(instance_->Crash, 0);
}

INSTANTIATE_TEST_SUITE_P(Samples, SampleLoopTest, ::testing::ValuesIn(kAerobats),
                         [](const ::testing::TestParamInfo<aerobat>& info) { return std::string(info.param.name); });

// Full right aileron alone from level flight at full throttle: the biplane
// rolls right through 360 degrees within kRollLimit and comes out on
// about its heading.
TEST_F(SampleAerobaticsTest, BiplaneRollsThroughAFullTurnWithFullAileron) {
  const kxdbody* m = LevelAtFullThrottle(kAerobats[0]);
  ASSERT_NE(m, nullptr) << kxtest::logcapture::Text();
  const float heading = Heading(m);
  // The bank about the nose.
  auto bank = [m] { return std::atan2(m->B.Y.z, m->B.Z.z) * kDegrees; };
  winding rolled{bank()};
  Set(kElevator, 0.0f);
  Set(kLeftAileron, 1.0f);
  Set(kRightAileron, 1.0f);
  int frames = 0;
  for (; frames * kFrame < 2.0f * kRollLimit && rolled.total < 360.0f; ++frames) {
    Step();
    rolled.Follow(bank());
  }
  Set(kLeftAileron, 0.0f);
  Set(kRightAileron, 0.0f);
  float turn = Heading(m) - heading;
  turn -= 360.0f * std::round(turn / 360.0f);
  std::printf("christeneagle: full aileron rolls it %.0f deg in %.2f s, heading %+.1f deg after, %.1f km/h\n",
              rolled.total, frames * kFrame, turn, Speed(m) * kKmh);
  EXPECT_GE(rolled.total, 360.0f);
  EXPECT_LE(frames * kFrame, kRollLimit);
  EXPECT_LE(std::fabs(turn), kRollHeading);
  EXPECT_EQ(instance_->Crash, 0);
}

// A trainer pulled hard, 0.6 up elevator held from level flight at full
// throttle, pitches up and goes on straight ahead, over the top or
// mushing: its wings keep their direction instead of flicking it into a
// spin.
TEST_F(SampleAerobaticsTest, TrainerPulledHardPitchesUpWithoutFlickingIntoASpin) {
  const kxdbody* m = LevelAtFullThrottle(kAerobats[1]);
  ASSERT_NE(m, nullptr) << kxtest::logcapture::Text();
  const kxvector4r wing = m->B.Y;
  const float pitch = Pitch(m);
  Set(kElevator, kHardPull);
  float highest = pitch, wingOff = 0.0f, slowest = Speed(m);
  for (int k = 0; k < static_cast<int>(kHardPullWatch / kFrame); ++k) {
    Step();
    highest = std::max(highest, Pitch(m));
    wingOff = std::max(wingOff, Between(m->B.Y, wing));
    slowest = std::min(slowest, Speed(m));
  }
  std::printf("trainer at %.1f up: pitch from %.1f up to %.1f deg, wing up to %.1f deg off, slowest %.1f km/h\n",
              kHardPull, pitch, highest, wingOff, slowest * kKmh);
  EXPECT_GE(highest - pitch, 10.0f);
  EXPECT_LE(wingOff, kWingsLevel);
  EXPECT_EQ(instance_->Crash, 0);
}

// ---- helicopters

class SampleHelicopterTest : public SampleFlightTest, public ::testing::WithParamInterface<const char*> {};

constexpr float kSpinUp = 10.0f;        // s, the engine's start ramp, collective down
constexpr float kBelowHover = -0.1f;    // collective that leaves it on its skids
constexpr float kAboveHover = 0.1f;     // collective that lifts it off
constexpr float kWatchLevel = 5.0f;     // s after lift-off

// Spun up with the collective down; at -0.1 it stays on its skids, at 0.1
// it lifts off and climbs gently, level with the cyclic centred: it hovers
// near the middle of the stick.
TEST_P(SampleHelicopterTest, LiftsOffLevelJustAboveItsHoverSetting) {
  kxdaircraftinstance* instance = Start(GetParam());
  ASSERT_NE(instance, nullptr) << kxtest::logcapture::Text();
  Begin();
  const kxdbody* m = instance->SimMainBody;
  Set(kCollective, -1.0f);
  for (int k = 0; k < static_cast<int>(kSpinUp / kFrame); ++k) Step();
  const float standing = m->B.R.z;
  Set(kCollective, kBelowHover);
  bool stayed = true;
  for (int k = 0; k < static_cast<int>(2.0f / kFrame); ++k) {
    Step();
    stayed = stayed && instance->GroundContact;
  }
  Set(kCollective, kAboveHover);
  int frames = 0, airborne = 0;
  for (; frames * kFrame < 3.0f && airborne * kFrame < kAirborne; ++frames) {
    airborne = instance->GroundContact ? 0 : airborne + 1;
    Step();
  }
  ASSERT_GE(airborne * kFrame, kAirborne) << "no lift-off";
  float roll = 0.0f, pitch = 0.0f;
  for (int k = 0; k < static_cast<int>((kWatchLevel - kAirborne) / kFrame); ++k) {
    Step();
    roll = std::max(roll, std::fabs(Bank(m)));
    pitch = std::max(pitch, std::fabs(Pitch(m)));
  }
  const float climb = (m->B.R.z - standing) / kWatchLevel;
  std::printf("%s: on its skids at collective %.1f; at %.1f it lifts off after %.2f s, climbs %.2f m/s, roll under "
              "%.1f deg, pitch under %.1f deg\n",
              GetParam(), kBelowHover, kAboveHover, (frames - airborne) * kFrame, climb, roll, pitch);
  EXPECT_TRUE(stayed);
  EXPECT_LE(roll, 10.0f);
  EXPECT_LE(pitch, 10.0f);
  EXPECT_GT(climb, 0.1f);
  EXPECT_LT(climb, 3.0f);
  EXPECT_EQ(instance->Crash, 0);
}

INSTANTIATE_TEST_SUITE_P(Samples, SampleHelicopterTest, ::testing::Values("heli", "heli01"),
                         [](const ::testing::TestParamInfo<const char*>& info) { return std::string(info.param); });

// A pilot lifting off from the start, the rotor still running up, cyclic
// and rudder centred: the collective raised at once to full, or over a few
// seconds to a gentle climb.
struct liftoff {
  const char* name;
  const char* how;
  float collective;  // where the stick ends
  float raise;       // s it takes to get there
  float climbMin;    // m/s over the watch after lift-off
  float climbMax;
  bool turns;        // the 10 s at full collective are watched for a steady turn
};

const liftoff kLiftOffs[] = {{"heli", "Full", 1.0f, 0.0f, 3.0f, 20.0f, true},
                             {"heli01", "Full", 1.0f, 0.0f, 3.0f, 20.0f, true},
                             {"heli", "Gentle", 0.1f, 3.5f, 0.3f, 2.0f, false},
                             {"heli01", "Gentle", 0.1f, 3.5f, 0.3f, 2.0f, false}};

void PrintTo(const liftoff& l, std::ostream* out) { *out << l.name << " " << l.how; }

class SampleHelicopterLiftOffTest : public SampleFlightTest, public ::testing::WithParamInterface<liftoff> {};

constexpr float kLiftOffLimit = 12.0f;  // s from the start to leave the ground
constexpr float kLevelBand = 10.0f;     // deg of roll and pitch in the watch after lift-off
constexpr float kTurnWatch = 10.0f;     // s at full collective after lift-off
constexpr float kSteadyTurn = 5.0f;     // deg/s about any axis, on average

// Roll and pitch stay within 10 degrees for 5 s after the skids leave the
// ground; at full collective neither turns on average faster than 5
// degrees a second about any axis over the 10 s after lift-off.
TEST_P(SampleHelicopterLiftOffTest, ClimbsLevelFromTheStart) {
  const liftoff& l = GetParam();
  kxdaircraftinstance* instance = Start(l.name);
  ASSERT_NE(instance, nullptr) << kxtest::logcapture::Text();
  Begin();
  const kxdbody* m = instance->SimMainBody;
  const float standing = m->B.R.z;
  float t = 0.0f, heading = 0.0f, last = Heading(m);  // heading unwrapped, deg
  auto fly = [&] {
    float raised = l.raise > 0.0f ? std::min(1.0f, t / l.raise) : 1.0f;
    Set(kCollective, -1.0f + (l.collective + 1.0f) * raised);
    Step();
    t += kFrame;
    heading += std::remainder(Heading(m) - last, 360.0f);
    last = Heading(m);
  };
  float liftOff = -1.0f;
  while (t < kLiftOffLimit && liftOff < 0.0f) {
    fly();
    if (!instance->GroundContact && m->B.R.z > standing) liftOff = t;
  }
  ASSERT_GE(liftOff, 0.0f) << "no lift-off in " << kLiftOffLimit << " s";
  const float height = m->B.R.z, roll0 = Bank(m), pitch0 = Pitch(m), heading0 = heading;
  float roll = 0.0f, pitch = 0.0f, climb = 0.0f;
  const float watch = l.turns ? kTurnWatch : kWatchLevel;
  while (t < liftOff + watch) {
    fly();
    if (t <= liftOff + kWatchLevel) {
      roll = std::max(roll, std::fabs(Bank(m)));
      pitch = std::max(pitch, std::fabs(Pitch(m)));
      climb = (m->B.R.z - height) / kWatchLevel;
    }
    ASSERT_EQ(instance->Crash, 0) << "crashed " << t - liftOff << " s after lift-off";
  }
  const float rollRate = (Bank(m) - roll0) / watch, pitchRate = (Pitch(m) - pitch0) / watch;
  const float yawRate = (heading - heading0) / watch;
  std::printf("%s, collective to %.2f in %.1f s: lifts off after %.2f s, climbs %.2f m/s, roll under %.1f deg, pitch "
              "under %.1f deg; over %.0f s on average %+.1f deg/s of roll, %+.1f of pitch, %+.1f of yaw\n",
              l.name, l.collective, l.raise, liftOff, climb, roll, pitch, watch, rollRate, pitchRate, yawRate);
  EXPECT_LE(roll, kLevelBand);
  EXPECT_LE(pitch, kLevelBand);
  EXPECT_GE(climb, l.climbMin);
  EXPECT_LE(climb, l.climbMax);
  if (l.turns) {
    EXPECT_LE(std::fabs(rollRate), kSteadyTurn);
    EXPECT_LE(std::fabs(pitchRate), kSteadyTurn);
    EXPECT_LE(std::fabs(yawRate), kSteadyTurn);
  }
}

INSTANTIATE_TEST_SUITE_P(Samples, SampleHelicopterLiftOffTest, ::testing::ValuesIn(kLiftOffs),
                         [](const ::testing::TestParamInfo<liftoff>& info) {
                           return std::string(info.param.name) + info.param.how;
                         });

// ---- the glider

constexpr float kGlideSettle = 10.0f;  // s after the launch
constexpr float kGlide = 30.0f;        // s measured, over a few of its slow pitch swings

// Launched level 100 m above its start at 9 m/s, sticks centred: it settles
// into a glide of a sailplane of its size.
TEST_F(SampleFlightTest, GliderGlidesHandsOffAtItsTrim) {
  kxdaircraftinstance* glider = Start("glider");
  ASSERT_NE(glider, nullptr) << kxtest::logcapture::Text();
  Begin();
  simplayer* p = &sim::players[0];
  kxmatrix launch = p->saved_frame;
  launch.R.z += 100.0f;
  const float velocity[4] = {9.0f * launch.X.x, 9.0f * launch.X.y, 9.0f * launch.X.z, 0.0f};
  sim::SetAircraftPose(p, launch, velocity);
  const kxdbody* g = glider->SimMainBody;
  for (int k = 0; k < static_cast<int>(kGlideSettle / kFrame); ++k) Step();
  const kxvector4r from = g->B.R;
  for (int k = 0; k < static_cast<int>(kGlide / kFrame); ++k) Step();
  const kxvector4r to = g->B.R;
  const float sink = (from.z - to.z) / kGlide;
  const float ratio = std::hypot(to.x - from.x, to.y - from.y) / (from.z - to.z);
  std::printf("glider: glide ratio %.1f, sink %.2f m/s at %.1f km/h\n", ratio, sink, Speed(g) * kKmh);
  EXPECT_GE(ratio, 10.0f);
  EXPECT_LE(ratio, 20.0f);
  EXPECT_GE(sink, 0.5f);
  EXPECT_LE(sink, 1.0f);
  EXPECT_EQ(glider->Crash, 0);
}

constexpr float kStandingBank = 8.0f;  // deg: on its wheels in line, a tip skid holds it this near level
constexpr float kNudge = 2.0f;         // deg of bank it is set down with
constexpr float kStandFor = 4.0f;      // s to settle

// Set down at its start with a little bank either way, the glider rolls
// onto a wing until a tip skid holds it, nearly level, where a launch that
// keeps its frame sends it off straight.
TEST_F(SampleFlightTest, GliderStandsNearlyLevelOnItsTipSkid) {
  kxdaircraftinstance* glider = Start("glider");
  ASSERT_NE(glider, nullptr) << kxtest::logcapture::Text();
  Begin();
  simplayer* p = &sim::players[0];
  for (float nudge : {kNudge, -kNudge}) {
    kxmatrix f = p->saved_frame;
    const float c = std::cos(nudge / kDegrees), s = std::sin(nudge / kDegrees);
    const kxvector4r y = f.Y, z = f.Z;
    f.Y = {c * y.x + s * z.x, c * y.y + s * z.y, c * y.z + s * z.z, 0.0f};
    f.Z = {c * z.x - s * y.x, c * z.y - s * y.y, c * z.z - s * y.z, 0.0f};
    const float still[4] = {0.0f, 0.0f, 0.0f, 0.0f};
    sim::SetAircraftPose(p, f, still);
    const kxdbody* g = glider->SimMainBody;
    for (int k = 0; k < static_cast<int>(kStandFor / kFrame); ++k) Step();
    std::printf("glider set down at %+.0f deg stands at %+.1f deg of bank\n", nudge, Bank(g));
    EXPECT_GT(std::fabs(Bank(g)), 1.0f);  // on a skid, not balanced on its wheels
    EXPECT_LE(std::fabs(Bank(g)), kStandingBank);
    EXPECT_TRUE(OnGround(glider));
    EXPECT_EQ(glider->Crash, 0);
  }
}

// ---- towing

constexpr float kTowHeight = 50.0f;  // m above the glider's start
constexpr float kTowLimit = 50.0f;   // s

constexpr float kKiteLimit = 5.0f;    // m the glider may climb above the tug

// The tug's start and the glider one rope length behind it; full throttle
// on the trainer, the glider hands-off: the rope holds below its rated load
// while the glider rolls along the runway, lifts off and is towed to 50 m,
// never climbing far above the tug, whose tail it would pull up.
TEST_F(SampleFlightTest, TrainerTowsTheGliderOffTheRunwayTo50Metres) {
  kxdaircraftinstance* tug = Start("trainer", 0);
  kxdaircraftinstance* glider = Start("glider", 1);
  ASSERT_TRUE(tug && glider) << kxtest::logcapture::Text();
  sim::session.run.player_count = 2;
  sim::players[0].next = &sim::players[1];
  Begin();
  sim::FSchleppStart();
  kxdrope00* rope = sim::session.run.rope;
  ASSERT_NE(rope, nullptr);
  const kxdbody* g = glider->SimMainBody;
  const float start = g->B.R.z;
  // The rope breaks above (1 + 9 strength) times the towed aircraft's weight.
  const float rated = (1.0f + 9.0f * rope->Strength) * g->SystemMass * 9.81f;
  Set(kThrottle, 1.0f);
  float pull = 0.0f, rollingSpeed = 0.0f, liftOffAt = -1.0f, highAt = -1.0f, kite = 0.0f;
  int airborne = 0;
  bool held = true;
  for (int k = 0; k * kFrame < kTowLimit && highAt < 0.0f; ++k) {
    Step();
    held = held && sim::session.run.rope == rope && rope->Active[0] && rope->Active[1];
    if (!held) break;
    pull = std::max(pull, rope->Tension);
    // The first jerk of the rope may make it hop: it lifts off when it
    // leaves the ground for good.
    if (OnGround(glider)) {
      rollingSpeed = Speed(g);
      airborne = 0;
      liftOffAt = -1.0f;
    } else if (++airborne * kFrame >= kAirborne && liftOffAt < 0.0f) {
      liftOffAt = (k - airborne) * kFrame;
    }
    kite = std::max(kite, g->B.R.z - tug->SimMainBody->B.R.z);
    if (g->B.R.z - start >= kTowHeight) highAt = k * kFrame;
  }
  std::printf("tow: glider rolls to %.1f km/h, lifts off after %.1f s, at most %.1f m above the tug, %.0f m up "
              "after %.1f s; rope pull up to %.1f N of %.1f N\n",
              rollingSpeed * kKmh, liftOffAt, kite, kTowHeight, highAt, pull, rated);
  EXPECT_TRUE(held);
  EXPECT_GT(pull, 0.0f);
  EXPECT_LT(pull, rated);
  EXPECT_GT(rollingSpeed * kKmh, 20.0f);  // pulled along the runway before it flies
  EXPECT_GT(liftOffAt, 0.0f);
  EXPECT_LT(kite, kKiteLimit);
  EXPECT_GT(highAt, 0.0f) << "not at " << kTowHeight << " m in " << kTowLimit << " s";
  EXPECT_EQ(tug->Crash, 0);
  EXPECT_EQ(glider->Crash, 0);
}

}  // namespace
