// The aircraft control settings and delete windows over a folder of
// configurations: the list with descriptions, types and aircraft boxes,
// assigning by a click (with "config/config.kxc" rewritten and the players'
// mappers reloaded), New, and deleting, refused for a configuration in use.
#include <gtest/gtest.h>

#include "gui/gui.h"
#include "platform/files.h"
#include "tests/config_ui/config_support.h"
#include "tests/write_faults.h"
#include "tests/core/test_support.h"

namespace {

constexpr const char* kAdvanced = "Text = \"Transmitter@@ADV\"\nAssign( 4, 1001 )\nEasy = 0\n";
constexpr const char* kEasy = "Text = \"Stick@@Analog Joystick #1\"\nAssign( 4, 601 )\nEasyDevice = 3\nEasy = 1\n";

class ControlSettingsTest : public configtest::windowtest {
 protected:
  void SetUp() override {
    windowtest::SetUp();
    settings = Get<svaircraftcontrolsettings>("AircraftControlSettings");
    remove = Get<svconfigurationdelete>("ConfigurationDelete");
    Put("config/acft00.kxa", kAdvanced);
    Put("config/acft01.kxa", kEasy);
    Put("config/a.b.kxa", "Text = \"Dotted\"\n");
    Put("config/a.kxa", "Text = \"Plain@@ADV\"\n");
    Put("config/config.kxc", "GameFile = \"game\"\nAircraft0File = \"acft00\"\nAircraft1File = \"a.b\"\n");
    Put("config/notes.txt", "not a configuration\n");
    sim::LoadPlayerConfigurations();
  }
  kxrow* Row(const char* name) const { return kxnode::As<kxrow>(settings->rows->FindChild(name)); }
  static kxiconbutton* Box(kxrow* row, int aircraft) {
    kxnode* cell = row ? row->firstChild->nextSibling : nullptr;
    if (cell && aircraft == 1) cell = cell->nextSibling;
    return cell ? kxnode::As<kxiconbutton>(cell->firstChild) : nullptr;
  }
  std::string Boxes() const {
    std::string s;
    for (kxnode* n = settings->rows->firstChild; n; n = n->nextSibling) {
      kxrow* row = kxnode::As<kxrow>(n);
      s += n->name.Str() + ":" + std::to_string(Box(row, 0)->selected) + std::to_string(Box(row, 1)->selected) + " ";
    }
    return s;
  }
  svaircraftcontrolsettings* settings = nullptr;
  svconfigurationdelete* remove = nullptr;
};

TEST_F(ControlSettingsTest, ListsEveryConfigurationWithItsTextAndTheAircraftUsingIt) {
  Run("/Display/Invisible/AircraftControlSettings/Open");
  ASSERT_TRUE(Shown("AircraftControlSettings"));
  EXPECT_EQ(kxgui::Capture, settings);
  // Only the final ".kxa" is taken off: "a.b" is not "a".
  EXPECT_EQ(Names(settings->rows), "a a.b acft00 acft01");
  EXPECT_EQ(Cell(Row("acft01"), 0), "Stick");
  EXPECT_EQ(Cell(Row("acft01"), 1), "Analog Joystick #1");
  EXPECT_EQ(Cell(Row("acft00"), 1), "ADV");
  EXPECT_EQ(Cell(Row("a.b"), 0), "Dotted");
  EXPECT_EQ(Cell(Row("a.b"), 1), "");
  EXPECT_EQ(Boxes(), "a:00 a.b:01 acft00:10 acft01:00 ");
  EXPECT_EQ(settings->selection, Row("a"));
  EXPECT_EQ(Row("a")->fill.r, kxgui::Palette(kxgui::kColorSelection).r);
  Run("/Display/Visible/AircraftControlSettings/ConfigurationSelect( /Pinboard/ )");
  EXPECT_EQ(settings->selection, Row("a"));
}

// Kept on purpose: the list is sorted by name (byte order), not shown in the
// order the directory search returns, which is the file system's own and
// changes from one folder to the next.
TEST_F(ControlSettingsTest, TheListIsSortedByNameWhateverOrderTheFilesWereMadeIn) {
  for (const char* name : {"zulu", "Mike", "beta", "alpha", "Zed", "acft10"})
    Put(std::string("config/") + name + ".kxa", "Text = \"x@@ADV\"\n");
  settings->Open();
  EXPECT_EQ(Names(settings->rows), "Mike Zed a a.b acft00 acft01 acft10 alpha beta zulu");
}

TEST_F(ControlSettingsTest, AClickOnABoxAssignsTheConfigurationAndRewritesItsLine) {
  settings->Open();
  screen->Update();
  ClickOn(Box(Row("acft01"), 1));
  EXPECT_EQ(File("config/config.kxc"), "GameFile = \"game\"\nAircraft0File = \"acft00\"\nAircraft1File = \"acft01\"\n");
  EXPECT_EQ(input::playermapper[1]->name.Str(), "acft01");
  EXPECT_EQ(input::playermapper[1]->SourceCode(4), 601);  // player 2 flies with it at once
  EXPECT_EQ(Boxes(), "a:00 a.b:00 acft00:10 acft01:01 ");
  // Assigning a box that is on again changes nothing; other indexes only mark.
  Run("/Display/Visible/AircraftControlSettings/ConfigurationAssign( /Pinboard/, 0 )");
  settings->Assign(Row("a"), 2);
  EXPECT_EQ(Boxes(), "a:00 a.b:00 acft00:10 acft01:01 ");
  EXPECT_EQ(input::playermapper[0]->name.Str(), "acft00");
}

// An assignment that cannot be written is not made: the box, the file and
// the player's configuration stay as they were.
TEST_F(ControlSettingsTest, AnAssignmentThatCannotBeWrittenIsNotMade) {
  settings->Open();
  screen->Update();
  const std::string before = File("config/config.kxc"), boxes = Boxes();
  sim::ClearNotices();
  kxtest::BlockReplacing(folder_->Path("config/config.kxc"));
  ClickOn(Box(Row("acft01"), 0));
  EXPECT_EQ(File("config/config.kxc"), before);
  EXPECT_EQ(input::playermapper[0]->name.Str(), "acft00");
  EXPECT_EQ(sim::ConfigFiles()->Aircraft0File.Str(), "acft00");
  EXPECT_EQ(Boxes(), boxes);
  const std::string notice = sim::TakeNotice();
  EXPECT_NE(notice.find("config/config.kxc could not be written (config/config.kxc.tmp: a folder stands at its name"),
            std::string::npos)
      << notice;
}

TEST_F(ControlSettingsTest, NewCreatesTheSmallestFreeNameAndGivesItToPlayerOne) {
  AddCable();
  kxinput::SearchDevices(kxinput::kSearchEnumerate);
  sim::BuildDeviceNodes();
  settings->Open();
  Run("/Display/Visible/AircraftControlSettings/ConfigurationNew");
  EXPECT_NE(File("config/acft02.kxa").find("Text = \"new@@USB Interface / PP\"\n"), std::string::npos);
  EXPECT_TRUE(Shown("ConfigurationEasy"));
  EXPECT_EQ(settings->selection, Row("acft02"));
  EXPECT_EQ(Boxes(), "a:00 a.b:01 acft00:00 acft01:00 acft02:10 ");
  EXPECT_EQ(File("config/config.kxc"), "GameFile = \"game\"\nAircraft0File = \"acft02\"\nAircraft1File = \"a.b\"\n");
  EXPECT_EQ(input::playermapper[0]->name.Str(), "acft02");
  EXPECT_EQ(input::playermapper[0]->SourceCode(0), 1000);

  // An empty file is free for the taking.
  Put("config/acft00.kxa", "");
  Run("/Display/Visible/ConfigurationEasy/Cancel");
  settings->New();
  EXPECT_GT(kxsystem::GetFileSize("config/acft00.kxa"), 0);
  EXPECT_EQ(input::playermapper[0]->name.Str(), "acft00");
}

// New writes the configuration and gives it to player 1 before its window
// shows; Cancel there, or in the advanced editor opened from it, takes both
// back. Ok keeps it.
TEST_F(ControlSettingsTest, CancelAfterNewDeletesTheConfigurationAndGivesBackTheOneInUse) {
  const std::string inUse = File("config/config.kxc");
  settings->Open();
  // The ways out without Ok: the easy editor's Cancel, and the advanced
  // editor's Cancel or close box after Advanced.
  const char* const cancels[] = {"easy", "advanced", "advanced close box"};
  for (const std::string cancel : cancels) {
    SCOPED_TRACE(cancel);
    Run("/Display/Visible/AircraftControlSettings/ConfigurationNew");
    ASSERT_TRUE(Shown("ConfigurationEasy"));
    ASSERT_EQ(input::playermapper[0]->name.Str(), "acft02");
    if (cancel == "easy") {
      Run("/Display/Visible/ConfigurationEasy/Cancel");
    } else {
      Run("/Display/Visible/ConfigurationEasy/Advanced");
      auto* editor = Get<svconfigurationeditor>("ConfigurationEditor");
      ASSERT_TRUE(Shown("ConfigurationEditor"));
      if (cancel == "advanced")
        Run("/Display/Visible/ConfigurationEditor/Cancel");
      else
        kxscript::Execute(editor->OnClose.Text(), editor);
      EXPECT_FALSE(Shown("ConfigurationEditor"));
    }
    EXPECT_EQ(kxsystem::GetFileSize("config/acft02.kxa"), -1);
    EXPECT_EQ(File("config/config.kxc"), inUse);
    EXPECT_EQ(input::playermapper[0]->name.Str(), "acft00");
    EXPECT_EQ(input::playermapper[0]->SourceCode(4), 1001);
    EXPECT_EQ(Names(settings->rows), "a a.b acft00 acft01");
    EXPECT_EQ(Boxes(), "a:00 a.b:01 acft00:10 acft01:00 ");
  }

  // Cancel on a configuration that was there before deletes nothing.
  settings->Select(Row("acft01"));
  settings->OpenSelected();
  Run("/Display/Visible/ConfigurationEasy/Cancel");
  EXPECT_EQ(File("config/acft01.kxa"), kEasy);

  // Kept by Ok, and by the close box after Ok has saved it.
  settings->New();
  Run("/Display/Visible/ConfigurationEasy/Ok");
  EXPECT_GT(kxsystem::GetFileSize("config/acft02.kxa"), 0);
  EXPECT_EQ(input::playermapper[0]->name.Str(), "acft02");
  // Kept by the advanced editor's Ok; a later opening's Cancel keeps it too.
  settings->New();
  Run("/Display/Visible/ConfigurationEasy/Advanced");
  Run("/Display/Visible/ConfigurationEditor/Ok");
  EXPECT_EQ(input::playermapper[0]->name.Str(), "acft03");
  Run("/Display/Invisible/ConfigurationEditor/Open( \"acft03\", 0)");
  Run("/Display/Visible/ConfigurationEditor/Cancel");
  EXPECT_GT(kxsystem::GetFileSize("config/acft03.kxa"), 0);
  EXPECT_EQ(input::playermapper[0]->name.Str(), "acft03");
}

TEST_F(ControlSettingsTest, AConfigurationInUseIsNotDeleted) {
  settings->Open();
  settings->Select(Row("acft00"));
  Run("/Display/Visible/AircraftControlSettings/ConfigurationDelete");
  ASSERT_TRUE(Shown("ConfigurationDelete"));
  EXPECT_EQ(remove->message->Text.Str(), "Cannot delete a configuration that is used to control an aircraft");
  EXPECT_EQ(remove->cancelButton->parent, nullptr);  // only Ok is left
  Run("/Display/Visible/ConfigurationDelete/Ok");
  EXPECT_FALSE(Shown("ConfigurationDelete"));
  EXPECT_TRUE(Shown("AircraftControlSettings"));
  EXPECT_EQ(File("config/acft00.kxa"), kAdvanced);
  // Nor when the deletion itself is asked for.
  settings->Select(Row("a.b"));
  Run("/Display/Visible/AircraftControlSettings/ConfigurationDelete2");
  EXPECT_EQ(File("config/a.b.kxa"), "Text = \"Dotted\"\n");
  EXPECT_TRUE(inputtest::Logged("config:  configuration a.b is in use, not deleted\n"));
}

TEST_F(ControlSettingsTest, AnUnusedConfigurationIsDeletedUnderItsOwnNameAfterConfirmation) {
  Put("config/config.kxc", "GameFile = \"game\"\nAircraft0File = \"acft00\"\nAircraft1File = \"acft00\"\n");
  sim::LoadPlayerConfigurations();
  settings->Open();
  settings->Select(Row("a.b"));
  settings->AskDelete();
  ASSERT_TRUE(Shown("ConfigurationDelete"));
  EXPECT_EQ(remove->message->Text.Str(), "Are you sure you want to delete this configuration ?");
  EXPECT_EQ(remove->cancelButton->parent, remove);
  Run("/Display/Visible/ConfigurationDelete/Cancel");
  EXPECT_EQ(kxsystem::GetFileSize("config/a.b.kxa"), 16);
  EXPECT_EQ(settings->selection, Row("a"));  // the list was opened afresh
  settings->Select(Row("a.b"));
  settings->AskDelete();
  Run("/Display/Visible/ConfigurationDelete/Ok");
  EXPECT_EQ(kxsystem::GetFileSize("config/a.b.kxa"), -1);
  EXPECT_EQ(File("config/a.kxa"), "Text = \"Plain@@ADV\"\n");
  EXPECT_EQ(Names(settings->rows), "a acft00 acft01");
  EXPECT_EQ(settings->selection, Row("a"));
}

TEST_F(ControlSettingsTest, PropertiesOpensTheSelectedConfigurationInItsEditor) {
  kxtest::logcapture log;
  settings->Open();
  settings->Select(Row("acft01"));
  settings->OpenSelected();
  EXPECT_TRUE(Shown("ConfigurationEasy"));
  Run("/Display/Visible/ConfigurationEasy/Cancel");
  settings->Select(Row("acft00"));
  Run("/Display/Visible/AircraftControlSettings/ConfigurationOpen");
  EXPECT_FALSE(Shown("ConfigurationEasy"));
  EXPECT_TRUE(Shown("ConfigurationEditor"));
  EXPECT_EQ(Get<svconfigurationeditor>("ConfigurationEditor")->Title.Str(), "Transmitter");
  // The list, the players' mappers, the windows' own mapper, controller and
  // text node each take what they know of the files without a log line.
  EXPECT_FALSE(log.Contains("nothing known")) << log.Text();
}

TEST_F(ControlSettingsTest, WithoutConfigurationsTheCommandsDoNothing) {
  for (const char* f : {"acft00", "acft01", "a.b", "a"})
    kxsystem::DeleteFile((std::string("config/") + f + ".kxa").c_str());
  settings->Open();
  EXPECT_EQ(settings->selection, nullptr);
  settings->OpenSelected();
  settings->AskDelete();
  settings->DeleteSelected();
  EXPECT_FALSE(Shown("ConfigurationEasy"));
  EXPECT_FALSE(Shown("ConfigurationDelete"));
}

}  // namespace
