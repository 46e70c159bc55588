// The advanced editor and the channel selection: the 32 rows with their
// inputs, live bars, travel, expo and reverse; the list of 61 inputs with a
// bar per pinboard slot, where a click assigns that input to the editor's
// function; and the advanced form every save writes.
#include <gtest/gtest.h>

#include "gui/gui.h"
#include "tests/config_ui/config_support.h"
#include "tests/write_faults.h"

namespace {

class ConfigurationEditorTest : public configtest::windowtest {
 protected:
  void SetUp() override {
    windowtest::SetUp();
    editor = Get<svconfigurationeditor>("ConfigurationEditor");
    select = Get<svchannelselect>("ChannelSelect");
    Put("config/jet.kxa",
        "Text = \"Jet@@ADV\"\nAssign( 0, 1937 )\nAssign( 3, 0 )\nAssign( 4, 3000 )\nAssign( 10, 3001 )\n"
        "Assign( 14, 1938 )\nInvert( 14 ) = 1\nDual( 14 ) = 0.5\nExpo( 14 ) = 0.25\nEasy = 0\n");
  }
  kxrow* Row(int k) const { return kxnode::As<kxrow>(editor->rows->FindChild(std::to_string(k).c_str())); }
  kxbutton* Button(int k) const { return kxnode::As<kxbutton>(Row(k)->FindChild("Button")); }
  kxcheckbox* Invert(int k) const { return kxnode::As<kxcheckbox>(Row(k)->FindChild("Invert")); }
  kxclickbox* Bar(kxnode* row) const { return kxnode::As<kxclickbox>(row->FindChild("Bar")); }
  kxrow* Line(int i) const { return kxnode::As<kxrow>(select->rows->FindChild(std::to_string(i).c_str())); }
  svconfigurationeditor* editor = nullptr;
  svchannelselect* select = nullptr;
};

TEST_F(ConfigurationEditorTest, EveryFunctionShowsItsInputLiveOutputTravelExpoAndReverse) {
  Run("/Display/Invisible/ConfigurationEditor/Open( \"jet\", 0)");
  ASSERT_TRUE(Shown("ConfigurationEditor"));
  EXPECT_EQ(editor->Title.Str(), "Jet");
  EXPECT_EQ(kxgui::Capture, editor);
  // The whole drawn name box takes the click.
  ClickOnRightEdge(editor->nameField->ParentWidget());
  EXPECT_EQ(kxgui::Focus, editor->nameField);
  EXPECT_EQ(editor->rows->ChildCount(), 32);
  EXPECT_EQ(Cell(Row(0), 0), "Engine 1");
  EXPECT_EQ(Cell(Row(20), 0), "Engine");
  EXPECT_EQ(Button(0)->Text.Str(), "100%");
  EXPECT_EQ(Button(3)->Text.Str(), "not assigned");  // slot 0 is a source all the same
  EXPECT_EQ(Button(5)->Text.Str(), "not assigned");
  EXPECT_EQ(Button(14)->Text.Str(), "MIX Taileron left");
  EXPECT_EQ(Invert(14)->checked, 1);
  EXPECT_EQ(std::string(editor->travel[14]->text), "50");
  EXPECT_EQ(std::string(editor->expo[14]->text), "25");
  EXPECT_EQ(std::string(editor->travel[0]->text), "100");

  // The bars show the mapper's outputs: the constant full, the taileron
  // following 0.8 x elevator + 0.4 x aileron.
  EXPECT_EQ(Bar(Row(7))->value, board->slots + 1907);
  board->slots[3000] = 0.5f;
  board->slots[3001] = 0.25f;
  input::Update();
  EXPECT_FLOAT_EQ(*Bar(Row(0))->value, 1.0f);
  EXPECT_FLOAT_EQ(*Bar(Row(4))->value, 0.5f);
  EXPECT_FLOAT_EQ(board->slots[1938], 0.5f);
  EXPECT_FLOAT_EQ(*Bar(Row(14))->value, -(0.5f * (0.75f * 0.5f + 0.25f * 0.125f)));
}

TEST_F(ConfigurationEditorTest, AClickOnAnInputLineAssignsItsSourceToTheFunction) {
  editor->Open("jet");
  screen->Update();
  ClickOn(Button(8));
  ASSERT_TRUE(Shown("ChannelSelect"));
  EXPECT_EQ(kxgui::Capture, select);
  EXPECT_EQ(select->function, 8);
  select->Update();
  // Each line's bar shows its slot live.
  EXPECT_EQ(Bar(Line(2))->value, board->slots + 1002);
  EXPECT_EQ(Bar(Line(60))->value, board->slots + 1937);
  ClickOn(kxnode::As<kxgraphic>(Line(2)->firstChild));
  EXPECT_FALSE(Shown("ChannelSelect"));
  EXPECT_EQ(editor->mapper->SourceCode(8), 1002);
  EXPECT_EQ(Button(8)->Text.Str(), "Radio #1 - Channel 3");
  EXPECT_EQ(kxgui::Capture, editor);

  // The bar takes the click as well; Ok without a click assigns slot 0.
  select->Open(9);
  screen->Update();
  ClickOn(Bar(Line(3)));
  EXPECT_EQ(editor->mapper->SourceCode(9), 1003);
  select->Open(10);
  Run("/Display/Visible/ChannelSelect/Ok");
  EXPECT_EQ(editor->mapper->SourceCode(10), 0);
  EXPECT_EQ(Button(10)->Text.Str(), "not assigned");
  select->Open(11);
  select->Cancel();
  EXPECT_EQ(editor->mapper->SourceCode(11), kxdevicemapper::kNoSource);
}

TEST_F(ConfigurationEditorTest, TheInputListHoldsSixtyOneLinesFrozenAtTheFirstOpen) {
  struct row {
    int line, source;
    const char* text;
  };
  const row rows[] = {{0, 1000, "Radio #1 - Channel 1"},
                      {11, 1011, "Radio #1 - Channel 12"},
                      {12, 1100, "Radio #2 - Channel 1"},
                      {23, 1111, "Radio #2 - Channel 12"},
                      {24, 600, "Joystick #1 - Channel 1"},
                      {31, 607, "Joystick #1 - Channel 8"},
                      {32, 608, "Joystick #1 - Button 1"},
                      {35, 611, "Joystick #1 - Button 4"},
                      {36, 650, "Joystick #2 - Channel 1"},
                      {47, 661, "Joystick #2 - Button 4"},
                      {48, 201, "Keyboard - NUM 2/8"},
                      {53, 207, "Keyboard - NUM 9"},
                      {54, 1940, "MIX VTail left"},
                      {55, 1941, "MIX VTail right"},
                      {56, 1938, "MIX Taileron left"},
                      {57, 1939, "MIX Taileron right"},
                      {58, 1935, "-100%"},
                      {59, 1936, "0%"},
                      {60, 1937, "100%"}};
  select->Open(0);
  ASSERT_EQ(select->rows->ChildCount(), svchannelselect::kInputs);
  for (const row& r : rows) {
    EXPECT_EQ(svchannelselect::SourceOfLine(r.line), r.source) << r.line;
    EXPECT_EQ(Cell(Line(r.line), 0), r.text) << r.line;
    EXPECT_EQ(kxnode::As<kxtext>(Line(r.line)->firstChild)->onLeftDown.Str(),
              "../../../../../Selectx( " + std::to_string(r.line) + ", " + std::to_string(r.source) + " )");
  }
  EXPECT_EQ(svchannelselect::SourceOfLine(61), -1);
  select->Cancel();
  kxscript::Execute("Channel = \"Kanal\"", &sim::Language());
  select->Open(0);
  EXPECT_EQ(Cell(Line(0), 0), "Radio #1 - Channel 1");
  Run("/Display/Visible/ChannelSelect/Selectx( 3, 5000 )");
  EXPECT_TRUE(inputtest::Logged("config:  source 5000 ignored, sources are 0-4095\n"));
  EXPECT_TRUE(Shown("ChannelSelect"));
}

TEST_F(ConfigurationEditorTest, SavingWritesTheAdvancedFormWithTheFieldsAsTyped) {
  Put("config/easy.kxa",
      "Text = \"Stick@@Analog Joystick #1\"\nAssign( 4, 601 )\nEasyFunction( 1 ) = 1\nEasyDevice = 3\nEasy = 1\n");
  Put("config/config.kxc", "GameFile = \"\"\nAircraft0File = \"easy\"\nAircraft1File = \"\"\n");
  sim::LoadPlayerConfigurations();
  editor->Open("easy");
  editor->travel[4]->SetText("30");
  editor->expo[4]->SetText("250");
  screen->Update();
  ClickOn(Invert(4));
  EXPECT_EQ(editor->mapper->Invert[4], 1.0f);
  EXPECT_EQ(std::string(editor->travel[4]->text), "30");
  ClickOn(Invert(4));
  EXPECT_EQ(editor->mapper->Invert[4], 0.0f);  // twice restores it
  Run("/Display/Visible/ConfigurationEditor/Invert( 4 )");
  Run("/Display/Visible/ConfigurationEditor/Assign( 40, 1000 )");
  Run("/Display/Visible/ConfigurationEditor/Invert( -1 )");
  EXPECT_TRUE(inputtest::Logged("config:  assignment of function 40 ignored, functions are 0-31\n"));
  editor->nameField->SetText("");
  Run("/Display/Visible/ConfigurationEditor/Ok");
  EXPECT_EQ(File("config/easy.kxa"),
            "Text = \"new configuration@@ADV\"\nAssign( 4, 601 )\nInvert( 4 ) = 1\nDual( 4 ) = 0.3\nExpo( 4 ) = 1\n"
            "Easy = 0\n");
  EXPECT_FALSE(Shown("ConfigurationEditor"));
  EXPECT_EQ(input::playermapper[0]->Dual[4], 0.3f);  // the player flies with it at once

  // Cancel leaves the file as it was.
  editor->Open("easy");
  editor->travel[4]->SetText("90");
  editor->Cancel();
  EXPECT_NE(File("config/easy.kxa").find("Dual( 4 ) = 0.3\n"), std::string::npos);
}

// On a full disk Ok keeps the window and the typed values, says why, and
// leaves the file and the players' mappers as they were.
TEST_F(ConfigurationEditorTest, AFailedSaveKeepsTheWindowAndTheEdits) {
  const std::string before = "Text = \"Stick@@ADV\"\nAssign( 4, 601 )\nEasy = 0\n";
  Put("config/adv.kxa", before);
  Put("config/config.kxc", "GameFile = \"\"\nAircraft0File = \"adv\"\nAircraft1File = \"\"\n");
  sim::LoadPlayerConfigurations();
  sim::ClearNotices();
  editor->Open("adv");
  editor->travel[4]->SetText("40");
  {
    kxtest::fulldisk full;
    Run("/Display/Visible/ConfigurationEditor/Ok");
  }
  EXPECT_TRUE(Shown("ConfigurationEditor"));
  EXPECT_EQ(std::string(editor->travel[4]->text), "40");
  EXPECT_EQ(File("config/adv.kxa"), before);
  EXPECT_EQ(input::playermapper[0]->Dual[4], 1.0f);
  EXPECT_TRUE(inputtest::Logged("config:  writing config/adv.kxa=fail\n"));
  EXPECT_NE(sim::TakeNotice().find("config/adv.kxa could not be written"), std::string::npos);
  Run("/Display/Visible/ConfigurationEditor/Ok");
  EXPECT_FALSE(Shown("ConfigurationEditor"));
  EXPECT_EQ(input::playermapper[0]->Dual[4], 0.4f);
}

TEST_F(ConfigurationEditorTest, ANameThatIsNoPlainFileNameIsNotOpened) {
  Run("/Display/Invisible/ConfigurationEditor/Open( \"../svgold\", 0)");
  EXPECT_FALSE(Shown("ConfigurationEditor"));
  EXPECT_EQ(editor->mapper, nullptr);
}

}  // namespace
