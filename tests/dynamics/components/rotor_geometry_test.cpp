// Measuring rotors from generated meshes: blade count, hinge radius,
// radius, chord and inertia of the main rotor, the flybar frame, the
// designer's ranges, the guards for missing or surplus blades, and the tail
// rotor's frame.
#include <cmath>
#include <string>

#include "dynamics/components/main_rotor.h"
#include "dynamics/components/tail_rotor.h"
#include "rotor_support.h"

namespace {

constexpr float kBladeMass = 0.08f;

class rotorgeometry : public kxctest::componenttest {
 protected:
  // A rotor measured from a generated tree with n blades; the tree is kept
  // in root and freed by the fixture.
  template <class T>
  T* Measure(int blades, int hinges) {
    root = kxrtest::GeometryTree(blades);
    T* r = new T;
    rotors.emplace_back(r);
    r->Geometry = static_cast<kxgeometricobject*>(root->FindChild("Rotor"));
    r->BellHillerGeometry = static_cast<kxgeometricobject*>(r->Geometry->FindChild("Flybar"));
    r->BladeMass = kBladeMass;
    for (int i = 0; i < hinges && i < r->MaxBlades; ++i) {
      float a = 2.0f * 3.1415927f * static_cast<float>(i) / static_cast<float>(hinges);
      r->BladeHinge[i] = {kxrtest::kHinge * std::cos(a), kxrtest::kHinge * std::sin(a), kxrtest::kHubHeight, 1.0f};
    }
    r->Analyse();
    return r;
  }
  void TearDown() override {
    for (auto& r : rotors) {
      r->Geometry = nullptr;
      r->BellHillerGeometry = nullptr;
    }
    rotors.clear();
    delete root;
    root = nullptr;
    componenttest::TearDown();
  }
  kxgeometricobject* root = nullptr;
  std::vector<std::unique_ptr<kxdmainrotor>> rotors;
};

float RodInertia(float min, float max, int blades) {
  return ((max - min) * (max - min) / 12.0f + (max + min) * (max + min) / 4.0f) * blades * kBladeMass;
}

TEST_F(rotorgeometry, TwoBladeRotorGivesCountRadiusChordAndInertia) {
  kxdrotor00* r = Measure<kxdrotor00>(2, 2);
  EXPECT_EQ(r->Blades, 2);
  EXPECT_NEAR(r->HingeRadius, kxrtest::kHinge, 1e-5f);
  EXPECT_NEAR(r->Radius, kxrtest::kTip, 1e-3f);
  EXPECT_NEAR(r->Chord, kxrtest::kChord, 2e-3f);
  EXPECT_NEAR(r->Inertia[10], RodInertia(kxrtest::kHinge, kxrtest::kTip, 2), 1e-4f);
  // The rotor frame sits at the hub, X toward the first hinge.
  EXPECT_NEAR(r->B.R.z, kxrtest::kHubHeight, 1e-5f);
  EXPECT_NEAR(r->B.X.x, 1.0f, 1e-5f);
  EXPECT_NEAR(r->B.Z.z, 1.0f, 1e-5f);
  // Each blade's frame puts its hinge at the origin, pointing outward.
  EXPECT_NEAR(r->BladeRows[0].X.x, 1.0f, 1e-5f);
  EXPECT_NEAR(r->BladeRows[1].X.x, -1.0f, 1e-5f);
  EXPECT_NEAR(r->BladeObject[1]->Matrix.R.x, -kxrtest::kHinge, 1e-5f);
  // The flybar lies along the aircraft's axes at its pivot below the hub.
  EXPECT_NEAR(r->Flybar.X.x, 1.0f, 1e-5f);
  EXPECT_NEAR(r->Flybar.R.z, -0.02f, 1e-5f);
}

TEST_F(rotorgeometry, RangesFollowTheMeasuresUntilSet) {
  kxdrotor00* r = Measure<kxdrotor00>(2, 2);
  EXPECT_NEAR(r->RangeRadiusMax, 1.25f * r->Radius, 1e-5f);
  EXPECT_NEAR(r->RangeRadiusMin, 0.75f * r->Radius, 1e-5f);
  EXPECT_NEAR(r->RangeBladeMassMax, 1.25f * kBladeMass, 1e-6f);
  EXPECT_NEAR(r->RangeBladeMassMin, 0.75f * kBladeMass, 1e-6f);
  r->RangeRadiusMax = 0.001f;
  r->RangeRadiusMin = 0.0005f;
  r->Analyse();
  EXPECT_FLOAT_EQ(r->RangeRadiusMax, 0.001f);
  EXPECT_FLOAT_EQ(r->RangeRadiusMin, 0.0005f);
}

TEST_F(rotorgeometry, RepeatedAnalysisMeasuresTheSame) {
  kxdrotor00* r = Measure<kxdrotor00>(2, 2);
  float radius = r->Radius, chord = r->Chord, izz = r->Inertia[10];
  kxmatrix blade = r->BladeObject[0]->Matrix;
  r->Analyse();
  EXPECT_FLOAT_EQ(r->Radius, radius);
  EXPECT_FLOAT_EQ(r->Chord, chord);
  EXPECT_FLOAT_EQ(r->Inertia[10], izz);
  for (int i = 0; i < 16; ++i) EXPECT_NEAR(r->BladeObject[0]->Matrix[i], blade[i], 1e-6f) << i;
}

TEST_F(rotorgeometry, RotorWithoutBladesKeepsItsDefaults) {
  root = new kxgeometricobject;
  meshgen::mesh hub = meshgen::Box(0.1f, 0.1f, 0.1f);
  kxrtest::AddObject(root, "Hub", "Hub", &hub);
  auto r = std::make_unique<kxdrotor00>();
  r->Geometry = root;
  r->Analyse();
  const kxdrotor00 fresh;
  EXPECT_EQ(r->Blades, 0);
  EXPECT_FLOAT_EQ(r->Radius, fresh.Radius);
  EXPECT_FLOAT_EQ(r->Chord, fresh.Chord);
  EXPECT_FLOAT_EQ(r->RangeRadiusMax, 1.25f * fresh.Radius);
  EXPECT_TRUE(log.Contains("kxdrotor00:  ")) << kxtest::logcapture::Text();
  r->Geometry = nullptr;
}

TEST_F(rotorgeometry, BladesBeyondTheArraysAreIgnoredWithALogLine) {
  kxdrotor00* r = Measure<kxdrotor00>(5, 4);
  EXPECT_EQ(r->Blades, 4);
  EXPECT_TRUE(log.Contains("kxdrotor00:  ")) << kxtest::logcapture::Text();
  EXPECT_NE(kxtest::logcapture::Text().find("Blade5"), std::string::npos);
}

TEST_F(rotorgeometry, SecondModelTakesEightBlades) {
  kxdrotor01* r = Measure<kxdrotor01>(8, 8);
  EXPECT_EQ(r->Blades, 8);
  EXPECT_NEAR(r->Radius, kxrtest::kTip, 1e-3f);
  EXPECT_NEAR(r->Inertia[10], RodInertia(kxrtest::kHinge, kxrtest::kTip, 8), 1e-3f);
}

TEST_F(rotorgeometry, TailRotorTakesFixedAxesAtItsCentroid) {
  root = kxrtest::GeometryTree(2);
  kxdtailrotor00 t;
  t.Mass = 0.05f;
  t.Radius = 0.12f;
  t.Geometry = static_cast<kxgeometricobject*>(root->FindChild("Tail"));
  t.Analyse();
  EXPECT_NEAR(t.B.R.x, -0.9f, 1e-4f);
  EXPECT_NEAR(t.B.R.y, 0.1f, 1e-4f);
  EXPECT_NEAR(t.B.R.z, 0.25f, 1e-4f);
  EXPECT_FLOAT_EQ(t.B.Z.y, 1.0f);
  EXPECT_GT(t.Inertia[0], 0.0f);
  EXPECT_FLOAT_EQ(t.Inertia[15], 0.05f);
  EXPECT_NEAR(t.RangeRadiusMax, 0.15f, 1e-6f);
  t.Geometry = nullptr;
}

}  // namespace
