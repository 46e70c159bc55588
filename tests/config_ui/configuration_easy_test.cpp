// The easy configuration window: a new configuration's device and defaults
// and its file, written before the window shows; opening an existing one
// (an advanced one goes to the editor); the rows, reverse, travel and expo;
// the device change; and Ok, Cancel and Advanced.
#include <gtest/gtest.h>

#include "gui/gui.h"
#include "platform/files.h"
#include "tests/config_ui/config_support.h"
#include "tests/write_faults.h"

namespace {

class ConfigurationEasyTest : public configtest::cabletest {
 protected:
  void SetUp() override {
    cabletest::SetUp();
    easy = Get<svconfigurationeasy>("ConfigurationEasy");
    settings = Get<svaircraftcontrolsettings>("AircraftControlSettings");
  }
  // Which device buttons are on ("+") and enabled ("e"), joystick 1,
  // joystick 2, USB 1, USB 2.
  std::string Devices() const {
    std::string s;
    for (kxiconbutton* b : easy->devices) s += std::string(b->selected ? "+" : "-") + (b->disabled ? "d " : "e ");
    return s;
  }
  svconfigurationeasy* easy = nullptr;
  svaircraftcontrolsettings* settings = nullptr;
};

// Function: source, for a configuration whose device inputs start at base.
std::string NewConfiguration(const char* device, int base, int easyDevice) {
  const int sources[][2] = {
      {0, base},  {1, base},     {2, base},     {3, base},      {4, base + 1},  {5, base + 1},  {6, 1940},
      {7, 1941},  {8, base + 2}, {9, base + 2}, {10, base + 3}, {11, base + 3}, {12, 201},      {13, 201},
      {14, 1938}, {15, 1939},    {16, base},    {17, base + 1}, {18, base + 3}, {19, base + 2}, {20, 1937},
      {24, 205},  {25, 206},     {26, 202},     {27, 202},      {28, 206}};
  std::string s = std::string("Text = \"new@@") + device + "\"\n";
  for (const auto& f : sources) {
    std::string n = std::to_string(f[0]);
    s += "Assign( " + n + ", " + std::to_string(f[1]) + " )\nInvert( " + n + " ) = 0\nDual( " + n + " ) = 1\nExpo( " +
         n + " ) = 0\n";
  }
  const int inputs[9] = {0, 1, 2, 3, 12, 15, 16, 13, 0};
  for (int r = 0; r < 9; ++r) {
    s += "EasyFunction( " + std::to_string(r) + " ) = " + std::to_string(inputs[r]) + "\nEasyInvert( " +
         std::to_string(r) + " ) = 0\n";
  }
  return s + "EasyDevice = " + std::to_string(easyDevice) + "\nEasy = 1\n";
}

TEST_F(ConfigurationEasyTest, ANewConfigurationWithOneJoystickStartsOnItAndIsWrittenAtOnce) {
  sticks.Attach();
  Search();
  Run("/Display/Invisible/ConfigurationEasy/Open( \"acft05\", 1 )");
  ASSERT_TRUE(Shown("ConfigurationEasy"));
  EXPECT_EQ(File("config/acft05.kxa"), NewConfiguration("Analog Joystick #1", 600, 3));
  EXPECT_EQ(Devices(), "+e -d -d -d ");
  EXPECT_EQ(easy->monitor->base, 600);
  EXPECT_EQ(easy->monitor->Slot(11), 611);
  EXPECT_EQ(easy->monitor->Slot(12), 201);
  EXPECT_EQ(easy->monitor->Slot(17), 207);
  EXPECT_EQ(easy->Title.Str(), "new");
  EXPECT_EQ(kxgui::Focus, easy->nameField);
  EXPECT_EQ(kxgui::Capture, easy);
  EXPECT_EQ(easy->mapper->name.Str(), "acft05");
  EXPECT_EQ(easy->mapper->slot, 1900);
  // The rows show the defaults: row 7 on "NUM 4 / 6", row 8 untouched.
  EXPECT_EQ(easy->State().input[7], 13);
  EXPECT_EQ(easy->State().input[8], 0);
  EXPECT_EQ(std::string(easy->travel[0]->text), "100");
}

TEST_F(ConfigurationEasyTest, ATransmitterIsChosenUnlessTheOnlyOneIsTheCableBesideAJoystick) {
  struct row {
    int cables, padpilots, joysticks;
    const char* devices;
    int base;
  };
  const row rows[] = {{1, 0, 0, "-d -d +e -d ", 1000},
                      {1, 0, 1, "+e -d -e -d ", 600},
                      {0, 1, 1, "-e -d +e -d ", 1000},
                      {2, 0, 2, "+e -e -e -e ", 600},
                      {0, 0, 0, "-d -d -d -d ", 600}};
  int n = 0;
  std::string written;  // the last new configuration as written, before Cancel deleted it
  for (const row& r : rows) {
    SCOPED_TRACE(n);
    std::vector<int> usb;
    for (int i = 0; i < r.cables; ++i)
      usb.push_back(AddCable(("/dev/c" + std::to_string(n) + std::to_string(i)).c_str()));
    for (int i = 0; i < r.padpilots; ++i)
      usb.push_back(AddPadPilot(("/dev/p" + std::to_string(n) + std::to_string(i)).c_str()));
    for (int i = 0; i < r.joysticks; ++i) sticks.Attach();
    Search();
    std::string stem = "new" + std::to_string(n++);
    easy->monitor->base = 600;
    easy->Open(stem.c_str(), 1);
    EXPECT_EQ(Devices(), r.devices);
    EXPECT_EQ(easy->monitor->base, r.base);
    written = File("config/" + stem + ".kxa");
    easy->Cancel();
    for (int id : usb) fake.Disconnect(id);
    sticks.DetachAll();
    // A poll finds them gone and closes them; SDL then lists them no more.
    for (kxinputdevice* d = kxinput::FirstDevice(); d; d = d->next) kxinput::PollDevice(d);
  }
  // Without any device the inputs start at the second USB device's.
  EXPECT_NE(written.find("Assign( 0, 1100 )\n"), std::string::npos);
}

TEST_F(ConfigurationEasyTest, AnExistingConfigurationOpensWithItsTextAndOnlyItsDevice) {
  AddCable();
  AddCable("/dev/c2");
  Search();
  Put("config/mine.kxa",
      "Text = \"My plane@@USB Interface / PP #2\"\nAssign( 4, 1101 )\nDual( 4 ) = 0.5\nExpo( 4 ) = 0.25\n"
      "EasyFunction( 1 ) = 1\nEasyInvert( 1 ) = 1\nEasyDevice = 2\nEasy = 1\n");
  easy->Open("mine", 0);
  ASSERT_TRUE(Shown("ConfigurationEasy"));
  EXPECT_EQ(std::string(easy->nameField->text), "My plane");
  EXPECT_EQ(easy->Title.Str(), "My plane");
  EXPECT_EQ(Devices(), "-d -d -d +e ");
  EXPECT_EQ(easy->monitor->base, 1100);
  EXPECT_EQ(std::string(easy->travel[1]->text), "50");
  EXPECT_EQ(std::string(easy->expo[1]->text), "25");
  EXPECT_EQ(easy->reverse[1]->checked, 1);
  EXPECT_EQ(easy->State().input[1], 1);
  EXPECT_EQ(kxgui::Focus, easy);  // the name field only for a new one
  // The whole drawn name box takes the click.
  ClickOnRightEdge(easy->nameField->ParentWidget());
  EXPECT_EQ(kxgui::Focus, easy->nameField);
  // Typing follows into the title at the next layout.
  easy->nameField->SetText("Renamed");
  easy->Update();
  EXPECT_EQ(easy->Title.Str(), "Renamed");
}

TEST_F(ConfigurationEasyTest, AdvancedConfigurationsGoToTheEditor) {
  Put("config/adv.kxa", "Text = \"Full@@ADV\"\nAssign( 4, 1001 )\nEasy = 0\n");
  Put("config/old.kxa", "Text = \"Old\"\nAssign( 4, 1001 )\n");  // no Easy line
  for (const char* stem : {"adv", "old"}) {
    SCOPED_TRACE(stem);
    easy->Open(stem, 0);
    EXPECT_FALSE(Shown("ConfigurationEasy"));
    ASSERT_TRUE(Shown("ConfigurationEditor"));
    auto* editor = Get<svconfigurationeditor>("ConfigurationEditor");
    EXPECT_EQ(editor->mapper->name.Str(), stem);
    editor->Cancel();
  }
}

TEST_F(ConfigurationEasyTest, TravelAndExpoAreClampedAndAnEmptiedNameIsSavedAsNewConfiguration) {
  AddCable();
  Search();
  easy->Open("acft00", 1);
  easy->travel[1]->SetText("150");
  easy->expo[1]->SetText("40");
  easy->travel[2]->SetText("-20");
  easy->travel[3]->SetText("ab");
  easy->nameField->SetText("");
  ASSERT_EQ(easy->Save(), 1);
  std::string file = File("config/acft00.kxa");
  EXPECT_EQ(file.rfind("Text = \"new configuration@@USB Interface / PP\"\n", 0), 0u);
  EXPECT_NE(file.find("Dual( 4 ) = 1\nExpo( 4 ) = 0.4\n"), std::string::npos);
  EXPECT_NE(file.find("Dual( 17 ) = 1\nExpo( 17 ) = 0.4\n"), std::string::npos);
  EXPECT_NE(file.find("Dual( 8 ) = 0\n"), std::string::npos);
  EXPECT_NE(file.find("Dual( 10 ) = 0\n"), std::string::npos);
  easy->RefreshView();
  EXPECT_EQ(std::string(easy->travel[1]->text), "100");
  EXPECT_EQ(std::string(easy->nameField->text), "new configuration");
}

TEST_F(ConfigurationEasyTest, RowsReverseAndTheDeviceChangeReapplyEveryRowInOrder) {
  AddCable();
  sticks.Attach();
  Search();
  easy->Open("acft00", 1);  // the cable beside a joystick: joystick 1
  screen->Update();
  easy->FunctionChange(8, 5);
  EXPECT_EQ(easy->mapper->SourceCode(20), 605);
  ClickOn(kxnode::As<kxiconbutton>(easy->rows[0]->firstChild->nextSibling));  // throttle on input 1
  EXPECT_EQ(easy->mapper->SourceCode(0), 601);
  EXPECT_EQ(easy->mapper->SourceCode(20), 1937);  // the throttle row binds the engine to +1
  EXPECT_EQ(easy->State().input[0], 1);

  easy->travel[2]->SetText("70");
  ClickOn(easy->reverse[2]);
  EXPECT_EQ(easy->mapper->EasyInvert[2], 1);
  for (int f : {8, 9, 19}) EXPECT_EQ(easy->mapper->Invert[f], 1.0f) << f;
  EXPECT_EQ(std::string(easy->travel[2]->text), "70");  // typed values survive the refresh
  ClickOn(easy->reverse[2]);
  EXPECT_EQ(easy->mapper->Invert[8], 0.0f);

  ClickOn(easy->devices[svconfig::kUsb1]);
  EXPECT_EQ(easy->devices[svconfig::kUsb1]->selected, 1);
  EXPECT_EQ(easy->devices[svconfig::kJoystick1]->selected, 0);
  EXPECT_EQ(easy->monitor->base, 1000);
  EXPECT_EQ(easy->mapper->SourceCode(0), 1001);
  EXPECT_EQ(easy->mapper->SourceCode(20), 1005);  // row 8 is applied last
  EXPECT_EQ(easy->mapper->SourceCode(12), 201);   // keypad inputs stay
  easy->Save();
  EXPECT_NE(File("config/acft00.kxa").find("@@USB Interface / PP\"\n"), std::string::npos);
  EXPECT_NE(File("config/acft00.kxa").find("EasyDevice = 1\nEasy = 1\n"), std::string::npos);

  Run("/Display/Visible/ConfigurationEasy/FunctionChange( 9, 0 )");
  Run("/Display/Visible/ConfigurationEasy/DeviceChange( 5 )");
  EXPECT_TRUE(inputtest::Logged("config:  input of row 9 ignored, rows are 0-8\n"));
  EXPECT_TRUE(inputtest::Logged("config:  device 5 ignored, devices are 1-4\n"));
  EXPECT_EQ(easy->monitor->base, 1000);
}

// Both joysticks' buttons on (a script or a file can leave them so): the
// inputs and the file's device are joystick 1's.
TEST_F(ConfigurationEasyTest, WithBothJoysticksOnTheFirstJoysticksInputsAreUsed) {
  sticks.Attach();
  sticks.Attach();
  Search();
  easy->Open("two", 1);
  easy->devices[svconfig::kJoystick1]->selected = 1;
  easy->devices[svconfig::kJoystick2]->selected = 1;
  easy->FunctionChange(1, 0);
  EXPECT_EQ(easy->mapper->SourceCode(4), 600);
  easy->Save();
  EXPECT_NE(File("config/two.kxa").find("Text = \"new@@Analog Joystick #1\"\n"), std::string::npos);
  EXPECT_NE(File("config/two.kxa").find("EasyDevice = 3\nEasyDevice = 4\nEasy = 1\n"), std::string::npos);
}

TEST_F(ConfigurationEasyTest, OkSavesAndReloadsThePlayersAndAdvancedHandsOverToTheEditor) {
  AddCable();
  Search();
  Put("config/config.kxc", "GameFile = \"\"\nAircraft0File = \"acft00\"\nAircraft1File = \"\"\n");
  sim::LoadPlayerConfigurations();
  settings->Open();
  easy->Open("acft00", 1);
  easy->FunctionChange(1, 6);
  Run("/Display/Visible/ConfigurationEasy/Ok");
  EXPECT_FALSE(Shown("ConfigurationEasy"));
  EXPECT_TRUE(Shown("AircraftControlSettings"));
  EXPECT_EQ(input::playermapper[0]->SourceCode(4), 1006);

  easy->Open("acft00", 0);
  EXPECT_EQ(easy->State().input[1], 6);
  Run("/Display/Visible/ConfigurationEasy/Advanced");
  EXPECT_FALSE(Shown("ConfigurationEasy"));
  ASSERT_TRUE(Shown("ConfigurationEditor"));
  EXPECT_EQ(Get<svconfigurationeditor>("ConfigurationEditor")->Title.Str(), "new");
  kxscript::Execute(easy->OnClose.Text(), easy);  // the close box cancels
  EXPECT_TRUE(Shown("AircraftControlSettings"));
}

// A save that fails (a file that cannot be replaced, a full disk) keeps the
// window and the edits for Ok and Advanced alike, and says why.
TEST_F(ConfigurationEasyTest, AFailedSaveKeepsTheWindowAndTheEdits) {
  AddCable();
  Search();
  easy->Open("acft00", 1);
  const std::string saved = File("config/acft00.kxa");
  easy->FunctionChange(1, 6);
  sim::ClearNotices();
  kxtest::BlockReplacing(folder_->Path("config/acft00.kxa"));
  for (const char* command : {"Ok", "Advanced"}) {
    Run((std::string("/Display/Visible/ConfigurationEasy/") + command).c_str());
    EXPECT_TRUE(Shown("ConfigurationEasy")) << command;
    EXPECT_FALSE(Shown("ConfigurationEditor")) << command;
    EXPECT_EQ(easy->State().input[1], 6) << command;
    EXPECT_EQ(File("config/acft00.kxa"), saved) << command;
    // What stands in the way is named, not the disk.
    const std::string notice = sim::TakeNotice();
    EXPECT_NE(notice.find("config/acft00.kxa could not be written (config/acft00.kxa.tmp: a folder stands at its "
                          "name; move it away and try again)"),
              std::string::npos)
        << notice;
  }
}

}  // namespace
