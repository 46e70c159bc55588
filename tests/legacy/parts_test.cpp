// The part classes' physics one substep at a time, on a model at rest with
// its axes along the world's: the edge cases of the wing and its links, the
// wheel's gear and surfaces, the engine's throttle model, the propeller's
// tail mode, the rotor's drawn spin and gusts, the gyros, the vario and the
// vectored thrust.
#include <cmath>
#include <cstring>

#include "legacy/dynamics.h"
#include "legacy/part_operations.h"
#include "platform/random.h"
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
