#include <cstring>
#include <string>
#include <vector>

#include "gui/background.h"
#include "platform/callbacks.h"
#include "platform/event_nodes.h"
#include "platform/gl_context.h"
#include "sim/keys.h"
#include "sim/mouse.h"
#include "sim/player.h"
#include "sim/windows/window_functions.h"
#include "tests/sim/windows/menu_support.h"

namespace {

using sim::players;
using sim::session;

std::vector<std::string> ChildNames(const char* path) {
  std::vector<std::string> names;
  if (kxnode* n = kxnode::Find(path))
    for (kxnode* c = n->firstChild; c; c = c->nextSibling) names.push_back(c->name.Text());
  return names;
}

class MenuBarTest : public menutest::menutest {};

TEST_F(MenuBarTest, TitlesPopupsAndWindowsStandInBuildOrder) {
  EXPECT_EQ(ChildNames("/Menu/Visible/"),
            (std::vector<std::string>{"mifile", "miview1", "miview2", "mifinfo", "mirec", "micontest", "mifschlepp",
                                      "migraphics", "mihelp"}));
  EXPECT_EQ(ChildNames("/Menu/Invisible/"),
            (std::vector<std::string>{"MFile", "MRecord", "MView", "MView2", "MInfo", "MContest", "MFSchlepp",
                                      "MGraphics", "MHelp", "wndLoadScenery", "wndSaveRecord", "wndLoadRecord",
                                      "wndWrongScenery", "wndOptionsFSchlepp", "wndOptionsGeneral", "wndOptionsSound",
                                      "wndTitleSelect", "wndOptionsView", "wndOptionsContest", "wndOptionsGrfx",
                                      "wndAbout", "wndNoDevice", "wndRestart", "wndKeys", "wndOptionsMain",
                                      "wndOldModel", "wndNotice"}));
  kxmenuitem* contest = kxnode::As<kxmenuitem>(kxnode::Find("/Menu/Visible/micontest/"));
  ASSERT_NE(contest, nullptr);
  EXPECT_STREQ(contest->Text.Text(), "Contest");
  EXPECT_STREQ(contest->Action.Text(), "/Menu/Invisible/MContest/Show");
  EXPECT_EQ(sim::MenuBar().contest_title, contest);
  // Separators are pop-up bars: the file menu holds 6 entries and 4 bars.
  EXPECT_EQ(ChildNames("/Menu/Invisible/MFile/").size(), 10u);
  EXPECT_EQ(ChildNames("/Menu/Invisible/MContest/").size(), 15u);
}

TEST_F(MenuBarTest, EntriesCarryTheirLabelsAndCommands) {
  struct row {
    const char* popup;
    const char* entry;
    const char* label;
    const char* command;
  } rows[] = {
      {"MFile", "mfileedit", "Edit aircraft...", "GoEditAcft"},
      {"MFile", "mfilesound", "Sound/Music", "/Menu/Invisible/wndOptionsSound/Open"},
      {"MRecord", "mrecstop", "Stop record/playback", "RecordFlightStop(0)"},
      {"MView", "mviewcockpit2", "Cockpit mode with Instruments", "ViewCockpitInstruments(0)"},
      {"MView2", "mv2wind", "View Wind and Variometer", "View2Wind(0)"},
      {"MInfo", "minfoa", "Show Altitude", "InfoHeightMSL(0)"},
      {"MContest", "xxx8", "Contest8XXXXXXXXX", "ContestSelect(8)"},
      {"MFSchlepp", "mfschdetach", "Detach rope", "FSchleppDetach"},
      {"MGraphics", "mgrphvsync", "Vertical Sync", "ToogleVSYNC"},
      {"MHelp", "mhelpabout", "About...", "/Display/Invisible/wndAbout/Show;/Menu/Invisible/wndAbout/Open"},
  };
  for (const row& r : rows) {
    kxpopupitem* item = Entry(r.popup, r.entry);
    ASSERT_NE(item, nullptr) << r.entry;
    EXPECT_STREQ(item->Text.Text(), r.label);
    EXPECT_STREQ(item->OnPress.Text(), r.command);
  }
}

// The rope's options window is reached from the "Glider tow" menu.
TEST_F(MenuBarTest, TheGliderTowMenuOpensTheRopeOptions) {
  kxpopupitem* item = Entry("MFSchlepp", "mfschset");
  ASSERT_NE(item, nullptr);
  EXPECT_STREQ(item->Text.Text(), "Settings");
  Run(item->OnPress.Text());
  EXPECT_TRUE(Shown(sim::kWndOptionsFSchlepp));
  EXPECT_EQ(kxgui::Capture, sim::MenuWindow(sim::kWndOptionsFSchlepp));
  Send(sim::kWndOptionsFSchlepp, "Hide");
  EXPECT_FALSE(Shown(sim::kWndOptionsFSchlepp));
}

TEST_F(MenuBarTest, EntriesRegisterTheNameBeforeTheParenthesisAndWindowPathsNothing) {
  for (const char* name : {"RecordFlightOn", "ViewFollow", "View2RecordC", "InfoFPS", "TraceClear", "ContestSelect",
                           "ContestStart", "FSchleppStart", "SetCloudsRain", "ToogleTrees", "ToogleVSYNC", "ShowTips",
                           "UnitMetric", "UnitEnglish", "GoMainMenu", "GoEditAcft"})
    EXPECT_NE(kxfunction::Find(name), nullptr) << name;
  EXPECT_EQ(kxfunction::Find("ViewFollow(0)"), nullptr);
  EXPECT_EQ(kxfunction::Find("/Menu/Invisible/wndOptionsGeneral/Open"), nullptr);

  Run("ViewFollow(0)");
  EXPECT_EQ(players[0].view_mode, sim::kViewFollow);
  Run("ToogleTrees");
  EXPECT_EQ(session.settings.show_trees, 0);
  Run("ContestSelect(0)");  // registered nine times, one handler
  EXPECT_EQ(session.run.selected_contest, 0);
}

TEST_F(MenuBarTest, ACommandForNoFlyingPlayerDoesNothingAndSaysSo) {
  players[1].camera[0].on = 0;
  Run("InfoOnOff(1)");
  EXPECT_EQ(players[1].camera[0].on, 0);
  EXPECT_TRUE(Logged("sim:  InfoOnOff(1): no such player"));
  players[0].next = &players[1];
  Run("InfoOnOff(1)");
  EXPECT_EQ(players[1].camera[0].on, 1);
  players[0].next = nullptr;
}

TEST_F(MenuBarTest, RecordingEntriesGreyWithoutARecording) {
  players[0].recording.present = 0;
  players[0].recording.state = sim::kRecordIdle;
  const char* grey[][2] = {{"MRecord", "mrecplay"}, {"MRecord", "mrecclear"}, {"MRecord", "mrecsave"},
                           {"MRecord", "mrecstop"}, {"MView", "mviewrecr"},   {"MView", "mviewrecf"},
                           {"MView", "mviewrecc"},  {"MView2", "mv2recr"},    {"MView2", "mv2recf"},
                           {"MView2", "mv2recc"}};
  for (const auto& e : grey) EXPECT_TRUE(Grey(e[0], e[1])) << e[1];
  EXPECT_FALSE(Grey("MRecord", "mrecrec"));
  EXPECT_FALSE(Grey("MRecord", "mrecload"));

  players[0].recording.present = 1;
  players[0].recording.state = sim::kRecording;
  for (const auto& e : grey) EXPECT_FALSE(Grey(e[0], e[1])) << e[1];
  EXPECT_TRUE(Grey("MRecord", "mrecrec"));
}

TEST_F(MenuBarTest, CheckMarksFollowTheirVariables) {
  players[0].view_mode = sim::kViewCockpit;
  EXPECT_TRUE(Entry("MView", "mviewcockpit")->IsChecked());
  EXPECT_FALSE(Entry("MView", "mviewfollow")->IsChecked());
  session.settings.cloud_type = sim::kCloudsRain;
  EXPECT_TRUE(Entry("MGraphics", "mgrphclouds3")->IsChecked());
  EXPECT_FALSE(Entry("MGraphics", "mgrphclouds2")->IsChecked());
  session.settings.units = sim::kUnitsImperial;
  EXPECT_TRUE(Entry("MFile", "mfileenglish")->IsChecked());
  players[0].trace.on = 1;
  EXPECT_TRUE(Grey("MView", "mviewtrstart"));
  EXPECT_FALSE(Grey("MView", "mviewtrstop"));
  players[0].camera[2].on = 5;  // any non-zero value checks
  EXPECT_TRUE(Entry("MView2", "mv2show")->IsChecked());
  session.run.selected_contest = 2;
  EXPECT_TRUE(Entry("MContest", "xxx2")->IsChecked());
  EXPECT_FALSE(Grey("MContest", "mctststart"));
}

// The second view's entries compare one variable with overlay and scene
// codes alike; the stop entry is enabled in any state but idle.
TEST_F(MenuBarTest, SecondViewEntriesCheckOverlayAndSceneCodesAlike) {
  const struct {
    sim::cameraview type;
    const char* checked;
  } rows[] = {{sim::kCameraAircraft, "mv2acft"},    {sim::kCameraWind, "mv2wind"},
              {sim::kViewFollow, "mv2follow"},      {sim::kViewFixed, "mv2fixed"},
              {sim::kViewRecordFixed, "mv2recr"},   {sim::kViewRecordCockpit, "mv2recc"},
              {sim::kCameraFlightInfo, ""}};
  const char* entries[] = {"mv2acft", "mv2wind", "mv2follow", "mv2fixed", "mv2recr", "mv2recf", "mv2recc"};
  for (const auto& r : rows) {
    players[0].camera[2].type = r.type;
    for (const char* e : entries)
      EXPECT_EQ(Entry("MView2", e)->IsChecked(), std::strcmp(e, r.checked) == 0 ? 1 : 0) << r.type.Code() << " " << e;
  }
  for (sim::recordstate state : {sim::kRecordIdle, sim::kRecording, sim::kRecordPlaying}) {
    players[0].recording.state = state;
    EXPECT_EQ(Grey("MRecord", "mrecstop"), state == sim::kRecordIdle) << static_cast<int>(state);
  }
}

TEST_F(MenuBarTest, ActivationInstallsTheDispatchAndTheSimulationHooks) {
  sim::ActivateMenu();
  EXPECT_EQ(kxsystem::callbacks.mouse, &input::OnMouse);
  EXPECT_EQ(kxsystem::callbacks.key_down, &input::OnKey);
  ASSERT_NE(kxsystem::callbacks.key_up, nullptr);
  EXPECT_EQ(kxgui::Visible, sim::MenuBar().visible);
  EXPECT_EQ(kxgui::Focus, sim::MenuBar().visible);
  EXPECT_EQ(kxgui::Invisible, sim::MenuBar().invisible);
  EXPECT_EQ(kxgui::KeyHook, &sim::OnKey);
  EXPECT_EQ(kxgui::MouseHook, &sim::OnMouse);
  EXPECT_EQ(sim::MenuBar().visible->W, kxsystem::display.window_width);
  kxgui::Visible = screen;
}

TEST_F(MenuBarTest, AFixedViewpointGreysTheViewsCloudsTreesAndFogButNotTheBackLight) {
  const char* ruled[][2] = {{"MView", "mviewfollow"},      {"MView", "mviewcockpit"},     {"MView", "mviewcockpit2"},
                            {"MGraphics", "mgrphclouds1"}, {"MGraphics", "mgrphclouds3"}, {"MGraphics", "mgrphtrees2"},
                            {"MGraphics", "mgrphfog"}};
  kxglcaps caps = kxgl::caps;
  kxgl::caps.cube_map = 0;
  sim::TheWorld()->photo = 1;
  sim::ActivateMenu();
  for (const auto& e : ruled) EXPECT_TRUE(Grey(e[0], e[1])) << e[1];
  EXPECT_FALSE(Grey("MGraphics", "mgrphsun"));
  EXPECT_TRUE(Grey("MGraphics", "mgrphrefl"));
  EXPECT_FALSE(Grey("MGraphics", "mgrphvsync"));

  kxgl::caps.cube_map = 1;
  sim::TheWorld()->photo = 0;
  sim::ActivateMenu();
  for (const auto& e : ruled) EXPECT_FALSE(Grey(e[0], e[1])) << e[1];
  EXPECT_TRUE(Grey("MGraphics", "mgrphsun"));
  EXPECT_FALSE(Grey("MGraphics", "mgrphrefl"));
  kxgl::caps = caps;
  kxgui::Visible = screen;
}

TEST_F(MenuBarTest, ContestEntriesShowOnePerContestUpToEight) {
  world* w = sim::TheWorld();
  const contestkind kinds[] = {kContestPylonRace, kContestBalloonPop, kContestDragRace,  kContestSpotLanding,
                               static_cast<contestkind>(31), kContestPylonRace, kContestPylonRace,
                               kContestPylonRace, kContestPylonRace};
  for (int i = 0; i < 9; ++i) w->contests[i].kind = kinds[i];
  struct probe {
    int count;
    int shown;
  } probes[] = {{3, 3}, {9, 8}, {0, 0}};
  for (const probe& p : probes) {
    w->contest_count = p.count;
    sim::ActivateMenu();
    sim::UpdateMenuState();
    for (int i = 1; i <= 8; ++i) {
      kxpopupitem* item = Entry("MContest", ("xxx" + std::to_string(i)).c_str());
      EXPECT_EQ(item->Hidden, i > p.shown ? 1 : 0) << p.count << " " << i;
      EXPECT_EQ(item->Disabled, i > p.shown ? 1 : 0);
    }
    EXPECT_EQ(sim::MenuBar().contest_title->Disabled, p.count < 1 ? 1 : 0);
  }
  w->contest_count = 5;
  sim::ActivateMenu();
  const char* labels[] = {"Pylon Racing", "Balloon Popping", "Drag Racing", "Spot Landing", "unknown"};
  for (int i = 0; i < 5; ++i)
    EXPECT_STREQ(Entry("MContest", ("xxx" + std::to_string(i + 1)).c_str())->Text.Text(), labels[i]);
  // Without two aircraft with hooks there is nothing to tow.
  EXPECT_EQ(sim::MenuBar().tow_title->Disabled, 1);
  kxgui::Visible = screen;
}

TEST_F(MenuBarTest, AWindowHiddenInTheMenuModeIsStillReachedByTheHelpCommand) {
  kxgraphic* parking = kxgui::Invisible;
  kxgraphic* displayInvisible = kxgraphic::Of(kxnode::Find("/Display/Invisible/"));
  kxgui::Invisible = displayInvisible;  // the menu mode's root
  sim::ShowWindow(sim::KeysWindow());
  sim::KeysWindow()->GetMember("Hide", kxargs::None());
  EXPECT_EQ(sim::KeysWindow()->parent, displayInvisible);
  kxgui::Invisible = parking;
  Run(Entry("MHelp", "mhelpkeys")->OnPress.Text());
  EXPECT_TRUE(Shown(sim::kWndKeys));
}

}  // namespace
