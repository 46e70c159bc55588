// Control configurations: the names of the source codes, the easy mapping of
// nine rows onto the functions, the two forms of "config/<name>.kxa" and
// "config/config.kxc" byte for byte and read back, and the loading of a
// configuration into a mapper.
#include "config_ui/control_config.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>

#include "platform/files.h"
#include "sim/notice.h"
#include "sim/session.h"
#include "tests/config_ui/config_support.h"
#include "tests/dynamics/all/samples_support.h"

namespace {

using namespace svconfig;

class ControlConfigTest : public configtest::windowtest {
 protected:
  void SetUp() override {
    windowtest::SetUp();
    mapper = new kxdevicemapper;
    mapper->name = "scratch";
    board->AppendChild(mapper);
  }
  kxdevicemapper* mapper = nullptr;  // deleted with the pinboard
};

TEST_F(ControlConfigTest, EverySourceCodeHasItsText) {
  struct row {
    int code;
    const char* text;
  };
  const row rows[] = {{-1, "not assigned"},
                      {0, "not assigned"},
                      {200, "not assigned"},
                      {201, "Keyboard - NUM 2/8"},
                      {202, "Keyboard - NUM 4/6"},
                      {203, "not assigned"},
                      {204, "Keyboard - NUM 1"},
                      {207, "Keyboard - NUM 9"},
                      {600, "Joystick #1 - Channel 1"},
                      {607, "Joystick #1 - Channel 8"},
                      {608, "Joystick #1 - Button 1"},
                      {611, "Joystick #1 - Button 4"},
                      {612, "not assigned"},
                      {657, "Joystick #2 - Channel 8"},
                      {661, "Joystick #2 - Button 4"},
                      {1000, "Radio #1 - Channel 1"},
                      {1011, "Radio #1 - Channel 12"},
                      {1012, "not assigned"},
                      {1100, "Radio #2 - Channel 1"},
                      {1111, "Radio #2 - Channel 12"},
                      {1935, "-100%"},
                      {1936, "0%"},
                      {1937, "100%"},
                      {1938, "MIX Taileron left"},
                      {1939, "MIX Taileron right"},
                      {1940, "MIX VTail left"},
                      {1941, "MIX VTail right"},
                      {1942, "not assigned"},
                      {4095, "not assigned"}};
  for (const row& r : rows) EXPECT_EQ(SourceName(r.code, sim::Language()), r.text) << r.code;
  kxscript::Execute("Channel = \"Kanal\"; Keyboard = \"Tastatur\"", &sim::Language());
  EXPECT_EQ(SourceName(1003, sim::Language()), "Radio #1 - Kanal 4");
  EXPECT_EQ(SourceName(205, sim::Language()), "Tastatur - NUM 3");
  EXPECT_EQ(SourceName(609, sim::Language()), "Joystick #1 - Button 2");
}

TEST_F(ControlConfigTest, EasyRowsGiveTheirFunctionsTheInputAndTheFixedSources) {
  ASSERT_EQ(ApplyEasyInput(mapper, 0, 2, 1000), 1);
  for (int f : {0, 1, 2, 3, 16}) EXPECT_EQ(mapper->SourceCode(f), 1002) << f;
  EXPECT_EQ(mapper->SourceCode(20), 1937);  // the engine on +1
  EXPECT_EQ(mapper->EasyFunction[0], 2);
  ApplyEasyInput(mapper, 1, 12, 600);
  for (int f : {4, 5, 17}) EXPECT_EQ(mapper->SourceCode(f), 201) << f;
  EXPECT_EQ(mapper->SourceCode(6), 1940);
  EXPECT_EQ(mapper->SourceCode(7), 1941);
  EXPECT_EQ(mapper->SourceCode(14), 1938);
  EXPECT_EQ(mapper->SourceCode(15), 1939);
  ApplyEasyInput(mapper, 8, 11, 650);
  EXPECT_EQ(mapper->SourceCode(20), 661);  // row 8 binds the engine to its own input
  EXPECT_EQ(mapper->SourceCode(23), 661);
  ApplyEasyInput(mapper, 6, 30, 1000);
  EXPECT_EQ(mapper->SourceCode(25), 0);  // an input outside 0-17 is slot 0
  EXPECT_EQ(mapper->SourceCode(28), 0);

  ApplyEasyReverse(mapper, 6, 1);
  EXPECT_EQ(mapper->Invert[25], 1.0f);
  EXPECT_EQ(mapper->Invert[28], 0.0f);  // the smoke is not reversed with the hook
  ApplyEasyCurve(mapper, 8, FieldFraction("150"), FieldFraction("x"));
  EXPECT_EQ(mapper->Dual[20], 1.0f);
  EXPECT_EQ(mapper->Dual[23], 1.0f);  // travel reaches the engine only
  ApplyEasyCurve(mapper, 8, FieldFraction("-5"), FieldFraction("33"));
  EXPECT_EQ(mapper->Dual[20], 0.0f);
  EXPECT_FLOAT_EQ(mapper->Expo[20], 0.33f);

  EXPECT_EQ(ApplyEasyInput(mapper, 9, 0, 1000), 0);
  EXPECT_EQ(ApplyEasyReverse(mapper, -1, 1), 0);
  EXPECT_TRUE(inputtest::Logged("config:  input of row 9 ignored, rows are 0-8\n"));
  const bool none[4] = {false, false, false, false}, joystick2[4] = {false, true, true, false};
  EXPECT_EQ(DeviceBase(none), 1100);
  EXPECT_EQ(DeviceBase(joystick2), 650);
}

// The device inputs come from the first device button that is on, in the
// order joystick 1, joystick 2, USB 1, USB 2 (the last also with none on).
TEST(EasyDevicePrecedence, JoystickOneComesFirstThenJoystickTwoThenTheUsbDevices) {
  for (int mask = 0; mask < 16; ++mask) {
    const bool on[4] = {(mask & 1) != 0, (mask & 2) != 0, (mask & 4) != 0, (mask & 8) != 0};
    const int expected = on[kJoystick1] ? 600 : on[kJoystick2] ? 650 : on[kUsb1] ? 1000 : 1100;
    EXPECT_EQ(DeviceBase(on), expected) << "buttons on: " << mask;
  }
  const bool bothJoysticks[4] = {true, true, false, false};
  EXPECT_EQ(DeviceBase(bothJoysticks), 600);
  EXPECT_EQ(InputSource(0, DeviceBase(bothJoysticks)), 600);
}

TEST_F(ControlConfigTest, AnEasyFileWithNothingAssignedHoldsTheTextTheRowsAndEasy) {
  easystate state;
  std::string expected = "Text = \"mine@@USB Interface / PP #2\"\n";
  for (int r = 0; r < 9; ++r)
    expected += "EasyFunction( " + std::to_string(r) + " ) = 0\nEasyInvert( " + std::to_string(r) + " ) = 0\n";
  expected += "Easy = 1\n";
  EXPECT_EQ(EasyForm(*mapper, "mine", state), expected);
}

TEST_F(ControlConfigTest, BothFormsAreWrittenByteForByte) {
  mapper->Assign(4, 1001);
  mapper->Dual[4] = 0.75f;
  mapper->Assign(0, 1937);
  mapper->Invert[0] = -2.0f;
  mapper->Dual[0] = 0.7f;
  mapper->Expo[0] = 0.123456789f;
  mapper->Assign(40, 1000);  // beyond the 32 functions: never written
  mapper->EasyInvert[1] = 1;
  const char* blocks =
      "Assign( 0, 1937 )\nInvert( 0 ) = 1\nDual( 0 ) = 0.7\nExpo( 0 ) = 0.123457\n"
      "Assign( 4, 1001 )\nInvert( 4 ) = 0\nDual( 4 ) = 0.75\nExpo( 4 ) = 0\n";
  EXPECT_EQ(AdvancedForm(*mapper, "Jet"), std::string("Text = \"Jet@@ADV\"\n") + blocks + "Easy = 0\n");

  easystate state;
  state.input[1] = 1;
  state.input[8] = 17;
  state.device[kJoystick1] = state.device[kUsb1] = true;
  std::string easy = EasyForm(*mapper, "Jet", state);
  EXPECT_EQ(easy.rfind(std::string("Text = \"Jet@@Analog Joystick #1\"\n") + blocks +
                           "EasyFunction( 0 ) = 0\n"
                           "EasyInvert( 0 ) = 0\nEasyFunction( 1 ) = 1\nEasyInvert( 1 ) = 1\n",
                       0),
            0u)
      << easy;
  const char* tail = "EasyFunction( 8 ) = 17\nEasyInvert( 8 ) = 0\nEasyDevice = 1\nEasyDevice = 3\nEasy = 1\n";
  EXPECT_EQ(easy.substr(easy.size() - std::strlen(tail)), tail);
}

TEST_F(ControlConfigTest, DescriptionsKeepTheirQuotesAndLoseOnlyControlCharacters) {
  EXPECT_EQ(StoredDescription(""), "new configuration");
  EXPECT_EQ(StoredDescription("\t\n"), "new configuration");
  EXPECT_EQ(StoredDescription("a\tb"), "ab");
  EXPECT_EQ(StoredDescription("a@@b@"), "a@b");  // read back, it would split
  EXPECT_EQ(StoredDescription("@"), "new configuration");
  EXPECT_EQ(StoredDescription("0123456789012345678901234567890123456789"), "01234567890123456789012345678901");
  // A quote in a description must not end the text and run what follows.
  ASSERT_EQ(WriteConfiguration("quoted", AdvancedForm(*mapper, "say \"hi\"; Easy = 1 \\")), 1);
  EXPECT_EQ(File("config/quoted.kxa"), "Text = \"say \\\"hi\\\"; Easy = 1 \\\\@@ADV\"\nEasy = 0\n");
  configtext text = ReadConfigurationText("quoted");
  EXPECT_EQ(text.description, "say \"hi\"; Easy = 1 \\");
  EXPECT_EQ(text.type, "ADV");
  sim::LoadConfiguration(mapper, "quoted");
  EXPECT_EQ(mapper->Easy, 0);
}

TEST_F(ControlConfigTest, TextIsSplitAtItsFirstSeparator) {
  struct row {
    const char* text;
    const char* description;
    const char* type;
  };
  const row rows[] = {{"Stick@@Analog Joystick #1", "Stick", "Analog Joystick #1"},
                      {"a@@b@@c", "a", "b@@c"},
                      {"no type", "no type", ""},
                      {"@@ADV", "", "ADV"},
                      {"", "", ""}};
  for (const row& r : rows) {
    configtext t = SplitText(r.text);
    EXPECT_EQ(t.description, r.description) << r.text;
    EXPECT_EQ(t.type, r.type) << r.text;
  }
  EXPECT_EQ(ReadConfigurationText("missing").description, "");
}

TEST_F(ControlConfigTest, ConfigurationsInUseAreWrittenQuotedAndReadBack) {
  files->GameFile = "game";
  files->Aircraft0File = "acft00";
  files->Aircraft1File = "my \"best\"";
  ASSERT_EQ(sim::SaveConfigurationsInUse(), 1);
  EXPECT_EQ(File("config/config.kxc"),
            "GameFile = \"game\"\nAircraft0File = \"acft00\"\nAircraft1File = \"my \\\"best\\\"\"\n");
  files->Aircraft1File = "";
  kxscript::ReadFile("config/config.kxc", files);
  EXPECT_EQ(files->Aircraft1File.Str(), "my \"best\"");
}

TEST_F(ControlConfigTest, LoadingResetsRunsNamesAndLetsTheNozzleFollowTheWingSweep) {
  kxtest::logcapture log;  // the interpreter's lines
  Put("config/sweep.kxa",
      "Assign( 26, 1004 )\nInvert( 26 ) = 1\nDual( 26 ) = 0.5\nExpo( 26 ) = 0.25\nAssign( 3, 7 )\n"
      "Dual( 4 ) = nan\nExpo( 4 ) = -INF\n");
  mapper->Assign(5, 1000);
  sim::LoadConfiguration(mapper, "sweep");
  EXPECT_EQ(mapper->name.Str(), "sweep");
  EXPECT_EQ(mapper->SourceCode(5), kxdevicemapper::kNoSource);
  EXPECT_EQ(mapper->SourceCode(3), 7);
  EXPECT_EQ(mapper->SourceCode(27), 1004);
  EXPECT_EQ(mapper->Invert[27], 1.0f);
  EXPECT_EQ(mapper->Dual[27], 0.5f);
  EXPECT_EQ(mapper->Expo[27], 0.25f);
  // A value that is no number keeps the default and is said with its line.
  EXPECT_EQ(mapper->Dual[4], 1.0f);
  EXPECT_EQ(mapper->Expo[4], 0.0f);
  EXPECT_TRUE(log.Contains("kxscript:  config/sweep.kxa(6): number not finite or out of range \"Dual( 4 ) = nan\"\n"))
      << log.Text();
  EXPECT_TRUE(log.Contains("kxscript:  config/sweep.kxa(7): number not finite or out of range \"Expo( 4 ) = -INF\"\n"));
  // A missing file leaves the reset functions, and is said.
  sim::LoadConfiguration(mapper, "missing");
  EXPECT_EQ(mapper->name.Str(), "missing");
  EXPECT_EQ(mapper->SourceCode(3), kxdevicemapper::kNoSource);
  EXPECT_EQ(mapper->SourceCode(27), kxdevicemapper::kNoSource);
  EXPECT_TRUE(inputtest::Logged("sim:  control configuration config/missing.kxa=fail (not found)\n"));
  // One its reader refuses points to the reader's line.
  Put("config/huge.kxa", "Assign( 4, 601 )\n");
  std::filesystem::resize_file("config/huge.kxa", (std::uintmax_t{64} << 20) + 1);  // sparse
  sim::LoadConfiguration(mapper, "huge");
  EXPECT_EQ(mapper->SourceCode(4), kxdevicemapper::kNoSource);
  EXPECT_TRUE(inputtest::Logged("sim:  control configuration config/huge.kxa=fail (see the line above)\n"));
}

// The names in "config/config.kxc" name files inside "config/": one that
// leads out of it runs nothing against the player's mapper.
TEST_F(ControlConfigTest, AConfigurationNamedOutsideTheConfigFolderIsNotRun) {
  Put("evil.kxa", "Assign( 4, 601 )\n");
  Put("config/config.kxc", "GameFile = \"\"\nAircraft0File = \"../evil\"\nAircraft1File = \"gone\"\n");
  sim::ClearNotices();
  sim::LoadPlayerConfigurations();
  EXPECT_EQ(input::playermapper[0]->SourceCode(4), kxdevicemapper::kNoSource);
  EXPECT_TRUE(inputtest::Logged("sim:  control configuration ../evil is no name inside config/; not loaded\n"));
  // The player is told too: the aircraft will not answer the sticks. The
  // second player, without an aircraft, has nothing to be told about.
  EXPECT_EQ(sim::TakeNotice().find("The control configuration ../evil of player 1 could not be loaded"), 0u);
  EXPECT_EQ(sim::TakeNotice(), "");
  std::snprintf(sim::session.settings.aircraft1, sizeof sim::session.settings.aircraft1, "glider");
  sim::LoadPlayerConfigurations();
  EXPECT_EQ(sim::TakeNotice().find("The control configuration ../evil of player 1"), 0u);
  EXPECT_EQ(sim::TakeNotice().find("The control configuration gone of player 2 could not be loaded"), 0u);
  sim::session.settings.aircraft1[0] = 0;
}

TEST_F(ControlConfigTest, AnEasyFileReadBackGivesTheSameMapperAndRows) {
  ApplyEasyInput(mapper, 0, 3, 1000);
  ApplyEasyInput(mapper, 2, 13, 1000);
  ApplyEasyReverse(mapper, 2, 1);
  ApplyEasyCurve(mapper, 2, 0.6f, 0.3f);
  easystate state;
  state.input[0] = 3;
  state.input[2] = 13;
  state.device[kUsb2] = true;
  ASSERT_EQ(WriteConfiguration("trip", EasyForm(*mapper, "Trip", state)), 1);
  auto* copy = new kxdevicemapper;
  board->AppendChild(copy);
  sim::LoadConfiguration(copy, "trip");
  for (int f = 0; f < kFunctions; ++f) {
    EXPECT_EQ(copy->SourceCode(f), mapper->SourceCode(f)) << f;
    EXPECT_EQ(copy->Invert[f], mapper->Invert[f]) << f;
    EXPECT_EQ(copy->Dual[f], mapper->Dual[f]) << f;
    EXPECT_EQ(copy->Expo[f], mapper->Expo[f]) << f;
  }
  EXPECT_EQ(copy->EasyFunction[2], 13);
  EXPECT_EQ(copy->EasyInvert[2], 1);
  EXPECT_EQ(copy->EasyDevice, 2);
  EXPECT_EQ(copy->Easy, 1);
  EXPECT_EQ(ReadConfigurationText("trip").type, "USB Interface / PP #2");
}

TEST_F(ControlConfigTest, TheShippedConfigurationsAreInTheFormsTheWindowsWrite) {
  kxdtest::CopyFromData("config");
  for (const char* stem : {"acft00", "acft01", "acft02"}) {
    SCOPED_TRACE(stem);
    sim::LoadConfiguration(mapper, stem);
    std::string description = ReadConfigurationText(stem).description;
    std::string form = mapper->Easy ? EasyForm(*mapper, description.c_str(), MapperState(*mapper))
                                    : AdvancedForm(*mapper, description.c_str());
    EXPECT_EQ(form, File(std::string("config/") + stem + ".kxa"));
  }
}

TEST_F(ControlConfigTest, OnlyPlainNamesAreWritten) {
  for (const char* stem : {"", "../escape", "a/b", "a\\b", "line\nbreak"}) {
    EXPECT_EQ(UsableStem(stem), 0) << stem;
    EXPECT_EQ(WriteConfiguration(stem, "Easy = 0\n"), 0) << stem;
  }
  EXPECT_EQ(UsableStem("a.b c\"d"), 1);
  EXPECT_EQ(kxsystem::GetFileSize("escape.kxa"), -1);
}

}  // namespace
