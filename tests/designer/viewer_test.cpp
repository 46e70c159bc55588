// The viewer as the user handles it on the sample trainer, without a window:
// clicks pick components, the object property mode hands drags to the
// shown page, drags steer the camera, the fixed views alternate.
#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "core/interpreter.h"
#include "designer/viewer.h"
#include "designer/viewer_modes.h"
#include "designer_support.h"
#include "dynamics/flight_state.h"
#include "sim/world/scenery_mesh.h"

namespace {

using designertest::designerfixture;

// A page that notes the mouse calls it gets.
class mousepage : public svdesignpage {
 public:
  explicit mousepage(kxdbody* body) : svdesignpage(pageicon::kNone, body) {}
  int MouseDown(const designray&) override {
    calls += 'd';
    return 0;
  }
  void MouseMove(const designray&) override { calls += 'm'; }
  void MouseUp(const designray&) override { calls += 'u'; }
  std::string calls;
};

svdesignobject* WingObject(kxdbody* wing) {
  svdesignobject* object = new svdesignobject(wing);
  object->AddPage(new mousepage(wing), "Dihedral");
  return object;
}

class ViewerTest : public designerfixture {
 protected:
  void SetUp() override {
    designerfixture::SetUp();
    svdesign::RegisterObjectBuilder("kxdwing00", WingObject);
  }
  // A mouse command at the pixel where the viewer shows a world point.
  static void At(const char* command, float x, float y, float z) { designertest::At(command, {x, y, z, 1}); }
};

TEST_F(ViewerTest, ClickPicksTheNearestComponentAndEmptySpaceTheWholeAircraft) {
  Enter("trainer");
  struct probe {
    float x, y;
    const char* picked;  // null: the whole aircraft
  } probes[] = {{-0.05f, 0.4f, "LeftWing"}, {0.15f, 0, "Fuselage"}, {-0.05f, -0.6f, "RightWing"},
                {-0.7f, 0.2f, "Stabilizer"}, {0.6f, 0.6f, nullptr},  {0.6f, 0.6f, nullptr}};
  for (const probe& p : probes) {
    Run("DesignModeObjectSelect");  // a component picked leaves the select mode
    At("DesignMouseLeftDown", p.x, p.y, 0);
    EXPECT_EQ(State().currentObject, p.picked ? Object(p.picked) : State().aircraftObject) << p.x;
  }
  // Of two objects hit at the same distance the earlier one in the table.
  svdesignobject* wing = Object("LeftWing");
  svdesignobject twin(wing->component);
  At("DesignMouseMove", -0.05f, 0.4f, 0);
  const designray& ray = State().pointer.ray;
  EXPECT_EQ(svdesign::PickObject({wing, &twin}, ray), wing);
  EXPECT_EQ(svdesign::PickObject({&twin, wing}, ray), &twin);
  EXPECT_EQ(svdesign::PickObject({}, ray), nullptr);
}

TEST_F(ViewerTest, ObjectPropertyModeHandsThePressOnEmptySpaceToTheShownPage) {
  Enter("trainer");
  Run("DesignObjectActivate( \"LeftWing\" ); DesignObjectPropertyOpen( 0 )");
  mousepage* page = static_cast<mousepage*>(Object("LeftWing")->currentPage);
  At("DesignMouseLeftDown", 0.6f, 0.6f, 0);  // nothing there: the drag starts
  At("DesignMouseMove", -0.05f, 0.4f, 0.1f);
  At("DesignMouseLeftDown", -0.05f, 0.4f, 0);  // the current object itself
  At("DesignMouseLeftUp", -0.05f, 0.4f, 0);
  EXPECT_EQ(State().currentObject, Object("LeftWing"));
  At("DesignMouseLeftDown", 0.15f, 0, 0);  // another component: it becomes current
  EXPECT_EQ(State().currentObject, Object("Fuselage"));
  EXPECT_EQ(page->calls, "dmdu");
}

TEST_F(ViewerTest, DragsMoveTheCameraOnlyInTheViewerModesAndWhileTheButtonIsHeld) {
  Enter("trainer");
  for (const char* mode : {"DesignModeViewerMove", "DesignModeViewerTurn", "DesignModeViewerShift",
                           "DesignModeViewerRotate", "DesignModeObjectSelect"}) {
    Run(mode);
    svdesigncamera before = State().camera;
    Run("DesignMouseMove( 600, 300 )");
    EXPECT_EQ(State().camera.pos, before.pos) << mode;
    for (const char* c : {"DesignMouseLeftDown( 500, 400 )", "DesignMouseMove( 540, 370 )", "DesignMouseLeftUp( 0, 0 )"}) Run(c);
    EXPECT_NEAR(State().pointer.dy, -60.0f / designertest::kWindowHeight, 1e-6);
    bool moved = !(State().camera.pos == before.pos && State().camera.view == before.view);
    EXPECT_EQ(moved, State().currentMode != &svdesign::Modes().objectSelect) << mode;
  }
}

// Each view looks at the origin along its axis from its own distance, or
// from farther back where the aircraft needs it.
TEST_F(ViewerTest, FixedViewsAlternateAndOnlyTheTopViewStartsAgainOnEntry) {
  Enter("heli");
  float L = State().aircraftLength;
  const svdesigncamera& c = State().camera;
  struct probe {
    const char* press;  // null: leave and enter again
    kxvector4r eye;     // its own place, in reference lengths
  } probes[] = {{"Top", {0, 0, -3, 1}},  {"Top", {0, 0, 3, 1}},   {"Side", {0, 2, 0, 1}},
                {"Front", {2, 0, 0, 1}}, {"Front", {-2, 0, 0, 1}}, {nullptr, {}},
                {"Top", {0, 0, -3, 1}},  {"Side", {0, -2, 0, 1}},  {"Front", {2, 0, 0, 1}}};
  for (const probe& p : probes) {
    if (!p.press) {
      svdesign::GoBack();
      Enter(nullptr);
      continue;
    }
    Run(std::string("DesignModeViewer") + p.press);
    SCOPED_TRACE(p.press);
    const float own = std::fabs(p.eye.x + p.eye.y + p.eye.z) * L;
    const float d = std::sqrt(c.pos.x * c.pos.x + c.pos.y * c.pos.y + c.pos.z * c.pos.z);
    EXPECT_GE(d, own - 1e-4f);
    EXPECT_LE(d, svdesign::kViewDistance * L + 1e-4f);
    for (int k = 0; k < 3; ++k) EXPECT_NEAR((&c.pos.x)[k] / d, (&p.eye.x)[k] * L / own, 1e-5f) << k;
    EXPECT_FLOAT_EQ(c.pos.w, 1.0f);
    // Looking at the origin.
    EXPECT_NEAR(c.view.x * d, -c.pos.x, 1e-4f);
    EXPECT_NEAR(c.view.z * d, -c.pos.z, 1e-4f);
  }
}

// The whole aircraft shows in every fixed view, at the smallest window and
// a larger one: each corner of its box falls inside the viewer.
TEST_F(ViewerTest, EveryFixedViewShowsTheWholeAircraft) {
  for (const char* sample : {"heli", "heli01", "trainer"}) {
    Enter(sample);
    shadowquad box;
    sim::CollectBounds(State().camera.geometry, nullptr, &box);
    for (auto [w, h] : {std::pair{640, 480}, std::pair{1024, 768}}) {
      kxsystem::display.window_width = w;
      kxsystem::display.window_height = h;
      svdesign::FitToWindow();
      const svdesigncamera& c = State().camera;
      for (const char* press : {"Top", "Top", "Side", "Side", "Front", "Front"}) {
        Run(std::string("DesignModeViewer") + press);
        for (int corner = 0; corner < 8; ++corner) {
          const kxvector4r p = {corner & 1 ? box.max[0] : box.min[0], corner & 2 ? box.max[1] : box.min[1],
                                corner & 4 ? box.max[2] : box.min[2], 1};
          float x, y;
          designertest::Project(c, p, &x, &y);
          EXPECT_TRUE(x >= c.viewportX && x <= c.viewportX + c.viewportWidth && y >= c.viewportY &&
                      y <= c.viewportY + c.viewportHeight)
              << sample << " at " << w << " x " << h << ", " << press << ": corner " << corner << " at " << x
              << ", " << y;
        }
      }
    }
    svdesign::GoBack();
  }
}

}  // namespace
