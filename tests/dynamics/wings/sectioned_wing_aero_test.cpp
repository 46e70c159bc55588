// The wing force passes with hand-set sections: direction index quadrants,
// lift, drag and moment, flap and other surface increments, reverse flow,
// sideslip, the fuselage cut, wash, and finite forces for unanalysed wings.
#include <cmath>

#include "dynamics/instance.h"
#include "dynamics/wings/multi_section_wing.h"
#include "dynamics/wings/section_flow.h"
#include "dynamics/wings/sectioned_wing.h"
#include "wings_support.h"

namespace {

using kxwtest::wingstest;

constexpr float kArea = 0.1f;
constexpr float kChord = 0.2f;
constexpr float kQ = kArea * 0.6125f;  // dynamic pressure per V^2

class wingaero : public wingstest {
 protected:
  void SetUp() override {
    wingstest::SetUp();
    // Tables that tell the index apart: cl = index / 1000, cd 0.01, cm -0.001 index.
    airfoil = new kxdairfoil;
    scratch.AppendChild(airfoil);
    for (int j = 0; j < kxdairfoil::kDirectionEntries; ++j) {
      airfoil->ClTable[j] = 0.001f * static_cast<float>(j);
      airfoil->CdTable[j] = 0.01f;
      airfoil->CmTable[j] = -0.0001f * static_cast<float>(j);
    }
    airfoil->PackDirectionTables();
  }
  template <class W>
  W* Wing(const kxvector4r& velocity) {
    W* w = new W;
    scratch.AppendChild(w);
    w->Mass = 0.0f;  // no gravity: the accumulators hold the aerodynamics only
    w->Contact = 0;
    w->Sections = 1;
    w->SectionAirfoil[0] = airfoil;
    w->SectionArea[0] = kArea;
    w->SectionChord[0] = kChord;
    // Flat-wing axes for every class (the upright classes start turned).
    w->SectionX[0] = {1.0f, 0.0f, 0.0f, 0.0f};
    w->SectionY[0] = {0.0f, 1.0f, 0.0f, 0.0f};
    w->SectionZ[0] = {0.0f, 0.0f, 1.0f, 0.0f};
    kxmatrix::SetIdentity(&w->B);
    w->D.R = velocity;
    w->D.R.w = 0.0f;
    return w;
  }
  kxdairfoil* airfoil = nullptr;
};

TEST(directionindex, QuadrantsCentreOnTheirIndexesAndDiagonalsReadNothing) {
  EXPECT_FLOAT_EQ(kxdsectionflow::DirectionIndex(0.0f, 1.0f), 200.0f);
  EXPECT_FLOAT_EQ(kxdsectionflow::DirectionIndex(1.0f, 0.0f), 600.0f);
  EXPECT_FLOAT_EQ(kxdsectionflow::DirectionIndex(0.0f, -1.0f), 1000.0f);
  EXPECT_FLOAT_EQ(kxdsectionflow::DirectionIndex(-1.0f, 0.0f), 1400.0f);
  EXPECT_FLOAT_EQ(kxdsectionflow::DirectionIndex(0.5f, 1.0f), 250.0f);
  EXPECT_LT(kxdsectionflow::DirectionIndex(1.0f, 1.0f), 0.0f);
  EXPECT_LT(kxdsectionflow::DirectionIndex(-1.0f, 1.0f), 0.0f);
  EXPECT_LT(kxdsectionflow::DirectionIndex(0.0f, 0.0f), 0.0f);
  EXPECT_LT(kxdsectionflow::DirectionIndex(NAN, 1.0f), 0.0f);
  EXPECT_LT(kxdsectionflow::DirectionIndex(0.2f, NAN), 0.0f);
}

// --- the sectioned wing

TEST_F(wingaero, FlowAlongTheChordLiftsAlongTheNormalWithTableEntry200) {
  auto* w = Wing<kxdwing10>({10.0f, 0.0f, 0.0f, 0.0f});
  w->ComputeChange(nullptr, 0);
  EXPECT_NEAR(w->Force.z, 0.2f * kQ * 100.0f, 1e-4f);
  EXPECT_NEAR(w->Force.x, -kQ * 0.01f * 10.0f * 10.0f, 1e-5f);
  EXPECT_NEAR(w->Force.y, 0.0f, 1e-6f);
  // Moment about the span axis: torque.y = -M.
  EXPECT_NEAR(w->Torque.y, -(kQ * kChord * -0.02f * 100.0f), 1e-5f);
  EXPECT_FLOAT_EQ(w->SectionR[0].w, 1.0f);
}

TEST_F(wingaero, SinkingSectionReadsAPositiveAngleAndReverseFlowTurnsTheLift) {
  auto* ahead = Wing<kxdwing10>({10.0f, 0.0f, -1.0f, 0.0f});
  ahead->ComputeChange(nullptr, 0);
  EXPECT_GT(ahead->Force.z, 0.2f * kQ * 100.0f);  // index 210 > 200
  auto* behind = Wing<kxdwing10>({-10.0f, 0.0f, -1.0f, 0.0f});
  behind->ComputeChange(nullptr, 0);
  // Index near 1000 gives cl near 1; the lift vector is reversed.
  float V2 = 101.0f;
  float cl = 0.001f * ((0.1f / -1.0f) * 100.0f + 1000.0f);
  float lift = cl * kQ * V2;
  // (n - dn d) with d = v / V: z part = 1 - dn^2.
  float dn = -1.0f / std::sqrt(V2);
  EXPECT_NEAR(behind->Force.z, -lift * (1.0f - dn * dn) + (-kQ * 0.01f * std::sqrt(V2)) * -1.0f, 2e-3f);
}

TEST_F(wingaero, DiagonalFlowGivesOnlyTheFlapIncrement) {
  auto* w = Wing<kxdwing10>({5.0f, 0.0f, -5.0f, 0.0f});
  w->ComputeChange(nullptr, 0);
  EXPECT_NEAR(kxvector4r::Length(w->Force), 0.0f, 1e-6f);
  float link = 0.5f;
  w->FlapLink = &link;
  w->SectionFlapCl[0] = 0.4f;
  w->ComputeChange(nullptr, 0);
  EXPECT_GT(kxvector4r::Length(w->Force), 0.01f);
}

TEST_F(wingaero, SpanwiseFlowCarriesNoLiftAndStillAirNoForce) {
  auto* side = Wing<kxdwing10>({0.0f, 10.0f, 0.0f, 0.0f});
  side->ComputeChange(nullptr, 0);
  EXPECT_NEAR(side->Force.z, 0.0f, 1e-6f);
  auto* still = Wing<kxdwing10>({0.0f, 0.0f, 0.0f, 0.0f});
  float link = 1.0f;
  still->FlapLink = &link;
  still->SectionFlapCl[0] = 1.0f;
  still->ComputeChange(nullptr, 0);
  EXPECT_EQ(kxvector4r::Length(still->Force), 0.0f);
  EXPECT_EQ(kxvector4r::Length(still->Torque), 0.0f);
}

TEST_F(wingaero, HalfSpanwiseFlowHalvesTheLiftCoefficient) {
  // ds^2 = 0.5 with the flow along the chord otherwise: index 200, cl 0.2 -> 0.1.
  auto* w = Wing<kxdwing10>({10.0f, 10.0f, 0.0f, 0.0f});
  w->ComputeChange(nullptr, 0);
  float V2 = 200.0f;
  EXPECT_NEAR(w->Force.z, 0.1f * kQ * V2, 1e-4f);
}

TEST_F(wingaero, OutboardSectionLiftRollsTheWing) {
  auto* w = Wing<kxdwing10>({10.0f, 0.0f, 0.0f, 0.0f});
  w->SectionR[0] = {0.0f, 1.0f, 0.0f, 0.0f};  // w 0 in the file is still a point
  w->ComputeChange(nullptr, 0);
  EXPECT_NEAR(w->Torque.x, w->Force.z * 1.0f, 1e-5f);
  EXPECT_FLOAT_EQ(w->SectionR[0].w, 1.0f);
}

TEST_F(wingaero, UnanalysedWingStaysFiniteAndBrokenFlowGivesNoForce) {
  auto* w = Wing<kxdwing10>({10.0f, 0.0f, -2.0f, 0.0f});
  w->AspectRatio = 0.0f;
  w->ComputeChange(nullptr, 0);
  EXPECT_TRUE(std::isfinite(w->Force.x) && std::isfinite(w->Force.z));
  auto* broken = Wing<kxdwing00>({NAN, 0.0f, 0.0f, 0.0f});
  broken->ComputeChange(nullptr, 0);
  EXPECT_EQ(kxvector4r::Length(broken->Force), 0.0f);
  EXPECT_EQ(kxvector4r::Length(broken->Torque), 0.0f);
  auto* broken10 = Wing<kxdwing10>({10.0f, 0.0f, INFINITY, 0.0f});
  broken10->ComputeChange(nullptr, 0);
  EXPECT_EQ(kxvector4r::Length(broken10->Force), 0.0f);
}

TEST_F(wingaero, WashActsOnEverySectionedSectionButOnlyTheMainWingsRoot) {
  kxdaircraftinstance instance;
  instance.Slipstream = {-10.0f, 0.0f, 0.0f, 0.0f};
  auto* tail = Wing<kxdwing10>({0.0f, 0.0f, 0.0f, 0.0f});
  tail->Instance = &instance;
  tail->PropWashFactor = 1.0f;
  tail->ComputeChange(nullptr, 0);
  EXPECT_NEAR(tail->Force.z, 0.2f * kQ * 100.0f, 1e-4f);

  auto* main = Wing<kxdwing00>({0.0f, 0.0f, 0.0f, 0.0f});
  main->Instance = &instance;
  main->PropWashFactor = 1.0f;
  main->Sections = 2;
  main->SectionAirfoil[1] = airfoil;
  main->ComputeChange(nullptr, 0);
  float root = main->Force.z;
  EXPECT_NEAR(root, 0.2f * kQ * 100.0f, 1e-4f);
  main->Force = {};
  main->Sections = 1;
  main->SectionAirfoil[0] = nullptr;
  main->Sections = 2;
  main->ComputeChange(nullptr, 0);
  EXPECT_NEAR(main->Force.z, 0.0f, 1e-6f);  // section 1 feels no wash
}

// --- the main wing

TEST_F(wingaero, MainWingChordFromSpanCrossNormalAndInducedDragAhead) {
  auto* w = Wing<kxdwing00>({10.0f, 0.0f, -1.0f, 0.0f});
  w->ComputeChange(nullptr, 0);
  float noInduced = w->Force.x;
  w->Force = w->Torque = {};
  w->AspectRatio = 5.0f;
  w->ComputeChange(nullptr, 0);
  EXPECT_LT(w->Force.x, noInduced);  // more drag
  EXPECT_GT(w->Force.z, 0.0f);
}

TEST_F(wingaero, SurfaceLinksShiftTheAngleAndAddTheirIncrements) {
  float aileron = 0.5f, flap = 0.5f, brake = -1.0f;
  auto* w = Wing<kxdwing00>({10.0f, 0.0f, 0.0f, 0.0f});
  w->ComputeChange(nullptr, 0);
  float plain = w->Force.z;
  w->Force = w->Torque = {};
  w->AileronLink = &aileron;
  w->SectionAileronAlpha[0] = 0.1f;
  w->ComputeChange(nullptr, 0);
  EXPECT_NEAR(w->Force.z, plain * 1.025f, 1e-4f);  // index 205 for 200
  w->Force = w->Torque = {};
  w->AileronLink = nullptr;
  w->FlapLink = &flap;
  w->SectionFlapCl[0] = 1.0f;
  w->ComputeChange(nullptr, 0);
  EXPECT_NEAR(w->Force.z, (0.2f + 0.4f * 0.5f) * kQ * 100.0f, 1e-3f);
  w->Force = w->Torque = {};
  w->FlapLink = nullptr;
  w->AirbrakeLink = &brake;
  w->SectionAirbrakeCl[0] = 0.5f;
  w->SectionAirbrakeCd[0] = 1.0f;
  w->ComputeChange(nullptr, 0);
  EXPECT_NEAR(w->Force.z, plain, 1e-5f);  // retracted
  w->Force = w->Torque = {};
  brake = 1.0f;
  w->ComputeChange(nullptr, 0);
  EXPECT_NEAR(w->Force.z, plain * 0.5f, 1e-4f);
  EXPECT_NEAR(w->Force.x, -kQ * (0.01f + 1.0f) * 100.0f, 1e-3f);
}

TEST_F(wingaero, SideslipScalesLiftByClyAndTheFuselageCutsTheRootOnItsSide) {
  kxvector4r v = {10.0f, -5.0f, 0.0f, 0.0f};  // ds < 0
  auto* w = Wing<kxdwing00>(v);
  w->Cly = 0.0f;
  w->ComputeChange(nullptr, 0);
  float free = w->Force.z;
  EXPECT_GT(free, 0.0f);
  w->Force = w->Torque = {};
  w->SpanDirection = {0.0f, 1.0f, 0.0f, 0.0f};  // root on the +y side: sy * ds < 0
  w->FuselageInterference = 4.0f;                // |ds| = 0.447: 1 - 1.79 < 0
  w->ComputeChange(nullptr, 0);
  EXPECT_NEAR(w->Force.z, 0.0f, 1e-6f);
  w->Force = w->Torque = {};
  w->SpanDirection = {0.0f, -1.0f, 0.0f, 0.0f};
  w->ComputeChange(nullptr, 0);
  EXPECT_NEAR(w->Force.z, free, 1e-5f);
  w->Force = w->Torque = {};
  w->Cly = 1.0f;
  w->ComputeChange(nullptr, 0);
  EXPECT_NEAR(w->Force.z, free * (1.0f - 0.2f), 1e-4f);
}

}  // namespace
