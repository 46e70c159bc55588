// Landing-gear legs: the drag that vanishes as the leg retracts, the joint
// the analysis configures, the mass properties from the mesh, the file
// text, and a loaded leg retracted by its servo.
#include <cmath>

#include "core/output.h"
#include "dynamics/write_links.h"
#include "dynamics/components/gear.h"
#include "dynamics/joint.h"
#include "ground_support.h"

namespace {

using kxgtest::groundtest;

class gearleg : public groundtest {
 protected:
  void SetUp() override {
    groundtest::SetUp();
    leg = new kxdgear00;
    leg->name = "Leg";
    root.AppendChild(leg);
  }
  kxdjoint00* AddJoint(const char* name, kxdbody* body1) {
    kxdjoint00* j = new kxdjoint00;
    j->name = name;
    j->Body1 = body1;
    root.AppendChild(j);
    return j;
  }
  // One force pass moving at v; the drag alone (no mass, no gravity).
  kxvector4r DragAt(const kxvector4r& v) {
    leg->Mass = 0.0f;
    leg->D.R = v;
    leg->Force = {0.0f, 0.0f, 0.0f, 0.0f};
    leg->ComputeChange(nullptr, 0);
    return leg->Force;
  }
  kxdaircraft root;
  kxdgear00* leg = nullptr;
};

TEST_F(gearleg, DragGrowsWithSpeedSquaredAndVanishesWhenRetracted) {
  leg->Areas[0] = 0.01f;
  leg->Cdx = 1.2f;
  float full = -0.6125f * 1.2f * 0.01f * 100.0f;
  EXPECT_NEAR(DragAt({10.0f, 0.0f, 0.0f, 0.0f}).x, full, 1e-5f);
  EXPECT_NEAR(DragAt({0.0f, -10.0f, 0.0f, 0.0f}).y, -full, 1e-5f);
  float link = 0.0f;
  leg->RetractLink = &link;
  EXPECT_NEAR(DragAt({10.0f, 0.0f, 0.0f, 0.0f}).x, full, 1e-5f);
  link = 1.0f;
  EXPECT_FLOAT_EQ(DragAt({10.0f, 0.0f, 0.0f, 0.0f}).x, 0.0f);
  link = -1.0f;
  EXPECT_NEAR(DragAt({10.0f, 0.0f, 0.0f, 0.0f}).x, 2.0f * full, 1e-5f);
}

TEST_F(gearleg, RetractableLegConfiguresTheLastJointNamingItAndAFixedOneAnchorsIt) {
  kxdjoint00* first = AddJoint("First", leg);
  kxdjoint00* other = AddJoint("Other", nullptr);
  kxdjoint00* last = AddJoint("Last", leg);
  float link = 0.0f;
  leg->MountingR = {0.2f, 0.15f, -0.03f, 1.0f};
  leg->Retractable = 1;
  leg->RetractZ = {0.0f, 1.0f, 0.0f, 0.0f};
  leg->RetractAngle = 85.0f;
  leg->RetractAngleZ = 10.0f;
  leg->RetractLink = &link;
  leg->Analyse();
  EXPECT_EQ(last->Body1, leg);
  EXPECT_FLOAT_EQ(last->B.R.x, 0.2f);
  EXPECT_FLOAT_EQ(last->B.R.y, 0.15f);
  EXPECT_FLOAT_EQ(last->B.R.z, -0.03f);
  EXPECT_FLOAT_EQ(last->Axis.y, 1.0f);
  EXPECT_FLOAT_EQ(last->Angle, 85.0f);
  EXPECT_FLOAT_EQ(last->AngleZ, 10.0f);
  EXPECT_EQ(last->Link, &link);
  // The others keep what they had.
  EXPECT_EQ(first->Link, nullptr);
  EXPECT_FLOAT_EQ(first->Angle, 0.0f);
  EXPECT_FLOAT_EQ(first->B.R.x, 0.0f);
  EXPECT_FLOAT_EQ(other->B.R.x, 0.0f);
  // A fixed leg anchors its joint and unlinks it.
  leg->Retractable = 0;
  last->Angle = 30.0f;
  leg->MountingR = {0.1f, 0.0f, -0.05f, 1.0f};
  leg->Analyse();
  EXPECT_EQ(last->Link, nullptr);
  EXPECT_FLOAT_EQ(last->Angle, 30.0f);
  EXPECT_FLOAT_EQ(last->B.R.z, -0.05f);
}

TEST_F(gearleg, LegWithoutJointIsAPlainBody) {
  leg->Retractable = 1;
  leg->Analyse();
  EXPECT_EQ(leg->ConfigureJoint(), nullptr);
}

TEST_F(gearleg, AnalysisGivesCentroidInertiaTimesMassAndAreas) {
  meshgen::mesh m = meshgen::Box(0.02f, 0.04f, 0.16f);
  meshgen::Translate(m, 0.2f, 0.15f, -0.1f);
  leg->Geometry = Object("LegMesh", m);
  leg->Analyse();
  EXPECT_NEAR(leg->B.R.x, 0.2f, 1e-5f);
  EXPECT_NEAR(leg->B.R.y, 0.15f, 1e-5f);
  EXPECT_NEAR(leg->B.R.z, -0.1f, 1e-5f);
  EXPECT_FLOAT_EQ(leg->B.X.x, 1.0f);
  EXPECT_FLOAT_EQ(leg->B.Y.y, 1.0f);
  EXPECT_NEAR(leg->Areas[0], 0.04f * 0.16f, 1e-6f);
  EXPECT_NEAR(leg->Areas[1], 0.02f * 0.16f, 1e-6f);
  EXPECT_NEAR(leg->Areas[2], 0.02f * 0.04f, 1e-6f);
  EXPECT_EQ(leg->Geometry->Object, leg);
  float unit[16];
  std::copy(leg->Inertia, leg->Inertia + 16, unit);
  // The long leg turns most easily about its length.
  EXPECT_GT(unit[0], unit[10]);
  EXPECT_GT(unit[5], unit[10]);
  leg->Mass = 3.0f;
  leg->Analyse();
  for (int i : {0, 5, 10}) EXPECT_NEAR(leg->Inertia[i], 3.0f * unit[i], 1e-6f) << i;
  EXPECT_FLOAT_EQ(leg->Inertia[15], 3.0f);
}

// A leg on a hinge, retracted by a servo on channel 1.
const char* const kRetract =
    "Append kxdfuselage00 Fuselage\ncd Fuselage/\nMass = 2\ncd ../\n"
    "Append kxdreceiver00 Receiver\n"
    "Append kxdservo00 Retract\ncd Retract/\nSignalIn = ~Aircraft/Receiver/Out(1)\ncd ../\n"
    "Append kxdgear00 Leg\ncd Leg/\nGeometry( \"~Geometry/Leg/\" )\nMass = 0.05\nCdx = 1\n"
    "MountingR = kxvector4f( 0.2, 0.15, -0.03, 1 )\nRetractable = 1\nRetractZ = kxvector4f( 1, 0, 0, 0 )\n"
    "RetractAngle = 90\nRetractLink = ~Aircraft/Retract/MechLink\ncd ../\n"
    "Append kxdjoint00 LegHinge\ncd LegHinge/\nBody1 = ../Leg/\ncd ../\n";

TEST_F(gearleg, LoadedLegSwingsUpAboutItsMountWhenTheServoRetractsIt) {
  meshgen::mesh m = meshgen::Box(0.02f, 0.02f, 0.14f);
  meshgen::Translate(m, 0.2f, 0.15f, -0.1f);
  LoadAircraft("retract", kRetract, {{"Leg", m}});
  kxdaircraftinstance* instance = Place(10.0f, {0.0f, 0.0f, 0.0f, 0.0f});
  kxdgear00* simulated = Simulated<kxdgear00>("Leg");
  ASSERT_NE(simulated, nullptr);
  auto offset = [&] {
    // In the main body's axes, which the moving leg may turn a little.
    const kxmatrix& m = instance->SimMainBody->B;
    kxvector4r d = {simulated->B.R.x - m.R.x, simulated->B.R.y - m.R.y, simulated->B.R.z - m.R.z, 0.0f};
    return kxvector4r{kxvector4r::Dot3(d, m.X), kxvector4r::Dot3(d, m.Y), kxvector4r::Dot3(d, m.Z), 0.0f};
  };
  slots[kxctest::kPlayer0Channels + 1] = -1.0f;
  Run(0.5f);
  kxvector4r down = offset();
  slots[kxctest::kPlayer0Channels + 1] = 1.0f;
  Run(1.0f);
  kxvector4r up = offset();
  // The leg's middle, 7 cm below the mount, turns a quarter about x.
  EXPECT_NEAR(up.z - down.z, 0.07f, 0.005f);
  EXPECT_NEAR(std::fabs(up.y - down.y), 0.07f, 0.005f);
  EXPECT_NEAR(up.x - down.x, 0.0f, 0.001f);
}

}  // namespace
