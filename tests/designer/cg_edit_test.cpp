// The centre-of-gravity page moves the centre of gravity and nothing else:
// typed or dragged, saved and reloaded, every mesh stays where it is drawn
// and the saved files differ only in the CG line. Runs on a copy of the
// trainer in a temporary folder.
#include <cstdio>
#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "copied_data.h"
#include "designer/fuselage_pages.h"
#include "dynamics/fuselage.h"

namespace {

// Every vertex of every mesh of the aircraft, where it is drawn (aircraft
// coordinates), and every body's frame but the fuselage's, whose frame is
// where its mass lies.
struct picture {
  std::vector<kxvector4r> vertices;
  std::vector<kxmatrix> frames;
};

class CgEditTest : public designertest::copieddatafixture {
 protected:
  static void Walk(kxnode* node, const kxmatrix& above, picture& out) {
    for (kxnode* c = node->firstChild; c; c = c->nextSibling) {
      if (!kxtype::IsDerivedFrom(c->type, &kxgeometricobject::Type)) continue;
      auto* o = static_cast<kxgeometricobject*>(c);
      kxmatrix placed;
      kxmatrix::Multiply4x4(&placed, &above, &o->Matrix);
      for (int i = 0; i < o->VertexCount(); ++i) {
        kxvector4r p;
        o->TransformVertex(&p, i, placed);
        out.vertices.push_back(p);
      }
      Walk(c, placed, out);
    }
  }
  static picture Picture() {
    picture out;
    kxdaircraftinstance* a = State().aircraft;
    Walk(a->GeometryTemplate, kxmatrix::Identity(), out);
    for (kxnode* c = a->Template->firstChild; c; c = c->nextSibling) {
      if (kxdbody* b = kxdbody::As(c); b && !kxdfuselage00::As(c)) out.frames.push_back(b->B);
    }
    return out;
  }
  static void ExpectSame(const picture& a, const picture& b, const char* when) {
    ASSERT_EQ(a.vertices.size(), b.vertices.size()) << when;
    ASSERT_EQ(a.frames.size(), b.frames.size()) << when;
    float worst = 0.0f;
    for (size_t i = 0; i < a.vertices.size(); ++i) {
      const kxvector4r &p = a.vertices[i], &q = b.vertices[i];
      worst = std::fmax(worst, std::hypot(p.x - q.x, p.y - q.y, p.z - q.z));
    }
    EXPECT_LT(worst, 1e-5f) << when << ": a vertex moved";
    for (size_t i = 0; i < a.frames.size(); ++i) {
      // Within the four decimals a file keeps.
    for (int k = 0; k < 16; ++k) EXPECT_NEAR(a.frames[i][k], b.frames[i][k], 5e-5f) << when << " frame " << i;
    }
  }
  // m, the aircraft's centre of gravity along x from its top-level bodies.
  static float CentreX() {
    double mass = 0.0, moment = 0.0;
    for (kxnode* c = State().aircraft->Template->firstChild; c; c = c->nextSibling) {
      if (const kxdbody* b = kxdbody::As(c)) {
        mass += b->Mass;
        moment += b->Mass * b->B.R.x;
      }
    }
    return static_cast<float>(moment / mass);
  }
  // The file's lines that differ from the other's, in order.
  static std::vector<std::string> Changed(const std::string& a, const std::string& b) {
    std::istringstream x(a), y(b);
    std::vector<std::string> out;
    for (std::string p, q; std::getline(x, p) && std::getline(y, q);) {
      if (p != q) out.push_back(q);
    }
    return out;
  }
};

TEST_F(CgEditTest, TypedOrDraggedCentreOfGravityMovesNoMeshAndSurvivesTheSave) {
  Enter();
  Run("savesystem");
  const std::string kxd = ReadWhole("aircraft/trainer/trainer.kxd");
  const std::string obj = ReadWhole("aircraft/trainer/trainer.obj");
  const std::string kxg = ReadWhole("aircraft/trainer/trainer.kxg");
  const picture before = Picture();
  auto* fuselage = static_cast<kxdfuselage00*>(Object("Fuselage")->component);

  Commit("Fuselage", 1, {"12"});
  EXPECT_FLOAT_EQ(fuselage->CG.x, 0.12f);
  EXPECT_NEAR(CentreX(), 0.12f, 1e-4f);
  ExpectSame(before, Picture(), "typed");

  // A drag on the level square moves the centre 3 cm forward.
  auto* page = static_cast<svdesigncgpage*>(Object("Fuselage")->pages[1]);
  const kxvector4r& cg = fuselage->CG;
  designray press = {{cg.x + 0.05f, cg.y + 0.05f, 1.0f, 0.0f}, {cg.x + 0.05f, cg.y + 0.05f, -1.0f, 0.0f}};
  ASSERT_EQ(page->MouseDown(press), 3);
  designray moved = press;
  moved.nearPoint.x += 0.03f;
  moved.farPoint.x += 0.03f;
  page->MouseMove(moved);
  page->MouseUp(moved);
  Run("DesignObjectPropertyOpen( 0 )");  // leaving the page stores it
  EXPECT_NEAR(fuselage->CG.x, 0.15f, 1e-5f);
  EXPECT_NEAR(CentreX(), 0.15f, 1e-4f);
  ExpectSame(before, Picture(), "dragged");

  Run("savesystem");
  EXPECT_EQ(ReadWhole("aircraft/trainer/trainer.obj"), obj);
  EXPECT_EQ(ReadWhole("aircraft/trainer/trainer.kxg"), kxg);
  std::vector<std::string> changed = Changed(kxd, ReadWhole("aircraft/trainer/trainer.kxd"));
  ASSERT_EQ(changed.size(), 1u);
  char expected[96];
  std::snprintf(expected, sizeof expected, "CG = kxvector4r(   0.1500,   0.0000, %8.4f, 1 )", static_cast<double>(fuselage->CG.z));
  EXPECT_EQ(changed[0], expected);

  svdesign::GoBack();
  kxdaircraftinstance::Unload(kxdaircraftinstance::Slot(0));
  Enter();
  ExpectSame(before, Picture(), "reloaded");
  EXPECT_NEAR(CentreX(), 0.15f, 1e-4f);
}

}  // namespace
