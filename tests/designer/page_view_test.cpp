// What showing and leaving pages does not do: a page viewed and left
// without an edit writes nothing back (no value rounded to its display
// precision, no limit applied, no mesh reshaped, no analysis run), and an
// object made current again opens on its first page.
#include <cmath>
#include <string>
#include <vector>

#include "designer_support.h"
#include "dynamics/components/engine00.h"
#include "dynamics/components/main_rotor.h"
#include "dynamics/components/propeller.h"
#include "dynamics/fuselage.h"

namespace {

using designertest::designerfixture;

constexpr float kDeg = units::kDegToRad;

std::vector<kxvector4r> Vertices(const kxgeometricobject* o) {
  std::vector<kxvector4r> out;
  for (const kxnode* c = o; c; c = c == o ? o->firstChild : c->nextSibling) {  // o and its children
    const auto* g = dynamic_cast<const kxgeometricobject*>(c);
    for (int i = 0; g && i < g->VertexCount(); ++i) {
      kxvector4r p;
      g->TransformVertex(&p, i, kxmatrix::Identity());
      out.push_back(p);
    }
  }
  return out;
}

TEST_F(designerfixture, ViewingAPageWritesNothingBack) {
  const float c7 = std::cos(7 * kDeg), s7 = std::sin(7 * kDeg);
  struct probe {
    const char* sample;
    const char* component;
    int page;
    std::vector<float*> (*members)(kxdbody*);
    std::vector<float> put;  // off the page's display grid or beyond its limits
  } probes[] = {
      {"trainer", "Fuselage", 1,
       [](kxdbody* b) {
         kxvector4r& cg = static_cast<kxdfuselage00*>(b)->CG;
         return std::vector<float*>{&cg.x, &cg.y, &cg.z};
       },
       {0.1234f, 0.0567f, -0.0123f}},
      {"trainer", "Propeller", 1,
       [](kxdbody* b) { return std::vector<float*>{&static_cast<kxdpropeller00*>(b)->Pitch}; }, {0.14123f}},
      {"christeneagle", "Engine", 0,
       [](kxdbody* b) {
         auto* e = static_cast<kxdengine00*>(b);
         return std::vector<float*>{&e->PowerMax, &e->TorqueFactor};
       },
       {1234.567f, 0.3333f}},
      // Seven degrees of right thrust, beyond the page's five.
      {"christeneagle", "Engine", 3,
       [](kxdbody* b) { return std::vector<float*>{&b->B.X.x, &b->B.X.y, &b->B.X.z, &b->B.Y.x, &b->B.Y.y}; },
       {c7, -s7, 0, s7, c7}},
      // The analysis would measure the blades' 0.7 m.
      {"heli", "Rotor", 0, [](kxdbody* b) { return std::vector<float*>{&static_cast<kxdmainrotor*>(b)->Radius}; },
       {0.71234f}},
  };
  std::string loaded;
  for (const probe& p : probes) {
    SCOPED_TRACE(std::string(p.component) + " page " + std::to_string(p.page));
    if (loaded != p.sample) {
      if (!loaded.empty()) svdesign::GoBack();
      Enter(p.sample);
      loaded = p.sample;
    }
    kxdbody* body = Object(p.component)->component;
    const std::vector<float*> members = p.members(body);
    for (size_t i = 0; i < members.size(); ++i) *members[i] = p.put[i];
    const std::vector<kxvector4r> shape = Vertices(body->Geometry);
    Open(p.component, p.page);
    Run("DesignPropertySetValues");          // Return without an edit
    Open(p.component, p.page == 0 ? 1 : 0);  // leaving the page stores it
    for (size_t i = 0; i < members.size(); ++i) EXPECT_EQ(*members[i], p.put[i]) << i;
    EXPECT_EQ(Vertices(body->Geometry), shape);
  }
}

// Between objects of one type the open page stays open; an object made
// current again after another type's opens on its first page, not on the
// page it showed last.
TEST_F(designerfixture, AnObjectMadeCurrentAgainOpensOnItsFirstPage) {
  Enter();
  Run("DesignObjectActivate( \"LeftWing\" ); DesignObjectPropertyOpen( 3 )");
  ASSERT_EQ(State().shownPage, Object("LeftWing")->pages[3]);
  Run("DesignObjectActivate( \"Fuselage\" ); DesignObjectPropertyOpen( 2 )");
  Run("DesignObjectActivate( \"LeftWing\" )");
  EXPECT_EQ(State().shownPage, Object("LeftWing")->pages[0]);
  svdesign::SwitchObject(nullptr);
  Run("DesignObjectActivate( \"Fuselage\" )");
  EXPECT_EQ(State().shownPage, Object("Fuselage")->pages[0]);
}

}  // namespace
