// The sample models of the older format flown as a pilot flies them,
// through the first player's function channels: the rudder turns each one
// right; the helicopter hovers a little above centre collective, lifts off
// level, answers the cyclic and settles again without rocking; the vector
// jet takes off, climbs and works its drawn surfaces, air brake and vario.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "tests/legacy/model_support.h"

namespace {

using namespace dnsmodel;

constexpr float kDegPerRad = 57.29578f;
constexpr float kFrame = 0.02f;   // s

class LegacySampleFlightTest : public kxltest::pilottest {
 protected:
  void SetUp() override {
    pilottest::SetUp();
    BuildWorld();
  }
  void LoadSample(const char* stem) {
    Install(stem);
    int kind = 0;
    ASSERT_EQ(LoadWithPropBlur(stem, 1, &kind), 1) << stem;
  }
  // Set down level at the field's centre, or started at a height with a
  // speed along world x.
  void Start(float height = 0.0f, float speed = 0.0f) {
    integral_ = 0.0f;
    SetFrame({0, 0, height + 1.0f}, {1, 0, 0}, {0, 0, 1}, {speed, 0, 0});
  }
  template <class T>
  static T* Part(const char* name) {
    for (object* p = state().parts; p; p = p->next) {
      if (std::strcmp(p->Name, name) == 0) return As<T>(p);
    }
    return nullptr;
  }
  static float Heading() { return std::atan2(model()->axisX[1], model()->axisX[0]) * kDegPerRad; }
  static float BankRight() { return std::asin(std::clamp(model()->axisY[2], -1.0f, 1.0f)) * kDegPerRad; }
  static float PitchUp() { return std::asin(std::clamp(model()->axisX[2], -1.0f, 1.0f)) * kDegPerRad; }
  // A height hold on the collective, as a pilot hovers: proportional to the
  // height error and the climb, with an integral that rests while the stick
  // is at its end (the rotor spinning up), so it does not carry the model
  // past the height. Returns the stick it set.
  float HoldHeight(float height) {
    float error = height - Position()[2];
    float c = 0.15f * error - 0.3f * model()->velocity[2] + 0.05f * integral_;
    if (std::fabs(c) < 1.0f) integral_ += kFrame * error;
    return Stick(kChannelThrottle) = std::clamp(c, -1.0f, 1.0f);
  }
  // Frames for the seconds, the collective holding the height when one is
  // given (not NaN).
  void FlyHolding(float seconds, float height) {
    for (float t = 0.0f; t < seconds; t += kFrame) {
      if (!std::isnan(height)) HoldHeight(height);
      Pilot(kFrame);
    }
  }

