// The drag handles on the samples, driven with pick rays and without GL:
// wing semi-span, dihedral and incidence, propeller and rotor diameters and
// the propeller pitch follow the ray live within their ranges, commit on
// release as a typed value would, and leave grandchild meshes as stored.
#include <GL/gl.h>

#include <cmath>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "designer/component_objects.h"
#include "designer/handle_page.h"
#include "designer/rotor_pages.h"
#include "designer_support.h"
#include "dynamics/components/propeller.h"
#include "dynamics/wings/sectioned_wing.h"
#include "dynamics/wings/wing.h"
#include "tools/meshgen/meshgen.h"

namespace {

using designertest::designerfixture;

constexpr float kDeg = units::kDegToRad;
const kxvector4r kUp = {0, 0, 1, 0};

kxvector4r Along(const kxvector4r& p, const kxvector4r& d, float s) {
  return {p.x + s * d.x, p.y + s * d.y, p.z + s * d.z, 0};
}

// The pick ray from p - d to p + d.
designray Through(const kxvector4r& p, const kxvector4r& d) { return {Along(p, d, -1), Along(p, d, 1)}; }

// A ray through p square to axis and to the aircraft's x axis.
designray Across(const kxvector4r& p, const kxvector4r& axis) {
  kxvector4r d;
  kxvector4r::Cross(d, axis, {1, 0, 0, 0});
  kxvector4r::Normalise3(d);
  return Through(p, d);
}

// Every vertex of the tree in aircraft coordinates, each object placed by
// its chain of frames.
void Collect(const kxgeometricobject* o, const kxmatrix& parent, std::vector<kxvector4r>& out) {
  kxmatrix placed;
  kxmatrix::Multiply4x4(&placed, &parent, &o->Matrix);
  for (int i = 0; i < o->VertexCount(); ++i) {
    kxvector4r p;
    o->TransformVertex(&p, i, placed);
    out.push_back(p);
  }
  for (const kxnode* c = o->firstChild; c; c = c->nextSibling) {
    if (const auto* g = dynamic_cast<const kxgeometricobject*>(c)) Collect(g, placed, out);
  }
}

std::vector<kxvector4r> Shape(const kxgeometricobject* root, const kxmatrix& parent = kxmatrix::Identity()) {
  std::vector<kxvector4r> out;
  Collect(root, parent, out);
  return out;
}

// The largest distance between two shapes of one mesh tree, m.
float Apart(const std::vector<kxvector4r>& a, const std::vector<kxvector4r>& b) {
  if (a.size() != b.size()) return INFINITY;
  float most = 0;
  for (size_t i = 0; i < a.size(); ++i) {
    most = std::fmax(most, std::fabs(a[i].x - b[i].x) + std::fabs(a[i].y - b[i].y) + std::fabs(a[i].z - b[i].z));
  }
  return most;
}

class HandleTest : public designerfixture {
 protected:
  template <class T>
  static T* Component(const char* name) {
    return static_cast<T*>(Object(name)->component);
  }
  static svdesignhandlepage* Handle(const char* component) {
    return dynamic_cast<svdesignhandlepage*>(Object(component)->currentPage);
  }
  // The designer on the sample afresh, with the object current.
  void Reload(const char* sample) {
    svdesign::GoBack();
    kxdaircraftinstance::Unload(kxdaircraftinstance::Slot(0));
    Enter(sample);
  }
};

// The wing pages' drags, each: a far move meets the range's bound, a move
// back to the grab gives the committed shape again, the release commits
// what the same typed value commits. The typed value goes into a fresh
// copy of the sample, which the next probe, on another wing, starts from.
TEST_F(HandleTest, WingDragsFollowTheRayWithinTheirRangesAndCommitAsTyped) {
  enum family { span, dihedral, incidence };
  struct probe {
    const char* wing;
    int page;
    family kind;
    float upper;  // the range's upper bound; 0: the wing's RangeSpanMax
  } probes[] = {{"LeftWing", 0, span, 0},           {"Stabilizer", 0, span, 0},
                {"Fin", 0, span, 0},                {"LeftWing", 1, dihedral, 25 * kDeg},
                {"Stabilizer", 1, dihedral, 45 * kDeg}, {"Fin", 2, incidence, 10 * kDeg},
                {"LeftWing", 3, incidence, 10 * kDeg}, {"Stabilizer", 3, incidence, 10 * kDeg}};
  Enter();
  for (const probe& p : probes) {
    SCOPED_TRACE(std::string(p.wing) + " page " + std::to_string(p.page));
    Open(p.wing, p.page);
    kxdwing* wing = Component<kxdwing>(p.wing);
    svdesignhandlepage* page = Handle(p.wing);
    ASSERT_NE(page, nullptr);
    kxvector4r axis = p.kind == span ? wing->SpanDirection : kUp;
    kxvector4r::Normalise3(axis);
    const std::vector<kxvector4r> before = Shape(wing->Geometry);
    const float start = *page->value;

    // A press a little behind the root point, 60 % out along the span.
    const kxvector4r grab = Along(Along(wing->RootR, wing->SpanDirection, 0.6f * wing->WingSpan), {1, 0, 0, 0}, -0.03f);
    Object(p.wing)->MouseDown(Across(grab, wing->SpanDirection));
    ASSERT_EQ(page->dragging, 1);
    EXPECT_EQ(Object(p.wing)->dragging, 1);
    const kxvector4r g = page->grabPoint;

    Object(p.wing)->MouseMove(Across(Along(g, axis, 10), axis));
    EXPECT_NEAR(*page->value, p.upper ? p.upper : wing->RangeSpanMax, 1e-6f);
    EXPECT_GT(Apart(Shape(wing->Geometry), before), 0.01f);
    if (p.kind != dihedral) {
      // The dihedral takes the grab's elevation, not the start.
      Object(p.wing)->MouseMove(Across(g, axis));
      EXPECT_NEAR(*page->value, start, 1e-6f);
      EXPECT_LT(Apart(Shape(wing->Geometry), before), 1e-5f);
    }

    // The release where the last move was.
    float travel = 0.02f;
    if (p.kind == span) travel = 0.2f * kxvector4r::Dot3({g.x - wing->RootR.x, g.y - wing->RootR.y, g.z - wing->RootR.z, 0}, axis);
    if (p.kind == dihedral) travel = wing->RootR.z + std::fabs(g.y - wing->RootR.y) * std::tan(12 * kDeg) - g.z;
    const designray release = Across(Along(g, axis, travel), axis);
    Object(p.wing)->MouseMove(release);
    const float released = *page->value;
    Object(p.wing)->MouseUp(release);
    EXPECT_EQ(page->dragging, 0);
    EXPECT_EQ(Object(p.wing)->dragging, 0);
    const float expected[] = {1.2f * start, 12 * kDeg, start + 0.02f};
    EXPECT_NEAR(released, expected[p.kind], 1e-4f);
    // The analysis measures the new mesh.
    EXPECT_NEAR(*page->value, released, p.kind == span ? 0.01f * released : 0.5f * kDeg);
    const std::vector<kxvector4r> dragged = Shape(wing->Geometry);

    Reload("trainer");
    char typed[32];
    std::snprintf(typed, sizeof typed, "%.9g", released * (p.kind == span ? 100.0f : units::kRadToDeg));
    Commit(p.wing, p.page, {typed});
    EXPECT_LT(Apart(Shape(Component<kxdwing>(p.wing)->Geometry), dragged), 1e-5f);
  }
}

// A grandchild of the wing's mesh tree - a box hung on the aileron - keeps
// its stored shape under every handle, typed or dragged; the aileron, a
// direct child, is reshaped.
TEST_F(HandleTest, ReshapingLeavesGrandchildMeshesAsStored) {
  Enter();
  kxdwing* wing = Component<kxdwing>("LeftWing");
  kxgeometricobject* aileron = dynamic_cast<kxgeometricobject*>(wing->Geometry->firstChild);
  ASSERT_NE(aileron, nullptr);
  meshgen::mesh box = meshgen::Box(0.02f, 0.04f, 0.01f);
  meshgen::Translate(box, -0.13f, 0.6f, 0.12f);
  auto* grandchild = new kxgeometricobject;
  grandchild->SetMesh(meshgen::ToElement(box, "paint", "Horn", GL_N3F_V3F));
  aileron->AddChild(grandchild);  // first: the hinge analysis moves that one along
  auto rest = [&](kxgeometricobject* o) {
    wing->Geometry->Rebuild();
    return Shape(o);
  };
  const std::vector<kxvector4r> horn = rest(grandchild), flap = rest(aileron);
  ASSERT_EQ(horn.size(), box.vertices.size());
  wing->Analyse();
  struct probe {
    int page;
    const char* typed;
    kxvector4r axis;
    float travel;  // m
  } probes[] = {{0, "90", wing->SpanDirection, 0.05f}, {1, "12", kUp, 0.05f}, {3, "4", kUp, 0.03f}};
  for (const probe& p : probes) {
    Commit("LeftWing", p.page, {p.typed});
    EXPECT_EQ(Apart(rest(grandchild), horn), 0.0f) << p.page;
    wing->Analyse();
    const kxvector4r grab = Along(wing->RootR, wing->SpanDirection, 0.3f);
    Object("LeftWing")->MouseDown(Across(grab, wing->SpanDirection));
    ASSERT_EQ(Handle("LeftWing")->dragging, 1) << p.page;
    const designray to = Across(Along(Handle("LeftWing")->grabPoint, p.axis, p.travel), p.axis);
    Object("LeftWing")->MouseMove(to);
    EXPECT_EQ(Apart(Shape(grandchild), horn), 0.0f) << p.page;
    Object("LeftWing")->MouseUp(to);
    EXPECT_EQ(Apart(rest(grandchild), horn), 0.0f) << p.page;
    wing->Analyse();
  }
  EXPECT_GT(Apart(rest(aileron), flap), 0.01f);
}

// A press beside the mesh starts nothing; a ray parallel to the drag line
// gives no value: the step is skipped and the release commits the last
// value there was.
TEST_F(HandleTest, MissesAndStepsWithoutAFiniteValueChangeNothing) {
  Enter();
  Open("LeftWing", 1);
  kxdwing* wing = Component<kxdwing>("LeftWing");
  const float start = wing->Dihedral;
  const std::vector<kxvector4r> before = Shape(wing->Geometry);
  const designray beside = Through({0.6f, 0.6f, 0, 0}, kUp);
  Object("LeftWing")->MouseDown(beside);
  EXPECT_EQ(Handle("LeftWing")->dragging, 0);
  Object("LeftWing")->MouseMove(Through({0.6f, 0.6f, 0.5f, 0}, {1, 0, 0, 0}));
  Object("LeftWing")->MouseUp(Through({0.6f, 0.6f, 0.5f, 0}, {1, 0, 0, 0}));
  EXPECT_EQ(wing->Dihedral, start);
  EXPECT_EQ(Apart(Shape(wing->Geometry), before), 0.0f);

  const kxvector4r grab = Along(wing->RootR, wing->SpanDirection, 0.4f);
  Object("LeftWing")->MouseDown(Through(grab, kUp));
  ASSERT_EQ(Handle("LeftWing")->dragging, 1);
  const designray vertical = Through(Along(grab, kUp, 0.3f), kUp);
  Object("LeftWing")->MouseMove(vertical);
  EXPECT_EQ(wing->Dihedral, start);
  Object("LeftWing")->MouseUp(vertical);
  EXPECT_EQ(Handle("LeftWing")->dragging, 0);
  EXPECT_NEAR(wing->Dihedral, start, 0.1f * kDeg);
  EXPECT_TRUE(std::isfinite(wing->Dihedral));
}

// The fin (a kxdwing11) drags only on its span and incidence pages; a
// kxdwing12 - built here, as no sample has one - on none.
TEST_F(HandleTest, PagesWithoutAHandleStartNoDrag) {
  Enter();
  kxdwing* fin = Component<kxdwing>("Fin");
  const kxvector4r grab = Along(Along(fin->RootR, fin->SpanDirection, 0.1f), {1, 0, 0, 0}, -0.03f);
  const designray press = Across(grab, fin->SpanDirection);
  for (int page : {1, 3, 4, 5}) {
    Open("Fin", page);
    const std::vector<kxvector4r> before = Shape(fin->Geometry);
    Object("Fin")->MouseDown(press);
    EXPECT_EQ(Object("Fin")->dragging, 0) << page;
    Object("Fin")->MouseMove(Across(Along(grab, kUp, 0.1f), kUp));
    Object("Fin")->MouseUp(Across(Along(grab, kUp, 0.1f), kUp));
    EXPECT_EQ(Apart(Shape(fin->Geometry), before), 0.0f) << page;
  }
  Open("Fin", 0);
  Object("Fin")->MouseDown(press);
  EXPECT_EQ(Object("Fin")->dragging, 1);
  Object("Fin")->MouseUp(press);

  // A kxdwing12 canard with a flap drive and a flap mesh: four pages.
  auto mesh = std::make_unique<kxgeometricobject>();
  std::unique_ptr<kxdwing10> canard(static_cast<kxdwing10*>(kxdbody::As(kxtype::Find("kxdwing12")->Create())));
  meshgen::wingpanel panel;
  panel.span = 0.3f;
  meshgen::mesh m = meshgen::WingPanel(meshgen::Naca4(12, 20), panel);
  meshgen::Translate(m, 0.3f, 0.0f, 0.2f);
  mesh->SetMesh(meshgen::ToElement(m, "paint", "Canard", GL_N3F_V3F));
  canard->Geometry = canard->Flap = mesh.get();
  canard->FlapLink = static_cast<kxdwing10*>(static_cast<kxdbody*>(fin))->FlapLink;
  std::unique_ptr<svdesignobject> object(svdesign::Wing12Object(canard.get()));
  ASSERT_EQ(object->pageCount, 4);
  const designray onCanard = Through({0.25f, 0.15f, 0.2f, 0}, kUp);
  for (int page = 0; page < object->pageCount; ++page) {
    object->OpenPage(page);
    object->MouseDown(onCanard);
    EXPECT_EQ(object->dragging, 0) << page;
  }
  float distance;
  EXPECT_EQ(mesh->Pick(onCanard.nearPoint, onCanard.farPoint, &distance, kxmatrix::Identity()), 1);
  object->OpenPage(-1);
}

// The diameter drags: the propeller's blades ('trainer') stretch outside
// the hub plus 0.02 m, the main rotor's ('heli') outside the hinge plus
// 0.05 m, the tail rotor's (a blade hung on its disc) outside 0.04 m; the
// radius keeps to its range and the analysis measures it back.
TEST_F(HandleTest, DiametersRescaleOutsideTheirKeepRadius) {
  struct probe {
    const char* sample;
    const char* component;
    kxvector4r grab;  // on the mesh; the aircraft's origin: at the component's position
    kxvector4r ray;   // the press's direction
  } probes[] = {{"trainer", "Propeller", {0, 0.1f, 0, 0}, {1, 0, 0, 0}},
                {"heli", "Rotor", {0.5f, 0.0125f, 0, 0}, kUp},
                {"heli", "Tail", {0, 0, 0.07f, 0}, {0, 1, 0, 0}}};
  const float factor = 1.2f;
  for (const probe& p : probes) {
    SCOPED_TRACE(p.component);
    if (!State().aircraft || !State().aircraft->Name.Equal(p.sample)) {
      if (State().aircraft) Reload(p.sample);
      else Enter(p.sample);
    }
    Open(p.component, 0);
    auto* page = static_cast<svdesigndiameterpage*>(Handle(p.component));
    kxdbody* body = page->component;
    const kxvector4r centre = body->B.R;
    kxgeometricobject* blade = dynamic_cast<kxgeometricobject*>(body->Geometry->firstChild);
    if (std::string(p.component) == "Tail") {
      meshgen::mesh m = meshgen::Blade(0.01f, 0.1f, 0.02f, 0.015f, 8, 4, 4);
      meshgen::RotateZ(m, -90);  // along +x, in the disc
      meshgen::Translate(m, centre.x, centre.y, centre.z);
      blade = new kxgeometricobject;
      blade->SetMesh(meshgen::ToElement(m, "paint", "TailBlade", GL_N3F_V3F));
      body->Geometry->AppendChild(blade);
      kxmatrix::Invert(body->Geometry->Matrix, blade->Matrix);  // placed as the analysis places a blade
    }
    ASSERT_NE(blade, nullptr);
    const float start = *page->value;
    const float keep = page->KeepRadius();
    const kxmatrix& placed = body->Geometry->Matrix;
    const std::vector<kxvector4r> before = Shape(blade, placed);
    Object(p.component)->MouseDown(Through(Along(centre, p.grab, 1), p.ray));
    ASSERT_EQ(page->dragging, 1);
    const kxvector4r g = page->grabPoint;
    // Outward from the shaft, in the disc plane.
    kxvector4r out = {g.x - centre.x, g.y - centre.y, g.z - centre.z, 0};
    out = Along(out, body->B.Z, -kxvector4r::Dot3(out, body->B.Z));
    const float from = kxvector4r::Normalise3(out);
    Object(p.component)->MouseMove(Across(Along(g, out, 10), out));
    EXPECT_FLOAT_EQ(*page->value, *page->radius.rangeMax);
    const designray release = Across(Along(g, out, (factor - 1) * from), out);
    Object(p.component)->MouseMove(release);
    EXPECT_NEAR(*page->value, factor * start, 1e-4f);
    const std::vector<kxvector4r> live = Shape(blade, placed);
    ASSERT_EQ(live.size(), before.size());
    int kept = 0;
    for (size_t i = 0; i < before.size(); ++i) {
      kxvector4r d = {before[i].x - centre.x, before[i].y - centre.y, before[i].z - centre.z, 0};
      const bool inside = !(std::sqrt(kxvector4r::Dot3(d, d)) > keep);
      kept += inside;
      EXPECT_LT(Apart({live[i]}, {inside ? before[i] : Along(centre, d, factor)}), 1e-4f) << i;
    }
    EXPECT_GT(kept, 0);
    Object(p.component)->MouseUp(release);
    EXPECT_EQ(page->dragging, 0);
    EXPECT_NEAR(*page->value, factor * start, 0.01f * start);
  }
}

// The pitch drag follows the mouse across the viewer from the press, which
// the mouse commands set; seen from the front.
TEST_F(HandleTest, PitchFollowsTheMouseAcrossTheViewerWithinItsRange) {
  Enter();
  Run("DesignModeViewerFront");
  Open("Propeller", 1);
  auto* p = static_cast<kxdpropeller00*>(Object("Propeller")->component);
  const float pitch = p->Pitch;
  float px, py;
  designertest::Project(State().camera, {p->B.R.x, 0.1f, 0.0f, 1}, &px, &py);
  auto at = [&](const char* command, float dx) {
    Run(std::string(command) + "( " + std::to_string(static_cast<int>(px + dx)) + ", " +
        std::to_string(static_cast<int>(py)) + " )");
  };
  at("DesignMouseLeftDown", 0);
  ASSERT_EQ(Handle("Propeller")->dragging, 1);
  EXPECT_EQ(State().currentObject, Object("Propeller"));
  const float width = static_cast<float>(designertest::kWindowWidth);
  at("DesignMouseMove", 0.1f * width);  // a fifth of the half width: x 1.4
  EXPECT_NEAR(p->Pitch, 1.4f * pitch, 0.01f * pitch);
  at("DesignMouseMove", width);
  EXPECT_FLOAT_EQ(p->Pitch, 2.0f * p->Radius);
  at("DesignMouseMove", -width);
  EXPECT_FLOAT_EQ(p->Pitch, 0.5f * p->Radius);
  at("DesignMouseLeftUp", 0.1f * width);
  EXPECT_EQ(Handle("Propeller")->dragging, 0);
  EXPECT_NEAR(p->Pitch, 1.4f * pitch, 0.05f * pitch);  // measured from the twisted blades
}

}  // namespace
