// Wheels: the tyre force law on a level plane, the stop on water and
// damaging ground, the bumps of grass and dirt, the measured radius, and an
// aircraft on three wheels standing, rolling, braking and side-slipping on
// generated scenery.
#include <cmath>

#include "core/output.h"
#include "dynamics/write_links.h"
#include "dynamics/air_model.h"
#include "dynamics/components/engine00.h"
#include "dynamics/components/wheel.h"
#include "ground_support.h"

namespace {

using kxgtest::groundtest;

constexpr float kRadius = 0.05f;  // m, tyre of the generated wheel
constexpr float kG = 9.81f;
float kBrakeOff = -1.0f, kBrakeFull = 1.0f;  // brake signals

class wheelforce : public groundtest {
 protected:
  void SetUp() override {
    groundtest::SetUp();
    wheel.Geometry = Object("Tyre", kxgtest::WheelMesh(kRadius, 0.02f, 0.0f, 0.0f, 0.0f));
    wheel.Analyse();
    wheel.Instance = &instance;
    wheel.Mass = 0.0f;  // the force is then the tyre's alone
  }
  // Centre at (x, y, z), moving at v; one force pass on a plane of the surface.
  void Touch(float x, float y, float z, const kxvector4r& v, int surface = 2) {
    kxdflatground plane(0.0f, surface);
    kxdynamics::SetCurrentWorld(&plane);
    wheel.B.R = {x, y, z, 1.0f};
    wheel.D.R = v;
    wheel.Force = {0.0f, 0.0f, 0.0f, 0.0f};
    wheel.ComputeChange(&twin, 0);
    kxdynamics::SetCurrentWorld(nullptr);
  }
  kxdwheel00 wheel;
  kxdwheel00 twin;
  kxdaircraftinstance instance;
};

// The centre moves to the mesh centroid; the areas are the tread and the
// 24-sided disc (half the perimeter polygon's area).
TEST_F(wheelforce, AnalysisMeasuresCentreRadiusAndAreasFromTheMesh) {
  kxdwheel00 w;
  const float r = 0.08f, width = 0.03f;
  w.Geometry = Object("Off", kxgtest::WheelMesh(r, width, 0.4f, -0.2f, -0.1f));
  w.Analyse();
  EXPECT_NEAR(w.B.R.x, 0.4f, 1e-4f);
  EXPECT_NEAR(w.B.R.y, -0.2f, 1e-4f);
  EXPECT_NEAR(w.B.R.z, -0.1f, 1e-4f);
  EXPECT_NEAR(w.Radius, r, 1e-4f);
  EXPECT_NEAR(w.Areas[0], 2.0f * r * width, 1e-5f);
  EXPECT_NEAR(w.Areas[1], 12.0f * r * r * std::sin(3.14159265f / 12.0f), 1e-5f);
  EXPECT_NEAR(w.Areas[2], 2.0f * r * width, 1e-5f);
}

// High in the air the tyre's query is passed over while the clear sphere
// holds the box's reach (measured by Prepare), and coming down into reach
// the tyre touches again. The spheres claim more than is true where a
// skipped query must show.
TEST_F(wheelforce, ClearSphereSkipsTheTyreOnlyWhileItHoldsTheBoxReach) {
  const float low = kRadius - 0.001f;  // the tyre 1 mm deep
  auto Push = [&](float z, float centre, float radius) {
    instance.ClearCentre = {0.0f, 0.0f, centre, 1.0f};
    instance.ClearRadius = radius;
    wheel.Spin = 10.0f;
    Touch(0.0f, 0.0f, z, {0.0f, 0.0f, 0.0f, 0.0f});
    return wheel.Force.z;
  };
  wheel.Prepare();
  EXPECT_EQ(Push(low, low, 10.0f), 0.0f);  // skipped
  EXPECT_EQ(twin.Spin, -20.0f);           // and the spin decays as in the air
  // The box reaches 0.11 m: 9.7 m from the centre lies inside the sphere
  // less the query's least reach, not inside it less the box's reach too.
  EXPECT_GT(Push(low, low + 9.7f, 10.0f), 0.0f);
  // A true sphere, empty down to 0.1 m above the ground.
  EXPECT_EQ(Push(1.0f, 20.0f, 19.9f), 0.0f);
  EXPECT_GT(Push(low, 20.0f, 19.9f), 0.0f);
}

TEST_F(wheelforce, LoadedTyrePushesUpWithSpringAndDamper) {
  wheel.Dr = 30.0f;
  Touch(0.0f, 0.0f, kRadius - 0.001f, {0.0f, 0.0f, -0.1f, 0.0f});
  float n = 0.001f * wheel.Kr;
  EXPECT_NEAR(wheel.Force.z, n + 30.0f * 0.1f, 1e-3f);
  EXPECT_EQ(instance.WheelContact, 1);
  EXPECT_EQ(instance.GroundContact, 1);
  EXPECT_EQ(instance.Crash, 0);
}

// Friction per newton of load on a tyre 2 mm deep: rolling 0.08 against the
// motion (+0.08 standing still), raised to 0.48 by full brake, half brake
// at a signal of 0; sideways 0.72 against the slip, linear below 0.1 m/s.
TEST_F(wheelforce, FrictionFollowsRollingBrakeAndSideSlip) {
  const struct {
    float vx, vy;
    float* brake;
    float fx, fy;
  } cases[] = {
      {2.0f, 0.0f, nullptr, -0.08f, 0.0f},   {-2.0f, 0.0f, nullptr, 0.08f, 0.0f},
      {2.0f, 0.0f, &kBrakeOff, -0.08f, 0.0f}, {2.0f, 0.0f, &kBrakeFull, -0.48f, 0.0f},
      {0.0f, 0.05f, nullptr, 0.08f, -0.36f}, {0.0f, 0.1f, nullptr, 0.08f, -0.72f},
      {0.0f, -3.0f, nullptr, 0.08f, 0.72f},
  };
  const float n = 0.002f * wheel.Kr;
  for (const auto& c : cases) {
    wheel.SignalIn = c.brake;
    Touch(0.0f, 0.0f, kRadius - 0.002f, {c.vx, c.vy, 0.0f, 0.0f});
    EXPECT_NEAR(wheel.Force.x, c.fx * n, 1e-3f) << c.vx << ", " << c.vy;
    EXPECT_NEAR(wheel.Force.y, c.fy * n, 1e-3f) << c.vx << ", " << c.vy;
  }
}

// A tail-dragger stands nose-up: its wheels' frames are pitched with it.
TEST_F(wheelforce, PitchedWheelTouchesWithItsLowestPointAndRollsAlongTheGround) {
  const float pitch = 0.3f;  // rad
  float c = std::cos(pitch), s = std::sin(pitch);
  wheel.B.X = {c, 0.0f, s, 0.0f};
  wheel.B.Z = {-s, 0.0f, c, 0.0f};
  // 1 mm into the ground: above every face centre of the pitched box.
  Touch(0.0f, 0.0f, kRadius - 0.001f, {0.0f, 0.0f, 0.0f, 0.0f});
  float n = 0.001f * wheel.Kr;
  EXPECT_NEAR(wheel.Force.z, n, 1e-3f);
  EXPECT_NEAR(wheel.Force.x, wheel.Kxr * n, 1e-3f);
  EXPECT_EQ(instance.WheelContact, 1);
  // Rolling forward on the level the friction is level too, and the spin
  // follows the speed over the ground.
  Touch(0.0f, 0.0f, kRadius - 0.001f, {2.0f, 0.0f, 0.0f, 0.0f});
  EXPECT_NEAR(wheel.Force.x, -wheel.Kxr * n, 1e-3f);
  EXPECT_NEAR(wheel.Force.z, n, 1e-3f);
  EXPECT_NEAR(wheel.Spin, 0.9f * 2.0f / kRadius, 1e-2f);
}

TEST_F(wheelforce, SpinFollowsRollingSpeedAndDecaysWhenUnloaded) {
  Touch(0.0f, 0.0f, kRadius - 0.001f, {1.5f, 0.0f, 0.0f, 0.0f});
  EXPECT_NEAR(wheel.Spin, 0.9f * 1.5f / kRadius, 1e-2f);
  EXPECT_FLOAT_EQ(twin.Spin, 0.0f);
  EXPECT_FLOAT_EQ(twin.Angle, wheel.Spin);
  Touch(0.0f, 0.0f, kRadius + 0.01f, {1.5f, 0.0f, 0.0f, 0.0f});
  EXPECT_FLOAT_EQ(twin.Spin, -2.0f * wheel.Spin);
  EXPECT_FLOAT_EQ(wheel.Force.z, 0.0f);
}

TEST_F(wheelforce, WheelWithoutRadiusGivesNoNaN) {
  wheel.Radius = 0.0f;
  Touch(0.0f, 0.0f, -0.001f, {1.0f, 0.0f, 0.0f, 0.0f});
  EXPECT_FLOAT_EQ(wheel.Spin, 0.0f);
  EXPECT_TRUE(std::isfinite(wheel.Force.x) && std::isfinite(wheel.Force.z));
  EXPECT_GT(wheel.Force.z, 0.0f);
}

TEST_F(wheelforce, WaterAndDamageStopTheWheelAndCrash) {
  for (int surface : {kSurfaceWater, kSurfaceDamage}) {
    instance.Crash = instance.SurfaceCode = 0;
    Touch(0.0f, 0.0f, kRadius - 0.001f, {2.0f, 1.0f, -0.5f, 0.0f}, surface);
    EXPECT_EQ(instance.Crash, 1);
    EXPECT_EQ(instance.SurfaceCode, surface);
    EXPECT_FLOAT_EQ(wheel.Force.x, -40.0f);
    EXPECT_FLOAT_EQ(wheel.Force.y, -20.0f);
    EXPECT_FLOAT_EQ(wheel.Force.z, 10.0f);  // no spring, only the damping
  }
}

TEST_F(wheelforce, GrassAndDirtRaiseTheContactByTheBumpField) {
  // Somewhere the bump field is not level.
  float x = 0.0f, y = 0.0f, h = 0.0f;
  for (int i = 0; i < 200 && std::fabs(h) < 0.002f; ++i) {
    x = 0.37f * i;
    y = 0.11f * i;
    h = kxdynamics::SampleField(x, y, nullptr);
  }
  ASSERT_GT(std::fabs(h), 0.002f) << "the field is level everywhere";
  kxvector4r slope;
  kxdynamics::SampleField(x, y, &slope);
  struct kind {
    int surface;
    float height;
    float slope;
  };
  for (kind k : {kind{2, 0.0f, 0.0f}, kind{3, 0.5f, 0.5f}, kind{4, 0.7f, 0.5f}, kind{5, 1.0f, 1.0f},
                 kind{6, 1.0f, 1.0f}, kind{7, 1.5f, 2.0f}}) {
    float z = kRadius - 0.01f;
    instance.WheelContact = 0;
    Touch(x, y, z, {0.0f, 0.0f, 0.0f, 0.0f}, k.surface);
    kxvector4r n = {k.slope * slope.x, k.slope * slope.y, 1.0f, 0.0f};
    float length = std::sqrt(n.x * n.x + n.y * n.y + 1.0f);
    float s = (k.height * h - z) / length;
    float load = (s + kRadius) * wheel.Kr;
    if (load <= 0.0f) {
      // The bumped ground lies below the tyre.
      EXPECT_EQ(instance.WheelContact, 0) << "surface " << k.surface;
      EXPECT_EQ(wheel.Force.x, 0.0f) << "surface " << k.surface;
      EXPECT_EQ(wheel.Force.z, 0.0f) << "surface " << k.surface;
      continue;
    }
    EXPECT_EQ(instance.WheelContact, 1) << "surface " << k.surface;
    // The rolling friction (+Kxr N standing still) lies in the sloped ground
    // plane: along X with its part along the normal u taken out.
    float ux = n.x / length, uz = 1.0f / length, across = std::sqrt(1.0f - ux * ux);
    float friction = wheel.Kxr * load;
    EXPECT_NEAR(wheel.Force.x, load * ux + friction * across, 1e-2f) << "surface " << k.surface;
    EXPECT_NEAR(wheel.Force.z, load * uz - friction * ux * uz / across, 1e-2f) << "surface " << k.surface;
  }
}

TEST_F(wheelforce, NestedWheelFindsItsAircraftsInstance) {
  kxdaircraft aircraft;
  aircraft.Instance = &instance;
  kxdbody* leg = new kxdbody;
  aircraft.AppendChild(leg);
  kxdwheel00* nested = new kxdwheel00;
  leg->AppendChild(nested);
  nested->Geometry = wheel.Geometry;
  nested->Radius = kRadius;
  nested->B.R = {0.0f, 0.0f, kRadius - 0.001f, 1.0f};
  kxdflatground plane(0.0f);
  kxdynamics::SetCurrentWorld(&plane);
  nested->ComputeChange(nullptr, 0);
  kxdynamics::SetCurrentWorld(nullptr);
  EXPECT_EQ(instance.WheelContact, 1);
  EXPECT_EQ(instance.GroundContact, 1);
}

// A world whose contacts carry no normal.
class nonormal : public kxdworld {
 public:
  float GroundHeight(const kxvector4r&) const override { return 0.0f; }
  int Contacts(const kxvector4r* p, int, kxdcontact* out, int) const override {
    out[0] = {{0.0f, 0.0f, 0.0f, 0.0f}, {p[0].x, p[0].y, 0.0f, 1.0f}, 0.01f, 2, 0};
    return 1;
  }
};

TEST_F(wheelforce, ContactWithoutNormalCarriesNoLoad) {
  nonormal world;
  kxdynamics::SetCurrentWorld(&world);
  wheel.B.R = {0.0f, 0.0f, kRadius - 0.01f, 1.0f};
  wheel.D.R = {1.0f, 0.0f, 0.0f, 0.0f};
  wheel.ComputeChange(&twin, 0);
  kxdynamics::SetCurrentWorld(nullptr);
  EXPECT_FLOAT_EQ(wheel.Force.x, 0.0f);
  EXPECT_FLOAT_EQ(wheel.Force.z, 0.0f);
  EXPECT_EQ(instance.WheelContact, 0);
}

// An aircraft on three wheels: two mains and a tail wheel that turns when drawn.
const char* const kTrike =
    "Append kxdfuselage00 Fuselage\ncd Fuselage/\nMass = 2\ncd ../\n"
    "Append kxdreceiver00 Receiver\n"
    "Append kxdwheel00 Wheel1\ncd Wheel1/\nGeometry( \"~Geometry/Wheel1/\" )\nMass = 0.1\nDr = 40\n"
    "SignalIn = ~Aircraft/Receiver/Out(0)\ncd ../\n"
    "Append kxdwheel00 Wheel2\ncd Wheel2/\nGeometry( \"~Geometry/Wheel2/\" )\nMass = 0.1\nDr = 40\n"
    "SignalIn = ~Aircraft/Receiver/Out(0)\ncd ../\n"
    "Append kxdwheel00 Wheel3\ncd Wheel3/\nGeometry( \"~Geometry/Wheel3/\" )\nMass = 0.1\nDr = 40\n"
    "RotationEnable = 1\ncd ../\n";

class trike : public groundtest {
 protected:
  void LoadTrike() {
    LoadAircraft("trike", kTrike,
                 {{"Wheel1", kxgtest::WheelMesh(kRadius, 0.02f, 0.3f, 0.2f, -0.15f)},
                  {"Wheel2", kxgtest::WheelMesh(kRadius, 0.02f, 0.3f, -0.2f, -0.15f)},
                  {"Wheel3", kxgtest::WheelMesh(kRadius, 0.02f, -0.6f, 0.0f, -0.15f)}});
  }
  kxdwheel00* Wheel(int i) {
    std::string name = "Wheel" + std::to_string(i);
    return Simulated<kxdwheel00>(name.c_str());
  }
  // Starts with the wheels at their loaded height, moving at v.
  kxdaircraftinstance* PlaceOnWheels(const kxvector4r& v) {
    kxdaircraftinstance* instance = Place(1.0f, v);
    float below = instance->SimMainBody->B.R.z - Wheel(1)->B.R.z;
    return Place(kRadius - 2.3f * kG / 3.0f / 10000.0f + below, v);
  }
  // Brake signal on channel 0 for the next frames.
  void Brake(float signal) { slots[kxctest::kPlayer0Channels] = signal; }
};

TEST_F(trike, StandsOnItsWheelsAtTheTyreDeflection) {
  BuildGround("runway");
  LoadTrike();
  kxdaircraftinstance* instance = Place(0.2f, {0.0f, 0.0f, 0.0f, 0.0f});
  Brake(1.0f);
  Run(1.5f);
  // Each wheel carries a third of the weight.
  float load = 2.3f * kG / 3.0f;
  for (int i = 1; i <= 3; ++i) {
    ASSERT_NE(Wheel(i), nullptr);
    EXPECT_NEAR(Wheel(i)->B.R.z, kRadius - load / 10000.0f, 1.5e-4f) << "wheel " << i;
  }
  ExpectResting(instance, 0.01f, 1);
}

TEST_F(trike, RollingFrictionAndBrakeDecelerateAsKxrTimesWeight) {
  BuildGround("runway");
  LoadTrike();
  PlaceOnWheels({3.0f, 0.0f, 0.0f, 0.0f});
  Brake(-1.0f);
  Run(0.504f);
  // All three roll freely: a = Kxr g.
  EXPECT_NEAR(Velocity().x, 3.0f - 0.08f * kG * 0.504f, 0.06f);

  PlaceOnWheels({3.0f, 0.0f, 0.0f, 0.0f});
  Brake(1.0f);
  Run(0.504f);
  // The two mains brake (0.48), the tail wheel rolls (0.08).
  float a = (2.0f * 0.48f + 0.08f) / 3.0f * kG;
  EXPECT_NEAR(Velocity().x, 3.0f - a * 0.504f, 0.08f);
}

TEST_F(trike, SideSlipIsStoppedBySideFriction) {
  BuildGround("runway");
  LoadTrike();
  PlaceOnWheels({0.0f, 0.6f, 0.0f, 0.0f});
  Run(0.036f);
  float early = Velocity().y;
  EXPECT_LT(early, 0.6f - 0.5f * 0.72f * kG * 0.036f);
  EXPECT_GT(early, 0.0f);
  Run(0.5f);
  EXPECT_LT(std::fabs(Velocity().y), 0.01f);
}

TEST_F(trike, WheelGeometryTurnsAboutItsAxleByTheIntegratedAngle) {
  BuildGround("runway");
  LoadTrike();
  PlaceOnWheels({2.0f, 0.0f, 0.0f, 0.0f});
  Brake(-1.0f);
  float start = kxdaircraftinstance::Loaded(0)->SimMainBody->B.R.x;
  Run(0.2f);
  float rolled = kxdaircraftinstance::Loaded(0)->SimMainBody->B.R.x - start;
  kxdwheel00* tail = Wheel(3);
  kxdwheel00* main = Wheel(1);
  ASSERT_TRUE(tail && main && tail->Geometry && main->Geometry);
  // Turned at 0.9 of the rolling speed over the radius.
  EXPECT_GT(rolled, 0.3f);
  EXPECT_NEAR(tail->Angle, 0.9f * rolled / kRadius, 0.1f);
  float c = std::cos(tail->Angle), s = std::sin(tail->Angle);
  const kxmatrix& m = tail->Geometry->Matrix;
  EXPECT_NEAR(m.X.x, tail->B.X.x * c - tail->B.Z.x * s, 1e-4f);
  EXPECT_NEAR(m.X.z, tail->B.X.z * c - tail->B.Z.z * s, 1e-4f);
  EXPECT_NEAR(m.Z.x, tail->B.X.x * s + tail->B.Z.x * c, 1e-4f);
  EXPECT_NEAR(m.R.x, tail->B.R.x, 1e-5f);
  // Without RotationEnable the drawn wheel keeps the body's axes.
  EXPECT_NEAR(main->Geometry->Matrix.X.x, main->B.X.x, 1e-5f);
  EXPECT_NEAR(main->Geometry->Matrix.Z.z, main->B.Z.z, 1e-5f);
}

TEST_F(trike, TouchesDownOnItsWheelsWithoutCrash) {
  BuildGround("runway");
  LoadTrike();
  kxdaircraftinstance* instance = Place(0.5f, {4.0f, 0.0f, -0.8f, 0.0f});
  Brake(-1.0f);
  float lowest = 1.0f;
  for (int frame = 0; frame < 40; ++frame) {
    kxdynamics::Step(0.036f, kxdynamics::CurrentWorld());
    for (int i = 1; i <= 3; ++i) lowest = std::min(lowest, Wheel(i)->B.R.z);
  }
  EXPECT_EQ(instance->Crash, 0);
  EXPECT_EQ(instance->WheelContact, 1);
  // The tyres took the landing: no centre came near the ground.
  EXPECT_GT(lowest, 0.5f * kRadius);
  kxvector4r v = Velocity();
  EXPECT_TRUE(std::isfinite(v.x) && std::isfinite(v.z));
  EXPECT_LT(std::fabs(v.z), 0.05f);
  EXPECT_GT(v.x, 2.0f);
}

TEST_F(trike, RollsOverEverySurfaceKindWithoutCrash) {
  for (const char* surface : {"runway", "field_gras", "field_highgras", "field_dirt", "field_meadow", "field_hardroll"}) {
    BuildGround(surface, 0.05f);
    LoadTrike();
    kxdaircraftinstance* instance = Place(0.3f, {2.0f, 0.0f, 0.0f, 0.0f});
    Brake(-1.0f);
    float start = instance->SimMainBody->B.R.x;
    int touching = 0;
    for (int frame = 0; frame < 28; ++frame) {
      kxdynamics::Step(0.036f, kxdynamics::CurrentWorld());
      touching += instance->WheelContact;
    }
    kxvector4r v = Velocity();
    EXPECT_TRUE(std::isfinite(v.x) && std::isfinite(v.z)) << surface;
    // Rougher kinds slow it sooner; none pushes it on.
    EXPECT_GT(instance->SimMainBody->B.R.x - start, 0.2f) << surface;
    EXPECT_LT(std::fabs(v.x), 2.0f) << surface;
    EXPECT_EQ(instance->Crash, 0) << surface;
    EXPECT_GT(touching, 7) << surface;  // bumps throw it up now and then
    kxdynamics::Stop();
    kxcolldynamic::Free(world.get());
    kxcollision::FreeOctree(world.get());
    kxgeometry::Free(&ground);
  }
}

// The trike with an engine and propeller on the nose, a throttle servo on
// channel 2 and the tail wheel steered by a servo on channel 3.
const char* const kPowered =
    "Append kxdservo00 Throttle\ncd Throttle/\nSignalIn = ~Aircraft/Receiver/Out(2)\ncd ../\n"
    "Append kxdservo00 Steer\ncd Steer/\nSignalIn = ~Aircraft/Receiver/Out(3)\ncd ../\n"
    "Append kxdengine00 Engine\ncd Engine/\nMass = 0.3\nPowerMax = 2000\nRotationSpeedMax = 2000\n"
    "RotationSpeedIdle = 200\nR = kxvector4r( 0.3, 0, 0.05, 1 )\nThrottleControl = ~Aircraft/Throttle/MechLink\ncd ../\n"
    "Append kxdpropeller00 Propeller\ncd Propeller/\nGeometry( \"~Geometry/Prop/\" )\nEngine = ~Aircraft/Engine\n"
    "Mass = 0.03\ncd ../\n"
    "Append kxdjoint00 TailHinge\ncd TailHinge/\nBody1 = ../Wheel3/\nR = kxvector4r( -0.6, 0, -0.15, 1 )\n"
    "AngleZ = 30\nLink = ~Aircraft/Steer/MechLink\ncd ../\n";

class poweredtrike : public trike {
 protected:
  void LoadPowered() {
    std::vector<std::pair<std::string, meshgen::mesh>> parts = {
        {"Wheel1", kxgtest::WheelMesh(kRadius, 0.02f, 0.3f, 0.2f, -0.15f)},
        {"Wheel2", kxgtest::WheelMesh(kRadius, 0.02f, 0.3f, -0.2f, -0.15f)},
        {"Wheel3", kxgtest::WheelMesh(kRadius, 0.02f, -0.6f, 0.0f, -0.15f)},
        {"Prop", meshgen::mesh{}}};
    for (int i = 0; i < 2; ++i) {
      meshgen::mesh m = meshgen::Blade(0.02f, 0.15f, 0.03f, 0.02f, 30.0f, 10.0f, 12);
      meshgen::RotateZ(m, 180.0f * i);
      meshgen::RotateY(m, 90.0f);
      meshgen::Translate(m, 0.4f, 0.0f, 0.05f);
      parts.push_back({"Prop/Blade" + std::to_string(i + 1), m});
    }
    LoadAircraft("powered", std::string(kTrike) + kPowered, parts);
  }
  float Heading() {
    const kxmatrix& b = kxdaircraftinstance::Loaded(0)->SimMainBody->B;
    return std::atan2(b.X.y, b.X.x);
  }
};

// Braked with the engine idling it stands still; released at full throttle
// it rolls straight, the turned tail wheel steers it, and braking slows it.
TEST_F(poweredtrike, StandsOnBrakesThenRollsUnderPowerAndSteersWithTheTailWheel) {
  BuildGround("runway");
  LoadPowered();
  Brake(1.0f);
  slots[kxctest::kPlayer0Channels + 2] = -1.0f;  // throttle closed
  slots[kxctest::kPlayer0Channels + 3] = -1.0f;  // tail wheel straight
  kxdaircraftinstance* instance = Place(0.2f, {0.0f, 0.0f, 0.0f, 0.0f});
  Run(1.0f);  // settled on the tyres
  kxvector4r start = instance->SimMainBody->B.R;
  ASSERT_GT(Simulated<kxdengine00>("Engine")->GetRPM(), 100.0f);
  Run(10.0f);
  kxvector4r end = instance->SimMainBody->B.R;
  EXPECT_LT(std::hypot(end.x - start.x, end.y - start.y), 0.003f);
  Brake(-1.0f);
  slots[kxctest::kPlayer0Channels + 2] = 1.0f;  // full throttle
  Run(2.0f);
  EXPECT_GT(Velocity().x, 1.0f);
  EXPECT_LT(std::fabs(Heading()), 0.02f);
  slots[kxctest::kPlayer0Channels + 3] = 1.0f;  // tail wheel turned 30 degrees left
  Run(1.0f);
  // Turning the tail wheel left swings the tail left: the nose goes right.
  EXPECT_LT(Heading(), -0.1f);
  EXPECT_EQ(instance->Crash, 0);
  // Braked with the throttle closed it slows down, still turning.
  kxvector4r before = Velocity();
  slots[kxctest::kPlayer0Channels + 2] = -1.0f;
  Brake(1.0f);
  Run(3.0f);
  kxvector4r after = Velocity();
  EXPECT_LT(std::hypot(after.x, after.y), std::hypot(before.x, before.y) - 1.0f);
  EXPECT_EQ(instance->Crash, 0);
}

}  // namespace
