// Skids: the frame and points from the mesh, the spring-damper and friction
// at each end, and a helicopter body resting and sliding on two skids.
#include <cmath>

#include "core/output.h"
#include "dynamics/components/skid.h"
#include "ground_support.h"

namespace {

using kxgtest::groundtest;

constexpr float kG = 9.81f;

class skidforce : public groundtest {
 protected:
  void SetUp() override {
    groundtest::SetUp();
    skid.Geometry = Object("Tube", kxgtest::TubeMesh(0.01f, 0.5f, 0.0f, 0.15f, -0.2f));
    skid.CP1 = {0.25f, 0.15f, -0.21f, 0.0f};
    skid.CP2 = {-0.25f, 0.15f, -0.21f, 0.0f};
    skid.Analyse();
    skid.Instance = &instance;
    skid.Mass = 0.0f;  // the contact forces alone
  }
  // One force pass with the skid centre at height z on a plane at height h.
  void Touch(float z, const kxvector4r& v, float h = 0.0f) {
    kxdflatground plane(h);
    kxdynamics::SetCurrentWorld(&plane);
    skid.B.R.z = z;
    skid.D.R = v;
    skid.Force = skid.Torque = {0.0f, 0.0f, 0.0f, 0.0f};
    skid.ComputeChange(nullptr, 0);
    kxdynamics::SetCurrentWorld(nullptr);
  }
  kxdskid00 skid;
  kxdaircraftinstance instance;
};

TEST_F(skidforce, AnalysisPutsTheFrameAtTheCentroidAndThePointsInIt) {
  EXPECT_NEAR(skid.B.R.x, 0.0f, 1e-5f);
  EXPECT_NEAR(skid.B.R.y, 0.15f, 1e-5f);
  EXPECT_NEAR(skid.B.R.z, -0.2f, 1e-5f);
  EXPECT_FLOAT_EQ(skid.B.X.x, 1.0f);
  EXPECT_NEAR(skid.Local1.x, 0.25f, 1e-5f);
  EXPECT_NEAR(skid.Local1.z, -0.01f, 1e-5f);
  EXPECT_NEAR(skid.Local2.x, -0.25f, 1e-5f);
  EXPECT_FLOAT_EQ(skid.Local1.w, 1.0f);
  EXPECT_EQ(skid.Geometry->Object, &skid);
  // Points read back from a file (w = 1) land in the same place.
  kxvector4r fresh = skid.Local1;
  skid.CP1.w = 1.0f;  // as written to the file
  skid.Analyse();
  EXPECT_NEAR(skid.Local1.x, fresh.x, 1e-6f);
  EXPECT_NEAR(skid.Local1.y, fresh.y, 1e-6f);
  EXPECT_NEAR(skid.Local1.z, fresh.z, 1e-6f);
}

// The mesh turned about x by degrees.
void RotateX(meshgen::mesh& m, float degrees) {
  float c = std::cos(degrees * 3.14159265f / 180.0f), s = std::sin(degrees * 3.14159265f / 180.0f);
  for (meshgen::vertex& v : m.vertices) {
    for (float* p : {v.p, v.n}) {
      float y = p[1], z = p[2];
      p[1] = c * y - s * z;
      p[2] = s * y + c * z;
    }
  }
}

TEST_F(skidforce, FlatSkidTakesItsZAxisAcrossItsBroadSide) {
  kxdskid00 plate;
  meshgen::mesh m = meshgen::Box(0.5f, 0.02f, 0.2f);
  RotateX(m, 30.0f);  // broad side facing (0, cos 30, sin 30)
  plate.Geometry = Object("Plate", m);
  plate.Analyse();
  EXPECT_FLOAT_EQ(plate.B.X.x, 1.0f);
  float along = plate.B.Z.y * 0.8660254f + plate.B.Z.z * 0.5f;
  EXPECT_NEAR(std::fabs(along), 1.0f, 1e-3f);
  EXPECT_NEAR(plate.B.X.y * plate.B.Z.y + plate.B.X.z * plate.B.Z.z + plate.B.X.x * plate.B.Z.x, 0.0f, 1e-5f);
  float handedness = plate.B.X.x * (plate.B.Y.y * plate.B.Z.z - plate.B.Y.z * plate.B.Z.y);
  EXPECT_NEAR(handedness, 1.0f, 1e-3f);
}

TEST_F(skidforce, BothEndsPushOutBySpringAndDamper) {
  float z = skid.B.R.z = 0.009f;  // ends 1 mm deep
  Touch(z, {0.0f, 0.0f, -0.1f, 0.0f});
  float spring = 10000.0f * 0.001f;
  EXPECT_NEAR(skid.Force.z, 2.0f * (spring + 10.0f * 0.1f), 1e-3f);
  EXPECT_NEAR(skid.Torque.y, 0.0f, 1e-4f);
  EXPECT_EQ(instance.GroundContact, 1);
}

TEST_F(skidforce, EachEndTakesItsOwnDepthAndTurnsTheSkid) {
  skid.CP2.z = -0.19f;  // the rear end sits above the tube's bottom
  skid.Analyse();
  Touch(0.009f, {0.0f, 0.0f, 0.0f, 0.0f});
  EXPECT_NEAR(skid.Force.z, 10.0f, 1e-3f);
  // Lifting the front end: r x F about y = -0.25 m * 10 N.
  EXPECT_NEAR(skid.Torque.y, -2.5f, 1e-3f);
}

TEST_F(skidforce, EndExactlyOnTheSurfaceGivesNoForce) {
  skid.CP1.z = -0.205f;
  skid.CP2.z = -0.205f;
  skid.Analyse();
  float z = 0.0f;
  Touch(z, {0.0f, 0.0f, 0.0f, 0.0f}, skid.Local1.z + z);
  EXPECT_FLOAT_EQ(skid.Force.z, 0.0f);
  EXPECT_EQ(instance.GroundContact, 0);
}

TEST_F(skidforce, FrictionOpposesSlidingAsKsxSays) {
  Touch(0.009f, {1.0f, 0.0f, 0.0f, 0.0f});
  EXPECT_FLOAT_EQ(skid.Force.x, 0.0f);  // frictionless by default
  skid.Ksx = 0.5f;
  Touch(0.009f, {1.0f, 0.0f, 0.0f, 0.0f});
  EXPECT_NEAR(skid.Force.x, -2.0f * 0.5f * 10.0f, 1e-3f);
  Touch(0.009f, {0.0f, -3.0f, 0.0f, 0.0f});
  EXPECT_NEAR(skid.Force.y, 2.0f * 0.5f * 10.0f, 1e-3f);
  // Creeping below 1e-5 m/s the friction shrinks with the speed.
  Touch(0.009f, {1e-6f, 0.0f, 0.0f, 0.0f});
  EXPECT_NEAR(skid.Force.x, -2.0f * 0.5f * 10.0f * 1e-6f, 1e-8f);
}

TEST_F(skidforce, SkidWithoutGeometryOnlyFeelsGravity) {
  kxdskid00 bare;
  bare.Instance = &instance;
  kxdflatground plane(10.0f);
  kxdynamics::SetCurrentWorld(&plane);
  bare.ComputeChange(nullptr, 0);
  kxdynamics::SetCurrentWorld(nullptr);
  EXPECT_FLOAT_EQ(bare.Force.z, -kG);
  EXPECT_EQ(instance.GroundContact, 0);
}

// A helicopter body on two skids.
std::string Heli(float ksx) {
  std::string skids;
  for (int i = 1; i <= 2; ++i) {
    float y = i == 1 ? 0.15f : -0.15f;
    char text[512];
    std::snprintf(text, sizeof text,
                  "Append kxdskid00 Skid%d\ncd Skid%d/\nGeometry( \"~Geometry/Skid%d/\" )\nMass = 0.1\n"
                  "CP1 = kxvector4r( 0.25, %g, -0.21, 1 )\nCP2 = kxvector4r( -0.25, %g, -0.21, 1 )\nKsx = %g\n"
                  "Dsn = 40\ncd ../\n",
                  i, i, i, y, y, ksx);
    skids += text;
  }
  return "Append kxdfuselage00 Fuselage\ncd Fuselage/\nMass = 2\ncd ../\n" + skids;
}

class heli : public groundtest {
 protected:
  void LoadHeli(float ksx) {
    BuildGround("runway");
    LoadAircraft("heli", Heli(ksx),
                 {{"Skid1", kxgtest::TubeMesh(0.01f, 0.5f, 0.0f, 0.15f, -0.2f)},
                  {"Skid2", kxgtest::TubeMesh(0.01f, 0.5f, 0.0f, -0.15f, -0.2f)}});
  }
  // Starts with the skid ends at their loaded depth, moving at v.
  kxdaircraftinstance* PlaceOnSkids(const kxvector4r& v) {
    kxdaircraftinstance* instance = Place(1.0f, v);
    kxdskid00* s = Simulated<kxdskid00>("Skid1");
    float below = instance->SimMainBody->B.R.z - (s->B.R.z - 0.01f);
    return Place(below - Depth(), v);
  }
  static float Depth() { return 2.2f * kG / 4.0f / 10000.0f; }
};

TEST_F(heli, RestsOnItsFourSkidEnds) {
  LoadHeli(0.0f);
  kxdaircraftinstance* instance = Place(0.25f, {0.0f, 0.0f, 0.0f, 0.0f});
  Run(2.0f);
  for (const char* name : {"Skid1", "Skid2"}) {
    kxdskid00* s = Simulated<kxdskid00>(name);
    ASSERT_NE(s, nullptr);
    EXPECT_NEAR(s->B.R.z - 0.01f, -Depth(), 1e-4f) << name;
    EXPECT_NEAR(s->B.Z.z, 1.0f, 1e-4f) << name;
  }
  ExpectResting(instance, 0.005f, 0);
}

TEST_F(heli, SlidesFreelyWithoutFriction) {
  LoadHeli(0.0f);
  PlaceOnSkids({1.0f, 0.0f, 0.0f, 0.0f});
  Run(0.5f);
  EXPECT_NEAR(Velocity().x, 1.0f, 0.01f);
}

TEST_F(heli, FrictionStopsTheSlideAtKsxTimesG) {
  LoadHeli(0.4f);
  PlaceOnSkids({1.0f, 0.0f, 0.0f, 0.0f});
  float start = kxdaircraftinstance::Loaded(0)->SimMainBody->B.R.x;
  Run(0.18f);
  EXPECT_NEAR(Velocity().x, 1.0f - 0.4f * kG * 0.18f, 0.06f);
  Run(0.5f);
  EXPECT_LT(std::fabs(Velocity().x), 0.01f);
  // Slid about v^2 / (2 a).
  float slid = kxdaircraftinstance::Loaded(0)->SimMainBody->B.R.x - start;
  EXPECT_NEAR(slid, 1.0f / (2.0f * 0.4f * kG), 0.03f);
}

}  // namespace