  float integral_ = 0.0f;
};

// Rudder +0.5 for a while turns each sample right (its heading falls); with
// it centred the heading holds. In a glide, in powered flight, rolling on
// the ground on the nose wheel, and in the hover on the heading gyro.
TEST_F(LegacySampleFlightTest, PositiveRudderYawsEverySampleRight) {
  const float kHover = NAN;
  struct sample {
    const char* stem;
    float height, speed;  // m, m/s at the start
    float throttle;       // NaN: the collective holds 3 m
    float climb;          // s before the rudder
    float seconds;        // s of rudder
    float least, most;    // deg of turn to the right
    float drift;          // deg the heading may wander with the rudder centred
  };
  // The piccolo's gusts are drawn at random: centred, its heading wanders
  // by a few degrees a second, as much one way as the other.
  for (sample s : {sample{"glider", 50, 10, -1, 0, 1, 4, 10, 0.5f}, sample{"trainer", 50, 14, 0.3f, 0, 1, 2, 6, 0.5f},
                   sample{"trainer", 0, 0, 1, 0, 2, 45, 120, 0.5f}, sample{"vectorjet", 50, 20, 0, 0, 1, 2, 10, 0.5f},
                   sample{"heli", 0, 0, kHover, 5, 1, 90, 180, 0.5f},
                   sample{"piccolo", 0, 0, 1, 5, 1, 40, 90, 5.0f}}) {
    LoadSample(s.stem);
    float turn[2];
    for (float rudder : {0.0f, 0.5f}) {
      Start(s.height, s.speed);
      Stick(kChannelRudder) = 0.0f;
      Stick(kChannelThrottle) = s.throttle;
      FlyHolding(s.climb, std::isnan(s.throttle) ? 3.0f : NAN);
      const float before = Heading();
      Stick(kChannelRudder) = rudder;
      FlyHolding(s.seconds, std::isnan(s.throttle) ? 3.0f : NAN);
      turn[rudder > 0.0f] = std::remainder(before - Heading(), 360.0f);
      EXPECT_FALSE(Crashed()) << s.stem << " " << rudder;
    }
    EXPECT_NEAR(turn[0], 0.0f, s.drift) << s.stem << " at " << s.height << " m, centred";
    EXPECT_GT(turn[1], s.least) << s.stem << " at " << s.height << " m";
    EXPECT_LT(turn[1], s.most) << s.stem << " at " << s.height << " m";
  }
}

// A small rudder on the ground turns the trainer as a trainer turns: the
// keypad's NUM 6 twice (aileron and rudder 0.2) on the take-off run at 27
// and at 40 km/h, where it lifts off, and the rudder alone rolling at
// 40 km/h and taxiing at 10 km/h with the throttle closed, turn it right
// by at most the degrees given in 1.6 s (about 20 to 30 a second), its
// wing tips clear of the ground.
TEST_F(LegacySampleFlightTest, TrainerAnswersASmallRudderGentlyOnTheGround) {
  constexpr float kSeconds = 1.6f;
  struct run {
    float kmh;                 // when the sticks go over
    float aileron, throttle;   // from then on
    float most;                // deg of turn in kSeconds
  };
  LoadSample("trainer");
  for (run r : {run{27, 0.2f, 1, 32}, run{40, 0.2f, 1, 32}, run{40, 0, -1, 32}, run{10, 0, -1, 48}}) {
    Start();
    for (int channel : {kChannelAileron, kChannelElevator, kChannelRudder}) Stick(channel) = 0;
    Stick(kChannelThrottle) = 1;
    for (float t = 0.0f; t < 10.0f && Speed() < r.kmh / 3.6f; t += kFrame) Pilot(kFrame);
    const float before = Heading();
    Stick(kChannelRudder) = 0.2f;
    Stick(kChannelAileron) = r.aileron;
    Stick(kChannelThrottle) = r.throttle;
    float fastest = 0.0f;
    bool tipDown = false;
    for (float t = 0.0f; t < kSeconds; t += kFrame) {
      Pilot(kFrame);
      fastest = std::max(fastest, std::fabs(model()->worldOmega[2]) * kDegPerRad);
      for (const char* name : {"TipL", "TipR"}) tipDown = tipDown || Part<tip>(name)->freeFlag == 0;
    }
    const float turn = std::remainder(before - Heading(), 360.0f);
    EXPECT_GT(turn, 5.0f) << r.kmh << " km/h";
    EXPECT_LT(turn, r.most) << r.kmh << " km/h";
    EXPECT_LT(fastest, 90.0f) << r.kmh << " km/h: deg/s";
    EXPECT_FALSE(tipDown) << r.kmh << " km/h";
    EXPECT_FALSE(Crashed()) << r.kmh << " km/h";
  }
}

// Whatever flew before, and however, a placing starts the model as a fresh
// load of it does: after every sample flown with the sticks, flaps and gear
// thrown, the model loaded again and the same model placed again without a
// reload meet the runtime's values, the ground's normal and their
// propellers' and rotors' flow and load as on a fresh runtime.
TEST_F(LegacySampleFlightTest, EveryPlacingStartsLikeAFreshLoadAfterOtherFlights) {
  struct start {
    std::vector<float> values;

    static start Now() {
      const dnsruntime& rt = Runtime();
      start s{{rt.channels, rt.channels + kControlCount}};
      s.values.insert(s.values.end(), {rt.slewChannel4, rt.slewChannel5, static_cast<float>(rt.heliMode), rt.levelRate,
                                       rt.lastEngineSpeed, rt.gustTimer2, rt.gustTimer3, rt.gust2, rt.gust3});
      s.values.insert(s.values.end(), model()->groundNormal, model()->groundNormal + 3);
      for (object* p = state().parts; p; p = p->next) {
        if (const propeller* q = As<propeller>(p)) s.values.insert(s.values.end(), {q->induced, q->torque});
        if (const rotor* r = As<rotor>(p)) s.values.push_back(r->torque);
      }
      return s;
    }
  };
  auto place = [this] {
    kxsystem::SeedRandom(7);
    Start();
    return start::Now();
  };
  auto fly = [this](bool inTheAir) {
    Start(inTheAir ? 50.0f : 0.0f, inTheAir ? 15.0f : 0.0f);
    for (int channel : {kChannelThrottle, kChannelFlap, kChannelGear}) Stick(channel) = 1;
    Stick(kChannelAileron) = 0.4f, Stick(kChannelElevator) = 0.3f, Stick(kChannelRudder) = 0.5f;
    Pilot(1.0f);
  };
  const char* samples[] = {"piccolo", "heli", "vectorjet", "trainer", "glider"};
  for (const char* stem : samples) {
    Unload();
    ResetRuntime();
    LoadSample(stem);
    const start fresh = place();
    for (const char* other : samples) LoadSample(other), fly(false), fly(true);
    LoadSample(stem);
    EXPECT_EQ(place().values, fresh.values) << stem << " loaded again";
    fly(false);
    EXPECT_EQ(place().values, fresh.values) << stem << " placed again";
  }
}

// The collective that holds 5 m lies a little above centre; set there with
// the cyclic centred the helicopter lifts off within a few seconds, level.
TEST_F(LegacySampleFlightTest, HeliHoversAboveCentreCollectiveAndLiftsOffLevel) {
  LoadSample("heli");
  Start();
  FlyHolding(17.0f, 5.0f);
  float sum = 0.0f;
  int frames = 0;
  for (; frames < 150; ++frames) sum += HoldHeight(5.0f), Pilot(kFrame);
  const float hover = sum / static_cast<float>(frames);
  EXPECT_GT(hover, 0.0f);
  EXPECT_LT(hover, 0.3f);
  EXPECT_NEAR(Position()[2], 5.0f, 0.5f);

  Start();
  Stick(kChannelThrottle) = hover;
  float liftOff = -1.0f, worst = 0.0f;
  for (float t = 0.0f; t < 10.0f && (liftOff < 0.0f || t < liftOff + 5.0f); t += kFrame) {
    Pilot(kFrame);
    if (liftOff < 0.0f && Position()[2] > 0.3f) liftOff = t;
    worst = std::max({worst, std::fabs(BankRight()), std::fabs(PitchUp())});
  }
  EXPECT_GT(liftOff, 1.0f);
  EXPECT_LT(liftOff, 5.0f);
  EXPECT_LT(worst, 10.0f);
  EXPECT_FALSE(Crashed());
}

// A 0.2 s pulse of half aileron banks it right, of half up elevator pitches
// it up; the body follows the disc without rocking on it and the disc
// levels itself, so the helicopter comes back to level hands-off.
TEST_F(LegacySampleFlightTest, HeliAnswersACyclicPulseAndSettlesWithoutRocking) {
  LoadSample("heli");
  struct pulse {
    int channel;
    float (*attitude)();
    int axis;   // of the body's rate
  };
  for (pulse p : {pulse{kChannelAileron, BankRight, 0}, pulse{kChannelElevator, PitchUp, 1}}) {
    Start();
    FlyHolding(8.0f, 5.0f);
    Stick(p.channel) = 0.5f;
    FlyHolding(0.2f, 5.0f);
    Stick(p.channel) = 0.0f;
    float peak = 0.0f, rocking = 0.0f;
    for (float t = 0.0f; t < 8.0f; t += kFrame) {
      FlyHolding(kFrame, 5.0f);
      peak = std::max(peak, p.attitude());
      if (t > 1.0f && t < 3.0f) rocking = std::max(rocking, std::fabs(model()->omega[p.axis]));
    }
    EXPECT_GT(peak, 10.0f) << p.channel;
    EXPECT_LT(peak, 40.0f) << p.channel;
    EXPECT_LT(rocking, 0.3f) << p.channel << ": rad/s";
    EXPECT_LT(std::fabs(p.attitude()), 3.0f) << p.channel;
    EXPECT_FALSE(Crashed());
  }
}

// The vector jet at full throttle, hands off: it lifts off within 10 s
// below 90 km/h and climbs on for 10 s, higher every second, its pitch
// between 0 and 30 deg (no loop, no stall). Its drawn surfaces swing with
// the sticks (a positive control lowers the trailing edge of the left
// aileron, raises the elevator's for up elevator and turns the rudder's
// right), the air brake rises 3 cm with the throttle closed and the vario
// follows the energy height.
TEST_F(LegacySampleFlightTest, VectorJetTakesOffClimbsAndWorksItsParts) {
  LoadSample("vectorjet");
  Start();
  Stick(kChannelThrottle) = 1.0f;
  const float ground = Position()[2];
  float liftOff = -1.0f;
  for (float t = 0.0f; t < 10.0f && liftOff < 0.0f; t += kFrame) {
    Pilot(kFrame);
    if (Position()[2] > ground + 0.3f) liftOff = t;
  }
  EXPECT_GT(liftOff, 2.0f);
  EXPECT_LT(liftOff, 10.0f);
  EXPECT_LT(Speed(), 25.0f);
  float lowest = 90.0f, highest = -90.0f, height = Position()[2];
  for (int second = 0; second < 10; ++second) {
    for (float t = 0.0f; t < 1.0f; t += kFrame) {
      Pilot(kFrame);
      lowest = std::min(lowest, PitchUp());
      highest = std::max(highest, PitchUp());
    }
    EXPECT_GT(Position()[2], height) << second << " s after lift-off";
    height = Position()[2];
  }
  EXPECT_GT(lowest, 0.0f);
  EXPECT_LT(highest, 30.0f);
  EXPECT_FALSE(Crashed());

  struct surface {
    const char* name;
    int channel, axis;   // of the surface's X axis that turns
    float sense;         // its sign for a positive stick
  };
  for (surface f : {surface{"AileronL", kChannelAileron, 2, 1}, surface{"AileronR", kChannelAileron, 2, -1},
                    surface{"Elevator", kChannelElevator, 2, -1}, surface{"Rudder", kChannelRudder, 1, 1}}) {
    const object* part = Part<flap>(f.name) ? &Part<flap>(f.name)->base : nullptr;
    ASSERT_NE(part, nullptr) << f.name;
    Stick(f.channel) = 0.5f;
    Pilot(kFrame);
    EXPECT_GT(f.sense * part->X[f.axis], 0.15f) << f.name;
    Stick(f.channel) = 0.0f;
    Pilot(kFrame);
    EXPECT_NEAR(part->X[f.axis], 0.0f, 1e-3f) << f.name;
  }
  brake* spoiler = Part<brake>("Spoiler");
  ASSERT_NE(spoiler, nullptr);
  for (float throttle : {-1.0f, 1.0f}) {
    Stick(kChannelThrottle) = throttle;
    Pilot(kFrame);
    EXPECT_NEAR(spoiler->base.R[2] - spoiler->rest, throttle < 0.0f ? 0.03f : 0.0f, 1e-4f) << throttle;
  }
  const vario* v = Part<vario>("Vario");
  ASSERT_NE(v, nullptr);
  const float u = model()->airVelocity[0];
  EXPECT_NEAR(v->energy, Position()[2] + u * u / (2.0f * kGravity), 0.01f * v->energy);
}

}  // namespace
