// The diameter and pitch pages as the user reads and types them, and the
// line a diameter drag follows.
#include <GL/gl.h>

#include <cmath>
#include <cstdio>
#include <memory>
#include <vector>

#include "designer/component_objects.h"
#include "designer/rotor_pages.h"
#include "designer_support.h"
#include "dynamics/components/propeller.h"
#include "ray_support.h"
#include "tools/meshgen/meshgen.h"

namespace {

using designertest::Along;
using designertest::designerfixture;
using designertest::Through;

std::vector<svdesignfield*> Fields(const svdesignpage* page) {
  std::vector<svdesignfield*> fields;
  for (kxnode* c = page->panel->firstChild; c; c = c->nextSibling) {
    if (svdesignfield* f = dynamic_cast<svdesignfield*>(c)) fields.push_back(f);
  }
  return fields;
}

// Propellers are sold by diameter and pitch in inches: both pages show
// inches whatever the display units, the diameter as twice the radius.
TEST_F(designerfixture, PropellerDiameterAndPitchReadInInchesInEitherUnitSystem) {
  for (bool imperial : {false, true}) {
    SCOPED_TRACE(imperial ? "imperial" : "metric");
    if (imperial) units::SetImperial();
    else units::SetMetric();
    // Without blades to measure the analysis keeps the typed values.
    kxdpropeller00 propeller;
    propeller.Radius = 0.127f;
    propeller.Pitch = 0.2032f;
    propeller.RangeRadiusMin = 0.01f;
    propeller.RangeRadiusMax = 1.0f;
    std::unique_ptr<svdesignobject> object(svdesign::PropellerObject(&propeller));
    struct probe {
      int page;
      const char* shown;
      const char* typed;
      float* member;
      float stored;  // m
    } probes[] = {{0, "10.0 in", "12", &propeller.Radius, 0.1524f}, {1, "8.0 in", "6", &propeller.Pitch, 0.1524f}};
    for (const probe& p : probes) {
      svdesignpage* page = object->pages[p.page];
      page->Refresh();
      std::vector<svdesignfield*> fields = Fields(page);
      ASSERT_EQ(fields.size(), 1u);
      EXPECT_STREQ(fields[0]->text, p.shown);
      std::snprintf(fields[0]->text, sizeof fields[0]->text, "%s", p.typed);
      page->Store();
      EXPECT_NEAR(*p.member, p.stored, 1e-6f) << p.typed;
    }
  }
}

/* The drag line of a diameter runs outward from the shaft through the
   grabbed point: along the blade, whichever way the blade stands. A tail
   rotor blade half way between its frame's X and Y axes: a pull across the
   blade, in the disc, leaves the radius; a pull out along it to 1.2 times
   its reach gives 1.2 times the radius. A line along a frame axis would take
   the pull across the blade for a change of radius. */
TEST_F(designerfixture, DiameterDragRunsOutAlongTheGrabbedBlade) {
  Enter("heli");
  Open("Tail", 0);
  auto* page = dynamic_cast<svdesigndiameterpage*>(Object("Tail")->currentPage);
  ASSERT_NE(page, nullptr);
  kxdbody* tail = page->component;
  const kxvector4r centre = tail->B.R;
  meshgen::mesh m = meshgen::Blade(0.01f, 0.1f, 0.02f, 0.015f, 8, 4, 4);
  meshgen::RotateZ(m, -90);  // along +x
  meshgen::RotateY(m, -45);  // half way up to +z, in the disc
  meshgen::Translate(m, centre.x, centre.y, centre.z);
  auto* blade = new kxgeometricobject;
  blade->SetMesh(meshgen::ToElement(m, "paint", "TailBlade", GL_N3F_V3F));
  tail->Geometry->AppendChild(blade);
  kxmatrix::Invert(tail->Geometry->Matrix, blade->Matrix);  // placed as the analysis places a blade
  const float h = std::sqrt(0.5f);
  const kxvector4r out = {h, 0, h, 0}, across = {h, 0, -h, 0};
  ASSERT_NEAR(kxvector4r::Dot3(out, tail->B.Z), 0, 1e-4f) << "the blade lies in the disc";
  for (const kxvector4r& axis : {tail->B.X, tail->B.Y}) EXPECT_LT(std::fabs(kxvector4r::Dot3(out, axis)), 0.75f);

  const float start = *page->value;
  Object("Tail")->MouseDown(Through(Along(centre, out, 0.07f), tail->B.Z));
  ASSERT_EQ(page->dragging, 1);
  const kxvector4r g = page->grabPoint;
  Object("Tail")->MouseMove(Through(Along(g, across, 0.03f), tail->B.Z));
  EXPECT_NEAR(*page->value, start, 1e-5f);
  const float reach = kxvector4r::Dot3({g.x - centre.x, g.y - centre.y, g.z - centre.z, 0}, out);
  const designray pulled = Through(Along(g, out, 0.2f * reach), tail->B.Z);
  Object("Tail")->MouseMove(pulled);
  EXPECT_NEAR(*page->value, 1.2f * start, 1e-4f);
  Object("Tail")->MouseUp(pulled);
  EXPECT_EQ(page->dragging, 0);
}

}  // namespace
