// The wings at run time: rest axes taken by Prepare, parts turned and slid
// by their links, the mesh re-based by UpdateGraphics, clones, the total
// wing area and the aileron wing's empty force pass.
#include <GL/gl.h>

#include <cmath>

#include "dynamics/aircraft.h"
#include "dynamics/instance.h"
#include "dynamics/wings/aileron_wing.h"
#include "dynamics/wings/multi_section_wing.h"
#include "dynamics/wings/sectioned_wing.h"
#include "tools/meshgen/meshgen.h"
#include "wings_support.h"

namespace {

using kxwtest::wingstest;

class wingmotion : public wingstest {
 protected:
  template <class W>
  W* Wing(kxnode* parent = nullptr) {
    W* w = new W;
    (parent ? parent : &scratch)->AppendChild(w);
    return w;
  }
  static void ExpectVector(const kxvector4r& v, float x, float y, float z, float w) {
    EXPECT_NEAR(v.x, x, 1e-6f);
    EXPECT_NEAR(v.y, y, 1e-6f);
    EXPECT_NEAR(v.z, z, 1e-6f);
    EXPECT_NEAR(v.w, w, 1e-6f);
  }
};

// --- hinged parts

TEST_F(wingmotion, PositiveFlapDeflectionTurnsXTowardZAboutTheRestY) {
  auto* w = Wing<kxdwing10>();
  float link = 0.0f;
  w->Flap = Part("Flap");
  w->Flap->Matrix.R = {-0.1f, 0.2f, 0.0f, 1.0f};
  w->FlapLink = &link;
  w->Prepare();
  const float theta = 0.3f;
  link = theta;
  w->UpdateVisual();
  ExpectVector(*w->Flap->X, std::cos(theta), 0.0f, std::sin(theta), 0.0f);
  ExpectVector(*w->Flap->Y, 0.0f, 1.0f, 0.0f, 0.0f);
  ExpectVector(*w->Flap->Z, -std::sin(theta), 0.0f, std::cos(theta), 0.0f);
  ExpectVector(*w->Flap->R, -0.1f, 0.2f, 0.0f, 1.0f);
  link = 0.0f;
  w->UpdateVisual();
  EXPECT_EQ(*w->Flap->X, w->FlapX);
  EXPECT_EQ(*w->Flap->Z, w->FlapZ);
}

TEST_F(wingmotion, SecondFlapPartTakesTheFlapsTurnedAxes) {
  auto* w = Wing<kxdwing11>();
  float link = -0.2f;
  w->Flap = Part("Flap");
  w->Flap1 = Part("Flap1");
  // The second part is drawn in another orientation; it follows the flap.
  w->Flap1->Matrix.X = {0.0f, 1.0f, 0.0f, 0.0f};
  w->Flap1->Matrix.Y = {-1.0f, 0.0f, 0.0f, 0.0f};
  w->FlapLink = &link;
  w->Prepare();
  w->UpdateVisual();
  EXPECT_EQ(*w->Flap1->X, *w->Flap->X);
  EXPECT_EQ(*w->Flap1->Y, *w->Flap->Y);
  EXPECT_EQ(*w->Flap1->Z, *w->Flap->Z);
}

TEST_F(wingmotion, MultiSectionFlapTurnsAndSlidesAndTheAirbrakeSlidesAlongZ) {
  auto* w = Wing<kxdwing00>();
  float aileron = 0.1f, flap = 0.5f, airbrake = -1.0f;
  w->Aileron = Part("Aileron");
  w->Flap = Part("Flap");
  w->Airbrake = Part("Airbrake");
  w->Flap->Matrix.R = {-0.2f, 0.3f, 0.0f, 1.0f};
  w->Airbrake->Matrix.R = {0.0f, 0.4f, 0.01f, 1.0f};
  w->AileronLink = &aileron;
  w->FlapLink = &flap;
  w->AirbrakeLink = &airbrake;
  w->FlapDisplacement = {-0.02f, 0.0f, -0.01f, 0.0f};
  w->AirbrakeDisplacement = 0.03f;
  w->Prepare();
  w->UpdateVisual();
  ExpectVector(*w->Aileron->X, std::cos(0.1f), 0.0f, std::sin(0.1f), 0.0f);
  ExpectVector(*w->Aileron->R, 0.0f, 0.0f, 0.0f, 1.0f);
  ExpectVector(*w->Flap->X, std::cos(0.5f), 0.0f, std::sin(0.5f), 0.0f);
  ExpectVector(*w->Flap->R, -0.2f - 0.01f, 0.3f, -0.005f, 1.0f);
  ExpectVector(*w->Airbrake->R, 0.0f, 0.4f, 0.01f, 1.0f);
  ExpectVector(*w->Airbrake->X, 1.0f, 0.0f, 0.0f, 0.0f);
  airbrake = 1.0f;
  flap = 0.0f;
  w->UpdateVisual();
  ExpectVector(*w->Airbrake->R, 0.0f, 0.4f, 0.04f, 1.0f);
  EXPECT_EQ(*w->Flap->X, w->FlapX);
  EXPECT_EQ(*w->Flap->R, w->FlapR);
}

TEST_F(wingmotion, AileronWingTurnsItsAileronsInOppositeSensesForOppositeLinks) {
  auto* w = Wing<kxdwing20>();
  float left = 0.3f, right = -0.3f;
  w->LeftAileron = Part("Left");
  w->RightAileron = Part("Right");
  w->LeftAileronLink = &left;
  w->RightAileronLink = &right;
  w->Prepare();
  w->UpdateVisual();
  ExpectVector(*w->LeftAileron->X, std::cos(0.3f), 0.0f, std::sin(0.3f), 0.0f);
  ExpectVector(*w->RightAileron->X, std::cos(0.3f), 0.0f, -std::sin(0.3f), 0.0f);
}

// A part stays until Prepare has taken its rest axes, without a link (its
// rest axes are still taken), with a link that is no number, and as a second
// part when the first has no axis pointers.
TEST_F(wingmotion, PartsMoveOnlyWithRestAxesAFiniteLinkAndAxisPointers) {
  auto* w = Wing<kxdwing10>();
  float link = 0.5f;
  w->Flap = Part("Flap");
  w->FlapLink = &link;
  w->UpdateVisual();
  ExpectVector(*w->Flap->X, 1.0f, 0.0f, 0.0f, 0.0f);
  w->FlapLink = nullptr;
  w->Flap->Matrix.X = {0.0f, 0.0f, -1.0f, 0.0f};
  w->Flap->Matrix.Z = {1.0f, 0.0f, 0.0f, 0.0f};
  w->Prepare();
  ExpectVector(w->FlapX, 0.0f, 0.0f, -1.0f, 0.0f);
  ExpectVector(w->FlapZ, 1.0f, 0.0f, 0.0f, 0.0f);
  w->Flap->Matrix.X = {0.5f, 0.0f, 0.0f, 0.0f};
  w->UpdateVisual();
  ExpectVector(*w->Flap->X, 0.5f, 0.0f, 0.0f, 0.0f);
  link = std::nanf("");
  w->FlapLink = &link;
  w->UpdateVisual();
  ExpectVector(*w->Flap->X, 0.5f, 0.0f, 0.0f, 0.0f);
  link = 0.4f;
  w->Flap1 = Part("Flap1");
  w->Prepare();
  w->Flap->X = nullptr;
  w->UpdateVisual();
  ExpectVector(*w->Flap1->X, 1.0f, 0.0f, 0.0f, 0.0f);
  ExpectVector(*w->Flap1->Z, 0.0f, 0.0f, 1.0f, 0.0f);
}

// --- graphics

class winggraphics : public wingmotion {
 protected:
  kxgeometricobject* Plate() {
    kxgeometricobject* g = Part("Plate");
    meshgen::mesh box = meshgen::Box(0.2f, 1.0f, 0.01f);
    meshgen::Translate(box, 0.1f, 0.5f, 0.0f);
    g->SetMesh(meshgen::ToElement(box, "paint", "Plate", GL_N3F_V3F));
    return g;
  }
  static std::vector<kxvector4r> Vertices(const kxgeometricobject* g) {
    kxmatrix identity;
    kxmatrix::SetIdentity(&identity);
    std::vector<kxvector4r> v(g->VertexCount());
    for (int i = 0; i < g->VertexCount(); ++i) g->TransformVertex(&v[i], i, identity);
    return v;
  }
};

TEST_F(winggraphics, UpdateGraphicsExpressesTheRestMeshInTheWingFrameAndIsIdempotent) {
  auto* w = Wing<kxdwing00>();
  w->Geometry = Plate();
  std::vector<kxvector4r> rest = Vertices(w->Geometry);
  ASSERT_FALSE(rest.empty());
  kxmatrix::SetRotation(&w->B, {0.0f, 0.0f, 1.0f, 0.0f}, 0.4f);
  w->B.R = {0.5f, -0.2f, 0.1f, 1.0f};
  w->UpdateGraphics();
  std::vector<kxvector4r> once = Vertices(w->Geometry);
  kxmatrix matrixOnce = w->Geometry->Matrix;
  w->UpdateGraphics();
  std::vector<kxvector4r> twice = Vertices(w->Geometry);
  for (size_t i = 0; i < rest.size(); ++i) {
    EXPECT_EQ(once[i], twice[i]);
    // Drawn through Matrix = B, the mesh stands where its rest copy stands.
    kxvector4r drawn;
    kxmatrix::TransformVector4(&drawn, &w->B, &once[i]);
    EXPECT_NEAR(drawn.x, rest[i].x, 1e-5f);
    EXPECT_NEAR(drawn.y, rest[i].y, 1e-5f);
    EXPECT_NEAR(drawn.z, rest[i].z, 1e-5f);
  }
  for (int i = 0; i < 16; ++i) {
    EXPECT_EQ(matrixOnce[i], w->B[i]);
    EXPECT_EQ(w->Geometry->Matrix[i], w->B[i]);
  }
}

TEST_F(winggraphics, IdentityFrameSetsTheIdentityMatrixAndASingularOneNothing) {
  auto* w = Wing<kxdwing12>();
  kxmatrix::SetIdentity(&w->B);
  w->Geometry = Plate();
  std::vector<kxvector4r> rest = Vertices(w->Geometry);
  w->Geometry->Matrix.R = {1.0f, 2.0f, 3.0f, 1.0f};
  w->UpdateGraphics();
  EXPECT_EQ(Vertices(w->Geometry), rest);
  kxmatrix identity;
  kxmatrix::SetIdentity(&identity);
  for (int i = 0; i < 16; ++i) EXPECT_EQ(w->Geometry->Matrix[i], identity[i]);
  // A singular frame leaves mesh and matrix alone.
  w->Geometry->Matrix.R = {1.0f, 2.0f, 3.0f, 1.0f};
  w->B.X = {0.0f, 0.0f, 0.0f, 0.0f};
  w->UpdateGraphics();
  EXPECT_EQ(Vertices(w->Geometry), rest);
  EXPECT_EQ(w->Geometry->Matrix.R.x, 1.0f);
}

// --- clones

// Analysed fields without a file key (a section's flap lift, the wing
// area) reach the clone that flies.
TEST_F(wingmotion, CloneRemapsPartsAndLinksAndLeavesRangesTipAndSpanDirectionAtZero) {
  kxnode* root = new kxnode;
  root->name = "Root";
  scratch.AppendChild(root);
  kxgeometricobject* flap = Part("Flap", root);
  auto* w = Wing<kxdwing10>(root);
  w->name = "Tail";
  auto* source = Wing<kxdwing00>(root);  // its Cly stands in for a servo output
  source->name = "Main";
  w->Flap = flap;
  w->FlapLink = &source->Cly;
  w->Sections = 2;
  w->SectionArea[1] = 0.33f;
  w->SectionArea[2] = 0.44f;  // beyond Sections: not copied
  w->SectionFlapCl[1] = 0.7f;
  w->RangeSpanMax = 3.0f;
  w->RangeSpanMin = 1.0f;
  w->TipPoint = {1.0f, 2.0f, 3.0f, 1.0f};
  w->SpanDirection = {0.0f, 1.0f, 0.0f, 0.0f};
  w->WingArea = 0.25f;
  source->SpanDirection = {0.0f, 1.0f, 0.0f, 0.0f};
  source->RangeSpanMax = 2.0f;
  kxnode* copyRoot = root->Clone(&scratch);
  ASSERT_NE(copyRoot, nullptr);
  auto* c = static_cast<kxdwing10*>(copyRoot->FindChild("Tail"));
  auto* cs = static_cast<kxdwing00*>(copyRoot->FindChild("Main"));
  ASSERT_TRUE(c && cs);
  EXPECT_EQ(c->Flap, copyRoot->FindChild("Flap"));
  EXPECT_EQ(c->FlapLink, &cs->Cly);
  EXPECT_EQ(c->Sections, 2);
  EXPECT_FLOAT_EQ(c->SectionArea[1], 0.33f);
  EXPECT_FLOAT_EQ(c->SectionArea[2], 0.1f);
  EXPECT_FLOAT_EQ(c->SectionFlapCl[1], 0.7f);
  EXPECT_FLOAT_EQ(c->WingArea, 0.25f);
  EXPECT_EQ(c->RangeSpanMax, 0.0f);
  EXPECT_EQ(c->RangeSpanMin, 0.0f);
  ExpectVector(c->TipPoint, 0.0f, 0.0f, 0.0f, 0.0f);
  ExpectVector(c->SpanDirection, 0.0f, 0.0f, 0.0f, 0.0f);
  // The multi-section wing carries its span direction, not its range.
  ExpectVector(cs->SpanDirection, 0.0f, 1.0f, 0.0f, 0.0f);
  EXPECT_EQ(cs->RangeSpanMax, 0.0f);
}

TEST_F(wingmotion, CloneWithNoSectionsCopiesNoSectionEntries) {
  auto* w = Wing<kxdwing20>();
  w->Sections = 0;
  w->SectionArea[0] = 0.9f;
  kxnode* copy = w->Clone(&scratch);
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(static_cast<kxdwing20*>(copy)->Sections, 0);
  EXPECT_FLOAT_EQ(static_cast<kxdwing20*>(copy)->SectionArea[0], 0.1f);
}

// --- the aircraft's wing area and the aileron wing's force pass

TEST_F(wingmotion, TotalWingAreaCountsMainWingsAileronWingsAndTailplanesButNotFins) {
  auto* aircraft = new kxdaircraft;
  scratch.AppendChild(aircraft);
  Wing<kxdwing00>(aircraft)->WingArea = 1.0f;
  Wing<kxdwing20>(aircraft)->WingArea = 2.0f;
  Wing<kxdwing10>(aircraft)->WingArea = 4.0f;
  Wing<kxdwing11>(aircraft)->WingArea = 8.0f;
  Wing<kxdwing12>(aircraft)->WingArea = 16.0f;
  kxdaircraftinstance instance;
  instance.Template = aircraft;
  EXPECT_FLOAT_EQ(kxdaircraftinstance::TotalWingArea(&instance), 7.0f);
  instance.Template = nullptr;
}

TEST_F(wingmotion, AileronWingAddsNoForceWhileABodyFeelsGravity) {
  auto* w = Wing<kxdwing20>();
  auto* tail = Wing<kxdwing10>();
  w->Mass = tail->Mass = 1.0f;
  w->ComputeChange(nullptr, 0);
  tail->ComputeChange(nullptr, 0);
  ExpectVector(w->Force, 0.0f, 0.0f, 0.0f, 0.0f);
  ExpectVector(w->Torque, 0.0f, 0.0f, 0.0f, 0.0f);
  EXPECT_LT(tail->Force.z, 0.0f);
}

}  // namespace
