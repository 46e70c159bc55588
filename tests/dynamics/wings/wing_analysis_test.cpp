// The wing geometry analyses on meshes built in code: flat plates give
// frame, span, area, aspect ratio and the section; a flap box gives its
// share of span and chord and a hinge frame that keeps it where it was
// drawn; the corner-contact test; degenerate input stays finite.
#include <GL/gl.h>

#include <cmath>

#include "dynamics/joint.h"
#include "dynamics/wings/aileron_wing.h"
#include "dynamics/wings/multi_section_wing.h"
#include "dynamics/wings/sectioned_wing.h"
#include "dynamics/wings/wing_analysis.h"
#include "graphics/mesh.h"
#include "tools/meshgen/meshgen.h"
#include "wings_support.h"

namespace {

using kxwtest::wingstest;

class winganalysis : public wingstest {
 protected:
  kxgeometricobject* Object(const char* name, kxnode* parent, const meshgen::mesh& m) {
    auto* g = new kxgeometricobject;
    g->name = name;
    parent->AppendChild(g);
    g->SetMesh(meshgen::ToElement(m, "paint", "", GL_N3F_V3F));
    return g;
  }
  // A box from (x0, y0) to (x1, y1), 1 cm thick, centred on z = 0.
  static meshgen::mesh Plate(float x0, float x1, float y0, float y1) {
    meshgen::mesh m = meshgen::Box(x1 - x0, y1 - y0, 0.01f);
    meshgen::Translate(m, 0.5f * (x0 + x1), 0.5f * (y0 + y1), 0.0f);
    return m;
  }
  // Every vertex of part, drawn through W and its Matrix, lies on its stored copy.
  static void ExpectDrawnWhereStored(const kxgeometricobject* geometry, const kxgeometricobject* part) {
    kxmatrix place;
    kxmatrix::Multiply4x4(&place, &geometry->Matrix, &part->Matrix);
    const kxgeometry* el = part->mesh;
    for (int i = 0; i < el->vertexCount; ++i) {
      kxvector4r p;
      part->TransformVertex(&p, i, place);
      const float* rest = el->stored + 6 * i + 3;
      EXPECT_NEAR(p.x, rest[0], 1e-4f);
      EXPECT_NEAR(p.y, rest[1], 1e-4f);
      EXPECT_NEAR(p.z, rest[2], 1e-4f);
    }
  }
};

TEST(pointscoincide, CornersCloserThanTwoMillimetresTouch) {
  kxvector4r a0 = {0, 0, 0, 1}, a1 = {1, 0, 0, 1}, a2 = {0, 1, 0, 1};
  EXPECT_EQ(kxdwing::PointsCoincide(a0, a1, a2, a0, a1, a2), 1);
  kxvector4r b0 = {2.0019f, 0, 0, 1}, b1 = {3, 0, 0, 1}, b2 = {3, 1, 0, 1};
  kxvector4r near0 = {1.0019f, 0, 0, 1};
  EXPECT_EQ(kxdwing::PointsCoincide(a0, a1, a2, near0, b1, b2), 1);
  EXPECT_EQ(kxdwing::PointsCoincide(near0, b1, b2, a0, a1, a2), 1);
  kxvector4r far0 = {1.0021f, 0, 0, 1};
  EXPECT_EQ(kxdwing::PointsCoincide(a0, a1, a2, far0, b1, b2), 0);
  EXPECT_EQ(kxdwing::PointsCoincide(a0, a1, a2, b0, b1, b2), 0);
  kxvector4r bad = {NAN, 0, 0, 1};
  EXPECT_EQ(kxdwing::PointsCoincide(bad, bad, bad, a0, a1, a2), 0);
}

TEST_F(winganalysis, FlatTailplaneGivesSpanAreaAspectRatioAndItsSection) {
  auto* w = new kxdwing10;
  scratch.AppendChild(w);
  auto* joint = new kxdjoint00;
  scratch.AppendChild(joint);
  joint->Body1 = w;
  w->Geometry = Object("Tail", &scratch, Plate(-0.2f, 0.0f, 0.0f, 1.0f));
  w->RootR = {0.0f, 0.0f, 0.0f, 0.0f};
  w->Mass = 0.1f;
  w->Sections = 5;
  w->Analyse();
  EXPECT_NEAR(w->B.Z.z, 1.0f, 1e-4f);
  EXPECT_NEAR(w->B.X.x, 1.0f, 1e-4f);
  EXPECT_NEAR(w->B.R.x, -0.1f, 1e-4f);
  EXPECT_NEAR(w->B.R.y, 0.5f, 1e-4f);
  EXPECT_NEAR(w->SpanDirection.y, 1.0f, 1e-5f);
  EXPECT_NEAR(w->Dihedral, 0.0f, 1e-4f);
  EXPECT_NEAR(w->WingSpan, 1.0f, 1e-4f);
  EXPECT_NEAR(w->WingArea, 0.2f, 1e-3f);
  EXPECT_NEAR(w->AspectRatio, 10.0f, 0.05f);
  EXPECT_EQ(w->Sections, 1);
  EXPECT_NEAR(w->SectionChord[0], 0.2f, 1e-3f);
  EXPECT_NEAR(w->SectionArea[0], 0.2f, 1e-3f);
  // Quarter chord, in the wing's frame: 0.05 behind the nose, mid span.
  EXPECT_NEAR(w->SectionR[0].x, 0.05f, 1e-3f);
  EXPECT_NEAR(w->SectionR[0].y, 0.0f, 1e-3f);
  EXPECT_NEAR(w->SectionZ[0].z, 1.0f, 1e-4f);
  EXPECT_NEAR(w->Incidence, 0.0f, 1e-3f);
  EXPECT_FLOAT_EQ(w->RangeSpanMax, 2.0f * w->WingSpan);
  EXPECT_FLOAT_EQ(w->RangeMassMax, 0.2f);
  EXPECT_FLOAT_EQ(w->RootR.w, 1.0f);
  EXPECT_EQ(joint->B.R, w->RootR);
  EXPECT_EQ(w->Geometry->Object, w);
}

TEST_F(winganalysis, FlapBoxGivesItsSharesAndAHingeFrameThatDrawsItInPlace) {
  auto* w = new kxdwing10;
  scratch.AppendChild(w);
  w->Geometry = Object("Tail", &scratch, Plate(-0.15f, 0.0f, 0.0f, 1.0f));
  w->Flap = Object("Elevator", w->Geometry, Plate(-0.2f, -0.15f, 0.0f, 0.5f));
  w->Flap1 = Object("Elevator1", w->Geometry, Plate(-0.2f, -0.15f, 0.5f, 1.0f));
  w->Analyse();
  EXPECT_NEAR(w->SectionChord[0], 0.2f, 2e-3f);
  // Half the span, a quarter of the chord.
  EXPECT_NEAR(w->SectionFlapCl[0], 0.8f * 0.5f, 0.01f);
  EXPECT_NEAR(w->SectionFlapAlpha[0], 0.5f * 0.25f, 0.01f);
  EXPECT_NEAR(w->SectionFlapCd[0], 1.7f * 0.5f * std::pow(0.25f, 2.38f), 0.005f);
  EXPECT_NEAR(w->SectionFlapCm[0], 0.4f * 0.25f * -0.75f * 0.5f, 0.005f);
  // The hinge: Y along the span, origin on the front face of the flap box.
  kxmatrix H = w->Flap->Matrix;
  EXPECT_NEAR(std::fabs(H.Y.y), 1.0f, 1e-4f);
  EXPECT_NEAR(H.X.x, 1.0f, 1e-4f);
  ExpectDrawnWhereStored(w->Geometry, w->Flap);
  ExpectDrawnWhereStored(w->Geometry, w->Flap1);
  for (int i = 0; i < 16; ++i) EXPECT_EQ(w->Flap1->Matrix[i], w->Flap->Matrix[i]);
  // A second run starts from the stored mesh and gives the same frame.
  w->Analyse();
  EXPECT_NEAR(w->Flap->Matrix.R.x, H.R.x, 1e-5f);
  EXPECT_NEAR(w->Flap->Matrix.R.y, H.R.y, 1e-5f);
  ExpectDrawnWhereStored(w->Geometry, w->Flap);
}

TEST_F(winganalysis, UprightFinSpansUpwardWithItsNormalAlongY) {
  auto* w = new kxdwing11;
  scratch.AppendChild(w);
  meshgen::mesh fin = meshgen::Box(0.2f, 0.01f, 0.3f);
  meshgen::Translate(fin, -0.1f, 0.0f, 0.15f);
  w->Geometry = Object("Fin", &scratch, fin);
  w->RootR = {0.0f, 0.0f, 0.0f, 1.0f};
  w->Analyse();
  EXPECT_NEAR(std::fabs(w->B.Z.y), 1.0f, 1e-4f);
  EXPECT_NEAR(w->SpanDirection.z, 1.0f, 1e-5f);
  EXPECT_NEAR(w->WingSpan, 0.3f, 1e-4f);
  EXPECT_NEAR(w->WingArea, 0.06f, 1e-3f);
  EXPECT_NEAR(w->SectionChord[0], 0.2f, 1e-3f);
  auto* fixed = new kxdwing12;
  scratch.AppendChild(fixed);
  fixed->Geometry = Object("Fin12", &scratch, fin);
  fixed->Analyse();
  EXPECT_EQ(fixed->B.Y, (kxvector4r{0.0f, 0.0f, -1.0f, 0.0f}));
  EXPECT_NEAR(fixed->SpanDirection.z, 1.0f, 1e-5f);
  EXPECT_EQ(fixed->SectionX[0], (kxvector4r{1.0f, 0.0f, 0.0f, 0.0f}));
  EXPECT_EQ(fixed->SectionZ[0], (kxvector4r{0.0f, 0.0f, 1.0f, 0.0f}));
  EXPECT_FLOAT_EQ(fixed->Incidence, 0.0f);
}

TEST_F(winganalysis, MainWingFindsTwoSectionsIncidenceAndTheAileronShare) {
  auto* w = new kxdwing00;
  scratch.AppendChild(w);
  meshgen::wingpanel panel;
  panel.span = 1.0f;
  panel.rootChord = panel.tipChord = 0.2f;
  panel.twistDeg = 0.0f;
  panel.chordTo = 0.75f;
  meshgen::mesh wing = meshgen::WingPanel(meshgen::Naca4(12, 16), panel);
  w->Geometry = Object("Wing", &scratch, wing);
  w->Aileron = Object("Aileron", w->Geometry, Plate(-0.2f, -0.15f, 0.0f, 0.25f));
  w->RootR = {-0.05f, 0.0f, 0.0f, 1.0f};
  w->Mass = 0.3f;
  w->Sections = 5;
  w->Analyse();
  EXPECT_EQ(w->Sections, 2);
  EXPECT_NEAR(w->SpanDirection.y, 1.0f, 1e-3f);
  EXPECT_NEAR(w->WingSpan, 1.0f, 0.01f);
  EXPECT_GT(w->AspectRatio, 5.0f);
  // Symmetric section, level chord; the extremes of a cut are mesh corners,
  // so a box edge 5 mm off the chord line tilts it by up to 0.025.
  EXPECT_NEAR(w->Incidence, 0.0f, 0.03f);
  EXPECT_NEAR(w->Washout, 0.0f, 0.03f);
  for (int i = 0; i < 2; ++i) {
    EXPECT_GT(w->SectionChord[i], 0.1f) << i;
    EXPECT_GT(w->SectionArea[i], 0.05f) << i;
    EXPECT_GT(w->SectionZ[i].z, 0.99f) << i;
  }
  // The aileron covers half of section 0 and none of section 1.
  EXPECT_NEAR(w->SectionAileronCl[0], 0.4f, 0.02f);
  EXPECT_NEAR(w->SectionAileronCl[1], 0.0f, 1e-6f);
  ExpectDrawnWhereStored(w->Geometry, w->Aileron);
}

TEST_F(winganalysis, WingWithoutGeometryOnlyFillsRangesAndTheRoot) {
  auto* w = new kxdwing00;
  scratch.AppendChild(w);
  w->Mass = 2.0f;
  w->RootR = {0.1f, 0.0f, 0.0f, 0.0f};
  w->Analyse();
  EXPECT_EQ(w->Sections, 2);  // the new wing's own value, untouched
  EXPECT_FLOAT_EQ(w->RangeSpanMax, 0.0f);
  EXPECT_FLOAT_EQ(w->RangeMassMax, 4.0f);
  EXPECT_FLOAT_EQ(w->RootR.w, 1.0f);
}

TEST_F(winganalysis, ZeroMassAndFlatMeshesStayFiniteAndEndTheAnalysis) {
  auto* w = new kxdwing10;
  scratch.AppendChild(w);
  w->Mass = 0.0f;
  w->Geometry = Object("Tail", &scratch, Plate(-0.2f, 0.0f, 0.0f, 1.0f));
  w->Analyse();
  for (int i = 0; i < 16; ++i) EXPECT_TRUE(std::isfinite(w->Inertia[i])) << i;
  EXPECT_TRUE(std::isfinite(w->AspectRatio));
  auto* aw = new kxdwing20;
  scratch.AppendChild(aw);
  aw->Geometry = Object("Plane", &scratch, Plate(-0.2f, 0.0f, -1.0f, 1.0f));
  meshgen::mesh down = meshgen::Box(0.05f, 0.5f, 0.01f);
  meshgen::Translate(down, -0.2f, 0.5f, 0.0f);
  aw->LeftAileron = Object("Left", aw->Geometry, down);
  aw->Analyse();
  EXPECT_NEAR(std::fabs(aw->LeftAileron->Matrix.Y.y), 1.0f, 1e-4f);
  EXPECT_FLOAT_EQ(aw->RangeSpanMax, 0.0f);
}

}  // namespace
