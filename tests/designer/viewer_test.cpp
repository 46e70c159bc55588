// The viewer as the user handles it on the sample trainer, without a window:
// clicks pick components, the object property mode hands drags to the
// shown page, drags steer the camera, the fixed views alternate.
#include <string>
#include <vector>

#include "core/interpreter.h"
#include "designer/viewer.h"
#include "designer/viewer_modes.h"
#include "designer_support.h"

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

TEST_F(ViewerTest, FixedViewsAlternateAndOnlyTheTopViewStartsAgainOnEntry) {
  Enter("heli");
  float L = State().aircraftLength;
  const kxvector4r& eye = State().camera.pos;
  struct probe {
    const char* press;  // null: leave and enter again
    kxvector4r eye;
  } probes[] = {{"Top", {0, 0, -3 * L, 1}},  {"Top", {0, 0, 3 * L, 1}},   {"Side", {0, 2 * L, 0, 1}},
                {"Front", {2 * L, 0, 0, 1}}, {"Front", {-2 * L, 0, 0, 1}}, {nullptr, {}},
                {"Top", {0, 0, -3 * L, 1}},  {"Side", {0, -2 * L, 0, 1}},  {"Front", {2 * L, 0, 0, 1}}};
  for (const probe& p : probes) {
    if (!p.press) {
      svdesign::GoBack();
      Enter(nullptr);
      continue;
    }
    Run(std::string("DesignModeViewer") + p.press);
    EXPECT_EQ(eye, p.eye) << p.press;
  }
}

}  // namespace
