// The part classes' physics one substep at a time, on a model at rest with
// its axes along the world's: the wing's lift, stall, slipstream and links,
// the fuselage's cross force, the wheel's gear, surfaces, steering and
// strut, the tip's touch-down, the engine's throttle model, the
// propeller's tail mode and sound, the rotor's thrust factors, disc and
// drawn spin, the small helicopter's gusts and drag, the gyros, the vario
// and the vectored thrust.
#include <cmath>
#include <cstring>

#include "legacy/dynamics.h"
#include "legacy/part_operations.h"
#include "platform/random.h"
#include "platform/sound.h"
#include "tests/legacy/legacy_support.h"

namespace {

using namespace dnsmodel;

class LegacyPartsTest : public kxltest::legacytest {
 protected:
  void SetUp() override {
    legacytest::SetUp();
    ResetRuntime();
    ds = static_cast<dynamicsystem*>(CreateObject("dynamicsystem"));
    SetRows(ds->toBody, {1, 0, 0}, {0, 1, 0}, {0, 0, 1});
    SetColumns(ds->toWorld, {1, 0, 0}, {0, 1, 0}, {0, 0, 1});
    Store(ds->axisZ, {0, 0, 1});
    ds->density = kAirDensity;
  }
  void TearDown() override {
    ResetRuntime();
    legacytest::TearDown();
  }
  // A part appended to the model's list, its frame the body's.
  template <class T>
  T* Add(const char* type, const char* name) {
    auto* part = static_cast<T*>(CreateObject(type));
    object* o = &part->base;
    std::strcpy(o->Name, name);
    Store(o->X, {1, 0, 0});
    Store(o->Y, {0, 1, 0});
    Store(o->Z, {0, 0, 1});
    object** end = &ds->objects;
    while (*end) end = &(*end)->next;
    *end = o;
    return part;
  }
  // A propeller or rotor of the radius (m) and solidity on an engine held
  // at the speed (rad/s).
  template <class T>
  T* OnEngine(const char* type, float radius, float sigma, float speed) {
    engine* e = Add<engine>("engine", "Eng");
    e->Inertia = 1.0f;
    e->Max = e->Min = speed;
    T* a = Add<T>(type, "Airscrew");
    std::strcpy(a->Engine, "Eng");
    a->Radius = radius;
    a->Area = 3.1415927f * radius * radius;
    a->Sigma = sigma;
    a->Trans = 1.0f;
    return a;
  }
  void Start() {
    interaction::AddSegment(&ds->interaction, 0, 0, 0, 0, 0, 0);
    for (object* p = ds->objects; p; p = p->next) p->Init(ds);
    for (object* p = ds->objects; p; p = p->next) p->Update(ds);
  }
  void Compute(float dt, int substeps = 1) {
    for (int i = 0; i < substeps; ++i) {
      Store(ds->force, {0, 0, 0});
      Store(ds->torque, {0, 0, 0});
      for (object* p = ds->objects; p; p = p->next) p->Compute(ds, dt);
    }
  }
  static float* Channels() { return Runtime().channels; }

