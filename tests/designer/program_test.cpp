// The designer in the whole program: entered from the menu with its key,
// the window made again while it runs, and Escape back to the menu.
#include "designer/designer.h"
#include "designer/state.h"
#include "platform/callbacks.h"
#include "sim/app_hooks.h"
#include "sim/menu.h"
#include "tests/sim/program_support.h"

namespace {

class DesignerProgramTest : public simtest::programtest {
 protected:
  void SetUp() override {
    programtest::SetUp();
    sim::applicationhooks hooks;
    svdesign::InstallHooks(&hooks);
    sim::SetHooks(hooks);
  }
  void TearDown() override {
    sim::SetHooks(sim::applicationhooks());
    svdesign::Reset();
    programtest::TearDown();
  }
};

TEST_F(DesignerProgramTest, EnteredFromTheMenuItFollowsANewWindowAndEscapeReturns) {
  Key(kxcode::kKeyF1 + 6);  // the menu's "Edit aircraft"
  Key(kxcode::kKeyEscape);
  bool remade = false, backInMenu = false;
  window_.beforeEvent = [&] {
    kxcallbacks& cb = kxsystem::callbacks;
    if (cb.draw == &svdesign::Draw && !remade) {
      remade = true;
      kxsystem::display.window_width = 700;
      kxsystem::display.window_height = 500;
      cb.request = kxcode::kRequestRecreate;
      return true;
    }
    if (remade && cb.draw == &sim::DrawMenu) backInMenu = true;
    return false;
  };
  EXPECT_EQ(Run(), 0);
  EXPECT_TRUE(remade);
  EXPECT_TRUE(backInMenu);
  EXPECT_EQ(window_.creations, 2);
  std::string log = Text("kx.log");
  EXPECT_NE(log.find("svdesign: init ok\n"), std::string::npos);
  const svdesigncamera& camera = svdesign::State().camera;
  EXPECT_EQ(camera.viewportY, 82);
  EXPECT_EQ(camera.viewportWidth, 700);
  EXPECT_EQ(camera.viewportHeight, 500 - 136);
  EXPECT_EQ(svdesign::State().aircraft, nullptr);
}

// Closing the window while the designer runs ends the program as the menu's
// Exit does: the settings are written and nothing stays held.
TEST_F(DesignerProgramTest, ClosingTheWindowInTheDesignerWritesTheSettingsAndReleasesEverything) {
  Key(kxcode::kKeyF1 + 6);  // the menu's "Edit aircraft"; the window closes after it
  bool designing = false;
  window_.beforeEvent = [&] {
    designing = designing || kxsystem::callbacks.draw == &svdesign::Draw;
    return false;
  };
  EXPECT_EQ(Run(), 0);
  EXPECT_TRUE(designing);
  std::string log = Text("kx.log");
  EXPECT_NE(log.find("saving configfile config/main.mcf=ok\n"), std::string::npos) << log;
  EXPECT_NE(Text("config/main.mcf").find("\naircraft0  christeneagle\n"), std::string::npos);
  EXPECT_EQ(log.find("still held"), std::string::npos) << log.substr(log.find("still held") - 200);
  EXPECT_EQ(svdesign::State().aircraft, nullptr);
}

}  // namespace
