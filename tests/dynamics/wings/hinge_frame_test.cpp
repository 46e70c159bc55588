// The hinge frames of the moving parts: which parts the main wing's mesh
// analysis handles, the facing threshold, the tie between equal patches,
// first-child re-basing, degenerate parts, and the fixed-frame fin's flap.
#include <GL/gl.h>

#include <cmath>

#include "dynamics/wings/aileron_wing.h"
#include "dynamics/wings/multi_section_wing.h"
#include "dynamics/wings/sectioned_wing.h"
#include "dynamics/wings/wing_analysis.h"
#include "graphics/mesh.h"
#include "tools/meshgen/meshgen.h"
#include "wings_support.h"

namespace {

using kxwtest::wingstest;

class hingeframe : public wingstest {
 protected:
  kxgeometricobject* Object(const char* name, kxnode* parent, const meshgen::mesh& m) {
    auto* g = new kxgeometricobject;
    g->name = name;
    parent->AppendChild(g);
    g->SetMesh(meshgen::ToElement(m, "paint", "", GL_N3F_V3F));
    return g;
  }
  static meshgen::mesh Plate(float x0, float x1, float y0, float y1) {
    meshgen::mesh m = meshgen::Box(x1 - x0, y1 - y0, 0.01f);
    meshgen::Translate(m, 0.5f * (x0 + x1), 0.5f * (y0 + y1), 0.0f);
    return m;
  }
  // One quad with the unit normal (nx, 0, nz), spanning y 0..1 around (x, z).
  static meshgen::mesh Face(float x, float nx, float nz) {
    meshgen::mesh m;
    float tx = -nz, tz = nx;  // in-plane direction across the span
    float a[3] = {x - 0.01f * tx, 0.0f, -0.01f * tz}, b[3] = {x + 0.01f * tx, 0.0f, 0.01f * tz};
    float c[3] = {x + 0.01f * tx, 1.0f, 0.01f * tz}, d[3] = {x - 0.01f * tx, 1.0f, -0.01f * tz};
    for (float* p : {a, b, c, d}) {
      meshgen::vertex v{};
      for (int k = 0; k < 3; ++k) v.p[k] = p[k];
      v.n[0] = nx, v.n[2] = nz;
      m.vertices.push_back(v);
    }
    // Counter-clockwise seen from the normal's side.
    kxvector4r e1 = {b[0] - a[0], b[1] - a[1], b[2] - a[2], 0}, e2 = {c[0] - a[0], c[1] - a[1], c[2] - a[2], 0}, n;
    kxvector4r::Cross(n, e1, e2);
    if (n.x * nx + n.z * nz > 0) m.triangles = {0, 1, 2, 0, 2, 3};
    else m.triangles = {0, 2, 1, 0, 3, 2};
    return m;
  }
  static kxmatrix Identity() {
    kxmatrix m;
    kxmatrix::SetIdentity(&m);
    return m;
  }
};

TEST_F(hingeframe, FacingTestIsStrictAndFrameFollowsTheFace) {
  kxgeometricobject root;
  auto* passing = Object("Pass", &root, Face(0.0f, 0.7072f, std::sqrt(1.0f - 0.7072f * 0.7072f)));
  auto* failing = Object("Fail", &root, Face(0.0f, 0.7069f, std::sqrt(1.0f - 0.7069f * 0.7069f)));
  kxmatrix H;
  const kxvector4r up = {0, 0, 1, 0};
  EXPECT_EQ(kxdwinganalysis::FindHingeFrame(passing, 0.707f, up, &H), 1);
  EXPECT_NEAR(H.Y.y, 1.0f, 1e-4f);
  EXPECT_NEAR(H.X.x, 1.0f, 1e-4f);
  EXPECT_NEAR(H.Z.z, 1.0f, 1e-4f);
  EXPECT_NEAR(H.R.y, 0.5f * 3.0f * 0.333333f, 1e-4f);
  EXPECT_EQ(kxdwinganalysis::FindHingeFrame(failing, 0.707f, up, &H), 0);
}

TEST_F(hingeframe, EqualPatchesGoToTheEarlierAndEmptyPartsGetNoFrame) {
  kxgeometricobject root;
  meshgen::mesh two = Face(0.0f, 1.0f, 0.0f);
  meshgen::mesh other = Face(0.0f, 1.0f, 0.0f);
  meshgen::Translate(other, 0.0f, 0.0f, 0.5f);
  meshgen::Append(two, other);
  auto* part = Object("Two", &root, two);
  kxmatrix H;
  ASSERT_EQ(kxdwinganalysis::FindHingeFrame(part, 0.707f, {0, 0, 1, 0}, &H), 1);
  EXPECT_NEAR(H.R.z, 0.0f, 1e-4f);  // the first patch, not the one 0.5 m up
  auto* empty = Object("Empty", &root, meshgen::mesh{});
  EXPECT_EQ(kxdwinganalysis::FindHingeFrame(empty, 0.707f, {0, 0, 1, 0}, &H), 0);
}

TEST_F(hingeframe, MainWingRebasesDirectChildPartsOnceAndOnlyTheirFirstChild) {
  auto* w = new kxdwing00;
  scratch.AppendChild(w);
  w->Geometry = Object("Wing", &scratch, Plate(-0.2f, 0.0f, 0.0f, 1.0f));
  auto* flap = Object("Flap", w->Geometry, Plate(-0.25f, -0.2f, 0.1f, 0.5f));
  auto* first = Object("Hinge", flap, Plate(-0.25f, -0.2f, 0.1f, 0.2f));
  auto* second = Object("Horn", flap, Plate(-0.25f, -0.2f, 0.3f, 0.4f));
  auto* brake = Object("Brake", w->Geometry, Plate(-0.1f, -0.05f, 0.2f, 0.4f));
  auto* deep = Object("Deep", first, Plate(-0.25f, -0.2f, 0.6f, 0.7f));
  w->Flap = w->Flap1 = flap;
  w->Airbrake = brake;
  w->Aileron = deep;  // not a direct child: never analysed
  kxmatrix secondBefore = second->Matrix;
  kxmatrix deepBefore = deep->Matrix;
  w->Analyse();
  // The hinge in aircraft axes: on the flap's front face, along y.
  kxvector4r hingePoint, hingeAxis;
  kxmatrix::TransformVector4(&hingePoint, &w->Geometry->Matrix, &flap->Matrix.R);
  kxmatrix::TransformVector4(&hingeAxis, &w->Geometry->Matrix, &flap->Matrix.Y);
  EXPECT_NEAR(hingePoint.x, -0.2f, 1e-3f);
  EXPECT_NEAR(hingePoint.y, 0.3f, 1e-3f);
  EXPECT_NEAR(hingeAxis.y, 1.0f, 1e-4f);
  for (int i = 0; i < 16; ++i) {
    EXPECT_FLOAT_EQ(first->Matrix[i], i % 5 == 0 ? 1.0f : 0.0f) << i;
    EXPECT_FLOAT_EQ(second->Matrix[i], secondBefore[i]) << i;
    EXPECT_FLOAT_EQ(deep->Matrix[i], deepBefore[i]) << i;
  }
  // The brake keeps the matrix the layout gave every child: the wing's inverse.
  kxmatrix inverse;
  kxmatrix::Invert(w->Geometry->Matrix, inverse);
  for (int i = 0; i < 16; ++i) EXPECT_NEAR(brake->Matrix[i], inverse[i], 1e-5f) << i;
  // Both flap entries saw the same part.
  EXPECT_FLOAT_EQ(w->SectionFlapCl[0], w->SectionFlap1Cl[0]);
  // The brake spans 0.2 of section 0 (0..0.5): cl scale 0.2, cd from its front area.
  EXPECT_NEAR(w->SectionAirbrakeCl[0], 0.4f, 0.02f);
  EXPECT_GT(w->SectionAirbrakeCd[0], 0.0f);
}

TEST_F(hingeframe, FlapEffectScalesAlphaAndLiftOnceAndMomentTwice) {
  float cl[2], alpha[2], cd[2], cm[2];
  for (int run = 0; run < 2; ++run) {
    auto* w = new kxdwing00;
    scratch.AppendChild(w);
    w->Geometry = Object("Wing", &scratch, Plate(-0.15f, 0.0f, 0.0f, 1.0f));
    w->Flap = Object("Flap", w->Geometry, Plate(-0.2f, -0.15f, 0.0f, 0.25f));
    w->FlapEffect = run == 0 ? 1.0f : 2.0f;
    w->Analyse();
    cl[run] = w->SectionFlapCl[0];
    alpha[run] = w->SectionFlapAlpha[0];
    cd[run] = w->SectionFlapCd[0];
    cm[run] = w->SectionFlapCm[0];
  }
  EXPECT_NEAR(cl[0], 0.4f, 0.02f);
  EXPECT_NEAR(cl[1], 2.0f * cl[0], 1e-5f);
  EXPECT_NEAR(alpha[1], 2.0f * alpha[0], 1e-5f);
  EXPECT_NEAR(cd[1], cd[0], 1e-6f);
  EXPECT_NEAR(cm[1], 4.0f * cm[0], 1e-5f);
}

TEST_F(hingeframe, MainWingKeepsLoadedEntriesBeyondItsTwoSections) {
  auto* w = new kxdwing00;
  scratch.AppendChild(w);
  w->Geometry = Object("Wing", &scratch, Plate(-0.2f, 0.0f, 0.0f, 1.0f));
  w->Sections = 5;
  w->SectionArea[3] = 0.75f;
  w->SectionR[4] = {1.0f, 2.0f, 3.0f, 1.0f};
  w->RangeSpanMax = 0.0005f;
  w->Analyse();
  EXPECT_EQ(w->Sections, 2);
  EXPECT_FLOAT_EQ(w->SectionArea[3], 0.75f);
  EXPECT_FLOAT_EQ(w->SectionR[4].y, 2.0f);
  EXPECT_NEAR(w->SectionArea[0] + w->SectionArea[1], 0.2f, 2e-3f);
  EXPECT_NEAR(w->RangeSpanMax, 2.0f, 0.01f);
  w->RangeSpanMax = 0.001f;
  w->Analyse();
  EXPECT_FLOAT_EQ(w->RangeSpanMax, 0.001f);
}

TEST_F(hingeframe, FixedFrameFinSamplesItsRudderAndLeavesTheSecondPartAlone) {
  auto* w = new kxdwing12;
  scratch.AppendChild(w);
  meshgen::mesh fin = meshgen::Box(0.15f, 0.01f, 0.3f);
  meshgen::Translate(fin, -0.075f, 0.0f, 0.15f);
  meshgen::mesh rudder = meshgen::Box(0.05f, 0.01f, 0.15f);
  meshgen::Translate(rudder, -0.175f, 0.0f, 0.075f);
  w->Geometry = Object("Fin", &scratch, fin);
  w->Flap = Object("Rudder", w->Geometry, rudder);
  w->Flap1 = Object("Tab", w->Geometry, meshgen::Box(0.02f, 0.01f, 0.02f));
  kxmatrix tabBefore;
  w->RootR = {0.0f, 0.0f, 0.0f, 1.0f};
  w->Analyse();
  tabBefore = w->Flap1->Matrix;
  EXPECT_NEAR(w->SectionChord[0], 0.2f, 2e-3f);  // cut through fin and rudder
  // Half the span and a quarter of the chord.
  EXPECT_NEAR(w->SectionFlapCl[0], 0.4f, 0.02f);
  EXPECT_NEAR(w->SectionFlapAlpha[0], 0.125f, 0.01f);
  // In the fin's frame the hinge runs along y (aircraft z).
  EXPECT_NEAR(w->Flap->Matrix.Y.y, 1.0f, 1e-3f);
  EXPECT_NEAR(w->Flap->Matrix.R.x, -0.15f - w->B.R.x, 1e-3f);
  w->Analyse();
  for (int i = 0; i < 16; ++i) EXPECT_FLOAT_EQ(w->Flap1->Matrix[i], tabBefore[i]);
}

TEST_F(hingeframe, AileronWingFramesBothAileronsAndLeavesTheAirbrake) {
  auto* w = new kxdwing20;
  scratch.AppendChild(w);
  w->Mass = 0.5f;
  w->Geometry = Object("Wing", &scratch, Plate(-0.2f, 0.0f, -1.0f, 1.0f));
  w->LeftAileron = Object("Left", w->Geometry, Plate(-0.25f, -0.2f, 0.5f, 1.0f));
  w->RightAileron = Object("Right", w->Geometry, Plate(-0.25f, -0.2f, -1.0f, -0.5f));
  w->Airbrake = Object("Brake", w->Geometry, Plate(-0.1f, -0.05f, 0.2f, 0.4f));
  w->Analyse();
  EXPECT_NEAR(w->LeftAileron->Matrix.R.y, 0.75f * 3.0f * 0.333333f, 1e-3f);
  EXPECT_NEAR(w->RightAileron->Matrix.R.y, -0.75f * 3.0f * 0.333333f, 1e-3f);
  EXPECT_NEAR(w->RightAileron->Matrix.Y.y, 1.0f, 1e-4f);
  for (int i = 0; i < 16; ++i) EXPECT_FLOAT_EQ(w->Airbrake->Matrix[i], i % 5 == 0 ? 1.0f : 0.0f) << i;
  EXPECT_FLOAT_EQ(w->WingArea, 0.0f);
  EXPECT_FLOAT_EQ(w->RangeMassMax, 1.0f);
  EXPECT_FLOAT_EQ(w->RangeMassMin, 0.25f);
}

}  // namespace
