// The designer as a mode: its start-up, the commands, entering and leaving
// (to the menu or back to the simulation), the toolbar, the viewer's place
// in the window, the tooltips and the Save As dialog of a locked aircraft.
#include <string>

#include "core/function.h"
#include "core/interpreter.h"
#include "designer/buttons.h"
#include "designer/commands.h"
#include "designer/viewer_modes.h"
#include "graphics/mesh.h"
#include "designer_support.h"
#include "gui/edit.h"
#include "gui/list_item.h"
#include "gui/window.h"
#include "platform/codes.h"
#include "sim/simulation_mode.h"
#include "sim/world/world.h"
#include "tests/sim/ground_support.h"

namespace {

using designertest::designerfixture;
using inputtest::LogText;

// The heli serves where any aircraft does: without wings it is the quickest
// sample to analyse.
class ModeTest : public designerfixture {
 protected:
  static int Count(kxnode* parent, kxtype* type) {
    int n = 0;
    for (kxnode* c = parent->firstChild; c; c = c->nextSibling) n += c->type == type;
    return n;
  }
};

TEST_F(ModeTest, StartUpBuildsTheDesignTreeAndRegistersEveryCommand) {
  EXPECT_NE(LogText().find("svdesign: init ok\n"), std::string::npos);
  for (const char* path : {"/Design/Visible/File", "/Design/Visible/Objects", "/Design/Visible/PageHolder",
                           "/Design/Invisible/MenuFile/GoBack", "/Design/Invisible/MenuObjects",
                           "/Design/Invisible/DialogSaveAs", "/Design/Invisible/AirfoilProperties"}) {
    EXPECT_NE(kxnode::Find(path), nullptr) << path;
  }
  EXPECT_EQ(State().screen->firstChild, State().pageBar);
  EXPECT_NE(State().buttonFrames, nullptr);
  EXPECT_NE(State().buttonIcons, nullptr);
  for (int i = 0; i < svdesign::kCommands; ++i) {
    EXPECT_NE(kxfunction::Find(svdesign::CommandName(i)), nullptr) << i;
  }
  EXPECT_STREQ(svdesign::CommandName(svdesign::kCommands - 1), "copysystemcancel");
}

TEST_F(ModeTest, WithoutAnAircraftCommandsDoNothingAndOpenRefuses) {
  for (int i = 1; i < svdesign::kCommands; ++i) Run(svdesign::CommandName(i));
  EXPECT_EQ(kxsystem::callbacks.pending, nullptr);
  EXPECT_EQ(LogText().find("not available"), std::string::npos);
  Run("DesignOpen");
  EXPECT_EQ(kxsystem::callbacks.pending, nullptr);
  EXPECT_NE(LogText().find("svdesign:  no aircraft loaded to edit\n"), std::string::npos);
}

TEST_F(ModeTest, EntryInstallsTheDesignerAndLeavingTearsItDown) {
  Enter("heli");
  kxcallbacks& cb = kxsystem::callbacks;
  EXPECT_EQ(cb.draw, &svdesign::Draw);
  EXPECT_EQ(cb.after_create, &svdesign::OnCreate);
  EXPECT_EQ(cb.update, nullptr);
  EXPECT_EQ(kxgui::Visible, State().screen);
  EXPECT_EQ(kxgui::KeyHook, &svdesign::OnKey);
  EXPECT_STREQ(State().screen->OnLeftDownText.Text(), "DesignMouseLeftDown");
  EXPECT_STREQ(State().screen->OnRightDownText.Text(), "");
  EXPECT_EQ(State().currentMode, &svdesign::Modes().objectSelect);
  const svdesigncamera& c = State().camera;
  EXPECT_EQ(c.viewportY, 82);
  EXPECT_EQ(c.viewportHeight, designertest::kWindowHeight - 136);
  // From above, at least 3 reference lengths up.
  EXPECT_EQ(c.pos.x, 0.0f);
  EXPECT_EQ(c.pos.y, 0.0f);
  EXPECT_GE(c.pos.z, 3.0f * State().aircraftLength);
  EXPECT_GE(State().aircraftLength, 1.0f);
  // The accepted commands that change nothing.
  for (const char* command : {"DesignMouseLeftDouble( 3, 4 )", "DesignModeBodyMove", "DesignModeBodyMoveOnly",
                              "DesignModeBodyRotate", "DesignModeBodyRotateOnly", "DesignModePointSelect",
                              "DesignObjectPropertySet( \"x\" )"}) {
    Run(command);
  }
  EXPECT_EQ(State().currentMode, &svdesign::Modes().objectSelect);
  std::string log = kxtest::logcapture::Text();
  Mouse(kxcode::kMouseRightDown, 500, 300);
  Mouse(kxcode::kMouseRightUp, 500, 300);
  EXPECT_EQ(kxtest::logcapture::Text(), log);  // right clicks run no command, not even a failing one
  Run("DesignObjectProperty");
  EXPECT_EQ(State().currentMode, &svdesign::Modes().objectProperty);
  size_t objects = State().objects.size();
  Run("DesignOpen");  // already running: no second entry
  EXPECT_EQ(kxsystem::callbacks.pending, nullptr);
  svdesign::Enter();
  EXPECT_EQ(State().objects.size(), objects);

  kxdaircraftinstance* aircraft = State().aircraft;
  unsigned generation = aircraft->Generation;
  Run("DesignGoBack");
  EXPECT_EQ(cb.pending, &sim::EnterMenuMode);
  EXPECT_EQ(State().aircraft, nullptr);
  EXPECT_TRUE(State().objects.empty());
  EXPECT_EQ(State().aircraftObject, nullptr);
  EXPECT_EQ(State().menuObjects->firstChild, nullptr);
  EXPECT_EQ(aircraft->Generation, generation + 1);
  cb.pending = nullptr;
  Run("DesignGoBack");  // once left, nothing to leave
  EXPECT_EQ(cb.pending, nullptr);
  EXPECT_EQ(aircraft->Generation, generation + 1);
}

TEST_F(ModeTest, ToolbarIsBuiltOnceAndTheViewerFollowsTheWindow) {
  Enter("heli");
  svdesign::GoBack();
  Enter(nullptr);
  kxgraphic* screen = State().screen;
  EXPECT_EQ(Count(screen, &svdesignpanel::Type), 2);  // the page bar and the toolbar
  EXPECT_EQ(Count(screen, &svdesignbutton::Type), 2);
  kxgraphic* toolbar = kxgraphic::Of(screen->lastChild->prevSibling->prevSibling->prevSibling->prevSibling);
  ASSERT_NE(toolbar, nullptr);
  EXPECT_EQ(toolbar->X, designertest::kWindowWidth - 2 - 276);
  EXPECT_EQ(toolbar->Y, designertest::kWindowHeight - 22 - 40);
  EXPECT_EQ(Count(toolbar, &svdesignbutton::Type), 6);

  struct probe {
    int width, height, viewportHeight;
  } probes[] = {{800, 600, 464}, {640, 100, 1}};
  for (const probe& p : probes) {
    kxsystem::display.window_width = p.width;
    kxsystem::display.window_height = p.height;
    State().back = sim::designerreturn::kSimulation;  // the simulation's sounds, not the menu's set-up
    kxsystem::callbacks.after_create();
    const svdesigncamera& c = State().camera;
    EXPECT_EQ(c.viewportX, 0);
    EXPECT_EQ(c.viewportY, 82);
    EXPECT_EQ(c.viewportWidth, p.width);
    EXPECT_EQ(c.viewportHeight, p.viewportHeight);
    EXPECT_FLOAT_EQ(c.halfWidth, 0.03f * p.width / p.viewportHeight);
    EXPECT_EQ(screen->W, p.width);
  }
}

// A fake USB transport for the way back to the simulation, which starts
// with or without an input device listed (the keyboard flies).
class ReturnTest : public ModeTest {
 protected:
  void SetUp() override {
    ModeTest::SetUp();
    usbinterface::SetTransport(&fake);
  }
  void TearDown() override {
    kxinput::Shutdown();
    usbinterface::SetTransport(nullptr);
    ModeTest::TearDown();
  }
  usbfaketransport fake;
};

TEST_F(ReturnTest, EscapeLeavesToTheModeTheDesignerCameFrom) {
  struct probe {
    int fromSimulation;
    bool device;
    void (*next)();
  } probes[] = {{0, false, sim::EnterMenuMode}, {1, false, sim::EnterSimulationMode}, {1, true, sim::EnterSimulationMode}};
  simtest::flatground ground(sim::TheWorld());  // the flight it came from had ground
  for (const probe& p : probes) {
    if (p.device) fake.AddDevice("/dev/hidraw-cable", "", usbinterface::kCableProductIdPlaceholder);
    kxinput::SearchDevices(kxinput::kSearchEnumerate);
    Enter("heli", p.fromSimulation ? sim::designerreturn::kSimulation : sim::designerreturn::kMenu);
    Key(kxcode::kKeyEscape);
    ASSERT_EQ(kxsystem::callbacks.pending, &svdesign::GoBack);
    kxsystem::callbacks.pending = nullptr;
    svdesign::GoBack();
    EXPECT_EQ(kxsystem::callbacks.pending, p.next) << p.fromSimulation << p.device;
  }
}

TEST_F(ModeTest, TooltipShowsWhileThePointerRestsOneToThreeSecondsInsideTheScreen) {
  Enter("heli");
  svdesignbutton* back = static_cast<svdesignbutton*>(kxnode::Find("/Design/Visible/")->lastChild->prevSibling->prevSibling);
  ASSERT_EQ(back->OnPress, "DesignGoBack");
  designertest::Now() = 5000;
  Mouse(kxcode::kMouseMove, 5, 720);
  ASSERT_EQ(kxgui::Hot, back);
  tooltipbox tip;
  int bx = back->X, by = back->Y;
  EXPECT_FALSE(back->TooltipBox(bx, by, 5000 + 1000000, &tip));
  EXPECT_FALSE(back->TooltipBox(bx, by, 5000 + 3000000, &tip));
  ASSERT_TRUE(back->TooltipBox(bx, by, 5000 + 1000001, &tip));
  int width = 7 * 19 + 4;  // "Back to main screen" in the 7-px test font
  EXPECT_EQ(tip.x0, 2);
  EXPECT_EQ(tip.x1, 2 + width);
  EXPECT_EQ(tip.y0, 706 + 14 - 38);
  EXPECT_EQ(tip.y1, tip.y0 + 20);
  designertest::Now() = 0xFFFFFF00u;  // the clock wraps while the pointer rests
  Mouse(kxcode::kMouseMove, 5, 740);
  ASSERT_TRUE(back->TooltipBox(bx, by, 0xFFFFFF00u + 2000000, &tip));
  EXPECT_EQ(tip.y0, 706 + 16 - 38);

  Mouse(kxcode::kMouseMove, 1000, 720);
  svdesignbutton* front = static_cast<svdesignbutton*>(kxgui::Hot);
  ASSERT_EQ(front->OnPress, "DesignModeViewerFront");
  ASSERT_TRUE(front->TooltipBox(746 + front->X, 706, 0xFFFFFF00u + 1500000, &tip));
  EXPECT_EQ(tip.x1, designertest::kWindowWidth - 2);
}

TEST_F(ModeTest, LockedAircraftAsksForANewNameAndCancelLeaves) {
  ASSERT_EQ(kxdaircraftinstance::AircraftLoad("heli", 0), 1);
  kxdaircraftinstance::Slot(0)->Locked = 1;
  Enter(nullptr);
  kxwindow* dialog = State().saveAsDialog;
  EXPECT_EQ(dialog->parent, State().screen);
  EXPECT_EQ(kxgui::Capture, dialog);
  EXPECT_STREQ(State().saveAsPrompt->Text.Text(), sim::Language().Text("NewAircraft"));
  EXPECT_STREQ(State().saveAsName->text, "heli");
  kxgui::Focus = State().saveAsName;
  Type("-with-a-long-name");
  EXPECT_STREQ(State().saveAsName->text, "heli-with-a-long-nam");
  Run("copysystemcancel");
  EXPECT_EQ(dialog->parent, State().invisible);
  EXPECT_EQ(State().aircraft, nullptr);
  EXPECT_EQ(kxsystem::callbacks.pending, &sim::EnterMenuMode);
}

}  // namespace