  dynamicsystem* ds = nullptr;
};

// A wing of 0.002 m^2 makes no force but still swings its flap and feeds
// its brake, which acts only from a channel value of -0.2 down.
TEST_F(LegacyPartsTest, SmallWingStillDrivesItsFlapAndBrake) {
  wing* w = Add<wing>("wing", "W");
  flap* f = Add<flap>("flap", "F");
  brake* b = Add<brake>("brake", "B");
  w->Area = 0.002f;
  w->Channel = 1;
  w->C1 = 1.0f;
  w->ChannelB = 6;
  std::strcpy(w->Brake, "B");
  std::strcpy(w->Flap, "F");
  b->base.R[2] = 0.1f;
  b->Shift = 0.2f;
  Start();
  Store(ds->airVelocity, {20, 0, 0});
  Channels()[1] = 0.5f;
  for (float brakeChannel : {-0.1f, -0.5f, 0.3f}) {
    Channels()[6] = brakeChannel;
    Compute(0.001f);
    float expected = brakeChannel > -0.2f ? 0.0f : brakeChannel;
    EXPECT_FLOAT_EQ(b->input, expected);
    EXPECT_FLOAT_EQ(b->base.R[2], 0.1f - expected * 0.2f);
    EXPECT_FLOAT_EQ(f->input, 0.5f);
    EXPECT_NEAR(f->base.X[0], std::cos(0.2f), 1e-6f);
    EXPECT_NEAR(f->base.X[1], -std::sin(0.2f), 1e-6f);
    EXPECT_EQ(Length(Load(ds->force)), 0.0f);
  }
}

// Lift and drag of a wing of 0.1 m^2 in a flow of 10 m/s: level, with half
// of a 4 m/s slipstream, at 14 deg and past its stall at 30 deg (where the
// lift falls), and with its air brake shut (a channel above -0.2) and fully
// open (half the lift, ten times the drag).
TEST_F(LegacyPartsTest, WingLiftStallsAndTheAirBrakeAddsDrag) {
  wing* w = Add<wing>("wing", "W");
  Add<brake>("brake", "B");
  Store(w->base.Y, {0, -1, 0});
  Store(w->base.Z, {0, 0, -1});
  w->Area = 0.1f;
  w->Ca00 = 0.2f;
  w->Ca1 = 4.0f;
  w->Cw00 = 0.02f;
  w->Cw3 = 1.0f;
  w->Edge = 0.25f;
  w->Slope = 8.0f;
  w->Loss = 0.6f;
  w->Factor = 0.5f;
  w->Bl = 0.5f;
  w->Bd = 0.02f;
  w->ChannelB = 6;
  std::strcpy(w->Brake, "B");
  Start();
  struct flow {
    float attackDeg, slipstream, brakeChannel;
    v3 lift, drag;  // N
  };
  for (flow f : {flow{0, 0, 0, {0, 0, 1.22f}, {-0.122f, 0, 0}}, flow{0, 4, 0, {0, 0, 1.7568f}, {-0.17568f, 0, 0}},
                 flow{14, 0, 0, {1.672f, 0, 6.706f}, {-0.4648f, 0, 0.1159f}},
                 flow{30, 0, 0, {2.7915f, 0, 4.8351f}, {-1.4263f, 0, 0.8235f}},
                 flow{0, 0, -0.1f, {0, 0, 1.22f}, {-0.122f, 0, 0}}, flow{0, 0, -1, {0, 0, 0.61f}, {-1.342f, 0, 0}}}) {
    const float a = f.attackDeg / 57.29578f;
    Store(ds->airVelocity, {10.0f * std::cos(a), 0, -10.0f * std::sin(a)});
    Store(ds->slipstream, {f.slipstream, 0, 0});
    Channels()[6] = f.brakeChannel;
    Compute(0.001f);
    EXPECT_NEAR(Length(Load(w->L) - f.lift), 0.0f, 0.002f * Length(f.lift)) << f.attackDeg << " " << f.brakeChannel;
    EXPECT_NEAR(Length(Load(w->D) - f.drag), 0.0f, 0.002f * Length(f.drag)) << f.attackDeg << " " << f.brakeChannel;
  }
}

// The fuselage's cross force pushes against a sideslip of 20 deg at 10 m/s;
// with the flow along its Z axis it has none, only drag.
TEST_F(LegacyPartsTest, FuselageCrossForceOpposesTheSideslip) {
  fuselage* b = Add<fuselage>("fuselage", "Body");
  b->Area = 0.01f;
  b->Cw0 = 0.1f;
  b->Cw2 = 0.3f;
  b->Ca0 = 0.5f;
  b->Ca1 = 1.0f;
  Start();
  struct flow {
    v3 air, force;  // m/s, N
  };
  for (flow f : {flow{{9.3969f, 3.4202f, 0}, {0.00973f, -0.20509f, 0}}, flow{{0, 0, 10}, {0, 0, -0.244f}}}) {
    Store(ds->airVelocity, f.air);
    Compute(0.001f);
    EXPECT_NEAR(Length(Load(ds->force) - f.force), 0.0f, 1e-4f) << f.air.y;
  }
}

// A positive steering angle turns the wheel toward +y (left); its strut
// pushes with its spring and damper but never pulls the model down when it
// springs back faster than it is pressed in.
TEST_F(LegacyPartsTest, WheelSteersByItsGainAndItsStrutOnlyPushes) {
  wheel* w = Add<wheel>("wheel", "Nose");
  w->Kz = 400.0f;
  w->Dz = 8.0f;
  w->C0 = 0.3f;
  Start();
  contactpoint& c = ds->interaction.contacts[w->contact];
  struct roll {
    float rudder, sink;   // m/s into the ground
    float left, push;     // the wheel's X.y; N up
  };
  for (roll r : {roll{1, 0, std::sin(0.3f), 4}, roll{-1, 1, -std::sin(0.3f), 12}, roll{0, -1, 0, 0}}) {
    Channels()[3] = r.rudder;
    Store(ds->bodyVelocity, {0, 0, -r.sink});
    c.contactCount = 1;
    Store(c.normal[0], {0, 0, -1});
    c.depth[0] = 0.01f;
    Compute(0.001f);
    EXPECT_NEAR(w->base.X[1], r.left, 1e-6f) << r.rudder;
    EXPECT_NEAR(ds->force[2], r.push, 1e-4f) << r.sink;
    EXPECT_GE(w->normalForce, 0.0f);
  }
}

// A tip touching down at 2 m/s is damped by Kc times that speed on its
// first substep only, then rests on its spring, damper and friction; one
// hitting at 20 m/s passes Max and crashes the model.
TEST_F(LegacyPartsTest, TipDampsTheTouchDownOnceAndCrashesAboveItsLimit) {
  tip* t = Add<tip>("tip", "Nose");
  t->Kc = 2.0f;
  t->Kd = 1.0f;
  t->Kz = 500.0f;
  t->Dz = 5.0f;
  t->Max = 60.0f;
  Start();
  struct substep {
    bool touching;
    float sink;      // m/s
    float push;      // N up
    bool crashed;
  };
  for (substep s : {substep{false, 2, 0, false}, substep{true, 2, 21, false}, substep{true, 2, 17, false},
                    substep{false, 20, 0, false}, substep{true, 20, 165, true}}) {
    for (int32_t i : {t->contactA, t->contactB}) {
      contactpoint& c = ds->interaction.contacts[i];
      c.contactCount = s.touching ? 1 : 0;
      Store(c.normal[0], {0, 0, -1});
      c.depth[0] = 0.01f;
    }
    Store(ds->bodyVelocity, {0, 0, -s.sink});
    ds->status = kStatusCalm;
    Compute(0.001f);
    EXPECT_NEAR(ds->force[2], s.push, 1e-3f) << s.touching << " " << s.sink;
    EXPECT_EQ((ds->status & kStatusCrashed) != 0, s.crashed) << s.sink;
  }
}

// The wheel's gear threshold and the surfaces it meets, with one contact
// 1 cm deep under the tyre.
TEST_F(LegacyPartsTest, WheelCarriesLoadOnlyWithTheGearDown) {
  wheel* w = Add<wheel>("wheel", "Main");
  w->Kz = 400.0f;
  w->KRoll = w->KSRoll = w->KSlip = w->KSSlip = 0.5f;
  Start();
  contactpoint& c = ds->interaction.contacts[w->contact];
  struct touch {
    float retract, gear;
    int32_t surface, status;
    bool loaded;
  };
  for (touch t : {touch{0, -0.5f, 2, kStatusCalm, false}, touch{0, 0.5f, 2, kStatusOnWheels, true},
                  touch{kWheelAlwaysDown, -1, 2, kStatusOnWheels, true}, touch{0, 0.5f, 1, kStatusInWater, true},
                  touch{0, 0.5f, 0x18, kStatusCrashed, true}}) {
    w->Retract = t.retract;
    Channels()[5] = t.gear;
    ds->status = kStatusCalm;
    c.contactCount = 1;
    Store(c.normal[0], {0, 0, -1});
    Store(c.normalOffset, {0, 0, 0});
    c.depth[0] = 0.01f;
    c.surface[0] = t.surface;
    Compute(0.001f);
    EXPECT_EQ(ds->status, t.status);
    EXPECT_FLOAT_EQ(ds->force[2], t.loaded ? 4.0f : 0.0f);
    // Standing still, a loaded wheel sticks at once.
    EXPECT_EQ(w->frictionState, t.loaded ? 2 : 0);
  }
}

// The throttle of an engine of 10 N m on a shaft of 1 kg m^2, over a second
// from 100 rad/s: full; faded to half at 430 m and to nothing (braking) at
// 460 m; below a tenth it idles at 0.04, which brakes too; just above, it
// drives. A Constant above 2.0 holds the shaft at it instead.
TEST_F(LegacyPartsTest, EngineIdlesFadesWithHeightOrHoldsAConstantSpeed) {
  engine* e = Add<engine>("engine", "Eng");
  e->Inertia = 1.0f;
  e->Max = 1000.0f;
  e->Cm0 = 10.0f;
  e->C1 = 1.0f;
  Start();
  struct throttle {
    float constant, stick, height;
    float shaft;   // rad/s after the second
  };
  for (throttle t : {throttle{2.5f, 1, 0, 2.5f}, throttle{2.0f, 1, 0, 110}, throttle{0, 1, 430, 105},
                     throttle{0, 1, 460, 90}, throttle{0, -0.84f, 0, 90}, throttle{0, -0.76f, 0, 101.2f}}) {
    e->Constant = t.constant;
    e->shaftSpeed = 100.0f;
    Channels()[0] = t.stick;
    ds->position[2] = t.height;
    Compute(1.0f);
    EXPECT_NEAR(e->shaftSpeed, t.shaft, 1e-3f) << t.constant << " " << t.stick << " " << t.height;
  }
}

// Below 10 rad/s a propeller is silent at its base frequency; from there its
// volume and pitch rise with its share of Max.
TEST_F(LegacyPartsTest, PropellerIsSilentBelowTenRadiansPerSecond) {
  propeller* p = OnEngine<propeller>("propeller", 0.1f, 0.1f, 0.0f);
  engine* e = As<engine>(ds->objects);
  p->Max = 1000.0f;
  Start();
  kxsound voice;
  p->soundRecord.handle = &voice;
  p->soundRecord.SoundFrequencyBase = 1000;
  p->soundRecord.SoundFrequencyShift = 2000;
  struct speed {
    float omega, volume, frequency;
  };
  for (speed s : {speed{9.9f, 0, 1000}, speed{10, 0.802f, 1020}, speed{500, 0.9f, 2000}}) {
    e->Min = e->Max = e->shaftSpeed = s.omega;
    Compute(0.001f);
    EXPECT_FLOAT_EQ(voice.volume, s.volume) << s.omega;
    EXPECT_FLOAT_EQ(voice.frequency, s.frequency) << s.omega;
  }
}

// On channel 11 a propeller turns the model without pushing it, and its
// drawn frame spins at channel 12.
TEST_F(LegacyPartsTest, TailPropellerGivesMomentOnly) {
  propeller* p = OnEngine<propeller>("propeller", 0.1f, 0.1f, 600.0f);
  Store(p->base.Z, {0, 1, 0});
  Store(p->base.Y, {0, 0, -1});
  Store(p->base.R, {-1, 0, 0});
  p->Ct0 = 0.1f;
  p->Theta = 0.15f;
  Start();
  Channels()[12] = 80.0f;
  for (int32_t channel : {7, 11}) {
    p->Channel = channel;
    Compute(0.001f);
    EXPECT_EQ(ds->force[1] != 0.0f, channel != 11) << channel;
    EXPECT_LT(ds->torque[2], 0.0f);
    EXPECT_FLOAT_EQ(p->blur, channel == 11 ? 0.4f : 1.0f);
  }
}

// A Direction of 7272 or more mirrors the drawn spin: Y = X x Z.
TEST_F(LegacyPartsTest, RotorDirectionMirrorsTheDrawnSpin) {
  rotor* r = OnEngine<rotor>("rotor", 0.5f, 0.05f, 100.0f);
  Start();
  for (float direction : {7271.0f, 7272.0f}) {
    r->Direction = direction;
    Compute(0.001f);
    v3 expected = direction >= 7272.0f ? Cross(Load(r->base.X), Load(r->base.Z)) : Cross(Load(r->base.Z), Load(r->base.X));
    EXPECT_NEAR(Length(Load(r->base.Y) - expected), 0.0f, 1e-6f);
    EXPECT_FLOAT_EQ(r->blur, 0.5f);
  }
}

// A rotor's thrust against the same inflow: twice as large at the ground
// and 1.2 times one radius above it, twice as large at 10 m/s forward with
// these coefficients, and 1.5 % smaller with full aileron.
TEST_F(LegacyPartsTest, RotorThrustGrowsNearTheGroundAndInForwardFlight) {
  rotor* r = OnEngine<rotor>("rotor", 0.5f, 0.05f, 100.0f);
  r->Cp0 = 0.5f;
  r->Ct0 = 0.05f;
  r->Ct1 = 5.0f;
  r->Ground01 = 1.0f;
  r->Ground02 = 4.0f;
  r->Forward01 = 0.02f;
  r->Forward02 = 0.01f;
  r->LossR = 0.05f;
  r->Cr1 = 0.3f;
  r->ChannelR = 1;
  Start();
  struct condition {
    float groundHeight, forward, aileron;
    float factor;   // against the first
  };
  float free = 0.0f;
  for (condition c : {condition{1e4f, 0, 0, 1}, condition{0, 0, 0, 2}, condition{0.5f, 0, 0, 1.2f},
                      condition{1e4f, 10, 0, 2}, condition{1e4f, 0, 1, 0.985f}}) {
    ds->groundHeight = c.groundHeight;
    Store(ds->airVelocity, {c.forward, 0, 0});
    Channels()[1] = c.aileron;
    r->Thrust = 10.0f;
    Compute(0.001f);
    if (free == 0.0f) free = r->Thrust;
    EXPECT_NEAR(r->Thrust / free, c.factor, 1e-3f) << c.groundHeight << " " << c.forward << " " << c.aileron;
  }
}

// The hub pulls the body after its disc: Kx and Ky N m per rad of tilt at
// the rotor's gyroscopic speed of 151.5 rad/s, nose down after a disc tilted
// forward, left wing down after one tilted left. And the disc levels itself
// in the world at the runtime's level rate: from 5.7 deg to 2.1 deg in half
// a second at 2 per second.
TEST_F(LegacyPartsTest, RotorDiscPullsTheBodyAndLevelsItself) {
  rotor* r = OnEngine<rotor>("rotor", 0.5f, 0.05f, 151.5f);
  r->Kx = r->Ky = 2.0f;
  Start();
  struct tilt {
    v3 disc, moment;
  };
  for (tilt t : {tilt{{0.1f, 0, 1}, {0, 0.199f, 0}}, tilt{{0, 0.1f, 1}, {-0.199f, 0, 0}}}) {
    Store(r->discAxis, Normalised(t.disc));
    Compute(0.001f);
    EXPECT_NEAR(Length(Load(ds->torque) - t.moment), 0.0f, 0.001f) << t.disc.x;
  }
  Runtime().levelRate = 2.0f;
  Store(r->discAxis, Normalised({0.1f, 0, 1}));
  Compute(0.01f, 50);
  EXPECT_NEAR(std::atan2(r->discAxis[0], r->discAxis[2]) * 57.29578f, 2.08f, 0.05f);
}

// The small helicopter's rotor drags against the body's speed over ground
// like a plate of 0.002 of its disc's area; another rotor does not.
TEST_F(LegacyPartsTest, PiccoloRotorDragsAgainstTheSpeed) {
  rotor* r = OnEngine<rotor>("rotor", 0.5f, 0.05f, 100.0f);
  r->Cp0 = 0.5f;
  r->Ct0 = 0.05f;
  Start();
  Store(ds->bodyVelocity, {10, 0, 0});
  for (int32_t piccolo : {0, 1}) {
    Runtime().piccoloModel = piccolo;
    Compute(0.001f);
    EXPECT_NEAR(ds->force[0], piccolo ? -0.19164f : 0.0f, 1e-4f) << piccolo;
  }
}

// The small helicopter's gusts: the first clock to run out draws its
// restart time and then its gust, with a factor of 1.0 up to 0.2 m above
// the ground falling to 0.2 from 0.6 m.
TEST_F(LegacyPartsTest, PiccoloGustsGrowTowardTheGround) {
  rotor* r = Add<rotor>("rotor", "Rotor");
  r->Cp2 = 1.0f;
  r->Cp3 = 1.0f;
  Start();
  Runtime().piccoloModel = 1;
  for (float height : {0.1f, 0.4f, 1.0f}) {
    float factor = height <= 0.2f ? 1.0f : height >= 0.6f ? 0.2f : 1.4f - 2.0f * height;
    kxsystem::SeedRandom(5);
    float draws[4];
    for (float& d : draws) d = kxsystem::Random();
    kxsystem::SeedRandom(5);
    Runtime().gustTimer2 = Runtime().gustTimer3 = 0.0f;
    ds->groundHeight = height;
    Compute(0.7f);
    EXPECT_FLOAT_EQ(Runtime().gustTimer2, 0.1f * draws[0]);
    EXPECT_NEAR(Runtime().gust2, 0.2f * factor * (2.0f * draws[1] - 1.0f), 1e-6f) << height;
    EXPECT_NEAR(Runtime().gust3, 0.1f * factor * (2.0f * draws[3] - 1.0f), 1e-6f) << height;
  }
}

TEST_F(LegacyPartsTest, GyrosWriteTheTailChannels) {
  gyro* g = Add<gyro>("gyro", "Gyro");
  Start();
  struct tail {
    int32_t channel, lock, reverse;
    float gain, stick, yawRate, engineSpeed;
    float out, drive, levelRate;
  };
  const float angle = 0.01f * (0.3f + 5.0f * 0.2f);
  for (tail t : {tail{3, 0, 0, 2, 0.7f, 3, 0, 0.7f, 0, 0}, tail{3, 0, 1, 1, 0.8f, -2, 0, 1.0f, 0, 0},
                 tail{3, 1, 0, 2, 0.2f, 0.3f, 499, 0.0f, 0, 2.0f},
                 tail{3, 1, 0, 2, 0.2f, 0.3f, 500, angle * 2 - 0.2f * 0.3f, 63.24181f, 1.0f},
                 tail{3, 1, 0, -90, 0.2f, 0.3f, 500, -1.0f, 63.24181f, 1.0f}, tail{40, 1, 0, 2, 0, 0, 500, 0.25f, 0.25f, 0.25f}}) {
    Runtime() = dnsruntime{};
    for (int c : {9, 11, 12}) Channels()[c] = 0.25f;
    Runtime().levelRate = 0.25f;
    Runtime().lastEngineSpeed = t.engineSpeed;
    *g = gyro{g->base, 0, 0, t.gain, t.channel, t.reverse, t.lock};
    Channels()[3] = t.stick;
    ds->omega[2] = t.yawRate;
    Compute(0.01f);
    EXPECT_FLOAT_EQ(Channels()[9], t.out) << t.lock << " " << t.engineSpeed << " " << t.gain;
    EXPECT_FLOAT_EQ(Channels()[11], t.out);
    if (t.lock) {
      EXPECT_FLOAT_EQ(Channels()[12], t.drive);
      EXPECT_FLOAT_EQ(Runtime().levelRate, t.levelRate);
    }
    EXPECT_EQ(Runtime().heliMode, t.lock && t.channel == 3 ? 1 : 0);
  }
}

TEST_F(LegacyPartsTest, VarioTakesTheEnergyHeight) {
  vario* v = Add<vario>("vario", "Vario");
  Start();
  ds->airVelocity[0] = 10.0f;
  ds->position[2] = 100.0f;
  Compute(0.01f);
  EXPECT_FLOAT_EQ(v->energy, 0.0509f * 100.0f + 100.0f);
}

// Full deflection tilts all four nozzles from along body x to straight up;
// without a yaw term the rear pair pushes nothing sideways.
TEST_F(LegacyPartsTest, HarrierNozzlesFollowTheirChannel) {
  harrier* h = Add<harrier>("harrier", "Lift");
  h->ForceMax = 40.0f;
  h->DiffYaw = 1.0f;
  Start();
  Channels()[0] = 1.0f;
  for (float yaw : {0.0f, 0.5f}) {
    for (float nozzle : {-1.0f, 1.0f}) {
      Channels()[6] = nozzle;
      Channels()[3] = yaw;
      Compute(0.005f, 3000);
      float up = nozzle > 0.0f ? 40.0f : 0.0f;
      EXPECT_NEAR(ds->force[0], 40.0f - up, 0.1f);
      EXPECT_NEAR(ds->force[2], up, 0.1f);
      EXPECT_NEAR(ds->force[1], yaw * 10.0f, 0.01f);
    }
  }
}

}  // namespace
