// A propeller loaded with its aircraft from the aircraft's files: measured
// from its mesh, cloned for the simulation, and broken by the ground.
#include <GL/gl.h>

#include <cmath>

#include "dynamics/components/engine00.h"
#include "dynamics/components/propeller.h"
#include "graphics/geometric_object.h"
#include "components_support.h"
#include "tools/meshgen/meshgen.h"

namespace {

using kxctest::componenttest;

const char* const kComponents =
    "Append kxdfuselage00 Fuselage\ncd Fuselage/\nMass = 2\ncd ../\n"
    "Append kxdengine00 Engine\ncd Engine/\nMass = 0.4\nPowerMax = 600\nRotationSpeedMax = 2000\n"
    "RotationSpeedIdle = 200\nR = kxvector4r( 0.3, 0, 0.05, 1 )\ncd ../\n"
    "Append kxdpropeller00 Propeller\ncd Propeller/\nGeometry( \"~Geometry/Prop/\" )\nEngine = ~Aircraft/Engine\n"
    "Mass = 0.03\ncd ../\n";

const char* const kGeometry =
    "Append kxgeometricobject Prop\ncd Prop/\n"
    "Append kxgeometricobject Blade1\nAppend kxgeometricobject Blade2\ncd ../\n";

class propellerfiles : public componenttest {
 protected:
  void PutPropellerPlane() {
    PutAircraft("prop", (kxctest::Header() + kComponents).c_str());
    Put("aircraft/prop/prop.kxg", kGeometry);
    kxgeometricobject root;
    kxgeometricobject* prop = new kxgeometricobject;
    prop->name = "Prop";
    root.AppendChild(prop);
    for (int i = 0; i < 2; ++i) {
      meshgen::mesh m = meshgen::Blade(0.02f, 0.15f, 0.03f, 0.02f, 30.0f, 10.0f, 12);
      meshgen::RotateZ(m, 180.0f * i);
      meshgen::RotateY(m, 90.0f);
      meshgen::Translate(m, 0.4f, 0.0f, 0.05f);
      kxgeometricobject* blade = new kxgeometricobject;
      blade->name.Format("Blade%d", i + 1);
      std::string group = std::string("Prop/") + blade->name.Text();
      blade->SetMesh(meshgen::ToElement(m, "paint", group.c_str(), GL_N3F_V3F));
      prop->AppendChild(blade);
    }
    ASSERT_EQ(kxgeometricobject::WriteMesh(&root, "aircraft/prop/prop.tgo", 1), 1);
  }
};

TEST_F(propellerfiles, LoadedPropellerIsMeasuredAndBreaksOnTheGround) {
  PutPropellerPlane();
  ASSERT_EQ(kxdaircraftinstance::AircraftLoad("prop", 0), 1) << kxtest::logcapture::Text();
  kxdpropeller00* loaded = Loaded<kxdpropeller00>("Propeller");
  ASSERT_NE(loaded, nullptr);
  EXPECT_EQ(loaded->Blades, 2);
  EXPECT_NEAR(loaded->Radius, 0.15f, 0.005f);
  EXPECT_NEAR(loaded->B.R.x, 0.4f, 0.01f);

  // Sitting on the ground the lower blade reaches 10 cm into it.
  kxdflatground ground(0.0f);
  kxdynamics::Start(&ground);
  kxdaircraftinstance* instance = kxdaircraftinstance::Loaded(0);
  kxmatrix pose;
  kxmatrix::SetIdentity(&pose);
  kxdaircraftinstance::PlaceAt(instance, pose, {0.0f, 0.0f, 0.0f, 0.0f});
  kxdpropeller00* prop = Simulated<kxdpropeller00>("Propeller");
  kxdengine00* engine = Simulated<kxdengine00>("Engine");
  ASSERT_TRUE(prop && engine);
  ASSERT_NE(prop->Geometry, nullptr);
  EXPECT_NE(prop->Geometry, loaded->Geometry);  // the drawn clone's object
  for (int frame = 0; frame < 10 && !prop->Broken; ++frame) kxdynamics::Step(0.036f, &ground);
  EXPECT_EQ(prop->Broken, 1);
  EXPECT_EQ(engine->Strike, 1);
  EXPECT_EQ(instance->Crash, 1);
  EXPECT_EQ(instance->SurfaceCode, 0);
  // Broken, it gives no wash and publishes none.
  kxdynamics::Step(0.036f, &ground);
  EXPECT_FLOAT_EQ(prop->Wash, 0.0f);
  EXPECT_FLOAT_EQ(instance->Slipstream.x, 0.0f);
}

}  // namespace
